# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package of the program, built by `make package` (cpack -G DEB in the build folder). It holds
# what `cmake --install` puts under /usr: the program's folder /usr/lib/cantabola with its sounds, banners
# and help, the command /usr/bin/cantabola, the applications-menu entry and the icons.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cantabola)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Cantabola")
set(CPACK_PACKAGE_CONTACT "Cantabola developers <cantabola@cantabola.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Caller for the 90-ball game of bingo, in Spanish")
set(CPACK_PACKAGE_DESCRIPTION
    "Cantabola draws the balls 1 to 90 without repetition, shows each number large and marks it on a board
of 90, says it aloud from recorded Spanish words, and calls one ball per click or automatically with a
delay. It also generates, colours and prints one to four bingo cards.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${CANTABOLA_AUTHORS_URL}")
# The libraries the program links to (Qt, SDL2_mixer, the C++ runtime) are found by dpkg-shlibdeps. What
# it cannot see is named here: the faces the windows are drawn in (Liberation Sans for Arial and MS Sans
# Serif, DejaVu Sans Condensed for Impact), Qt's Spanish translations of its own buttons, and Qt's window
# system plugins, without which the program cannot open a window at all.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-liberation2, fonts-dejavu-core, fonts-dejavu-extra, qt6-qpa-plugins, qt6-translations-l10n")
# Opening the banners' and the authors' web pages from a desktop.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
