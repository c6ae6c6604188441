#!/usr/bin/env bash
# Runs Steinberg's VST 3 validator in extended mode on the built bundle.
# The validator is not packaged in Debian: build it from the VST 3 SDK outside this
# repository and name the binary in VST3_VALIDATOR. Without it this script skips.
#   VST3_VALIDATOR=/path/to/validator scripts/validate.sh [BUNDLE.vst3]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bundle=${1:-$root/build/Tarnwick.vst3}

if [ -z "${VST3_VALIDATOR:-}" ]; then
  echo "validate: skipped (set VST3_VALIDATOR to the validator binary)"
  exit 0
fi
if [ ! -x "$VST3_VALIDATOR" ]; then
  echo "validate: VST3_VALIDATOR=$VST3_VALIDATOR is not an executable file" >&2
  exit 2
fi
if [ ! -d "$bundle" ]; then
  echo "validate: no bundle at $bundle (build it first: cmake --build build --target Tarnwick)" >&2
  exit 2
fi

log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
"$VST3_VALIDATOR" -e "$bundle" > "$log" 2>&1 || status=$?
grep -F -e "Failed]" "$log" || true
result=$(grep -E "^Result: [0-9]+ tests passed, [0-9]+ tests failed" "$log" | tail -n 1 || true)
if [ -z "$result" ]; then
  cat "$log"
  echo "validate: the validator printed no result (exit status $status)" >&2
  exit 1
fi
echo "validate: $result"
if [ "$status" -ne 0 ] || ! grep -q ", 0 tests failed" <<< "$result"; then
  echo "validate: see the full output with: $VST3_VALIDATOR -e $bundle" >&2
  exit 1
fi
