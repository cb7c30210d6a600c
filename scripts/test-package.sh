#!/usr/bin/env bash
# Builds the Debian package, lints it, and installs it the way a user would
# into a throw-away Debian 12 root made with mmdebstrap (minbase, straight
# from the Debian mirror, nothing cached): there it is started, closed and
# purged by tests/packaging/check_installed_package.sh. When no such root
# can be made, the same check runs on this machine instead, provided
# Vantrel is not installed here. Needs root (or sudo) and the network.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -ne 0 ]; then exec sudo "$0" "$@"; fi
rm -f vantrel_*.deb
scripts/package.sh
deb=$(echo vantrel_*.deb)

echo "== lintian"
lintian --info --fail-on error "$deb"

check=tests/packaging/check_installed_package.sh
echo "== install in a clean Debian 12 root"
started=$(date +%s)
made=$(mktemp)
rm -f "$made"
if mmdebstrap --variant=minbase --mode=root \
     --customize-hook="touch $made" \
     --customize-hook="copy-in $deb $check /root" \
     --customize-hook='chroot "$1" sh -c "cd /root && bash ./check_installed_package.sh"' \
     bookworm /dev/null http://deb.debian.org/debian; then
  echo "== clean root: $(( $(date +%s) - started )) s"
  exit 0
fi
# Only a root that could not be made falls back; a failed check fails.
if [ -e "$made" ]; then
  rm -f "$made"
  echo "FAIL: the package did not pass in the clean root" >&2
  exit 1
fi
echo "== no clean root could be made; checking on this machine"
if [ -n "$(ls -A /usr/lib/vantrel 2>/dev/null)" ] || dpkg -s vantrel >/dev/null 2>&1; then
  echo "FAIL: Vantrel is already installed here; the check would not be clean" >&2
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$deb" "$check" "$work"
(cd "$work" && bash ./check_installed_package.sh)
