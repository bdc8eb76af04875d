// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/image_file.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstring>

bool ReadImageFile(const std::string& Path, IMAGEPIXELS& Image, std::string& Error) {
    SDL_Surface* Loaded = IMG_Load(Path.c_str());
    if (Loaded == nullptr) {
        Error = Path + ": " + IMG_GetError();
        return false;
    }
    SDL_Surface* Converted = SDL_ConvertSurfaceFormat(Loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(Loaded);
    if (Converted == nullptr) {
        Error = Path + ": " + SDL_GetError();
        return false;
    }
    Image.Width = Converted->w;
    Image.Height = Converted->h;
    const size_t RowBytes = static_cast<size_t>(Converted->w) * 4;
    Image.Rgba.resize(RowBytes * Converted->h);
    SDL_LockSurface(Converted);
    for (int Y = 0; Y < Converted->h; ++Y) {
        std::memcpy(Image.Rgba.data() + RowBytes * Y,
                    static_cast<const uint8_t*>(Converted->pixels) +
                        static_cast<size_t>(Converted->pitch) * Y,
                    RowBytes);
    }
    SDL_UnlockSurface(Converted);
    SDL_FreeSurface(Converted);
    return true;
}

namespace {

// Wraps the caller's pixels in a surface (SDL only reads from them, the
// cast is for its C interface) and hands it to the encoder; a failed write
// leaves no file behind.
template <typename SAVE>
bool SavePixels(const std::string& Path, const uint8_t* Pixels, int Width, int Height,
                int BytesPerPixel, Uint32 Format, SAVE Save, std::string& Error) {
    SDL_Surface* Surface =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(Pixels), Width, Height,
                                           8 * BytesPerPixel, Width * BytesPerPixel, Format);
    if (Surface == nullptr) {
        Error = Path + ": " + SDL_GetError();
        return false;
    }
    const int Result = Save(Surface);
    SDL_FreeSurface(Surface);
    if (Result != 0) {
        Error = Path + ": " + IMG_GetError();
        std::remove(Path.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool WriteJpegFile(const std::string& Path, const uint8_t* Rgb, int Width, int Height, int Quality,
                   std::string& Error) {
    if (Rgb == nullptr || Width < 1 || Height < 1 || Quality < 1 || Quality > 100) {
        Error = Path + ": no picture or an out-of-range quality to write";
        return false;
    }
    if ((IMG_Init(IMG_INIT_JPG) & IMG_INIT_JPG) == 0) {
        Error = Path + ": JPEG support is missing: " + IMG_GetError();
        return false;
    }
    return SavePixels(
        Path, Rgb, Width, Height, 3, SDL_PIXELFORMAT_RGB24,
        [&](SDL_Surface* Surface) { return IMG_SaveJPG(Surface, Path.c_str(), Quality); }, Error);
}

bool WritePngFile(const std::string& Path, const uint8_t* Rgba, int Width, int Height,
                  std::string& Error) {
    if (Rgba == nullptr || Width < 1 || Height < 1) {
        Error = Path + ": no picture to write";
        return false;
    }
    return SavePixels(
        Path, Rgba, Width, Height, 4, SDL_PIXELFORMAT_RGBA32,
        [&](SDL_Surface* Surface) { return IMG_SavePNG(Surface, Path.c_str()); }, Error);
}
