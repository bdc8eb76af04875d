// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

#include "math/colour.h"
#include "platform/types.h"

class DEVICE;
struct SDL_Texture;
struct SDL_Vertex;

// Style flags of a FONT.
inline constexpr int FONT_BOLD = 1;
inline constexpr int FONT_ITALIC = 2;

// The font file that serves a family name. Families this machine lacks get
// a close free face ("Impact" a condensed heavy sans, "Arial" a plain sans,
// "Arial Black" a heavy sans); a symbol or dingbat face is never chosen.
struct FONT_FACE {
    std::string File;  // empty when no usable face was found
    int Index = 0;     // face within the file
    std::string Family;
    int Weight = 0;   // fontconfig weight (80 regular, 200 bold, 210 black)
    int Width = 100;  // fontconfig width (100 normal, 75 condensed)
};
FONT_FACE FindFontFace(const std::string& family, int flags);

// Screen text in one face and size. The printable ASCII characters are
// rasterised once into a glyph texture (white, 4-bit alpha); a string is
// drawn as one textured quad per character.
class FONT {
public:
    // Characters with a glyph: 32..126; 127 has a rectangle but no glyph.
    static constexpr int FIRST_CHAR = 32;
    static constexpr int GLYPHS = 96;

    FONT(const std::string& face, int height, int flags);
    FONT(const FONT&) = delete;
    FONT& operator=(const FONT&) = delete;
    ~FONT();

    HRESULT BuildGlyphTexture(DEVICE* device);
    HRESULT PrepareDrawing();
    // Text with its top-left corner at screen (x, y), tinted by the colour.
    // Fails without drawing when there is no glyph texture or device.
    HRESULT DrawString(float x, float y, ARGB colour, const char* text, int flags);
    // Forgets the texture and the device; later DrawString calls fail.
    void ReleaseTexture();

    // What BuildGlyphTexture made, for the curious and for tests.
    const FONT_FACE& Face() const { return Chosen; }
    int PixelHeight() const { return Pixels; }
    unsigned TextureSize() const { return TextureWidth; }
    float TextScale() const { return Scale; }
    int Spacing() const { return Margin; }
    // Fractions of the texture: left, top, right, bottom.
    const float* GlyphRect(int c) const { return Glyphs[c - FIRST_CHAR]; }
    // Screen px the pen moves for one character.
    float Advance(char c) const;
    // Alpha of one glyph texel, 0..255 in steps of 17 (a copy kept beside
    // the texture).
    int TexelAlpha(unsigned x, unsigned y) const;

private:
    // Lays the glyphs out in a square texture of `size` texels; paints them
    // into `alpha` when given. False when they do not fit.
    bool Layout(void* font, unsigned size, std::vector<unsigned char>* alpha);
    void Flush();
    void FreeTexture();

    std::string FaceName;
    int Height;  // points
    int Flags;
    FONT_FACE Chosen;
    int Pixels = 0;            // em height in px for the current text scale
    DEVICE* Device = nullptr;  // not owned
    SDL_Texture* Texture = nullptr;
    unsigned Generation = 0;    // of the renderer that made the texture
    unsigned TextureWidth = 0;  // texels; the texture is square
    unsigned TextureHeight = 0;
    float Scale = 1.0f;  // < 1 only when the texture had to be capped
    int Margin = 0;      // texels of margin on both sides of each glyph
    float Glyphs[GLYPHS][4] = {};
    std::vector<unsigned char> Alpha;  // of every texel, row by row
    // One batch: four vertices a character, six triangle corners indexing them.
    std::vector<SDL_Vertex> Vertices;
    std::vector<int> Corners;
};
