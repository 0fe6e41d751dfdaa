#!/usr/bin/env bash
# Builds the Debian package of the editor and mgromtool (built as the default preset builds them,
# without tests or benchmarks; debug symbols are stripped) and prints its path. Install it with
#     sudo apt install ./<that path>
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset package
cmake --build --preset package
cd build/package
cpack -G DEB
ls "$PWD"/mgromimageeditor_*.deb
