// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "tools/bake/canvas.h"
#include "tools/bake/manifest.h"

// JPEG quality of every baked photo-like picture.
inline constexpr int JPEG_QUALITY = 92;

// A drawing counts as touching its rectangle's border where a texel of the
// outer ring has more alpha than this; the data tests use the same limit.
inline constexpr int RING_ALPHA_LIMIT = 8;

// Runs the texture's steps in order on a transparent canvas. Things worth an
// artist's attention that do not stop the bake (a drawing reaching into the
// border ring, an SVG drawn at another size) are added to Warnings as
// "manifest:line: ..." lines. Throws BAKEERROR naming the manifest line.
CANVAS DrawTexture(const TEXTUREPLAN& Plan, std::vector<std::string>& Warnings);

// Writes the canvas in the plan's format to OutDir / Plan.OutPath, making
// folders as needed. Throws BAKEERROR.
void WriteTexture(const TEXTUREPLAN& Plan, const CANVAS& Canvas,
                  const std::filesystem::path& OutDir, std::vector<std::string>& Warnings);

struct BAKEOPTIONS {
    std::filesystem::path AssetsDir;     // holds art/<group>/manifest.txt
    std::filesystem::path OutDir;        // the data folder; empty: write no textures
    std::filesystem::path ContactSheet;  // PNG to write; empty: none
    int Jobs = 2;                        // textures drawn side by side
};

// The whole bake: reads every manifest, draws every texture, writes them
// and the contact sheet. Warnings and errors go to Messages. Returns the
// process exit status: 0 done, 1 failed (nothing is reported as done then).
int RunBake(const BAKEOPTIONS& Options, std::ostream& Messages);
