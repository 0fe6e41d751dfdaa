#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, only those that are missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    libpng-dev                # PNG user images
    qt6-base-dev              # the window (and the offscreen/xcb platforms, through libqt6gui6)
    libgtest-dev libgmock-dev # unit tests
    libbenchmark-dev          # benchmarks
    zlib1g-dev                # tests only: an independent inflater for our streams
    clang libclang-rt-14-dev  # fuzz targets
    imagemagick               # tests: bitmaps written by software we did not write
    xvfb xauth                # a real window where no display is available
    xdotool                   # tests: drive that real window (size, keys)
    librsvg2-bin              # the installed icon's fixed sizes, rendered from its SVG
    desktop-file-utils        # tests: the launcher is checked by its validator,
    appstream man-db          # the metainfo by its own, the manual page formatted by man
    dpkg-dev                  # the Debian package: dpkg-shlibdeps finds its dependencies
    shared-mime-info libglib2.0-bin  # tests: the ROM file type as the desktop database sees it
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
