# The two set-up commands of the README, plus the benchmarks and the extra CI builds.
# Each target first installs whatever it needs that is missing (a no-op when all is there):
# `make run` only the compiler, CMake and Qt; the others their own tools on top (DEPS).
PRESET ?= default
BUILD_DIR := build/$(PRESET)
DEPS :=

.PHONY: all deps configure build display-check run test bench sanitize fuzz package clean

all: build

deps:
	@scripts/install-deps.sh $(DEPS)

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET)

# The window needs a graphical session: said at once, not after minutes of building.
display-check:
	@if [ -z "$${DISPLAY}$${WAYLAND_DISPLAY}$${QT_QPA_PLATFORM}" ]; then \
	  echo "make run: no graphical session here (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2; \
	  echo "Run it from a terminal of your desktop, or over 'ssh -X'. 'make test' needs no display." >&2; \
	  exit 1; \
	fi

# Only the window program: the tests and benchmarks wait for `make test`.
run: display-check
	@$(MAKE) --no-print-directory configure
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
