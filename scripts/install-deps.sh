#!/usr/bin/env bash
# Installs what Vantrel needs to build, run and test on Debian 12.
# With --packaging, also the tools that build, lint and try out the Debian
# package (scripts/package.sh, scripts/test-package.sh).
# Works as root or through sudo; safe to run again.
set -euo pipefail
packages=(build-essential cmake ninja-build qt6-base-dev qt6-multimedia-dev qt6-svg-dev
          libqt6sql6-sqlite libxkbcommon-dev xvfb xauth fonts-dejavu-core clang libclang-rt-14-dev
          openbox xdotool x11-apps imagemagick appstream desktop-file-utils mandoc)
if [ "${1:-}" = "--packaging" ]; then
  packages+=(dpkg-dev lintian mmdebstrap)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -eq 0 ]; then as_root=(); else as_root=(sudo); fi
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "${missing[@]}"
