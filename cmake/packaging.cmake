# The Debian package: `cpack -G DEB` in a release build makes velmora_VERSION_ARCH.deb with
# both programs, the desktop entry, the icon and the Redcode file type. The libraries the
# programs link are found by dpkg-shlibdeps (package dpkg-dev); only what Qt loads at run
# time, and so no linker can see, is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_CONTACT "Velmora developers <velmora@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Redcode (Core War) battle simulator")
set(CPACK_PACKAGE_DESCRIPTION
    "Velmora assembles Redcode warriors, runs their battles and tournaments, shows the core\n\
as it fills, and lets you step, inspect and edit a battle. velmora-cli runs the same\n\
tournaments from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window system plugins (xcb, wayland) of Qt.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The SVG image plugin draws the window icon; the MIME database and the desktop database
# pick up the file type and the entry through their dpkg triggers.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6svg6, shared-mime-info, desktop-file-utils")
include(CPack)
