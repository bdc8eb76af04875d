// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/bake/canvas.h"

#include <algorithm>
#include <cstring>

CANVAS::CANVAS(int Width, int Height)
    : W(Width), H(Height), Data(static_cast<size_t>(Width) * Height) {}

void CANVAS::Fill(RGBA Colour) {
    std::fill(Data.begin(), Data.end(), Colour);
}

void CANVAS::Mirror(const RECT& Source, int DestLeft, int DestTop) {
    // Read the whole source first: the copy may land on top of itself.
    std::vector<RGBA> Copy;
    Copy.reserve(static_cast<size_t>(Source.Width()) * Source.Height());
    for (int Y = Source.Top; Y < Source.Bottom; ++Y) {
        for (int X = Source.Left; X < Source.Right; ++X) {
            Copy.push_back(At(X, Y));
        }
    }
    const int SW = Source.Width();
    for (int Row = 0; Row < Source.Height(); ++Row) {
        for (int Column = 0; Column < SW; ++Column) {
            Set(DestLeft + SW - 1 - Column, DestTop + Row,
                Copy[static_cast<size_t>(Row) * SW + Column]);
        }
    }
}

void CANVAS::DrawPremultiplied(const uint8_t* Argb32, int Stride, int Width, int Height, int Left,
                               int Top) {
    for (int Row = 0; Row < Height; ++Row) {
        const int Y = Top + Row;
        if (Y < 0 || Y >= H) {
            continue;
        }
        for (int Column = 0; Column < Width; ++Column) {
            const int X = Left + Column;
            if (X < 0 || X >= W) {
                continue;
            }
            uint32_t Word;
            std::memcpy(&Word, Argb32 + static_cast<size_t>(Row) * Stride + Column * 4, 4);
            if ((Word >> 24) == 0 && (Word & 0xFFFFFF) == 0) {
                continue;  // nothing drawn here
            }
            Set(X, Y, Over(Word, At(X, Y)));
        }
    }
}

namespace {

// Rounded N / D for non-negative values, D > 0.
uint32_t DivideRounded(uint64_t N, uint64_t D) {
    return static_cast<uint32_t>((N + D / 2) / D);
}

uint8_t Clamp255(uint32_t V) {
    return static_cast<uint8_t>(std::min<uint32_t>(V, 255));
}

}  // namespace

RGBA Unpremultiply(uint32_t Argb32) {
    const uint32_t A = Argb32 >> 24;
    if (A == 0) {
        return {0, 0, 0, 0};
    }
    auto Channel = [&](int Shift) {
        const uint32_t C = (Argb32 >> Shift) & 0xFF;
        return Clamp255(DivideRounded(uint64_t{C} * 255, A));
    };
    return {Channel(16), Channel(8), Channel(0), static_cast<uint8_t>(A)};
}

RGBA Over(uint32_t SourceArgb32, RGBA Dest) {
    const uint32_t SA = SourceArgb32 >> 24;
    if (SA == 255 || Dest.A == 0) {
        return Unpremultiply(SourceArgb32);
    }
    // Work in whole numbers so nothing is rounded before the end: alpha is
    // SA + DA (1 - SA), colour the premultiplied sum over that alpha.
    const uint64_t Rest = uint64_t{Dest.A} * (255 - SA);  // dest weight, x 255 x 255
    const uint64_t Alpha = uint64_t{SA} * 255 + Rest;     // result alpha, x 255 x 255
    if (Alpha == 0) {
        return {0, 0, 0, 0};
    }
    auto Channel = [&](int Shift, uint8_t DestChannel) {
        const uint64_t SP = (SourceArgb32 >> Shift) & 0xFF;
        const uint64_t Sum = SP * 255 * 255 + uint64_t{DestChannel} * Rest;  // x 255^3
        return Clamp255(DivideRounded(Sum, Alpha));
    };
    return {Channel(16, Dest.R), Channel(8, Dest.G), Channel(0, Dest.B),
            Clamp255(DivideRounded(Alpha, 255))};
}
