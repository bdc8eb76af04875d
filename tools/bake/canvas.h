// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <vector>

#include "tools/bake/manifest.h"

// Straight-alpha RGBA pixels, top row first. Cairo and librsvg work in
// premultiplied ARGB32; their output is composited in here, so fills, texels
// and mirrors stay exact and the writers never see premultiplied colour.
class CANVAS {
public:
    CANVAS(int Width, int Height);

    int Width() const { return W; }
    int Height() const { return H; }
    const std::vector<RGBA>& Pixels() const { return Data; }

    RGBA At(int X, int Y) const { return Data[static_cast<size_t>(Y) * W + X]; }
    void Set(int X, int Y, RGBA Colour) { Data[static_cast<size_t>(Y) * W + X] = Colour; }

    // Sets every texel to the colour (no blending).
    void Fill(RGBA Colour);

    // Copies Source to (DestLeft, DestTop), flipped left to right. Source and
    // destination may overlap. Both must lie inside the canvas.
    void Mirror(const RECT& Source, int DestLeft, int DestTop);

    // Draws premultiplied cairo ARGB32 pixels (native-endian 32-bit words,
    // Stride bytes a row) over the area whose top-left is (Left, Top), with
    // the usual "over" operator.
    void DrawPremultiplied(const uint8_t* Argb32, int Stride, int Width, int Height, int Left,
                           int Top);

private:
    int W;
    int H;
    std::vector<RGBA> Data;
};

// One premultiplied ARGB32 word to straight colour, rounded to nearest.
RGBA Unpremultiply(uint32_t Argb32);

// Straight source over straight destination, premultiplied source given.
RGBA Over(uint32_t SourceArgb32, RGBA Dest);
