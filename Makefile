# Two commands set everything up on a fresh machine: `make demo` and `make test`.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build test test-asan demo bench fuzz clean package install

all: build

deps:
	@bash scripts/install-deps.sh

configure:
	cmake --preset default >/dev/null

build: configure
	cmake --build --preset default -j $(JOBS)

test: deps build
	ctest --preset default

# A Debian package of both programs with their desktop entry and icon (build/vorlane_*.deb).
package: build
	cmake --build --preset default --target package

install: build
	cmake --install build

test-asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan

demo: deps build
	@bash examples/run-demo.sh build/bin/vorlane

bench: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)
	@bash bench/run-bench.sh build-release/bin

# Each libFuzzer target for FUZZ_SECONDS, from its committed seeds; new inputs go to
# build-fuzz/corpus, findings to build-fuzz/findings (the target stops at the first).
FUZZ_SECONDS ?= 60
fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS) --target fuzz_run fuzz_exp_file fuzz_records fuzz_numbers fuzz_integration fuzz_writers
	@bash fuzz/run-fuzz.sh build-fuzz $(FUZZ_SECONDS)

clean:
	rm -rf build build-release build-asan build-fuzz
