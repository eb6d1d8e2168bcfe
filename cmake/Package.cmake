# `make package`: a Debian package, tessra_<version>_amd64.deb, of everything the install
# rules put under /usr. Its library dependencies are read from the programs by
# dpkg-shlibdeps; what Qt loads as plugins cannot be read that way and is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "TESSRA")
set(CPACK_PACKAGE_CONTACT "TESSRA developers <tessra@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tile map editor for console game projects")
# CPack puts the summary first and indents these lines under it.
set(CPACK_PACKAGE_DESCRIPTION
    "TESSRA paints 256 x 256 tile maps from PCX tilesets and writes them out as the
bytes a game's build reads. tessra-cli does the same file work without a
window, for scripts and build servers.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window system's plugins (xcb, offscreen) and the database driver the help viewer
# reads its collection with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme")
include(CPack)
