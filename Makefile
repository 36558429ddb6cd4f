# QOR: two commands on a fresh machine.
#   make run    installs what is missing, builds, starts QOR
#   make test   installs what is missing, builds with sanitizers, runs every test
JOBS ?= $(shell nproc)
BUILD_RUN := build/release
BUILD_TEST := build/test
BUILD_BENCH := build/bench

.PHONY: run test bench deps build build-test clean

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

bench: deps
	cmake -S . -B $(BUILD_BENCH) -DCMAKE_BUILD_TYPE=Release -DQOR_TESTS=OFF -DQOR_BENCH=ON
	cmake --build $(BUILD_BENCH) -j $(JOBS)
	@for b in $(BUILD_BENCH)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf build
