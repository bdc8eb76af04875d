// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "objects/sprites.h"

#include <string>

#include "platform/texture.h"

TEXTURE* HeroSheet = nullptr;
TEXTURE* FxSheet = nullptr;
TEXTURE* DeathRaySheet = nullptr;
TEXTURE* BubbleSheet = nullptr;
TEXTURE* StuffSheet = nullptr;
TEXTURE* Stuff2Sheet = nullptr;
TEXTURE* SmallHatsSheet = nullptr;
TEXTURE* HelperSheet = nullptr;
TEXTURE* SpeechSheet = nullptr;
TEXTURE* BossSheets[3] = {};
RECT FxFrames[10];

namespace {

struct SHEET {
    TEXTURE** Texture;
    const char* File;
    int Width;  // px; every sheet is made at exactly its picture's size
    int Height;
};

const SHEET SHEETS[] = {
    {&HeroSheet, "textures/hero.dds", 832, 148},
    {&FxSheet, "textures/fx.dds", 320, 64},
    {&DeathRaySheet, "textures/deathray.dds", 200, 200},
    {&BubbleSheet, "textures/bubble.dds", 780, 60},
    {&StuffSheet, "textures/stuff.dds", 510, 60},
    {&Stuff2Sheet, "textures/stuff2.dds", 301, 202},
    {&SmallHatsSheet, "textures/smallhats.dds", 640, 128},
    {&HelperSheet, "textures/helper.dds", 400, 200},
    {&SpeechSheet, "textures/speech.dds", 394, 198},
};

constexpr int BOSS_SHEET_SIZE = 320;  // px, square
constexpr int FX_FRAME_SIZE = 32;     // px, square

}  // namespace

std::string BossSheetFile(int i) {
    return std::string("textures/boss") + char('1' + i) + ".dds";
}

void LoadSprites(DEVICE* device) {
    // Loading again replaces the sheets rather than leaking them.
    FreeSprites();
    for (const SHEET& s : SHEETS) {
        *s.Texture = TEXTURE::LoadExact(device, s.File, s.Width, s.Height);
    }
    for (int i = 0; i < 3; ++i) {
        BossSheets[i] =
            TEXTURE::LoadExact(device, BossSheetFile(i), BOSS_SHEET_SIZE, BOSS_SHEET_SIZE);
    }
    for (int i = 0; i < 10; ++i) {
        FxFrames[i] = {FX_FRAME_SIZE * i, 0, FX_FRAME_SIZE * i + FX_FRAME_SIZE, FX_FRAME_SIZE};
    }
}

void FreeSprites() {
    for (const SHEET& s : SHEETS) {
        delete *s.Texture;
        *s.Texture = nullptr;
    }
    for (TEXTURE*& t : BossSheets) {
        delete t;
        t = nullptr;
    }
}
