// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The menu's mouse cursor: motion, limits, buttons and the drawn picture.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/device.h"
#include "platform/keys.h"
#include "platform/log.h"
#include "platform/mouse.h"
#include "platform/platform.h"
#include "platform/texture.h"
#include "tests/test_support.h"

namespace {

using TEST_SUPPORT::TEMP_DIR;

class MOUSE_ON_SCREEN : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(Device.CreateOffscreen(&error)) << error;
        Mouse.InitMouse(&Device);
    }
    void TearDown() override { PLATFORM::Shutdown(); }

    DEVICE Device;
    MOUSE Mouse;
};

TEST(MOUSESTART, ConstructedAtTheCornerAndWithoutADeviceStaysPut) {
    TEMP_DIR dir;
    LOG::Open(dir.File("debug.txt"));
    MOUSE mouse;
    EXPECT_EQ(mouse.X, 0);
    EXPECT_EQ(mouse.Y, 0);
    EXPECT_FLOAT_EQ(mouse.Sensitivity, 1.5f);
    mouse.InitMouse(nullptr);
    LOG::Close();
    EXPECT_EQ(TEST_SUPPORT::ReadText(dir.File("debug.txt")), "Error in MOUSE::InitMouse()\n");
    mouse.X = 10;
    mouse.Update();
    EXPECT_EQ(mouse.X, 10);
    EXPECT_FALSE(mouse.IsLeftDown());
    mouse.DrawCursor(nullptr);  // nothing to draw with, and no crash
}

TEST_F(MOUSE_ON_SCREEN, StartsInTheMiddleOfTheScreen) {
    EXPECT_EQ(Mouse.X, 400);
    EXPECT_EQ(Mouse.Y, 300);
    EXPECT_EQ(Mouse.Right, 800);
    EXPECT_EQ(Mouse.Bottom, 600);
}

TEST_F(MOUSE_ON_SCREEN, MotionIsScaledAndTruncatedTowardZero) {
    Mouse.X = 100;
    Mouse.Y = 100;
    Mouse.Move(1, 0);  // 101.5
    EXPECT_EQ(Mouse.X, 101);
    Mouse.X = 100;
    Mouse.Move(-1, 0);  // 98.5
    EXPECT_EQ(Mouse.X, 98);
    Mouse.Move(0, 3);  // 104.5
    EXPECT_EQ(Mouse.Y, 104);
    Mouse.Move(0, -3);  // 99.5
    EXPECT_EQ(Mouse.Y, 99);
}

TEST_F(MOUSE_ON_SCREEN, CursorStopsAtTheScreenEdgesWhichItCanReach) {
    Mouse.Move(1000, 1000);
    EXPECT_EQ(Mouse.X, 800);
    EXPECT_EQ(Mouse.Y, 600);
    Mouse.Move(1, 1);
    EXPECT_EQ(Mouse.X, 800);
    Mouse.Move(-1, -1);
    EXPECT_EQ(Mouse.X, 798);
    EXPECT_EQ(Mouse.Y, 598);
    Mouse.Move(-1000, -1000);
    EXPECT_EQ(Mouse.X, 0);
    EXPECT_EQ(Mouse.Y, 0);
    Mouse.Move(1, 1);
    EXPECT_EQ(Mouse.X, 1);
}

TEST_F(MOUSE_ON_SCREEN, InsideCountsTheEdges) {
    Mouse.X = 550;
    Mouse.Y = 200;
    EXPECT_TRUE(Mouse.IsInside(550, 200, 700, 250));
    EXPECT_TRUE(Mouse.IsInside(400, 150, 550, 200));
    EXPECT_FALSE(Mouse.IsInside(551, 150, 700, 250));
    EXPECT_FALSE(Mouse.IsInside(400, 201, 700, 250));
    EXPECT_FALSE(Mouse.ClickedIn(400, 150, 700, 250)) << "no button held";
}

TEST_F(MOUSE_ON_SCREEN, ScriptedMotionAndButtonReachTheCursor) {
    TEMP_DIR dir;
    TEST_SUPPORT::WriteText(dir.File("input.txt"),
                            "0 mouse 4 -2\n0 +LBUTTON\n1 mouse -1 0\n2 -LBUTTON\n");
    PLATFORM_OPTIONS options;
    options.InputPath = dir.File("input.txt");
    std::string error;
    ASSERT_TRUE(PLATFORM::PrepareInput(options, &error)) << error;

    PLATFORM::BeginFrame(0);
    Mouse.Update();
    EXPECT_EQ(Mouse.X, 406);
    EXPECT_EQ(Mouse.Y, 297);
    EXPECT_TRUE(Mouse.IsLeftDown());
    EXPECT_TRUE(Mouse.ClickedIn(400, 290, 410, 300));
    EXPECT_FALSE(Mouse.ClickedIn(0, 0, 100, 100));

    PLATFORM::BeginFrame(1);
    Mouse.Update();
    EXPECT_EQ(Mouse.X, 404);
    EXPECT_TRUE(Mouse.IsLeftDown()) << "held, not a fresh press";

    PLATFORM::BeginFrame(2);
    Mouse.Update();
    EXPECT_EQ(Mouse.X, 404) << "no motion this frame";
    EXPECT_FALSE(Mouse.IsLeftDown());
}

TEST_F(MOUSE_ON_SCREEN, CursorIsDrawnFromTheStuffSheetWithItsCornerOnThePointer) {
    // A sheet whose cursor cell is green and everything else red.
    std::vector<uint32_t> pixels(510 * 60, 0xFFFF0000);
    for (int y = 0; y < 60; ++y) {
        for (int x = 50; x < 100; ++x) {
            pixels[size_t(y) * 510 + x] = 0xFF00FF00;
        }
    }
    TEMP_DIR dir;
    TEST_SUPPORT::WriteBytes(dir.File("stuff.dds"), TEST_SUPPORT::MakeDds(510, 60, pixels));
    TEXTURE* sheet = TEXTURE::LoadExact(&Device, dir.File("stuff.dds"), 510, 60);
    ASSERT_NE(sheet, nullptr);

    Device.Clear(0);
    Mouse.DrawCursor(nullptr);  // the sheet is not loaded yet
    EXPECT_EQ(Device.ReadPixel(400, 300) & 0xFFFFFF, 0u);

    Mouse.X = 100;
    Mouse.Y = 200;
    Mouse.DrawCursor(sheet);
    EXPECT_EQ(Device.ReadPixel(100, 200) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(Device.ReadPixel(149, 259) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(Device.ReadPixel(99, 200) & 0xFFFFFF, 0u);
    EXPECT_EQ(Device.ReadPixel(150, 230) & 0xFFFFFF, 0u);
    EXPECT_EQ(Device.ReadPixel(120, 260) & 0xFFFFFF, 0u);
    delete sheet;
}

// A click pressed and let go between two frames (a touchpad tap) is seen
// by the next frame's read, and only by that one.
TEST(MouseButtons, AQuickClickCountsForOneFrame) {
    PLATFORM_OPTIONS options;
    options.Headless = true;
    std::string error;
    ASSERT_TRUE(PLATFORM::Init(options, &error)) << error;
    PLATFORM::PollEvents();
    EXPECT_FALSE(PLATFORM::IsKeyDown(VK_LBUTTON));
    PLATFORM::NoteButtonPressed(VK_LBUTTON);  // down and up again before the frame
    EXPECT_TRUE(PLATFORM::IsKeyDown(VK_LBUTTON));
    EXPECT_FALSE(PLATFORM::IsKeyDown(VK_RBUTTON));
    PLATFORM::PollEvents();
    EXPECT_FALSE(PLATFORM::IsKeyDown(VK_LBUTTON));
    PLATFORM::Shutdown();
}

}  // namespace
