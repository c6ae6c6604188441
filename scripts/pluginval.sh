#!/usr/bin/env bash
# Runs Tracktion's pluginval at strictness 10 on the built VST 3 and LV2 bundles.
# pluginval is not packaged in Debian: build it from its public source outside this
# repository and name the binary in PLUGINVAL. Without it this script skips.
#   PLUGINVAL=/path/to/pluginval scripts/pluginval.sh [BUNDLE.vst3|BUNDLE.lv2 ...] [-- OPTIONS]
# OPTIONS (e.g. --random-seed 0x2, --disabled-tests FILE, --verbose) go to every run.
# The VST 3 bundle runs five times in random orders, which finds state leaking from one
# test into the next. The LV2 bundle runs in the default order: JUCE's LV2 host saves
# control ports only as they stood at its last processBlock, so "Fuzz parameters" right
# before "Plugin state restoration" fails for any LV2 plug-in.
# PLUGINVAL_VST3_OPTIONS and PLUGINVAL_LV2_OPTIONS replace those defaults.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

bundles=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  bundles+=("$1")
  shift
done
[ "${1:-}" = "--" ] && shift
[ ${#bundles[@]} -gt 0 ] || bundles=("$root/build/Tarnwick.vst3" "$root/build/Tarnwick.lv2")

if [ -z "${PLUGINVAL:-}" ]; then
  echo "pluginval: skipped (set PLUGINVAL to the pluginval binary)"
  exit 0
fi
if [ ! -x "$PLUGINVAL" ]; then
  echo "pluginval: PLUGINVAL=$PLUGINVAL is not an executable file" >&2
  exit 2
fi
for bundle in "${bundles[@]}"; do
  if [ ! -d "$bundle" ]; then
    echo "pluginval: no bundle at $bundle (build it first: cmake --build build --target Tarnwick TarnwickLv2)" >&2
    exit 2
  fi
done

# pluginval and JUCE keep settings under HOME and the XDG folders: give them scratch ones.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache" \
  XDG_DATA_HOME="$scratch/data"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME"

status=0
for bundle in "${bundles[@]}"; do
  case "$bundle" in
    *.lv2 | *.lv2/) read -r -a options <<< "${PLUGINVAL_LV2_OPTIONS:---strictness-level 10}" ;;
    *) read -r -a options <<< "${PLUGINVAL_VST3_OPTIONS:---strictness-level 10 --repeat 5 --randomise}" ;;
  esac
  name=$(basename "$bundle")
  log=$(mktemp "${TMPDIR:-/tmp}/pluginval-$name.XXXXXX.log")
  echo "pluginval: $name: ${options[*]} $*"
  run=0
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$PLUGINVAL" "${options[@]}" "$@" --output-dir "$scratch" --validate "$bundle" > "$log" 2>&1 || run=$?
  # JUCE's test runner prints "Starting tests in: pluginval / NAME..." before each test and
  # "!!! Test N failed: MESSAGE" for each failed check.
  awk -v name="$name" '
    /^Random seed: / { print "pluginval: " name ": " $0 }
    /^Starting tests in: / { test = $0; sub(/^Starting tests in: (pluginval \/ )?/, "", test); sub(/\.\.\.$/, "", test) }
    /^!!! / { print "pluginval: " name ": " (test != "" ? test ": " : "") substr($0, 5) }
    /^\*\*\* FAILED/ { print "pluginval: " name ": " $0 }' "$log"
  if [ "$run" -eq 0 ] && grep -q "^SUCCESS" "$log"; then
    echo "pluginval: $name: passed"
    rm -f "$log"
  else
    # No failed check at all: a crash or a time-out, whose last lines tell where.
    grep -q "^!!! " "$log" || tail -n 20 "$log"
    echo "pluginval: $name: failed (exit status $run); full output in $log" >&2
    status=1
  fi
done
exit "$status"
