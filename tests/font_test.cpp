// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Text drawn through glyph textures, checked on the pixels of an offscreen
// screen.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/device.h"
#include "platform/font.h"
#include "tests/test_support.h"

namespace {

// The smallest box holding every lit pixel of the frame; empty when the
// frame is black.
struct INK {
    int Left = 1 << 30;
    int Top = 1 << 30;
    int Right = -1;
    int Bottom = -1;
    int Pixels = 0;
    bool Empty() const { return Pixels == 0; }
};

INK FindInk(DEVICE& device, int left = 0, int top = 0, int right = DEVICE::WIDTH,
            int bottom = DEVICE::HEIGHT) {
    INK ink;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (device.ReadPixel(x, y) & 0xFFFFFF) {
                ink.Left = std::min(ink.Left, x);
                ink.Top = std::min(ink.Top, y);
                ink.Right = std::max(ink.Right, x);
                ink.Bottom = std::max(ink.Bottom, y);
                ++ink.Pixels;
            }
        }
    }
    return ink;
}

using TEST_SUPPORT::ReadFrame;

class TEXT : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(Device.CreateOffscreen(&error)) << error;
        Device.Clear(0);
    }
    std::unique_ptr<FONT> Make(const char* face, int points) {
        auto font = std::make_unique<FONT>(face, points, 0);
        EXPECT_EQ(font->BuildGlyphTexture(&Device), S_OK) << face;
        EXPECT_EQ(font->PrepareDrawing(), S_OK);
        return font;
    }

    DEVICE Device;
};

TEST(FONTFACE, FamiliesFindCloseFacesThatDrawLetters) {
    FONT_FACE impact = FindFontFace("Impact", 0);
    ASSERT_FALSE(impact.File.empty());
    if (impact.Family != "Impact") {
        // Impact is a heavy, condensed face; its stand-in is heavy, and
        // condensed wherever this machine has a condensed heavy face.
        EXPECT_GE(impact.Weight, 200) << impact.Family;
        FONT_FACE condensed = FindFontFace("DejaVu Sans Condensed", FONT_BOLD);
        if (condensed.Width < 100 && condensed.Weight >= 200) {
            EXPECT_LT(impact.Width, 100) << impact.Family;
        }
    }
    FONT_FACE arial = FindFontFace("Arial", 0);
    ASSERT_FALSE(arial.File.empty());
    EXPECT_LT(arial.Weight, 200) << arial.Family;
    FONT_FACE black = FindFontFace("Arial Black", 0);
    ASSERT_FALSE(black.File.empty());
    EXPECT_GE(black.Weight, 200) << black.Family;
    EXPECT_EQ(black.Width, 100) << black.Family;
    // A family nobody has still gets a plain face, never a symbol font.
    FONT_FACE unknown = FindFontFace("No Such Family At All", 0);
    EXPECT_FALSE(unknown.File.empty());
    FONT_FACE bold = FindFontFace("Arial", FONT_BOLD);
    EXPECT_GE(bold.Weight, 200) << bold.Family;
}

TEST_F(TEXT, PointsBecomePixelsAsOnANinetySixDotScreen) {
    auto title = Make("Impact", 26);
    auto text = Make("Arial", 12);
    EXPECT_EQ(title->PixelHeight(), 35);  // 26 * 96 / 72 = 34.67
    EXPECT_EQ(text->PixelHeight(), 16);
    // The capitals stand about as high as the faces' own capitals would.
    title->DrawString(10, 10, 0xFFFFFFFF, "H", 0);
    INK big = FindInk(Device);
    Device.Clear(0);
    text->DrawString(10, 10, 0xFFFFFFFF, "H", 0);
    INK small = FindInk(Device);
    EXPECT_NEAR(big.Bottom - big.Top + 1, 26, 3);
    EXPECT_NEAR(small.Bottom - small.Top + 1, 12, 2);
}

TEST_F(TEXT, GlyphTextureIsTheSmallestPowerOfTwoAndGlyphsNeverOverlap) {
    for (auto [face, points] : {std::pair{"Impact", 26}, {"Arial", 12}, {"Arial Black", 12}}) {
        auto font = Make(face, points);
        unsigned size = font->TextureSize();
        EXPECT_GE(size, 128u);
        EXPECT_EQ(size & (size - 1), 0u) << face;
        EXPECT_FLOAT_EQ(font->TextScale(), 1.0f);
        float lowest = 0.0f;
        for (int a = 32; a <= 126; ++a) {
            const float* r = font->GlyphRect(a);
            EXPECT_GE(r[0], 0.0f);
            EXPECT_LE(r[2], 1.0f);
            EXPECT_LE(r[3], 1.0f);
            EXPECT_LT(r[0], r[2]) << char(a);
            lowest = std::max(lowest, r[3]);
            for (int b = a + 1; b <= 126; ++b) {
                const float* s = font->GlyphRect(b);
                bool apart = r[2] <= s[0] || s[2] <= r[0] || r[3] <= s[1] || s[3] <= r[1];
                EXPECT_TRUE(apart) << face << ": '" << char(a) << "' and '" << char(b) << "'";
            }
        }
        // Half the texture would not have held them.
        EXPECT_GT(lowest * size, size / 2.0f) << face;
    }
}

TEST_F(TEXT, HugeFaceIsShrunkIntoTheLargestTextureAndDrawnAtFullSize) {
    auto font = Make("Arial", 360);  // 480 px: its glyphs need more than 4096 texels
    EXPECT_EQ(font->TextureSize(), 4096u);
    EXPECT_LT(font->TextScale(), 1.0f);
    EXPECT_GT(font->TextScale(), 0.3f);
    font->DrawString(10, 0, 0xFFFFFFFF, "H", 0);
    INK ink = FindInk(Device);
    // Liberation Sans capitals stand 0.69 of the em.
    EXPECT_NEAR(ink.Bottom - ink.Top + 1, 0.69 * 480, 0.69 * 480 * 0.08);
}

TEST_F(TEXT, GlyphsLandTexelForPixel) {
    for (auto [face, points] : {std::pair{"Impact", 26}, {"Arial", 12}}) {
        auto font = Make(face, points);
        for (char c : {'A', 'i', 'W', 'g'}) {
            Device.Clear(0);
            font->DrawString(100, 100, 0xFFFFFFFF, std::string(1, c).c_str(), 0);
            const float* r = font->GlyphRect(c);
            unsigned size = font->TextureSize();
            int left = int(r[0] * size);
            int top = int(r[1] * size);
            int width = int((r[2] - r[0]) * size);
            int height = int((r[3] - r[1]) * size);
            int lit = 0;
            int wrong = 0;
            // The quad starts one margin before the pen; one pixel round it
            // stays dark.
            int x0 = 100 - font->Spacing();
            for (int y = -1; y <= height; ++y) {
                for (int x = -1; x <= width; ++x) {
                    bool inside = x >= 0 && y >= 0 && x < width && y < height;
                    int texel = inside ? font->TexelAlpha(left + x, top + y) : 0;
                    int pixel = int(Device.ReadPixel(x0 + x, 100 + y) & 0xFF);
                    lit += texel > 0;
                    wrong += std::abs(pixel - texel) > 1;
                }
            }
            EXPECT_GT(lit, 10) << face << " '" << c << "'";
            EXPECT_EQ(wrong, 0) << face << " '" << c << "'";
        }
    }
}

TEST_F(TEXT, EmptyStringsAndSpacesDrawNothing) {
    auto font = Make("Arial", 12);
    EXPECT_EQ(font->DrawString(100, 100, 0xFFFFFFFF, "", 0), S_OK);
    EXPECT_EQ(font->DrawString(100, 100, 0xFFFFFFFF, "   ", 0), S_OK);
    EXPECT_TRUE(FindInk(Device).Empty());
}

TEST_F(TEXT, SpaceMovesThePenByItsOwnAdvance) {
    auto font = Make("Impact", 26);
    font->DrawString(100, 100, 0xFFFFFFFF, "A", 0);
    INK alone = FindInk(Device);
    ASSERT_FALSE(alone.Empty());
    Device.Clear(0);
    font->DrawString(100, 100, 0xFFFFFFFF, " A", 0);
    INK after = FindInk(Device);
    int shift = int(font->Advance(' '));
    EXPECT_GT(shift, 3);
    EXPECT_EQ(after.Left, alone.Left + shift);
    EXPECT_EQ(after.Top, alone.Top);
    EXPECT_EQ(after.Pixels, alone.Pixels);
    // The glyph starts at the pen, not a margin later.
    EXPECT_LE(alone.Left, 102);
    EXPECT_GE(alone.Left, 98);
}

TEST_F(TEXT, NewlineReturnsToTheStartOneLineLower) {
    auto font = Make("Arial", 12);
    font->DrawString(50, 60, 0xFFFFFFFF, "H", 0);
    INK first = FindInk(Device);
    Device.Clear(0);
    font->DrawString(50, 60, 0xFFFFFFFF, "HHH\nH", 0);
    const float* space = font->GlyphRect(' ');
    int line = int((space[3] - space[1]) * font->TextureSize());
    EXPECT_GE(line, 16);
    INK second = FindInk(Device, 0, first.Bottom + 1, DEVICE::WIDTH, DEVICE::HEIGHT);
    EXPECT_EQ(second.Left, first.Left);
    EXPECT_EQ(second.Right, first.Right);
    EXPECT_EQ(second.Top, first.Top + line);
}

TEST_F(TEXT, BytesOutsidePrintableAsciiAreSkipped) {
    auto font = Make("Arial", 12);
    font->DrawString(20, 20, 0xFFFFFFFF, "AB", 0);
    std::vector<ARGB> plain = ReadFrame(Device);
    Device.Clear(0);
    font->DrawString(20, 20, 0xFFFFFFFF,
                     "A\xC3\xA9\x80\xFF\x7F\t\x01"
                     "B",
                     0);
    EXPECT_EQ(ReadFrame(Device), plain);
}

TEST_F(TEXT, LongStringsAreDrawnWhole) {
    auto font = Make("Arial", 12);
    std::string text(120, '.');
    text[119] = 'W';  // the last one has to show up too
    font->DrawString(10, 100, 0xFFFFFFFF, text.c_str(), 0);
    std::vector<ARGB> whole = ReadFrame(Device);
    // The same characters one draw each, at the pen positions.
    Device.Clear(0);
    float x = 10;
    for (char c : text) {
        font->DrawString(x, 100, 0xFFFFFFFF, std::string(1, c).c_str(), 0);
        x += font->Advance(c);
    }
    EXPECT_EQ(ReadFrame(Device), whole);
    INK last = FindInk(Device, int(10 + 119 * font->Advance('.')), 90, DEVICE::WIDTH, 140);
    EXPECT_GT(last.Right - last.Left, 8) << "the W at the end";
}

TEST_F(TEXT, ColourTintsTheGlyphsAndAlphaFadesThem) {
    auto font = Make("Arial Black", 12);
    font->DrawString(10, 10, 0xFFFF0000, "MMMM", 0);
    INK ink = FindInk(Device);
    ARGB brightest = 0;
    for (int y = ink.Top; y <= ink.Bottom; ++y) {
        for (int x = ink.Left; x <= ink.Right; ++x) {
            ARGB p = Device.ReadPixel(x, y);
            EXPECT_EQ(p & 0x00FFFF, 0u);
            brightest = std::max(brightest, (p >> 16) & 0xFF);
        }
    }
    EXPECT_EQ(brightest, 0xFFu);
    Device.Clear(0);
    font->DrawString(10, 10, 0x80FFFFFF, "MMMM", 0);
    ARGB half = 0;
    for (int y = ink.Top; y <= ink.Bottom; ++y) {
        for (int x = ink.Left; x <= ink.Right; ++x) {
            half = std::max(half, Device.ReadPixel(x, y) & 0xFF);
        }
    }
    EXPECT_NEAR(double(half), 128.0, 2.0);
}

TEST_F(TEXT, DrawingFailsQuietlyWithoutAGlyphTexture) {
    FONT unbuilt("Arial", 12, 0);
    EXPECT_EQ(unbuilt.DrawString(10, 10, 0xFFFFFFFF, "text", 0), E_FAIL);
    EXPECT_EQ(unbuilt.BuildGlyphTexture(nullptr), E_FAIL);
    EXPECT_EQ(unbuilt.DrawString(10, 10, 0xFFFFFFFF, "text", 0), E_FAIL);
    auto font = Make("Impact", 26);
    font->ReleaseTexture();
    EXPECT_EQ(font->DrawString(10, 10, 0xFFFFFFFF, "text", 0), E_FAIL);
    EXPECT_TRUE(FindInk(Device).Empty());
    // Built again, it draws again.
    EXPECT_EQ(font->BuildGlyphTexture(&Device), S_OK);
    EXPECT_EQ(font->DrawString(10, 10, 0xFFFFFFFF, "text", 0), S_OK);
    EXPECT_FALSE(FindInk(Device).Empty());
}

// The four faces of the game on one screen, saved for a person to look at.
TEST_F(TEXT, SceneWithTheGamesFourFaces) {
    auto title = Make("Impact", 26);
    auto text = Make("Arial", 12);
    auto score = Make("Arial Black", 12);
    auto credits = Make("Impact", 16);
    Device.Clear(0xFF203040);
    title->DrawString(330, 40, 0xFFFFFFFF, "Level 1-1", 0);
    title->DrawString(62, 102, 0x88888888, "x 3", 0);
    title->DrawString(60, 100, 0xFFFFFFFF, "x 3", 0);
    score->DrawString(12, 162, 0x88888888, "SCORE: 12345", 0);
    score->DrawString(10, 160, 0xFFFFFFFF, "SCORE: 12345", 0);
    text->DrawString(350, 200, 0xFF000000 | 0xFFE080,
                     "Hello, Vortigan! Walk with the arrows,\n"
                     "jump with Up, and hold Space for a mega jump.\n"
                     "The quick brown fox jumps over the lazy dog 0123456789",
                     0);
    credits->DrawString(40, 300, 0xFFFFFFFF,
                        "CREDITS\nProgramming, art, sound and music: the Vortigan team\n"
                        "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~",
                        0);
    title->DrawString(40, 450, 0x80FFFFFF, "PAUSED (half faded)", 0);
    std::string path =
        (std::filesystem::temp_directory_path() / "vortigan_font_scene.png").string();
    EXPECT_TRUE(Device.SaveScreenshot(path));
    for (int top : {40, 100, 160, 200, 300, 450}) {
        EXPECT_FALSE(FindInk(Device, 0, top, DEVICE::WIDTH, top + 30).Empty()) << top;
    }
}

}  // namespace
