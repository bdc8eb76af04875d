// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <filesystem>
#include <vector>

#include "tools/bake/canvas.h"
#include "tools/bake/manifest.h"

// One PNG for reviewing the art: every baked texture on a checkerboard, each
// `place` rectangle outlined and labelled with its SVG (magenta: must keep a
// clear border, cyan: `edge`), mirror copies in orange, single texels in
// yellow. Canvases[i] is the picture of Plans[i]. Throws BAKEERROR.
void WriteContactSheet(const std::vector<TEXTUREPLAN>& Plans,
                       const std::vector<const CANVAS*>& Canvases,
                       const std::filesystem::path& Path);
