# Front door over CMake. `make demo` runs the main job on the shipped example; `make check`
# builds everything and runs every test; `make check-windows` cross-builds the .exe files and
# runs the same tests under wine.
BUILD ?= build
WIN_BUILD ?= build-win
DEMO := $(BUILD)/demo
export WINEDEBUG ?= -all

.PHONY: all build demo check build-windows check-windows clean

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

clean:
	rm -rf $(BUILD) $(WIN_BUILD)
