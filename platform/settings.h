// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

// The player's choices, kept across runs in "settings.cfg" as readable
// "key = value" lines: volumes, the display, the controls and the comforts.
// A file that is missing, damaged or partly unknown never stops the game:
// every line that cannot be understood is skipped and its default kept.

// What the hero can be told to do; each action has up to two keys.
enum ACTION : int {
    ACTION_LEFT,
    ACTION_RIGHT,
    ACTION_JUMP,
    ACTION_CROUCH,
    ACTION_MEGA_JUMP,
    ACTION_PAUSE,
    ACTION_COUNT
};

inline constexpr int KEYS_PER_ACTION = 2;
inline constexpr int NO_KEY = 0;         // an empty slot
inline constexpr int VOLUME_STEP = 10;   // %
inline constexpr int VOLUME_FULL = 100;  // %

struct SETTINGS {
    int MusicVolume = VOLUME_FULL;   // %, over the game's own levels
    int EffectVolume = VOLUME_FULL;  // %
    bool Fullscreen = true;
    int WindowWidth = 800;   // px, the restored window
    int WindowHeight = 600;  // px
    bool Vsync = true;
    bool MegaJumpToggle = false;                   // press to aim, press again to launch
    bool ReducedFlashing = false;                  // blinks become a steady tint
    bool LevelTimer = false;                       // the HUD shows the level's time
    int Keys[ACTION_COUNT][KEYS_PER_ACTION] = {};  // virtual-key numbers
    SETTINGS();
};

// The action's name as the options screen and the file show it.
const char* ActionName(int action);
// The virtual key the pad's fixed map presses for the action.
int PadKeyOf(int action);
// A key's name ("LEFT", "W", "7"), or "" for a key that cannot be bound.
std::string KeyName(int vk);
// The key of a name, or NO_KEY.
int KeyFromName(const std::string& name);
// Every key that can be bound, for a rebinding that waits for one.
int BindableKeyCount();
int BindableKey(int index);

// Reads the text of a settings file over the defaults. Each line that is
// damaged or unknown is counted in *ignored (and skipped).
SETTINGS ParseSettings(const std::string& text, int* ignored);
std::string FormatSettings(const SETTINGS& s);
// Folds the old "display.cfg" ("fullscreen 0", "width 1024", ...) in.
void FoldDisplayFile(const std::string& text, SETTINGS* s);

namespace SETTINGS_FILE {
// The folder's "settings.cfg": the XDG config folder, or the --user-dir.
std::string Path();
// Reads the file (or folds "display.cfg" in when there is none yet) into
// the settings the game plays with; one log line for lines skipped.
void Load(const std::string& path, const std::string& displayPath);
// Writes the settings by temporary file and rename; false, with a log
// line, when that failed (the settings stay for this run).
bool Save();
bool SaveTo(const std::string& path);
SETTINGS& Current();
}  // namespace SETTINGS_FILE
