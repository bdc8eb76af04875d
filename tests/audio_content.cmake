# The checks on the baked sounds, tunes and Bink's lines link the music tool's
# pieces and need those files baked first.
if(TARGET vortigan_audio)
    target_link_libraries(vortigan_tests PRIVATE vortigan_audio)
    add_dependencies(vortigan_tests audio_data)
endif()
if(TARGET text_data)
    add_dependencies(vortigan_tests text_data)
endif()
