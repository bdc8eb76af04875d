// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include "platform/opacity.h"

struct SDL_Texture;
class DEVICE;

// A picture ready to draw. Its logical size is the size the game asked for
// (or the power-of-two size of the default loader); source rectangles are in
// logical texels and are scaled onto the decoded image, so a picture drawn
// from a texture larger than its file still lands where the game expects.
class TEXTURE {
public:
    // The picture stretched to exactly width x height logical texels.
    // Null when the file is missing or cannot be decoded.
    static TEXTURE* LoadExact(DEVICE* device, const std::string& path, int width, int height);
    // The picture in a texture of the next powers of two of its size.
    static TEXTURE* LoadDefault(DEVICE* device, const std::string& path);

    TEXTURE(const TEXTURE&) = delete;
    TEXTURE& operator=(const TEXTURE&) = delete;
    ~TEXTURE();

    int Width = 0;  // logical texels
    int Height = 0;
    int ImageWidth = 0;  // px of the decoded picture
    int ImageHeight = 0;
    SDL_Texture* Handle = nullptr;
    unsigned Generation = 0;  // of the renderer that made it
    OPACITY Opacity;          // of the decoded picture, in its px

private:
    TEXTURE() = default;
    static TEXTURE* Load(DEVICE* device, const std::string& path, int width, int height,
                         bool powerOfTwo);
};

// The next power of two at or above n (1 for n <= 1).
int NextPowerOfTwo(int n);
