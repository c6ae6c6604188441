#!/usr/bin/env bash
# Builds Tarnwick's release packages into dist/:
#   tarnwick_<version>_amd64.deb            the plug-ins in /usr/lib/{vst3,vst,lv2}, the renderers
#                                           in /usr/bin, manual pages, README, changelog, copyright
#   tarnwick-dbgsym_<version>_amd64.ddeb    the debug information stripped from its binaries
#   tarnwick-<version>-linux-x86_64.tar.gz  the same files with install.sh (user or system folders)
#   tarnwick-<version>-linux-x86_64-debug.tar.gz  the debug information for the tarball's binaries
# The .deb comes from cpack (install rules of the build tree, dependencies by dpkg-shlibdeps); the
# tarball is the .deb's stripped files, so one set of debug files serves both.
#   scripts/package.sh                   a clean build in build-package/ (Release with debug
#                                        information, no tests), then the packages
#   scripts/package.sh --build-dir DIR   package a tree already built (the tests do so)
#   --out DIR                            put the packages into DIR instead of dist/
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=""
out="$root/dist"
while [ $# -gt 0 ]; do
  case $1 in
    --build-dir) build_dir=$(cd "$2" && pwd); shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) echo "usage: $0 [--build-dir DIR] [--out DIR]" >&2; exit 2 ;;
  esac
done

if [ -z "$build_dir" ]; then
  bash "$root/scripts/setup-debian.sh"
  if [ -n "$(git -C "$root" status --porcelain 2>/dev/null)" ]; then
    echo "package: warning: the work tree has uncommitted changes; they go into the packages" >&2
  fi
  build_dir=$root/build-package
  rm -rf "$build_dir"
  # -g only adds debug information (the code is the Release build's); cpack strips it off into
  # the -dbgsym package.
  cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS=-g -DCMAKE_CXX_FLAGS=-g \
    -DTARNWICK_BUILD_TESTS=OFF -DTARNWICK_BUILD_BENCH=OFF -DTARNWICK_BUILD_JUCE_HOST=OFF
  cmake --build "$build_dir" -j"$(nproc)"
fi

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build_dir/CPackConfig.cmake")
[ -n "$version" ] || { echo "package: no CPackConfig.cmake in $build_dir" >&2; exit 1; }
deb=tarnwick_${version}_amd64.deb
ddeb=tarnwick-dbgsym_${version}_amd64.ddeb
name=tarnwick-$version-linux-x86_64

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
(cd "$build_dir" && cpack --config CPackConfig.cmake -B "$stage/cpack" > "$stage/cpack.log") ||
  { cat "$stage/cpack.log" >&2; exit 1; }
mkdir -p "$out"
cp "$stage/cpack/$deb" "$stage/cpack/$ddeb" "$out/"

# The tarball: the .deb's /usr tree (bin, lib/{vst3,vst,lv2}, share/man), README and CHANGELOG
# at the top, install.sh beside them.
dpkg-deb -x "$out/$deb" "$stage/deb"
mkdir "$stage/$name"
mv "$stage/deb/usr/bin" "$stage/deb/usr/lib" "$stage/$name/"
mkdir -p "$stage/$name/share"
mv "$stage/deb/usr/share/man" "$stage/$name/share/"
cp "$root/README.md" "$root/CHANGELOG.md" "$stage/$name/"
install -m 755 "$root/packaging/install.sh" "$stage/$name/install.sh"
tar -C "$stage" --owner=0 --group=0 --sort=name -czf "$out/$name.tar.gz" "$name"

dpkg-deb -x "$out/$ddeb" "$stage/dbgsym"
tar -C "$stage/dbgsym/usr/lib" --owner=0 --group=0 --sort=name -czf "$out/$name-debug.tar.gz" debug

echo "package: wrote into $out:"
(cd "$out" && ls -l "$deb" "$ddeb" "$name.tar.gz" "$name-debug.tar.gz")
