// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/bake/encode.h"

#include <cstdio>
#include <fstream>

#include "platform/image_file.h"
#include "tools/bake/manifest.h"

namespace {

void Put16(std::vector<uint8_t>& Out, uint32_t Value) {
    Out.push_back(static_cast<uint8_t>(Value));
    Out.push_back(static_cast<uint8_t>(Value >> 8));
}

void Put32(std::vector<uint8_t>& Out, uint32_t Value) {
    Put16(Out, Value & 0xFFFF);
    Put16(Out, Value >> 16);
}

void PutBgra(std::vector<uint8_t>& Out, RGBA Pixel) {
    Out.push_back(Pixel.B);
    Out.push_back(Pixel.G);
    Out.push_back(Pixel.R);
    Out.push_back(Pixel.A);
}

constexpr uint32_t RED_MASK = 0x00FF0000;
constexpr uint32_t GREEN_MASK = 0x0000FF00;
constexpr uint32_t BLUE_MASK = 0x000000FF;
constexpr uint32_t ALPHA_MASK = 0xFF000000;

// Writes to a sibling temporary and renames, so readers never see half a file.
std::filesystem::path TemporaryBeside(const std::filesystem::path& Path) {
    return Path.string() + ".part";
}

void MakeParent(const std::filesystem::path& Path) {
    std::error_code Error;
    if (Path.has_parent_path()) {
        std::filesystem::create_directories(Path.parent_path(), Error);
        if (Error) {
            throw BAKEERROR(Path.parent_path().string() +
                            ": cannot make folder: " + Error.message());
        }
    }
}

void RenameOver(const std::filesystem::path& From, const std::filesystem::path& To) {
    std::error_code Error;
    std::filesystem::rename(From, To, Error);
    if (Error) {
        std::filesystem::remove(From, Error);
        throw BAKEERROR(To.string() + ": cannot be written: " + Error.message());
    }
}

}  // namespace

std::vector<uint8_t> EncodeDds(const CANVAS& Canvas) {
    const uint32_t W = static_cast<uint32_t>(Canvas.Width());
    const uint32_t H = static_cast<uint32_t>(Canvas.Height());
    std::vector<uint8_t> Out;
    Out.reserve(128 + static_cast<size_t>(W) * H * 4);
    Put32(Out, DDS_MAGIC);
    Put32(Out, DDS_HEADER_SIZE);
    Put32(Out, DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT);
    Put32(Out, H);
    Put32(Out, W);
    Put32(Out, W * 4);  // pitch: bytes a row
    Put32(Out, 0);      // depth
    Put32(Out, 0);      // mip levels: none beyond the picture itself
    for (int i = 0; i < 11; ++i) {
        Put32(Out, 0);  // reserved
    }
    Put32(Out, DDS_PIXELFORMAT_SIZE);
    Put32(Out, DDPF_RGB | DDPF_ALPHAPIXELS);
    Put32(Out, 0);   // no FourCC
    Put32(Out, 32);  // bits a texel
    Put32(Out, RED_MASK);
    Put32(Out, GREEN_MASK);
    Put32(Out, BLUE_MASK);
    Put32(Out, ALPHA_MASK);
    Put32(Out, DDSCAPS_TEXTURE);
    Put32(Out, 0);  // caps2
    Put32(Out, 0);  // caps3
    Put32(Out, 0);  // caps4
    Put32(Out, 0);  // reserved
    for (const RGBA& Pixel : Canvas.Pixels()) {
        PutBgra(Out, Pixel);
    }
    return Out;
}

std::vector<uint8_t> EncodeBmp(const CANVAS& Canvas) {
    constexpr uint32_t FILE_HEADER_SIZE = 14;
    constexpr uint32_t V4_HEADER_SIZE = 108;
    constexpr uint32_t BI_BITFIELDS = 3;
    constexpr uint32_t LCS_WINDOWS_COLOR_SPACE = 0x57696E20;  // "Win "
    constexpr uint32_t PIXELS_PER_METRE = 2835;               // 72 dpi
    const uint32_t W = static_cast<uint32_t>(Canvas.Width());
    const uint32_t H = static_cast<uint32_t>(Canvas.Height());
    const uint32_t PixelBytes = W * H * 4;
    const uint32_t Offset = FILE_HEADER_SIZE + V4_HEADER_SIZE;

    std::vector<uint8_t> Out;
    Out.reserve(Offset + PixelBytes);
    Out.push_back('B');
    Out.push_back('M');
    Put32(Out, Offset + PixelBytes);
    Put32(Out, 0);  // reserved
    Put32(Out, Offset);

    Put32(Out, V4_HEADER_SIZE);
    Put32(Out, W);
    Put32(Out, H);  // positive: bottom row first
    Put16(Out, 1);  // planes
    Put16(Out, 32);
    Put32(Out, BI_BITFIELDS);
    Put32(Out, PixelBytes);
    Put32(Out, PIXELS_PER_METRE);
    Put32(Out, PIXELS_PER_METRE);
    Put32(Out, 0);  // palette colours
    Put32(Out, 0);  // important colours
    Put32(Out, RED_MASK);
    Put32(Out, GREEN_MASK);
    Put32(Out, BLUE_MASK);
    Put32(Out, ALPHA_MASK);
    Put32(Out, LCS_WINDOWS_COLOR_SPACE);
    for (int i = 0; i < 9 + 3; ++i) {
        Put32(Out, 0);  // colour space end points and gammas, unused
    }
    for (int Y = Canvas.Height() - 1; Y >= 0; --Y) {
        for (int X = 0; X < Canvas.Width(); ++X) {
            PutBgra(Out, Canvas.At(X, Y));
        }
    }
    return Out;
}

std::vector<uint8_t> FlattenOntoBlack(const CANVAS& Canvas, size_t* NotOpaque) {
    std::vector<uint8_t> Rgb;
    Rgb.reserve(Canvas.Pixels().size() * 3);
    size_t Count = 0;
    for (const RGBA& Pixel : Canvas.Pixels()) {
        auto Scale = [&](uint8_t C) { return static_cast<uint8_t>((C * Pixel.A + 127) / 255); };
        Rgb.push_back(Scale(Pixel.R));
        Rgb.push_back(Scale(Pixel.G));
        Rgb.push_back(Scale(Pixel.B));
        Count += Pixel.A != 255;
    }
    if (NotOpaque != nullptr) {
        *NotOpaque = Count;
    }
    return Rgb;
}

void WriteFileBytes(const std::filesystem::path& Path, const std::vector<uint8_t>& Bytes) {
    MakeParent(Path);
    const std::filesystem::path Temporary = TemporaryBeside(Path);
    {
        std::ofstream Out(Temporary, std::ios::binary | std::ios::trunc);
        Out.write(reinterpret_cast<const char*>(Bytes.data()),
                  static_cast<std::streamsize>(Bytes.size()));
        Out.close();
        if (!Out) {
            std::error_code Ignored;
            std::filesystem::remove(Temporary, Ignored);
            throw BAKEERROR(Path.string() + ": cannot be written");
        }
    }
    RenameOver(Temporary, Path);
}

void WriteJpeg(const std::filesystem::path& Path, const CANVAS& Canvas, int Quality,
               size_t* NotOpaque) {
    MakeParent(Path);
    const std::vector<uint8_t> Rgb = FlattenOntoBlack(Canvas, NotOpaque);
    const std::filesystem::path Temporary = TemporaryBeside(Path);
    std::string Error;
    if (!WriteJpegFile(Temporary.string(), Rgb.data(), Canvas.Width(), Canvas.Height(), Quality,
                       Error)) {
        throw BAKEERROR(Path.string() + ": cannot be written: " + Error);
    }
    RenameOver(Temporary, Path);
}
