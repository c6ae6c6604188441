#!/usr/bin/env bash
# The built Tarnwick.lv2 through Debian's LV2 tools: its Turtle is valid against the LV2
# schemas (sord_validate), and lv2info lists the ports, ranges, scale points and presets.
set -euo pipefail
bundle=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The LV2 schema bundles (lv2-dev) by name: plug-ins that other packages install beside them
# have their own Turtle, which is not ours to judge.
schemas=()
for name in schemas core atom buf-size data-access dynmanifest event instance-access log midi morph \
            options parameters patch port-groups port-props presets resize-port state time ui units \
            uri-map urid worker; do
  [ -d "/usr/lib/lv2/$name.lv2" ] || { echo "LV2 schema bundle $name.lv2 missing (lv2-dev)"; exit 1; }
  schemas+=("/usr/lib/lv2/$name.lv2"/*.ttl)
done
sord_validate "${schemas[@]}" "$bundle"/*.ttl > "$scratch/validate.txt" 2>&1 || true
grep -q "Found 0 errors" "$scratch/validate.txt" || { cat "$scratch/validate.txt"; exit 1; }

mkdir "$scratch/path"
ln -s "$(cd "$bundle" && pwd)" "$scratch/path/Tarnwick.lv2"
LV2_PATH=$scratch/path lv2info https://tarnwick.audio/lv2/tarnwick > "$scratch/info.txt"
fail=0
expect() {
  grep -q -- "$1" "$scratch/info.txt" || { echo "lv2info does not show: $1"; fail=1; }
}
expect "Name: *Tarnwick"
expect "Has latency: *no"
for preset in "Factory Preset" "Heavy" "Hollow Ring" "Banking" "Beats as Bass" "Crude Verb" "Some Space" \
              "Padding for Pads" "Good on Atmos" "Pipes" "Automate Me"; do
  expect "^	 *$preset\$"
done
# Symbol, then name, range and default of each control, in port order.
awk '/Symbol:/{s=$2} /Minimum:/{mn=$2} /Maximum:/{mx=$2} /Default:/{print s, mn, mx, $2}' \
  "$scratch/info.txt" > "$scratch/ranges.txt"
cat > "$scratch/expected.txt" <<'RANGES'
delay 0.000000 2000.000000 0.000000
feedback 0.000000 100.000000 0.000000
cutoff 100.000000 16000.000000 16000.000000
resonance 0.500000 10.000000 0.500000
delay_ratio 1.000000 20.000000 1.000000
offset 0.000000 1.000000 0.000000
wet_dry 0.000000 100.000000 50.000000
volume 0.000000 1.000000 0.700000
delay_state 0.000000 1.000000 0.000000
active 0.000000 1.000000 0.000000
enabled 0.000000 1.000000 1.000000
sync 0.000000 1.000000 0.000000
note 0.000000 20.000000 12.000000
RANGES
diff "$scratch/expected.txt" "$scratch/ranges.txt" || fail=1
for point in "0.0 = \"Comb\"" "1.0 = \"Delay\"" "0.0 = \"On\"" "1.0 = \"Off\"" "12.0 = \"1/4\"" "20.0 = \"2/1\""; do
  expect "$point"
done
expect "http://lv2plug.in/ns/lv2core#enabled"
expect "Symbol: *midi_in"
expect "Symbol: *time_in"
# The time input takes the host's time positions (the tempo). Through a file: under pipefail
# `sordi | grep -q` fails whenever grep stops reading before sordi has written everything.
sordi "$bundle/tarnwick.ttl" > "$scratch/triples.nt"
grep -q 'atom#supports> <http://lv2plug.in/ns/ext/time#Position>' "$scratch/triples.nt" ||
  { echo "no input declares time:Position"; fail=1; }
[ $fail -eq 0 ] || { cat "$scratch/info.txt"; exit 1; }
echo "lv2 tools: bundle valid, ports, ranges, scale points and presets listed"
