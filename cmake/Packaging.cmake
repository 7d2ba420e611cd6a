# Installation as any Linux program, and the Debian package built from it:
#   cmake --build --preset default && cd build/default && cpack -G DEB
# gives tabulon_<version>_amd64.deb, whose dependencies dpkg-shlibdeps reads from the binaries.
include(GNUInstallDirs)

install(TARGETS tabulon tabulon-inspect RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/tabulon.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/tabulon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Manual pages, compressed as Debian keeps them (gzip -n: the same bytes at every build).
foreach(page tabulon tabulon-inspect)
    configure_file(${CMAKE_SOURCE_DIR}/packaging/${page}.1.in ${CMAKE_BINARY_DIR}/man/${page}.1 @ONLY)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.1.gz
        COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/man/${page}.1
        DEPENDS ${CMAKE_BINARY_DIR}/man/${page}.1
        VERBATIM)
    list(APPEND TABULON_MAN_PAGES ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
endforeach()
add_custom_target(man-pages ALL DEPENDS ${TABULON_MAN_PAGES})
install(FILES ${TABULON_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The README is the manual: as written, and rendered with its pictures for the Help button.
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
if(TARGET manual)
    install(FILES ${TABULON_BUILD_MANUAL} DESTINATION ${CMAKE_INSTALL_DOCDIR})
    install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/screenshots DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tabulon)
set(CPACK_PACKAGE_VENDOR Corvane)
set(CPACK_PACKAGE_CONTACT "Tabulon developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "copy Microsoft Access databases into Microsoft SQL Server")
set(CPACK_PACKAGE_DESCRIPTION
    "Tabulon copies a Microsoft Access database (.mdb, .mde, .accdb, .accde, also one protected by a "
    "database password or a workgroup file) into Microsoft SQL Server: every table, type, key, default "
    "and record. It writes straight to a server over ODBC or into a .sql script, from a desktop wizard "
    "or unattended from the command line with a saved settings file.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION database)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A direct transfer needs an ODBC driver for SQL Server; FreeTDS is Debian's.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS tdsodbc)
include(CPack)
