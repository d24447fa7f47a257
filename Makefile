# Thin wrapper over the CMake presets.
PRESET ?= default
BUILD := build/$(PRESET)
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test torture bench demo format clean

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

# The concurrency tests at full length: compaction under a second program's inserts and open
# transactions, two programs saving customers, 200 compactions killed at random points,
# 200 purchases killed while saving.
torture: build
	@cd $(BUILD)/bin && TORVANE_TORTURE=1 QT_QPA_PLATFORM=offscreen ./test_core --gtest_filter='Torture.*'
	@cd $(BUILD)/bin && TORVANE_TORTURE=1 QT_QPA_PLATFORM=offscreen ./test_billing --gtest_filter='Torture.*'
	@cd $(BUILD)/bin && TORVANE_TORTURE=1 QT_QPA_PLATFORM=offscreen ./test_workorders --gtest_filter='InvoicingCrash.*'
	@cd $(BUILD)/bin && TORVANE_TORTURE=1 QT_QPA_PLATFORM=offscreen ./test_sales --gtest_filter='Torture.*'
	@cd $(BUILD)/bin && TORVANE_TORTURE=1 QT_QPA_PLATFORM=offscreen ./test_workorders --gtest_filter='Torture.*'
	@cd $(BUILD)/bin && TORVANE_TORTURE=1 QT_QPA_PLATFORM=offscreen ./test_purchasing --gtest_filter='Torture.*'

# Benchmarks on the large database (generated once under build/release/bench-data).
bench: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS)
	@bench/run_benchmarks.sh build/release

# A year of a small workshop, dated up to today, opened through ruta.fpl.
demo: build
	@$(BUILD)/bin/torvane-gen --scale demo --seed 1 --out $(BUILD)/bin/demo.erm --write-ruta $(BUILD)/bin
	@$(BUILD)/bin/torvane

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build

# The Debian package, from the release build: build/release/torvane_VERSION_ARCH.deb.
.PHONY: package
package: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS)
	@cd build/release && cpack -G DEB
