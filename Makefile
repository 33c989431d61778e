# The two commands of the README: `make run` and `make test`. Both install the
# Debian packages they need first.

BUILD_DIR ?= build
ASAN_BUILD_DIR ?= build-asan
TSAN_BUILD_DIR ?= build-tsan
# The programs whose tests run two threads: the check cycle's.
TSAN_TESTS = hopvane_app_core_tests hopvane_switching_tests
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: run test package windows deps build build-asan build-tsan check-format clean

# `make run` starts the local service, then the program, and stops the service when the
# program exits; until the program is built, the service runs until Ctrl-C.
PROGRAM ?= $(BUILD_DIR)/app/hopvane
SERVICE_OPTIONS ?=

run: build
	@if [ -x "$(PROGRAM)" ]; then exec service/run-local $(SERVICE_OPTIONS) -- "$(PROGRAM)"; \
	else echo "No program at $(PROGRAM) yet: the service alone runs."; \
	exec service/run-local $(SERVICE_OPTIONS); fi

test: deps check-format build build-asan build-tsan
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD_DIR) --output-on-failure -j $(JOBS) -L core
	for program in $(TSAN_TESTS); do \
		TSAN_OPTIONS=halt_on_error=1 $(TSAN_BUILD_DIR)/tests/$$program --gtest_brief=1 || exit 1; \
	done
	JOBS=$(JOBS) tools/test-windows

# The .deb of the program, hopvane-ctl and hopvane-fetch, in $(BUILD_DIR).
package: build
	cd $(BUILD_DIR) && cpack

# The Windows program as Hopvane-<version>-win64.zip in build-win-release.
windows: deps
	JOBS=$(JOBS) CMAKE_FLAGS="$(CMAKE_FLAGS)" tools/package-windows

deps:
	@tools/install-deps

build: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

build-asan: deps
	cmake -S . -B $(ASAN_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHOPVANE_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD_DIR) -j $(JOBS)

# Only the cycle's tests: nothing else runs a second thread of the program.
build-tsan: deps
	cmake -S . -B $(TSAN_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHOPVANE_THREAD_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(TSAN_BUILD_DIR) -j $(JOBS) --target $(TSAN_TESTS)

check-format: deps
	@tools/check-format

clean:
	rm -rf $(BUILD_DIR) $(ASAN_BUILD_DIR) $(TSAN_BUILD_DIR) build-win build-win-release
