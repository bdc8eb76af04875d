# The level checker over all twelve levels, in the game's own code.
if(TARGET vortigan_levelcheck)
    add_test(NAME level_check
        COMMAND vortigan_levelcheck --data ${VORTIGAN_DATA_DIR}
                --sources ${CMAKE_SOURCE_DIR}/assets/levels)
    set_tests_properties(level_check PROPERTIES
        ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
endif()
