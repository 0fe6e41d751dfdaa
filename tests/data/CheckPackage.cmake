# Builds the Debian package from the build folder BUILD into OUT and checks that it declares the
# libraries the programs link, its section, and that it carries the programs and desktop files.
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${CPACK} -G DEB -B ${OUT} --config ${BUILD}/CPackConfig.cmake
                RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
file(GLOB package ${OUT}/mgromimageeditor_*.deb)
if(status OR NOT package)
    message(FATAL_ERROR "cpack failed: ${status}\n${log}")
endif()
execute_process(COMMAND dpkg-deb -f ${package} Depends Section OUTPUT_VARIABLE fields)
execute_process(COMMAND dpkg-deb -c ${package} OUTPUT_VARIABLE files)
foreach(needed "libqt6widgets6 \\(>= " "libpng16-16 \\(>= " "libstdc\\+\\+6 \\(>= "
               "Section: graphics")
    if(NOT fields MATCHES "${needed}")
        message(FATAL_ERROR "the package does not declare ${needed}:\n${fields}")
    endif()
endforeach()
foreach(file usr/bin/MGROMImageEditor usr/bin/mgromtool usr/share/man/man1/mgromtool.1.gz
        usr/share/applications/${ID}.desktop usr/share/mime/packages/${ID}.xml)
    if(NOT files MATCHES " \\./${file}\n")
        message(FATAL_ERROR "the package lacks ${file}:\n${files}")
    endif()
endforeach()
file(REMOVE_RECURSE ${OUT})
