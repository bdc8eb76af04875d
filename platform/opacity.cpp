// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/opacity.h"

namespace {

constexpr uint32_t ALPHA_MASK = 0xFF000000u;

}  // namespace

OPACITY::OPACITY(const uint32_t* argb, int width, int height, int pitch)
    : Width(width), Height(height) {
    AllOpaque = width > 0 && height > 0;
    Solid.resize(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = argb + size_t(y) * size_t(pitch);
        for (int x = 0; x < width; ++x) {
            const bool solid = (row[x] & ALPHA_MASK) == ALPHA_MASK;
            Solid[size_t(y) * size_t(width) + size_t(x)] = solid ? 1 : 0;
            AllOpaque = AllOpaque && solid;
        }
    }
    if (AllOpaque) {
        Solid.clear();
        Solid.shrink_to_fit();
    }
}

OPACITY OPACITY::Throughout(int width, int height) {
    OPACITY opacity;
    opacity.Width = width;
    opacity.Height = height;
    opacity.AllOpaque = width > 0 && height > 0;
    return opacity;
}

bool OPACITY::Opaque(int x, int y, int w, int h) const {
    if (x < 0 || y < 0 || w <= 0 || h <= 0 || x + w > Width || y + h > Height) {
        return false;
    }
    if (AllOpaque) {
        return true;
    }
    // 16 bits a side hold any picture a texture can.
    const uint64_t key = uint64_t(uint16_t(x)) | uint64_t(uint16_t(y)) << 16 |
                         uint64_t(uint16_t(w)) << 32 | uint64_t(uint16_t(h)) << 48;
    auto found = Known.find(key);
    if (found != Known.end()) {
        return found->second;
    }
    const bool opaque = Scan(x, y, w, h);
    Known.emplace(key, opaque);
    return opaque;
}

bool OPACITY::Scan(int x, int y, int w, int h) const {
    if (Solid.empty()) {
        return false;
    }
    for (int row = y; row < y + h; ++row) {
        const uint8_t* solid = Solid.data() + size_t(row) * size_t(Width);
        for (int column = x; column < x + w; ++column) {
            if (!solid[column]) {
                return false;
            }
        }
    }
    return true;
}
