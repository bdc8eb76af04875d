// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Compiles the drawn level sources into the game's map files:
//   vortigan_levels SOURCE.txt OUT.map

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/levels/level_source.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vortigan_levels SOURCE.txt OUT.map\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "vortigan_levels: cannot read %s\n", argv[1]);
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    LEVEL_SOURCE level;
    std::string error;
    if (!ParseLevelSource(text.str(), &level, &error)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << MapFileText(TileValues(level));
    if (!out) {
        std::fprintf(stderr, "vortigan_levels: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
