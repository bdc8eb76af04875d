// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The screens around play: the intro slides, the menu, the level select,
// the credits and the two endings. All their input is read while they are
// drawn; the update only moves their clock on.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "app/application.h"
#include "app/hud_text.h"
#include "app/progress.h"
#include "objects/hero.h"
#include "objects/sprites.h"
#include "platform/font.h"
#include "platform/keyboard.h"
#include "platform/sound.h"
#include "platform/sprite.h"
#include "platform/texture.h"
#include "world/world.h"

namespace {

// The numbered screens.
constexpr int GS_START = 0;
constexpr int GS_INTRO1 = 1;
constexpr int GS_INTRO5 = 5;
constexpr int GS_ENDING_BAD = 9;
constexpr int GS_ENDING_GOOD = 10;

constexpr float PI = 3.14159265f;

// An 800 x 600 picture sits in a 1024 x 1024 texture; this maps it back
// onto the screen.
constexpr VECTOR2 FULL_SCREEN{0.78125f, 0.5859375f};
constexpr VECTOR2 HERO_AT{20.0f, 240.0f};  // px; the menu portrait's resting place

const char* const MENU_PICTURE = "textures/intro/menu.jpg";

// A fade of one picture on a slide: (t − Start) × Rate until InUntil, full,
// then 1 − (t − OutFrom) × OutRate.
struct FADE {
    float Start;    // s
    float Rate;     // per s
    float InUntil;  // s
    float OutFrom;  // s
    float OutRate;  // per s
    float At(float t) const {
        if (t < InUntil) {
            return (t - Start) * Rate;
        }
        if (t > OutFrom) {
            return 1.0f - (t - OutFrom) * OutRate;
        }
        return 1.0f;
    }
};

enum class PLACING { PORTRAIT, FULL, SPIN };

// The five intro slides. Each shows its picture and (but the last) one
// caption strip of the intro text, which slides along a line.
struct SLIDE {
    PLACING Placing;
    FADE Picture;
    RECT Caption;  // texels of the intro text; empty for none
    FADE CaptionFade;
    VECTOR2 CaptionFrom;  // px at t = 0
    float CaptionSpeed;   // px/s along x
    float End;            // s; the next slide follows when t passes it
    const char* Next;     // picture of the next screen
};

// clang-format off
const SLIDE SLIDES[5] = {
    // placing          picture fade             caption strip        caption fade      from         px/s  end  next
    {PLACING::PORTRAIT, {1, 0.25f, 5, 7, 0.5f}, {0, 0, 617, 23},    {3, 1, 5, 6, 1}, {0, 550},    13,   9,  "textures/intro/intro2.jpg"},
    {PLACING::FULL,     {0, 0.5f, 2, 8, 0.5f},  {0, 23, 617, 76},   {2, 1, 3, 5, 1}, {200, 350},  -13,  10, "textures/intro/intro3.jpg"},
    {PLACING::FULL,     {0, 0.5f, 2, 7, 0.5f},  {0, 76, 617, 122},  {2, 1, 3, 5, 1}, {-100, 20},  13,   9,  "textures/intro/intro4.jpg"},
    {PLACING::FULL,     {0, 0.5f, 2, 4, 1},     {0, 122, 617, 145}, {2, 1, 3, 4, 1}, {200, 100},  -14,  6,  "textures/intro/intro5.jpg"},
    {PLACING::SPIN,     {0, 0.5f, 2, 6, 0.5f},  {},                 {},              {},          0,    8,  MENU_PICTURE},
};
// clang-format on

constexpr VECTOR2 PORTRAIT_AT{184.0f, 0.0f};                 // px
constexpr VECTOR2 PORTRAIT_SCALE{0.841796875f, 0.5859375f};  // 431 x 600 in 512 x 1024
constexpr VECTOR2 SPIN_SCALE{0.662109375f, 0.5859375f};      // 678 x 600 in 1024 x 1024
constexpr VECTOR2 SPIN_HALF{339.0f, 300.0f};                 // px, half the picture
constexpr float SPIN_TIME = 5.0f;                            // s
constexpr float SPIN_TURNS = 15.0f;

const char* const CREDITS[12] = {
    "Vortigan v0.7 (Alpha)",
    " ",
    "Vote Vortigan for President!",
    "The game was created in ",
    "11 days from scratch",
    " ",
    " ",
    "Design & Art by",
    "Vesktor",
    " ",
    "Programming by",
    "Quarnel",
};

COLOUR ScaleColour(COLOUR c, float k) {
    return {c.r * k, c.g * k, c.b * k, c.a * k};
}

ARGB ToArgb(COLOUR c) {
    return ColourFromFloats(c.r, c.g, c.b, c.a);
}

void ReplacePicture(TEXTURE*& picture, DEVICE* device, const char* path) {
    delete picture;
    picture = TEXTURE::LoadDefault(device, path);
}

}  // namespace

void APPLICATION::DrawScreens() {
    MenuKeys.BeginScreen();
    if (ChangeScreen()) {
        return;
    }

    // Each screen below may move to a later one, which then draws its first
    // frame at once.
    DrawIntro();
    if (GameState == GS_MENU) {
        DrawMenu();
    }
    if (GameState == GS_LEVEL_SELECT) {
        DrawLevelSelect();
    }
    if (GameState == GS_CREDITS) {
        DrawCredits();
    }
    if (GameState == GS_OPTIONS) {
        DrawOptions();
    }
    if (GameState == GS_CONTROLS) {
        DrawControls();
    }
    if (GameState == GS_ENDING_BAD || GameState == GS_ENDING_GOOD) {
        DrawEnding();
    }

    BackRequested = false;

    // The move sound plays when the cursor comes onto a button.
    if (HoverCount > PrevHoverCount) {
        Sound.Play(SOUND_MENU_MOVE, false);
    }
    PrevHoverCount = HoverCount;
    HoverCount = 0;
}

// The screen changes asked for since the last frame, and the start of the
// intro. True when the menu was entered: it draws from the next frame.
bool APPLICATION::ChangeScreen() {
    float& t = ScreenTime;
    // Menu entry: a request, or the intro skipped.
    bool skip = GameState < GS_MENU && t != 0.0f &&
                (KEYBOARD::IsDown(VK_RETURN) || KEYBOARD::IsDown(VK_SPACE) ||
                 KEYBOARD::IsDown(VK_LBUTTON) || KEYBOARD::IsDown(VK_RBUTTON));
    if (skip || GameState == GS_TO_MENU) {
        ReplacePicture(Picture, Device, MENU_PICTURE);
        GameState = GS_MENU;
        t = 0.0f;
        IntroMusic.Stop();
        MenuMusic.Play();
        return true;
    }

    if (GameState == GS_TO_BAD_ENDING || GameState == GS_TO_GOOD_ENDING) {
        bool good = GameState == GS_TO_GOOD_ENDING;
        ReplacePicture(Picture, Device,
                       good ? "textures/ending/end-good.jpg" : "textures/ending/end-bad.jpg");
        GameState = good ? GS_ENDING_GOOD : GS_ENDING_BAD;
        t = 0.0f;
        GameMusic.Stop();
        IntroMusic.Stop();
        MenuMusic.Stop();
        BossMusic.Stop();
    }

    if (GameState == GS_START) {
        ReplacePicture(Picture, Device, "textures/intro/intro1.jpg");
        delete IntroText;
        IntroText = TEXTURE::LoadExact(Device, "textures/intro/text.dds", 617, 145);
        GameState = GS_INTRO1;
        t = 0.0f;
        IntroMusic.Play();
    }

    // The intro plays once through; the menu music follows and loops.
    if (!IntroMusic.IsPlaying() && !MenuMusic.IsPlaying()) {
        MenuMusic.Play();
    }
    return false;
}

// The intro's slides, one after another.
void APPLICATION::DrawIntro() {
    float& t = ScreenTime;
    for (int slide = GS_INTRO1; slide <= GS_INTRO5; ++slide) {
        if (GameState != slide) {
            continue;
        }
        const SLIDE& s = SLIDES[slide - GS_INTRO1];
        ARGB colour = ToArgb(FadeColour(s.Picture.At(t)));
        if (s.Placing == PLACING::PORTRAIT) {
            Sprite->Draw(Picture, nullptr, &PORTRAIT_SCALE, nullptr, 0.0f, &PORTRAIT_AT, colour);
        } else if (s.Placing == PLACING::FULL) {
            Sprite->Draw(Picture, nullptr, &FULL_SCREEN, nullptr, 0.0f, nullptr, colour);
        } else if (t < SPIN_TIME) {
            // The picture grows out of the screen's centre, spinning fifteen
            // turns that slow to a stop.
            float a = std::pow((t + 1.0f) / 6.0f, 4.0f);
            float angle = std::pow(1.0f - t / SPIN_TIME, 3.0f) * PI * 2.0f * SPIN_TURNS;
            VECTOR2 scale{SPIN_SCALE.x * a, SPIN_SCALE.y * a};
            VECTOR2 centre{SPIN_HALF.x * a, SPIN_HALF.y * a};
            VECTOR2 at{(1.0f - a) * SPIN_HALF.x + 61.0f, (1.0f - a) * SPIN_HALF.y};
            Sprite->Draw(Picture, nullptr, &scale, &centre, angle, &at, colour);
        } else {
            VECTOR2 at{61.0f, 0.0f};
            Sprite->Draw(Picture, nullptr, &SPIN_SCALE, &SPIN_HALF, 0.0f, &at, colour);
        }
        if (s.Caption.right > s.Caption.left) {
            VECTOR2 at{s.CaptionFrom.x + s.CaptionSpeed * t, s.CaptionFrom.y};
            Sprite->Draw(IntroText, &s.Caption, nullptr, nullptr, 0.0f, &at,
                         ToArgb(FadeColour(s.CaptionFade.At(t))));
        }
        if (t > s.End) {
            ReplacePicture(Picture, Device, s.Next);
            GameState = slide + 1;
            t = 0.0f;
        }
    }
}

void APPLICATION::DrawMenu() {
    float& t = ScreenTime;
    ARGB picture = ToArgb(FadeColour(t < 2.0f ? 0.5f * t : 1.0f));
    Sprite->Draw(Picture, nullptr, &FULL_SCREEN, nullptr, 0.0f, nullptr, picture);
    // The hero rises from below the screen and stops beside the buttons.
    VECTOR2 hero{HERO_AT.x, std::max(1200.0f - 500.0f * t, HERO_AT.y)};
    Sprite->Draw(HeroPicture, nullptr, nullptr, nullptr, 0.0f, &hero, COLOUR_WHITE);
    if (MenuButton(550, 250, "Start", FadeColour(0.5f * t - 1.0f), true)) {
        GameState = GS_LEVEL_SELECT;
        t = 0.0f;
        // The file, or what this run reached where it could not be saved.
        Progress = std::max(Progress, LoadProgress(ProgressFile));
    }
    if (MenuButton(550, 300, "Credits", FadeColour(0.5f * t - 1.5f), true)) {
        GameState = GS_CREDITS;
        t = 0.0f;
    }
    if (MenuButton(550, 350, "Quit", FadeColour(0.5f * t - 2.0f), true)) {
        Quit();
    }
    // Below the first three, fading in after them, so they stay as they were.
    if (MenuButton(550, 400, "Options", FadeColour(0.5f * t - 2.5f), true)) {
        GameState = GS_OPTIONS;
        t = 0.0f;
    }
    MenuKeys.MoveCursor(Mouse);
    Mouse.DrawCursor(StuffSheet);
}

// A level's best time over its best score, in the small text right of its
// button (which never moves), with a dark shadow to read over the picture.
void APPLICATION::DrawBests(int top, const LEVEL_RECORD& best, COLOUR colour) {
    constexpr float LEFT = 722.0f;  // px, past the widest level name
    constexpr float LINE = 16.0f;   // px
    const std::string lines[] = {TimeText(best.Time), std::to_string(best.Score)};
    const ARGB shadow = ColourFromFloats(0.0f, 0.0f, 0.0f, 0.8f * colour.a);
    for (int n = 0; n < 2; ++n) {
        float y = static_cast<float>(top) + 3.0f + LINE * static_cast<float>(n);
        TextFont->DrawString(LEFT + 1.0f, y + 1.0f, shadow, lines[n].c_str(), 0);
        TextFont->DrawString(LEFT, y, ToArgb(colour), lines[n].c_str(), 0);
    }
}

void APPLICATION::DrawLevelSelect() {
    float& t = ScreenTime;
    Sprite->Draw(Picture, nullptr, &FULL_SCREEN, nullptr, 0.0f, nullptr, COLOUR_WHITE);
    Sprite->Draw(HeroPicture, nullptr, nullptr, nullptr, 0.0f, &HERO_AT, COLOUR_WHITE);
    for (int i = 0; i < LEVEL_COUNT; ++i) {
        COLOUR colour = FadeColour(0.5f * t - 0.1f * static_cast<float>(i));
        bool open = i <= Progress;
        if (!open) {
            colour.r = colour.g = colour.b = 0.5f;
        }
        if (MenuButton(550, 10 + 40 * i, LevelName(i), colour, open)) {
            // Stays on this screen when the level cannot be loaded.
            StartLevel(i);
        }
        const LEVEL_RECORD& best = Records.Of(i);
        if (open && best.Time > 0.0f) {
            DrawBests(10 + 40 * i, best, colour);
        }
    }
    if (MenuButton(550, 550, "Back", FadeColour(0.5f * t - 1.0f), true) || BackRequested) {
        GameState = GS_MENU;
        t = SHOWN_MENU;
    }
    MenuKeys.MoveCursor(Mouse);
    Mouse.DrawCursor(StuffSheet);
}

void APPLICATION::DrawCredits() {
    float& t = ScreenTime;
    Sprite->Draw(Picture, nullptr, &FULL_SCREEN, nullptr, 0.0f, nullptr, COLOUR_WHITE);
    Sprite->Draw(HeroPicture, nullptr, nullptr, nullptr, 0.0f, &HERO_AT, COLOUR_WHITE);
    for (int j = 0; j < 12; ++j) {
        COLOUR c = FadeColour(0.5f * t - 0.4f * static_cast<float>(j));
        float y = 50.0f + 30.0f * static_cast<float>(j);
        CreditsFont->DrawString(457.0f, y + 2.0f, ToArgb(ScaleColour(c, 0.5f)), CREDITS[j], 0);
        CreditsFont->DrawString(455.0f, y, ToArgb(c), CREDITS[j], 0);
    }
    if (MenuButton(470, 550, "Back", FadeColour(0.5f * t - 5.0f), true) || BackRequested) {
        GameState = GS_MENU;
        t = SHOWN_MENU;
    }
    MenuKeys.MoveCursor(Mouse);
    Mouse.DrawCursor(StuffSheet);
}

// The ending's picture fades in, stays, fades out, and the menu follows.
void APPLICATION::DrawEnding() {
    float& t = ScreenTime;
    float a = 1.0f;
    if (t < 2.0f) {
        a = 0.5f * t;
    } else if (t > 7.0f) {
        a = 1.0f - (t - 7.0f) * 0.5f;
    }
    Sprite->Draw(Picture, nullptr, &FULL_SCREEN, nullptr, 0.0f, nullptr, ToArgb(FadeColour(a)));
    if (t > 10.0f) {
        GameState = GS_TO_MENU;
    }
}

bool APPLICATION::MenuButton(int x, int y, const char* text, COLOUR colour, bool selectable,
                             FONT* font) {
    int left = x;
    int top = y;
    int right = x + 13 * static_cast<int>(std::strlen(text));
    int bottom = y + 40;
    if (font) {
        // A digit's width a character, so a text padded to a length keeps
        // its button's size whatever its value.
        right = x + static_cast<int>(font->Advance('0') * static_cast<float>(std::strlen(text)));
        bottom = y + font->PixelHeight();
    } else {
        font = TitleFont;
    }
    bool shown = colour.a >= 0.5f;

    font->DrawString(static_cast<float>(x + 2), static_cast<float>(y + 2),
                     ToArgb(ScaleColour(colour, 0.5f)), text, 0);
    if (selectable && Mouse.IsInside(left, top, right, bottom)) {
        colour.r = 0.3f;
        colour.b = 0.3f;
        if (shown) {
            HoverCount += 1;
        }
    } else if (shown && selectable) {
        HoverCount -= 1;
    }
    font->DrawString(static_cast<float>(x), static_cast<float>(y), ToArgb(colour), text, 0);

    if (!shown || !selectable) {
        return false;
    }
    MenuKeys.AddButton(left, top, right, bottom);
    bool keyClick = MenuKeys.ClickPressed() && Mouse.IsInside(left, top, right, bottom);
    if (Mouse.ClickedIn(left, top, right, bottom) || keyClick) {
        Sound.Play(SOUND_MENU_SELECT, false);
        return true;
    }
    return false;
}
