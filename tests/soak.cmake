# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The soak: the whole game played at random, headless, for a stretch of game
# time. The tests run a short one; scripts/soak.sh runs the full hour.
set(VORTIGAN_SOAK_SECONDS 180 CACHE STRING "Game seconds the soak test plays")
add_executable(vortigan_soak ${CMAKE_CURRENT_SOURCE_DIR}/soak/soak_main.cpp)
target_link_libraries(vortigan_soak PRIVATE vortigan_core)
add_test(NAME soak_short
    COMMAND vortigan_soak --data ${VORTIGAN_DATA_DIR} --game-seconds ${VORTIGAN_SOAK_SECONDS})
set_tests_properties(soak_short PROPERTIES
    LABELS long
    TIMEOUT 900
    ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
