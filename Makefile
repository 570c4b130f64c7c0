# Virelux: the two everyday commands are `make run` and `make test`.
BUILD   ?= build
JOBS    ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps configure build run test sanitize tsan bench fuzz clean

all: build

deps:
	@tools/install-deps

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The show ends with the status of the message that ended its loop: 412 after a
# close, which a shell sees as 156. That is a normal end, not an error.
run: build
	@cd $(BUILD)/virelux && ./virelux; status=$$?; \
	  if [ $$status -ne 0 ] && [ $$status -ne 156 ]; then echo "virelux exited with $$status"; exit $$status; fi

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 180

# AddressSanitizer + UndefinedBehaviorSanitizer over the whole suite. Leaks of the system
# libraries (Mesa, SDL, X11) are suppressed by tests/sanitizer.supp.
SANITIZER_ENV = LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer.supp:print_suppressions=0 \
                ASAN_OPTIONS=detect_leaks=1 \
                UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

sanitize: deps
	@cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVLX_SANITIZE=address >/dev/null
	@cmake --build build-asan -j $(JOBS)
	@cd build-asan && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS) --timeout 300

# ThreadSanitizer over the suite. Races it reports inside PulseAudio's uninstrumented client
# library are suppressed by tests/tsan.supp.
tsan: deps
	@cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DVLX_SANITIZE=thread >/dev/null
	@cmake --build build-tsan -j $(JOBS)
	@cd build-tsan && TSAN_OPTIONS=second_deadlock_stack=1:suppressions=$(CURDIR)/tests/tsan.supp ctest --output-on-failure -j $(JOBS) --timeout 300

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

# libFuzzer in a clang tree of its own (build-fuzz), run for FUZZ_SECONDS under a 3 GB memory
# limit. FUZZ_TARGET picks what is fuzzed: xfile (the default) the .x loader, seeded from the
# model corpus; script the scene script reader, seeded from fuzz/script_seeds with the tags as
# a dictionary. Inputs it keeps and any crash, leak, timeout or out-of-memory input it finds
# stay in FUZZ_WORK (build-fuzz/fuzz-work, or build-fuzz/fuzz-work-script); the log ends with
# the run's statistics.
FUZZ_SECONDS ?= 600
FUZZ_TARGET ?= xfile
ifeq ($(FUZZ_TARGET),script)
FUZZ_BINARY = fuzz_scene_script
FUZZ_WORK = build-fuzz/fuzz-work-script
FUZZ_SEEDS = fuzz/script_seeds
FUZZ_EXTRA = -dict=fuzz/scene_script.dict
else ifeq ($(FUZZ_TARGET),xfile)
FUZZ_BINARY = fuzz_xfile_load
FUZZ_WORK = build-fuzz/fuzz-work
FUZZ_SEEDS = ../shared/corpus/x
FUZZ_EXTRA =
else
$(error FUZZ_TARGET is xfile or script)
endif
fuzz: deps
	@cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVLX_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target $(FUZZ_BINARY)
	@mkdir -p $(FUZZ_WORK)/corpus $(FUZZ_WORK)/artifacts
	@if [ -d $(FUZZ_SEEDS) ]; then cp -n $(FUZZ_SEEDS)/* $(FUZZ_WORK)/corpus/; fi
	build-fuzz/fuzz/$(FUZZ_BINARY) $(FUZZ_WORK)/corpus $(FUZZ_EXTRA) -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=3072 \
	  -timeout=60 -print_final_stats=1 -artifact_prefix=$(FUZZ_WORK)/artifacts/

clean:
	rm -rf $(BUILD) build-asan build-tsan build-fuzz
