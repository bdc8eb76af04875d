// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/bake/bake.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <exception>
#include <optional>
#include <thread>

#include "tools/bake/contact_sheet.h"
#include "tools/bake/encode.h"
#include "tools/bake/svg_render.h"

namespace {

std::string Where(const TEXTUREPLAN& Plan, int Line) {
    return Plan.Manifest.string() + ":" + std::to_string(Line) + ": ";
}

// True when some texel on the outer ring of the rendered picture shows.
bool RingShows(const PREMULTIPLIEDIMAGE& Image) {
    auto Alpha = [&](int X, int Y) {
        return Image.Data[static_cast<size_t>(Y) * Image.Stride + static_cast<size_t>(X) * 4 +
                          3];  // little-endian ARGB32: alpha is the last byte
    };
    static_assert(std::endian::native == std::endian::little, "ARGB32 byte order");
    for (int X = 0; X < Image.Width; ++X) {
        if (Alpha(X, 0) > RING_ALPHA_LIMIT || Alpha(X, Image.Height - 1) > RING_ALPHA_LIMIT) {
            return true;
        }
    }
    for (int Y = 0; Y < Image.Height; ++Y) {
        if (Alpha(0, Y) > RING_ALPHA_LIMIT || Alpha(Image.Width - 1, Y) > RING_ALPHA_LIMIT) {
            return true;
        }
    }
    return false;
}

void Place(const TEXTUREPLAN& Plan, const STEP& Step, CANVAS& Canvas,
           std::vector<std::string>& Warnings) {
    std::string Note;
    PREMULTIPLIEDIMAGE Image;
    try {
        Image = RenderSvg(Step.Svg, Step.Area.Width(), Step.Area.Height(), &Note);
    } catch (const BAKEERROR& Error) {
        throw BAKEERROR(Where(Plan, Step.Line) + Error.what());
    }
    if (!Note.empty()) {
        Warnings.push_back(Where(Plan, Step.Line) + Step.SvgName + " " + Note);
    }
    if (!Step.Edge && RingShows(Image)) {
        Warnings.push_back(Where(Plan, Step.Line) + Step.SvgName +
                           " reaches the outer pixel ring of its rectangle; keep the ring clear "
                           "or mark the line 'edge'");
    }
    Canvas.DrawPremultiplied(Image.Data.data(), Image.Stride, Image.Width, Image.Height,
                             Step.Area.Left, Step.Area.Top);
}

}  // namespace

CANVAS DrawTexture(const TEXTUREPLAN& Plan, std::vector<std::string>& Warnings) {
    CANVAS Canvas(Plan.Width, Plan.Height);
    for (const STEP& Step : Plan.Steps) {
        switch (Step.Kind) {
            case STEPKIND::FILL:
                Canvas.Fill(Step.Colour);
                break;
            case STEPKIND::PLACE:
                Place(Plan, Step, Canvas, Warnings);
                break;
            case STEPKIND::MIRROR:
                Canvas.Mirror(Step.Area, Step.DestLeft, Step.DestTop);
                break;
            case STEPKIND::TEXEL:
                Canvas.Set(Step.Area.Left, Step.Area.Top, Step.Colour);
                break;
        }
    }
    return Canvas;
}

void WriteTexture(const TEXTUREPLAN& Plan, const CANVAS& Canvas,
                  const std::filesystem::path& OutDir, std::vector<std::string>& Warnings) {
    const std::filesystem::path Path = OutDir / Plan.OutPath;
    switch (Plan.Format) {
        case IMAGEFORMAT::DDS:
            WriteFileBytes(Path, EncodeDds(Canvas));
            break;
        case IMAGEFORMAT::BMP:
            WriteFileBytes(Path, EncodeBmp(Canvas));
            break;
        case IMAGEFORMAT::JPG: {
            size_t NotOpaque = 0;
            WriteJpeg(Path, Canvas, JPEG_QUALITY, &NotOpaque);
            if (NotOpaque > 0) {
                Warnings.push_back(Where(Plan, Plan.Line) + Plan.OutPath + " has " +
                                   std::to_string(NotOpaque) +
                                   " texels that are not opaque; JPEG keeps no alpha, so they "
                                   "were laid on black");
            }
            break;
        }
    }
}

int RunBake(const BAKEOPTIONS& Options, std::ostream& Messages) {
    std::vector<TEXTUREPLAN> Plans;
    try {
        Plans = ReadAllManifests(FindManifests(Options.AssetsDir));
    } catch (const BAKEERROR& Error) {
        Messages << "error: " << Error.what() << "\n";
        return 1;
    }

    // Each texture is drawn and written on its own; results are gathered by
    // index so messages come out in manifest order however the work is split.
    struct RESULT {
        std::optional<CANVAS> Canvas;
        std::vector<std::string> Warnings;
        std::string Error;
    };
    std::vector<RESULT> Results(Plans.size());
    std::atomic<size_t> Next{0};
    const bool KeepCanvases = !Options.ContactSheet.empty();
    auto Work = [&] {
        for (size_t i = Next++; i < Plans.size(); i = Next++) {
            RESULT& Result = Results[i];
            try {
                CANVAS Canvas = DrawTexture(Plans[i], Result.Warnings);
                if (!Options.OutDir.empty()) {
                    WriteTexture(Plans[i], Canvas, Options.OutDir, Result.Warnings);
                }
                if (KeepCanvases) {
                    Result.Canvas.emplace(std::move(Canvas));
                }
            } catch (const std::exception& Error) {
                Result.Error = Error.what();
            }
        }
    };
    const int Jobs = std::clamp(Options.Jobs, 1, 16);
    std::vector<std::thread> Workers;
    for (int i = 1; i < Jobs; ++i) {
        Workers.emplace_back(Work);
    }
    Work();
    for (auto& Worker : Workers) {
        Worker.join();
    }

    int Failed = 0;
    for (const RESULT& Result : Results) {
        for (const std::string& Warning : Result.Warnings) {
            Messages << "warning: " << Warning << "\n";
        }
        if (!Result.Error.empty()) {
            Messages << "error: " << Result.Error << "\n";
            ++Failed;
        }
    }
    if (Failed > 0) {
        return 1;
    }

    if (KeepCanvases) {
        std::vector<const CANVAS*> Canvases;
        for (const RESULT& Result : Results) {
            Canvases.push_back(&*Result.Canvas);
        }
        try {
            WriteContactSheet(Plans, Canvases, Options.ContactSheet);
        } catch (const BAKEERROR& Error) {
            Messages << "error: " << Error.what() << "\n";
            return 1;
        }
    }
    return 0;
}
