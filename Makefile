# make run   - installs what is missing, builds and starts the program
# make test  - installs what is missing, builds and runs every test
# make bench - builds and runs the benchmarks
# make robustness - builds and runs the bad-input suite alone (tests/robustness)
PRESET ?= default
BUILD  := build/$(PRESET)

.PHONY: run test build deps bench robustness clean

run: build
	$(BUILD)/bin/vask

test: build
	ctest --preset $(PRESET)

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

deps:
	tools/install-deps.sh

robustness: build
	ctest --preset $(PRESET) -L robustness

bench: build
	tools/run-benchmarks.sh $(BUILD)/bin

clean:
	rm -rf build
