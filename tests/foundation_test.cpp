// The ground everything stands on: colours and vectors, the log, pictures
// and how they are drawn, input scripts, and whole headless runs.

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
#include "platform/input_script.h"
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

TEST(InputScript, ReadsEventsAndNamesTheBadLine) {
    std::vector<INPUT_EVENT> events;
    std::string error;
    ASSERT_TRUE(ParseInputScript(
        "# walk, then jump\n0 +RIGHT\n\n30 +UP   # hop\n31 -UP\n40 mouse -3 5\n", &events, &error))
        << error;
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[1].Frame, 30);
    EXPECT_EQ(events[1].Key, INPUT_KEY::UP);
    EXPECT_EQ(events[3].Type, INPUT_EVENT::TYPE::MOUSE);
    EXPECT_EQ(events[3].MouseDx, -3);

    const char* bad[] = {
        "10 +JUMP\n",   "x +UP\n",        "10 UP\n",        "-5 +UP\n",
        "10 mouse 3\n", "10 mouse a b\n", "10 +UP extra\n", "99999999999999999999999 +UP\n"};
    for (const char* text : bad) {
        std::string script = std::string("0 +LEFT\n") + text;
        error.clear();
        EXPECT_FALSE(ParseInputScript(script, &events, &error)) << text;
        EXPECT_NE(error.find("2"), std::string::npos) << "names line 2: " << error;
    }
}

TEST(InputScript, PlaysKeysFromTheirFrame) {
    std::vector<INPUT_EVENT> events;
    std::string error;
    ASSERT_TRUE(ParseInputScript("2 +SPACE\n4 -SPACE\n3 mouse 7 0\n", &events, &error));
    INPUT_PLAYER player(events);
    bool held[6];
    int dx[6];
    for (int frame = 0; frame < 6; ++frame) {
        player.BeginFrame(frame);
        held[frame] = player.IsDown(INPUT_KEY::SPACE);
        int dy;
        player.MouseMotion(&dx[frame], &dy);
    }
    EXPECT_FALSE(held[1]);
    EXPECT_TRUE(held[2]);
    EXPECT_TRUE(held[3]);
    EXPECT_FALSE(held[4]);
    EXPECT_EQ(dx[3], 7);
    EXPECT_EQ(dx[4], 0);  // a motion belongs to its one frame
}

TEST(HeadlessRun, RunsTheFrameLoopAndWritesAScreenshot) {
    TEMP_DIR dir;
    std::string shot = dir.File("f.png");
    std::string args = "--headless --frames 120 --fixed-dt 0.0166667 --data '" +
                       std::string(VORTIGAN_DATA_DIR) + "' --user-dir '" + dir.Path().string() +
                       "' --screenshot 100:'" + shot + "'";
    std::string output;
    EXPECT_EQ(TEST_SUPPORT::RunGame(args, &output), 0) << output;
    std::vector<uint8_t> png = TEST_SUPPORT::ReadBytes(shot);
    ASSERT_GT(png.size(), 24u);
    // The PNG header holds the size, big-endian, at bytes 16 and 20.
    auto be32 = [&](size_t at) {
        return (png[at] << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) | png[at + 3];
    };
    EXPECT_EQ(be32(16), 800);
    EXPECT_EQ(be32(20), 600);
    EXPECT_EQ(TEST_SUPPORT::ReadText(dir.File("debug.txt")), "Application initiated\n");
}

// Headless, only the frames written to a PNG are painted. A frame painted
// after 150 unpainted ones must look exactly as it does when every frame
// before it was painted too.
TEST(HeadlessRun, AFramePaintedAfterUnpaintedOnesLooksTheSame) {
    TEMP_DIR dir;
    TEST_SUPPORT::WriteText(dir.File("in.txt"), "40 +RIGHT\n90 +SPACE\n120 -SPACE\n");
    std::string pngs[2];
    for (int run = 0; run < 2; ++run) {
        std::string args = "--headless --level 0 --frames 151 --fixed-dt 0.0166667 --data '" +
                           std::string(VORTIGAN_DATA_DIR) + "' --user-dir '" + dir.Path().string() +
                           "' --input '" + dir.File("in.txt") + "'";
        // The second run paints every frame: each is written out.
        for (int f = run == 0 ? 150 : 0; f <= 150; ++f) {
            args += " --screenshot " + std::to_string(f) + ":'" + dir.File("f.png") + "'";
        }
        std::string output;
        ASSERT_EQ(TEST_SUPPORT::RunGame(args, &output), 0) << output;
        pngs[run] = TEST_SUPPORT::ReadText(dir.File("f.png"));
    }
    ASSERT_GT(pngs[0].size(), 1000u);
    EXPECT_TRUE(pngs[0] == pngs[1]);
}

TEST(HeadlessRun, MissingDataStillRunsAndLogsOnlyTheStart) {
    TEMP_DIR dir;
    TEMP_DIR empty;
    std::string args = "--headless --frames 60 --fixed-dt 0.02 --data '" + empty.Path().string() +
                       "' --user-dir '" + dir.Path().string() + "'";
    std::string output;
    EXPECT_EQ(TEST_SUPPORT::RunGame(args, &output), 0) << output;
    EXPECT_EQ(TEST_SUPPORT::ReadText(dir.File("debug.txt")), "Application initiated\n");
}

TEST(HeadlessRun, SameInputSameTrace) {
    TEMP_DIR dir;
    TEST_SUPPORT::WriteText(dir.File("in.txt"),
                            "5 +RETURN\n6 -RETURN\n20 mouse 40 -30\n30 +P\n31 -P\n");
    std::string traces[2];
    for (int run = 0; run < 2; ++run) {
        std::string trace = dir.File("trace" + std::to_string(run) + ".csv");
        std::string args = "--headless --frames 90 --fixed-dt 0.0166667 --data '" +
                           std::string(VORTIGAN_DATA_DIR) + "' --user-dir '" + dir.Path().string() +
                           "' --input '" + dir.File("in.txt") + "' --trace '" + trace + "'";
        std::string output;
        ASSERT_EQ(TEST_SUPPORT::RunGame(args, &output), 0) << output;
        traces[run] = TEST_SUPPORT::ReadText(trace);
    }
    EXPECT_EQ(traces[0].rfind("frame,state,level,x,y,vx,vy,health,lives,score,objects,zoom\n", 0),
              0u);
    EXPECT_GT(traces[0].size(), 90u * 10u);
    EXPECT_EQ(traces[0], traces[1]);
}

TEST(HeadlessRun, BadOptionsAndScriptsExitWithStatusTwo) {
    TEMP_DIR dir;
    std::string output;
    EXPECT_EQ(TEST_SUPPORT::RunGame("--headless --frames banana", &output), 2);
    EXPECT_EQ(TEST_SUPPORT::RunGame("--no-such-option", &output), 2);
    EXPECT_NE(output.find("--no-such-option"), std::string::npos) << output;
    TEST_SUPPORT::WriteText(dir.File("bad.txt"), "0 +LEFT\n3 +TELEPORT\n");
    EXPECT_EQ(TEST_SUPPORT::RunGame("--headless --frames 5 --input '" + dir.File("bad.txt") +
                                        "' --user-dir '" + dir.Path().string() + "'",
                                    &output),
              2);
    EXPECT_NE(output.find("2"), std::string::npos) << output;
    EXPECT_EQ(TEST_SUPPORT::RunGame(
                  "--headless --frames 5 --input '" + dir.File("nowhere.txt") + "'", &output),
              2);
}

TEST(InputScript, ManyMotionsOnOneFrameSaturate) {
    std::string script;
    for (int i = 0; i < 30000; ++i) {
        script += "0 mouse 100000 -100000\n";
    }
    std::vector<INPUT_EVENT> events;
    std::string error;
    ASSERT_TRUE(ParseInputScript(script, &events, &error)) << error;
    INPUT_PLAYER player(events);
    player.BeginFrame(0);
    int dx, dy;
    player.MouseMotion(&dx, &dy);
    EXPECT_EQ(dx, 1000000);
    EXPECT_EQ(dy, -1000000);
}
