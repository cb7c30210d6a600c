#!/usr/bin/env bash
# Checks what the desktop and the software centre read from the package:
# the menu entry, the AppStream data, the manual page and the icons.
# Usage: check_desktop_data.sh <source folder> <project version>
# A validator that is not installed is skipped; with none at all the test
# reports itself skipped (status 77).
set -uo pipefail
source=$1 version=$2
packaging=$source/packaging
id=io.github.vantrel.Vantrel
failed=0 ran=0
fail() { echo "FAIL: $*"; failed=1; }

if command -v desktop-file-validate >/dev/null; then
  ran=1
  # Hints count too: the entry must be clean.
  out=$(desktop-file-validate "$packaging/$id.desktop" 2>&1) || fail "desktop-file-validate failed"
  [ -z "$out" ] || fail "desktop-file-validate: $out"
fi
if command -v appstreamcli >/dev/null; then
  ran=1
  appstreamcli validate --no-net "$packaging/$id.metainfo.xml" || fail "appstreamcli validate failed"
fi
if command -v mandoc >/dev/null; then
  ran=1
  mandoc -Tlint -Wwarning "$packaging/vantrel.6" || fail "mandoc found faults in vantrel.6"
fi
[ "$ran" -eq 1 ] || { echo "no validator installed"; exit 77; }

# The newest release everywhere is the version being built.
grep -q "<release version=\"$version\"" "$packaging/$id.metainfo.xml" \
  || fail "the metainfo's releases lack $version"
[ "$(head -n1 "$packaging/changelog")" = "vantrel ($version) unstable; urgency=medium" ] \
  || fail "the changelog's newest entry is not $version"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$packaging/$id.metainfo.xml" \
  || fail "the metainfo does not launch $id.desktop"

# The project has no web site yet: no address may send a user to one.
if grep -n "github.com/vantrel\|githubusercontent.com/vantrel\|HOMEPAGE" \
  "$packaging/$id.metainfo.xml" "$packaging/DebianPackage.cmake" "$packaging/copyright"; then
  fail "the package names a homepage that does not exist"
fi

# Every PNG is as large as its folder says (width and height from the header).
for size in 16 32 48 64 128 256; do
  png=$packaging/icons/hicolor/${size}x${size}/apps/vantrel.png
  read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$png") || { fail "$png is missing"; continue; }
  width=$(( (w1 << 24) | (w2 << 16) | (w3 << 8) | w4 ))
  height=$(( (h1 << 24) | (h2 << 16) | (h3 << 8) | h4 ))
  [ "$width" -eq "$size" ] && [ "$height" -eq "$size" ] || fail "$png is ${width}x${height}"
done
exit "$failed"
