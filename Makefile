BUILD ?= build
JOBS ?= $(shell nproc)
# WERROR=ON fails the build on any warning, as CI builds do.
WERROR ?= OFF
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps build run test bench clean format-check

all: build

deps:
	@scripts/setup-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DTESSRA_WERROR=$(WERROR)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-editor $(BUILD)/src/app/tessra

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD)

# Every source file as clang-format would leave it; names those it would change.
FORMATTED = $(shell find src tests bench fuzz -name '*.cpp' -o -name '*.h')
format-check:
	@clang-format --dry-run --Werror $(FORMATTED)

# Sanitizers: the whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
ASAN_BUILD ?= build-asan
SANITIZE = -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined

.PHONY: test-asan fuzz

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTESSRA_BUILD_BENCH=OFF -DTESSRA_WERROR=$(WERROR) \
	    -DCMAKE_CXX_FLAGS="$(SANITIZE)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE)"
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --output-on-failure -j $(JOBS)

# libFuzzer targets, each run for FUZZ_SECONDS (default 60).
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

fuzz: deps
	@command -v clang++ >/dev/null || { echo "make fuzz needs clang (apt-get install clang)"; exit 1; }
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined" \
	    -DTESSRA_FUZZ=ON -DTESSRA_BUILD_TESTS=OFF -DTESSRA_BUILD_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_pcx fuzz_png fuzz_tmx fuzz_project_file \
	    fuzz_stamp_file fuzz_csv_import fuzz_number_text fuzz_export_profile fuzz_tile_attributes
	FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/run-fuzz $(FUZZ_BUILD)

# Installing and packaging: `make install PREFIX=P` puts the programs under P/bin and
# their files under P/share; `make package` builds tessra_<version>_amd64.deb in $(BUILD).
PREFIX ?= /usr/local

.PHONY: install package

install: build
	cmake --install $(BUILD) --prefix "$(PREFIX)"

package: build
	cd $(BUILD) && cpack -G DEB
