#!/usr/bin/env bash
# Installs vantrel_*.deb from the current folder with apt-get, uses it as a
# user would, purges it and checks that nothing is left behind. Run as root
# in a clean Debian 12 root (scripts/test-package.sh), or on a machine
# without Vantrel installed.
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -q --no-install-recommends ./vantrel_*.deb
mapfile -t owned < <(dpkg-query -L vantrel)

# An ordinary user with Debian's default PATH, /usr/games included, and a
# home of its own.
home=$(mktemp -d)
chown nobody "$home"
chmod 700 "$home"
as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups
         env -i HOME="$home" XDG_RUNTIME_DIR="$home" LANG=C.UTF-8
         PATH=/usr/local/bin:/usr/bin:/bin:/usr/games QT_QPA_PLATFORM=offscreen)

version=$("${as_user[@]}" vantrel --version)
[ "$version" = "Vantrel $(dpkg-query -W -f='${Version}' vantrel)" ] || fail "--version printed '$version'"
status=0
"${as_user[@]}" vantrel --no-such-option 2>/dev/null || status=$?
[ "$status" -eq 2 ] || fail "an unknown option gave status $status, not 2"

# A second start, as after the first run measured the animation speed (that
# measurement alone can take half a minute on a busy machine). The outline
# colour is stored in the "&H" form, which only a clean close rewrites as
# "65280".
config="$home/.config/Vantrel/Vantrel.conf"
mkdir -p "$(dirname "$config")"
printf '[Preferences]\nprfAnimationDelay=20\nprfBannerDelay=10\nprfCardOutlineColor=&H0000FF00&\n' > "$config"
chown -R nobody "$home/.config"

# setpriv and env replace themselves, so $! is the program itself.
"${as_user[@]}" vantrel > "$home/out.txt" 2> "$home/err.txt" &
program=$!
sleep 20
kill -0 "$program" 2>/dev/null || fail "the program ended by itself: $(cat "$home/err.txt")"
kill -TERM "$program"
status=0
wait "$program" || status=$?
echo "--- what the program printed:"
cat "$home/out.txt" "$home/err.txt"
echo "---"
[ "$status" -eq 0 ] || fail "closing on SIGTERM gave status $status"
grep -qx 'prfCardOutlineColor=65280' "$config" || fail "the table did not open and close in order: $(cat "$config")"
grep -qx 'prfMainScreenX=[0-9-]*' "$config" || fail "the window position was not written"
# The hand history opens at start-up through Qt's SQLite driver, a plugin.
history="$home/.local/share/Vantrel/Vantrel/history.sqlite"
[ "$(head -c 15 "$history" 2>/dev/null)" = "SQLite format 3" ] || fail "no history database at $history"
# Messages expected without a sound server or a window system; anything
# else that reads like a fault fails the test.
if grep -v -e 'pa_context_connect() failed' -e 'No audio device detected' "$home/err.txt" \
     | grep -iE 'error|cannot|could not|failed|not found|not loaded|missing'; then
  fail "the program reported a fault"
fi
rm -rf "$home"

apt-get purge -y -q vantrel
if dpkg -s vantrel >/dev/null 2>&1; then fail "vantrel is still known to dpkg"; fi
for path in "${owned[@]}" /usr/lib/vantrel /usr/share/games/vantrel /usr/share/doc/vantrel; do
  # Shared folders such as /usr/share/icons may stay for other packages;
  # anything else must be gone.
  case "$path" in
    */vantrel) shared=false ;;
    *) shared=true ;;
  esac
  if [ -L "$path" ] || { [ -e "$path" ] && { [ ! -d "$path" ] || ! $shared; }; }; then
    fail "$path is left behind"
  fi
done
echo "PASS: installed, started, closed and purged without leftovers"
