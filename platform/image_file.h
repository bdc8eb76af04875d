// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Picture files read and written through SDL_image, for the tools and the
// tests that look at baked pictures.

// Straight (not premultiplied) 8-bit RGBA, top row first, no row padding.
struct IMAGEPIXELS {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Rgba;
};

// Decodes a JPEG, BMP or PNG file. Returns false and says why in Error.
bool ReadImageFile(const std::string& Path, IMAGEPIXELS& Image, std::string& Error);

// Writes Width x Height texels of 8-bit RGB (3 bytes a texel, top row first)
// as a JPEG of the given quality (1 .. 100). Returns false and says why in
// Error; a failed write leaves no file behind.
bool WriteJpegFile(const std::string& Path, const uint8_t* Rgb, int Width, int Height, int Quality,
                   std::string& Error);

// Writes Width x Height texels of straight 8-bit RGBA (4 bytes a texel, top
// row first) as a PNG. Returns false and says why in Error; a failed write
// leaves no file behind.
bool WritePngFile(const std::string& Path, const uint8_t* Rgba, int Width, int Height,
                  std::string& Error);
