# The Debian package: `cpack -G DEB` in the build folder (scripts/package.sh does it all).
set(MGROM_PACKAGE_MAINTAINER "MGROMImageEditor developers <maintainers@mgromimageeditor.org>"
    CACHE STRING "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mgromimageeditor)
set(CPACK_PACKAGE_VENDOR "MGROMImageEditor developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "texture editor for the Moonglass cartridge ROM image")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${MGROM_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link (Qt 6, libpng, the C++ runtime) are found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The long description; its first line, the summary above, is added by CPack.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "MGROMImageEditor loads the 12 MiB cartridge ROM image of the game Moonglass,
shows its textures by size class and replaces them with other textures of the
game or with the user's own bitmaps and PNG pictures, which it converts and
compresses into the game's texture record. The result is saved as a new ROM
image or as a patch (the editor's own format, IPS or BPS).
.
The command-line tool mgromtool does the same work without the window and
writes a demo kit to try everything on.")

include(CPack)
