# KestralMGA: the two set-up commands are `make run` and `make test`; both install what is
# missing first (scripts/install-deps, apt-get as root).
SHELL := /bin/bash
JOBS ?= $(shell nproc)

.PHONY: all deps run test golden test-release test-asan test-tsan bench fuzz package screenshots format clean

all: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

deps:
	@scripts/install-deps --check >/dev/null || scripts/install-deps

# The program with the example marks. Without a display (neither DISPLAY nor WAYLAND_DISPLAY set):
# the batch comparison of the example plan against the example marks (status 1, a join not
# acceptable, is the example's result, not a failure).
run: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS) --target KestralMGA
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  ./build/release/src/app/KestralMGA examples/marks.dmp; \
	else \
	  echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): the batch comparison of the example plan follows."; \
	  echo "To open the program without a display: xvfb-run -a ./build/release/src/app/KestralMGA examples/marks.dmp"; \
	  echo; \
	  cmake --build --preset release -j $(JOBS) --target kestralmga-cli >/dev/null && \
	  ./build/release/src/cli/kestralmga-cli compare --marks examples/marks.csv --plan examples/plan; \
	  status=$$?; [ $$status -le 1 ]; \
	fi

# Every test: the release build's suites under the "C" locale and under a comma-decimal one
# (the outputs must not change), the Debian package with its checks (lintian, the installed
# programs, the README's commands), each fuzz target for 10 s, the sanitizer build's suites
# under both locales, then the batch command's threads under the thread sanitizer.
test: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)
	LC_ALL=C ctest --preset release -j $(JOBS)
	LC_ALL=de_DE.UTF-8 ctest --preset release -j $(JOBS)
	$(MAKE) package
	LC_ALL=C ctest --preset package
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	scripts/run-fuzz 10
	cmake --preset debug-asan
	cmake --build --preset debug-asan -j $(JOBS)
	LC_ALL=C ctest --preset debug-asan -j $(JOBS)
	LC_ALL=de_DE.UTF-8 ctest --preset debug-asan -j $(JOBS)
	$(MAKE) test-tsan

# The batch program's cases under the thread sanitizer: the batch command's plans compared on
# several threads that share one mark list and its index, in-process and through the program.
test-tsan: deps
	cmake --preset tsan
	cmake --build --preset tsan -j $(JOBS) --target kestral_cli_tests kestralmga-cli
	ctest --preset tsan -R '^(CliCases|Program\.GoldenRuns)'

# The golden files rewritten from what the programs now show, print and save: the release suites,
# one test at a time, with KESTRAL_UPDATE_GOLDEN=1 (each test that compares with a golden file
# writes it first: the scenario transcripts, the batch cases' expectations and outputs, the
# reports and the model transcripts); then the golden files that changed. The batch cases' test
# checks the expectations it read before writing them, so a change still fails it in this run:
# read the diff, run the suites again, then commit the files. A normal run never writes them.
golden: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)
	-KESTRAL_UPDATE_GOLDEN=1 LC_ALL=C ctest --preset release
	@git status --short tests/data

# Each fuzz target for FUZZ_SECONDS (60 s unless given), with the seeds, the findings and the
# working corpus that grows in build/fuzz/corpus.
FUZZ_SECONDS ?= 60
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	scripts/run-fuzz $(FUZZ_SECONDS)

# The benchmark suite in the release build: medians of repetitions (BENCH_REPETITIONS, default 5)
# beside their floors, peak memory of the batch program, written to docs/PERFORMANCE.md and its
# chart (python3 and gnuplot).
bench: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS) --target kestral_bench kestral_bench_gui kestral_bench_data kestralmga-cli
	bench/run_benchmarks build/release docs

# The Debian package kestralmga_<version>-1_<arch>.deb, built in build/package/ (the programs
# only, without tests and benchmarks; man pages and completion written from their --help;
# Depends from dpkg-shlibdeps), then checked by lintian. The tests of the package are
# `ctest --preset package` in the release build (make test runs them).
package: deps
	rm -f build/package/kestralmga_*.deb
	cmake --preset package
	cmake --build --preset package -j $(JOBS) --target package
	lintian --fail-on error build/package/kestralmga_*.deb

# The pictures of the help book: one run of the screenshot tool over the example data.
screenshots: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS) --target kestral_screenshots
	QT_QPA_PLATFORM=offscreen ./build/release/docs/kestral_screenshots \
	  docs/help/KestralMGA-help/images examples docs/help/KestralMGA.html

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
