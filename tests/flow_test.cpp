// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's flow around play: the level select and the menus by mouse and
// by keys, the title card, the level end that leads on to the next level or
// an ending, the saved progress, and the HUD over a level.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "app/application.h"
#include "app/hud_text.h"
#include "app/progress.h"
#include "objects/hero.h"
#include "platform/device.h"
#include "platform/platform.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "tests/test_support.h"
#include "world/world.h"

namespace {

using TEST_SUPPORT::TEMP_DIR;
using TEST_SUPPORT::WriteBytes;
using TEST_SUPPORT::WriteText;

constexpr float DT = 1.0f / 60.0f;

const char* const MAPS[LEVEL_COUNT] = {"stage1-1", "stage1-2", "stage1-3", "stage1-boss",
                                       "stage2-1", "stage2-2", "stage2-3", "stage2-boss",
                                       "stage3-1", "stage3-2", "stage3-3", "stage3-boss"};

// The colours the test pictures are made of, so a pixel tells what is drawn.
constexpr uint32_t RED_FADE = 0xFFFF0000;
constexpr uint32_t BLACK_FADE = 0xFF000000;
constexpr uint32_t BINK_COLOUR = 0xFFFF00FF;

// The whole application on an offscreen screen, in a data folder of its own
// with small levels (a floor on row 7), the two fade texels, a plain
// magenta Bink and his bubble, and no other pictures, sounds or music.
class FLOW : public ::testing::Test {
protected:
    void SetUp() override {
        ResetRand();
        namespace fs = std::filesystem;
        fs::create_directories(Dir.Path() / "map");
        fs::create_directories(Dir.Path() / "textures");
        fs::create_directories(Dir.Path() / "bink");
        std::string map;
        for (int row = 0; row < 8; ++row) {
            for (int c = 0; c < 40; ++c) {
                map += row == 7 ? "1 " : "0 ";
            }
            map += "-1\n";
        }
        for (const char* m : MAPS) {
            WriteText(Dir.File(std::string("map/") + m + ".map"), map);
        }
        std::vector<uint32_t> stuff2(301 * 202, 0x00000000);
        stuff2[127 * 301 + 135] = RED_FADE;
        stuff2[127 * 301 + 138] = BLACK_FADE;
        WriteBytes(Dir.File("textures/stuff2.dds"), TEST_SUPPORT::MakeDds(301, 202, stuff2));
        WriteBytes(Dir.File("textures/helper.dds"),
                   TEST_SUPPORT::MakeDds(400, 200, std::vector<uint32_t>(400 * 200, BINK_COLOUR)));
        WriteBytes(Dir.File("textures/speech.dds"),
                   TEST_SUPPORT::MakeDds(394, 198, std::vector<uint32_t>(394 * 198, 0xFFFFFFFF)));

        fs::create_directories(Dir.Path() / "music");
        WriteBytes(Dir.File("music/intro.mp3"), TEST_SUPPORT::ToneWav(0.5, 330.0));
        WriteBytes(Dir.File("music/menu.mp3"), TEST_SUPPORT::ToneWav(0.5, 440.0));

        Before = fs::current_path();
        fs::current_path(Dir.Path());
        Script("");
        std::string error;
        ASSERT_TRUE(Device.CreateOffscreen(&error)) << error;
        App = std::make_unique<APPLICATION>();
        App->ProgressFile = Dir.File("settings.bin");
        ASSERT_EQ(App->Init(&Device, 800, 600, true), S_OK);
        App->EscapeRepeat = 0;
        App->PauseRepeat = 0;
    }
    void TearDown() override {
        App.reset();
        Device.Destroy();
        PLATFORM::Shutdown();
        std::filesystem::current_path(Before);
    }

    void Script(const std::string& text) {
        WriteText(Dir.File("input.txt"), text);
        PLATFORM_OPTIONS options;
        options.InputPath = Dir.File("input.txt");
        options.FixedDt = DT;
        std::string error;
        ASSERT_TRUE(PLATFORM::PrepareInput(options, &error)) << error;
    }
    // Presses a key (or the mouse button) for the next frame only.
    void Tap(const std::string& key) {
        Script(std::to_string(FrameNo) + " +" + key + "\n" + std::to_string(FrameNo + 1) + " -" +
               key + "\n");
    }
    // One frame as the main loop runs it. The screens keep their clock
    // where the test put it when dt is 0.
    void Frame(float dt = DT) {
        PLATFORM::BeginFrame(FrameNo);
        PLATFORM::SetSimulatedTime(static_cast<double>(FrameNo + 1) * DT);
        App->Update(dt);
        App->Render();
        ++FrameNo;
    }
    void Frames2() {
        Frame(0.0f);
        Frame(0.0f);
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) {
            Frame();
        }
    }
    // A click with the cursor on (x, y), on a screen whose clock stands at t.
    void ClickOnScreen(int x, int y, float t) {
        App->ScreenTime = t;
        Tap("LBUTTON");
        App->Mouse.X = x;
        App->Mouse.Y = y;
        PLATFORM::BeginFrame(FrameNo);
        App->Update(0.0f);
        App->Mouse.X = x;  // the update may have moved it by the script's motion
        App->Mouse.Y = y;
        App->Render();
        ++FrameNo;
    }
    // Straight into play, title card over.
    void Play(int level) {
        ASSERT_TRUE(App->StartLevel(level));
        App->LevelWait = 0.0f;
    }
    // Pixels in a screen rectangle brighter than mid-grey in every channel.
    int BrightPixels(int left, int top, int right, int bottom) {
        int n = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                ARGB p = Device.ReadPixel(x, y);
                if (((p >> 16) & 0xFF) > 160 && ((p >> 8) & 0xFF) > 160 && (p & 0xFF) > 160) {
                    ++n;
                }
            }
        }
        return n;
    }

    TEMP_DIR Dir;
    std::filesystem::path Before;
    DEVICE Device;
    std::unique_ptr<APPLICATION> App;
    int64_t FrameNo = 0;
};

int LevelButtonY(int level) {
    return 10 + 40 * level + 20;
}

TEST_F(FLOW, LevelButtonsBecomeClickableInTurn) {
    App->Progress = 11;
    for (int level : {0, 4, 11}) {
        SCOPED_TRACE(level);
        App->GameState = 7;
        float opens = 1.0f + 0.2f * static_cast<float>(level);
        ClickOnScreen(560, LevelButtonY(level), opens - 0.02f);
        EXPECT_EQ(App->GameState, 7);
        ClickOnScreen(560, LevelButtonY(level), opens + 0.02f);
        EXPECT_EQ(App->GameState, GS_PLAYING);
        EXPECT_EQ(App->Level, level);
        EXPECT_EQ(App->LevelWait, 3.0f);
        EXPECT_EQ(App->Hero->Lives, 15);
    }
}

TEST_F(FLOW, LockedLevelsAndMissingMapsStayOnTheLevelSelect) {
    App->GameState = 7;
    App->Progress = 0;
    ClickOnScreen(560, LevelButtonY(1), 5.0f);
    EXPECT_EQ(App->GameState, 7);

    App->Progress = 11;
    std::filesystem::remove(Dir.File("map/stage1-3.map"));
    int selects = Sound.Started[SOUND_MENU_SELECT];
    ClickOnScreen(560, LevelButtonY(2), 5.0f);
    EXPECT_EQ(App->GameState, 7);  // not entered: nothing to play
    EXPECT_EQ(App->Level, 0);
    EXPECT_EQ(Sound.Started[SOUND_MENU_SELECT], selects + 1);
    ClickOnScreen(560, LevelButtonY(3), 5.0f);
    EXPECT_EQ(App->GameState, GS_PLAYING);
    EXPECT_EQ(App->Level, 3);
}

TEST_F(FLOW, StartReadsTheProgressAndBackShowsTheWholeMenu) {
    WriteBytes(App->ProgressFile, {5, 0, 0, 0});
    App->GameState = 6;
    ClickOnScreen(560, 270, 2.9f);  // "Start" not yet faded in far enough
    EXPECT_EQ(App->GameState, 6);
    ClickOnScreen(560, 270, 3.0f);
    EXPECT_EQ(App->GameState, 7);
    EXPECT_EQ(App->ScreenTime, 0.0f);
    EXPECT_EQ(App->Progress, 5);

    ClickOnScreen(560, 570, 3.5f);  // "Back"
    EXPECT_EQ(App->GameState, 6);
    EXPECT_EQ(App->ScreenTime, 10.0f);
    // Every button answers at once.
    App->Mouse.X = 560;
    App->Mouse.Y = 320;
    Tap("LBUTTON");
    PLATFORM::BeginFrame(FrameNo++);
    App->Update(0.0f);
    App->Render();
    EXPECT_EQ(App->GameState, 8);
}

TEST_F(FLOW, TheKeysWorkTheMenus) {
    App->GameState = 6;
    App->ScreenTime = 10.0f;
    App->Mouse.X = 100;
    App->Mouse.Y = 100;
    int moves = Sound.Started[SOUND_MENU_MOVE];
    Frame(0.0f);
    Tap("DOWN");  // onto the first button, "Start"
    Frame(0.0f);
    Frame(0.0f);
    EXPECT_TRUE(App->Mouse.IsInside(550, 250, 550 + 13 * 5, 290));
    EXPECT_EQ(Sound.Started[SOUND_MENU_MOVE], moves + 1);  // the move sound, as for the mouse
    Tap("DOWN");
    Frame(0.0f);
    Frame(0.0f);
    EXPECT_TRUE(App->Mouse.IsInside(550, 300, 550 + 13 * 7, 340));
    Tap("UP");  // a tap is one frame down and one up
    Frames2();
    Tap("UP");  // from the first back round to the last, "Options" below "Quit"
    Frames2();
    EXPECT_TRUE(App->Mouse.IsInside(550, 400, 550 + 13 * 7, 440));
    Tap("RIGHT");
    Frames2();
    EXPECT_EQ(App->GameState, 6);
    Tap("RETURN");  // "Start"
    Frame(0.0f);
    EXPECT_EQ(App->GameState, 7);

    // A key held on from before counts only when pressed again: Space goes
    // down with no open level under the cursor, stays down while Down puts
    // the cursor on "Level 1-1", and only a second press clicks it.
    App->Progress = 0;
    App->ScreenTime = 5.0f;
    std::string f[5];
    for (int i = 0; i < 5; ++i) {
        f[i] = std::to_string(FrameNo + i);
    }
    Script(f[0] + " +SPACE\n" + f[1] + " +DOWN\n" + f[2] + " -DOWN\n" + f[3] + " -SPACE\n" + f[4] +
           " +SPACE\n");
    for (int i = 0; i < 4; ++i) {
        Frame(0.0f);
        EXPECT_EQ(App->GameState, 7) << i;
    }
    EXPECT_TRUE(App->Mouse.IsInside(550, 10, 550 + 13 * 9, 50));
    Frame(0.0f);
    EXPECT_EQ(App->GameState, GS_PLAYING);
    EXPECT_EQ(App->Level, 0);
}

TEST_F(FLOW, PausedDuringTheTitleCardStartsThePlayPaused) {
    ASSERT_TRUE(App->StartLevel(0));
    VECTOR2 start = App->Hero->Position;
    Frames(10);
    Tap("P");
    Frames(60 * 3);
    EXPECT_TRUE(App->Paused);
    EXPECT_LE(App->LevelWait, 0.0f);  // the card ran on
    EXPECT_EQ(App->FadeIn, 1.0f);     // the fade-in waits with the level
    EXPECT_EQ(App->World->Clock, 0.0f);
    EXPECT_EQ(App->Hero->Position, start);
    Frames(20);  // past the key guard
    Tap("P");
    Frames(30);
    EXPECT_FALSE(App->Paused);
    EXPECT_GT(App->World->Clock, 0.4f);
    EXPECT_NEAR(App->FadeIn, 0.5f, 0.05f);
}

TEST_F(FLOW, LosingTheLastLifeFadesToRedAndTheBadEnding) {
    Play(0);
    // A usual level end fades to black...
    App->LevelEndTimer = 0.5f;
    App->Render();
    ARGB usual = Device.ReadPixel(400, 300);
    EXPECT_LT((usual >> 16) & 0xFF, 20u);

    // ...the last life lost to red.
    App->LevelEndTimer = 0.0f;
    App->Hero->Lives = 0;
    App->Hero->GameOver = true;
    App->Hero->LevelOver = true;
    Frames(30);
    EXPECT_NEAR(App->LevelEndTimer, 0.5f, 0.02f);
    ARGB red = Device.ReadPixel(400, 300);
    EXPECT_GT((red >> 16) & 0xFF, 100u);
    EXPECT_LT((red >> 8) & 0xFF, 20u);

    Frames(32);
    EXPECT_EQ(App->GameState, 9);  // drawn in the frame the request was made
    EXPECT_EQ(LoadProgress(App->ProgressFile), 0);
    // Ten seconds later the menu comes back.
    App->ScreenTime = 10.01f;
    Frame(0.0f);
    EXPECT_EQ(App->GameState, GS_TO_MENU);
    Frame(0.0f);
    EXPECT_EQ(App->GameState, 6);
    EXPECT_EQ(App->ScreenTime, 0.0f);
}

TEST_F(FLOW, FinishingLevelsSavesProgressAndTheLastOneWinsTheGame) {
    Play(0);
    App->Hero->LevelOver = true;
    Frames(62);
    EXPECT_EQ(App->GameState, GS_PLAYING);
    EXPECT_EQ(App->Level, 1);
    EXPECT_GT(App->LevelWait, 2.9f);
    EXPECT_EQ(App->Hero->InvulnerableTime, 2.5f);
    EXPECT_EQ(LoadProgress(App->ProgressFile), 1);

    Play(11);
    App->Hero->LevelOver = true;
    Frames(62);
    EXPECT_EQ(App->GameState, 10);
    EXPECT_EQ(LoadProgress(App->ProgressFile), 12);

    // Replaying an early level keeps the progress.
    Play(0);
    App->Hero->LevelOver = true;
    Frames(62);
    EXPECT_EQ(LoadProgress(App->ProgressFile), 12);
}

// Each stage plays its own level and boss tunes, whether its level is
// chosen or reached by finishing the one before; a stage whose tunes are
// missing plays the meadow's.
TEST_F(FLOW, EachStagePlaysItsOwnTunesOrTheMeadows) {
    for (const char* tune : {"inGame", "boss", "inGame2", "boss2"}) {
        WriteBytes(Dir.File(std::string("music/") + tune + ".mp3"),
                   TEST_SUPPORT::ToneWav(0.5, 220.0));
    }
    auto expectPlaying = [&](const char* tune) {
        MUSIC& track = App->Level % 4 == 3 ? App->BossMusic : App->GameMusic;
        EXPECT_EQ(track.Source(), tune) << "level " << App->Level;
        EXPECT_TRUE(track.IsPlaying()) << "level " << App->Level;
    };
    const std::pair<int, const char*> chosen[] = {{0, "music/inGame.mp3"},
                                                  {7, "music/boss2.mp3"},
                                                  {4, "music/inGame2.mp3"},
                                                  {11, "music/boss.mp3"},
                                                  {8, "music/inGame.mp3"}};
    for (auto [level, tune] : chosen) {
        Play(level);
        Frames(2);
        expectPlaying(tune);
    }
    Play(3);
    App->Hero->LevelOver = true;
    Frames(62 + 181);  // the level's end, then the next one's title card
    ASSERT_EQ(App->Level, 4);
    expectPlaying("music/inGame2.mp3");
}

TEST_F(FLOW, ALevelEndLeftWithEscapeDoesNotFinishTheNextLevel) {
    Play(0);
    App->Hero->LevelOver = true;
    Frames(20);
    ASSERT_GT(App->LevelEndTimer, 0.0f);
    App->GameState = GS_TO_MENU;  // as Escape does
    Frame();
    EXPECT_EQ(App->GameState, 6);

    App->GameState = 7;
    ClickOnScreen(560, LevelButtonY(0), 5.0f);
    ASSERT_EQ(App->GameState, GS_PLAYING);
    EXPECT_EQ(App->LevelEndTimer, 0.0f);
    EXPECT_EQ(App->FadeIn, 0.0f);
    Frames(60 * 5);
    EXPECT_EQ(App->Level, 0);
    EXPECT_EQ(App->GameState, GS_PLAYING);
}

TEST_F(FLOW, HudCountsAndBinkOverThePlay) {
    EXPECT_EQ(ScoreText(42.9f), "Score: 00042");
    EXPECT_EQ(ScoreText(0.0f), "Score: 00000");
    EXPECT_EQ(ScoreText(123456.0f), "Score: 123456");
    EXPECT_EQ(LivesText(15), "x 15");

    WriteText(Dir.File("bink/bink.txt"), "#1\nHello\n");
    Play(0);
    App->Speech.Speak(1);
    ASSERT_TRUE(App->Speech.IsSpeaking());
    App->Speech.Time = 5.0f;

    App->Hero->Lives = 3;
    App->Hero->ShownScore = 42.0f;
    App->Render();
    EXPECT_GT(BrightPixels(60, 25, 130, 60), 20);  // "x 3"
    EXPECT_GT(BrightPixels(10, 75, 130, 95), 20);  // "Score: 00042"
    EXPECT_EQ(Device.ReadPixel(200, 470), BINK_COLOUR);

    App->Hero->Lives = 0;
    App->Render();
    EXPECT_EQ(BrightPixels(60, 25, 130, 60), 0);
    EXPECT_EQ(BrightPixels(10, 75, 130, 95), 0);
    EXPECT_EQ(Device.ReadPixel(200, 470), BINK_COLOUR);

    // The HUD waits for the title card to end.
    App->Hero->Lives = 3;
    App->LevelWait = 1.0f;
    App->Render();
    EXPECT_EQ(BrightPixels(60, 25, 130, 60), 0);
    EXPECT_NE(Device.ReadPixel(200, 470), BINK_COLOUR);
}

// The game as a player starts it: from its first frame the intro is
// skipped, "Start" is clicked with the mouse, "Level 1-1" chosen with the
// keys, the hero walks and the game is paused.
TEST(FlowRun, FromTheFirstFrameIntoAPausedLevel) {
    TEMP_DIR dir;
    WriteText(dir.File("input.txt"),
              "0 +RETURN\n2 -RETURN\n"                            // skip the intro at once
              "150 mouse 107 -20\n200 +LBUTTON\n201 -LBUTTON\n"   // "Start"
              "270 +DOWN\n271 -DOWN\n280 +RETURN\n281 -RETURN\n"  // "Level 1-1"
              "500 +RIGHT\n560 +P\n561 -P\n");
    std::string args = "--headless --frames 640 --fixed-dt 0.0166667 --data '" +
                       std::string(VORTIGAN_DATA_DIR) + "' --user-dir '" + dir.Path().string() +
                       "' --input '" + dir.File("input.txt") + "' --trace '" +
                       dir.File("trace.csv") + "'";
    std::string output;
    ASSERT_EQ(TEST_SUPPORT::RunGame(args, &output), 0) << output;

    // frame,state,level,x,...: one line a frame from frame 0.
    std::vector<int> state;
    std::vector<float> x;
    std::istringstream lines(TEST_SUPPORT::ReadText(dir.File("trace.csv")));
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string frame, st, level, hx;
        std::getline(fields, frame, ',');
        std::getline(fields, st, ',');
        std::getline(fields, level, ',');
        std::getline(fields, hx, ',');
        state.push_back(std::stoi(st));
        x.push_back(std::stof(hx));
    }
    ASSERT_EQ(state.size(), 640u);
    EXPECT_EQ(state[1], 6);  // the menu from the first frame on
    EXPECT_EQ(state[199], 6);
    EXPECT_EQ(state[201], 7);
    EXPECT_EQ(state[280], 7);
    EXPECT_EQ(state[282], GS_PLAYING);
    EXPECT_GT(x[559], x[500] + 50.0f);  // walking
    EXPECT_EQ(x[639], x[562]);          // paused, Right still held
    EXPECT_EQ(TEST_SUPPORT::ReadText(dir.File("debug.txt")), "Application initiated\n");
}

// A game started straight into a level (as --level does) still has the
// menu's music when the player leaves for the menu; and nothing of the
// level, a speech or a fade, goes with the player.
TEST_F(FLOW, LeavingALevelForTheMenuBringsItsMusicAndNothingElse) {
    Play(0);
    Frames(5);
    App->Speech.Speak(1);
    App->FadeIn = 0.8f;
    App->LevelEndTimer = 0.5f;
    Tap("ESCAPE");
    Frames(2);
    EXPECT_EQ(App->GameState, 6);
    EXPECT_TRUE(App->MenuMusic.IsPlaying());
    EXPECT_FALSE(App->Speech.IsSpeaking());
    EXPECT_EQ(App->FadeIn, 0.0f);
    EXPECT_EQ(App->LevelEndTimer, 0.0f);
}

}  // namespace
