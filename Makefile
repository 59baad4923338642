# Drives CMake. `make run` and `make test` are the two set-up commands.
SHELL := /bin/bash
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
DEBUG_DIR ?= build-debug
WINDOWS_DIR ?= build-windows
TSAN_DIR ?= build-tsan
FUZZ_DIR ?= build-fuzz
BENCH_DIR ?= build-bench
BENCH_REPETITIONS ?= 12
REPORT_DIR ?= docs/benchmarks
FUZZ_SECONDS ?= 60
MINGW ?= i686-w64-mingw32
RAPIDJSON_HEADERS ?= /usr/include/rapidjson
FASTFLOAT_HEADERS ?= /usr/include/fast_float
GTEST_SOURCES ?= /usr/src/googletest
JOBS ?= $(shell nproc)
WERROR ?= OFF
CONFIG ?= RelWithDebInfo

CMAKE_CONFIGURE = cmake -S . -DCMAKE_BUILD_TYPE=$(CONFIG) -DORVJSON_WERROR=$(WERROR)
CTEST = ctest --output-on-failure --no-tests=error -j $(JOBS) -LE huge
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:allocator_may_return_null=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

.PHONY: all build run test test-plain test-debug test-sanitize test-threads test-huge test-windows fuzz bench bench-report bench-smoke \
	install-check format format-check lint clean

all: build

# The library and the tool only: building them needs no test packages.
build:
	@scripts/deps.sh build
	$(CMAKE_CONFIGURE) -B $(BUILD_DIR) -DORVJSON_BUILD_TESTS=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/tools/orvjson inspect examples/sample.json

# The whole suite three times: a normal build; a Debug build (-O0), where
# nothing a release build optimises away can hide a fault; and under clang
# with AddressSanitizer (with its leak checker) and UndefinedBehaviorSanitizer,
# where any report fails the run. Then the threads test under ThreadSanitizer.
# Tests labelled huge (several GiB each) run only in test-huge.
test: test-plain test-debug test-sanitize test-threads

test-plain:
	@scripts/deps.sh test
	$(CMAKE_CONFIGURE) -B $(BUILD_DIR) -DORVJSON_BUILD_TESTS=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)
	cd $(BUILD_DIR) && $(CTEST)

test-debug:
	@scripts/deps.sh test
	cmake -S . -B $(DEBUG_DIR) -DCMAKE_BUILD_TYPE=Debug -DORVJSON_WERROR=$(WERROR) -DORVJSON_BUILD_TESTS=ON
	cmake --build $(DEBUG_DIR) -j $(JOBS)
	cd $(DEBUG_DIR) && $(CTEST)

# Strings of 4 GiB and arrays of 2^32 elements, in the normal build; each
# test skips, saying so, when less than 12 GiB of memory is free.
test-huge:
	@scripts/deps.sh test
	$(CMAKE_CONFIGURE) -B $(BUILD_DIR) -DORVJSON_BUILD_TESTS=ON
	cmake --build $(BUILD_DIR) -j $(JOBS) --target orvjson_huge_tests
	cd $(BUILD_DIR) && ctest --output-on-failure --no-tests=error -L huge

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

# Installs into a scratch prefix and builds examples/host against the installed
# CMake package and the pkg-config file, then from the sources through
# add_subdirectory, as outside consumers would; then makes the Debian package.
INSTALL_CHECK_DIR ?= build-install-check
install-check: build
	@scripts/deps.sh package
	rm -rf $(INSTALL_CHECK_DIR)
	cmake --install $(BUILD_DIR) --prefix $(abspath $(INSTALL_CHECK_DIR))/prefix
	cmake -S examples/host -B $(INSTALL_CHECK_DIR)/host -DCMAKE_PREFIX_PATH=$(abspath $(INSTALL_CHECK_DIR))/prefix \
		-DCMAKE_BUILD_TYPE=Release
	cmake --build $(INSTALL_CHECK_DIR)/host
	LD_LIBRARY_PATH=$(abspath $(INSTALL_CHECK_DIR))/prefix/lib $(INSTALL_CHECK_DIR)/host/orvjson_host \
		$(INSTALL_CHECK_DIR)/host-output.json
	PKG_CONFIG_PATH=$(abspath $(INSTALL_CHECK_DIR))/prefix/lib/pkgconfig \
		g++ -std=c++17 examples/host/host.cpp $$(PKG_CONFIG_PATH=$(abspath $(INSTALL_CHECK_DIR))/prefix/lib/pkgconfig \
		pkg-config --cflags --libs orvjson) -o $(INSTALL_CHECK_DIR)/host-pkgconfig
	LD_LIBRARY_PATH=$(abspath $(INSTALL_CHECK_DIR))/prefix/lib $(INSTALL_CHECK_DIR)/host-pkgconfig \
		$(INSTALL_CHECK_DIR)/host-pkgconfig.json > /dev/null
	$(abspath $(INSTALL_CHECK_DIR))/prefix/bin/orvjson inspect > /dev/null
	cmake -S examples/host -B $(INSTALL_CHECK_DIR)/subdirectory -DORVJSON_SOURCE_DIR=$(CURDIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(INSTALL_CHECK_DIR)/subdirectory -j $(JOBS)
	$(INSTALL_CHECK_DIR)/subdirectory/orvjson_host $(INSTALL_CHECK_DIR)/subdirectory-output.json > /dev/null
	cd $(BUILD_DIR) && cpack -G DEB > /dev/null && ls *.deb

# Formatting and static analysis of our own sources.
FORMATTED = $(shell git ls-files '*.cpp' '*.h')
format:
	clang-format -i $(FORMATTED)
format-check:
	@scripts/deps.sh lint
	clang-format --dry-run --Werror $(FORMATTED)
lint: build
	@scripts/deps.sh lint
	cmake -S . -B $(BUILD_DIR) -DCMAKE_EXPORT_COMPILE_COMMANDS=ON > /dev/null
	clang-tidy -p $(BUILD_DIR) --quiet $(shell git ls-files 'src/*.cpp' 'tools/*.cpp') 2>&1 | \
		grep -v -E '^[0-9]+ warnings? generated\.$$' ; test $${PIPESTATUS[0]} -eq 0

# Benchmarks against raw RapidJSON over ../shared/corpus (or ORVJSON_CORPUS).
bench:
	@scripts/deps.sh bench
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DORVJSON_WERROR=$(WERROR) -DORVJSON_BUILD_BENCH=ON \
		-DORVJSON_BUILD_TESTS=OFF -DORVJSON_BUILD_TOOLS=OFF
	cmake --build $(BENCH_DIR) -j $(JOBS)

# The full run: best-of-many interleaved repetitions, the memory series, and
# the table and chart in docs/benchmarks/.
bench-report: bench
	$(BENCH_DIR)/bench/orvjson_bench --benchmark_repetitions=$(BENCH_REPETITIONS) \
		--benchmark_enable_random_interleaving=true --benchmark_min_time=0.1 \
		--benchmark_format=json --benchmark_out=$(BENCH_DIR)/results.json --benchmark_out_format=json > /dev/null
	$(BENCH_DIR)/bench/orvjson_memory > $(BENCH_DIR)/memory.json
	python3 scripts/bench_report.py $(BENCH_DIR)/results.json $(BENCH_DIR)/memory.json $(REPORT_DIR)

# A short run for CI: the benchmarks build and run, and the report is made
# (into the build folder); nothing is timed against a target.
bench-smoke: bench
	$(BENCH_DIR)/bench/orvjson_bench --benchmark_repetitions=1 --benchmark_min_time=0.001 \
		--benchmark_format=json --benchmark_out=$(BENCH_DIR)/smoke.json --benchmark_out_format=json > /dev/null
	$(BENCH_DIR)/bench/orvjson_memory 20 200 > $(BENCH_DIR)/smoke-memory.json
	python3 scripts/bench_report.py $(BENCH_DIR)/smoke.json $(BENCH_DIR)/smoke-memory.json $(BENCH_DIR)

clean:
	rm -rf $(BENCH_DIR) $(BUILD_DIR) $(DEBUG_DIR) $(SANITIZE_DIR) $(TSAN_DIR) $(WINDOWS_DIR) $(FUZZ_DIR)
