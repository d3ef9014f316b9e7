# Installs the build into a temporary DESTDIR, checks that the desktop files are there and
# validates them with the freedesktop tools.
#   cmake -DBUILD=<build folder> -DWORK=<scratch folder> -P check_install.cmake
cmake_policy(VERSION 3.21)
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
        ${root}/man/it/man1/tallivo.1.gz
        ${root}/mime/packages/it.orvedel.Tallivo.xml
        ${root}/doc/tallivo/copyright)
    if(NOT EXISTS ${path})
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()
file(READ ${root}/metainfo/it.orvedel.Tallivo.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<release version=\"${VERSION}\"")
    message(FATAL_ERROR "the metadata does not name release ${VERSION}")
endif()

# A PNG icon at each usual size, as large as its folder says (the width and height are the
# big-endian words at bytes 16 and 20 of a PNG).
foreach(size IN ITEMS 16 22 24 32 48 64 128 256)
    set(icon ${root}/icons/hicolor/${size}x${size}/apps/it.orvedel.Tallivo.png)
    if(NOT EXISTS ${icon})
        message(FATAL_ERROR "not installed: ${icon}")
    endif()
    file(READ ${icon} header LIMIT 24 HEX)
    string(SUBSTRING "${header}" 0 16 signature)
    string(SUBSTRING "${header}" 32 16 dimensions)
    math(EXPR side "${size}" OUTPUT_FORMAT HEXADECIMAL)
    string(REPLACE "0x" "" side "${side}")
    string(LENGTH "${side}" digits)
    math(EXPR zeros "8 - ${digits}")
    string(REPEAT "0" ${zeros} padding)
    if(NOT signature STREQUAL "89504e470d0a1a0a" OR
       NOT dimensions STREQUAL "${padding}${side}${padding}${side}")
        message(FATAL_ERROR "${icon} is not a ${size} by ${size} PNG (header ${header})")
    endif()
endforeach()

# The desktop entry is offered for text without naming text/plain itself, which would make it
# the default program for text files wherever its name sorts before the editor's.
file(READ ${root}/applications/it.orvedel.Tallivo.desktop entry)
if(NOT entry MATCHES "\nMimeType=application/x-tallivo-text;\n")
    message(FATAL_ERROR "the desktop entry does not name application/x-tallivo-text alone")
endif()
# With the freedesktop types, the MIME database makes text/plain a kind of it.
find_program(update_mime update-mime-database)
if(update_mime AND EXISTS /usr/share/mime/packages/freedesktop.org.xml)
    set(mime ${WORK}/mime)
    file(COPY /usr/share/mime/packages/freedesktop.org.xml
              ${root}/mime/packages/it.orvedel.Tallivo.xml DESTINATION ${mime}/packages)
    execute_process(COMMAND ${update_mime} ${mime} RESULT_VARIABLE status OUTPUT_QUIET
                    ERROR_VARIABLE out)
    file(STRINGS ${mime}/subclasses parents REGEX "^text/plain ")
    if(NOT status EQUAL 0 OR NOT "text/plain application/x-tallivo-text" IN_LIST parents)
        message(FATAL_ERROR "text/plain is not a kind of application/x-tallivo-text: ${parents}\n${out}")
    endif()
else()
    message(STATUS "SKIPPED: update-mime-database or the freedesktop types are not installed")
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
