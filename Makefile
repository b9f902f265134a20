# The two set-up commands: `make run` and `make test`.
BUILD    ?= build
JOBS     ?= 2
EXAMPLE  ?= WATER
SCRATCH  ?= scratch
PREFIX   ?= /usr/local
# The sanitized build that `make test` runs too, and the fuzz build (clang++, libFuzzer).
ASAN_BUILD   ?= build-asan
TSAN_BUILD   ?= build-tsan
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
CLANGXX      ?= clang++

.PHONY: all build build-tests run test test-sanitized test-tsan clean install package openbabel \
        fuzz fuzz-all fuzz-run fuzz-build fuzz-toolchain format-check deps deps-test

all: build

# Debian packages that the programs and the tests need, installed where missing.
RUN_PACKAGES  = cmake g++ make pkg-config nlohmann-json3-dev libopenbabel-dev libeigen3-dev
TEST_PACKAGES = $(RUN_PACKAGES) libgtest-dev clang-format python3-ase
missing = $(shell for p in $(1); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done)
define install_missing
	@pkgs="$(call missing,$(1))"; if [ -n "$$pkgs" ]; then echo "installing $$pkgs"; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$pkgs \
	  </dev/null >/dev/null; fi
endef
deps:
	$(call install_missing,$(RUN_PACKAGES))
deps-test:
	$(call install_missing,$(TEST_PACKAGES))

# The programs only: what `make run`, `make install` and `make package` need.
build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS) --target tessen tessen-xyz tessen-check tessen-rot tessen-deck

# Everything, the test suite included, with every warning an error.
build-tests: deps-test
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DTESSEN_WERROR=ON
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
test: format-check build-tests $(if $(shell command -v obabel 2>/dev/null),,openbabel)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory test-sanitized

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer: the
# programs that the tests run are sanitized too. Any sanitizer finding fails the test that
# met it. The Debian package check is left to the plain build: a sanitized program needs
# the sanitizer run-time libraries, which the package must not depend on.
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
                LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp \
                UBSAN_OPTIONS=print_stacktrace=1
test-sanitized:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSEN_SANITIZE=ON \
	  -DTESSEN_WERROR=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS) -E '^Package\.'

# The whole suite again, built with ThreadSanitizer, the programs that the tests run
# included: a data race stops the program that has it and fails its test. Slow, so never
# part of `make test`: run it by hand after changing the report's writer thread. The
# Debian package check is left out, as in test-sanitized.
TSAN_ENV = TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
test-tsan: deps-test
	cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSEN_TSAN=ON \
	  -DTESSEN_WERROR=ON
	cmake --build $(TSAN_BUILD) -j $(JOBS)
	cd $(TSAN_BUILD) && $(TSAN_ENV) ctest --output-on-failure -j $(JOBS) -E '^Package\.'

# Fails when a C++ file of the repository differs from what clang-format makes of it.
format-check: deps-test
	@files=$$(git ls-files '*.cpp' '*.hpp' 2>/dev/null || find . -name '*.[ch]pp' -not -path './build*'); \
	  clang-format --dry-run --Werror $$files && echo "format check: $$(echo $$files | wc -w) files formatted"

# The fuzz targets, one for every reader (fuzz/CMakeLists.txt declares each with its seeds
# and dictionary; fuzz/README.md). `make fuzz` fuzzes the job loop (or FUZZ_TARGET) for
# FUZZ_SECONDS seconds, `make fuzz-all` every target in turn. New inputs collect in
# $(FUZZ_BUILD)/corpus/TARGET; a finding is written to $(FUZZ_BUILD)/finding-TARGET-*.
# Open Babel's own leaks are left out as in the sanitized tests.
FUZZ_TARGET ?= fuzz_job_loop
FUZZ_ENV = LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp \
           UBSAN_OPTIONS=print_stacktrace=1
fuzz: fuzz-build
	@$(MAKE) --no-print-directory fuzz-run FUZZ_TARGET=$(FUZZ_TARGET)

fuzz-all: fuzz-build
	@for target in $$(cat $(FUZZ_BUILD)/fuzz/targets.txt); do \
	  $(MAKE) --no-print-directory fuzz-run FUZZ_TARGET=$$target || exit 1; done

# One target: its seeds copied into a folder of their own, its corpus kept between runs.
fuzz-run:
	rm -rf $(FUZZ_BUILD)/seeds/$(FUZZ_TARGET)
	mkdir -p $(FUZZ_BUILD)/seeds/$(FUZZ_TARGET) $(FUZZ_BUILD)/corpus/$(FUZZ_TARGET)
	while read -r seed; do cp "$$seed" "$(FUZZ_BUILD)/seeds/$(FUZZ_TARGET)/$$(echo "$$seed" | tr / _)"; \
	  done < $(FUZZ_BUILD)/fuzz/$(FUZZ_TARGET).seeds
	dict=$$(cat $(FUZZ_BUILD)/fuzz/$(FUZZ_TARGET).dict); $(FUZZ_ENV) \
	  $(FUZZ_BUILD)/fuzz/$(FUZZ_TARGET) -max_total_time=$(FUZZ_SECONDS) $${dict:+-dict=$$dict} \
	  -timeout=10 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
	  -artifact_prefix=$(FUZZ_BUILD)/finding-$(FUZZ_TARGET)- \
	  $(FUZZ_BUILD)/corpus/$(FUZZ_TARGET) $(FUZZ_BUILD)/seeds/$(FUZZ_TARGET)

fuzz-build: fuzz-toolchain
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=$(CLANGXX) -DTESSEN_FUZZ=ON -DTESSEN_TESTS=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets

# clang++ with its libFuzzer run-time, from Debian's packages where it is missing. The
# probe links a program into the fuzz build folder (never onto a device such as /dev/null).
FUZZ_PROBE = printf 'extern "C" int LLVMFuzzerTestOneInput(const char*, long) { return 0; }\n' \
             | $(CLANGXX) -fsanitize=fuzzer -x c++ - -o $(FUZZ_BUILD)/toolchain-probe \
             >/dev/null 2>&1
fuzz-toolchain:
	@mkdir -p $(FUZZ_BUILD) && $(FUZZ_PROBE) || (echo "installing clang and its fuzzer run-time" && apt-get update -qq \
	  && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq clang libclang-rt-14-dev \
	  </dev/null >/dev/null && $(FUZZ_PROBE))

# Installs Debian's openbabel, quietly; where that cannot be done (no root, no network)
# the Open Babel test skips and says so.
openbabel:
	@(apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq openbabel) \
	  </dev/null >/dev/null 2>&1 || echo "note: Open Babel could not be installed; its test will skip"

# Installs the programs and their manual pages under $(PREFIX).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# Builds the Debian package $(BUILD)/tessen_VERSION_ARCH.deb.
package: build
	cd $(BUILD) && cpack -G DEB

# Benchmarks, in a Release build of their own and never part of `make test`: tessen timed
# as a whole process on three seeded decks (bench/run_bench.py writes them with
# bench/make_deck.py into $(BENCH_BUILD)/decks the first time), then the micro-benchmarks
# of the field editors and of tessen-fit's least-squares solver. Figures and how to read
# them: bench/RESULTS.md.
BENCH_BUILD ?= build-bench
BENCH_RUNS  ?= 5
.PHONY: bench bench-toolchain
bench: bench-toolchain
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DTESSEN_BENCH=ON -DTESSEN_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target tessen tessen_micro_bench time_process \
	  tessen_fit_bench
	python3 bench/run_bench.py --tessen $(BENCH_BUILD)/tessen \
	  --timer $(BENCH_BUILD)/bench/time_process --decks $(BENCH_BUILD)/decks \
	  --runs $(BENCH_RUNS)
	$(BENCH_BUILD)/bench/tessen_micro_bench
	$(BENCH_BUILD)/bench/tessen_fit_bench

# Google Benchmark, from Debian's packages where it is missing.
bench-toolchain:
	@dpkg -s libbenchmark-dev >/dev/null 2>&1 || (echo "installing Google Benchmark" \
	  && apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
	  libbenchmark-dev </dev/null >/dev/null)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD) $(SCRATCH)

# The fast Fw.d editor against the digit-by-digit one on every float below 2^24, both
# signs, in every format the programs print reals with, on all cores, in a Release build
# of its own; never part of `make test`. SWEEP_ARGS narrows it for a quick run, e.g.
# SWEEP_ARGS="--stride 997" or SWEEP_ARGS="--binades 120-130" (see --help).
SWEEP_BUILD ?= build-sweep
SWEEP_ARGS  ?=
.PHONY: sweep
sweep:
	cmake -S . -B $(SWEEP_BUILD) -DCMAKE_BUILD_TYPE=Release -DTESSEN_SWEEP=ON -DTESSEN_TESTS=OFF
	cmake --build $(SWEEP_BUILD) -j $(JOBS) --target tessen_real_sweep
	$(SWEEP_BUILD)/tests/sweep/tessen_real_sweep $(SWEEP_ARGS)

# The numeric input readers against their general forms: every float below 10^7 written in
# F12.6 and read back, and every 7-digit significand with its point in every place, on
# $(JOBS) threads, in the sweep's build; never part of `make test`.
.PHONY: sweep-reader
sweep-reader:
	cmake -S . -B $(SWEEP_BUILD) -DCMAKE_BUILD_TYPE=Release -DTESSEN_SWEEP=ON -DTESSEN_TESTS=OFF
	cmake --build $(SWEEP_BUILD) -j $(JOBS) --target tessen_reader_sweep
	$(SWEEP_BUILD)/tests/sweep/tessen_reader_sweep --threads $(JOBS)
