# make run      - installs what is missing, builds and starts the program
# make test     - installs what is missing, builds and runs every test
# make asan     - the whole test suite built with AddressSanitizer and UBSan
# make bench    - builds the benchmarks in release mode, runs them, prints one table
# make package  - the Debian package and the portable .tar.gz (build/default/packages)
# make package-test - installs the Debian package and runs the installed vask-cli (root)
# make fuzz     - builds the fuzz targets (clang) and runs each for FUZZ_SECONDS seconds
# make windows  - cross-builds vask.exe, vask-cli.exe and the tests for Windows (MinGW-w64, a
#                  static MinGW Qt), runs them under Wine, makes and tests the Windows packages
# make windows-screenshots - the manual's pictures of the Windows program, made under Wine
#                  from the cross-built manual_screenshots.exe in WINDOWS_BIN
# make robustness - builds and runs the bad-input suite alone (tests/robustness)
# make format   - reformats every C++ source tracked by git with the committed .clang-format
# make format-check - fails when a C++ source tracked by git is not formatted so (CI)
PRESET ?= default
FUZZ_SECONDS ?= 60
WINDOWS_BIN ?= build/windows-cross/bin
BUILD  := build/$(PRESET)

.PHONY: run test build deps asan bench package package-test fuzz windows windows-screenshots robustness format format-check clean

run: build
	$(BUILD)/bin/vask

test: build
	ctest --preset $(PRESET)

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

deps:
	tools/install-deps.sh

asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

bench: deps
	tools/run-benchmarks.sh

package: build
	tools/install-deps.sh package
	cd $(BUILD) && cpack

package-test: package
	tools/test-packages.sh $(BUILD)

fuzz:
	tools/install-deps.sh fuzz
	tools/run-fuzz.sh $(FUZZ_SECONDS)

windows:
	tools/install-deps.sh windows
	tools/windows-test.sh

windows-screenshots:
	tools/install-deps.sh windows
	tools/make-windows-screenshots.sh $(WINDOWS_BIN) docs/manual/images

robustness: build
	ctest --preset $(PRESET) -L robustness

format:
	tools/install-deps.sh format
	tools/format.sh

format-check:
	tools/install-deps.sh format
	tools/format.sh --check

clean:
	rm -rf build
