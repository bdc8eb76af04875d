// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Any bytes as a picture file, loaded the way the game loads its pictures:
// the first byte picks the kind of file (its name's ending) and the loader
// (exactly the size the game asks for, or the default loader's powers of
// two), the rest is the file. A picture that loads has a sensible size and
// draws; one that does not gives no texture. Returns an empty string when
// all is well, otherwise what went wrong.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/device.h"
#include "platform/sprite.h"
#include "platform/texture.h"
#include "tests/fuzz/scratch_file.h"

// The picture file kinds the game reads, in the order the first byte picks them.
inline constexpr const char* PICTURE_ENDINGS[] = {".dds", ".jpg", ".bmp"};

inline std::string CheckPictureBytes(const uint8_t* data, size_t size) {
    static DEVICE* device = [] {
        auto* d = new DEVICE;  // lives for the whole run, as the game's does
        std::string error;
        return d->CreateOffscreen(&error) ? d : nullptr;
    }();
    if (!device) {
        return "no offscreen screen to load pictures for";
    }
    if (size == 0) {
        return "";
    }
    const int kind = data[0] % 3;
    const bool exact = (data[0] / 3) % 2 == 0;
    const std::string path =
        SCRATCH_FOLDER::Write(std::string("picture") + PICTURE_ENDINGS[kind], data + 1, size - 1);
    // The sizes the game asks for: the hero's picture, and the intro captions.
    const int width = (data[0] & 0x40) ? 617 : 433;
    const int height = (data[0] & 0x40) ? 145 : 360;
    std::unique_ptr<TEXTURE> texture(exact ? TEXTURE::LoadExact(device, path, width, height)
                                           : TEXTURE::LoadDefault(device, path));
    if (!texture) {
        return "";
    }
    if (!texture->Handle || texture->ImageWidth <= 0 || texture->ImageHeight <= 0) {
        return "a texture without a picture";
    }
    if (exact && (texture->Width != width || texture->Height != height)) {
        return "the exact loader gave another size";
    }
    if (!exact && (texture->Width != NextPowerOfTwo(texture->ImageWidth) ||
                   texture->Height != NextPowerOfTwo(texture->ImageHeight))) {
        return "the default loader's size is not the next powers of two";
    }
    // Drawn whole and in part, as the screens and the sprites draw.
    SPRITE sprite(device);
    device->Clear(0xFF000000);
    if (device->BeginScene()) {
        sprite.Begin();
        VECTOR2 scaling{0.78125f, 0.5859375f};
        sprite.Draw(texture.get(), nullptr, &scaling, nullptr, 0.0f, nullptr, 0xFFFFFFFF);
        RECT part{1, 1, 40, 30};
        VECTOR2 centre{10.0f, 10.0f};
        VECTOR2 at{400.0f, 300.0f};
        sprite.Draw(texture.get(), &part, nullptr, &centre, 0.5f, &at, 0x80FFFFFF);
        sprite.End();
        device->EndScene();
    }
    return "";
}
