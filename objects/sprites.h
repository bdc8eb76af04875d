// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include "platform/types.h"

class DEVICE;
class TEXTURE;

// The sprite sheets every object draws from, loaded once at start-up and
// kept for the whole run. A sheet that failed to load stays null and
// draws nothing.
extern TEXTURE* HeroSheet;
extern TEXTURE* FxSheet;
extern TEXTURE* DeathRaySheet;
extern TEXTURE* BubbleSheet;
extern TEXTURE* StuffSheet;
extern TEXTURE* Stuff2Sheet;
extern TEXTURE* SmallHatsSheet;
extern TEXTURE* HelperSheet;
extern TEXTURE* SpeechSheet;
extern TEXTURE* BossSheets[3];

// The ten 32 x 32 frames of the effects sheet's top row: six puff stages,
// then four debris chunks.
extern RECT FxFrames[10];

// Creates every sheet at exactly its picture's size. Calling it again
// replaces the sheets.
void LoadSprites(DEVICE* device);
// Deletes the sheets; they are null afterwards.
void FreeSprites();
// "textures/boss1.dds" .. "textures/boss3.dds" for i = 0..2.
std::string BossSheetFile(int i);
