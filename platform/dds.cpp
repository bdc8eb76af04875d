// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/dds.h"

#include <bit>
#include <cstring>

namespace {

constexpr uint32_t DDS_MAGIC = 0x20534444;  // "DDS "
constexpr size_t HEADER_SIZE = 128;         // magic and the 124-byte header
constexpr uint32_t DDPF_ALPHAPIXELS = 0x1;
constexpr uint32_t DDPF_FOURCC = 0x4;
constexpr uint32_t DDPF_RGB = 0x40;
constexpr uint32_t DDPF_LUMINANCE = 0x20000;
constexpr int MAX_SIDE = 16384;  // px; no texture of ours comes near

uint32_t Read32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Scales the bits a mask selects to 0..255.
struct CHANNEL {
    uint32_t Mask = 0;
    int Shift = 0;
    uint32_t Max = 0;

    explicit CHANNEL(uint32_t mask) : Mask(mask) {
        if (mask) {
            Shift = std::countr_zero(mask);
            Max = mask >> Shift;
        }
    }
    uint32_t Get(uint32_t value, uint32_t absent) const {
        if (!Mask) {
            return absent;
        }
        uint32_t v = (value & Mask) >> Shift;
        return (v * 255u + Max / 2) / Max;
    }
};

}  // namespace

bool DecodeDds(const uint8_t* data, size_t size, DDS_IMAGE* image) {
    if (!data || size < HEADER_SIZE || Read32(data) != DDS_MAGIC || Read32(data + 4) != 124) {
        return false;
    }
    const uint32_t height = Read32(data + 12);
    const uint32_t width = Read32(data + 16);
    const uint8_t* pf = data + 76;  // the pixel format block
    if (Read32(pf) != 32) {
        return false;
    }
    const uint32_t flags = Read32(pf + 4);
    const uint32_t bits = Read32(pf + 12);
    if (width == 0 || height == 0 || width > MAX_SIDE || height > MAX_SIDE) {
        return false;
    }
    if ((flags & DDPF_FOURCC) || !(flags & (DDPF_RGB | DDPF_LUMINANCE))) {
        return false;
    }
    if (bits != 16 && bits != 24 && bits != 32) {
        return false;
    }
    CHANNEL red(Read32(pf + 16));
    CHANNEL green(Read32(pf + 20));
    CHANNEL blue(Read32(pf + 24));
    CHANNEL alpha((flags & DDPF_ALPHAPIXELS) ? Read32(pf + 28) : 0);
    if (flags & DDPF_LUMINANCE) {
        green = red;
        blue = red;
    }
    if (!red.Mask) {
        return false;
    }
    const size_t bytesPerPixel = bits / 8;
    const size_t pitch = size_t(width) * bytesPerPixel;
    if ((size - HEADER_SIZE) / pitch < height) {
        return false;  // truncated
    }
    image->Width = static_cast<int>(width);
    image->Height = static_cast<int>(height);
    image->Pixels.assign(size_t(width) * height, 0);
    const uint8_t* src = data + HEADER_SIZE;
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* row = src + y * pitch;
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t* p = row + x * bytesPerPixel;
            uint32_t v = p[0] | uint32_t(p[1]) << 8;
            if (bytesPerPixel >= 3) {
                v |= uint32_t(p[2]) << 16;
            }
            if (bytesPerPixel == 4) {
                v |= uint32_t(p[3]) << 24;
            }
            uint32_t a = alpha.Get(v, 255);
            image->Pixels[size_t(y) * width + x] =
                a << 24 | red.Get(v, 0) << 16 | green.Get(v, 0) << 8 | blue.Get(v, 0);
        }
    }
    return true;
}
