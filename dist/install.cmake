# What `cmake --install` puts under the prefix, and the Debian package that
# `cpack -G DEB` makes from it. The file list is checked by tests/dist.
include(GNUInstallDirs)

set(ZARVO_DIST_DIR ${CMAKE_CURRENT_LIST_DIR})
# Named after the package, which is zarvo in lower case.
set(ZARVO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zarvo)
configure_file(${ZARVO_DIST_DIR}/zarvo.1.in ${CMAKE_BINARY_DIR}/dist/zarvo.1 @ONLY)
configure_file(${ZARVO_DIST_DIR}/org.zarvo.zarvo.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/dist/org.zarvo.zarvo.metainfo.xml @ONLY)

# The licence terms of LICENSE as the paragraph of a Debian copyright file:
# each line indented by one space, an empty line written as " .".
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(FIND "${license}" "Permission is hereby granted" termsStart)
string(SUBSTRING "${license}" ${termsStart} -1 terms)
string(STRIP "${terms}" terms)
string(REPLACE "\n\n" "\n.\n" terms "${terms}")
string(REPLACE "\n" "\n " ZARVO_LICENSE_TERMS " ${terms}")
configure_file(${ZARVO_DIST_DIR}/copyright.in ${CMAKE_BINARY_DIR}/dist/copyright @ONLY)

# Debian keeps man pages and changelogs compressed, without a time stamp in
# the gzip header so that the package is the same on every build.
function(zarvo_gzip input output)
  execute_process(COMMAND gzip -9 -n -c ${input} OUTPUT_FILE ${output} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip ${input}: ${status}")
  endif()
endfunction()
zarvo_gzip(${CMAKE_BINARY_DIR}/dist/zarvo.1 ${CMAKE_BINARY_DIR}/dist/zarvo.1.gz)
zarvo_gzip(${ZARVO_DIST_DIR}/changelog ${CMAKE_BINARY_DIR}/dist/changelog.gz)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ZARVO_DIST_DIR}/changelog)

install(TARGETS zarvo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The sample script and its picture, copied to the user's data folder on the
# first start of an installed program.
install(FILES ${PROJECT_SOURCE_DIR}/resources/GUI_All.txt ${PROJECT_SOURCE_DIR}/resources/zarvo.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/zarvo)
install(FILES ${ZARVO_DIST_DIR}/zarvo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/dist/org.zarvo.zarvo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_BINARY_DIR}/dist/zarvo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${ZARVO_DIST_DIR}/zarvo-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME zarvo.xml)
# The user documentation, which the help window shows (../share/doc/zarvo
# beside the executable's folder), with the machine-readable licence and the
# changelog where Debian looks for them.
install(FILES ${PROJECT_SOURCE_DIR}/docs/accessibility.md ${PROJECT_SOURCE_DIR}/docs/control-panel.md
              ${PROJECT_SOURCE_DIR}/docs/limits.md
              ${PROJECT_SOURCE_DIR}/docs/script-language.md ${PROJECT_SOURCE_DIR}/docs/script-reference.md
              ${PROJECT_SOURCE_DIR}/docs/shell-mode.md ${CMAKE_BINARY_DIR}/dist/copyright
              ${CMAKE_BINARY_DIR}/dist/changelog.gz
        DESTINATION ${ZARVO_DOC_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/docs/examples/login.zarvo DESTINATION ${ZARVO_DOC_DIR}/examples)
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
