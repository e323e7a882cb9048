# SPDX-FileCopyrightText: 2026 The Quilvoro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Thin wrapper over CMake + Ninja. `make run` and `make test` set everything up themselves.

BUILD      ?= build
BUILD_ASAN ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps build run test test-plain test-asan bench snap format format-check clean package \
        package-check license-check check-layers check-clang looks-sheet

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja: | deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: deps $(BUILD)/build.ninja
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@$(BUILD)/quilvoro

test: test-plain test-asan

test-plain: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

$(BUILD_ASAN)/build.ninja: | deps
	@cmake -S . -B $(BUILD_ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILVORO_SANITIZE=ON \
	       -DQUILVORO_BENCH=OFF >/dev/null

test-asan: deps $(BUILD_ASAN)/build.ninja
	@cmake --build $(BUILD_ASAN) -j $(JOBS)
	@cd $(BUILD_ASAN) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/bench_*; do QT_QPA_PLATFORM=offscreen $$b --benchmark_repetitions=5 \
	  --benchmark_report_aggregates_only=true; done
	@bench/render-process.sh $(BUILD)

snap: build
	@QT_QPA_PLATFORM=offscreen $(BUILD)/quilvoro-snap quilvoro.png && echo "wrote quilvoro.png"

package: build
	@cmake --build $(BUILD) --target package

# Lists the built package's control data and files and checks them against what must be there.
package-check: package
	@scripts/check-package.sh $(BUILD)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

# Fails, naming each file and line, when any source differs from what `make format` writes.
format-check: deps
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

# Fails, naming each file, when one lacks its copyright and licence lines or its licence text.
license-check: deps
	@reuse lint

# Fails, naming each file and line, on an include that points up or sideways in the layers.
check-layers: $(BUILD)/build.ninja
	@cmake -S . -B $(BUILD) >/dev/null
	@scripts/check-layers.sh $(BUILD)/layers.txt

# Fails, naming each file, when clang++ cannot parse a source as the build compiles it.
check-clang: build
	@scripts/check-clang.sh $(BUILD)

# Every look drawn with a sample text into docs/looks.png, shown in the README.
looks-sheet: build
	@scripts/looks-sheet.sh $(BUILD) docs/looks.png

clean:
	@rm -rf $(BUILD) $(BUILD_ASAN)
