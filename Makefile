# The two commands a newcomer needs on a fresh Debian machine:
#   make run    builds and starts the program
#   make test   builds and runs every test
# Both first install (as root) or name (otherwise) the Debian packages the build needs.

BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test clean

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

clean:
	@rm -rf $(BUILD)
