# The two commands of the README: `make run` and `make test`. Both install the
# Debian packages they need first.

BUILD_DIR ?= build
ASAN_BUILD_DIR ?= build-asan
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: run test deps build build-asan check-format clean

run: build
	@echo "Built the libraries in $(BUILD_DIR); the windows are not part of this build yet."

test: deps check-format build build-asan
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD_DIR) --output-on-failure -j $(JOBS) -L core

deps:
	@tools/install-deps

build: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

build-asan: deps
	cmake -S . -B $(ASAN_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHOPVANE_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD_DIR) -j $(JOBS)

check-format: deps
	@tools/check-format

clean:
	rm -rf $(BUILD_DIR) $(ASAN_BUILD_DIR)
