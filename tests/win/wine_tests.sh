#!/bin/sh
# Runs the Windows builds of the core under Wine, in a throw-away prefix.
#
#   wine_tests.sh mf PREFIX MF_CHECK_EXE H264_CARD H264_ODD_CARD RAW_AAC_CARD
#       the Media Foundation core against Wine's transforms (tests/win/mf_check.cpp)
#   wine_tests.sh nivra-card PREFIX LINUX_TOOL WINDOWS_TOOL WORK_DIR CARD:FROM:TO ...
#       the Windows nivra-card must print what the Linux one prints (info,
#       ranges and events as JSON) and export byte-identical MOV and MP4
#       files, also from a card under a non-ASCII folder and one whose path
#       is longer than 260 characters (given in the \\?\ form)
#
# Exits 77 (skipped) when Wine is not installed.
set -eu

mode=$1
prefix=$2
shift 2

wine=""
for candidate in /usr/lib/wine/wine64 "$(command -v wine64 || true)" "$(command -v wine || true)"; do
    if [ -n "$candidate" ] && [ -x "$candidate" ]; then
        wine=$candidate
        break
    fi
done
if [ -z "$wine" ]; then
    echo "SKIPPED: wine64 is not installed (scripts/install-deps.sh installs it)"
    exit 77
fi
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver || echo "")

export WINEPREFIX="$prefix"
export WINEDEBUG=-all
# The mingw-w64 runtime DLLs of programs that are not linked statically.
export WINEPATH="Z:\\usr\\lib\\gcc\\x86_64-w64-mingw32\\12-posix;Z:\\usr\\x86_64-w64-mingw32\\lib"
# Wine decodes the command line and file names as UTF-8 only in a UTF-8 locale.
export LC_ALL=C.UTF-8
# No display: keep Wine from looking for one.
unset DISPLAY WAYLAND_DISPLAY

# Prints the Windows form of an absolute Linux path (drive Z:).
winpath() {
    printf 'Z:%s' "$1" | tr '/' '\\'
}

# Runs a Windows program; prints its output with Windows line ends made
# Linux ones. The output goes through a file: the Wine server keeps the
# program's standard handles open, so a pipe would not see its end.
run_windows() {
    run_status=0
    "$wine" "$@" </dev/null >"$prefix/run.out" 2>&1 || run_status=$?
    tr -d '\r' <"$prefix/run.out"
    return $run_status
}

mkdir -p "$prefix"
# A fresh prefix is set up by the first program run in it, which then
# prints Wine's own notes among its output: set it up first, before
# the shared server starts (setting up restarts the server).
if [ ! -f "$prefix/system.reg" ]; then
    "$wine" wineboot --init </dev/null >/dev/null 2>&1 || true
    [ -z "$wineserver" ] || "$wineserver" -w 2>/dev/null || true
fi
# One server for all runs of this test (starting one per program costs
# seconds); it is ended with the test, so no Wine process outlives it.
if [ -n "$wineserver" ]; then
    "$wineserver" -f -p60 </dev/null >/dev/null 2>&1 &
    server=$!
fi
finish() {
    if [ -n "$wineserver" ]; then
        "$wineserver" -k 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    fi
}
trap finish EXIT

if [ "$mode" = mf ]; then
    exe=$1
    shift
    args=""
    for card in "$@"; do
        args="$args $(winpath "$card")"
    done
    # shellcheck disable=SC2086
    run_windows "$exe" $args
    exit $?
fi

if [ "$mode" != nivra-card ]; then
    echo "unknown mode $mode" >&2
    exit 2
fi

linux_tool=$1
windows_tool=$2
work=$3
shift 3
rm -rf "$work"
mkdir -p "$work"
failures=0

fail() {
    echo "FAIL $*"
    failures=$((failures + 1))
}

# A folder name with umlauts and CJK, and a path of more than 260 characters.
odd_parent="$work/Aufnahmen Ärzte 日本語"
long_parent="$work/long"
for i in 1 2 3 4 5; do
    long_parent="$long_parent/folder-$i-of-a-card-copy-that-is-nested-deep-below-the-work-directory"
done

compare_card() {
    c_card=$1
    c_windows_card=$2
    c_from=$3
    c_to=$4
    c_label=$5
    for c_command in info ranges events; do
        linux_out=$("$linux_tool" "$c_command" "$c_card" --json 2>&1 || true)
        windows_out=$(run_windows "$windows_tool" "$c_command" "$c_windows_card" --json 2>&1 || true)
        if [ "$linux_out" = "$windows_out" ]; then
            echo "ok   $c_label: $c_command --json"
        else
            fail "$c_label: $c_command --json differs"
            echo "  linux:   $linux_out"
            echo "  windows: $windows_out"
        fi
    done
    for c_format in mov mp4 mp4-no-audio; do
        case $c_format in
        mov) c_flags="" ;;
        mp4) c_flags="--mp4" ;;
        *) c_flags="--mp4 --no-audio" ;;
        esac
        linux_dir="$work/out-$c_label-$c_format-linux"
        windows_dir="$work/out-$c_label-$c_format-windows"
        # The outcome without the file list, whose paths differ.
        # shellcheck disable=SC2086
        linux_out=$("$linux_tool" export "$c_card" --from "$c_from" --to "$c_to" --out "$linux_dir" $c_flags \
            --json 2>&1 | sed 's/"files":\[[^]]*\],//' || true)
        # shellcheck disable=SC2086
        windows_out=$(run_windows "$windows_tool" export "$c_windows_card" --from "$c_from" --to "$c_to" \
            --out "$(winpath "$windows_dir")" $c_flags --json 2>&1 | sed 's/"files":\[[^]]*\],//' || true)
        linux_files=$(cd "$linux_dir" 2>/dev/null && ls || true)
        windows_files=$(cd "$windows_dir" 2>/dev/null && ls || true)
        if [ "$linux_out" != "$windows_out" ]; then
            fail "$c_label: $c_format export outcome differs"
            echo "  linux:   $linux_out"
            echo "  windows: $windows_out"
        elif [ "$linux_files" != "$windows_files" ]; then
            fail "$c_label: $c_format files differ: linux [$linux_files] windows [$windows_files]"
        elif [ -z "$linux_files" ]; then
            echo "ok   $c_label: $c_format export refused alike: $linux_out"
        else
            same=1
            for f in $linux_files; do
                cmp -s "$linux_dir/$f" "$windows_dir/$f" || same=0
            done
            if [ $same = 1 ]; then
                echo "ok   $c_label: $c_format export byte-identical ($(echo $linux_files))"
            else
                fail "$c_label: $c_format export not byte-identical ($(echo $linux_files))"
            fi
        fi
    done
}

first=1
for entry in "$@"; do
    card=${entry%%:*}
    rest=${entry#*:}
    from=${rest%%:*}
    to=${rest#*:}
    name=$(basename "$card")
    compare_card "$card" "$(winpath "$card")" "$from" "$to" "$name"
    if [ $first = 1 ]; then
        # The first card again from the odd folder names.
        mkdir -p "$odd_parent" "$long_parent"
        cp -r "$card" "$odd_parent/"
        cp -r "$card" "$long_parent/"
        compare_card "$odd_parent/$name" "$(winpath "$odd_parent/$name")" "$from" "$to" "non-ASCII-$name"
        long_card="$long_parent/$name"
        if [ ${#long_card} -le 260 ]; then
            fail "the long card path has only ${#long_card} characters"
        fi
        compare_card "$long_card" "\\\\?\\$(winpath "$long_card")" "$from" "$to" "long-path-$name"
        first=0
    fi
done

echo "$failures comparison(s) failed"
[ $failures -eq 0 ]
