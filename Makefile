# Front door over CMake. `make demo` runs the main job on the shipped example; `make check`
# builds everything and runs every test.
BUILD ?= build
DEMO := $(BUILD)/demo

.PHONY: all build demo check clean

all: build

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j2

demo: build
	rm -rf $(DEMO) && mkdir -p $(DEMO)
	$(BUILD)/bin/qarunpack -l examples/example.qar
	$(BUILD)/bin/qarunpack examples/example.qar $(DEMO)/out
	diff -r examples/data $(DEMO)/out && echo "demo: extracted files are identical to examples/data"

check: build
	cd $(BUILD) && ctest --output-on-failure -j2

clean:
	rm -rf $(BUILD)
