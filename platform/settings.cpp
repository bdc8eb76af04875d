// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/settings.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/data_file.h"
#include "platform/keys.h"
#include "platform/log.h"
#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;

// Each action: its name on the options screen and in the file, the keys it
// has out of the box (the game's first keys, then W A S D), and the key the
// pad's fixed map holds for it.
struct ACTION_KIND {
    const char* Name;
    const char* FileKey;
    int Keys[KEYS_PER_ACTION];
    int PadKey;
};

// clang-format off
const ACTION_KIND ACTIONS[ACTION_COUNT] = {
    // name        file key            first     second   pad
    {"Left",      "key.left",      {VK_LEFT,  VK_A},   VK_LEFT},
    {"Right",     "key.right",     {VK_RIGHT, VK_D},   VK_RIGHT},
    {"Jump",      "key.jump",      {VK_UP,    VK_W},   VK_UP},
    {"Crouch",    "key.crouch",    {VK_DOWN,  VK_S},   VK_DOWN},
    {"Mega jump", "key.megajump",  {VK_SPACE, NO_KEY}, VK_SPACE},
    {"Pause",     "key.pause",     {VK_P,     NO_KEY}, VK_P},
};
// clang-format on

// Keys with a name of their own; letters and digits are named by themselves.
struct NAMED_KEY {
    int Key;
    const char* Name;
};
const NAMED_KEY NAMED_KEYS[] = {
    {VK_LEFT, "LEFT"},   {VK_RIGHT, "RIGHT"},   {VK_UP, "UP"},       {VK_DOWN, "DOWN"},
    {VK_SPACE, "SPACE"}, {VK_RETURN, "RETURN"}, {VK_SHIFT, "SHIFT"}, {VK_CONTROL, "CTRL"},
};
constexpr int NAMED_COUNT = static_cast<int>(sizeof(NAMED_KEYS) / sizeof(NAMED_KEYS[0]));
constexpr int LETTERS = VK_Z - VK_A + 1;
constexpr int DIGITS = VK_9 - VK_0 + 1;

bool IsLetterOrDigit(int vk) {
    return (vk >= VK_A && vk <= VK_Z) || (vk >= VK_0 && vk <= VK_9);
}

std::string Trim(const std::string& s) {
    size_t first = s.find_first_not_of(" \t\r");
    size_t last = s.find_last_not_of(" \t\r");
    return first == std::string::npos ? "" : s.substr(first, last - first + 1);
}

bool ParseSwitch(const std::string& v, bool* out) {
    if (v == "on" || v == "1") {
        *out = true;
    } else if (v == "off" || v == "0") {
        *out = false;
    } else {
        return false;
    }
    return true;
}

bool ParseNumber(const std::string& v, int min, int max, int* out) {
    char* end = nullptr;
    long n = std::strtol(v.c_str(), &end, 10);
    if (v.empty() || *end != '\0' || n < min || n > max) {
        return false;
    }
    *out = static_cast<int>(n);
    return true;
}

bool ParseVolume(const std::string& v, int* out) {
    int n = 0;
    if (!ParseNumber(v, 0, VOLUME_FULL, &n) || n % VOLUME_STEP != 0) {
        return false;
    }
    *out = n;
    return true;
}

// Two key names split by a comma; "none" leaves a slot empty.
bool ParseKeys(const std::string& v, int keys[KEYS_PER_ACTION]) {
    size_t comma = v.find(',');
    std::string names[KEYS_PER_ACTION] = {
        Trim(v.substr(0, comma)), comma == std::string::npos ? "none" : Trim(v.substr(comma + 1))};
    int parsed[KEYS_PER_ACTION] = {};
    for (int i = 0; i < KEYS_PER_ACTION; ++i) {
        parsed[i] = names[i] == "none" ? NO_KEY : KeyFromName(names[i]);
        if (parsed[i] == NO_KEY && names[i] != "none") {
            return false;
        }
    }
    std::copy(parsed, parsed + KEYS_PER_ACTION, keys);
    return true;
}

// One "key = value" line onto the settings; false when it means nothing.
bool ApplyLine(const std::string& key, const std::string& v, SETTINGS* s) {
    if (key == "music") {
        return ParseVolume(v, &s->MusicVolume);
    }
    if (key == "effects") {
        return ParseVolume(v, &s->EffectVolume);
    }
    if (key == "fullscreen") {
        return ParseSwitch(v, &s->Fullscreen);
    }
    if (key == "width") {
        return ParseNumber(v, 320, 16384, &s->WindowWidth);
    }
    if (key == "height") {
        return ParseNumber(v, 240, 16384, &s->WindowHeight);
    }
    if (key == "vsync") {
        return ParseSwitch(v, &s->Vsync);
    }
    if (key == "megajump") {
        if (v != "hold" && v != "toggle") {
            return false;
        }
        s->MegaJumpToggle = v == "toggle";
        return true;
    }
    if (key == "reduced_flashing") {
        return ParseSwitch(v, &s->ReducedFlashing);
    }
    if (key == "level_timer") {
        return ParseSwitch(v, &s->LevelTimer);
    }
    for (int a = 0; a < ACTION_COUNT; ++a) {
        if (key == ACTIONS[a].FileKey) {
            return ParseKeys(v, s->Keys[a]);
        }
    }
    return false;
}

const char* OnOff(bool on) {
    return on ? "on" : "off";
}

SETTINGS Playing;

}  // namespace

SETTINGS::SETTINGS() {
    for (int a = 0; a < ACTION_COUNT; ++a) {
        std::copy(ACTIONS[a].Keys, ACTIONS[a].Keys + KEYS_PER_ACTION, Keys[a]);
    }
}

const char* ActionName(int action) {
    return action >= 0 && action < ACTION_COUNT ? ACTIONS[action].Name : "";
}

int PadKeyOf(int action) {
    return action >= 0 && action < ACTION_COUNT ? ACTIONS[action].PadKey : NO_KEY;
}

std::string KeyName(int vk) {
    if (IsLetterOrDigit(vk)) {
        return std::string(1, static_cast<char>(vk));
    }
    for (const NAMED_KEY& k : NAMED_KEYS) {
        if (k.Key == vk) {
            return k.Name;
        }
    }
    return "";
}

int KeyFromName(const std::string& name) {
    if (name.size() == 1 && IsLetterOrDigit(static_cast<unsigned char>(name[0]))) {
        return static_cast<unsigned char>(name[0]);
    }
    for (const NAMED_KEY& k : NAMED_KEYS) {
        if (name == k.Name) {
            return k.Key;
        }
    }
    return NO_KEY;
}

int BindableKeyCount() {
    return NAMED_COUNT + LETTERS + DIGITS;
}

int BindableKey(int index) {
    if (index < NAMED_COUNT) {
        return NAMED_KEYS[index].Key;
    }
    index -= NAMED_COUNT;
    return index < LETTERS ? VK_A + index : VK_0 + (index - LETTERS);
}

SETTINGS ParseSettings(const std::string& text, int* ignored) {
    SETTINGS s;
    *ignored = 0;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::string bare = Trim(line.substr(0, line.find('#')));
        if (bare.empty()) {
            continue;
        }
        size_t eq = bare.find('=');
        if (eq == std::string::npos ||
            !ApplyLine(Trim(bare.substr(0, eq)), Trim(bare.substr(eq + 1)), &s)) {
            *ignored += 1;
        }
    }
    return s;
}

std::string FormatSettings(const SETTINGS& s) {
    std::ostringstream out;
    out << "# Vortigan's settings; the game rewrites this file when they change.\n"
        << "music = " << s.MusicVolume << "\neffects = " << s.EffectVolume
        << "\nfullscreen = " << OnOff(s.Fullscreen) << "\nwidth = " << s.WindowWidth
        << "\nheight = " << s.WindowHeight << "\nvsync = " << OnOff(s.Vsync)
        << "\nmegajump = " << (s.MegaJumpToggle ? "toggle" : "hold")
        << "\nreduced_flashing = " << OnOff(s.ReducedFlashing)
        << "\nlevel_timer = " << OnOff(s.LevelTimer) << "\n";
    for (int a = 0; a < ACTION_COUNT; ++a) {
        out << ACTIONS[a].FileKey << " =";
        for (int i = 0; i < KEYS_PER_ACTION; ++i) {
            int key = s.Keys[a][i];
            out << (i ? ", " : " ") << (key == NO_KEY ? "none" : KeyName(key));
        }
        out << "\n";
    }
    return out.str();
}

void FoldDisplayFile(const std::string& text, SETTINGS* s) {
    std::istringstream in(text);
    std::string key;
    std::string value;
    while (in >> key >> value) {
        if (key == "fullscreen" || key == "width" || key == "height") {
            ApplyLine(key, value, s);
        }
    }
}

namespace SETTINGS_FILE {

std::string Path() {
    std::string dir;
    if (!PLATFORM::Options().UserDir.empty()) {
        dir = PLATFORM::UserDir();
    } else if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
        dir = std::string(xdg) + "/vortigan/";
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        dir = std::string(home) + "/.config/vortigan/";
    } else {
        dir = PLATFORM::UserDir();
    }
    std::error_code ec;
    fs::create_directories(dir, ec);
    return dir + "settings.cfg";
}

void Load(const std::string& path, const std::string& displayPath) {
    std::string text;
    FILES::RESULT read = FILES::Read(path, FILES::KIND::SETTINGS, &text);
    int ignored = 0;
    Playing = ParseSettings(text, &ignored);
    if (read == FILES::RESULT::MISSING) {
        std::string display;
        if (FILES::Read(displayPath, FILES::KIND::SETTINGS, &display) == FILES::RESULT::OK) {
            FoldDisplayFile(display, &Playing);
        }
    } else if (read != FILES::RESULT::OK) {
        LOG().WriteLine(
            ("Settings file " + path + " unusable (" + FILES::Describe(read) + "); defaults used")
                .c_str());
    }
    if (ignored > 0) {
        LOG().WriteLine(("Settings file " + path + ": " + std::to_string(ignored) +
                         " damaged or unknown line(s) skipped, defaults kept for them")
                            .c_str());
    }
}

bool Save() {
    return SaveTo(Path());
}

bool SaveTo(const std::string& path) {
    std::string temp = path + ".tmp" + std::to_string(getpid());
    bool ok = false;
    {
        std::ofstream out(temp, std::ios::trunc);
        out << FormatSettings(Playing);
        ok = static_cast<bool>(out.flush());
    }
    std::error_code ec;
    if (ok) {
        fs::rename(temp, path, ec);
        ok = !ec;
    }
    if (!ok) {
        fs::remove(temp, ec);
        LOG().WriteLine(("Cannot write the settings to " + path).c_str());
    }
    return ok;
}

SETTINGS& Current() {
    return Playing;
}

}  // namespace SETTINGS_FILE
