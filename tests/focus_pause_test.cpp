// Alt-tabbing away from play pauses it as P would, so the hero never walks
// into an enemy while the player is elsewhere; a focus lost on another screen
// is forgotten rather than pausing the next level.

#include <gtest/gtest.h>

#include <string>

#include "app/application.h"
#include "objects/hero.h"
#include "platform/platform.h"
#include "platform/random.h"
#include "tests/test_support.h"
#include "world/world.h"

namespace {

using TEST_SUPPORT::TEMP_DIR;

constexpr float DT = 1.0f / 60.0f;
constexpr float STAND_Y = 447.5f;  // px, on the floor of row 7

// An application in play on a flat floor, without a screen, driven by an
// input script on the simulated clock.
class FocusPause : public ::testing::Test {
protected:
    FocusPause() {
        ResetRand();
        App.World = new WORLD(nullptr);
        App.Hero = new HERO(nullptr, App.World);
        App.GameState = GS_PLAYING;
        App.LevelWait = 0.0f;
        App.PauseRepeat = 0;
        App.EscapeRepeat = 0;
        for (int c = 0; c < 40; ++c) {
            App.World->SetTile(c, 7, 1);
        }
        App.Hero->Position = {300.0f, STAND_Y};
        PLATFORM::TakeFocusLost();  // nothing left over from another test
        Script("");
    }
    ~FocusPause() override {
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
    void Advance(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            PLATFORM::BeginFrame(Frame);
            PLATFORM::SetSimulatedTime(static_cast<double>(Frame + 1) * DT);
            App.Update(DT);
            ++Frame;
        }
    }

    TEMP_DIR Dir;
    APPLICATION App;
    int64_t Frame = 0;
};

TEST_F(FocusPause, LosingFocusInPlayPausesUntilPIsPressed) {
    // Walking right; the window loses the focus on frame 10.
    Script("0 +RIGHT\n40 +P\n45 -P\n");
    Advance(10);
    float walked = App.Hero->Position.x;
    EXPECT_GT(walked, 300.0f);
    PLATFORM::NoteFocusLost();
    Advance(1);
    EXPECT_TRUE(App.Paused);
    // The held arrow moves nothing while paused.
    float stopped = App.Hero->Position.x;
    Advance(29);
    EXPECT_TRUE(App.Paused);
    EXPECT_EQ(App.Hero->Position.x, stopped);
    // P, once the player is back, lets the hero walk on.
    Advance(10);
    EXPECT_FALSE(App.Paused);
    EXPECT_GT(App.Hero->Position.x, stopped);
}

TEST_F(FocusPause, LosingFocusWhilePausedKeepsThePause) {
    App.Paused = true;
    PLATFORM::NoteFocusLost();
    Advance(1);
    EXPECT_TRUE(App.Paused);
    // Twice in a row is still one pause, not a toggle.
    PLATFORM::NoteFocusLost();
    Advance(1);
    PLATFORM::NoteFocusLost();
    Advance(1);
    EXPECT_TRUE(App.Paused);
}

TEST_F(FocusPause, FocusLostOnTheMenuDoesNotPauseTheNextLevel) {
    App.GameState = GS_MENU;
    PLATFORM::NoteFocusLost();
    Advance(1);
    EXPECT_FALSE(App.Paused);
    App.GameState = GS_PLAYING;
    Advance(1);
    EXPECT_FALSE(App.Paused);
}

}  // namespace
