// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A decoded DDS picture: straight (not premultiplied) ARGB, top row first.
struct DDS_IMAGE {
    int Width = 0;   // px
    int Height = 0;  // px
    std::vector<uint32_t> Pixels;
};

// Reads an uncompressed DDS file held in memory: 32-bit with or without
// alpha, 24-bit, and 16-bit 565/1555/4444 bit-mask formats. Anything else,
// and any header that does not add up (a truncated file, absurd sizes, zero
// masks), fails without reading past the end.
bool DecodeDds(const uint8_t* data, size_t size, DDS_IMAGE* image);
