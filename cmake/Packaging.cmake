# Installation (cmake --install) and the Debian package (cpack -G DEB, scripts/package.sh):
# the three programs, the desktop entry and its icon, and the udev rule for the board's port.
include(GNUInstallDirs)

install(TARGETS varnow varnow-cli varno-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/res/varnow.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/res/images/app.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps RENAME varnow.png)
install(FILES ${PROJECT_SOURCE_DIR}/res/70-varno-boards.rules DESTINATION lib/udev/rules.d)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varno-writer)
set(CPACK_PACKAGE_VENDOR "Varno Writer developers")
set(CPACK_PACKAGE_CONTACT "Varno Writer developers <varnow@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "writes file systems and firmware into Varno boards; edits their settings")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-nanum")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/res/debian/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
