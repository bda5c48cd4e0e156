# The body-file fuzz target: a separate clang build with libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer, optimised (-O2 -g): an
# unoptimised build tries a fraction of the inputs in the same time.
#   make fuzz         fuzzes for FUZZ_SECONDS (default 300), growing build/fuzz/corpus
#   make fuzz-smoke   replays the seed corpus, then at most 50 s of new inputs
FUZZ_BUILD ?= build/fuzz
FUZZ_SECONDS ?= 300
FUZZ_JOBS ?= 2
FUZZ_TARGET := $(FUZZ_BUILD)/tools/fuzz/body_file_fuzz
FUZZ_SEEDS := tools/fuzz/corpus
# Inputs of up to 1 KB hold every chunk with records enough to reach all of the
# loader, at a fraction of the cost of larger ones. The plain power schedule
# (-entropic=0) saves a fifth of each input's cost on a target this small. A
# small quarantine keeps AddressSanitizer from touching fresh memory for every
# allocation, and short allocation stacks keep it from unwinding deeply for
# each; rerun a finding without FUZZ_ASAN for full stacks. Findings go to an
# absolute path: a crash inside a loader happens in the directory the loader
# changed to.
FUZZ_FLAGS := -max_len=1024 -entropic=0 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
FUZZ_ASAN := ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=16:malloc_context_size=2

.PHONY: fuzz fuzz-smoke fuzz-build

$(FUZZ_BUILD)/CMakeCache.txt:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DMORVEL_FUZZ=ON -DMORVEL_SANITIZE=ON -DMORVEL_TESTS=OFF -DMORVEL_BENCH=OFF \
	  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link

fuzz-build: $(FUZZ_BUILD)/CMakeCache.txt
	cmake --build $(FUZZ_BUILD) -j $(FUZZ_JOBS) --target body_file_fuzz

fuzz: fuzz-build
	mkdir -p $(FUZZ_BUILD)/corpus $(FUZZ_BUILD)/findings
	$(FUZZ_ASAN) ./$(FUZZ_TARGET) -max_total_time=$(FUZZ_SECONDS) $(FUZZ_FLAGS) \
	  -artifact_prefix=$(abspath $(FUZZ_BUILD))/findings/ $(FUZZ_BUILD)/corpus $(FUZZ_SEEDS)

fuzz-smoke: fuzz-build
	rm -rf $(FUZZ_BUILD)/smoke && mkdir -p $(FUZZ_BUILD)/smoke $(FUZZ_BUILD)/findings
	$(FUZZ_ASAN) ./$(FUZZ_TARGET) -seed=1 -runs=200000 -max_total_time=50 $(FUZZ_FLAGS) \
	  -artifact_prefix=$(abspath $(FUZZ_BUILD))/findings/ $(FUZZ_BUILD)/smoke $(FUZZ_SEEDS)
