# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The manual page lists every option --help prints, and man renders it
# without a warning.
foreach(mode options render)
    add_test(NAME manual_page_${mode}
        COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:vortigan> -DPAGE=${VORTIGAN_MAN_PAGE}
                -DMODE=${mode} -P ${CMAKE_CURRENT_SOURCE_DIR}/install/manual_page.cmake)
endforeach()
set_tests_properties(manual_page_render PROPERTIES SKIP_REGULAR_EXPRESSION "man is not installed")
