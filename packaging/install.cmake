# Installs the program as a freedesktop application: the executable, its desktop entry, icons,
# MIME type, AppStream metadata and manual pages, and its change log and copyright. The Debian
# package is built from debian/ (scripts/package), with this install as its content.
set(TALLIVO_APP_ID it.orvedel.Tallivo)
set(desktop_dir ${PROJECT_SOURCE_DIR}/resources/desktop)

install(TARGETS tallivo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${desktop_dir}/${TALLIVO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/chart.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${TALLIVO_APP_ID}.svg)
# The same icon drawn at each usual size (scripts/make-icons), for desktops that take PNGs.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/icons/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
# The type the desktop entry names, of which text/plain is made a kind: see the file.
install(FILES ${desktop_dir}/${TALLIVO_APP_ID}.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
configure_file(${desktop_dir}/${TALLIVO_APP_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/${TALLIVO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/${TALLIVO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The change log and the copyright, which the Debian package's own tools install instead.
option(TALLIVO_INSTALL_DOCS "Install the change log and the copyright into the doc folder" ON)

# Debian keeps manual pages and change logs compressed, without time stamps.
foreach(source IN ITEMS resources/desktop/tallivo.1 resources/desktop/tallivo.it.1
                       debian/changelog)
    get_filename_component(name ${source} NAME)
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/${name}.gz
        COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/${source} > ${PROJECT_BINARY_DIR}/${name}.gz
        DEPENDS ${PROJECT_SOURCE_DIR}/${source} VERBATIM)
    list(APPEND compressed ${PROJECT_BINARY_DIR}/${name}.gz)
endforeach()
add_custom_target(tallivo_compressed_docs ALL DEPENDS ${compressed})
install(FILES ${PROJECT_BINARY_DIR}/tallivo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/tallivo.it.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/it/man1
        RENAME tallivo.1.gz)
if(TALLIVO_INSTALL_DOCS)
    install(FILES ${PROJECT_BINARY_DIR}/changelog.gz ${PROJECT_SOURCE_DIR}/debian/copyright
            DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
