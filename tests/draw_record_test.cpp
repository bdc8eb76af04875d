// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The renderer calls written down for the benchmarks' bare loop: played
// again, they must draw exactly the frame the game drew.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/device.h"
#include "platform/draw_record.h"
#include "platform/font.h"
#include "platform/sprite.h"
#include "platform/texture.h"
#include "test_support.h"

namespace {

using TEST_SUPPORT::ReadFrame;

size_t Lit(const std::vector<ARGB>& frame) {
    size_t lit = 0;
    for (ARGB p : frame) {
        lit += (p & 0xFFFFFF) != 0 ? 1 : 0;
    }
    return lit;
}

TEST(DRAWRECORD, ReplayDrawsTheRecordedFrameExactly) {
    TEST_SUPPORT::TEMP_DIR dir;
    // A picture with four different quarters, so a lost flip or turn shows.
    std::vector<uint32_t> argb(16 * 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            argb[size_t(y * 16 + x)] =
                x < 8 ? (y < 8 ? 0xFFFF0000 : 0xFF00FF00) : (y < 8 ? 0xFF0000FF : 0xFFFFFFFF);
        }
    }
    TEST_SUPPORT::WriteBytes(dir.File("quarters.dds"), TEST_SUPPORT::MakeDds(16, 16, argb));

    DEVICE device;
    std::string error;
    ASSERT_TRUE(device.CreateOffscreen(&error)) << error;
    std::unique_ptr<TEXTURE> texture(TEXTURE::LoadExact(&device, dir.File("quarters.dds"), 16, 16));
    ASSERT_TRUE(texture);
    FONT font("Arial", 12, 0);
    ASSERT_EQ(font.BuildGlyphTexture(&device), S_OK);
    font.PrepareDrawing();
    SPRITE sprite(&device);

    DRAW_RECORD record;
    record.Start();
    device.Clear(0x00203040);
    RECT part{0, 0, 16, 12};
    VECTOR2 mirrored{-6.0f, 5.0f};
    VECTOR2 centre{40.0f, 30.0f};
    VECTOR2 at{300.0f, 200.0f};
    sprite.Draw(texture.get(), &part, &mirrored, &centre, 0.6f, &at, 0x80FFC0A0);
    VECTOR2 plain{100.0f, 400.0f};
    sprite.Draw(texture.get(), nullptr, nullptr, nullptr, 0.0f, &plain, 0xFFFFFFFF);
    font.DrawString(20.0f, 20.0f, 0xFFFFFF00, "Level 3-3", 0);
    device.Present();
    record.Stop();
    std::vector<ARGB> drawn = ReadFrame(device);

    EXPECT_EQ(record.Copies(), 2u);
    EXPECT_EQ(record.Calls(), 5u) << "a clear, two copies, one glyph batch, a present";
    ASSERT_GT(Lit(drawn), 1000u);

    // Nothing is written down once the record has stopped.
    device.Clear(0x00000000);
    device.Present();
    EXPECT_EQ(record.Calls(), 5u);
    EXPECT_EQ(Lit(ReadFrame(device)), 0u);

    record.Replay(&device);
    EXPECT_EQ(ReadFrame(device), drawn);
}

TEST(DRAWRECORD, OpaquePartsCopiedLookAsIfBlended) {
    TEST_SUPPORT::TEMP_DIR dir;
    // Left half opaque in shades, right half see-through, one column clear.
    std::vector<uint32_t> argb(32 * 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            const uint32_t shade = uint32_t(x * 7 + y * 13) & 0xFF;
            const uint32_t alpha = x < 16 ? 0xFF : x == 31 ? 0x00 : 0x80;
            argb[size_t(y * 32 + x)] = alpha << 24 | shade << 16 | (255 - shade) << 8 | 0x40;
        }
    }
    TEST_SUPPORT::WriteBytes(dir.File("half.dds"), TEST_SUPPORT::MakeDds(32, 16, argb));
    DEVICE device;
    std::string error;
    ASSERT_TRUE(device.CreateOffscreen(&error)) << error;
    std::unique_ptr<TEXTURE> texture(TEXTURE::LoadExact(&device, dir.File("half.dds"), 32, 16));
    ASSERT_TRUE(texture);
    SPRITE sprite(&device);
    RECT solid{0, 0, 16, 16};
    auto draw = [&](const RECT* part, float scale, float x, float y, ARGB colour) {
        VECTOR2 scaling{scale, scale};
        VECTOR2 at{x, y};
        sprite.Draw(texture.get(), part, &scaling, nullptr, 0.0f, &at, colour);
    };

    DRAW_RECORD record;
    record.Start();
    device.Clear(0x00305070);
    draw(nullptr, 20.0f, 0.0f, 0.0f, 0xFFFFFFFF);  // a backdrop that is not one colour
    draw(&solid, 1.0f, 10.0f, 10.0f, 0xFFFFFFFF);
    draw(&solid, 0.5f, 100.3f, 10.6f, 0xFFFFFFFF);   // zoomed out
    draw(&solid, 2.3f, -7.0f, 590.0f, 0xFFFFFFFF);   // half off the screen
    draw(&solid, 3.0f, 200.0f, 100.0f, 0xFF80C0FF);  // tinted
    draw(&solid, 3.0f, 300.0f, 100.0f, 0x80FFFFFF);  // fading: blends
    draw(nullptr, 2.0f, 400.0f, 100.0f, 0xFFFFFFFF);
    device.Present();
    record.Stop();
    std::vector<ARGB> drawn = ReadFrame(device);
    EXPECT_EQ(record.Unblended(), 4u) << "the opaque half at full alpha, and nothing else";

    record.Replay(&device, DRAW_RECORD::BLENDING::ALL);
    EXPECT_EQ(ReadFrame(device), drawn);
}

TEST(DRAWRECORD, OneRecordListensAtATime) {
    DRAW_RECORD first;
    DRAW_RECORD second;
    first.Start();
    EXPECT_EQ(DRAW_RECORD::Listening(), &first);
    second.Start();
    EXPECT_EQ(DRAW_RECORD::Listening(), &second);
    EXPECT_FALSE(first.Recording());
    first.Stop();  // stopping one that no longer listens leaves the other be
    EXPECT_TRUE(second.Recording());
    {
        DRAW_RECORD gone;
        gone.Start();
    }
    EXPECT_EQ(DRAW_RECORD::Listening(), nullptr) << "a record stops listening as it goes";
}

}  // namespace
