// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A frame of play as the application runs it, without a screen: a world
// with a floor along row 7, a hero standing on it, and an input script on
// the simulated clock.

#include <gtest/gtest.h>

#include <string>

#include "app/application.h"
#include "objects/hero.h"
#include "platform/platform.h"
#include "platform/random.h"
#include "tests/test_support.h"
#include "world/world.h"

namespace TEST_SUPPORT {

inline constexpr float DT = 1.0f / 60.0f;
inline constexpr float STAND_Y = 447.5f;  // px, on the floor of row 7

class PlayFrame : public ::testing::Test {
protected:
    PlayFrame() {
        ResetRand();
        App.World = new WORLD(nullptr);
        App.Hero = new HERO(nullptr, App.World);
        App.GameState = GS_PLAYING;
        App.LevelWait = 0.0f;
        App.EscapeRepeat = 0;
        App.PauseRepeat = 0;
        for (int c = 0; c < 40; ++c) {
            App.World->SetTile(c, 7, 1);
        }
        App.Hero->Position = {300.0f, STAND_Y};
        Script("");
    }
    ~PlayFrame() override {
        delete App.Hero;
        delete App.World;
        App.Hero = nullptr;
        App.World = nullptr;
        PLATFORM::Shutdown();
    }

    void Script(const std::string& text) {
        TEST_SUPPORT::WriteText(Dir.File("input.txt"), text);
        PLATFORM_OPTIONS options;
        options.InputPath = Dir.File("input.txt");
        options.FixedDt = DT;
        std::string error;
        ASSERT_TRUE(PLATFORM::PrepareInput(options, &error)) << error;
        Frame = 0;
    }
    // One frame as the main loop runs it: input, clock, update.
    void Advance(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            PLATFORM::BeginFrame(Frame);
            PLATFORM::SetSimulatedTime(static_cast<double>(Frame + 1) * Dt);
            App.Update(Dt);
            ++Frame;
        }
    }

    float Dt = DT;  // s per frame
    TEMP_DIR Dir;
    APPLICATION App;
    int64_t Frame = 0;
};

}  // namespace TEST_SUPPORT
