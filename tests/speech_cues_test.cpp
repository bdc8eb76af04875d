// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// When Bink speaks in a level: each cue of the current level in its order,
// on strict conditions, once per visit.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "objects/bink.h"
#include "objects/hero.h"
#include "tests/test_support.h"
#include "world/speech_cues.h"
#include "world/world.h"

namespace {

using TEST_SUPPORT::TEMP_DIR;
using TEST_SUPPORT::WriteText;

// A world with a tiny map for every level and a text file whose section n
// reads "line n", in a folder of its own for the test's length.
struct LEVEL {
    TEMP_DIR Dir;
    std::filesystem::path Before = std::filesystem::current_path();
    WORLD World{nullptr};
    HERO Hero{nullptr, &World};
    BINK Bink;

    LEVEL() {
        std::filesystem::create_directories(Dir.Path() / "map");
        const char* maps[] = {"stage1-1", "stage1-2", "stage1-3", "stage1-boss",
                              "stage2-1", "stage2-2", "stage2-3", "stage2-boss",
                              "stage3-1", "stage3-2", "stage3-3", "stage3-boss"};
        for (const char* m : maps) {
            WriteText(Dir.File(std::string("map/") + m + ".map"), "0 0 0 -1\n1 1 1 -1\n");
        }
        std::string text;
        for (int n = 1; n <= 11; ++n) {
            text += "#" + std::to_string(n) + "\nline " + std::to_string(n) + "\n";
        }
        Bink.TextPath = Dir.File("bink.txt");
        WriteText(Bink.TextPath, text);
        std::filesystem::current_path(Dir.Path());
    }
    ~LEVEL() { std::filesystem::current_path(Before); }

    void Load(int level) {
        ASSERT_TRUE(World.LoadMap(level, &Hero));
        Hero.OnGround = true;
        Hero.Aiming = false;
        Hero.Position = {100.0f, 384.0f};
    }
    // One test of the cues; the line Bink started, or 0 for none.
    int Test() {
        Bink.State = -1;
        TestSpeechCues(&World, &Hero, &Bink);
        if (!Bink.IsSpeaking()) {
            return 0;
        }
        return std::stoi(Bink.Lines.at(0).substr(5));
    }
};

TEST(SpeechCues, FirstLevelInItsOrder) {
    LEVEL l;
    l.Load(0);
    l.World.Clock = 4.0f;  // strictly after 4 s
    EXPECT_EQ(l.Test(), 0);
    l.World.Clock = 4.01f;
    l.Hero.Aiming = true;  // charging a mega jump is not standing
    EXPECT_EQ(l.Test(), 0);
    l.Hero.Aiming = false;
    l.Hero.OnGround = false;
    EXPECT_EQ(l.Test(), 0);
    l.Hero.OnGround = true;
    // Past both marks at once: one speech at a time, in the table's order.
    l.Hero.Position.x = 211.0f * 64.0f;
    EXPECT_EQ(l.Test(), 1);
    EXPECT_EQ(l.Test(), 2);
    EXPECT_EQ(l.Test(), 3);
    EXPECT_EQ(l.Test(), 0);  // each once per visit
    EXPECT_EQ(l.Test(), 0);
}

TEST(SpeechCues, ColumnFirstSpeaksLineTwoFirst) {
    LEVEL l;
    l.Load(0);
    l.World.Clock = 1.0f;
    l.Hero.Position.x = 53.0f * 64.0f;  // on column 53 is not past it
    EXPECT_EQ(l.Test(), 0);
    l.Hero.Position.x += 1.0f;
    EXPECT_EQ(l.Test(), 2);
    EXPECT_EQ(l.Test(), 0);
    l.World.Clock = 4.5f;
    EXPECT_EQ(l.Test(), 1);
    EXPECT_EQ(l.Test(), 0);
}

TEST(SpeechCues, ReloadingTheLevelBringsThemBack) {
    LEVEL l;
    l.Load(0);
    l.World.Clock = 5.0f;
    EXPECT_EQ(l.Test(), 1);
    EXPECT_EQ(l.Test(), 0);
    l.Load(0);
    EXPECT_EQ(l.Test(), 0);  // the clock starts again
    l.World.Clock = 5.0f;
    EXPECT_EQ(l.Test(), 1);
}

TEST(SpeechCues, OnlyTheCurrentLevelsCues) {
    LEVEL l;
    // level, line, the clock that is just too early; the hero stands.
    struct CASE {
        int Level, Line;
        float Clock;
    };
    const CASE cases[] = {{1, 4, 4.0f}, {2, 6, 3.0f},  {3, 7, 1.9f},  {4, 8, 2.0f},
                          {7, 9, 1.9f}, {8, 10, 3.0f}, {11, 11, 2.0f}};
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.Level);
        l.Load(c.Level);
        l.World.Clock = c.Clock;
        EXPECT_EQ(l.Test(), 0);
        l.World.Clock = c.Clock + 0.01f;
        EXPECT_EQ(l.Test(), c.Line);
    }
    // Level 1's second line waits for column 65; the bosses of levels 3
    // and 4 do not wait for the hero to stand.
    l.Load(1);
    l.Hero.Position.x = 65.5f * 64.0f;
    EXPECT_EQ(l.Test(), 5);
    l.Load(3);
    l.Hero.OnGround = false;
    l.World.Clock = 2.0f;
    EXPECT_EQ(l.Test(), 7);
    l.Load(7);
    l.World.Clock = 2.0f;
    l.Hero.OnGround = false;
    EXPECT_EQ(l.Test(), 0);
    // Levels without a line stay quiet, whatever happens.
    for (int level : {5, 6, 9, 10}) {
        l.Load(level);
        l.World.Clock = 100.0f;
        l.Hero.Position.x = 900.0f * 64.0f;
        EXPECT_EQ(l.Test(), 0) << level;
    }
}

}  // namespace
