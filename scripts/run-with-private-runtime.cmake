# Runs a build tool that starts the toolkit with a runtime folder of its own: without XDG_RUNTIME_DIR the toolkit
# makes /tmp/runtime-<user> and leaves it there. The folder is made private and empty before the tool starts and
# removed after it, whatever the tool's outcome.
#   cmake -DRUNTIME_DIR=<folder> -P run-with-private-runtime.cmake <program> [arguments...]
cmake_minimum_required(VERSION 3.25)
if(NOT RUNTIME_DIR)
  message(FATAL_ERROR "usage: cmake -DRUNTIME_DIR=<folder> -P run-with-private-runtime.cmake <program> [arguments...]")
endif()
# The words after the script's own name (the one after -P) are the command.
set(command)
set(state options)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE 1 ${last})
  if(state STREQUAL "command")
    # A semicolon of a word stays in it (a list would split there).
    string(REPLACE ";" "\\;" word "${CMAKE_ARGV${i}}")
    list(APPEND command "${word}")
  elseif(state STREQUAL "script")
    set(state command)
  elseif(CMAKE_ARGV${i} STREQUAL "-P")
    set(state script)
  endif()
endforeach()
list(LENGTH command words)
if(words EQUAL 0)
  message(FATAL_ERROR "run-with-private-runtime: no program given")
endif()

file(REMOVE_RECURSE "${RUNTIME_DIR}")
file(MAKE_DIRECTORY "${RUNTIME_DIR}")
file(CHMOD "${RUNTIME_DIR}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
set(ENV{XDG_RUNTIME_DIR} "${RUNTIME_DIR}")
execute_process(COMMAND ${command} RESULT_VARIABLE result)
file(REMOVE_RECURSE "${RUNTIME_DIR}")
if(NOT result EQUAL 0)
  string(JOIN " " shown ${command})
  message(FATAL_ERROR "${shown}: ${result}")
endif()
