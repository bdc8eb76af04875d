// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

// Which parts of a picture are fully opaque. Drawn at full alpha, such a
// part looks the same copied as blended, and copying costs the software
// renderer a fraction of blending; so the sprite batch asks here before it
// draws, once per source rectangle.
class OPACITY {
public:
    // Nothing is opaque: every draw blends.
    OPACITY() = default;
    // From a picture's 32-bit ARGB pixels, `pitch` pixels a row.
    OPACITY(const uint32_t* argb, int width, int height, int pitch);
    // A picture without an alpha channel: opaque throughout.
    static OPACITY Throughout(int width, int height);

    bool Whole() const { return AllOpaque; }
    // True when every pixel of the rectangle (px) has alpha 255. A
    // rectangle reaching past the picture is not opaque.
    bool Opaque(int x, int y, int w, int h) const;

private:
    bool Scan(int x, int y, int w, int h) const;

    int Width = 0;  // px
    int Height = 0;
    bool AllOpaque = false;
    // Pixel by pixel, kept only for a picture with transparent parts:
    // 1 where alpha is 255.
    std::vector<uint8_t> Solid;
    // Rectangles asked about before: the tiles and frames a sheet is drawn
    // by are few, the draws many.
    mutable std::unordered_map<uint64_t, bool> Known;
};
