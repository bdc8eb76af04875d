// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/bake/contact_sheet.h"

#include <cairo.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

constexpr int MARGIN = 16;
constexpr int TITLE_HEIGHT = 20;
constexpr int SHEET_WIDTH = 1700;
constexpr int CHECKER = 8;

struct SURFACEDELETER {
    void operator()(cairo_surface_t* Surface) const { cairo_surface_destroy(Surface); }
};
struct CONTEXTDELETER {
    void operator()(cairo_t* Context) const { cairo_destroy(Context); }
};
using SURFACE = std::unique_ptr<cairo_surface_t, SURFACEDELETER>;
using CONTEXT = std::unique_ptr<cairo_t, CONTEXTDELETER>;

// The straight canvas as a premultiplied cairo picture.
SURFACE ToSurface(const CANVAS& Canvas) {
    SURFACE Surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Canvas.Width(), Canvas.Height()));
    cairo_surface_flush(Surface.get());
    uint8_t* Data = cairo_image_surface_get_data(Surface.get());
    const int Stride = cairo_image_surface_get_stride(Surface.get());
    for (int Y = 0; Y < Canvas.Height(); ++Y) {
        auto* Row = reinterpret_cast<uint32_t*>(Data + static_cast<size_t>(Y) * Stride);
        for (int X = 0; X < Canvas.Width(); ++X) {
            const RGBA P = Canvas.At(X, Y);
            auto Scale = [&](uint8_t C) { return static_cast<uint32_t>((C * P.A + 127) / 255); };
            Row[X] = uint32_t{P.A} << 24 | Scale(P.R) << 16 | Scale(P.G) << 8 | Scale(P.B);
        }
    }
    cairo_surface_mark_dirty(Surface.get());
    return Surface;
}

struct PANEL {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
};

void Label(cairo_t* C, const std::string& Text, double X, double Y, double Size) {
    cairo_set_font_size(C, Size);
    cairo_text_extents_t Extents;
    cairo_text_extents(C, Text.c_str(), &Extents);
    cairo_set_source_rgba(C, 0, 0, 0, 0.65);
    cairo_rectangle(C, X, Y, Extents.x_advance + 4, Size + 3);
    cairo_fill(C);
    cairo_set_source_rgb(C, 1, 1, 1);
    cairo_move_to(C, X + 2, Y + Size);
    cairo_show_text(C, Text.c_str());
}

void Outline(cairo_t* C, int OriginX, int OriginY, const RECT& R, double Red, double Green,
             double Blue) {
    cairo_set_source_rgb(C, Red, Green, Blue);
    cairo_set_line_width(C, 1);
    cairo_rectangle(C, OriginX + R.Left + 0.5, OriginY + R.Top + 0.5, R.Width() - 1,
                    R.Height() - 1);
    cairo_stroke(C);
}

void DrawPanel(cairo_t* C, const PANEL& Panel, const TEXTUREPLAN& Plan, const CANVAS& Canvas) {
    const int X0 = Panel.X;
    const int Y0 = Panel.Y + TITLE_HEIGHT;
    cairo_select_font_face(C, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_source_rgb(C, 0.1, 0.1, 0.1);
    cairo_set_font_size(C, 13);
    cairo_move_to(C, X0, Panel.Y + 14);
    const std::string Title = Plan.OutPath + "  " + std::to_string(Plan.Width) + " x " +
                              std::to_string(Plan.Height) + "  (" +
                              Plan.Manifest.parent_path().filename().string() + ")";
    cairo_show_text(C, Title.c_str());

    cairo_save(C);
    cairo_rectangle(C, X0, Y0, Plan.Width, Plan.Height);
    cairo_clip(C);
    for (int Y = 0; Y < Plan.Height; Y += CHECKER) {
        for (int X = 0; X < Plan.Width; X += CHECKER) {
            const double Grey = ((X / CHECKER + Y / CHECKER) % 2 == 0) ? 0.62 : 0.82;
            cairo_set_source_rgb(C, Grey, Grey, Grey);
            cairo_rectangle(C, X0 + X, Y0 + Y, CHECKER, CHECKER);
            cairo_fill(C);
        }
    }
    SURFACE Picture = ToSurface(Canvas);
    cairo_set_source_surface(C, Picture.get(), X0, Y0);
    cairo_pattern_set_filter(cairo_get_source(C), CAIRO_FILTER_NEAREST);
    cairo_paint(C);
    cairo_restore(C);

    cairo_select_font_face(C, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    for (const STEP& Step : Plan.Steps) {
        switch (Step.Kind) {
            case STEPKIND::PLACE: {
                if (Step.Edge) {
                    Outline(C, X0, Y0, Step.Area, 0, 0.85, 0.95);
                } else {
                    Outline(C, X0, Y0, Step.Area, 1, 0, 1);
                }
                cairo_save(C);
                cairo_rectangle(C, X0 + Step.Area.Left, Y0 + Step.Area.Top, Step.Area.Width(),
                                Step.Area.Height());
                cairo_clip(C);
                Label(C, Step.SvgName, X0 + Step.Area.Left + 1, Y0 + Step.Area.Top + 1, 9);
                cairo_restore(C);
                break;
            }
            case STEPKIND::MIRROR:
                Outline(C, X0, Y0, Step.Dest(), 1, 0.55, 0);
                break;
            case STEPKIND::TEXEL:
                Outline(
                    C, X0, Y0,
                    {Step.Area.Left - 2, Step.Area.Top - 2, Step.Area.Left + 3, Step.Area.Top + 3},
                    1, 0.9, 0);
                break;
            case STEPKIND::FILL:
                break;
        }
    }
    cairo_set_source_rgb(C, 0.2, 0.2, 0.2);
    cairo_set_line_width(C, 1);
    cairo_rectangle(C, X0 - 0.5, Y0 - 0.5, Plan.Width + 1, Plan.Height + 1);
    cairo_stroke(C);
}

}  // namespace

void WriteContactSheet(const std::vector<TEXTUREPLAN>& Plans,
                       const std::vector<const CANVAS*>& Canvases,
                       const std::filesystem::path& Path) {
    // Lay the panels out in shelves, left to right, in manifest order.
    int Width = SHEET_WIDTH;
    for (const TEXTUREPLAN& Plan : Plans) {
        Width = std::max(Width, Plan.Width + 2 * MARGIN);
    }
    std::vector<PANEL> Panels;
    int X = MARGIN;
    int Y = MARGIN;
    int ShelfHeight = 0;
    for (const TEXTUREPLAN& Plan : Plans) {
        const int PanelWidth = std::max(Plan.Width, 320);
        const int PanelHeight = Plan.Height + TITLE_HEIGHT;
        if (X > MARGIN && X + PanelWidth + MARGIN > Width) {
            X = MARGIN;
            Y += ShelfHeight + MARGIN;
            ShelfHeight = 0;
        }
        Panels.push_back({X, Y, PanelWidth, PanelHeight});
        X += PanelWidth + MARGIN;
        ShelfHeight = std::max(ShelfHeight, PanelHeight);
    }
    const int Height = std::max(Y + ShelfHeight + MARGIN, 2 * MARGIN);
    if (Height > 32767) {
        throw BAKEERROR(Path.string() + ": the contact sheet would be " + std::to_string(Height) +
                        " pixels high, more than a PNG picture here can hold");
    }

    SURFACE Sheet(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Width, Height));
    CONTEXT C(cairo_create(Sheet.get()));
    cairo_set_source_rgb(C.get(), 0.96, 0.96, 0.93);
    cairo_paint(C.get());
    for (size_t i = 0; i < Plans.size(); ++i) {
        DrawPanel(C.get(), Panels[i], Plans[i], *Canvases[i]);
    }
    cairo_surface_flush(Sheet.get());

    std::error_code Ignored;
    if (Path.has_parent_path()) {
        std::filesystem::create_directories(Path.parent_path(), Ignored);
    }
    if (cairo_surface_write_to_png(Sheet.get(), Path.c_str()) != CAIRO_STATUS_SUCCESS) {
        throw BAKEERROR(Path.string() + ": cannot write the contact sheet");
    }
}
