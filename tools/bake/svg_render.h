// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A cairo ARGB32 picture: premultiplied, native-endian 32-bit words.
struct PREMULTIPLIEDIMAGE {
    int Width = 0;
    int Height = 0;
    int Stride = 0;  // bytes a row
    std::vector<uint8_t> Data;
};

// Renders the SVG scaled to fill exactly Width x Height pixels (stretched if
// its own size differs; Note then says so). Anything the drawing puts outside
// its frame is cut off. Throws BAKEERROR when the file is missing or broken.
PREMULTIPLIEDIMAGE RenderSvg(const std::filesystem::path& Svg, int Width, int Height,
                             std::string* Note);
