# What `cmake --install` puts under the prefix, and the Debian package that
# `cpack -G DEB` makes from it. The file list is checked by tests/dist.
include(GNUInstallDirs)

set(ZARVO_DIST_DIR ${CMAKE_CURRENT_LIST_DIR})
configure_file(${ZARVO_DIST_DIR}/zarvo.1.in ${CMAKE_BINARY_DIR}/dist/zarvo.1 @ONLY)
configure_file(${ZARVO_DIST_DIR}/org.zarvo.zarvo.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/dist/org.zarvo.zarvo.metainfo.xml @ONLY)

install(TARGETS zarvo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The sample script and its picture, copied to the user's data folder on the
# first start of an installed program.
install(FILES ${PROJECT_SOURCE_DIR}/resources/GUI_All.txt ${PROJECT_SOURCE_DIR}/resources/zarvo.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/zarvo)
install(FILES ${ZARVO_DIST_DIR}/zarvo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/dist/org.zarvo.zarvo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_BINARY_DIR}/dist/zarvo.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The user documentation, which the help window shows (../share/doc/zarvo
# beside the executable's folder).
install(FILES ${PROJECT_SOURCE_DIR}/docs/control-panel.md ${PROJECT_SOURCE_DIR}/docs/limits.md
              ${PROJECT_SOURCE_DIR}/docs/script-language.md ${PROJECT_SOURCE_DIR}/docs/script-reference.md
              ${PROJECT_SOURCE_DIR}/docs/shell-mode.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zarvo)
foreach(size 16 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/zarvo-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME zarvo.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/zarvo.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Debian package: dpkg-shlibdeps finds the Qt 6 and C++ runtime libraries the
# executable links; the platform plugins (X11, Wayland) are loaded at run time,
# so they are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zarvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn a line-oriented script into a live window")
set(CPACK_PACKAGE_DESCRIPTION
    "Zarvo builds a window with standard controls from a plain text script
with one command per line. Its control panel keeps the script in an editor
that saves after every edit; COMPILE runs the script and leaves the window
on screen, STEP COMPILE runs it one command at a time.")
set(CPACK_PACKAGE_CONTACT "Zarvo developers <dev@zarvo.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zarvo.org)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(CPack)
