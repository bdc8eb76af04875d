// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/levels/level_source.h"

#include <algorithm>
#include <sstream>

namespace {

// The ten pieces every stage's row of the tile sheet holds, by column.
enum PIECE {
    GROUND_TOP = 1,
    FILL = 2,
    TOP_LEFT_END = 3,
    TOP_RIGHT_END = 4,
    WALL_LEFT = 5,
    WALL_RIGHT = 6,
    PLATFORM_LEFT = 7,
    PLATFORM_MIDDLE = 8,
    PLATFORM_RIGHT = 9,
    BLOCK = 10,
};

constexpr int PIECES_PER_STAGE = 10;

bool IsKnown(char c) {
    switch (c) {
        case '.':
        case '#':
        case '=':
        case 'X':
        case 'S':
        case 'T':
        case 'B':
            return true;
        default:
            return false;
    }
}

char At(const LEVEL_SOURCE& level, int column, int row) {
    if (row < 0 || row >= int(level.Rows.size())) {
        return '.';
    }
    const std::string& line = level.Rows[row];
    if (column < 0 || column >= int(line.size())) {
        return '.';
    }
    return line[column];
}

// Ground runs on past the level's left and right borders and below its
// bottom, so a border never shows a wall face or a rounded end.
bool GroundAt(const LEVEL_SOURCE& level, int column, int row) {
    if (row >= LEVEL_ROWS) {
        return true;
    }
    int width = level.Rows.empty() ? 0 : int(level.Rows[0].size());
    if (column < 0) {
        column = 0;
    } else if (column >= width) {
        column = width - 1;
    }
    return At(level, column, row) == '#';
}

int GroundPiece(const LEVEL_SOURCE& level, int column, int row) {
    bool openLeft = !GroundAt(level, column - 1, row);
    bool openRight = !GroundAt(level, column + 1, row);
    if (!GroundAt(level, column, row - 1)) {
        // Nothing solid above: a walking surface.
        if (openLeft && !openRight) {
            return TOP_LEFT_END;
        }
        if (openRight && !openLeft) {
            return TOP_RIGHT_END;
        }
        return GROUND_TOP;
    }
    if (openLeft && !openRight) {
        return WALL_LEFT;
    }
    if (openRight && !openLeft) {
        return WALL_RIGHT;
    }
    return FILL;
}

int PlatformPiece(const LEVEL_SOURCE& level, int column, int row) {
    bool left = At(level, column - 1, row) == '=';
    bool right = At(level, column + 1, row) == '=';
    if (left && !right) {
        return PLATFORM_RIGHT;
    }
    if (right && !left) {
        return PLATFORM_LEFT;
    }
    return PLATFORM_MIDDLE;
}

}  // namespace

bool ParseLevelSource(const std::string& text, LEVEL_SOURCE* level, std::string* error) {
    LEVEL_SOURCE out;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    bool stageSeen = false;
    size_t width = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || (line[0] == '#' && (line.size() == 1 || line[1] == ' '))) {
            continue;
        }
        if (line.rfind("stage ", 0) == 0) {
            std::string value = line.substr(6);
            if (value != "1" && value != "2" && value != "3") {
                *error = "line " + std::to_string(number) + ": the stage is 1, 2 or 3";
                return false;
            }
            out.Stage = value[0] - '0';
            stageSeen = true;
            continue;
        }
        for (size_t i = 0; i < line.size(); ++i) {
            if (!IsKnown(line[i])) {
                *error = "line " + std::to_string(number) + ", column " + std::to_string(i) +
                         ": unknown character '" + line[i] + "'";
                return false;
            }
        }
        out.Rows.push_back(line);
        width = std::max(width, line.size());
    }
    if (!stageSeen) {
        *error = "no \"stage N\" line";
        return false;
    }
    if (out.Rows.size() != size_t(LEVEL_ROWS)) {
        *error = "a level has " + std::to_string(LEVEL_ROWS) + " rows, this one " +
                 std::to_string(out.Rows.size());
        return false;
    }
    for (std::string& row : out.Rows) {
        row.resize(width, '.');
    }
    *level = std::move(out);
    return true;
}

std::vector<std::vector<int>> TileValues(const LEVEL_SOURCE& level) {
    int offset = (level.Stage - 1) * PIECES_PER_STAGE;
    std::vector<std::vector<int>> tiles;
    for (int row = 0; row < int(level.Rows.size()); ++row) {
        std::vector<int> values;
        for (int column = 0; column < int(level.Rows[row].size()); ++column) {
            int piece = 0;
            switch (level.Rows[row][column]) {
                case '#':
                    piece = GroundPiece(level, column, row);
                    break;
                case '=':
                    piece = PlatformPiece(level, column, row);
                    break;
                case 'X':
                    piece = BLOCK;
                    break;
                default:
                    break;
            }
            values.push_back(piece == 0 ? 0 : piece + offset);
        }
        tiles.push_back(std::move(values));
    }
    return tiles;
}

std::string MapFileText(const std::vector<std::vector<int>>& tiles) {
    std::string text;
    for (const auto& row : tiles) {
        for (int value : row) {
            text += std::to_string(value);
            text += ' ';
        }
        text += "-1\n";
    }
    return text;
}

bool FindMarker(const LEVEL_SOURCE& level, char marker, int* column, int* row) {
    for (int r = 0; r < int(level.Rows.size()); ++r) {
        size_t c = level.Rows[r].find(marker);
        if (c != std::string::npos) {
            *column = int(c);
            *row = r;
            return true;
        }
    }
    return false;
}
