#!/bin/sh
# Builds the card reader's libFuzzer target with clang (ASan + UBSan) and runs
# it from the byte-built seed corpus.
#   run_fuzz.sh SOURCE_DIR WORK_DIR SEED_TOOL SECONDS [libFuzzer options...]
set -eu
src=$1 work=$2 seeds=$3 seconds=$4
shift 4
CXX=${NIVRA_FUZZ_CXX:-clang++}
mkdir -p "$work/corpus" "$work/seeds" "$work/artifacts"
"$seeds" "$work/seeds"
# The card reader and the codec library it reads audio headers with.
sources=$(ls "$src"/storage/*.cpp "$src"/codec/*.cpp | grep -v '_win\.cpp$')
# shellcheck disable=SC2086
"$CXX" -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$src" $sources "$src/tests/storage/fuzz/fuzz_card.cpp" -o "$work/fuzz_card"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
exec "$work/fuzz_card" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1 "$@" "$work/corpus" "$work/seeds" 2>&1
