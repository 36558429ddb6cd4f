# QOR: two commands on a fresh machine.
#   make run    installs what is missing, builds, starts QOR
#   make test   installs what is missing, builds with sanitizers, runs every test
JOBS ?= $(shell nproc)
BUILD_RUN := build/release
BUILD_TEST := build/test
BUILD_BENCH := build/bench
BUILD_TSAN := build/tsan
BUILD_PLAIN := build/plain
BUILD_RELEASE_TESTS := build/release-tests

.PHONY: run test tsan bench deps build build-test build-tsan build-plain build-release-tests test-release test-limits clean

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_RUN) -DCMAKE_BUILD_TYPE=Release -DQOR_TESTS=OFF
	cmake --build $(BUILD_RUN) -j $(JOBS)

run: build
	$(BUILD_RUN)/app/qor

build-test: deps
	cmake -S . -B $(BUILD_TEST) -DCMAKE_BUILD_TYPE=Debug -DQOR_SANITIZE=ON -DQOR_TESTS=ON
	cmake --build $(BUILD_TEST) -j $(JOBS)

test: build-test
	cd $(BUILD_TEST) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# ThreadSanitizer over the programs that run analyses on worker threads: the application and
# user-interface tests are built and run (the others run in every other build). This build compiles every
# file from its own includes, without the precompiled headers, so that a file missing an include is found.
build-tsan: deps
	cmake -S . -B $(BUILD_TSAN) -DCMAKE_BUILD_TYPE=Debug -DQOR_TSAN=ON -DQOR_TESTS=ON -DQOR_PCH=OFF
	cmake --build $(BUILD_TSAN) -j $(JOBS) --target qor_thread_tests

tsan: build-tsan
	cd $(BUILD_TSAN) && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ignore_noninstrumented_modules=1 suppressions=$(CURDIR)/scripts/tsan.supp" \
	  ctest --output-on-failure -j $(JOBS) -R '^(app/|ui_)'

# The configuration a plain `cmake -S . -B build/plain` gives (no build type, static libraries,
# tests on): the program and the tests that limit a child's address space (CI runs those in the optimised
# build with the tests).
PLAIN_TARGETS := qor test_app_memory_limit_test test_engine_case_case_memory_test
build-plain: deps
	cmake -S . -B $(BUILD_PLAIN)
	cmake --build $(BUILD_PLAIN) -j $(JOBS) --target $(PLAIN_TARGETS)

# The optimised build with the tests, linked statically as the program ships: it compiles with warnings as
# errors (the optimiser sees more than the debug builds do, and warns of more), and every test passes at the
# speed the program ships with, the tests that limit a child's address space among them.
build-release-tests: deps
	cmake -S . -B $(BUILD_RELEASE_TESTS) -DCMAKE_BUILD_TYPE=Release -DQOR_TESTS=ON -DQOR_SHARED_LIBS=OFF
	cmake --build $(BUILD_RELEASE_TESTS) -j $(JOBS)

test-release: build-release-tests
	cd $(BUILD_RELEASE_TESTS) && ctest --output-on-failure -j $(JOBS)

# The tests that put an address-space limit on a child process: the sanitizers reserve more address space
# than any such limit allows, so their builds skip them; the plain build runs them.
test-limits: build-plain
	cd $(BUILD_PLAIN) && ctest --output-on-failure -R '(memory_limit|case_memory)_test'

bench: deps
	cmake -S . -B $(BUILD_BENCH) -DCMAKE_BUILD_TYPE=Release -DQOR_TESTS=OFF -DQOR_BENCH=ON
	cmake --build $(BUILD_BENCH) -j $(JOBS)
	@status=0; for b in $(BUILD_BENCH)/bench/bench_*; do \
	  if [ -x "$$b" ]; then "$$b" || { echo "$$b failed"; status=1; }; fi; \
	done; exit $$status

clean:
	rm -rf build
