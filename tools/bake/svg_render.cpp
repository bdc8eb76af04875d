// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/bake/svg_render.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "tools/bake/manifest.h"

namespace {

struct HANDLEDELETER {
    void operator()(RsvgHandle* Handle) const { g_object_unref(Handle); }
};
struct SURFACEDELETER {
    void operator()(cairo_surface_t* Surface) const { cairo_surface_destroy(Surface); }
};
struct CONTEXTDELETER {
    void operator()(cairo_t* Context) const { cairo_destroy(Context); }
};

std::string TakeMessage(GError* Error) {
    std::string Message = Error != nullptr ? Error->message : "unknown error";
    if (Error != nullptr) {
        g_error_free(Error);
    }
    return Message;
}

std::string Number(double Value) {
    char Text[32];
    std::snprintf(Text, sizeof Text, "%g", Value);
    return Text;
}

}  // namespace

PREMULTIPLIEDIMAGE RenderSvg(const std::filesystem::path& Svg, int Width, int Height,
                             std::string* Note) {
    std::error_code Missing;
    if (!std::filesystem::is_regular_file(Svg, Missing)) {
        throw BAKEERROR(Svg.string() + ": no such SVG file");
    }
    GError* Error = nullptr;
    std::unique_ptr<RsvgHandle, HANDLEDELETER> Handle(
        rsvg_handle_new_from_file(Svg.c_str(), &Error));
    if (!Handle) {
        throw BAKEERROR(Svg.string() + ": not a readable SVG: " + TakeMessage(Error));
    }
    rsvg_handle_set_dpi(Handle.get(), 96.0);

    std::unique_ptr<cairo_surface_t, SURFACEDELETER> Surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Width, Height));
    if (cairo_surface_status(Surface.get()) != CAIRO_STATUS_SUCCESS) {
        throw BAKEERROR(Svg.string() + ": cannot make a " + std::to_string(Width) + " x " +
                        std::to_string(Height) + " picture");
    }
    std::unique_ptr<cairo_t, CONTEXTDELETER> Context(cairo_create(Surface.get()));

    // Render the document at its own size and stretch that onto the
    // rectangle, so a drawing whose size differs still fills it exactly
    // instead of being letterboxed.
    double OwnWidth = 0;
    double OwnHeight = 0;
    RsvgRectangle Viewport{0, 0, static_cast<double>(Width), static_cast<double>(Height)};
    if (rsvg_handle_get_intrinsic_size_in_pixels(Handle.get(), &OwnWidth, &OwnHeight) &&
        OwnWidth > 0 && OwnHeight > 0) {
        if (Note != nullptr &&
            (std::fabs(OwnWidth - Width) > 0.01 || std::fabs(OwnHeight - Height) > 0.01)) {
            *Note = "drawn at " + Number(OwnWidth) + " x " + Number(OwnHeight) +
                    ", stretched to its " + std::to_string(Width) + " x " + std::to_string(Height) +
                    " rectangle";
        }
        cairo_scale(Context.get(), Width / OwnWidth, Height / OwnHeight);
        Viewport = {0, 0, OwnWidth, OwnHeight};
    }
    if (!rsvg_handle_render_document(Handle.get(), Context.get(), &Viewport, &Error)) {
        throw BAKEERROR(Svg.string() + ": cannot be drawn: " + TakeMessage(Error));
    }
    cairo_surface_flush(Surface.get());

    PREMULTIPLIEDIMAGE Image;
    Image.Width = Width;
    Image.Height = Height;
    Image.Stride = cairo_image_surface_get_stride(Surface.get());
    const uint8_t* Pixels = cairo_image_surface_get_data(Surface.get());
    Image.Data.assign(Pixels, Pixels + static_cast<size_t>(Image.Stride) * Height);
    return Image;
}
