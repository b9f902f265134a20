# The two set-up commands: `make run` and `make test`.
BUILD    ?= build
JOBS     ?= 2
EXAMPLE  ?= WATER
SCRATCH  ?= scratch
PREFIX   ?= /usr/local

.PHONY: all build run test clean install package openbabel

all: build

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

# Builds tessen, runs it on examples/$(EXAMPLE).DAT in a scratch folder, answering its
# prompt, and shows the console and the report.
run: build
	rm -rf $(SCRATCH) && mkdir -p $(SCRATCH)
	cp examples/$(EXAMPLE).DAT $(SCRATCH)/
	cd $(SCRATCH) && echo "$(EXAMPLE).DAT" | ../$(BUILD)/tessen; echo "(exit status $$?)"
	@echo "---- report $(SCRATCH)/$(EXAMPLE).OUT ----"
	@tr -d '\r' < $(SCRATCH)/$(EXAMPLE).OUT

# Open Babel, which the tessen-xyz tests read their files back with, is installed first
# where it is missing.
test: build $(if $(shell command -v obabel 2>/dev/null),,openbabel)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Installs Debian's openbabel, quietly; where that cannot be done (no root, no network)
# the Open Babel test skips and says so.
openbabel:
	@(apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq openbabel) \
	  </dev/null >/dev/null 2>&1 || echo "note: Open Babel could not be installed; its test will skip"

# Installs tessen, tessen-xyz and their manual pages under $(PREFIX).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# Builds the Debian package $(BUILD)/tessen_VERSION_ARCH.deb.
package: build
	cd $(BUILD) && cpack -G DEB

# Benchmarks, in a Release build of their own and never part of `make test`: tessen timed
# as a whole process on three seeded decks (bench/run_bench.py writes them with
# bench/make_deck.py into $(BENCH_BUILD)/decks the first time), then the micro-benchmarks
# of the field editors. Figures and how to read them: bench/RESULTS.md.
BENCH_BUILD ?= build-bench
BENCH_RUNS  ?= 5
.PHONY: bench bench-toolchain
bench: bench-toolchain
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DTESSEN_BENCH=ON -DTESSEN_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target tessen tessen_micro_bench time_process
	python3 bench/run_bench.py --tessen $(BENCH_BUILD)/tessen \
	  --timer $(BENCH_BUILD)/bench/time_process --decks $(BENCH_BUILD)/decks \
	  --runs $(BENCH_RUNS)
	$(BENCH_BUILD)/bench/tessen_micro_bench

# Google Benchmark, from Debian's packages where it is missing.
bench-toolchain:
	@dpkg -s libbenchmark-dev >/dev/null 2>&1 || (echo "installing Google Benchmark" \
	  && apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
	  libbenchmark-dev </dev/null >/dev/null)

clean:
	rm -rf $(BUILD) $(SCRATCH)
