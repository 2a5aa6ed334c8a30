# The Debian package, made by CPack from the install rules (cmake/Install.cmake) with the
# prefix /usr:
#
#   tools/build-deb.sh        (or: cpack --config BUILD/CPackConfig.cmake -B OUTPUT_DIR)
#
# Depends is computed by dpkg-shlibdeps from the executables: the libraries of Qt, of Qt
# WebEngine (whose packages bring the browser engine's process and data) and of ICU, with
# the versions of this build machine.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelkohtml)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Quorvane")
set(CPACK_PACKAGE_CONTACT "Quorvane <zelkohtml@free.fr>")
set(CPACK_PACKAGE_HOMEPAGE_URL "http://zelkohtml.free.fr")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "format short messages in HTML with gradients, waves and marquees")
# English, then French. Read here rather than named as CPACK_PACKAGE_DESCRIPTION_FILE,
# which CPack would give with its apostrophes written as "&apos;".
file(READ "${CMAKE_SOURCE_DIR}/data/debian/description" CPACK_DEBIAN_PACKAGE_DESCRIPTION)
set(CPACK_RESOURCE_FILE_LICENSE "${CMAKE_SOURCE_DIR}/LICENSE")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # zelkohtml_VERSION_ARCH.deb
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its window-system plug-in at run time, where dpkg-shlibdeps cannot see it, and
# libqt6gui6 only recommends the package that holds it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The browser opened by the help and the previews, Qt's own French dialogs, and Qt's
# plug-in for Wayland desktops (without it the window goes through Xwayland there).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n, qt6-wayland")
# A browser whose address the image lists can capture.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "chromium")

include(CPack)
