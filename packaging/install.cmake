# Installs the program as a freedesktop application: the executable, its desktop entry, icon,
# AppStream metadata and manual page, and the documents a Debian package carries.
set(TALLIVO_APP_ID it.orvedel.Tallivo)
set(desktop_dir ${PROJECT_SOURCE_DIR}/resources/desktop)

install(TARGETS tallivo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${desktop_dir}/${TALLIVO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/chart.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${TALLIVO_APP_ID}.svg)
configure_file(${desktop_dir}/${TALLIVO_APP_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/${TALLIVO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/${TALLIVO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Debian keeps manual pages and change logs compressed, without time stamps.
foreach(source IN ITEMS resources/desktop/tallivo.1 packaging/changelog)
    get_filename_component(name ${source} NAME)
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/${name}.gz
        COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/${source} > ${PROJECT_BINARY_DIR}/${name}.gz
        DEPENDS ${PROJECT_SOURCE_DIR}/${source} VERBATIM)
    list(APPEND compressed ${PROJECT_BINARY_DIR}/${name}.gz)
endforeach()
add_custom_target(tallivo_compressed_docs ALL DEPENDS ${compressed})
install(FILES ${PROJECT_BINARY_DIR}/tallivo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package: library dependencies found by dpkg-shlibdeps, and what the program loads
# at run time that no library names: the toolkit's platform plugins (X11 and Wayland), the
# Italian translations of its dialogs and the font the layout was drawn with.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tallivo)
set(CPACK_PACKAGE_VENDOR Orvedel)
set(CPACK_PACKAGE_CONTACT "Tallivo developers <tallivo@orvedel.it>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "letter frequency analysis for learning cryptanalysis")
set(CPACK_PACKAGE_DESCRIPTION
    "Tallivo counts how often each of the 26 letters A to Z occurs in a text file,
without regard to case, and shows the counts and percentages as a report and
as a row of 26 bars that can be magnified up to eight times. It is a small
teaching tool for the basics of cryptanalysis, with an Italian interface.")
set(CPACK_PACKAGE_FILE_NAME tallivo_${PROJECT_VERSION}_${CMAKE_SYSTEM_PROCESSOR})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE http://${TALLIVO_WEB_HOST})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-wayland, qt6-translations-l10n, fonts-liberation")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
