# The level checker over all twelve levels, in the game's own code.
if(TARGET vortigan_levelcheck)
    add_test(NAME level_check
        COMMAND vortigan_levelcheck --data ${VORTIGAN_DATA_DIR}
                --sources ${CMAKE_SOURCE_DIR}/assets/levels)
    set_tests_properties(level_check PROPERTIES
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
