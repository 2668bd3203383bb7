# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package of the program, built by `make package` (cpack -G DEB in the build folder). It holds
# what `cmake --install` puts under /usr: the program's folder /usr/lib/cantabola with its sounds, banners,
# help and sound library, the command /usr/games/cantabola, the applications-menu entry and the icons, the
# manual page cantabola(6) in English and Spanish, and /usr/share/doc/cantabola/copyright and changelog.gz.
# tools/ci-package-check checks it with lintian, which must report no error and no warning.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cantabola)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Cantabola")
set(CPACK_PACKAGE_CONTACT "${CANTABOLA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Caller for the 90-ball game of bingo, in Spanish")
# Debian's limit for a line of the description is 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Cantabola draws the balls 1 to 90 without repetition, shows each number
large and marks it on a board of 90, says it aloud from recorded Spanish
words, and calls one ball per click or automatically with a delay. It also
generates, colours and prints one to four bingo cards.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${CANTABOLA_AUTHORS_URL}")
# The libraries the program and its sound and board libraries link to (Qt, SDL2_mixer, the C++ runtime) are
# found by dpkg-shlibdeps when cpack starts (cmake/PackageDepends.cmake.in), not by CPack's own scan
# (CPACK_DEBIAN_PACKAGE_SHLIBDEPS): that scan takes any shared object under /usr/lib for a public library
# and has postinst and postrm call ldconfig, which the private modules in /usr/lib/cantabola
# (cantabola_sound.so, cantabola_board.so), loaded by path, do not need. What dpkg-shlibdeps cannot see is named here: the faces the windows are
# drawn in (Liberation Sans for Arial and MS Sans Serif, DejaVu Sans Condensed for Impact), Qt's Spanish
# translations of its own buttons, Qt's window system plugins, without which the program cannot open a
# window at all, and Qt SQL's SQLite driver, a plugin the card registry loads by name.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
string(JOIN ", " CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation2 fonts-dejavu-core fonts-dejavu-extra qt6-qpa-plugins
    qt6-translations-l10n libqt6sql6-sqlite)
set(CPACK_CANTABOLA_SHLIBDEPS_DIR ${CMAKE_BINARY_DIR}/shlibdeps)
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/PackageDepends.cmake INPUT ${CMAKE_SOURCE_DIR}/cmake/PackageDepends.cmake.in)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/PackageDepends.cmake)
# Opening the banners' and the authors' web pages from a desktop.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
