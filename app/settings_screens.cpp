// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The options screen and the controls screen under it: each choice is a
// button that steps through its values and takes effect at once.

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "app/application.h"
#include "objects/sprites.h"
#include "platform/device.h"
#include "platform/font.h"
#include "platform/keyboard.h"
#include "platform/mixer.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "platform/sprite.h"

namespace {

constexpr VECTOR2 FULL_SCREEN{0.78125f, 0.5859375f};  // the 800 x 600 picture in its texture
constexpr VECTOR2 HERO_AT{20.0f, 240.0f};             // px, as on the other screens
// px, the buttons' left edge, inside the picture's translucent card
// (x 446 to 795); every row and value keeps within x 530 to 775
constexpr int COLUMN = 545;
constexpr int PANEL_WIDTH = 225;  // px of the panel right of COLUMN
// px, the first row's top
constexpr int FIRST_ROW = 165;
constexpr int ROW = 36;        // px between rows
constexpr int BACK_ROW = 550;  // px, as on the other screens
// px: the action's name in the small score font, then its two key slots,
// each wide enough for "Space" in the row font
constexpr int LABEL_COLUMN = 538;
constexpr int KEY_COLUMNS[KEYS_PER_ACTION] = {642, 709};
constexpr float MESSAGE_LINE = 16.0f;  // px between the message's lines
constexpr size_t ROW_CHARACTERS = 17;  // the longest option's text
constexpr size_t KEY_CHARACTERS = 5;   // the longest key name

// The options, one row each, in the order they are drawn.
enum OPTION_ROW : int {
    ROW_MUSIC,
    ROW_EFFECTS,
    ROW_SCREEN,
    ROW_VSYNC,
    ROW_MEGA_JUMP,
    ROW_FLASHING,
    ROW_TIMER,
    ROW_CONTROLS,
    ROW_COUNT
};

int RowY(int row) {
    return FIRST_ROW + ROW * row;
}

// The next volume step, from full back round to silence.
int NextVolume(int volume) {
    return volume >= VOLUME_FULL ? 0 : volume + VOLUME_STEP;
}

std::string RowText(int row, const SETTINGS& s) {
    switch (row) {
        case ROW_MUSIC:
            return "Music: " + std::to_string(s.MusicVolume) + "%";
        case ROW_EFFECTS:
            return "Effects: " + std::to_string(s.EffectVolume) + "%";
        case ROW_SCREEN:
            return s.Fullscreen ? "Screen: full" : "Screen: window";
        case ROW_VSYNC:
            return s.Vsync ? "Vsync: on" : "Vsync: off";
        case ROW_MEGA_JUMP:
            return s.MegaJumpToggle ? "Mega jump: toggle" : "Mega jump: hold";
        case ROW_FLASHING:
            return s.ReducedFlashing ? "Flashing: reduced" : "Flashing: normal";
        case ROW_TIMER:
            return s.LevelTimer ? "Level timer: on" : "Level timer: off";
        default:
            return "Controls";
    }
}

// The action other than `action` (or the other slot of it) holding `key`,
// or -1.
int ActionHolding(const SETTINGS& s, int key, int action, int slot) {
    for (int a = 0; a < ACTION_COUNT; ++a) {
        for (int i = 0; i < KEYS_PER_ACTION; ++i) {
            if (s.Keys[a][i] == key && !(a == action && i == slot)) {
                return a;
            }
        }
    }
    return -1;
}

// A key as the controls screen shows it: "Space", not the file's "SPACE",
// so the wide names fit their slot.
std::string ShownKeyName(int key) {
    std::string name = KeyName(key);
    for (size_t i = 1; i < name.size(); ++i) {
        name[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
    }
    return name;
}

// `text` broken between words into lines no wider than the panel.
std::vector<std::string> Wrapped(const std::string& text, FONT* font) {
    std::vector<std::string> lines(1);
    float width = 0.0f;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = std::min(text.find(' ', start), text.size());
        std::string word = text.substr(start, end - start);
        float wordWidth = 0.0f;
        for (char c : " " + word) {
            wordWidth += font->Advance(c);
        }
        if (!lines.back().empty() && width + wordWidth > PANEL_WIDTH) {
            lines.emplace_back();
            width = 0.0f;
        }
        width += wordWidth;
        lines.back() += (lines.back().empty() ? "" : " ") + word;
        start = end + 1;
    }
    return lines;
}

void DrawBackdrop(SPRITE* sprite, TEXTURE* picture, TEXTURE* hero) {
    sprite->Draw(picture, nullptr, &FULL_SCREEN, nullptr, 0.0f, nullptr, COLOUR_WHITE);
    sprite->Draw(hero, nullptr, nullptr, nullptr, 0.0f, &HERO_AT, COLOUR_WHITE);
}

}  // namespace

void APPLICATION::SettingsChanged() {
    SETTINGS& s = SETTINGS_FILE::Current();
    MIXER::SetVolumes(s.MusicVolume / float(VOLUME_FULL), s.EffectVolume / float(VOLUME_FULL));
    if (DEVICE* device = DISPLAY::Current()) {
        device->SetFullscreen(s.Fullscreen);
        device->SetVsync(s.Vsync);
    }
    SETTINGS_FILE::Save();
}

void APPLICATION::DrawOptions() {
    float& t = ScreenTime;
    DrawBackdrop(Sprite, Picture, HeroPicture);
    SETTINGS& s = SETTINGS_FILE::Current();
    for (int row = 0; row < ROW_COUNT; ++row) {
        COLOUR colour = FadeColour(0.5f * t - 0.1f * static_cast<float>(row));
        // Padded to one width, so the button under the cursor stays under
        // it when its value's text grows or shrinks.
        std::string text = RowText(row, s);
        text.resize(std::max(text.size(), ROW_CHARACTERS), ' ');
        if (!MenuButton(COLUMN, RowY(row), text.c_str(), colour, true, CreditsFont)) {
            continue;
        }
        switch (row) {
            case ROW_MUSIC:
                s.MusicVolume = NextVolume(s.MusicVolume);
                break;
            case ROW_EFFECTS:
                s.EffectVolume = NextVolume(s.EffectVolume);
                break;
            case ROW_SCREEN:
                s.Fullscreen = !s.Fullscreen;
                break;
            case ROW_VSYNC:
                s.Vsync = !s.Vsync;
                break;
            case ROW_MEGA_JUMP:
                s.MegaJumpToggle = !s.MegaJumpToggle;
                break;
            case ROW_FLASHING:
                s.ReducedFlashing = !s.ReducedFlashing;
                break;
            case ROW_TIMER:
                s.LevelTimer = !s.LevelTimer;
                break;
            default:
                GameState = GS_CONTROLS;
                t = 0.0f;
                RebindAction = -1;
                RebindMessage = "Click a key to change it.";
                break;
        }
        SettingsChanged();
    }
    if (MenuButton(COLUMN, BACK_ROW, "Back", FadeColour(0.5f * t - 1.0f), true) || BackRequested) {
        GameState = GS_MENU;
        t = SHOWN_MENU;
    }
    MenuKeys.MoveCursor(Mouse);
    Mouse.DrawCursor(StuffSheet);
}

// While a slot waits: the first bindable key to go down is taken, Escape
// gives up.
void APPLICATION::TakeRebindKey() {
    std::vector<bool> held(static_cast<size_t>(BindableKeyCount()));
    for (size_t i = 0; i < held.size(); ++i) {
        held[i] = PLATFORM::IsKeyboardKeyDown(BindableKey(static_cast<int>(i)));
    }
    if (RebindAction >= 0 && BackRequested) {
        BackRequested = false;
        RebindAction = -1;
        RebindMessage = "Escape leaves levels and screens; it cannot be bound.";
    }
    for (size_t i = 0; RebindAction >= 0 && i < held.size(); ++i) {
        if (held[i] && (i >= KeysHeld.size() || !KeysHeld[i])) {
            Rebind(BindableKey(static_cast<int>(i)));
        }
    }
    KeysHeld = held;
}

void APPLICATION::Rebind(int key) {
    SETTINGS& s = SETTINGS_FILE::Current();
    int holder = ActionHolding(s, key, RebindAction, RebindSlot);
    if (holder >= 0) {
        RebindMessage =
            KeyName(key) + " is already the key for " + ActionName(holder) + "; press another.";
        return;
    }
    s.Keys[RebindAction][RebindSlot] = key;
    RebindMessage = std::string(ActionName(RebindAction)) + ": " + KeyName(key) + ".";
    RebindAction = -1;
    SettingsChanged();
}

void APPLICATION::DrawControls() {
    float& t = ScreenTime;
    DrawBackdrop(Sprite, Picture, HeroPicture);
    bool waiting = RebindAction >= 0;
    TakeRebindKey();
    if (waiting) {
        MenuKeys.DropPresses();  // the key pressed to bind is no click
    }
    SETTINGS& s = SETTINGS_FILE::Current();
    COLOUR colour = FadeColour(0.5f * t);
    for (int a = 0; a < ACTION_COUNT; ++a) {
        float y = static_cast<float>(RowY(a)) + 4.0f;
        ScoreFont->DrawString(LABEL_COLUMN + 2, y + 2.0f,
                              ColourFromFloats(0.0f, 0.0f, 0.0f, colour.a * 0.6f), ActionName(a),
                              0);
        ScoreFont->DrawString(LABEL_COLUMN, y, ColourFromFloats(1.0f, 1.0f, 1.0f, colour.a),
                              ActionName(a), 0);
        for (int i = 0; i < KEYS_PER_ACTION; ++i) {
            bool asked = RebindAction == a && RebindSlot == i;
            int key = s.Keys[a][i];
            std::string text = asked ? "..." : key == NO_KEY ? "-" : ShownKeyName(key);
            text.resize(std::max(text.size(), KEY_CHARACTERS), ' ');
            if (MenuButton(KEY_COLUMNS[i], RowY(a), text.c_str(), colour, true, CreditsFont)) {
                RebindAction = a;
                RebindSlot = i;
                RebindMessage =
                    std::string("Press a key for ") + ActionName(a) + " (Escape gives up).";
            }
        }
    }
    float messageY = static_cast<float>(RowY(ACTION_COUNT));
    for (const std::string& line : Wrapped(RebindMessage, TextFont)) {
        TextFont->DrawString(LABEL_COLUMN + 1, messageY + 1.0f,
                             ColourFromFloats(0.0f, 0.0f, 0.0f, colour.a * 0.8f), line.c_str(), 0);
        TextFont->DrawString(LABEL_COLUMN, messageY, ColourFromFloats(1.0f, 1.0f, 0.6f, colour.a),
                             line.c_str(), 0);
        messageY += MESSAGE_LINE;
    }
    if (MenuButton(LABEL_COLUMN, RowY(ACTION_COUNT + 2), "Reset to defaults", colour, true,
                   CreditsFont)) {
        const SETTINGS defaults;
        std::copy(&defaults.Keys[0][0], &defaults.Keys[0][0] + ACTION_COUNT * KEYS_PER_ACTION,
                  &s.Keys[0][0]);
        RebindAction = -1;
        RebindMessage = "The keys are as they came.";
        SettingsChanged();
    }
    if (MenuButton(COLUMN, BACK_ROW, "Back", FadeColour(0.5f * t - 1.0f), true) ||
        (BackRequested && RebindAction < 0)) {
        GameState = GS_OPTIONS;
        t = SHOWN_MENU;
        RebindAction = -1;
    }
    MenuKeys.MoveCursor(Mouse);
    Mouse.DrawCursor(StuffSheet);
}
