# SPDX-License-Identifier: GPL-3.0-or-later
# The two commands a newcomer needs on a fresh Debian machine:
#   make run    builds and starts the program
#   make test   builds and runs every test
# Both first install (as root) or name (otherwise) the Debian packages the build needs.

BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test clean sanitize-test tidy fuzz bench install package

all: build

deps:
	@tools/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	@tools/run-program $(BUILD)/program/cantabola

test: build
	@cd $(BUILD) && ctest --output-on-failure --timeout 300 -j2

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize-test:
	@$(MAKE) --no-print-directory test BUILD=build-sanitize CMAKE_FLAGS="-DCANTABOLA_SANITIZE=ON"

# clang-tidy over the program's own code, with the repository's .clang-tidy.
tidy: configure
	@tools/run-clang-tidy $(BUILD)

# The fuzzers of the address-file reader and the banner picture loader, each for a bounded time.
fuzz: deps
	@tools/run-fuzzers

# Timing and memory figures of the program beside yardsticks of the same run, one line each; never a pass or a
# fail. Built only here (bench/ is not part of `make` or `make test`). BENCH_OPTIONS=--quick for a short run.
bench: configure
	@cmake --build $(BUILD) --target cantabola_bench cantabola_bench_startup cantabola_bench_minimal cantabola_bench_text_only
	@tools/run-bench $(BUILD)

install: build
	@cmake --install $(BUILD)

# A Debian package of the program, built with CPack.
package: build
	@cd $(BUILD) && cpack -G DEB

clean:
	@rm -rf $(BUILD) build-sanitize
