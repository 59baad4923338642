# Drives CMake. `make run` and `make test` are the two set-up commands.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
WINDOWS_DIR ?= build-windows
TSAN_DIR ?= build-tsan
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
MINGW ?= i686-w64-mingw32
RAPIDJSON_HEADERS ?= /usr/include/rapidjson
FASTFLOAT_HEADERS ?= /usr/include/fast_float
GTEST_SOURCES ?= /usr/src/googletest
JOBS ?= $(shell nproc)
WERROR ?= OFF
CONFIG ?= RelWithDebInfo

CMAKE_CONFIGURE = cmake -S . -DCMAKE_BUILD_TYPE=$(CONFIG) -DORVJSON_WERROR=$(WERROR)
CTEST = ctest --output-on-failure --no-tests=error -j $(JOBS)
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:allocator_may_return_null=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

.PHONY: all build run test test-plain test-sanitize test-threads test-windows fuzz clean

all: build

build:
	@scripts/deps.sh build
	$(CMAKE_CONFIGURE) -B $(BUILD_DIR)
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/tools/orvjson inspect examples/sample.json

# The whole suite twice: a normal build, then AddressSanitizer (with its leak
# checker) and UndefinedBehaviorSanitizer under clang, where any report fails
# the run; then the threads test under ThreadSanitizer.
test: test-plain test-sanitize test-threads

test-plain:
	@scripts/deps.sh test
	$(CMAKE_CONFIGURE) -B $(BUILD_DIR) -DORVJSON_BUILD_TESTS=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)
	cd $(BUILD_DIR) && $(CTEST)

test-sanitize:
	@scripts/deps.sh test
	CC=clang CXX=clang++ $(CMAKE_CONFIGURE) -B $(SANITIZE_DIR) -DORVJSON_BUILD_TESTS=ON -DORVJSON_SANITIZE=ON
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && $(SANITIZER_ENV) $(CTEST)

test-threads:
	@scripts/deps.sh test
	CC=clang CXX=clang++ $(CMAKE_CONFIGURE) -B $(TSAN_DIR) -DORVJSON_BUILD_TESTS=ON -DORVJSON_BUILD_TOOLS=OFF \
		-DORVJSON_SANITIZE_THREAD=ON
	cmake --build $(TSAN_DIR) -j $(JOBS) --target orvjson_api_tests
	TSAN_OPTIONS=halt_on_error=1 $(TSAN_DIR)/tests/orvjson_api_tests --gtest_filter='Threads.*'

# The 32-bit Windows DLL, the whole suite and the tool, cross-built with
# MinGW-w64 and run under wine. The compiler sees only the header-only
# dependencies (RapidJSON, fast_float), never the host's C library headers.
WINDOWS_ABS = $(abspath $(WINDOWS_DIR))
WINE_ENV = WINEDEBUG=-all WINEARCH=win32 WINEPREFIX=$(WINDOWS_ABS)/wineprefix WINEDLLOVERRIDES="mscoree,mshtml=" \
	WINEPATH="$$(dirname "$$($(MINGW)-g++-posix -print-libgcc-file-name)");/usr/$(MINGW)/lib"

test-windows:
	@scripts/deps.sh windows
	mkdir -p $(WINDOWS_DIR)/header-deps
	ln -sfn $(RAPIDJSON_HEADERS) $(WINDOWS_DIR)/header-deps/rapidjson
	ln -sfn $(FASTFLOAT_HEADERS) $(WINDOWS_DIR)/header-deps/fast_float
	cmake -S . -B $(WINDOWS_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw32.cmake \
		-DCMAKE_BUILD_TYPE=$(CONFIG) -DORVJSON_WERROR=$(WERROR) -DORVJSON_BUILD_TESTS=ON \
		-DORVJSON_RAPIDJSON_INCLUDE_DIR=$(WINDOWS_ABS)/header-deps -DORVJSON_FASTFLOAT_INCLUDE_DIR=$(WINDOWS_ABS)/header-deps \
		-DORVJSON_GTEST_SOURCE_DIR=$(GTEST_SOURCES)
	cmake --build $(WINDOWS_DIR) -j $(JOBS)
	$(WINE_ENV) wineboot --init
	cd $(WINDOWS_DIR) && $(WINE_ENV) $(CTEST); status=$$?; $(WINE_ENV) wineserver --kill 2>/dev/null; exit $$status

# Each libFuzzer target for FUZZ_SECONDS, under ASan and UBSan.
fuzz:
	@scripts/deps.sh test
	CC=clang CXX=clang++ $(CMAKE_CONFIGURE) -B $(FUZZ_DIR) -DORVJSON_BUILD_FUZZ=ON -DORVJSON_SANITIZE=ON \
		-DORVJSON_BUILD_TESTS=OFF -DORVJSON_BUILD_TOOLS=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	$(SANITIZER_ENV) scripts/run-fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(TSAN_DIR) $(WINDOWS_DIR) $(FUZZ_DIR)
