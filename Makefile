# Thin wrapper over the CMake presets.
PRESET ?= default
BUILD := build/$(PRESET)
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench demo format clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET) -j $(JOBS)

run: build
	$(BUILD)/bin/torvane

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: configure
	@cmake --build --preset release -j $(JOBS)
	@build/release/bench/run_benchmarks.sh

demo: build
	@$(BUILD)/bin/torvane-gen --scale demo --seed 1 --out $(BUILD)/bin/demo.erm
	@$(BUILD)/bin/torvane --open $(BUILD)/src/app/demo.erm

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
