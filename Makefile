# Drives CMake. `make run` and `make test` are the two set-up commands.
SHELL := /bin/bash
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
DEBUG_DIR ?= build-debug
WINDOWS_DIR ?= build-windows
WINDOWS64_DIR ?= build-windows64
OTHER_RUNTIME_DIR ?= build-other-runtime
TSAN_DIR ?= build-tsan
FUZZ_DIR ?= build-fuzz
BENCH_DIR ?= build-bench
BENCH_REPETITIONS ?= 12
REPORT_DIR ?= docs/benchmarks
FUZZ_SECONDS ?= 60
MINGW32 ?= i686-w64-mingw32
MINGW64 ?= x86_64-w64-mingw32
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

.PHONY: all build run test test-plain test-debug test-sanitize test-threads test-other-runtime test-huge test-windows \
	test-windows64 fuzz bench bench-windows \
	bench-report bench-smoke dist dist-check \
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
test: test-plain test-debug test-sanitize test-threads test-other-runtime

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

# The Windows DLLs, 32-bit (the original target) and 64-bit: the whole suite
# and the tool, cross-built with MinGW-w64 and run under wine (wine64 for the
# 64-bit one). The compiler sees only the header-only dependencies
# (RapidJSON, fast_float), never the host's C library headers.
# BITS is 32 or 64 below. $(call windows_configure,DIR,BITS,BUILD_TYPE,CMAKE_OPTIONS)
# configures a cross build in DIR; $(call wine_env,DIR,BITS) runs wine with
# DIR's own prefix and the toolchain's runtime DLLs on its path.
mingw_triple = $(if $(filter 64,$(1)),$(MINGW64),$(MINGW32))
define windows_configure
	mkdir -p $(1)/header-deps
	ln -sfn $(RAPIDJSON_HEADERS) $(1)/header-deps/rapidjson
	ln -sfn $(FASTFLOAT_HEADERS) $(1)/header-deps/fast_float
	cmake -S . -B $(1) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw$(2).cmake -DCMAKE_BUILD_TYPE=$(3) \
		-DORVJSON_WERROR=$(WERROR) -DORVJSON_RAPIDJSON_INCLUDE_DIR=$(abspath $(1))/header-deps \
		-DORVJSON_FASTFLOAT_INCLUDE_DIR=$(abspath $(1))/header-deps $(4)
endef
wine_prefix_env = WINEDEBUG=-all WINEARCH=win$(2) $(if $(filter 64,$(2)),WINELOADER=$$loader) \
	WINEPREFIX=$(abspath $(1))/wineprefix WINEDLLOVERRIDES="mscoree,mshtml="
wine_env = $(call wine_prefix_env,$(1),$(2)) \
	WINEPATH="$$(dirname "$$($(call mingw_triple,$(2))-g++-posix -print-libgcc-file-name)");/usr/$(call mingw_triple,$(2))/lib"
# Starts DIR's wine prefix with a server that stays until it is killed, and
# wine's own services under it (started by a test instead, they would hold
# that test's output open for as long as the server runs). The prefix is
# made by wineboot, not beforehand (wine takes an empty folder for an
# existing prefix of its default architecture), and without the toolchain's
# folders on the path (a 64-bit prefix then fails to start).
wine_server = $(call wine_prefix_env,$(1),$(2)) wineserver -k 2>/dev/null; $(call wine_prefix_env,$(1),$(2)) wineserver -w; \
	$(call wine_prefix_env,$(1),$(2)) $$loader wineboot --init && $(call wine_prefix_env,$(1),$(2)) wineserver -w && \
	$(call wine_prefix_env,$(1),$(2)) wineserver -p && $(call wine_prefix_env,$(1),$(2)) $$loader wineboot
# Sets the shell's loader to the wine loader for BITS; where this kernel
# runs no BITS-bit programs, says so and ends the recipe line successfully,
# so that the Windows build is still made and checked, only not run.
# $(call wine_loader_or_skip,BITS,WHAT)
wine_loader_or_skip = loader=$$(scripts/wine-loader.sh $(1)) || { status=$$?; \
	if [ $$status -eq 3 ]; then echo "== $(2): not run, this kernel runs no $(1)-bit programs =="; exit 0; fi; exit $$status; }
# One server for the whole run: one that exits between two short tests races the next test's start.
define windows_suite
	@scripts/deps.sh windows
	$(call windows_configure,$(1),$(2),$(CONFIG),-DORVJSON_BUILD_TESTS=ON -DORVJSON_GTEST_SOURCE_DIR=$(GTEST_SOURCES))
	cmake --build $(1) -j $(JOBS)
	$(call wine_loader_or_skip,$(2),the $(2)-bit suite); $(call wine_server,$(1),$(2)) && \
	cd $(1) && $(call wine_env,$(1),$(2)) $(CTEST); status=$$?; $(call wine_env,$(1),$(2)) wineserver --kill 2>/dev/null; exit $$status
endef

test-windows:
	$(call windows_suite,$(WINDOWS_DIR),32)

test-windows64:
	$(call windows_suite,$(WINDOWS64_DIR),64)

# Each libFuzzer target for FUZZ_SECONDS, under ASan and UBSan.
fuzz:
	@scripts/deps.sh test
	CC=clang CXX=clang++ $(CMAKE_CONFIGURE) -B $(FUZZ_DIR) -DORVJSON_BUILD_FUZZ=ON -DORVJSON_SANITIZE=ON \
		-DORVJSON_BUILD_TESTS=OFF -DORVJSON_BUILD_TOOLS=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	$(SANITIZER_ENV) scripts/run-fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# The release archives in dist/: the Windows DLLs (32- and 64-bit) as zips a
# host developer of any toolchain can use, the Linux build as make install
# lays it, and the Debian package. Release builds have folders of their own,
# with no source path inside. Then each zip is checked as developers use it
# (scripts/check-dist.sh), and everything is built a second time from a copy
# of the sources in another folder and compared byte for byte with the first.
DIST_DIR ?= dist
DIST_BUILD_DIR ?= build-dist
DIST_AGAIN_DIR ?= build-dist-again
RELEASE_OPTIONS = -DORVJSON_BUILD_TESTS=OFF -DORVJSON_SOURCE_EXAMPLE=OFF
dist:
	@scripts/deps.sh build windows dist
	$(CMAKE_CONFIGURE) -B $(DIST_BUILD_DIR)/linux $(RELEASE_OPTIONS)
	cmake --build $(DIST_BUILD_DIR)/linux -j $(JOBS)
	$(call windows_configure,$(DIST_BUILD_DIR)/win32,32,$(CONFIG),$(RELEASE_OPTIONS) -DORVJSON_INSTALL=OFF)
	cmake --build $(DIST_BUILD_DIR)/win32 -j $(JOBS)
	$(call windows_configure,$(DIST_BUILD_DIR)/win64,64,$(CONFIG),$(RELEASE_OPTIONS) -DORVJSON_INSTALL=OFF)
	cmake --build $(DIST_BUILD_DIR)/win64 -j $(JOBS)
	scripts/dist.sh $(DIST_BUILD_DIR)/linux $(DIST_BUILD_DIR)/win32 $(DIST_BUILD_DIR)/win64 $(DIST_DIR)

dist-check: dist
	scripts/check-dist.sh $(DIST_DIR)
	rm -rf $(DIST_AGAIN_DIR) && mkdir -p $(DIST_AGAIN_DIR)/src
	git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t $(DIST_AGAIN_DIR)/src
	SOURCE_DATE_EPOCH=$$(git log -1 --format=%ct) $(MAKE) -C $(DIST_AGAIN_DIR)/src dist \
		DIST_DIR=$(abspath $(DIST_AGAIN_DIR))/dist > $(DIST_AGAIN_DIR)/build.log 2>&1 || \
		{ tail -n 20 $(DIST_AGAIN_DIR)/build.log; exit 1; }
	for archive in $(DIST_DIR)/*.zip $(DIST_DIR)/*.tar.gz; do \
		cmp "$$archive" "$(DIST_AGAIN_DIR)/dist/$$(basename "$$archive")" || \
		{ echo "dist-check: $$archive differs when built in another folder" >&2; exit 1; }; done
	@echo "dist-check: built twice, in two folders, the archives are the same bytes"

# Installs into a scratch prefix and builds examples/host against the installed
# CMake package and the pkg-config file, then from the sources through
# add_subdirectory, as outside consumers would; the C host and examples/host
# through orvjson.hpp against the installed package too; then makes the
# Debian package and checks that it holds the three headers.
INSTALL_CHECK_DIR ?= build-install-check
INSTALLED = $(abspath $(INSTALL_CHECK_DIR))/prefix
PKG_CONFIG_INSTALLED = PKG_CONFIG_PATH=$(INSTALLED)/lib/pkgconfig pkg-config
install-check: build
	@scripts/deps.sh package
	rm -rf $(INSTALL_CHECK_DIR)
	cmake --install $(BUILD_DIR) --prefix $(INSTALLED)
	cmake -S examples/host -B $(INSTALL_CHECK_DIR)/host -DCMAKE_PREFIX_PATH=$(INSTALLED) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(INSTALL_CHECK_DIR)/host
	LD_LIBRARY_PATH=$(INSTALLED)/lib $(INSTALL_CHECK_DIR)/host/orvjson_host $(INSTALL_CHECK_DIR)/host-output.json
	g++ -std=c++17 examples/host/host.cpp $$($(PKG_CONFIG_INSTALLED) --cflags --libs orvjson) \
		-o $(INSTALL_CHECK_DIR)/host-pkgconfig
	LD_LIBRARY_PATH=$(INSTALLED)/lib $(INSTALL_CHECK_DIR)/host-pkgconfig $(INSTALL_CHECK_DIR)/host-pkgconfig.json > /dev/null
	gcc -std=c99 -Wall -Wextra -pedantic -Werror examples/c_host/host.c $$($(PKG_CONFIG_INSTALLED) --cflags --libs orvjson) \
		-o $(INSTALL_CHECK_DIR)/c-host
	LD_LIBRARY_PATH=$(INSTALLED)/lib $(INSTALL_CHECK_DIR)/c-host $(INSTALL_CHECK_DIR)/c-host.json | grep -q "saved and loaded"
	mkdir -p $(INSTALL_CHECK_DIR)/layer-include && echo '#include <orvjson.hpp>' > $(INSTALL_CHECK_DIR)/layer-include/OrvJson.h
	g++ -std=c++17 -I$(INSTALL_CHECK_DIR)/layer-include examples/host/host.cpp \
		$$($(PKG_CONFIG_INSTALLED) --cflags --libs orvjson) -o $(INSTALL_CHECK_DIR)/layer-host
	LD_LIBRARY_PATH=$(INSTALLED)/lib $(INSTALL_CHECK_DIR)/layer-host $(INSTALL_CHECK_DIR)/layer-host.json | grep -q "saved and loaded"
	$(INSTALLED)/bin/orvjson inspect > /dev/null
	cmake -S examples/host -B $(INSTALL_CHECK_DIR)/subdirectory -DORVJSON_SOURCE_DIR=$(CURDIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(INSTALL_CHECK_DIR)/subdirectory -j $(JOBS)
	$(INSTALL_CHECK_DIR)/subdirectory/orvjson_host $(INSTALL_CHECK_DIR)/subdirectory-output.json > /dev/null
	cd $(BUILD_DIR) && cpack -G DEB > /dev/null && ls *.deb
	for header in OrvJson.h OrvJsonTypes.h orvjson_c.h orvjson.hpp; do \
		dpkg -c $(BUILD_DIR)/*.deb | grep "/include/$$header$$" > /dev/null || { echo "the .deb lacks $$header" >&2; exit 1; }; done

# Formatting and static analysis of our own sources (the Windows files are
# checked by the cross compiler, with warnings as errors).
# Vendored peers keep their own formatting.
FORMATTED = $(filter-out bench/peers/%,$(shell git ls-files '*.c' '*.cpp' '*.h' '*.hpp'))
format:
	clang-format -i $(FORMATTED)
format-check:
	@scripts/deps.sh lint
	clang-format --dry-run --Werror $(FORMATTED)
lint: build
	@scripts/deps.sh lint
	cmake -S . -B $(BUILD_DIR) -DCMAKE_EXPORT_COMPILE_COMMANDS=ON > /dev/null
	clang-tidy -p $(BUILD_DIR) --quiet $(filter-out %_windows.cpp,$(shell git ls-files 'src/*.cpp' 'tools/*.cpp')) 2>&1 | \
		grep -v -E '^[0-9]+ warnings? generated\.$$' ; test $${PIPESTATUS[0]} -eq 0

# Benchmarks against raw RapidJSON over the corpora in bench/data (or
# ORVJSON_CORPUS), built as the library ships: $(CONFIG).
bench:
	@scripts/deps.sh bench
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=$(CONFIG) -DORVJSON_WERROR=$(WERROR) -DORVJSON_BUILD_BENCH=ON \
		-DORVJSON_BUILD_TESTS=OFF -DORVJSON_BUILD_TOOLS=OFF
	cmake --build $(BENCH_DIR) -j $(JOBS)

# The same benchmarks for the 32-bit and the 64-bit DLL: our own timing
# driver, with RapidJSON's floor built for the same target, run under wine.
BENCH_WINDOWS_DIR ?= build-bench-windows
define bench_windows_build
	$(call windows_configure,$(BENCH_WINDOWS_DIR)$(1),$(1),$(CONFIG),-DORVJSON_BUILD_BENCH=ON -DORVJSON_BUILD_TESTS=OFF \
		-DORVJSON_BUILD_TOOLS=OFF)
	cmake --build $(BENCH_WINDOWS_DIR)$(1) -j $(JOBS) --target orvjson_timing
endef
bench-windows:
	@scripts/deps.sh windows
	$(call bench_windows_build,32)
	$(call bench_windows_build,64)

# $(call run_windows_timing,BITS,ARGUMENTS)
run_windows_timing = $(call wine_loader_or_skip,$(1),the $(1)-bit timing); \
	$(call wine_server,$(BENCH_WINDOWS_DIR)$(1),$(1)) && cd $(BENCH_WINDOWS_DIR)$(1)/bin && \
	$(call wine_env,$(BENCH_WINDOWS_DIR)$(1),$(1)) $$loader orvjson_timing.exe $(2); \
	status=$$?; $(call wine_env,$(BENCH_WINDOWS_DIR)$(1),$(1)) wineserver --kill 2>/dev/null; exit $$status

# The full run: best-of-many interleaved repetitions on Linux and for both
# DLLs, the memory series, and the tables and charts in docs/benchmarks/.
bench-report: bench bench-windows
	$(BENCH_DIR)/bench/orvjson_bench --benchmark_repetitions=$(BENCH_REPETITIONS) \
		--benchmark_enable_random_interleaving=true --benchmark_min_time=0.1 \
		--benchmark_format=json --benchmark_out=$(BENCH_DIR)/results.json --benchmark_out_format=json > /dev/null
	$(BENCH_DIR)/bench/orvjson_memory > $(BENCH_DIR)/memory.json
	$(call run_windows_timing,32,--repetitions=$(BENCH_REPETITIONS) --out=windows.json)
	$(call run_windows_timing,64,--repetitions=$(BENCH_REPETITIONS) --out=windows.json)
	python3 scripts/bench_report.py $(BENCH_DIR)/results.json $(BENCH_DIR)/memory.json \
		$(BENCH_WINDOWS_DIR)32/bin/windows.json $(BENCH_WINDOWS_DIR)64/bin/windows.json $(REPORT_DIR)

# A short run for CI: the benchmarks build and run on every target, and the
# report is made (into the build folder); nothing is timed against a target.
bench-smoke: bench bench-windows
	$(BENCH_DIR)/bench/orvjson_bench --benchmark_repetitions=1 --benchmark_min_time=0.001 \
		--benchmark_format=json --benchmark_out=$(BENCH_DIR)/smoke.json --benchmark_out_format=json > /dev/null
	$(BENCH_DIR)/bench/orvjson_memory 20 200 8 > $(BENCH_DIR)/smoke-memory.json
	$(call run_windows_timing,32,--repetitions=1 --min-time=0.001 --out=smoke.json)
	$(call run_windows_timing,64,--repetitions=1 --min-time=0.001 --out=smoke.json)
	python3 scripts/bench_report.py $(BENCH_DIR)/smoke.json $(BENCH_DIR)/smoke-memory.json \
		$(BENCH_WINDOWS_DIR)32/bin/smoke.json $(BENCH_WINDOWS_DIR)64/bin/smoke.json $(BENCH_DIR)

clean:
	rm -rf $(DIST_DIR) $(DIST_BUILD_DIR) $(DIST_AGAIN_DIR) $(WINDOWS64_DIR) $(OTHER_RUNTIME_DIR) $(BENCH_DIR) $(BENCH_WINDOWS_DIR)32 $(BENCH_WINDOWS_DIR)64 $(BUILD_DIR) $(DEBUG_DIR) $(SANITIZE_DIR) $(TSAN_DIR) $(WINDOWS_DIR) $(FUZZ_DIR)
