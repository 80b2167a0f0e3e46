# Zarvi: everything a newcomer needs, from a fresh Debian machine.
#   make test   install dependencies, build natively and for Windows, run every test
#   make run    build the Windows program and start it (under wine on Linux)
JOBS ?= $(shell nproc)
NATIVE := build/native
WINDOWS := build/windows

.PHONY: all deps native windows test run bench clean

all: native windows

deps:
	@bash scripts/install-deps.sh

native: deps
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

windows: deps
	@cmake -S . -B $(WINDOWS) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
	@cmake --build $(WINDOWS) -j $(JOBS)

test: native windows
	@cd $(NATIVE) && ctest --output-on-failure -j $(JOBS)
	@bash scripts/wine-prefix.sh
	@cd $(WINDOWS) && ctest --output-on-failure -j 1

clean:
	rm -rf build
