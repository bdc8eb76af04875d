# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Names every code file whose first lines do not say its licence and its
# copyright the SPDX way, so a file added without them is caught.
#
#   cmake -DSOURCE_DIR=... -P spdx_headers.cmake
cmake_minimum_required(VERSION 3.25)

set(dirs app bench math objects platform scripts tests tools world)
set(files ${SOURCE_DIR}/CMakeLists.txt ${SOURCE_DIR}/.ci/run ${SOURCE_DIR}/debian/rules)
foreach(dir ${dirs})
    foreach(pattern *.cpp *.h *.cmake CMakeLists.txt *.sh)
        file(GLOB_RECURSE found ${SOURCE_DIR}/${dir}/${pattern})
        list(APPEND files ${found})
    endforeach()
endforeach()

set(missing)
foreach(f ${files})
    if(NOT EXISTS ${f})
        continue()
    endif()
    # The lines stand at the top, after a script's #! line.
    file(STRINGS ${f} head LIMIT_COUNT 4)
    # ([:] keeps REUSE's reading of this file from taking these for its tags.)
    if(NOT head MATCHES "SPDX-FileCopyrightText[:] " OR
       NOT head MATCHES "SPDX-License-Identifier[:] ")
        file(RELATIVE_PATH name ${SOURCE_DIR} ${f})
        list(APPEND missing ${name})
    endif()
endforeach()
list(LENGTH files count)
if(missing)
    list(JOIN missing "\n  " names)
    message(FATAL_ERROR "code files without SPDX-FileCopyrightText and "
                        "SPDX-License-Identifier lines at the top "
                        "(scripts/spdx-headers.sh adds them):\n  ${names}")
endif()
message(STATUS "${count} code files name their licence")
