// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/texture.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/data_file.h"
#include "platform/dds.h"
#include "platform/device.h"

namespace {

bool EndsWith(const std::string& s, const char* tail) {
    size_t n = std::char_traits<char>::length(tail);
    if (s.size() < n) {
        return false;
    }
    for (size_t i = 0; i < n; ++i) {
        char c = s[s.size() - n + i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != tail[i]) {
            return false;
        }
    }
    return true;
}

SDL_Surface* DdsSurface(const std::string& bytes) {
    DDS_IMAGE image;
    if (!DecodeDds(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &image)) {
        return nullptr;
    }
    SDL_Surface* s =
        SDL_CreateRGBSurfaceWithFormat(0, image.Width, image.Height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!s) {
        return nullptr;
    }
    for (int y = 0; y < image.Height; ++y) {
        auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < image.Width; ++x) {
            row[x] = image.Pixels[size_t(y) * image.Width + x];
        }
    }
    return s;
}

// A BMP whose header claims a picture larger than any texture (a damaged
// file of a few bytes can claim fifty million columns) is refused before
// the decoder sets aside memory for it.
constexpr int64_t MAX_BMP_SIDE = 16384;  // px

bool BmpSizeIsSane(const std::string& bytes) {
    const auto* h = reinterpret_cast<const unsigned char*>(bytes.data());
    if (bytes.size() < 26 || h[0] != 'B' || h[1] != 'M') {
        return true;  // not a BMP header we can read: the decoder decides
    }
    auto read32 = [h](int at) {
        return int32_t(uint32_t(h[at]) | uint32_t(h[at + 1]) << 8 | uint32_t(h[at + 2]) << 16 |
                       uint32_t(h[at + 3]) << 24);
    };
    const int32_t headerSize = read32(14);
    int64_t width = 0;
    int64_t height = 0;
    if (headerSize == 12) {  // an old OS/2 header holds 16-bit sizes
        width = h[18] | h[19] << 8;
        height = h[20] | h[21] << 8;
    } else if (headerSize >= 40 && headerSize <= 256) {
        width = read32(18);
        height = read32(22);
    } else {
        return false;  // no header a BMP has
    }
    return std::abs(width) <= MAX_BMP_SIDE && std::abs(height) <= MAX_BMP_SIDE;
}

// Reads the file once and decodes it as the kind its name says. A JPEG or
// BMP file goes only to that decoder, so a damaged picture whose bytes look
// like some other kind never reaches a decoder the game has no use for.
SDL_Surface* LoadSurface(const std::string& path) {
    std::string bytes;
    if (FILES::Read(path, FILES::KIND::PICTURE, &bytes) != FILES::RESULT::OK) {
        return nullptr;
    }
    if (EndsWith(path, ".dds")) {
        return DdsSurface(bytes);
    }
    const bool jpeg = EndsWith(path, ".jpg") || EndsWith(path, ".jpeg");
    const bool bmp = EndsWith(path, ".bmp");
    if (bmp && !BmpSizeIsSane(bytes)) {
        return nullptr;
    }
    SDL_RWops* file = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    if (!file) {
        return nullptr;
    }
    SDL_Surface* surface = jpeg  ? IMG_LoadJPG_RW(file)
                           : bmp ? IMG_LoadBMP_RW(file)
                                 : IMG_Load_RW(file, 0);
    SDL_RWclose(file);
    return surface;
}

// Read from the decoded picture before it goes: a picture without an alpha
// channel (the JPEG backdrop) is opaque throughout; a palette or a colour
// key may hide transparency, so those are read pixel by pixel.
OPACITY ReadOpacity(SDL_Surface* surface) {
    if (!surface->format->Amask && !surface->format->palette && !SDL_HasColorKey(surface)) {
        return OPACITY::Throughout(surface->w, surface->h);
    }
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0);
    if (!argb) {
        return OPACITY();
    }
    OPACITY opacity(static_cast<const uint32_t*>(argb->pixels), argb->w, argb->h,
                    argb->pitch / int(sizeof(uint32_t)));
    SDL_FreeSurface(argb);
    return opacity;
}

}  // namespace

int NextPowerOfTwo(int n) {
    int p = 1;
    while (p < n && p < (1 << 30)) {
        p <<= 1;
    }
    return p;
}

TEXTURE* TEXTURE::LoadExact(DEVICE* device, const std::string& path, int width, int height) {
    return Load(device, path, width, height, false);
}

TEXTURE* TEXTURE::LoadDefault(DEVICE* device, const std::string& path) {
    return Load(device, path, 0, 0, true);
}

TEXTURE* TEXTURE::Load(DEVICE* device, const std::string& path, int width, int height,
                       bool powerOfTwo) {
    if (!device || !device->Renderer()) {
        return nullptr;
    }
    SDL_Surface* surface = LoadSurface(path);
    if (!surface) {
        return nullptr;
    }
    SDL_Texture* handle = SDL_CreateTextureFromSurface(device->Renderer(), surface);
    int imageWidth = surface->w;
    int imageHeight = surface->h;
    OPACITY opacity = handle ? ReadOpacity(surface) : OPACITY();
    SDL_FreeSurface(surface);
    if (!handle) {
        return nullptr;
    }
    SDL_SetTextureBlendMode(handle, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(handle, SDL_ScaleModeLinear);
    auto* t = new TEXTURE;
    t->Handle = handle;
    t->Generation = DISPLAY::RendererGeneration();
    t->ImageWidth = imageWidth;
    t->ImageHeight = imageHeight;
    t->Opacity = std::move(opacity);
    if (powerOfTwo) {
        t->Width = NextPowerOfTwo(imageWidth);
        t->Height = NextPowerOfTwo(imageHeight);
    } else {
        t->Width = width > 0 ? width : imageWidth;
        t->Height = height > 0 ? height : imageHeight;
    }
    return t;
}

TEXTURE::~TEXTURE() {
    if (Handle && Generation == DISPLAY::RendererGeneration()) {
        SDL_DestroyTexture(Handle);
    }
}
