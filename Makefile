# make test: install what is missing, build natively and for Windows, run every test.
# make run:  build and start qorv.exe under Wine (a demonstration when there is no display).
# make dist: release zips and installer in build/dist.
SHELL := /bin/bash
BUILD := build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

FUZZ_SECONDS ?= 600

.PHONY: all deps native fuzz-build win64 win32 build test test-native test-wine fuzz bench run dist clean

all: build

deps:
	@tools/install-deps.sh

native: deps
	@cmake -S . -B $(BUILD)/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(BUILD)/native -j $(JOBS)

# libFuzzer targets (clang) under ASan and UBSan.
fuzz-build: deps
	@cmake -S . -B $(BUILD)/fuzz -DCMAKE_CXX_COMPILER=clang++ -DQORV_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(BUILD)/fuzz -j $(JOBS)

win64: deps
	@cmake -S . -B $(BUILD)/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
	  -DCMAKE_CROSSCOMPILING_EMULATOR=$(CURDIR)/tools/wine-exec.sh >/dev/null
	@cmake --build $(BUILD)/win64 -j $(JOBS)

# 32-bit programs cannot run here: built and linked only.
win32: deps
	@cmake -S . -B $(BUILD)/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
	@cmake --build $(BUILD)/win32 -j $(JOBS)

build: native fuzz-build win64 win32

test-native: native
	@cd $(BUILD)/native && ctest --output-on-failure -j $(JOBS) --timeout 120

test-wine: win64
	@tools/wine-tests.sh $(BUILD)/win64

test: build
	@tools/run-all-tests.sh $(BUILD)

# Fuzzes every target for FUZZ_SECONDS each (or FUZZ_RUNS executions each, e.g. make fuzz FUZZ_RUNS=10000000); new inputs go to build/fuzz-work, findings to build/fuzz-work/<target>.
fuzz: fuzz-build
	@tools/fuzz.sh $(BUILD) $(FUZZ_SECONDS)

# Benchmarks (not tests): figures go to the terminal; bench/README.md records them.
bench: deps win64
	@cmake -S . -B $(BUILD)/bench-native -DCMAKE_BUILD_TYPE=Release -DQORV_SANITIZE=OFF >/dev/null
	@cmake --build $(BUILD)/bench-native -j $(JOBS) --target qorv_bench_decisions qorv_bench_buttons qorv_snap_bench
	@tools/bench.sh $(BUILD)

run: win64
	@tools/run-qorv.sh $(BUILD)/win64

# Release packages in build/dist: two zips and the installer, then the installer's Wine test.
dist: win64 win32
	@tools/dist.sh $(BUILD)
	@tools/wine-tests.sh $(BUILD)/win64 -R DistInstaller

clean:
	rm -rf $(BUILD)
