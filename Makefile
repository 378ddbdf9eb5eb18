# Front door over CMake. `make demo` runs the main job on the shipped example; `make check`
# builds everything and runs every test; `make check-windows` cross-builds the .exe files and
# runs the same tests under wine.
BUILD ?= build
WIN_BUILD ?= build-win
DEMO := $(BUILD)/demo
export WINEDEBUG ?= -all

ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 180
FUZZ_SCRATCH := $(FUZZ_BUILD)/corpus

.PHONY: all build demo check build-windows check-windows check-sanitizers fuzz benchmark package \
  clean

all: build

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j2

demo: build
	rm -rf $(DEMO) && mkdir -p $(DEMO)
	$(BUILD)/bin/qarpack examples/data $(DEMO)/data.qar
	cmp $(DEMO)/data.qar examples/example.qar && echo "demo: data.qar is the 43-byte example archive"
	$(BUILD)/bin/qarunpack -l $(DEMO)/data.qar
	$(BUILD)/bin/qarunpack $(DEMO)/data.qar $(DEMO)/out
	diff -r examples/data $(DEMO)/out && echo "demo: extracted files are identical to examples/data"

check: build
	cd $(BUILD) && ctest --output-on-failure -j2

build-windows:
	cmake -S . -B $(WIN_BUILD) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
	cmake --build $(WIN_BUILD) -j2

check-windows: build build-windows
	wineboot --init
	cd $(WIN_BUILD) && ctest --output-on-failure -j2
	tools/cross-check $(BUILD)/bin $(WIN_BUILD)/bin

# The whole suite built with AddressSanitizer and UndefinedBehaviorSanitizer; any report fails.
check-sanitizers:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
	cmake --build $(ASAN_BUILD) -j2
	cd $(ASAN_BUILD) && ctest --output-on-failure -j2

# Runs the fuzzer for FUZZ_SECONDS over the seed corpus; new inputs go to a scratch folder, and
# a crash is written to $(FUZZ_BUILD) and fails the run.
fuzz:
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
	  -DQAR_FUZZ=ON -DQAR_BUILD_TESTS=OFF \
	  -DCMAKE_CXX_FLAGS="-g -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all"
	cmake --build $(FUZZ_BUILD) -j2
	mkdir -p $(FUZZ_SCRATCH)
	$(FUZZ_BUILD)/bin/qarunpack_fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	  -dict=tests/fuzz/qar.dict -artifact_prefix=$(FUZZ_BUILD)/ $(FUZZ_SCRATCH) tests/fuzz/corpus

# The .deb and the Windows .zip, each installed into a scratch folder and tried on the example.
package: build build-windows
	cd $(BUILD) && cpack
	cd $(WIN_BUILD) && cpack
	tools/check-packages $(BUILD) $(WIN_BUILD)

# Times pack, list and extract against tar and bsdtar; not part of CI (takes about 15 minutes).
benchmark: build
	tools/install-dependencies benchmark
	tools/benchmark --bin $(BUILD)/bin

clean:
	rm -rf $(BUILD) $(WIN_BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
