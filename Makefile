# KestralMGA: the two set-up commands are `make run` and `make test`; both install what is
# missing first (scripts/install-deps, apt-get as root).
SHELL := /bin/bash
JOBS ?= $(shell nproc)

.PHONY: all deps run test test-release test-asan bench format clean

all: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

deps:
	@scripts/install-deps --check >/dev/null || scripts/install-deps

# The program with the example marks. Without a display it says how to run it under Xvfb.
run: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS) --target KestralMGA
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  ./build/release/src/app/KestralMGA examples/marks.dmp; \
	else \
	  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): KestralMGA is built but not started."; \
	  echo "To run it on a virtual display:"; \
	  echo "  xvfb-run -a ./build/release/src/app/KestralMGA examples/marks.dmp"; \
	fi

test: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)
	ctest --preset release -j $(JOBS)
	cmake --preset debug-asan
	cmake --build --preset debug-asan -j $(JOBS)
	ctest --preset debug-asan -j $(JOBS)

bench: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS) --target kestral_bench
	./build/release/bench/kestral_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
