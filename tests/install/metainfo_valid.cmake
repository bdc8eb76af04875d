# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Validates the software centre's metainfo with every pedantic hint on and
# fails on any hint but the one below.
#
#   cmake -DMETAINFO=file.metainfo.xml -P metainfo_valid.cmake
#
# The <developer> block is the current way to name the developer, which
# Debian 12's appstreamcli (0.16) does not know yet: it says "unknown-tag
# developer", and the newer one calls the <developer_name> kept beside it for
# the older software centres deprecated. Either is the price of serving both.
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND appstreamcli validate --pedantic --no-net ${METAINFO}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
set(tolerated "unknown-tag developer$|developer-name-tag-deprecated")
string(REPLACE "\n" ";" lines "${out}")
set(hints)
foreach(line ${lines})
    if(line MATCHES "^[EWIP]: " AND NOT line MATCHES "${tolerated}")
        list(APPEND hints "${line}")
    endif()
endforeach()
if(NOT status EQUAL 0 OR hints)
    message(FATAL_ERROR "appstreamcli validate --pedantic (${status}):\n${out}")
endif()
message(STATUS "${out}")
