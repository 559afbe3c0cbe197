#!/bin/sh
# Runs the deployed Windows program under Xvfb and Wine, and the Linux one
# beside it, through the same script on the same card and locale, and
# compares what they did: the day, its recordings and events, the positions
# of a step and a step back, the export's file names, the simulator's stamp
# in the snapshot, and the exported MP4 and MOV byte for byte.
#
#   wine_player.sh LINUX_PLAYER DEPLOY_DIR CARD WORK_DIR STAMPREAD
#
# Run inside nivra-with-sound: both programs (Wine's PulseAudio driver too)
# play into the test's own sound server. Exits 77 (skipped) when Wine or
# the deployed folder is missing.
set -eu

linux_player=$(realpath "$1")
deploy=$(realpath "$2")
card=$(realpath "$3")
work=$(realpath -m "$4")
stampread=$(realpath "$5")

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || true)
if [ -z "$wine" ] || [ ! -x "$wine" ]; then
    echo "SKIPPED: wine64 is not installed (scripts/install-deps.sh installs it)"
    exit 77
fi
if [ ! -f "$deploy/nivra-player.exe" ]; then
    echo "SKIPPED: no Windows folder at $deploy (the cross build test makes it)"
    exit 77
fi
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)

rm -rf "$work"
mkdir -p "$work/linux" "$work/windows"
export WINEPREFIX="$work/prefix"
export WINEDEBUG=-all
export LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8 TZ=UTC
export XDG_CONFIG_HOME="$work/config"

winpath() {
    printf 'Z:%s' "$1" | tr '/' '\\'
}

# The same steps for both programs; OUT is each one's own folder.
script() {
    out=$1
    sep=$2
    printf '%s' "decode sw; wait 2; dayinfo; decoder; seekexact 2024-05-14T09:00:10Z; play; wait 3; pause; "
    printf '%s' "seekexact 2024-05-14T09:00:20Z; step; snapshot ${out}${sep}snap; stepback; snapshot ${out}${sep}back; "
    printf '%s' "shot ${out}${sep}light.png; exportdlg; select 2024-05-14T09:00:30Z 2024-05-14T09:00:50Z; "
    printf '%s' "exportdir ${out}${sep}mp4; exportformat mp4; exportinfo; exportgo; waitexport; exportinfo; "
    printf '%s' "exportdir ${out}${sep}mov; exportformat mov; exportgo; waitexport; exportinfo; exportclose; "
    printf '%s' "theme dark; lang de; shot ${out}${sep}dark.png; size 1100 700; shot ${out}${sep}small.png; quit"
}

# The prefix is set up before the shared server starts (setting up restarts
# it); that server is ended with the test, so no Wine process outlives it,
# and should the test be killed, it ends a minute after its last program.
"$wine" wineboot --init </dev/null >/dev/null 2>&1 || true
"$wineserver" -w 2>/dev/null || true
"$wineserver" -f -p60 </dev/null >/dev/null 2>&1 &
server=$!
trap '"$wineserver" -k 2>/dev/null || true; wait $server 2>/dev/null || true' EXIT

mkdir -p "$work/linux/mp4" "$work/linux/mov" "$work/windows/mp4" "$work/windows/mov"
status=0
xvfb-run -a -s "-screen 0 1920x1200x24" "$linux_player" --autotest "$(script "$work/linux" /)" "$card" \
    >"$work/linux.log" 2>&1 || status=$?
[ $status -eq 0 ] || { cat "$work/linux.log"; echo "FAIL: the Linux program exited with $status"; exit 1; }
# The output goes through a file: the Wine server keeps the program's
# standard handles open, so a pipe would not see its end.
xvfb-run -a -s "-screen 0 1920x1200x24" "$wine" "$deploy/nivra-player.exe" \
    --autotest "$(script "$(winpath "$work/windows")" '\')" "$(winpath "$card")" \
    </dev/null >"$work/windows.raw" 2>&1 || status=$?
tr -d '\r' <"$work/windows.raw" >"$work/windows.log"
echo "--- the Windows program's own messages:"
grep -v '^AUTOTEST' "$work/windows.log" | head -40 || true
[ $status -eq 0 ] || { cat "$work/windows.log"; echo "FAIL: the Windows program exited with $status"; exit 1; }

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# One step's line, and one field of it.
line() { grep "^AUTOTEST $2\( \||\|$\)" "$1" | head -1; }
field() { grep "^AUTOTEST $2 |" "$1" | head -1 | tr '|' '\n' | sed -n "s/^ $3 //p" | head -1 | sed 's/ *$//'; }

grep '^AUTOTEST decoder ' "$work/windows.log" || true
for step in dayinfo step; do
    for name in day chunks events pos; do
        a=$(field "$work/linux.log" "$step" "$name")
        b=$(field "$work/windows.log" "$step" "$name")
        [ -n "$a" ] && [ "$a" = "$b" ] || fail "$step $name: Linux '$a', Windows '$b'"
    done
done
a=$(line "$work/linux.log" "dayinfo" | cut -d'|' -f1-6)
b=$(line "$work/windows.log" "dayinfo" | cut -d'|' -f1-6)
[ "$a" = "$b" ] || fail "the day: Linux '$a', Windows '$b'"
a=$(grep '^AUTOTEST exportinfo ' "$work/linux.log" | sed -n 's/.*| names \([^|]*\).*/\1/p' | tr '\n' ' ')
b=$(grep '^AUTOTEST exportinfo ' "$work/windows.log" | sed -n 's/.*| names \([^|]*\).*/\1/p' | tr '\n' ' ')
[ -n "$a" ] && [ "$a" = "$b" ] || fail "file names: Linux '$a', Windows '$b'"

# The stamp of the snapshot, read at the picture's own size.
stamp() {
    size=$(ffprobe -v error -select_streams v:0 -show_entries stream=width,height -of csv=p=0 "$1" | tr ',' ' ')
    # shellcheck disable=SC2086
    ffmpeg -v error -i "$1" -f rawvideo -pix_fmt gray - | "$stampread" $size
}
for shot in light.png dark.png small.png; do
    [ -s "$work/windows/$shot" ] || fail "the Windows program wrote no $shot"
done
linux_snap=$(ls "$work/linux/snap"/*.png 2>/dev/null | head -1)
windows_snap=$(ls "$work/windows/snap"/*.png 2>/dev/null | head -1)
[ -n "$windows_snap" ] || fail "the Windows program saved no snapshot"
if [ -n "$linux_snap" ] && [ -n "$windows_snap" ]; then
    a=$(stamp "$linux_snap")
    b=$(stamp "$windows_snap")
    echo "snapshot stamps: Linux $a, Windows $b"
    [ "$a" != none ] && [ "$a" = "$b" ] || fail "snapshot stamps differ: Linux $a, Windows $b"
    a=$(ffprobe -v error -show_entries stream=width,height -of csv=p=0 "$linux_snap")
    b=$(ffprobe -v error -show_entries stream=width,height -of csv=p=0 "$windows_snap")
    [ "$a" = "$b" ] || fail "snapshot sizes differ: Linux $a, Windows $b (uncropped rows?)"
fi

for kind in mp4 mov; do
    count=0
    for f in "$work/linux/$kind"/*; do
        [ -f "$f" ] || continue
        count=$((count + 1))
        other="$work/windows/$kind/$(basename "$f")"
        if [ ! -f "$other" ]; then
            fail "the Windows program wrote no $(basename "$f")"
        elif ! cmp -s "$f" "$other"; then
            fail "$(basename "$f") differs between Linux and Windows"
        fi
    done
    [ $count -gt 0 ] || fail "the Linux program wrote no $kind file"
    echo "$kind: $count file(s) compared"
done

# The step back's picture: reported, not held to the Linux run. Under Wine
# (8.0), Media Foundation's H.264 transform, the Windows program's software
# decoder, hands out a later picture after the flush a step back makes.
linux_back=$(ls "$work/linux/back"/*.png 2>/dev/null | head -1)
windows_back=$(ls "$work/windows/back"/*.png 2>/dev/null | head -1)
if [ -n "$linux_back" ] && [ -n "$windows_back" ]; then
    a="$(basename "$linux_back") $(stamp "$linux_back")"
    b="$(basename "$windows_back") $(stamp "$windows_back")"
    if [ "$a" = "$b" ]; then
        echo "step back: both show $a"
    else
        echo "NOT HELD (Wine's Media Foundation): after the step back Linux shows $a, Windows $b"
    fi
fi

[ $failures -eq 0 ] || { echo "--- Linux"; cat "$work/linux.log"; echo "--- Windows"; cat "$work/windows.log"; exit 1; }
echo "the Windows program agrees with the Linux one"
