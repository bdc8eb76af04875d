#include <gtest/gtest.h>

#include <filesystem>

#include "platform/keys.h"
#include "platform/settings.h"
#include "tests/test_support.h"

namespace {

using namespace TEST_SUPPORT;

// Damaged, cut and unknown lines are skipped one by one; what can be read
// still counts, and what is written reads back the same.
TEST(Settings, DamagedLinesKeepTheirDefaultsAndTheRestReadsBack) {
    int ignored = 0;
    SETTINGS s = ParseSettings(
        "music = 40\n\x01\xff garbage\neffects = 55\nvsync = maybe\nkey.jump = J, NOPE\n"
        "colour = blue\nkey.pause = Q\nmegajump = toggle\nlevel_timer = o",
        &ignored);
    EXPECT_EQ(ignored, 6);
    EXPECT_EQ(s.MusicVolume, 40);
    EXPECT_EQ(s.EffectVolume, VOLUME_FULL);
    EXPECT_TRUE(s.Vsync);
    EXPECT_EQ(s.Keys[ACTION_JUMP][0], VK_UP);
    EXPECT_EQ(s.Keys[ACTION_PAUSE][0], 'Q');
    EXPECT_EQ(s.Keys[ACTION_PAUSE][1], NO_KEY);
    EXPECT_TRUE(s.MegaJumpToggle);
    EXPECT_FALSE(s.LevelTimer);

    SETTINGS again = ParseSettings(FormatSettings(s), &ignored);
    EXPECT_EQ(ignored, 0);
    EXPECT_EQ(FormatSettings(again), FormatSettings(s));
}

// Whatever stands where the settings file should be, the game starts.
TEST(Settings, ADamagedFileNeverStopsTheGame) {
    for (const char* kind : {"garbage", "directory"}) {
        TEMP_DIR dir;
        if (std::string(kind) == "directory") {
            std::filesystem::create_directories(dir.File("settings.cfg/x"));
        } else {
            WriteText(dir.File("settings.cfg"), std::string("music = 5\0\0\xff\nkey.left", 22));
        }
        std::string output;
        EXPECT_EQ(RunGame("--headless --frames 5 --data '" VORTIGAN_DATA_DIR "' --user-dir '" +
                              dir.Path().string() + "'",
                          &output),
                  0)
            << kind << ": " << output;
    }
}

}  // namespace
