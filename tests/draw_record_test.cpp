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
