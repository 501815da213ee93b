# A Debian package of the installed files: `cpack -G DEB` in a build folder
# (scripts/package does it). Its dependencies come from the libraries the
# programs link, through dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME tramble)
set(CPACK_PACKAGE_VENDOR "The Tramble developers")
set(CPACK_PACKAGE_CONTACT "The Tramble developers <tramble@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Launcher bar with a formula command box and tray monitors")
set(CPACK_PACKAGE_DESCRIPTION
    "Tramble is a small always-on-top launcher bar: application buttons above a command box that starts programs and evaluates formulas, with tray monitors for memory, battery, CPU, temperatures and network traffic, a bookmark menu, weather and clock synchronisation.")
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Plugins are loaded at run time, not linked: Wayland, SVG icons.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gnome-shell-extension-appindicator")
include(CPack)
