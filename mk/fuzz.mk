# The body-file fuzz target: a separate clang build with libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer.
#   make fuzz         fuzzes for FUZZ_SECONDS (default 300), growing build/fuzz/corpus
#   make fuzz-smoke   replays the seed corpus, then at most 50 s of new inputs
FUZZ_BUILD ?= build/fuzz
FUZZ_SECONDS ?= 300
FUZZ_JOBS ?= 2
FUZZ_TARGET := $(FUZZ_BUILD)/tools/fuzz/body_file_fuzz
FUZZ_SEEDS := tools/fuzz/corpus

.PHONY: fuzz fuzz-smoke fuzz-build

$(FUZZ_BUILD)/CMakeCache.txt:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=Debug \
	  -DMORVEL_FUZZ=ON -DMORVEL_SANITIZE=ON -DMORVEL_TESTS=OFF -DMORVEL_BENCH=OFF \
	  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link

fuzz-build: $(FUZZ_BUILD)/CMakeCache.txt
	cmake --build $(FUZZ_BUILD) -j $(FUZZ_JOBS) --target body_file_fuzz

fuzz: fuzz-build
	mkdir -p $(FUZZ_BUILD)/corpus $(FUZZ_BUILD)/findings
	ASAN_OPTIONS=detect_leaks=1 ./$(FUZZ_TARGET) -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
	  -rss_limit_mb=2048 -artifact_prefix=$(FUZZ_BUILD)/findings/ -print_final_stats=1 \
	  $(FUZZ_BUILD)/corpus $(FUZZ_SEEDS)

fuzz-smoke: fuzz-build
	rm -rf $(FUZZ_BUILD)/smoke && mkdir -p $(FUZZ_BUILD)/smoke $(FUZZ_BUILD)/findings
	ASAN_OPTIONS=detect_leaks=1 ./$(FUZZ_TARGET) -seed=1 -runs=200000 -max_total_time=50 \
	  -timeout=10 -rss_limit_mb=2048 -artifact_prefix=$(FUZZ_BUILD)/findings/ \
	  -print_final_stats=1 $(FUZZ_BUILD)/smoke $(FUZZ_SEEDS)
