# The Debian package (cpack -G DEB): the three programs under /opt/orvo2, the launcher
# /usr/bin/orvo2 that gives ~/Orvo-2 the default database on first use, desktop entries and
# icons. Library dependencies come from dpkg-shlibdeps; the fonts are named here.
if(NOT ORVO_BUILD_GUI)
    return()
endif()

install(TARGETS Orvo2 O2_Check orvo RUNTIME DESTINATION opt/orvo2)
install(PROGRAMS ${CMAKE_CURRENT_LIST_DIR}/deb/orvo2 DESTINATION usr/bin)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/deb/orvo2.desktop
              ${CMAKE_CURRENT_LIST_DIR}/deb/orvo2-check.desktop
        DESTINATION usr/share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/src/setup/icons/orvo2.png
              ${PROJECT_SOURCE_DIR}/src/setup/icons/orvo2-check.png
        DESTINATION usr/share/icons/hicolor/48x48/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvo2)
set(CPACK_PACKAGE_VENDOR "Orvo2")
set(CPACK_PACKAGE_CONTACT "Orvo2 developers <orvo2@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Drafting of engineering-geological cross-sections")
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, fonts-dejavu-core")
include(CPack)
