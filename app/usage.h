// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The command line's help, kept in this one place: `vortigan --help` prints
// it and the build writes the manual page from it (tools/man/). Plain data,
// so the page's generator takes it without the game around it.

struct USAGE_OPTION {
    const char* Name;     // "--level"
    const char* Value;    // what follows it ("N"), or "" when it takes nothing
    const char* Summary;  // the line --help prints beside it
    const char* Manual;   // more for the manual page only, or ""
};

namespace USAGE {

inline constexpr const char* SYNOPSIS = "vortigan [OPTION]...";
inline constexpr const char* TAGLINE = "A side-scrolling platform game.";

inline constexpr USAGE_OPTION OPTIONS[] = {
    {"--windowed", "", "play in a resizable window", ""},
    {"--fullscreen", "", "play full screen (the default)",
     "Without either, the screen mode is the one the settings keep: full screen until F11 or "
     "the Options screen changes it."},
    {"--no-vsync", "", "draw frames as fast as possible", ""},
    {"--level", "N", "start level N at once (0 is Level 1-1, 11 is Level 3-4)",
     "Levels 3, 7 and 11 end their stages with a boss."},
    {"--data", "DIR", "read the game's data from DIR", ""},
    {"--user-dir", "DIR", "keep progress, settings and the log in DIR",
     "It takes the place of both per-user folders named under FILES."},
    {"--headless", "", "run without a window or sound",
     "Every frame is worked out, but only those written with --screenshot are painted."},
    {"--frames", "N", "quit after N frames", ""},
    {"--fixed-dt", "S", "advance every frame by S seconds",
     "S is above 0 and at most 1; without it each frame advances by the time it took."},
    {"--input", "FILE", "play the input script FILE",
     "One event a line: FRAME +KEY, FRAME -KEY, FRAME mouse DX DY or FRAME dt SECONDS; "
     "# starts a comment. A bad line stops the game with the line's number."},
    {"--record", "FILE", "record this session's input to FILE",
     "The recording is an input script with the time of every frame, so --input replays "
     "it to the very same frames."},
    {"--screenshot", "N:FILE", "write frame N to FILE as a PNG (repeatable)", ""},
    {"--trace", "FILE", "write one CSV line per frame to FILE", ""},
    {"--help", "", "show this help", ""},
    {"--version", "", "show the version", ""},
};

// Paragraphs after the options, as --help breaks their lines.
inline constexpr const char* KEYS =
    "Keys: arrows walk and jump, hold Space to aim and charge the mega jump,\n"
    "P pauses, Escape leaves for the menu, F11 switches full screen,\n"
    "F12 saves a screenshot.\n";
inline constexpr const char* SETTINGS =
    "The Options screen's choices (volumes, display, keys, mega jump, flashing,\n"
    "level timer) are kept in ~/.config/vortigan/settings.cfg (or\n"
    "$XDG_CONFIG_HOME/vortigan/, or the --user-dir folder).\n";

}  // namespace USAGE
