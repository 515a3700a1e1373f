# Entry points; every target installs missing packages first.
JOBS ?= $(shell nproc)
# ccache hits across clones in different folders: paths are hashed relative to the checkout.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
CMAKE_GEN = -G Ninja
# fontconfig keeps its caches in a form LeakSanitizer cannot follow; see tests/lsan.supp.
ASAN_ENV = ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=1 \
           LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
           UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

TSAN_ENV = TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/tests/tsan.supp

# Every C++ file under version control; the style is the one in .clang-format.
FORMAT_FILES = $(shell git ls-files '*.cpp' '*.h')

.PHONY: deps build test test-asan test-tsan update-goldens format format-check run play fuzz-smoke bench soak clean

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

# The suite under ThreadSanitizer: every thread hand-over (HTTP worker, workers, log sinks).
# The web tests are left out: WebKit's and GLib's own threads are not built for the sanitizer
# and report races inside those libraries. The web tests run under xvfb-run (see
# tests/platform/web), so `make test` and `make test-asan` need no display. The signal-exit
# test is left out too: ThreadSanitizer treats SIGABRT as a synchronous signal and runs the
# handler at once in whatever thread it lands on, even inside the sanitizer's own runtime,
# which then crashes; the other two builds run it.
test-tsan: deps
	@cmake -S . -B build-tsan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="-O1 -g" \
	  -DSANITIZE_THREAD=ON -DBENCH=OFF >/dev/null
	@cmake --build build-tsan -j $(JOBS)
	$(TSAN_ENV) ctest --test-dir build-tsan --output-on-failure -j $(JOBS) \
	  -E 'web_tests|SimulatorRun.SignalsDoNotLeaveTheTemporaryHomeBehind'

# Rewrites the committed screenshots under tests/goldens that no longer match what the code
# draws; every test with Golden in its name compares one. Review the new images before committing.
update-goldens: build
	UPDATE_GOLDENS=1 ctest --test-dir build --output-on-failure -j $(JOBS)

format: deps
	@clang-format -i $(FORMAT_FILES)

# Fails, naming the files, when any file differs from what `make format` would write.
format-check: deps
	@clang-format --dry-run --Werror $(FORMAT_FILES)

# The main job: the shaker demo, headless on the virtual clock.
run: build
	@rm -rf out && mkdir -p out/screenshots
	@build/bin/kessa --scenario sim/scenarios/demo.scn --trace out/trace.jsonl --screenshots out/screenshots
	@echo "screenshots: out/screenshots/ ($$(ls out/screenshots | wc -l) files); trace: out/trace.jsonl"
	@echo "shakes counted: $$(grep -c '"type":"sound"' out/trace.jsonl) (each plays a sound); final counter: $$(grep -o '"name":"countLabel"[^}]*"text":"[0-9]*"' out/trace.jsonl | tail -1 | grep -o '[0-9]*"$$' | tr -d '"')"
	@echo "banner: $$(grep -c 'ad_source.php?' out/trace.jsonl) ad request(s), $$(grep -c '"method":"POST","url":"http:\\/\\/ads.pennant.test\\/click' out/trace.jsonl) click(s) sent"

# The app in a window on the real clock, for a person to play with; PLAY_ARGS adds options,
# e.g. PLAY_ARGS="--scenario sim/scenarios/demo.scn --scale 1".
play: build
	@build/bin/kessa --window $(PLAY_ARGS)

# Fuzzes the JSON parser for FUZZ_TIME seconds on a scratch copy of the seed corpus, so new
# inputs never land in the repository. Only the fuzz target is built with clang.
FUZZ_TIME ?= 60
fuzz-smoke: deps
	@cmake -S . -B build-fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang-16 -DCMAKE_CXX_COMPILER=clang++-16 -DFUZZ=ON -DBENCH=OFF >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target json_fuzz
	@rm -rf build-fuzz/corpus/json && mkdir -p build-fuzz/corpus/json
	@cp fuzz/corpus/json/* build-fuzz/corpus/json/
	$(ASAN_ENV) build-fuzz/bin/json_fuzz -max_total_time=$(FUZZ_TIME) -dict=fuzz/json.dict \
	  -artifact_prefix=build-fuzz/ -print_final_stats=1 build-fuzz/corpus/json

# JSON parsing throughput against the peer parsers, with ratios and allocation counts; then
# one plain ad from request to load against the loopback ad server: wall and CPU time per ad,
# and the memory a thousand ads leave behind; then Kessa's screen composited while the banner
# flips, and one banner redraw, each with its parts.
bench: deps
	@cmake -S . -B build $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DBENCH=ON >/dev/null
	@cmake --build build -j $(JOBS) --target json_bench ad_bench banner_bench flex_bench media_bench
	build/bin/json_bench
	build/bin/ad_bench
	build/bin/banner_bench
	build/bin/flex_bench
	build/bin/media_bench

# An hour of Kessa's app time on the virtual clock, the banner refreshing every 31 s and tapped
# every 5 minutes: real time taken, and whether the app's memory grows from minute 10 to 60.
soak: deps
	@cmake -S . -B build $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DBENCH=ON >/dev/null
	@cmake --build build -j $(JOBS) --target banner_soak
	build/bin/banner_soak

clean:
	rm -rf build build-asan build-tsan build-fuzz out
