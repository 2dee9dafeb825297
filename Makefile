# make run   - installs what is missing, builds and starts the program
# make test  - installs what is missing, builds and runs every test
# make bench - builds and runs the benchmarks
# make fuzz  - builds the fuzz targets (clang) and runs each for FUZZ_SECONDS seconds
PRESET ?= default
FUZZ_SECONDS ?= 60
BUILD  := build/$(PRESET)

.PHONY: run test build deps bench fuzz clean

run: build
	$(BUILD)/bin/vask

test: build
	ctest --preset $(PRESET)

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

deps:
	tools/install-deps.sh

bench: build
	tools/run-benchmarks.sh $(BUILD)/bin

fuzz:
	tools/install-deps.sh fuzz
	tools/run-fuzz.sh $(FUZZ_SECONDS)

clean:
	rm -rf build
