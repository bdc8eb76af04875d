# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The art bake's own tests, and the checks on the textures it bakes: the
# tests link the bake's pieces and need the textures baked first.
if(TARGET vortigan_bake_lib)
    target_link_libraries(vortigan_tests PRIVATE vortigan_bake_lib)
    target_compile_definitions(vortigan_tests PRIVATE
        VORTIGAN_BAKE_EXE="$<TARGET_FILE:vortigan_bake>")
    if(NOT VORTIGAN_PREBAKED_DATA)
        add_dependencies(vortigan_tests textures)
    else()  # another build baked them; the tool's own tests still run it
        add_dependencies(vortigan_tests vortigan_bake)
    endif()
endif()
