# make run   builds Corvane and starts it under Wine
# make test  builds everything and runs every test under Wine
# make bench builds Corvane and runs the benchmarks under Wine
BUILD := build
X64 := $(BUILD)/x86_64
I686 := $(BUILD)/i686
CONFIGURE := cmake -G Ninja -DCMAKE_BUILD_TYPE=Release

.PHONY: run test bench bootstrap build build-i686 format-check

run: build
	scripts/run.sh $(X64)

# Each test program runs its tests in a new random order, so that a test that
# depends on another one fails at once.
test: build build-i686 format-check
	GTEST_SHUFFLE=1 scripts/in-test-prefix.sh $(X64) ctest --test-dir $(X64) --output-on-failure

bench: build
	scripts/in-test-prefix.sh $(X64) sh -c 'scripts/wine-run.sh $(X64)/bench/reports_bench.exe && scripts/wine-run.sh $(X64)/bench/search_bench.exe && scripts/wine-run.sh $(X64)/bench/lists_bench.exe && scripts/wine-run.sh $(X64)/bench/duplicates_bench.exe && bench/mft-bench.sh $(X64)'

bootstrap:
	@scripts/bootstrap.sh

build: bootstrap
	$(CONFIGURE) -S . -B $(X64) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake
	cmake --build $(X64)

# 32-bit Windows programs cannot run here: compile and link only.
build-i686: bootstrap
	$(CONFIGURE) -S . -B $(I686) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake -DCORVANE_TESTS=OFF
	cmake --build $(I686)

format-check: bootstrap
	find src tests bench -name '*.cpp' -o -name '*.h' 2>/dev/null | xargs clang-format --dry-run --Werror
