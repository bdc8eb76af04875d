#pragma once

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

void LoadSprites(DEVICE* device);
