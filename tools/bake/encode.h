// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "tools/bake/canvas.h"

// The DDS file header the game's loader expects for uncompressed 32-bit BGRA.
inline constexpr uint32_t DDS_MAGIC = 0x20534444;  // "DDS "
inline constexpr uint32_t DDS_HEADER_SIZE = 124;   // after the magic
inline constexpr uint32_t DDS_PIXELFORMAT_SIZE = 32;
inline constexpr uint32_t DDSD_CAPS = 0x1;
inline constexpr uint32_t DDSD_HEIGHT = 0x2;
inline constexpr uint32_t DDSD_WIDTH = 0x4;
inline constexpr uint32_t DDSD_PITCH = 0x8;
inline constexpr uint32_t DDSD_PIXELFORMAT = 0x1000;
inline constexpr uint32_t DDPF_ALPHAPIXELS = 0x1;
inline constexpr uint32_t DDPF_RGB = 0x40;
inline constexpr uint32_t DDSCAPS_TEXTURE = 0x1000;

// Uncompressed 32-bit BGRA DDS, straight alpha, top row first; 128-byte header.
std::vector<uint8_t> EncodeDds(const CANVAS& Canvas);

// 32-bit BMP with a BITMAPV4HEADER and BI_BITFIELDS masks including alpha,
// so SDL_image keeps the transparency; rows bottom-up as BMPs usually are.
std::vector<uint8_t> EncodeBmp(const CANVAS& Canvas);

// The canvas composited onto black as 8-bit RGB, for formats without alpha.
// Counts in NotOpaque how many texels were not fully opaque.
std::vector<uint8_t> FlattenOntoBlack(const CANVAS& Canvas, size_t* NotOpaque);

// Writes the bytes to a temporary file beside Path and renames it over Path,
// so an interrupted bake never leaves half a picture. Throws BAKEERROR.
void WriteFileBytes(const std::filesystem::path& Path, const std::vector<uint8_t>& Bytes);

// JPEG of the flattened canvas at the given quality. Throws BAKEERROR.
void WriteJpeg(const std::filesystem::path& Path, const CANVAS& Canvas, int Quality,
               size_t* NotOpaque);
