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

void LoadSprites(DEVICE* device) {
    HeroSheet = TEXTURE::LoadExact(device, "textures/hero.dds", 832, 148);
    FxSheet = TEXTURE::LoadExact(device, "textures/fx.dds", 320, 64);
    DeathRaySheet = TEXTURE::LoadExact(device, "textures/deathray.dds", 200, 200);
    BubbleSheet = TEXTURE::LoadExact(device, "textures/bubble.dds", 780, 60);
    StuffSheet = TEXTURE::LoadExact(device, "textures/stuff.dds", 510, 60);
    Stuff2Sheet = TEXTURE::LoadExact(device, "textures/stuff2.dds", 301, 202);
    SmallHatsSheet = TEXTURE::LoadExact(device, "textures/smallhats.dds", 640, 128);
    HelperSheet = TEXTURE::LoadExact(device, "textures/helper.dds", 400, 200);
    SpeechSheet = TEXTURE::LoadExact(device, "textures/speech.dds", 394, 198);
    for (int i = 0; i < 3; ++i) {
        std::string name = std::string("textures/boss") + char('1' + i) + ".dds";
        BossSheets[i] = TEXTURE::LoadExact(device, name, 320, 320);
    }
    for (int i = 0; i < 10; ++i) {
        FxFrames[i] = {32 * i, 0, 32 * i + 32, 32};
    }
}
