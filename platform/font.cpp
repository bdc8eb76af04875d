// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/font.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/device.h"
#include "platform/draw_record.h"

namespace {

constexpr int LAST_GLYPH = 126;               // characters 32..126 get a glyph
constexpr unsigned FIRST_SIZE = 128;          // texels; the size search starts here
constexpr unsigned SIZE_LIMIT = 4096;         // texels at most: 64 MB is plenty for any sane face
constexpr unsigned MEASURE_LIMIT = 1u << 20;  // texels; past this a face is absurd
constexpr int SCREEN_DPI = 96;                // points to pixels as on an ordinary screen
constexpr int BATCH_CORNERS = 300;            // triangle corners: 50 characters a draw
constexpr int FLUSH_AT = BATCH_CORNERS - 6;

// A face to try for a family name.
struct CANDIDATE {
    const char* Family;
    int Weight;  // fontconfig weight
    int Width;   // fontconfig width
};

// Free faces in Debian's font packages that stand in for families a Linux
// machine rarely has, closest first. Impact is a tall, condensed, heavy
// display face; Arial a plain sans; Arial Black a very heavy sans.
struct SUBSTITUTE {
    const char* Family;
    CANDIDATE Faces[4];
};
const SUBSTITUTE SUBSTITUTES[] = {
    {"Impact",
     {{"DejaVu Sans Condensed", FC_WEIGHT_BOLD, FC_WIDTH_CONDENSED},
      {"Liberation Sans Narrow", FC_WEIGHT_BOLD, FC_WIDTH_CONDENSED},
      {"Nimbus Sans Narrow", FC_WEIGHT_BOLD, FC_WIDTH_CONDENSED},
      {"DejaVu Sans", FC_WEIGHT_BOLD, FC_WIDTH_NORMAL}}},
    {"Arial",
     {{"Liberation Sans", FC_WEIGHT_REGULAR, FC_WIDTH_NORMAL},
      {"Arimo", FC_WEIGHT_REGULAR, FC_WIDTH_NORMAL},
      {"DejaVu Sans", FC_WEIGHT_REGULAR, FC_WIDTH_NORMAL},
      {"Nimbus Sans", FC_WEIGHT_REGULAR, FC_WIDTH_NORMAL}}},
    {"Arial Black",
     {{"DejaVu Sans", FC_WEIGHT_BLACK, FC_WIDTH_NORMAL},
      {"Liberation Sans", FC_WEIGHT_BOLD, FC_WIDTH_NORMAL},
      {"Nimbus Sans", FC_WEIGHT_BOLD, FC_WIDTH_NORMAL},
      {nullptr, 0, 0}}},
};

bool SameName(const char* a, const char* b) {
    return a && b && strcasecmp(a, b) == 0;
}

// True when the matched face carries the family name asked for (fontconfig
// happily answers any face when the family is missing).
bool HasFamily(FcPattern* match, const char* family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (SameName(reinterpret_cast<const char*>(name), family)) {
            return true;
        }
    }
    return false;
}

// Symbol and dingbat faces lack the letters; a face must draw every
// printable ASCII character.
bool DrawsAscii(FcPattern* match) {
    FcCharSet* chars = nullptr;
    if (FcPatternGetCharSet(match, FC_CHARSET, 0, &chars) != FcResultMatch) {
        return false;
    }
    for (FcChar32 c = FONT::FIRST_CHAR; c <= LAST_GLYPH; ++c) {
        if (!FcCharSetHasChar(chars, c)) {
            return false;
        }
    }
    return true;
}

// The best face for one candidate; `exact` demands the family itself.
bool Match(const CANDIDATE& want, bool italic, bool exact, FONT_FACE* face) {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) {
        return false;
    }
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(want.Family));
    FcPatternAddInteger(pattern, FC_WEIGHT, want.Weight);
    FcPatternAddInteger(pattern, FC_WIDTH, want.Width);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) {
        return false;
    }
    bool ok = false;
    FcChar8* file = nullptr;
    if ((!exact || HasFamily(match, want.Family)) && DrawsAscii(match) &&
        FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        face->File = reinterpret_cast<const char*>(file);
        face->Index = 0;
        FcPatternGetInteger(match, FC_INDEX, 0, &face->Index);
        FcChar8* family = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch) {
            face->Family = reinterpret_cast<const char*>(family);
        }
        FcPatternGetInteger(match, FC_WEIGHT, 0, &face->Weight);
        FcPatternGetInteger(match, FC_WIDTH, 0, &face->Width);
        // A heavy stand-in that came back light is a poor stand-in.
        ok = want.Weight < FC_WEIGHT_BOLD || face->Weight >= FC_WEIGHT_DEMIBOLD;
    }
    FcPatternDestroy(match);
    return ok;
}

// Points to the em height in pixels, halves away from zero.
int PixelsFor(int points, float scale) {
    int dpi = int(SCREEN_DPI * scale);
    return int(std::lround(double(points) * dpi / 72.0));
}

}  // namespace

FONT_FACE FindFontFace(const std::string& family, int flags) {
    FONT_FACE face;
    if (!FcInit()) {
        return face;
    }
    bool bold = (flags & FONT_BOLD) != 0;
    bool italic = (flags & FONT_ITALIC) != 0;
    int weight = bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR;

    // The family itself, where this machine has it.
    CANDIDATE own{family.c_str(), weight, FC_WIDTH_NORMAL};
    if (Match(own, italic, true, &face)) {
        return face;
    }
    for (const SUBSTITUTE& s : SUBSTITUTES) {
        if (!SameName(s.Family, family.c_str())) {
            continue;
        }
        for (const CANDIDATE& c : s.Faces) {
            if (!c.Family) {
                break;
            }
            CANDIDATE want = c;
            want.Weight = std::max(c.Weight, weight);
            if (Match(want, italic, true, &face)) {
                return face;
            }
        }
    }
    // Any plain sans that draws the letters.
    CANDIDATE any{"sans-serif", weight, FC_WIDTH_NORMAL};
    if (Match(any, italic, false, &face)) {
        return face;
    }
    return FONT_FACE{};
}

FONT::FONT(const std::string& face, int height, int flags)
    : FaceName(face.substr(0, 79)), Height(height), Flags(flags) {}

FONT::~FONT() {
    FreeTexture();
}

void FONT::FreeTexture() {
    // A texture dies with its renderer; only a live one is destroyed here.
    if (Texture && Generation == DISPLAY::RendererGeneration()) {
        SDL_DestroyTexture(Texture);
    }
    Texture = nullptr;
    TextureWidth = TextureHeight = 0;
    Alpha.clear();
}

bool FONT::Layout(void* handle, unsigned size, std::vector<unsigned char>* alpha) {
    auto* font = static_cast<TTF_Font*>(handle);
    int xWidth = 0;
    int xHeight = 0;
    if (TTF_SizeText(font, "x", &xWidth, &xHeight) != 0) {
        return false;
    }
    // Each glyph gets a margin of 0.3 of the line height on both sides, room
    // for strokes that reach past the pen's advance.
    Margin = (3 * xHeight + 9) / 10;
    int h = TTF_FontHeight(font);
    int x = Margin;
    int y = 0;
    for (int c = FIRST_CHAR; c <= LAST_GLYPH; ++c) {
        int minX = 0, maxX = 0, minY = 0, maxY = 0, w = 0;
        if (TTF_GlyphMetrics32(font, Uint32(c), &minX, &maxX, &minY, &maxY, &w) != 0) {
            w = 0;
        }
        if (x + w + Margin > int(size)) {
            x = Margin;
            y += h + 1;
        }
        // Too small when the rows run out, or a glyph is wider than a row.
        if (y + h > int(size) || x + w + Margin > int(size)) {
            return false;
        }
        if (alpha) {
            // The glyph's picture starts at the pen, or left of it when the
            // stroke reaches back; its top is the line's top.
            if (SDL_Surface* glyph =
                    TTF_RenderGlyph32_Blended(font, Uint32(c), SDL_Color{255, 255, 255, 255})) {
                SDL_Surface* argb = SDL_ConvertSurfaceFormat(glyph, SDL_PIXELFORMAT_ARGB8888, 0);
                if (argb) {
                    int left = x + std::min(0, minX);
                    for (int gy = 0; gy < argb->h; ++gy) {
                        int ty = y + gy;
                        if (ty < 0 || ty >= int(size)) {
                            continue;
                        }
                        const auto* row = reinterpret_cast<const Uint32*>(
                            static_cast<const Uint8*>(argb->pixels) + gy * argb->pitch);
                        for (int gx = 0; gx < argb->w; ++gx) {
                            int tx = left + gx;
                            if (tx < 0 || tx >= int(size)) {
                                continue;
                            }
                            unsigned char a = static_cast<unsigned char>(row[gx] >> 24);
                            unsigned char& texel = (*alpha)[size_t(ty) * size + size_t(tx)];
                            texel = std::max(texel, a);
                        }
                    }
                    SDL_FreeSurface(argb);
                }
                SDL_FreeSurface(glyph);
            }
            float* r = Glyphs[c - FIRST_CHAR];
            r[0] = float(x - Margin) / float(size);
            r[1] = float(y) / float(size);
            r[2] = float(x + w + Margin) / float(size);
            r[3] = float(y + h) / float(size);
        }
        x += w + 2 * Margin;
    }
    return true;
}

HRESULT FONT::BuildGlyphTexture(DEVICE* device) {
    FreeTexture();
    Device = nullptr;
    Scale = 1.0f;
    if (!device || !device->Renderer()) {
        return E_FAIL;
    }
    Chosen = FindFontFace(FaceName, Flags);
    if (Chosen.File.empty() || TTF_Init() != 0) {
        return E_FAIL;
    }
    HRESULT result = E_FAIL;
    auto open = [this]() {
        Pixels = PixelsFor(Height, Scale);
        return Pixels > 0 ? TTF_OpenFontIndex(Chosen.File.c_str(), Pixels, Chosen.Index) : nullptr;
    };
    SDL_RendererInfo info{};
    unsigned limit = SIZE_LIMIT;
    if (SDL_GetRendererInfo(device->Renderer(), &info) == 0 && info.max_texture_width > 0) {
        limit = std::min(limit, unsigned(info.max_texture_width));
    }
    TTF_Font* font = open();
    unsigned size = FIRST_SIZE;
    bool fits = font != nullptr;
    // The smallest square power of two that holds every glyph...
    while (fits && !Layout(font, size, nullptr)) {
        fits = size < MEASURE_LIMIT;
        size *= 2;
    }
    if (fits && size > limit) {
        // ...or, past the renderer's limit, the glyphs drawn smaller into the
        // largest texture it takes and stretched back on screen.
        Scale = float(limit) / float(size);
        size = limit;
        fits = false;
        for (int tries = 0; !fits && tries < 64; ++tries) {
            if (tries > 0) {
                Scale *= 0.9f;
            }
            TTF_CloseFont(font);
            font = open();
            fits = font && Layout(font, size, nullptr);
        }
    }
    if (font && fits) {
        for (auto& r : Glyphs) {
            r[0] = r[1] = r[2] = r[3] = 0.0f;
        }
        std::vector<unsigned char> alpha(size_t(size) * size, 0);
        Layout(font, size, &alpha);
        // White texels with the coverage kept at 4 bits.
        std::vector<Uint32> texels(alpha.size());
        for (size_t i = 0; i < alpha.size(); ++i) {
            Uint32 a = alpha[i] >> 4;
            alpha[i] = static_cast<unsigned char>(a * 17);
            texels[i] = a ? (Uint32(alpha[i]) << 24) | 0x00FFFFFFu : 0u;
        }
        Texture = SDL_CreateTexture(device->Renderer(), SDL_PIXELFORMAT_ARGB8888,
                                    SDL_TEXTUREACCESS_STATIC, int(size), int(size));
        if (Texture &&
            SDL_UpdateTexture(Texture, nullptr, texels.data(), int(size * sizeof(Uint32))) == 0) {
            SDL_SetTextureBlendMode(Texture, SDL_BLENDMODE_BLEND);
            SDL_SetTextureScaleMode(Texture, SDL_ScaleModeNearest);
            Generation = DISPLAY::RendererGeneration();
            TextureWidth = TextureHeight = size;
            Alpha = std::move(alpha);
            Device = device;
            result = S_OK;
        } else if (Texture) {
            SDL_DestroyTexture(Texture);
            Texture = nullptr;
        }
    }
    if (font) {
        TTF_CloseFont(font);
    }
    TTF_Quit();
    return result;
}

HRESULT FONT::PrepareDrawing() {
    Vertices.reserve(BATCH_CORNERS * 4 / 6);
    Corners.reserve(BATCH_CORNERS);
    return S_OK;
}

float FONT::Advance(char c) const {
    const float* r = GlyphRect(c);
    return (r[2] - r[0]) * float(TextureWidth) / Scale - 2.0f * float(Margin) / Scale;
}

int FONT::TexelAlpha(unsigned x, unsigned y) const {
    if (x >= TextureWidth || y >= TextureHeight) {
        return 0;
    }
    return Alpha[size_t(y) * TextureWidth + x];
}

void FONT::Flush() {
    if (!Corners.empty() && !Device->Blind) {
        if (DRAW_RECORD* record = DRAW_RECORD::Listening()) {
            record->Geometry(Texture, Vertices.data(), int(Vertices.size()), Corners.data(),
                             int(Corners.size()));
        }
        SDL_RenderGeometry(Device->Renderer(), Texture, Vertices.data(), int(Vertices.size()),
                           Corners.data(), int(Corners.size()));
    }
    Vertices.clear();
    Corners.clear();
}

HRESULT FONT::DrawString(float x, float y, ARGB colour, const char* text, int) {
    if (!Device || !Device->Renderer() || !Texture || Generation != DISPLAY::RendererGeneration()) {
        return E_FAIL;
    }
    if (!text) {
        return S_OK;
    }
    SDL_Color tint{Uint8(colour >> 16), Uint8(colour >> 8), Uint8(colour), Uint8(colour >> 24)};
    float margin = float(Margin) / Scale;  // screen px
    const float* space = GlyphRect(' ');
    float lineHeight = (space[3] - space[1]) * float(TextureHeight) / Scale;
    // The quads carry their margins, so the pen starts one margin early and
    // neighbours overlap by two: glyphs sit as close as the face spaces them.
    x -= margin;
    float startX = x;
    Vertices.clear();
    Corners.clear();
    for (const char* p = text; *p; ++p) {
        signed char c = static_cast<signed char>(*p);
        if (c == '\n') {
            x = startX;
            y += lineHeight;
            continue;
        }
        // Control bytes, DEL (no glyph) and every byte of 128 and above.
        if (c < FIRST_CHAR || c > LAST_GLYPH) {
            continue;
        }
        const float* r = GlyphRect(c);
        float w = (r[2] - r[0]) * float(TextureWidth) / Scale;
        float h = (r[3] - r[1]) * float(TextureHeight) / Scale;
        if (c != ' ') {
            // Screen pixels cover [i, i + 1) here, so the quad needs no
            // half-pixel shift to land texel on pixel. The two triangles
            // meet on the diagonal from top-left to bottom-right, sharing
            // those corners by index: that is the shape in which SDL's
            // software renderer sees one rectangle and copies it texel for
            // pixel (its triangle filler would stretch a glyph by a pixel).
            int first = int(Vertices.size());
            Vertices.push_back({{x, y}, tint, {r[0], r[1]}});
            Vertices.push_back({{x + w, y}, tint, {r[2], r[1]}});
            Vertices.push_back({{x, y + h}, tint, {r[0], r[3]}});
            Vertices.push_back({{x + w, y + h}, tint, {r[2], r[3]}});
            Corners.insert(Corners.end(),
                           {first, first + 1, first + 3, first, first + 3, first + 2});
        }
        x += w - 2.0f * margin;
        if (int(Corners.size()) >= FLUSH_AT) {
            Flush();
        }
    }
    Flush();
    return S_OK;
}

void FONT::ReleaseTexture() {
    FreeTexture();
    Device = nullptr;
}
