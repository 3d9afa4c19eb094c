# The Debian package (cpack -G DEB, see scripts/package.sh): everything the
# install rules put under the prefix, with dependencies found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Morvane developers")
set(CPACK_PACKAGE_CONTACT "Morvane developers <morvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "batch file renamer with a live preview")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Morvane renames many files and folders at once through a chain of renaming\n"
    "steps, with a preview that marks collisions. Nothing is ever overwritten by a\n"
    "rename, and every run can be undone.\n"
    ".\n"
    "This package holds the window morvane (in the application bundle\n"
    "Morvane 7.app, with the file-manager context menu it can install), the\n"
    "command-line program morvane-cli, their core library, the manual page, the\n"
    "shell completions and TSY HotKey, the background program of the global hot\n"
    "keys.\n"
    ".\n"
    "Licence: GPL-2.0-or-later.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/COPYING)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The core library ships in the package itself; dpkg-shlibdeps finds it there.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS usr/${CMAKE_INSTALL_LIBDIR})
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")
# The window runs natively on Wayland with Qt's Wayland platform, else through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_SOURCE_IGNORE_FILES "/build[^/]*/" "/\\\\.git/" "/wt/")
include(CPack)
