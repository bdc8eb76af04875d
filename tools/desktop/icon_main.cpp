// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// vortigan_icon: renders the game's SVG icon to a square PNG of one size,
// for the icon theme folders of an installed game.
//
//   vortigan_icon ICON.svg SIZE OUT.png
//
// Exit status 0 when the PNG was written, 1 when the drawing or the write
// failed, 2 for a bad command line.

#include <cairo.h>

#include <charconv>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>

#include "tools/bake/manifest.h"
#include "tools/bake/svg_render.h"

namespace {

// Icon themes hold sizes from 16 up to 512 pixels; anything outside is a typo.
constexpr int SMALLEST = 16;   // px
constexpr int LARGEST = 1024;  // px

struct SURFACEDELETER {
    void operator()(cairo_surface_t* Surface) const { cairo_surface_destroy(Surface); }
};

int Usage(const std::string& Complaint) {
    std::cerr << "vortigan_icon: " << Complaint << "\n"
              << "usage: vortigan_icon ICON.svg SIZE OUT.png\n";
    return 2;
}

}  // namespace

int main(int Count, char** Arguments) {
    if (Count != 4) {
        return Usage("wants three arguments");
    }
    const std::filesystem::path Svg = Arguments[1];
    const char* SizeText = Arguments[2];
    const std::filesystem::path Out = Arguments[3];
    int Size = 0;
    const char* End = SizeText + std::strlen(SizeText);
    auto [Stop, Error] = std::from_chars(SizeText, End, Size);
    if (Error != std::errc() || Stop != End || Size < SMALLEST || Size > LARGEST) {
        return Usage("SIZE wants a whole number of pixels from 16 to 1024, not '" +
                     std::string(SizeText) + "'");
    }

    PREMULTIPLIEDIMAGE Picture;
    try {
        std::string Note;
        Picture = RenderSvg(Svg, Size, Size, &Note);
        if (!Note.empty()) {
            std::cerr << "vortigan_icon: " << Note << "\n";
        }
    } catch (const BAKEERROR& Failure) {
        std::cerr << "vortigan_icon: " << Failure.what() << "\n";
        return 1;
    }

    // Cairo writes its premultiplied pixels as a straight-alpha PNG. The file
    // is written beside and renamed over, so a broken build never leaves a
    // half icon that looks up to date.
    std::unique_ptr<cairo_surface_t, SURFACEDELETER> Surface(cairo_image_surface_create_for_data(
        Picture.Data.data(), CAIRO_FORMAT_ARGB32, Picture.Width, Picture.Height, Picture.Stride));
    std::error_code Ignored;
    if (Out.has_parent_path()) {
        std::filesystem::create_directories(Out.parent_path(), Ignored);
    }
    const std::filesystem::path Temporary = Out.string() + ".tmp";
    if (cairo_surface_status(Surface.get()) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_write_to_png(Surface.get(), Temporary.c_str()) != CAIRO_STATUS_SUCCESS) {
        std::cerr << "vortigan_icon: cannot write " << Temporary.string() << "\n";
        std::filesystem::remove(Temporary, Ignored);
        return 1;
    }
    std::error_code RenameError;
    std::filesystem::rename(Temporary, Out, RenameError);
    if (RenameError) {
        std::cerr << "vortigan_icon: cannot rename " << Temporary.string() << " to " << Out.string()
                  << ": " << RenameError.message() << "\n";
        std::filesystem::remove(Temporary, Ignored);
        return 1;
    }
    return 0;
}
