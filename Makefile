# Entry points; every target installs missing packages first.
JOBS ?= $(shell nproc)
CMAKE_GEN = -G Ninja
ASAN_ENV = ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=1 \
           UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

.PHONY: deps build test test-asan run fuzz-smoke bench clean

deps:
	@bash scripts/install-deps.sh

build: deps
	@cmake -S . -B build $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build -j $(JOBS)

test: build
	ctest --test-dir build --output-on-failure -j $(JOBS)

test-asan: deps
	@cmake -S . -B build-asan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="-O1 -g" \
	  -DSANITIZE=ON -DBENCH=OFF >/dev/null
	@cmake --build build-asan -j $(JOBS)
	$(ASAN_ENV) ctest --test-dir build-asan --output-on-failure -j $(JOBS)

run: build
	@echo "The simulator is not built yet; executables available in build/bin:"
	@ls build/bin

clean:
	rm -rf build build-asan build-fuzz out
