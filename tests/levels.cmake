# The level checker over all twelve levels, in the game's own code.
if(TARGET vortigan_levelcheck)
    add_test(NAME level_check
        COMMAND vortigan_levelcheck --data ${VORTIGAN_DATA_DIR}
                --sources ${CMAKE_SOURCE_DIR}/assets/levels)
    set_tests_properties(level_check PROPERTIES
        ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
    # Each level's width, pits, highest step, buried hats and ends, for the
    # log: `ctest -V -R level_table` shows it. It passes whatever the design
    # rules find; the checker itself runs with --design once the levels are
    # redrawn to meet them.
    add_test(NAME level_table
        COMMAND vortigan_levelcheck --data ${VORTIGAN_DATA_DIR}
                --sources ${CMAKE_SOURCE_DIR}/assets/levels --table)
    set_tests_properties(level_table PROPERTIES
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
