#!/bin/sh
# Builds the Debian package into a temporary folder, checks what it holds and
# how lintian judges it, unpacks it into a temporary root (no system install)
# and runs both programs from there on a simulator card.
#   package_test.sh BUILD_DIR VERSION CARD
set -eu
build=$1
version=$2
card=$3

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

(cd "$build" && cpack -G DEB -B "$tmp/out" >"$tmp/cpack.log" 2>&1) || {
  cat "$tmp/cpack.log" >&2
  fail "cpack -G DEB failed"
}
deb=$tmp/out/nivra-player_${version}_amd64.deb
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack wrote: $(ls "$tmp/out")"

# Control fields: the computed library dependencies and the run-time ones
# the program loads without linking them, each a real Debian package.
[ "$(dpkg-deb -f "$deb" Package)" = nivra-player ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version"
[ "$(dpkg-deb -f "$deb" Architecture)" = amd64 ] || fail "architecture"
depends=$(dpkg-deb -f "$deb" Depends)
for p in libc6 libqt6quick6 libavcodec59 qml6-module-qtquick-controls qml6-module-qtmultimedia \
  fonts-inter fonts-noto-cjk; do
  echo "$depends" | tr ',' '\n' | grep -q "^ *$p\( \|$\)" || fail "Depends lacks $p: $depends"
done
names=$(echo "$depends" | tr ',' '\n' | sed 's/(.*//; s/ //g' | sort -u)
# shellcheck disable=SC2086
known=$(apt-cache show --no-all-versions $names 2>/dev/null | sed -n 's/^Package: //p' | sort -u)
[ "$names" = "$known" ] || fail "Depends names packages Debian does not have: $(echo "$names" | grep -vxF "$known")"

lintian --fail-on error --tag-display-limit 0 "$deb" >"$tmp/lintian.log" 2>&1 || {
  cat "$tmp/lintian.log" >&2
  fail "lintian reports errors"
}

root=$tmp/root
dpkg-deb -x "$deb" "$root"
for f in usr/bin/nivra-player usr/bin/nivra-card usr/share/applications/nivra-player.desktop \
  usr/share/metainfo/com.nivra.player.metainfo.xml usr/share/icons/hicolor/scalable/apps/nivra-player.svg \
  usr/share/doc/nivra-player/copyright usr/share/man/man1/nivra-card.1.gz; do
  [ -f "$root/$f" ] || fail "the package lacks /$f"
done
for size in 16 24 32 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x$size/apps/nivra-player.png
  # The PNG header's width at bytes 16-19 must match the folder.
  width=$(od -An -tu1 -j16 -N4 "$icon" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
  [ "$width" = "$size" ] || fail "icon in ${size}x$size is $width wide"
done
appstreamcli validate --no-net "$root/usr/share/metainfo/com.nivra.player.metainfo.xml" >"$tmp/as.log" 2>&1 || {
  cat "$tmp/as.log" >&2
  fail "AppStream metadata does not validate"
}
grep -q "^Icon=nivra-player$" "$root/usr/share/applications/nivra-player.desktop" || fail "desktop entry icon"

# The unpacked programs on a card.
"$root/usr/bin/nivra-card" info "$card" --json >"$tmp/info.json" || fail "nivra-card info failed"
grep -q '"code":0' "$tmp/info.json" || fail "nivra-card info: $(cat "$tmp/info.json")"
timeout 120 xvfb-run -a "$root/usr/bin/nivra-player" --autotest "wait 1; quit" "$card" >"$tmp/player.log" 2>&1 || {
  cat "$tmp/player.log" >&2
  fail "nivra-player --autotest failed"
}
grep -q "^AUTOTEST wait 1 .*| chunks 2 |" "$tmp/player.log" || {
  cat "$tmp/player.log" >&2
  fail "nivra-player did not open the card"
}
grep -q "^AUTOTEST quit" "$tmp/player.log" || fail "nivra-player did not quit by the script"
echo "package $(basename "$deb") checked"
