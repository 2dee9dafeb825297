# make run   - installs what is missing, builds and starts the program
# make test  - installs what is missing, builds and runs every test
# make bench - builds and runs the benchmarks
# make windows-cross - cross-builds for Windows (MinGW-w64), runs the tests and vask-cli under Wine
PRESET ?= default
BUILD  := build/$(PRESET)

.PHONY: run test build deps bench clean windows-cross

run: build
	$(BUILD)/bin/vask

test: build
	ctest --preset $(PRESET)

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

deps:
	tools/install-deps.sh

bench: deps
	tools/run-benchmarks.sh

windows-cross:
	tools/windows-cross-test.sh

clean:
	rm -rf build
