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
	$(BUILD)/bin/qarpack examples/data $(DEMO)/data.qar
	cmp $(DEMO)/data.qar examples/example.qar && echo "demo: data.qar is the 43-byte example archive"
	$(BUILD)/bin/qarunpack -l $(DEMO)/data.qar
	$(BUILD)/bin/qarunpack $(DEMO)/data.qar $(DEMO)/out
	diff -r examples/data $(DEMO)/out && echo "demo: extracted files are identical to examples/data"

check: build
	cd $(BUILD) && ctest --output-on-failure -j2

clean:
	rm -rf $(BUILD)
