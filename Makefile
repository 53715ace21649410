# The two set-up commands of the README, plus the benchmarks and the extra CI builds.
# Each target first installs whatever build dependency is missing (a no-op when all are there).
PRESET ?= default
BUILD_DIR := build/$(PRESET)

.PHONY: all deps configure build run test bench sanitize fuzz package clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET)

run: build
	@scripts/run.sh $(BUILD_DIR)

test: build
	@ctest --preset $(PRESET)

bench: build
	@bench/run.sh $(BUILD_DIR)

sanitize:
	@$(MAKE) --no-print-directory PRESET=sanitize test

fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz
	@fuzz/run.sh build/fuzz $(FUZZ_SECONDS)

package: build
	@cd $(BUILD_DIR) && cpack

clean:
	@rm -rf build
