#!/usr/bin/env bash
# Builds the plug-in bundle and renders the built-in demo through it with every
# factory preset, into out/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup-debian.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release
# Only what the render needs: the bundle and the renderer (scripts/test.sh builds everything).
cmake --build "$root/build" -j"$(nproc)" --target Tarnwick tarnwick-render
mkdir -p "$root/out"
"$root/build/tools/tarnwick-render" --bundle "$root/build/Tarnwick.vst3" --all-presets --out-dir "$root/out"
