# The two set-up commands of the README, plus the benchmarks and the extra CI builds.
# Each target first installs whatever it needs that is missing (a no-op when all is there):
# `make run` only the compiler, CMake and Qt; the others their own tools on top (DEPS).
PRESET ?= default
BUILD_DIR := build/$(PRESET)
DEPS :=

.PHONY: all deps configure build run test bench sanitize fuzz package clean

all: build

deps:
	@scripts/install-deps.sh $(DEPS)

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET)

# Only the window program: the tests and benchmarks wait for `make test`.
run: configure
	@cmake --build --preset $(PRESET) --target numerette
	@scripts/run.sh $(BUILD_DIR)

test: DEPS = test
test: build
	@ctest --preset $(PRESET)

bench: DEPS = bench
bench: build
	@bench/run.sh $(BUILD_DIR)

sanitize:
	@$(MAKE) --no-print-directory PRESET=sanitize test

fuzz: DEPS = fuzz
fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz
	@fuzz/run.sh build/fuzz $(FUZZ_SECONDS)

package: DEPS = package
package: build
	@cd $(BUILD_DIR) && cpack

clean:
	@rm -rf build
