# Installs the build into a fresh PREFIX and checks exactly which files land there, the icons'
# pixel sizes and the manual page; then runs the installed tool as a user would, and reads the
# ROM file type back as the desktop reads it.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(status)
    message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

set(hicolor share/icons/hicolor)
set(expected bin/MGROMImageEditor bin/mgromtool share/man/man1/mgromtool.1.gz
    share/applications/${ID}.desktop share/metainfo/${ID}.metainfo.xml
    share/mime/packages/${ID}.xml ${hicolor}/scalable/apps/${ID}.svg)
foreach(size 48 128 256)
    set(png ${hicolor}/${size}x${size}/apps/${ID}.png)
    list(APPEND expected ${png})
    # A PNG's header holds its width and height as big-endian 32-bit values at byte 16.
    file(READ ${PREFIX}/${png} header OFFSET 16 LIMIT 8 HEX)
    string(SUBSTRING "${header}" 0 8 width)
    string(SUBSTRING "${header}" 8 8 height)
    math(EXPR width "0x${width}")
    math(EXPR height "0x${height}")
    if(NOT width EQUAL size OR NOT height EQUAL size)
        message(FATAL_ERROR "${png} is not ${size} x ${size}: ${header}")
    endif()
endforeach()
file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT installed)
list(SORT expected)
if(NOT installed STREQUAL expected)
    message(FATAL_ERROR "installed:\n${installed}\nexpected:\n${expected}")
endif()

# The manual page formats without a warning and has an entry for every command of --help.
set(tool ${PREFIX}/bin/mgromtool)
execute_process(COMMAND env MANWIDTH=80 man --warnings -E ascii -l
                        ${PREFIX}/share/man/man1/mgromtool.1.gz
                OUTPUT_VARIABLE manual ERROR_VARIABLE warnings RESULT_VARIABLE status)
if(status OR NOT warnings STREQUAL "")
    message(FATAL_ERROR "man: ${status} ${warnings}")
endif()
execute_process(COMMAND ${tool} --help OUTPUT_VARIABLE help)
string(REGEX MATCHALL "\n  [-a-z]+" commands "${help}")
list(LENGTH commands count)
if(count LESS 9)
    message(FATAL_ERROR "too few commands found in --help:\n${help}")
endif()
foreach(command ${commands})
    string(STRIP "${command}" command)
    if(NOT manual MATCHES "\n       ${command}[ ,\n]")
        message(FATAL_ERROR "the manual page has no entry for ${command}")
    endif()
endforeach()

# Without a folder, demo-kit writes into the user's data folder, and build then finds the
# catalogue there, as nothing lies beside the installed tool.
set(environment env XDG_DATA_HOME=${PREFIX}/data HOME=${PREFIX}/nobody)
execute_process(COMMAND ${environment} ${tool} demo-kit OUTPUT_QUIET)
set(kit ${PREFIX}/data/MGROMImageEditor)
execute_process(COMMAND ${tool} swap ${kit}/MOONGLASS.ROM ${PREFIX}/working.rom)
execute_process(COMMAND ${environment} ${tool} build ${PREFIX}/working.rom ${PREFIX}/new.rom
                        --replace 10018=10000
                RESULT_VARIABLE status ERROR_VARIABLE refusal)
if(status OR NOT EXISTS ${PREFIX}/new.rom)
    message(FATAL_ERROR "build with the kit in the user's data folder: ${status} ${refusal}")
endif()

# The ROM file type, in the database the desktop builds from the installed package: known by the
# internal name at 0x20 in either byte order whatever the file's name, and by its extension.
execute_process(COMMAND update-mime-database ${PREFIX}/share/mime ERROR_QUIET RESULT_VARIABLE status)
file(CREATE_LINK ${kit}/MOONGLASS.ROM ${PREFIX}/native.bin)
file(CREATE_LINK ${PREFIX}/working.rom ${PREFIX}/swapped.bin)
file(CREATE_LINK ${kit}/README.txt ${PREFIX}/text.rom)
set(rom application/x-moonglass-rom)
foreach(file_type native.bin=${rom} swapped.bin=${rom} text.rom=${rom} new.rom=${rom}
        data/MGROMImageEditor/tableBinary.bin=application/octet-stream)
    string(REPLACE "=" ";" file_type ${file_type})
    list(GET file_type 0 file)
    list(GET file_type 1 expected)
    execute_process(COMMAND env XDG_DATA_DIRS=${PREFIX}/share XDG_DATA_HOME=${PREFIX}/nobody
                            gio info -a standard::content-type ${PREFIX}/${file}
                    OUTPUT_VARIABLE info)
    if(NOT info MATCHES "content-type: ${expected}\n")
        message(FATAL_ERROR "${file} should be ${expected}: ${status} ${info}")
    endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
