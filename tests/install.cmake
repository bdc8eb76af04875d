# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The game as a desktop installs it. The desktop entry and the software
# centre's metainfo must pass the desktop's own validators (scripts/setup.sh
# installs them), and a copy installed into a scratch prefix must find its
# data beside itself and play from an empty folder.
add_test(NAME desktop_entry_valid
    COMMAND desktop-file-validate ${VORTIGAN_DESKTOP_SOURCES}/${VORTIGAN_APP_ID}.desktop)
add_test(NAME metainfo_valid
    COMMAND ${CMAKE_COMMAND}
            -DMETAINFO=${VORTIGAN_DESKTOP_SOURCES}/${VORTIGAN_APP_ID}.metainfo.xml
            -P ${CMAKE_CURRENT_SOURCE_DIR}/install/metainfo_valid.cmake)
# desktop-file-validate passes an entry with only hints; anything it prints
# is worth a fix.
set_tests_properties(desktop_entry_valid PROPERTIES FAIL_REGULAR_EXPRESSION "error|warning|hint")

add_test(NAME installed_game_plays
    COMMAND ${CMAKE_COMMAND}
            -DBUILD_DIR=${CMAKE_BINARY_DIR}
            -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/installed-game
            -DBINDIR=${VORTIGAN_INSTALL_BINDIR}
            -DDATADIR=${CMAKE_INSTALL_DATADIR}
            -DMANDIR=${CMAKE_INSTALL_MANDIR}
            -DGAMEDATADIR=${VORTIGAN_INSTALL_DATADIR}
            -DAPP_ID=${VORTIGAN_APP_ID}
            -DVERSION=${PROJECT_VERSION}
            -DICON_SIZES=48,64,128,256
            -DREPLAY=${CMAKE_CURRENT_SOURCE_DIR}/replays/level00.txt
            -P ${CMAKE_CURRENT_SOURCE_DIR}/install/installed_game.cmake)
set_tests_properties(installed_game_plays PROPERTIES
    TIMEOUT 600
    ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
