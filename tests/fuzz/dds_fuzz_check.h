// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Any bytes as a DDS file: the reader either refuses them or gives a picture
// whose size the header states and whose pixels the file holds in full.
// Returns an empty string when all is well, otherwise what went wrong.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/dds.h"

inline std::string CheckDdsBytes(const uint8_t* data, size_t size) {
    DDS_IMAGE image;
    if (!DecodeDds(data, size, &image)) {
        return "";
    }
    if (image.Width <= 0 || image.Height <= 0 || image.Width > 16384 || image.Height > 16384) {
        return "accepted a picture of " + std::to_string(image.Width) + " x " +
               std::to_string(image.Height);
    }
    if (image.Pixels.size() != size_t(image.Width) * size_t(image.Height)) {
        return "pixel count does not match the size";
    }
    // The header's size and depth, as the file states them.
    auto read32 = [data](size_t at) {
        return uint32_t(data[at]) | uint32_t(data[at + 1]) << 8 | uint32_t(data[at + 2]) << 16 |
               uint32_t(data[at + 3]) << 24;
    };
    if (read32(12) != uint32_t(image.Height) || read32(16) != uint32_t(image.Width)) {
        return "the picture's size is not the header's";
    }
    const uint32_t bits = read32(88);
    const size_t needed = 128 + size_t(image.Width) * size_t(image.Height) * (bits / 8);
    if (bits % 8 != 0 || bits < 16 || bits > 32 || size < needed) {
        return "accepted a file too short for its pixels";
    }
    // One byte less must be refused when the pixels just fit.
    if (size == needed && DecodeDds(data, size - 1, &image)) {
        return "accepted a file one byte short";
    }
    return "";
}
