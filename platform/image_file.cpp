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
    // SDL only reads from the pixels, the cast is for its C interface.
    SDL_Surface* Surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint8_t*>(Rgb), Width, Height, 24, Width * 3, SDL_PIXELFORMAT_RGB24);
    if (Surface == nullptr) {
        Error = Path + ": " + SDL_GetError();
        return false;
    }
    const int Result = IMG_SaveJPG(Surface, Path.c_str(), Quality);
    SDL_FreeSurface(Surface);
    if (Result != 0) {
        Error = Path + ": " + IMG_GetError();
        std::remove(Path.c_str());
        return false;
    }
    return true;
}

bool WritePngFile(const std::string& Path, const uint8_t* Rgba, int Width, int Height,
                  std::string& Error) {
    if (Rgba == nullptr || Width < 1 || Height < 1) {
        Error = Path + ": no picture to write";
        return false;
    }
    // SDL only reads from the pixels, the cast is for its C interface.
    SDL_Surface* Surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint8_t*>(Rgba), Width, Height, 32, Width * 4, SDL_PIXELFORMAT_RGBA32);
    if (Surface == nullptr) {
        Error = Path + ": " + SDL_GetError();
        return false;
    }
    const int Result = IMG_SavePNG(Surface, Path.c_str());
    SDL_FreeSurface(Surface);
    if (Result != 0) {
        Error = Path + ": " + IMG_GetError();
        std::remove(Path.c_str());
        return false;
    }
    return true;
}
