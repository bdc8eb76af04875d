# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The manual page against the program it describes:
#   cmake -DEXE=vortigan -DPAGE=vortigan.6 -DMODE=options|render -P manual_page.cmake
# options: every option `vortigan --help` prints is in the page;
# render: man formats the page without a warning (skipped without man).
cmake_minimum_required(VERSION 3.25)

if(MODE STREQUAL "options")
    execute_process(COMMAND ${EXE} --help RESULT_VARIABLE status OUTPUT_VARIABLE help)
    file(READ ${PAGE} page)
    string(REGEX MATCHALL "\n  --[a-z-]+" options "${help}")
    if(NOT status EQUAL 0 OR NOT options)
        message(FATAL_ERROR "vortigan --help failed (${status}) or listed no options:\n${help}")
    endif()
    foreach(option ${options})
        string(STRIP "${option}" option)
        # roff writes each minus sign of an option as \-.
        string(REPLACE "-" "\\-" roff "${option}")
        string(FIND "${page}" "\\fB${roff}\\fR" at)
        if(at LESS 0)
            message(FATAL_ERROR "${PAGE} does not list ${option}")
        endif()
    endforeach()
elseif(MODE STREQUAL "render")
    find_program(MAN man)
    if(NOT MAN)
        message("man is not installed: nothing to render with")
        return()
    endif()
    set(ENV{MANWIDTH} 80)
    execute_process(COMMAND ${MAN} --warnings -l ${PAGE}
        RESULT_VARIABLE status OUTPUT_VARIABLE text ERROR_VARIABLE warnings)
    if(NOT status EQUAL 0 OR NOT warnings STREQUAL "" OR NOT text MATCHES "--user-dir DIR")
        message(FATAL_ERROR "man -l ${PAGE} (${status}):\n${warnings}")
    endif()
else()
    message(FATAL_ERROR "manual_page.cmake wants -DMODE=options or render")
endif()
