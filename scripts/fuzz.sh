#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (coverage, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for a given time, starting from the committed seed corpus in fuzz/corpus/<target>.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]     (default: 60 seconds, every target that was built)
#
# New corpus entries go to <build>/corpus/<target> (the committed seeds stay as they are);
# crashes to <build>/artifacts/<target>/. Exits non-zero on the first finding.
# FUZZ_BUILD_DIR overrides the build folder, FUZZ_JOBS the build parallelism.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
jobs=${FUZZ_JOBS:-$(nproc)}
all_targets=(fuzz_state_stream fuzz_host_sequence fuzz_ui_description)

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTARNWICK_BUILD_FUZZERS=ON -DTARNWICK_BUILD_TESTS=OFF -DTARNWICK_BUILD_BENCH=OFF \
  -DTARNWICK_BUILD_JUCE_HOST=OFF >/dev/null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  available=$(cmake --build "$build" --target help)
  for t in "${all_targets[@]}"; do
    # A target exists only when its dependencies are in the tree (the UI parser is optional).
    if grep -qx "\.\.\. $t" <<<"$available"; then targets+=("$t"); fi
  done
fi

cmake --build "$build" -j"$jobs" --target "${targets[@]}"

for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  artifacts="$build/artifacts/$t/"
  mkdir -p "$corpus" "$artifacts" "$root/fuzz/corpus/$t"
  echo "== $t for ${seconds}s"
  ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$build/fuzz/$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -max_len=8192 \
    -print_final_stats=1 -artifact_prefix="$artifacts" "$corpus" "$root/fuzz/corpus/$t"
done
