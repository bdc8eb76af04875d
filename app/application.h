// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/menu_keys.h"
#include "app/records.h"
#include "objects/bink.h"
#include "platform/mouse.h"
#include "platform/music.h"
#include "platform/types.h"

class DEVICE;
class SPRITE;
class TEXTURE;
class FONT;
class WORLD;
class HERO;

// Game states beside the numbered screens: play, and the requests that
// switch to the menu or an ending on the next frame.
inline constexpr int GS_PLAYING = -1;
inline constexpr int GS_MENU = 6;
inline constexpr int GS_LEVEL_SELECT = 7;
inline constexpr int GS_CREDITS = 8;
inline constexpr int GS_OPTIONS = 11;
inline constexpr int GS_CONTROLS = 12;
inline constexpr int GS_TO_MENU = 100;
inline constexpr int GS_TO_BAD_ENDING = 101;
inline constexpr int GS_TO_GOOD_ENDING = 102;

// A colour as four 0..1 floats (red, green, blue, alpha), for the screens'
// fades.
struct COLOUR {
    float r = 1.0f;
    float g = 1.0f;
    float b = 1.0f;
    float a = 1.0f;
};

// White at an opacity kept within 0..1: every menu screen fades by it.
inline COLOUR FadeColour(float a) {
    return {1.0f, 1.0f, 1.0f, std::clamp(a, 0.0f, 1.0f)};
}

// s of screen time a menu is given when a sub-screen returns to it, so it
// stands fully faded in at once.
inline constexpr float SHOWN_MENU = 10.0f;

// The one object that owns the screen, the fonts, the music, the world and
// the hero, and runs the game's flow from the intro to an ending.
class APPLICATION {
public:
    APPLICATION();
    APPLICATION(const APPLICATION&) = delete;
    APPLICATION& operator=(const APPLICATION&) = delete;
    ~APPLICATION();

    // Opens the screen and loads everything. `device` is the platform's
    // screen, opened by the entry point before Init runs its steps.
    HRESULT Init(DEVICE* device, int width, int height, bool windowed);
    int Update(float dt);  // s
    int Render();
    int Terminate();
    int Quit();

    // Starts a level as if chosen on the level select: a fresh hero with
    // 15 lives, the title card, no fade left over from an earlier level.
    // False, with nothing changed, when the level's map cannot be loaded.
    bool StartLevel(int level);
    // Draws one menu button; true when it is clicked this frame. In a
    // smaller `font` than the title font it takes the text's own size.
    bool MenuButton(int x, int y, const char* text, COLOUR colour, bool selectable,
                    FONT* font = nullptr);

    float Zoom = 1.0f;
    float ScreenTime = 0.0f;     // s on the current non-play screen
    float LevelWait = 5.0f;      // s left of the level's title card
    float FadeIn = 0.0f;         // alpha of the fade-in overlay
    float LevelEndTimer = 0.0f;  // s left of the level-end fade
    SPRITE* Sprite = nullptr;
    int GameState = 0;
    int Level = 0;
    int Progress = 0;  // highest level the player may choose
    int HoverCount = 0;
    int PrevHoverCount = 0;
    bool Paused = false;
    bool BackRequested = false;  // Escape on the level select, credits or options
    float LevelTime = 0.0f;      // s of play since the title card
    TEXTURE* Picture = nullptr;
    TEXTURE* IntroText = nullptr;
    TEXTURE* HeroPicture = nullptr;
    MUSIC IntroMusic;
    MUSIC MenuMusic;
    MUSIC GameMusic;     // the level tune of the stage played last
    MUSIC BossMusic;     // and its boss tune
    int MusicStage = 0;  // the stage whose tunes GameMusic and BossMusic hold
    WORLD* World = nullptr;
    HERO* Hero = nullptr;
    MOUSE Mouse;
    BINK Speech;
    uint32_t EscapeRepeat = 0;  // ms; Escape is ignored until the clock passes it
    uint32_t PauseRepeat = 0;   // ms
    FONT* TitleFont = nullptr;
    FONT* TextFont = nullptr;
    FONT* ScoreFont = nullptr;
    FONT* CreditsFont = nullptr;
    DEVICE* Device = nullptr;
    MENU_KEYS MenuKeys;
    // Where the progress is kept; the per-user "settings.bin" unless set
    // before Init.
    std::string ProgressFile;
    RECORDS Records;

private:
    void HandleKeys();
    void LeavePlayBehind();
    void LoadStageMusic(int stage);
    void UpdatePlay(float dt);
    void StepPlay(float dt);
    void RenderPlay();
    void DrawHud();
    void DrawLevelTitle();
    void DrawOverlay(float alpha, bool usual);
    void DrawScreens();
    bool ChangeScreen();
    void DrawIntro();
    void DrawMenu();
    void DrawLevelSelect();
    void DrawBests(int top, const LEVEL_RECORD& best, COLOUR colour);
    void DrawCredits();
    void DrawOptions();
    void DrawControls();
    void TakeRebindKey();
    void Rebind(int key);
    void SettingsChanged();
    // The controls slot waiting for a key (-1 none), and what the screen says.
    int RebindAction = -1;
    int RebindSlot = 0;
    std::string RebindMessage;
    std::vector<bool> KeysHeld;  // the bindable keys held last frame
    void DrawEnding();
};
