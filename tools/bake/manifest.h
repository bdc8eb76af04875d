// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

// Everything that goes wrong while baking: a bad manifest line, a missing or
// broken SVG, a file that cannot be written. The message names the file and,
// for manifest lines, the line ("assets/art/enemies/manifest.txt:12: ...").
class BAKEERROR : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Straight (not premultiplied) colour, 8 bits a channel.
struct RGBA {
    uint8_t R = 0;
    uint8_t G = 0;
    uint8_t B = 0;
    uint8_t A = 0;
    bool operator==(const RGBA&) const = default;
};

// Texels: (Left, Top) inclusive, (Right, Bottom) exclusive.
struct RECT {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    bool operator==(const RECT&) const = default;
};

enum class IMAGEFORMAT { DDS, BMP, JPG };

enum class STEPKIND { FILL, PLACE, MIRROR, TEXEL };

// One drawing directive of a texture, in manifest order.
struct STEP {
    STEPKIND Kind = STEPKIND::FILL;
    int Line = 0;               // manifest line, for messages
    RGBA Colour;                // FILL, TEXEL
    std::filesystem::path Svg;  // PLACE: resolved against the manifest's folder
    std::string SvgName;        // PLACE: as written in the manifest
    RECT Area;                  // PLACE, MIRROR source; TEXEL is a 1 x 1 area
    bool Edge = false;          // PLACE: the drawing may touch the rectangle's border
    int DestLeft = 0;           // MIRROR
    int DestTop = 0;            // MIRROR
    RECT Dest() const;          // MIRROR: where the flipped copy lands
};

// One texture to bake: its output file, size, format and drawing steps.
struct TEXTUREPLAN {
    std::string OutPath;  // relative to the data folder, '/'-separated
    int Width = 0;
    int Height = 0;
    IMAGEFORMAT Format = IMAGEFORMAT::DDS;
    std::filesystem::path Manifest;  // where it was declared
    int Line = 0;
    std::vector<STEP> Steps;
};

// Largest texture side we accept; far above anything the game loads, low
// enough that a typo cannot ask for gigabytes.
inline constexpr int MAX_TEXTURE_SIDE = 4096;

// Parses one manifest's text. ManifestPath is used in messages and to
// resolve SVG paths (relative to its folder). Throws BAKEERROR naming the
// file and line of the first bad directive.
std::vector<TEXTUREPLAN> ParseManifest(const std::string& Text,
                                       const std::filesystem::path& ManifestPath);

// Reads and parses a manifest file.
std::vector<TEXTUREPLAN> ReadManifest(const std::filesystem::path& ManifestPath);

// Every <AssetsDir>/art/*/manifest.txt, sorted by group name.
std::vector<std::filesystem::path> FindManifests(const std::filesystem::path& AssetsDir);

// Parses all manifests in order and rejects two textures with the same
// output path (the second would silently overwrite the first).
std::vector<TEXTUREPLAN> ReadAllManifests(const std::vector<std::filesystem::path>& Manifests);
