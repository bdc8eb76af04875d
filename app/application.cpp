// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/application.h"

#include "app/progress.h"
#include "objects/hero.h"
#include "objects/sprites.h"
#include "platform/controls.h"
#include "platform/device.h"
#include "platform/font.h"
#include "platform/log.h"
#include "platform/platform.h"
#include "platform/sound.h"
#include "platform/sprite.h"
#include "platform/texture.h"
#include "world/level_contents.h"
#include "world/world.h"

namespace {

// Each stage's level tune and boss tune. The meadow's pair stands in for a
// stage whose own tune is missing.
struct STAGE_TUNES {
    const char* Level;
    const char* Boss;
};
const STAGE_TUNES STAGE_MUSIC[STAGE_COUNT] = {
    {"music/inGame.mp3", "music/boss.mp3"},    // the meadow
    {"music/inGame2.mp3", "music/boss2.mp3"},  // the crystal cave
    {"music/inGame3.mp3", "music/boss3.mp3"},  // the fortress on the volcano
};

void LoadTune(MUSIC& track, const char* own, const char* fallback) {
    if (!track.Load(own) && own != fallback) {
        track.Load(fallback);
    }
}

}  // namespace

APPLICATION::APPLICATION() {
    EscapeRepeat = GetTickCount();
    PauseRepeat = GetTickCount();
}

// What Init made goes with the application, so a game started again in the
// same process (the tests, the soak) does not pile up copies. The members
// then go in reverse order of their declaration: Speech, Mouse and the four
// tracks last to first.
APPLICATION::~APPLICATION() {
    delete Hero;
    delete World;
    delete Picture;
    delete IntroText;
    delete HeroPicture;
    delete Sprite;
    delete TitleFont;
    delete TextFont;
    delete ScoreFont;
    delete CreditsFont;
}

HRESULT APPLICATION::Init(DEVICE* device, int, int, bool) {
    LOG log;
    log.WriteLine("Application initiated");
    if (!device || !device->Renderer()) {
        log.WriteLine("Failed to create IDirect3DDevice9");
        return E_FAIL;
    }
    Device = device;

    TitleFont = new FONT("Impact", 26, 0);
    TitleFont->BuildGlyphTexture(Device);
    TitleFont->PrepareDrawing();
    TextFont = new FONT("Arial", 12, 0);
    TextFont->BuildGlyphTexture(Device);
    TextFont->PrepareDrawing();
    ScoreFont = new FONT("Arial Black", 12, 0);
    ScoreFont->BuildGlyphTexture(Device);
    ScoreFont->PrepareDrawing();
    CreditsFont = new FONT("Impact", 16, 0);
    CreditsFont->BuildGlyphTexture(Device);
    CreditsFont->PrepareDrawing();

    Mouse.InitMouse(Device);
    Sprite = new SPRITE(Device);
    Zoom = 1.0f;
    Sound.Init();
    if (ProgressFile.empty()) {
        ProgressFile = ProgressPath();
    }
    Progress = LoadProgress(ProgressFile);
    Records.Load(ProgressFile.substr(0, ProgressFile.rfind('/') + 1) + "records.txt");
    LoadSprites(Device);
    HeroPicture = TEXTURE::LoadExact(Device, "textures/intro/mhero.dds", 433, 360);
    World = new WORLD(Device);
    Hero = new HERO(Device, World);
    // Every track from the start, so the menu has its music however it is
    // reached (a game started straight into a level included). They decode
    // on threads of their own, so the first frame does not wait for them.
    IntroMusic.Load("music/intro.mp3");
    MenuMusic.SetLooping(true);
    MenuMusic.Load("music/menu.mp3");
    GameMusic.SetLooping(true);
    BossMusic.SetLooping(true);
    LoadStageMusic(0);
    return S_OK;
}

int APPLICATION::Update(float dt) {
    Mouse.Update();
    MenuKeys.Sample();
    CONTROLS::Sample();
    HandleKeys();
    // Alt-tabbing away pauses play as P would, so it never costs a life; a
    // focus lost on another screen is dropped, not kept for the next level.
    if (PLATFORM::TakeFocusLost() && GameState == GS_PLAYING) {
        Paused = true;
    }
    if (GameState != GS_PLAYING) {
        LeavePlayBehind();
        ScreenTime += dt;
        return 0;
    }
    UpdatePlay(dt);
    return 0;
}

int APPLICATION::Render() {
    Device->Clear(0x00000000);
    if (!Device->BeginScene()) {
        return 0;
    }
    Sprite->Begin();
    if (GameState != GS_PLAYING) {
        DrawScreens();
    } else {
        RenderPlay();
    }
    Sprite->End();
    DrawHud();
    Device->EndScene();
    Device->Present();
    return 0;
}

int APPLICATION::Terminate() {
    if (TitleFont) {
        TitleFont->ReleaseTexture();
    }
    LOG().WriteLine("Application terminated");
    return 0;
}

int APPLICATION::Quit() {
    int result = Terminate();
    PLATFORM::PostQuit();
    return result;
}

// Only the stage being played has its tunes decoded; the next stage's load
// when its first level does, and decode while its title card shows.
void APPLICATION::LoadStageMusic(int stage) {
    if (stage == MusicStage && !GameMusic.Source().empty()) {
        return;
    }
    MusicStage = stage;
    const STAGE_TUNES& own = STAGE_MUSIC[stage];
    LoadTune(GameMusic, own.Level, STAGE_MUSIC[0].Level);
    LoadTune(BossMusic, own.Boss, STAGE_MUSIC[0].Boss);
}

bool APPLICATION::StartLevel(int level) {
    if (level < 0 || level >= LEVEL_COUNT || !World || !Hero) {
        return false;
    }
    // A level whose map is missing is not entered; the loader has logged why.
    if (!World->LoadMap(level, Hero)) {
        return false;
    }
    Level = level;
    LoadStageMusic(StageOf(level));
    LevelWait = 3.0f;
    GameState = GS_PLAYING;
    Hero->Lives = 15;
    Hero->Health = 1.0f;
    Hero->Score = 0;
    Hero->ShownScore = 0.0f;
    // A fade still running from a level left with Escape must neither darken
    // the new level nor finish it the moment its title card is over.
    FadeIn = 0.0f;
    LevelEndTimer = 0.0f;
    LevelTime = 0.0f;
    CONTROLS::Reset();
    MenuMusic.Stop();
    return true;
}
