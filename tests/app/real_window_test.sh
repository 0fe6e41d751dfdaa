#!/usr/bin/env bash
# The built editor in a real X server (run it under xvfb-run): started with the demo ROM as its
# argument, its window must map and show thumbnails, its texture list must grow with the window,
# and Ctrl+Q must end it with status 0. Screenshots are left in the folder given third.
# Usage: real_window_test.sh EDITOR MGROMTOOL SHOT_FOLDER
set -euo pipefail
editor=$1 tool=$2 shots=$3
work=$(mktemp -d) pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# Runs a command until it succeeds, at most 50 times 0.2 s apart.
retry() { for _ in $(seq 50); do "$@" && return 0; sleep 0.2; done; return 1; }

mkdir -p "$shots"
"$tool" demo-kit "$work/kit" >/dev/null
cp "$editor" "$work/kit/" # the editor finds its catalogue beside itself
cd "$work/kit"
QT_QPA_PLATFORM=xcb ./MGROMImageEditor MOONGLASS.ROM &
pid=$!
wid=$(timeout 10 xdotool search --sync --onlyvisible --pid "$pid" | head -n 1) ||
    fail "the window did not map within 10 s"

shot() { import -window "$wid" "$shots/$1.png"; }
# Distinct colours in the top of the texture list, where thumbnails sit once the ROM is loaded.
colours() { convert "$shots/$1.png" -crop 500x120+11+30 +repage -format %k info:; }
# White pixels on a row through the list below its thumbnails: the list's inner width.
width() { convert "$shots/$1.png" -crop 4000x1+0+300 +repage -fill black +opaque white \
    -format '%[fx:round(mean*w)]' info:; }

loaded() { shot loaded && [ "$(colours loaded)" -gt 8 ]; }
retry loaded || fail "the list area shows $(colours loaded) colours: no thumbnails"
before=$(width loaded)
eval "$(xdotool getwindowgeometry --shell "$wid")"
xdotool windowsize "$wid" $((WIDTH + 300)) $((HEIGHT + 100))
grown() { shot grown && [ "$(width grown)" -ge $((before + 250)) ]; }
retry grown || fail "the list was $before pixels wide, then $(width grown)"

xdotool windowfocus --sync "$wid" key --clearmodifiers ctrl+q
ended() { ! kill -0 "$pid" 2>/dev/null; }
retry ended || fail "Ctrl+Q did not end the editor within 10 s"
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "the editor ended with status $status"
echo "list: $(colours loaded) colours, $before then $(width grown) pixels wide; shots in $shots"
