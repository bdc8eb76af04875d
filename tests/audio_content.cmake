# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The checks on the baked sounds, tunes and Bink's lines link the music tool's
# pieces and need those files baked first.
if(TARGET vortigan_audio)
    target_link_libraries(vortigan_tests PRIVATE vortigan_audio)
    if(NOT VORTIGAN_PREBAKED_DATA)  # else another build baked them
        add_dependencies(vortigan_tests audio_data)
    endif()
endif()
if(TARGET text_data)
    if(NOT VORTIGAN_PREBAKED_DATA)  # else another build baked them
        add_dependencies(vortigan_tests text_data)
    endif()
endif()
