#!/usr/bin/env bash
# Builds everything and runs the whole test suite: once optimised, once under
# AddressSanitizer and UndefinedBehaviorSanitizer. Editor tests get an X server from Xvfb.
# Then the VST 3 host tests under valgrind's memcheck and each fuzzer for a short time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup-debian.sh"
jobs=$(nproc)

run_ctest() {
  local dir=$1
  (cd "$dir" && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j"$jobs" --timeout 900)
}

echo "== Release build and tests"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$root/build" -j"$jobs"
run_ctest "$root/build"

echo "== Sanitizer build and tests"
cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWICK_SANITIZE=ON \
  -DTARNWICK_BUILD_BENCH=OFF -DTARNWICK_BUILD_JUCE_HOST=OFF
cmake --build "$root/build-asan" -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest "$root/build-asan"

echo "== VST 3 host tests under valgrind memcheck"
# The optimised build's host tests (the in-process host kit and the bundle as a DAW loads it).
for t in tests/host/tarnwick_hostkit_tests tests/host/tarnwick_bundle_tests; do
  (cd "$root/build/tests/host" && valgrind --tool=memcheck --error-exitcode=1 --leak-check=full \
    --errors-for-leak-kinds=definite --show-leak-kinds=definite -q "$root/build/$t" --gtest_brief=1)
done

echo "== Fuzzers, ${FUZZ_SECONDS:-30} s each"
FUZZ_BUILD_DIR="$root/build-fuzz" FUZZ_JOBS="$jobs" bash "$root/scripts/fuzz.sh" "${FUZZ_SECONDS:-30}"
