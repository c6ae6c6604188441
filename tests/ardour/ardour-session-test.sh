#!/usr/bin/env bash
# Tarnwick in Debian's Ardour, headless: scan, build a session, bounce, save, reload, bounce
# again; parameters, program and audio must come back (session.lua does the Ardour side,
# the compare tool the audio). The session runs at 90 BPM, and its synced tracks' first echo must
# land where the tempo puts "1/8D" (500 ms), before saving and after reloading.
#   ardour-session-test.sh VST3|LXVST|LV2 BUNDLE SCRATCH_DIR COMPARE_TOOL [REFERENCE_BOUNCES]
# BUNDLE is Tarnwick.vst3 (VST3, LXVST) or Tarnwick.lv2 (LV2). With REFERENCE_BOUNCES (the
# bounces.txt of another format's run) the bounce before saving must also equal that format's.
# Everything Ardour writes (configuration, plug-in cache, session) stays in SCRATCH_DIR.
set -euo pipefail
format=$1
bundle=$2
scratch=$3
compare=$4
reference=${5:-}
here=$(cd "$(dirname "$0")" && pwd)

rm -rf "$scratch"
mkdir -p "$scratch/config/ardour7/scripts" "$scratch/cache" "$scratch/plugins"
export XDG_CONFIG_HOME=$scratch/config XDG_CACHE_HOME=$scratch/cache
printf '<Ardour><Config><Option name="hide-dummy-backend" value="0"/></Config></Ardour>\n' \
  > "$XDG_CONFIG_HOME/ardour7/config"
cp "$here/TarnwickTestSource.lua" "$here/TarnwickMidiLane.lua" "$XDG_CONFIG_HOME/ardour7/scripts/"

# Only our plug-in on the search path; the scanner runs on every test, as the build may be new.
case $format in
  VST3)
    ln -s "$bundle" "$scratch/plugins/Tarnwick.vst3"
    export VST3_PATH=$scratch/plugins
    LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst3-scanner -f "$scratch/plugins/Tarnwick.vst3"
    ;;
  LXVST)
    ln -s "$bundle/Contents/x86_64-linux/Tarnwick.so" "$scratch/plugins/Tarnwick.so"
    export LXVST_PATH=$scratch/plugins
    LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst-scanner -f "$scratch/plugins/Tarnwick.so"
    # The VST 3 face too: its titles are what the VST 2 parameters must be labelled.
    mkdir -p "$scratch/vst3"
    ln -s "$bundle" "$scratch/vst3/Tarnwick.vst3"
    export VST3_PATH=$scratch/vst3
    LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst3-scanner -f "$scratch/vst3/Tarnwick.vst3"
    ;;
  LV2)
    # Ardour finds LV2 bundles itself, through lilv, when the session starts.
    ln -s "$bundle" "$scratch/plugins/Tarnwick.lv2"
    export LV2_PATH=$scratch/plugins
    ;;
  *)
    echo "format must be VST3, LXVST or LV2" >&2
    exit 2
    ;;
esac

export TARNWICK_FORMAT=$format TARNWICK_SESSION_DIR=$scratch/session TARNWICK_FILES=$scratch/bounces.txt
TARNWICK_PHASE=create timeout 120 ardour7-lua "$here/session.lua"
# The audio is compared even when a check of the reloaded session failed.
status=0
TARNWICK_PHASE=reload timeout 120 ardour7-lua "$here/session.lua" || status=1

# Each channel: the bounce after the reload equals the one before, and differs from the dry one.
file_of() { awk -v tag="$1" -v c="$2" '$1 == tag && $2 == c { sub(/^[^ ]+ [^ ]+ /, ""); print }' "${3:-$scratch/bounces.txt}"; }
for channel in 0 1; do
  "$compare" "$(file_of dry $channel)" "$(file_of before $channel)" "$(file_of after $channel)" || status=1
  if [ -n "$reference" ]; then
    "$compare" "$(file_of dry $channel)" "$(file_of before $channel)" "$(file_of before $channel "$reference")" || status=1
  fi
done

# Ardour 7.3 hands the VST 3 and VST 2 plug-in its tempo on any track. An LV2 input that takes
# MIDI gets time:Position only when MIDI is routed to it, so the LV2 plug-in has an input for time
# positions alone: on a plain audio track and on one carrying MIDI it hears 90 BPM.
# Each synced track, as TAG:FRAME of its first echo.
case $format in
  LV2) synced="Synced:24000 Synced-MIDI:24000" ;;
  *) synced="Synced:24000" ;;
esac
for pair in $synced; do
  tag=${pair%:*} echo_at=${pair#*:}
  for channel in 0 1; do
    "$compare" "$(file_of "$tag-dry" $channel)" "$(file_of "$tag-before" $channel)" "$(file_of "$tag-after" $channel)" || status=1
    "$compare" --echo-at $echo_at "$(file_of "$tag-before" $channel)" "$(file_of "$tag-after" $channel)" || status=1
  done
done
exit $status
