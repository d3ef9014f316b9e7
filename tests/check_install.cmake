# Installs the build into a temporary DESTDIR, checks that the desktop files are there and
# validates them with the freedesktop tools.
#   cmake -DBUILD=<build folder> -DWORK=<scratch folder> -P check_install.cmake
file(REMOVE_RECURSE ${WORK})
set(ENV{DESTDIR} ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed")
endif()

set(root ${WORK}/usr/share)
foreach(path IN ITEMS
        ${WORK}/usr/bin/tallivo
        ${root}/applications/it.orvedel.Tallivo.desktop
        ${root}/icons/hicolor/scalable/apps/it.orvedel.Tallivo.svg
        ${root}/metainfo/it.orvedel.Tallivo.metainfo.xml
        ${root}/man/man1/tallivo.1.gz
        ${root}/doc/tallivo/copyright)
    if(NOT EXISTS ${path})
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()
file(READ ${root}/metainfo/it.orvedel.Tallivo.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<release version=\"${VERSION}\"")
    message(FATAL_ERROR "the metadata does not name release ${VERSION}")
endif()

# Each validator must say nothing at all: no error, no warning, no hint.
function(validate tool)
    find_program(program ${tool})
    if(NOT program)
        message(STATUS "SKIPPED: ${tool} is not installed (scripts/test installs it)")
        return()
    endif()
    execute_process(COMMAND ${program} ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out
                    ERROR_VARIABLE out)
    if(NOT status EQUAL 0 OR out MATCHES "(error|warning|hint:|E:|W:)")
        message(FATAL_ERROR "${tool} ${ARGN}:\n${out}")
    endif()
    message(STATUS "${tool}: ${out}")
    unset(program CACHE)
endfunction()
validate(desktop-file-validate ${root}/applications/it.orvedel.Tallivo.desktop)
validate(appstreamcli validate --no-net --explain ${root}/metainfo/it.orvedel.Tallivo.metainfo.xml)
file(REMOVE_RECURSE ${WORK})
