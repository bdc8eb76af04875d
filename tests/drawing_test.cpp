// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Colours and vectors, the log, and pictures: how they load and how they
// are drawn.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "math/colour.h"
#include "math/vector2.h"
#include "platform/dds.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/sprite.h"
#include "platform/texture.h"
#include "tests/test_support.h"

using TEST_SUPPORT::TEMP_DIR;

namespace {

constexpr ARGB RED = 0xFFFF0000u;
constexpr ARGB BLUE = 0xFF0000FFu;

// Channels within a couple of steps of each other: linear filtering smears
// the edges, never the middles we look at.
bool Near(ARGB a, ARGB b) {
    return TEST_SUPPORT::ColourNear(a, b, 8);
}

}  // namespace

TEST(Colour, FloatsClampScaleAndRound) {
    EXPECT_EQ(ColourFromFloats(1.0f, 0.5f, 0.0f, 2.0f), 0xFFFF8000u);
    EXPECT_EQ(ColourFromFloats(-1.0f, 0.0f, 0.0f, -0.5f), 0x00000000u);
    // 0.2 × 255 + 0.5 = 51.5, truncated to 51.
    EXPECT_EQ(ColourFromFloats(0.2f, 0.2f, 0.2f, 1.0f), 0xFF333333u);
    EXPECT_EQ(WhiteWithAlpha(0.5f), 0x80FFFFFFu);
}

TEST(Vector, NormalisingZeroGivesZero) {
    VECTOR2 zero;
    EXPECT_EQ(zero.Normalised(), VECTOR2(0.0f, 0.0f));
    VECTOR2 v = VECTOR2(3.0f, 4.0f).Normalised();
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, 0.8f);
    EXPECT_FLOAT_EQ((VECTOR2(1, 2) - VECTOR2(4, 6)).Length(), 5.0f);
}

TEST(Log, TruncatesAtOpenAndFlushesEveryLine) {
    TEMP_DIR dir;
    std::string path = dir.File("debug.txt");
    TEST_SUPPORT::WriteText(path, "an old run's lines\n");
    ASSERT_TRUE(LOG::Open(path));
    LOG log;
    log.WriteLine("Application initiated");
    // Read back while the stream is still open: each line is on disk at once.
    EXPECT_EQ(TEST_SUPPORT::ReadText(path), "Application initiated\n");
    log.WriteBool(true);
    log.WriteBool(false);
    log.NewLine(1);
    EXPECT_EQ(TEST_SUPPORT::ReadText(path), "Application initiated\nTrueFalse\n");
    LOG::Close();
    // Writes after the log is closed are dropped, never a crash.
    log.WriteLine("lost");
    EXPECT_EQ(TEST_SUPPORT::ReadText(path), "Application initiated\nTrueFalse\n");
}

class Drawing : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(Device.CreateOffscreen(&error)) << error;
    }
    void TearDown() override { Device.Destroy(); }

    // A 20 × 10 picture: left half red, right half blue.
    TEXTURE* MarkedPicture() {
        std::vector<uint32_t> px(20 * 10);
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 20; ++x) {
                px[y * 20 + x] = x < 10 ? RED : BLUE;
            }
        }
        std::string path = Dir.File("marked.dds");
        TEST_SUPPORT::WriteBytes(path, TEST_SUPPORT::MakeDds(20, 10, px));
        return TEXTURE::LoadExact(&Device, path, 20, 10);
    }

    TEMP_DIR Dir;
    DEVICE Device;
};

TEST_F(Drawing, ScaleThenTurnAnticlockwiseAboutTheCentreThenMove) {
    TEXTURE* picture = MarkedPicture();
    ASSERT_NE(picture, nullptr);
    SPRITE sprite(&Device);
    Device.Clear(0xFF000000u);
    ASSERT_TRUE(Device.BeginScene());
    sprite.Begin();
    // Scaled to 40 × 20, turned a quarter anticlockwise about its own
    // top-left corner, then moved to (100, 100): the picture now points up,
    // red just above (100, 100) and blue above that.
    VECTOR2 scaling{2.0f, 2.0f};
    VECTOR2 centre{0.0f, 0.0f};
    VECTOR2 where{100.0f, 100.0f};
    sprite.Draw(picture, nullptr, &scaling, &centre, float(M_PI / 2), &where, COLOUR_WHITE);
    sprite.End();
    Device.EndScene();
    EXPECT_TRUE(Near(Device.ReadPixel(110, 90), RED));
    EXPECT_TRUE(Near(Device.ReadPixel(110, 70), BLUE));
    // Unturned it would have covered this; turned clockwise, (90, 110).
    EXPECT_TRUE(Near(Device.ReadPixel(110, 110), 0xFF000000u));
    EXPECT_TRUE(Near(Device.ReadPixel(90, 110), 0xFF000000u));
    delete picture;
}

TEST_F(Drawing, TurnsAboutACentreInScaledPixels) {
    TEXTURE* picture = MarkedPicture();
    ASSERT_NE(picture, nullptr);
    SPRITE sprite(&Device);
    Device.Clear(0xFF000000u);
    ASSERT_TRUE(Device.BeginScene());
    // Half a turn about the middle of the 40 × 20 scaled picture keeps it in
    // place but swaps its halves: blue on the left, red on the right.
    VECTOR2 scaling{2.0f, 2.0f};
    VECTOR2 centre{20.0f, 10.0f};
    VECTOR2 where{200.0f, 200.0f};
    sprite.Draw(picture, nullptr, &scaling, &centre, float(M_PI), &where, COLOUR_WHITE);
    // A source rectangle cuts the picture: only the blue half, tinted to
    // half alpha over black.
    RECT blueHalf{10, 0, 20, 10};
    VECTOR2 there{300.0f, 300.0f};
    sprite.Draw(picture, &blueHalf, nullptr, nullptr, 0.0f, &there, 0x80FFFFFFu);
    Device.EndScene();
    EXPECT_TRUE(Near(Device.ReadPixel(205, 210), BLUE));
    EXPECT_TRUE(Near(Device.ReadPixel(235, 210), RED));
    EXPECT_TRUE(Near(Device.ReadPixel(305, 305), 0xFF000080u));
    EXPECT_TRUE(Near(Device.ReadPixel(315, 305), 0xFF000000u));
    delete picture;
}

TEST_F(Drawing, ExactAndPowerOfTwoLoaders) {
    std::vector<uint32_t> px(20 * 10, RED);
    std::string path = Dir.File("p.dds");
    TEST_SUPPORT::WriteBytes(path, TEST_SUPPORT::MakeDds(20, 10, px));
    TEXTURE* exact = TEXTURE::LoadExact(&Device, path, 33, 7);
    ASSERT_NE(exact, nullptr);
    EXPECT_EQ(exact->Width, 33);
    EXPECT_EQ(exact->Height, 7);
    TEXTURE* pow2 = TEXTURE::LoadDefault(&Device, path);
    ASSERT_NE(pow2, nullptr);
    EXPECT_EQ(pow2->Width, 32);
    EXPECT_EQ(pow2->Height, 16);
    delete exact;
    delete pow2;
    EXPECT_EQ(NextPowerOfTwo(800), 1024);
    EXPECT_EQ(NextPowerOfTwo(600), 1024);
    EXPECT_EQ(NextPowerOfTwo(64), 64);
    EXPECT_EQ(NextPowerOfTwo(0), 1);
    EXPECT_EQ(TEXTURE::LoadExact(&Device, Dir.File("missing.dds"), 8, 8), nullptr);
    EXPECT_EQ(TEXTURE::LoadDefault(&Device, Dir.File("missing.jpg")), nullptr);
}

TEST_F(Drawing, DamagedPicturesLoadAsNothing) {
    std::vector<uint32_t> px(16 * 16, BLUE);
    std::vector<uint8_t> good = TEST_SUPPORT::MakeDds(16, 16, px);
    std::mt19937 random(7);
    // Every cut of a good file, and random bytes behind a real header.
    for (size_t size = 0; size < good.size(); size += 37) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + size);
        DDS_IMAGE image;
        EXPECT_FALSE(DecodeDds(cut.data(), cut.size(), &image)) << size;
    }
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> noise = good;
        size_t start = round % 2 ? 0 : 4;
        for (size_t i = start; i < noise.size(); ++i) {
            if (random() % 4 == 0) {
                noise[i] = uint8_t(random());
            }
        }
        DDS_IMAGE image;
        if (DecodeDds(noise.data(), noise.size(), &image)) {
            EXPECT_EQ(image.Pixels.size(), size_t(image.Width) * size_t(image.Height));
        }
    }
    std::string path = Dir.File("garbage.jpg");
    std::vector<uint8_t> garbage(5000);
    for (auto& b : garbage) {
        b = uint8_t(random());
    }
    TEST_SUPPORT::WriteBytes(path, garbage);
    EXPECT_EQ(TEXTURE::LoadDefault(&Device, path), nullptr);
    TEST_SUPPORT::WriteBytes(Dir.File("short.dds"), {'D', 'D', 'S', ' ', 124, 0});
    EXPECT_EQ(TEXTURE::LoadExact(&Device, Dir.File("short.dds"), 8, 8), nullptr);
}
