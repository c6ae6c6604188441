#!/usr/bin/env bash
# Installs every Debian 12 package that the build, the tests and the tools need.
# Idempotent: packages already present are left alone.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev valgrind
  juce-modules-source
  libfreetype-dev libx11-dev libxext-dev libxinerama-dev libxrandr-dev libxcursor-dev
  libxrender-dev libpng-dev libjpeg62-turbo-dev zlib1g-dev
  libsndfile1-dev
  libcairo2-dev libexpat1-dev libxtst-dev xvfb xauth fonts-dejavu-core
  dpf-source
  lv2-dev liblilv-dev lilv-utils sordi libsuil-dev
  ardour
  lintian help2man file binutils
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
