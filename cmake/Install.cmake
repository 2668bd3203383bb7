# SPDX-License-Identifier: GPL-3.0-or-later
# Installed like a desktop game on Debian: the program's folder under lib (its sounds, banners, help, sound
# library and board library are installed there by assets/, voice/ and network/), the command in games/, an
# entry with its icon in the applications menu, the manual page in English and Spanish, and the licence and
# changelog (cmake/Documents.cmake).
install(TARGETS cantabola RUNTIME DESTINATION ${CANTABOLA_INSTALL_DIR})

# Debian keeps games' commands in /usr/games and /usr/local/games, both on a user's PATH (not on root's).
# -DCANTABOLA_INSTALL_COMMAND_DIR=bin puts the command in bin/ instead, e.g. for `--prefix ~/.local`.
set(CANTABOLA_INSTALL_COMMAND_DIR games CACHE STRING
    "Folder under the installation prefix for the command cantabola (games or bin)")
# The prefix is read when installing, not when configuring: `cmake --install --prefix` and CPack (which
# installs under /usr) choose it then. The link is relative, so the installed tree can be moved.
file(RELATIVE_PATH CANTABOLA_COMMAND_TO_PROGRAM /prefix/${CANTABOLA_INSTALL_COMMAND_DIR} /prefix/${CANTABOLA_INSTALL_DIR})
install(CODE "
    set(cantabola_commanddir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CANTABOLA_INSTALL_COMMAND_DIR}\")
    message(STATUS \"Installing: \${cantabola_commanddir}/cantabola -> ${CANTABOLA_COMMAND_TO_PROGRAM}/cantabola\")
    file(MAKE_DIRECTORY \"\${cantabola_commanddir}\")
    file(CREATE_LINK \"${CANTABOLA_COMMAND_TO_PROGRAM}/cantabola\" \"\${cantabola_commanddir}/cantabola\" SYMBOLIC)
")

install(FILES ${CMAKE_SOURCE_DIR}/app/cantabola.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/doc/cantabola.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
    RENAME example.cantabola.cantabola.metainfo.xml)
install(FILES ${CMAKE_SOURCE_DIR}/assets/pictures/icono-256.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps
    RENAME cantabola.png)
install(FILES ${CMAKE_SOURCE_DIR}/assets/pictures/icono.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps
    RENAME cantabola.png)

install(FILES ${CMAKE_BINARY_DIR}/man/cantabola.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_BINARY_DIR}/man/es/cantabola.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/es/man6)
# The package's name, not the project's: GNUInstallDirs' DOCDIR would be share/doc/Cantabola.
install(FILES ${CMAKE_BINARY_DIR}/doc/copyright ${CMAKE_BINARY_DIR}/doc/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/cantabola)
