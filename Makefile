# Convenience targets; the build itself is CMake's.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all build programs test demo asan fuzz clean

all: build

# Everything: the programs, the test programs and the test tools.
build:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOOLKIT_TESTS=ON >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

# The three programs alone (no test framework needed).
programs:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOOLKIT_TESTS=OFF >/dev/null
	cmake --build $(BUILD) -j $(JOBS) --target srcfront ilshow tarvo

test: build
	cd $(BUILD) && ctest --output-on-failure --timeout 900 -j $(JOBS)

demo: programs
	@bash examples/demo.sh $(BUILD)/bin

asan:
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOOLKIT_SANITIZE=ON >/dev/null
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure --timeout 900 -j $(JOBS)

fuzz:
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOOLKIT_FUZZ=ON >/dev/null
	cmake --build build-fuzz -j $(JOBS)

clean:
	rm -rf $(BUILD) build-asan build-fuzz
