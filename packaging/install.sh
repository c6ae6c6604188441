#!/bin/sh
# Installs Tarnwick from this folder where hosts look for plug-ins without being told.
#   ./install.sh                  your own folders: ~/.vst3, ~/.vst, ~/.lv2; the renderers into
#                                 ~/.local/bin, their manual pages into ~/.local/share/man
#   ./install.sh --system         the system's: /usr/local/lib/vst3, /usr/local/lib/vst,
#                                 /usr/local/lib/lv2, /usr/local/bin, /usr/local/share/man (as root)
#   ./install.sh --uninstall [--system]   removes what the same install put there
# DESTDIR, if set, is put in front of the system folders (for staging).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
system=0
uninstall=0
for arg in "$@"; do
  case $arg in
    --system) system=1 ;;
    --uninstall) uninstall=1 ;;
    -h|--help) sed -n '2,8s/^# \{0,1\}//p' "$0"; exit 0 ;;
    *) echo "install.sh: unknown option $arg (see --help)" >&2; exit 2 ;;
  esac
done

if [ $system -eq 1 ]; then
  base=${DESTDIR:-}/usr/local
  vst3=$base/lib/vst3 vst=$base/lib/vst lv2=$base/lib/lv2 bin=$base/bin man=$base/share/man/man1
else
  [ -n "${HOME:-}" ] || { echo "install.sh: HOME is not set" >&2; exit 1; }
  vst3=$HOME/.vst3 vst=$HOME/.vst lv2=$HOME/.lv2 bin=$HOME/.local/bin man=$HOME/.local/share/man/man1
fi

# Each folder of this release and where its entries go.
pairs="lib/vst3:$vst3 lib/vst:$vst lib/lv2:$lv2 bin:$bin share/man/man1:$man"
for pair in $pairs; do
  from=$here/${pair%%:*}
  to=${pair#*:}
  [ -d "$from" ] || continue
  for entry in "$from"/*; do
    target=$to/$(basename "$entry")
    if [ $uninstall -eq 1 ]; then
      rm -rf "$target"
    else
      mkdir -p "$to"
      rm -rf "$target"
      cp -R "$entry" "$target"
      echo "installed $target"
    fi
  done
  if [ $uninstall -eq 1 ]; then
    # Folders left empty go too: in the home folder up to it, in the system only plug-in folders.
    dir=$to
    if [ $system -eq 1 ]; then
      case $pair in lib/*) rmdir "$dir" 2>/dev/null || true ;; esac
    else
      while [ "$dir" != "$HOME" ] && rmdir "$dir" 2>/dev/null; do
        dir=$(dirname "$dir")
      done
    fi
    echo "removed Tarnwick from $to"
  fi
done
