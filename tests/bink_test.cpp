// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Bink's speeches: which lines a section holds, how long he talks, when he
// stops and fades, and a held key hurrying him along.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "objects/bink.h"
#include "platform/platform.h"
#include "tests/test_support.h"

namespace {

using TEST_SUPPORT::TEMP_DIR;
using TEST_SUPPORT::WriteText;

using LINES = std::vector<std::string>;

constexpr float DT = 0.01f;  // s per frame

// A speech on its own file; the game's frame is one Update and one Render.
struct SPEECH {
    TEMP_DIR Dir;
    BINK Bink;
    explicit SPEECH(const std::string& text) {
        Bink.TextPath = Dir.File("bink.txt");
        WriteText(Bink.TextPath, text);
    }
    void Frame() {
        Bink.Update(DT);
        Bink.Render(nullptr, nullptr);
    }
    // Frames until the speech clock passes `time` (or he falls silent).
    float RunUntil(float time) {
        float real = 0.0f;
        while (Bink.IsSpeaking() && Bink.Time <= time) {
            Frame();
            real += DT;
        }
        return real;
    }
};

// Holds a key through the input script, as the game reads it; released and
// forgotten when the test ends.
struct HELD_KEY {
    TEMP_DIR Dir;
    explicit HELD_KEY(const char* key) {
        PLATFORM_OPTIONS options;
        options.InputPath = Dir.File("keys.txt");
        WriteText(options.InputPath, std::string("0 +") + key + "\n1 -" + key + "\n");
        std::string error;
        EXPECT_TRUE(PLATFORM::PrepareInput(options, &error)) << error;
        PLATFORM::BeginFrame(0);
    }
    void Release() { PLATFORM::BeginFrame(1); }
    ~HELD_KEY() {
        Release();
        PLATFORM::Shutdown();
    }
};

TEST(Bink, SectionsAreFoundByTheirNumber) {
    SPEECH s(
        "before any section\n"
        "#2\nfirst two\n"
        "#7abc\nseven\n"
        "#\nzero\n"
        "#2\nsecond two\n"
        "#  3\nthree a\n\nthree c\r\n"
        "#11\nlast words\n");
    s.Bink.Speak(2);
    EXPECT_EQ(s.Bink.Lines, LINES{"first two"});  // only the first section of a number
    s.Bink.Speak(7);
    EXPECT_EQ(s.Bink.Lines, LINES{"seven"});
    s.Bink.Speak(0);
    EXPECT_EQ(s.Bink.Lines, LINES{"zero"});
    s.Bink.Speak(3);
    EXPECT_EQ(s.Bink.Lines, (LINES{"three a", "", "three c"}));
    EXPECT_FALSE(s.Bink.FinalSpeech);
    s.Bink.Speak(11);
    EXPECT_EQ(s.Bink.Lines, LINES{"last words"});
    EXPECT_TRUE(s.Bink.FinalSpeech);
    EXPECT_TRUE(s.Bink.IsSpeaking());

    EXPECT_EQ(SectionNumber("#"), 0);
    EXPECT_EQ(SectionNumber("#abc"), 0);
    EXPECT_EQ(SectionNumber("# \t12x"), 12);
    EXPECT_EQ(SectionNumber("#-4"), -4);
    EXPECT_EQ(SectionNumber("#99999999999999999999"), 2147483647);
}

TEST(Bink, NothingToSayEndsAtOnce) {
    SPEECH s("#1\none\n#2\n#3\nthree\n");
    s.Bink.Speak(5);  // no such section
    EXPECT_FALSE(s.Bink.IsSpeaking());
    s.Bink.Speak(2);  // an empty one
    EXPECT_FALSE(s.Bink.IsSpeaking());
    s.Frame();  // a silent Bink stays silent
    EXPECT_FALSE(s.Bink.IsSpeaking());

    BINK nofile;
    nofile.TextPath = s.Dir.File("missing.txt");
    nofile.Speak(1);
    EXPECT_FALSE(nofile.IsSpeaking());
}

TEST(Bink, OverlongLineIsCutAndReadingGoesOn) {
    SPEECH s("#1\n" + std::string(400, 'x') + "\nnext\n#2\nother\n");
    s.Bink.Speak(1);
    EXPECT_EQ(s.Bink.Lines, (LINES{std::string(299, 'x'), "next"}));
}

TEST(Bink, OneLineTalksUntilItLeavesThenFades) {
    SPEECH s("#4\nonly line\n");
    s.Bink.Speak(4);
    ASSERT_TRUE(s.Bink.IsSpeaking());

    // The line starts at y 430 + 30 at clock 4, scrolls 10 px per unit and
    // is gone above y 380 from clock 12.1; until then his mouth keeps moving.
    s.RunUntil(12.05f);
    ASSERT_TRUE(s.Bink.IsSpeaking());
    EXPECT_FALSE(s.Bink.Closing);
    EXPECT_LT(s.Bink.NextMouthTime, s.Bink.Time + 1.0f);

    s.RunUntil(12.15f);
    EXPECT_TRUE(s.Bink.Closing);
    EXPECT_TRUE(s.Bink.IsSpeaking());
    float before = s.Bink.Alpha;
    s.Frame();
    EXPECT_NEAR(s.Bink.Alpha, before - 1.5f * DT, 1e-4f);

    // The fade takes 1 / 1.5 s of real time, whatever the speech clock does.
    int frames = 0;
    while (s.Bink.IsSpeaking() && frames < 1000) {
        s.Frame();
        ++frames;
    }
    EXPECT_GE(frames, 50);
    EXPECT_LE(frames, 70);
}

TEST(Bink, StopsTalkingWhenTheSecondToLastLineLeaves) {
    SPEECH s("#1\nfirst\nsecond\n");
    s.Bink.Speak(1);
    // The first line passes y 400 at clock 10.1 (offset −31 + 430).
    s.RunUntil(10.0f);
    EXPECT_LT(s.Bink.NextMouthTime, s.Bink.Time + 1.0f);
    s.RunUntil(10.2f);
    EXPECT_EQ(s.Bink.MouthFrame, 0);
    EXPECT_GT(s.Bink.NextMouthTime, s.Bink.Time + 200.0f);
    EXPECT_FALSE(s.Bink.Closing);
}

TEST(Bink, KeyPressedDuringTheSpeechHurriesIt) {
    const std::string text = "#1\na\nb\nc\n";
    // Three lines: the last one leaves at clock 16.1, then the fade of
    // 1 / 1.5 s. The opening (clock 0 to 2) always runs at ten times.
    SPEECH calm(text);
    calm.Bink.Speak(1);
    float calmBubble = calm.RunUntil(3.5f);  // halfway into the bubble's fade-in
    float calmTotal = calmBubble + calm.RunUntil(1e9f);
    EXPECT_NEAR(calmBubble, 0.2f + 1.5f, 0.03f);
    EXPECT_NEAR(calmTotal, 0.2f + 14.1f + 0.67f, 0.05f);

    // A key held since before he spoke (walking into his cue) does not
    // hurry him; pressed again, it does.
    SPEECH walked(text);
    {
        HELD_KEY right("RIGHT");
        walked.Bink.Speak(1);
        EXPECT_NEAR(walked.RunUntil(3.5f), calmBubble, 0.03f);
    }
    walked.Frame();

    SPEECH hurried(text);
    hurried.Bink.Speak(1);
    HELD_KEY space("SPACE");
    EXPECT_NEAR(hurried.RunUntil(3.5f), 0.2f + 0.15f, 0.03f);
    // Released, he returns to his own pace.
    space.Release();
    hurried.Frame();  // this frame still runs at the pace the last one chose
    float t0 = hurried.Bink.Time;
    for (int i = 0; i < 10; ++i) {
        hurried.Frame();
    }
    EXPECT_NEAR(hurried.Bink.Time - t0, 10 * DT, 0.01f);

    SPEECH quick(text);
    quick.Bink.Speak(1);
    HELD_KEY again("RETURN");
    EXPECT_NEAR(quick.RunUntil(1e9f), 0.2f + 1.41f + 0.67f, 0.05f);
}

}  // namespace
