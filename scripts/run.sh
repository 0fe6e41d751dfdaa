#!/usr/bin/env bash
# Installs what is missing, builds, and opens the editor.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default
cmake --build --preset default

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display is available (neither DISPLAY nor WAYLAND_DISPLAY is set), so the editor's" >&2
    echo "window cannot open. Run this from a desktop session, or under a virtual display:" >&2
    echo "    xvfb-run -a scripts/run.sh" >&2
    exit 1
fi
exec build/default/bin/MGROMImageEditor
