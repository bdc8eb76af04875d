# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The level checker over all twelve levels, in the game's own code.
if(TARGET vortigan_levelcheck)
    add_test(NAME level_check
        COMMAND vortigan_levelcheck --data ${VORTIGAN_DATA_DIR}
                --sources ${CMAKE_SOURCE_DIR}/assets/levels --design)
    set_tests_properties(level_check PROPERTIES
        ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
    # Each level's width, pits, highest step, buried hats and ends, for the
    # log: `ctest -V -R level_table` shows it.
    add_test(NAME level_table
        COMMAND vortigan_levelcheck --data ${VORTIGAN_DATA_DIR}
                --sources ${CMAKE_SOURCE_DIR}/assets/levels --table)
    set_tests_properties(level_table PROPERTIES
        ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
endif()

# What each level asks of the player, measured against the design: the
# replays' hops, mega jumps, wall bounces and walking, how far walking and
# hopping alone get, and that full jumps at the first aim cannot finish a
# stage 2 or 3 level. `ctest -V -R level_design` shows the table. The
# searches play thousands of copies of the game; the sanitizer build leaves
# them to this one.
if(TARGET vortigan_solve AND NOT VORTIGAN_SANITIZE)
    add_test(NAME level_design
        COMMAND vortigan_solve --data ${VORTIGAN_DATA_DIR}
                --design ${CMAKE_SOURCE_DIR}/tests/replays)
    set_tests_properties(level_design PROPERTIES LABELS long
        ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
endif()

# The solver's own way of playing a level, held against the replays the real
# game recorded.
if(TARGET vortigan_level_run)
    add_executable(vortigan_level_run_tests level_run_check.cpp test_support.cpp)
    target_link_libraries(vortigan_level_run_tests PRIVATE vortigan_level_run GTest::gtest
                          GTest::gtest_main)
    target_compile_definitions(vortigan_level_run_tests PRIVATE
        VORTIGAN_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
        VORTIGAN_BINARY_DIR="${CMAKE_BINARY_DIR}"
        VORTIGAN_DATA_DIR="${VORTIGAN_DATA_DIR}"
        VORTIGAN_EXE="$<TARGET_FILE:vortigan>")
    gtest_discover_tests(vortigan_level_run_tests DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
endif()

# The checker's own measures (flight lines, the map's ends, pits and steps)
# on small maps the tests draw.
if(TARGET vortigan_level_measure)
    add_executable(vortigan_level_measure_tests level_measure_check.cpp)
    target_link_libraries(vortigan_level_measure_tests PRIVATE vortigan_level_measure GTest::gtest
                          GTest::gtest_main)
    gtest_discover_tests(vortigan_level_measure_tests DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
endif()
