# SPDX-License-Identifier: GPL-3.0-or-later

# The Debian package of the program, made by `cpack -G DEB` in the build
# folder. It holds everything the install rules install: the two programs,
# their manual pages, the desktop files, the copyright and the changelog;
# helpers, tests and benchmarks have no install rules.

set(CPACK_PACKAGE_NAME kostwerk)
set(CPACK_PACKAGE_VENDOR "Kostwerk-Projekt")
set(CPACK_PACKAGE_CONTACT "Kostwerk-Projekt <${KOSTWERK_CONTACT_MAIL}>")
set(CPACK_PACKAGE_HOMEPAGE_URL "${KOSTWERK_HOMEPAGE_URL}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "weekly menu of the university canteen (Refekt Küchenplan)")
# Kept to lines of Debian's width; CPack indents them for the control file.
set(CPACK_PACKAGE_DESCRIPTION [[
Kostwerk shows the current week's menu of the university canteens, one
weekday at a time, split into the canteen's meal categories. It downloads
the week page on request, keeps it for the next start and prints the whole
week. The interface is German.]])
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Native: the project packages its own sources, so the package's version is
# the project's, without a Debian revision, and its changelog is
# changelog.gz (see packaging/CMakeLists.txt).
set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps finds the Qt and C++ libraries the programs link. It cannot
# see what is loaded at run time: the input-method plugins that make dead keys
# and compose sequences work under X11 come with qt6-qpa-plugins, which Qt's
# GUI library only recommends. The German texts of Qt's own dialogs and menus
# come with qt6-translations-l10n, which no Qt library asks for; without it
# those speak English, so it is recommended, not required. Downloads over
# https need the CA certificates.
# Without qt6-wayland the program runs through XWayland in a Wayland session,
# which is fine for one small window and spares the Qt Quick libraries that
# package brings.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "ca-certificates, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")

# The source release, made by `cpack --config CPackSourceConfig.cmake`: one
# kostwerk-<version>.tar.xz of the source folder without what git ignores
# and git's own folder, which is what git tracks in a clean checkout.
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_PACKAGE_FILE_NAME kostwerk-${PROJECT_VERSION})
# Escaped twice: CPack reads the patterns back from its own configuration file.
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git(/|$)" "/build[^/]*/" "/out/" "\\\\.user$")

include(CPack)
