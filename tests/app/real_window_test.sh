#!/usr/bin/env bash
# The built editor in a real X server (run it under xvfb-run): started with the demo ROM as its
# argument, its window must map and show thumbnails, its texture list must grow with the window,
# and Ctrl+Q must end it with status 0. Screenshots are left in the folder given third.
# Usage: real_window_test.sh EDITOR MGROMTOOL SHOT_FOLDER
set -euo pipefail
editor=$1 tool=$2 shots=$3

work=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

mkdir -p "$shots"
"$tool" demo-kit "$work/kit" >/dev/null
# The editor finds its catalogue beside itself.
cp "$editor" "$work/kit/"
cd "$work/kit"
QT_QPA_PLATFORM=xcb ./MGROMImageEditor MOONGLASS.ROM &
pid=$!

wid=$(timeout 10 xdotool search --sync --onlyvisible --pid "$pid" | head -n 1) ||
    fail "the window did not map within 10 s"

# Distinct colours in the top of the texture list (thumbnails sit there once the ROM loaded).
list_colours() { convert "$1" -crop 500x120+11+30 +repage -format %k info:; }
# White pixels on a row through the list, below its thumbnails: the list's visible width.
list_width() { convert "$1" -crop 4000x1+0+300 +repage -fill black +opaque white \
    -format '%[fx:round(mean*w)]' info:; }

colours=0
for _ in $(seq 50); do
    import -window "$wid" "$shots/loaded.png"
    colours=$(list_colours "$shots/loaded.png")
    [ "$colours" -gt 8 ] && break
    sleep 0.2
done
[ "$colours" -gt 8 ] || fail "the list area shows $colours colours: no thumbnails"
before=$(list_width "$shots/loaded.png")

eval "$(xdotool getwindowgeometry --shell "$wid")"
xdotool windowsize "$wid" $((WIDTH + 300)) $((HEIGHT + 100))
after=$before
for _ in $(seq 50); do
    sleep 0.2
    import -window "$wid" "$shots/grown.png"
    after=$(list_width "$shots/grown.png")
    [ "$after" -ge $((before + 250)) ] && break
done
[ "$after" -ge $((before + 250)) ] || fail "the list is $before pixels wide, then $after"

xdotool windowfocus --sync "$wid"
xdotool key --clearmodifiers ctrl+q
for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "Ctrl+Q did not end the editor within 5 s"
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "the editor ended with status $status"
echo "list: $colours colours, $before then $after pixels wide; screenshots in $shots"
