# Drives CMake. `make run` and `make test` are the two set-up commands.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
JOBS ?= $(shell nproc)
WERROR ?= OFF
CONFIG ?= RelWithDebInfo

CMAKE_CONFIGURE = cmake -S . -DCMAKE_BUILD_TYPE=$(CONFIG) -DORVJSON_WERROR=$(WERROR)
CTEST = ctest --output-on-failure --no-tests=error -j $(JOBS)
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

.PHONY: all build run test test-plain test-sanitize clean

all: build

build:
	@scripts/deps.sh build
	$(CMAKE_CONFIGURE) -B $(BUILD_DIR)
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/tools/orvjson inspect examples/sample.json

# The whole suite twice: a normal build, then AddressSanitizer and
# UndefinedBehaviorSanitizer under clang, where any report fails the run.
test: test-plain test-sanitize

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

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
