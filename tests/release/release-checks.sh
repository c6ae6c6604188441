#!/usr/bin/env bash
# Checks of a Tarnwick release (see CMakeLists.txt):
#   versions PROBE VST3_BUNDLE VST2_MODULE LV2_BUNDLE RENDER RENDER_LV2   every version hosts read
#   symbols BINARY...                          the oldest glibc / libstdc++ the binaries need
#   packages PROBE SOURCE BUILD DIST SCRATCH   package.sh from BUILD into DIST, lintian, tarball
#   deb-install PROBE DIST SCRATCH             dpkg -i, found in the system folders, dpkg -r
set -euo pipefail

version=1.1.0
uri=https://tarnwick.audio/lv2/tarnwick
fail() { echo "FAIL: $*" >&2; exit 1; }

# The versions and maker a host reads, from the copies given.
check_versions() {
  local probe=$1 vst3=$2 vst2=$3 lv2=$4 render=$5 render_lv2=$6 got
  got=$("$probe" "$vst3" "$vst2" "$lv2") || fail "version probe: $got"
  # LV2: even minor and micro numbers (100 * major + 2 * minor, 2 * patch), the release as is.
  local expected="vst3.class.version $version.0
vst3.factory.vendor Vanter Moor
vst3.moduleinfo.version $version.0
vst3.moduleinfo.vendor Vanter Moor
vst2.vendor.version 1100
vst2.vendor Vanter Moor
lv2.version 102.0
lv2.release $version
lv2.maintainer Vanter Moor"
  [ "$got" = "$expected" ] || fail "versions read from $vst3, $vst2, $lv2:"$'\n'"$(diff <(echo "$expected") <(echo "$got"))"
  [ "$("$render" --version)" = "tarnwick-render $version" ] || fail "$render --version: $("$render" --version)"
  [ "$("$render_lv2" --version)" = "tarnwick-render-lv2 $version" ] || fail "$render_lv2 --version"
}

# Debian 12 and Ubuntu 22.04 ship glibc 2.36 / 2.35 and libstdc++ 3.4.30; what the binaries ask
# for must stay at or below GLIBC 2.34 and GLIBCXX 3.4.29 (both reached by Ubuntu 22.04).
check_symbols() {
  local binary newest
  for binary in "$@"; do
    for pair in GLIBC:2.34 GLIBCXX:3.4.29; do
      newest=$(objdump -T "$binary" | grep -o "${pair%%:*}_[0-9.]*" | sed 's/^[A-Z]*_//' | sort -V | tail -1)
      [ -n "$newest" ] || continue
      [ "$(printf '%s\n%s\n' "$newest" "${pair#*:}" | sort -V | tail -1)" = "${pair#*:}" ] ||
        fail "$binary needs ${pair%%:*}_$newest, newer than ${pair%%:*}_${pair#*:}"
      echo "$(basename "$binary"): ${pair%%:*}_$newest"
    done
  done
}

# Ardour's scanners index the plug-ins (scratch cache and configuration folders, no search path).
check_ardour_scan() {
  local vst3=$1 vst2=$2 scratch=$3 count=0 scanner plugin
  [ -x /usr/lib/ardour7/ardour-vst3-scanner ] || { echo "no Ardour scanners: scan not checked"; return 0; }
  rm -rf "$scratch/xdg"
  mkdir -p "$scratch/xdg/cache" "$scratch/xdg/config"
  for pair in "ardour-vst3-scanner:$vst3" "ardour-vst-scanner:$vst2"; do
    scanner=${pair%%:*} plugin=${pair#*:}
    env -u VST3_PATH -u LXVST_PATH XDG_CACHE_HOME="$scratch/xdg/cache" XDG_CONFIG_HOME="$scratch/xdg/config" \
      LD_LIBRARY_PATH=/usr/lib/ardour7 "/usr/lib/ardour7/$scanner" -q -f "$plugin" || fail "$scanner refused $plugin"
    count=$((count + 1))
    [ "$(grep -rls TarnwickFreex86 "$scratch/xdg/cache" | wc -l)" -ge $count ] ||
      fail "$scanner indexed no TarnwickFreex86 from $plugin"
  done
}

# The files a package holds: stripped binaries, the layout the hosts look in.
check_stripped() {
  local binary
  for binary in "$@"; do
    [[ $(file -L "$binary") == *ELF*", stripped"* ]] || fail "not stripped: $binary"
  done
}

packages() {
  local probe=$1 source=$2 build=$3 dist=$4 scratch=$5
  rm -rf "$dist" "$scratch"
  mkdir -p "$scratch"
  bash "$source/scripts/package.sh" --build-dir "$build" --out "$dist"
  local deb=$dist/tarnwick_${version}_amd64.deb name=tarnwick-$version-linux-x86_64
  for f in "$deb" "$dist/tarnwick-dbgsym_${version}_amd64.ddeb" "$dist/$name.tar.gz" "$dist/$name-debug.tar.gz"; do
    [ -s "$f" ] || fail "package.sh wrote no $f"
  done

  # Debian's own checks: no errors; warnings shown.
  lintian --tag-display-limit 0 "$deb" > "$scratch/lintian.txt" 2>&1 || true
  cat "$scratch/lintian.txt"
  ! grep -q "^E:" "$scratch/lintian.txt" || fail "lintian reports errors"

  # The layout, dependencies and debug information.
  dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' > "$scratch/contents.txt"
  for path in /usr/lib/vst3/Tarnwick.vst3/Contents/x86_64-linux/Tarnwick.so \
              /usr/lib/vst3/Tarnwick.vst3/Contents/Resources/moduleinfo.json /usr/lib/vst/Tarnwick.so \
              /usr/lib/lv2/Tarnwick.lv2/manifest.ttl /usr/lib/lv2/Tarnwick.lv2/Tarnwick.so \
              /usr/bin/tarnwick-render /usr/bin/tarnwick-render-lv2 /usr/share/man/man1/tarnwick-render.1.gz \
              /usr/share/doc/tarnwick/README.md /usr/share/doc/tarnwick/changelog.gz /usr/share/doc/tarnwick/copyright; do
    grep -qx "$path" "$scratch/contents.txt" || fail "the .deb lacks $path"
  done
  dpkg-deb -f "$deb" Depends | grep -q "libc6 (>=" || fail "no libc6 dependency computed: $(dpkg-deb -f "$deb" Depends)"
  echo "Depends: $(dpkg-deb -f "$deb" Depends)"
  tar -tzf "$dist/$name-debug.tar.gz" > "$scratch/debug.txt"
  grep -q '^debug/.build-id/.*\.debug$' "$scratch/debug.txt" || fail "no debug files in the debug archive"

  # The tarball into a scratch home: the hosts' user folders, found there; --uninstall leaves nothing.
  tar -C "$scratch" -xzf "$dist/$name.tar.gz"
  local tree=$scratch/$name home=$scratch/home
  check_stripped "$tree/lib/vst3/Tarnwick.vst3/Contents/x86_64-linux/Tarnwick.so" "$tree/lib/vst/Tarnwick.so" \
    "$tree/lib/lv2/Tarnwick.lv2/Tarnwick.so" "$tree/bin/tarnwick-render"
  mkdir -p "$home"
  HOME=$home "$tree/install.sh" > /dev/null
  check_versions "$probe" "$home/.vst3/Tarnwick.vst3" "$home/.vst/Tarnwick.so" "$home/.lv2/Tarnwick.lv2" \
    "$home/.local/bin/tarnwick-render" "$home/.local/bin/tarnwick-render-lv2"
  LV2_PATH=$home/.lv2 lv2ls > "$scratch/lv2ls.txt"
  grep -qx "$uri" "$scratch/lv2ls.txt" || fail "lv2ls does not list $uri from ~/.lv2"
  # The renderer installed in ~/.local/bin finds the bundle in ~/.vst3.
  HOME=$home "$home/.local/bin/tarnwick-render" --list > "$scratch/list.txt"
  grep -q "^TarnwickFreex86 $version.0 by Vanter Moor" "$scratch/list.txt" ||
    fail "the installed tarnwick-render does not find ~/.vst3/Tarnwick.vst3"
  check_ardour_scan "$home/.vst3/Tarnwick.vst3" "$home/.vst/Tarnwick.so" "$scratch"
  HOME=$home "$tree/install.sh" --uninstall > /dev/null
  [ -z "$(ls -A "$home")" ] || fail "install.sh --uninstall left: $(cd "$home" && find . -mindepth 1)"
  # --system into a staging root.
  DESTDIR=$scratch/root "$tree/install.sh" --system > /dev/null
  [ -d "$scratch/root/usr/local/lib/vst3/Tarnwick.vst3" ] && [ -f "$scratch/root/usr/local/lib/vst/Tarnwick.so" ] &&
    [ -d "$scratch/root/usr/local/lib/lv2/Tarnwick.lv2" ] && [ -x "$scratch/root/usr/local/bin/tarnwick-render" ] ||
    fail "install.sh --system did not fill /usr/local"
  DESTDIR=$scratch/root "$tree/install.sh" --system --uninstall > /dev/null
  [ -z "$(find "$scratch/root" -type f)" ] || fail "install.sh --system --uninstall left files"
  rm -rf "$scratch"
  echo "packages: lintian without errors, layout, dependencies, debug files; tarball installed, found, removed"
}

deb_install() {
  local probe=$1 dist=$2 scratch=$3
  local deb=$dist/tarnwick_${version}_amd64.deb
  skip() { echo "SKIPPED: $*"; exit 77; }
  [ "$(id -u)" -eq 0 ] || skip "installing the .deb needs root"
  command -v dpkg > /dev/null && dpkg --audit > /dev/null 2>&1 || skip "dpkg is not usable here"
  dpkg-query -W -f='${Status}' tarnwick 2>/dev/null | grep -q "installed" &&
    skip "a tarnwick package is already installed; left alone"
  for path in /usr/lib/vst3/Tarnwick.vst3 /usr/lib/vst/Tarnwick.so /usr/lib/lv2/Tarnwick.lv2 /usr/bin/tarnwick-render; do
    [ ! -e "$path" ] || skip "$path exists outside a package; left alone"
  done
  rm -rf "$scratch"
  mkdir -p "$scratch/home"
  # Whatever happens, the package goes again, out of dpkg's records too.
  trap "dpkg --purge tarnwick > /dev/null 2>&1 || true; rm -rf '$scratch'" EXIT
  dpkg -i "$deb" > "$scratch/dpkg.txt" 2>&1 || { cat "$scratch/dpkg.txt"; fail "dpkg -i failed (missing dependencies?)"; }
  dpkg -L tarnwick > "$scratch/files.txt"

  # Ardour looks in these folders without being told (its built-in default paths).
  local lib=/usr/lib/ardour7/libardour.so.3
  if [ -f "$lib" ]; then
    strings "$lib" > "$scratch/ardour-strings.txt"
    grep -q "/usr/lib/vst3" "$scratch/ardour-strings.txt" || fail "Ardour's VST 3 default path no longer has /usr/lib/vst3"
    grep -q ":/usr/lib/vst:" "$scratch/ardour-strings.txt" || fail "Ardour's LXVST default path no longer has /usr/lib/vst"
  fi
  check_ardour_scan /usr/lib/vst3/Tarnwick.vst3 /usr/lib/vst/Tarnwick.so "$scratch"
  # lilv's default path (a scratch home, so only the system folders count).
  env -u LV2_PATH HOME="$scratch/home" lv2ls > "$scratch/lv2ls.txt"
  grep -qx "$uri" "$scratch/lv2ls.txt" || fail "lv2ls does not list $uri"
  env -u LV2_PATH HOME="$scratch/home" lv2info "$uri" > "$scratch/lv2info.txt"
  grep -q "Bundle: *file:///usr/lib/lv2/Tarnwick.lv2/" "$scratch/lv2info.txt" ||
    fail "lv2info does not find the bundle in /usr/lib/lv2"
  check_versions "$probe" /usr/lib/vst3/Tarnwick.vst3 /usr/lib/vst/Tarnwick.so /usr/lib/lv2/Tarnwick.lv2 \
    /usr/bin/tarnwick-render /usr/bin/tarnwick-render-lv2
  HOME=$scratch/home /usr/bin/tarnwick-render --list > "$scratch/list.txt"
  grep -q "^TarnwickFreex86 $version.0 by Vanter Moor" "$scratch/list.txt" ||
    fail "/usr/bin/tarnwick-render does not find /usr/lib/vst3/Tarnwick.vst3"
  man -w tarnwick-render > /dev/null 2>&1 || [ -f /usr/share/man/man1/tarnwick-render.1.gz ] || fail "no manual page"

  dpkg -r tarnwick > "$scratch/dpkg.txt" 2>&1 || { cat "$scratch/dpkg.txt"; fail "dpkg -r failed"; }
  local left=""
  while read -r path; do
    [ -f "$path" ] || [ -L "$path" ] && left="$left $path"
  done < "$scratch/files.txt"
  for dir in /usr/lib/vst3/Tarnwick.vst3 /usr/lib/lv2/Tarnwick.lv2 /usr/share/doc/tarnwick; do
    [ ! -e "$dir" ] || left="$left $dir"
  done
  [ -z "$left" ] || fail "dpkg -r left:$left"
  dpkg --purge tarnwick > /dev/null
  ! dpkg-query -W tarnwick > /dev/null 2>&1 || fail "dpkg still knows the package after --purge"
  echo "deb: installed, found by Ardour's scanners, lv2ls and lv2info, versions $version, removed without a trace"
}

command=$1
shift
case $command in
  versions) check_versions "$@" ;;
  symbols) check_symbols "$@" ;;
  packages) packages "$@" ;;
  deb-install) deb_install "$@" ;;
  *) fail "unknown check $command" ;;
esac
