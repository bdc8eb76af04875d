# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the build into a scratch prefix and plays the installed program
# the way a player's desktop starts it: from a folder that has nothing of the
# game in it, with no --data, so it must find its data (GAMEDATADIR, e.g.
# share/vortigan) where it lies from the program's folder (BINDIR, e.g. bin).
#
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DBINDIR=bin -DDATADIR=share -DMANDIR=share/man
#         -DGAMEDATADIR=share/vortigan -DAPP_ID=... -DVERSION=...
#         -DICON_SIZES=48,64 [-DREPLAY=file]
#         -P installed_game.cmake
#
# With a level replay present it is played through to the next level;
# without one a short walk to the right shows the level was loaded.
cmake_minimum_required(VERSION 3.25)

foreach(var BUILD_DIR WORK_DIR BINDIR DATADIR MANDIR GAMEDATADIR APP_ID VERSION ICON_SIZES)
    if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
        message(FATAL_ERROR "installed_game.cmake wants -D${var}=...")
    endif()
endforeach()

set(prefix ${WORK_DIR}/prefix)
set(empty ${WORK_DIR}/empty)
set(user ${WORK_DIR}/user)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${prefix} ${empty} ${user})

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${status}):\n${out}")
endif()

# Everything in its XDG place under the prefix.
set(game ${prefix}/${BINDIR}/vortigan)
set(share ${prefix}/${DATADIR})
set(desktop ${share}/applications/${APP_ID}.desktop)
set(wanted
    ${game}
    ${prefix}/${GAMEDATADIR}/map/stage1-1.map
    ${prefix}/${GAMEDATADIR}/textures/hero.dds
    ${desktop}
    ${share}/metainfo/${APP_ID}.metainfo.xml
    ${share}/icons/hicolor/scalable/apps/${APP_ID}.svg
    ${prefix}/${MANDIR}/man6/vortigan.6)
string(REPLACE "," ";" sizes "${ICON_SIZES}")
foreach(size ${sizes})
    list(APPEND wanted ${share}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
foreach(f ${wanted})
    if(NOT EXISTS ${f} OR IS_DIRECTORY ${f})
        message(FATAL_ERROR "the install lacks ${f}")
    endif()
endforeach()

# Each PNG is really of its folder's size: width and height stand in the
# IHDR chunk, bytes 16 to 23, after the 8-byte signature.
foreach(size ${sizes})
    set(png ${share}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
    file(READ ${png} head LIMIT 24 HEX)
    string(SUBSTRING "${head}" 0 16 signature)
    string(SUBSTRING "${head}" 32 8 width)
    string(SUBSTRING "${head}" 40 8 height)
    math(EXPR width "0x${width}")
    math(EXPR height "0x${height}")
    if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT width EQUAL size
       OR NOT height EQUAL size)
        message(FATAL_ERROR "${png} is not a ${size} x ${size} PNG (${width} x ${height})")
    endif()
endforeach()

# The menu entry starts the program that was installed, with the icon that was.
file(STRINGS ${desktop} entry)
if(NOT "Exec=vortigan" IN_LIST entry OR NOT "Icon=${APP_ID}" IN_LIST entry)
    message(FATAL_ERROR "${desktop} does not start vortigan with the icon ${APP_ID}")
endif()

# The metainfo's newest release is the version the program reports.
execute_process(COMMAND ${game} --version
    RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE said)
if(NOT status EQUAL 0 OR NOT said STREQUAL "vortigan ${VERSION}\n")
    message(FATAL_ERROR "vortigan --version said '${said}' (${status}), not 'vortigan ${VERSION}'")
endif()
file(READ ${share}/metainfo/${APP_ID}.metainfo.xml metainfo)
string(REGEX MATCH "<release version=\"([^\"]*)\"" release "${metainfo}")
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
    message(FATAL_ERROR "the metainfo's newest release is '${CMAKE_MATCH_1}', "
                        "the program's version ${VERSION}")
endif()

# The input: the level's replay where there is one, else a walk.
set(script ${WORK_DIR}/walk.txt)
if(DEFINED REPLAY AND EXISTS ${REPLAY})
    file(STRINGS ${REPLAY} lines)
    set(last 0)
    foreach(line ${lines})
        if(line MATCHES "^[ \t]*([0-9]+)[ \t]+([-+])F1")
            message(FATAL_ERROR "${REPLAY} skips the level with F1")
        endif()
        if(line MATCHES "^[ \t]*([0-9]+)[ \t]" AND CMAKE_MATCH_1 GREATER last)
            set(last ${CMAKE_MATCH_1})
        endif()
    endforeach()
    set(script ${REPLAY})
    # Room after the last key for the landing and the level-end fade, or
    # past the frame the solver's summary says the level ends on.
    math(EXPR frames "${last} + 600")
    string(REGEX REPLACE "\\.txt$" ".summary" summary "${REPLAY}")
    if(EXISTS ${summary})
        file(STRINGS ${summary} ends REGEX "^frame [0-9]+$")
        if(ends MATCHES "^frame ([0-9]+)$" AND CMAKE_MATCH_1 GREATER_EQUAL frames)
            math(EXPR frames "${CMAKE_MATCH_1} + 120")
        endif()
    endif()
    set(through TRUE)
else()
    # The title card holds the level still for three seconds (180 frames).
    file(WRITE ${script} "200 +RIGHT\n380 -RIGHT\n")
    set(frames 400)
    set(through FALSE)
endif()

set(trace ${WORK_DIR}/trace.csv)
execute_process(COMMAND ${game} --headless --frames ${frames} --fixed-dt 0.0166667
        --level 0 --input ${script} --trace ${trace} --user-dir ${user}
    WORKING_DIRECTORY ${empty}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the installed game failed (${status}):\n${out}")
endif()
if(out MATCHES "no data folder")
    message(FATAL_ERROR "the installed game did not find its data:\n${out}")
endif()

# It wrote nothing where it was started.
file(GLOB left ${empty}/*)
if(left)
    message(FATAL_ERROR "the installed game left files in its working folder: ${left}")
endif()

# The trace: frame,state,level,x,y,... one line a frame.
file(STRINGS ${trace} rows)
list(LENGTH rows count)
math(EXPR expected "${frames} + 1")
if(NOT count EQUAL expected)
    message(FATAL_ERROR "the trace has ${count} lines, not ${expected}")
endif()
list(GET rows 1 first)
list(GET rows -1 final)
string(REPLACE "," ";" first "${first}")
string(REPLACE "," ";" final "${final}")
list(GET first 1 state)
list(GET first 2 level)
list(GET first 3 startX)
list(GET final 3 endX)
if(NOT state EQUAL -1 OR NOT level EQUAL 0)
    message(FATAL_ERROR "the installed game did not start level 1-1 "
                        "(state ${state}, level ${level}): its map was not found")
endif()
if(through)
    set(reached 0)
    foreach(row ${rows})
        if(row MATCHES "^[0-9]+,-1,1,")
            set(reached 1)
            break()
        endif()
    endforeach()
    if(NOT reached)
        message(FATAL_ERROR "the replay ${REPLAY} did not finish level 1-1")
    endif()
else()
    # Whole pixels are enough: the walk covers far more than the margin.
    string(REGEX MATCH "^-?[0-9]+" startX "${startX}")
    string(REGEX MATCH "^-?[0-9]+" endX "${endX}")
    math(EXPR moved "${endX} - ${startX}")
    if(moved LESS 100)
        message(FATAL_ERROR "the hero walked ${moved} px to the right in three seconds, "
                            "not 100 or more: the level did not play")
    endif()
endif()
message(STATUS "installed into ${prefix}; level 1-1 played from an empty folder")
