#!/usr/bin/env bash
# Installs what is missing, builds, writes the demo kit beside the editor and opens the editor on
# it. Without a display it takes a short tour of the same kit with mgromtool instead.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default
cmake --build --preset default

bin=build/default/bin
# The kit is the editor's catalogue (romimages/, tableBinary.bin) plus a ROM image to load.
"$bin/mgromtool" demo-kit "$bin"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo
    echo "No display is available (neither DISPLAY nor WAYLAND_DISPLAY is set), so the editor's"
    echo "window cannot open here. A short tour of the demo kit with mgromtool instead:"
    echo
    tour=build/default/tour
    mkdir -p "$tour"
    user_bitmap=$(find "$bin/romimages/User" -name '*.bmp' | sort | head -n 1)
    set -x
    "$bin/mgromtool" check --crc "$bin/MOONGLASS.ROM"
    "$bin/mgromtool" swap "$bin/MOONGLASS.ROM" "$tour/swapped.rom"
    "$bin/mgromtool" check "$tour/swapped.rom"
    "$bin/mgromtool" compress "$user_bitmap" "$tour/compressed.bin"
    "$bin/mgromtool" preview "$user_bitmap" "$tour/output8.bmp"
    "$bin/mgromtool" extract "$bin/MOONGLASS.ROM" "$tour/catalogue" --force
    "$bin/mgromtool" verify "$bin/MOONGLASS.ROM" --catalogue "$tour/catalogue"
    { set +x; } 2>/dev/null
    echo
    echo "The swapped image, the texture record, its preview and the catalogue read back out of"
    echo "the ROM are in $tour."
    echo "To see the editor itself, run this from a desktop session, or under a virtual display:"
    echo "    xvfb-run -a scripts/run.sh"
    exit 0
fi
cd "$bin"
exec ./MGROMImageEditor
