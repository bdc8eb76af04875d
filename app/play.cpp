// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A frame of play: the world, the hero, the camera, the level's title card,
// music, fades and the move to the next level; and the HUD over it.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "app/application.h"
#include "app/hud_text.h"
#include "app/progress.h"
#include "objects/hero.h"
#include "objects/sprites.h"
#include "platform/controls.h"
#include "platform/font.h"
#include "platform/keyboard.h"
#include "platform/platform.h"
#include "platform/sprite.h"
#include "world/level_contents.h"
#include "world/world.h"

namespace {

constexpr uint32_t KEY_REPEAT_GUARD = 300;  // ms between Escape or P presses
constexpr float ZOOM_MIN = 0.5f;
constexpr float ZOOM_MAX = 1.0f;
constexpr float ZOOM_RATE = 0.4f;            // per s
constexpr float CAMERA_LEAD = 700.0f;        // px at full zoom-out
constexpr float LEVEL_END_TIME = 1.0f;       // s
constexpr float TITLE_TIME = 3.0f;           // s
constexpr float FADE_IN_TIME = 1.0f;         // s
constexpr float LEVEL_CHANGE_SHIELD = 2.5f;  // s of invulnerability
constexpr float PAUSE_ALPHA = 0.7f;
// The longest step of play: a frame of 1/60 s is one step, 1/20 s three.
constexpr float MAX_STEP = 0.0167f;  // s

}  // namespace

void APPLICATION::HandleKeys() {
    uint32_t now = GetTickCount();
    if (KEYBOARD::IsDown(VK_ESCAPE) && now > EscapeRepeat) {
        EscapeRepeat = now + KEY_REPEAT_GUARD;
        Paused = false;
        if (GameState == GS_PLAYING) {
            GameState = GS_TO_MENU;
        } else if (GameState == GS_MENU) {
            Quit();
        } else if (GameState == GS_LEVEL_SELECT || GameState == GS_CREDITS ||
                   GameState == GS_OPTIONS || GameState == GS_CONTROLS) {
            BackRequested = true;  // as "Back" does, when the screen is drawn
        }
    }
    now = GetTickCount();
    if (CONTROLS::IsDown(ACTION_PAUSE) && now > PauseRepeat) {
        Paused = !Paused;
        PauseRepeat = now + KEY_REPEAT_GUARD;
    }
}

void APPLICATION::LeavePlayBehind() {
    // Play was left (Escape, an ending): a speech cut short ends, and no fade
    // of the level may dim the screens or the next level.
    Speech.Silence();
    FadeIn = 0.0f;
    LevelEndTimer = 0.0f;
}

void APPLICATION::UpdatePlay(float dt) {
    // The title card runs even while paused; nothing else moves under it.
    if (LevelWait > 0.0f) {
        LevelWait -= dt;
        if (LevelWait <= 0.0f) {
            GameMusic.Stop();
            IntroMusic.Stop();
            MenuMusic.Stop();
            BossMusic.Stop();
            FadeIn = FADE_IN_TIME;
        }
        return;
    }
    if (Paused) {
        return;
    }
    // While Bink talks the world, the hero, the music and the fades wait.
    if (Speech.IsSpeaking()) {
        Speech.Update(dt);
        return;
    }
    if (LevelEndTimer <= 0.0f) {
        LevelTime += dt;
    }
    // A long frame (a slow machine) is played as several short steps, so the
    // game plays the same at 20 frames a second as at 60; the keys are the
    // same through all of them. A speech that starts stops the rest.
    const int steps = std::max(1, static_cast<int>(std::ceil(dt / MAX_STEP)));
    const float step = dt / static_cast<float>(steps);
    for (int i = 0; i < steps && !(i > 0 && Speech.IsSpeaking()); ++i) {
        StepPlay(step);
    }
    MUSIC& track = IsBossLevel(Level) ? BossMusic : GameMusic;
    if (!track.IsPlaying()) {
        track.Play();
    }
    if (FadeIn > 0.0f) {
        FadeIn -= dt;
    }
    if (LevelEndTimer > 0.0f) {
        LevelEndTimer -= dt;
        if (LevelEndTimer <= 0.0f) {
            if (!Hero) {
                GameState = GS_TO_MENU;
            } else if (Hero->GameOver) {
                GameState = GS_TO_BAD_ENDING;
            } else {
                Hero->Active = true;
                Hero->Velocity = {0.0f, 0.0f};
                Hero->InvulnerableTime = LEVEL_CHANGE_SHIELD;
                LevelWait = TITLE_TIME;
                Records.Finish(Level, LevelTime, Hero->Score);
                LevelTime = 0.0f;
                CONTROLS::Reset();
                Level += 1;
                SaveProgress(ProgressFile, Level);
                // Kept in memory too, for when the file cannot be written.
                Progress = std::max(Progress, Level);
                if (Level == LEVEL_COUNT) {
                    GameState = GS_TO_GOOD_ENDING;
                } else if (!World->LoadMap(Level, Hero)) {
                    GameState = GS_TO_MENU;
                } else {
                    LoadStageMusic(StageOf(Level));
                }
            }
        }
    }
}

// One step of the world, the hero and the camera.
void APPLICATION::StepPlay(float dt) {
    if (World) {
        World->Update(dt, Hero, &Speech);
    }
    // The hero moves against the world's tiles and objects, and the camera
    // follows it there.
    if (Hero && World) {
        Hero->UpdateHero(dt, World->Objects());
        World->CameraTarget = Hero->Position * (1.0f / Zoom);
        float lead = (CAMERA_LEAD / Zoom) * (1.0f - Zoom);
        World->CameraLead.x = Hero->Facing == 1 ? -lead : lead;
        // Pull out while charging a mega jump or flying other than in an
        // ordinary jump; come back in otherwise.
        if (Hero->Aiming || (!Hero->OnGround && !Hero->Jumping && Hero->Active)) {
            Zoom -= ZOOM_RATE * dt;
            if (Zoom < ZOOM_MIN) {
                Zoom = ZOOM_MIN;
            }
        } else {
            Zoom += ZOOM_RATE * dt;
            if (Zoom > ZOOM_MAX) {
                Zoom = ZOOM_MAX;
            }
        }
        if (Hero->LevelOver || KEYBOARD::IsDown(VK_F1)) {
            LevelEndTimer = LEVEL_END_TIME;
            Hero->LevelOver = false;
        }
    }
}

void APPLICATION::RenderPlay() {
    if (LevelWait > 0.0f) {
        Sprite->End();
        DrawLevelTitle();
        return;
    }
    if (World) {
        World->DrawWorld(Sprite, Zoom);
        World->RenderObjects(Sprite, Zoom, 0);
    }
    if (Hero) {
        Hero->Render(Sprite, Zoom);
    }
    if (World) {
        World->RenderObjects(Sprite, Zoom, 1);
    }
}

void APPLICATION::DrawLevelTitle() {
    const char* name = LevelName(Level);
    if (!name) {
        return;
    }
    float a = 1.0f;
    if (LevelWait > 2.0f) {
        a = 1.0f - (LevelWait - 2.0f);
    }
    if (LevelWait < 1.0f) {
        a = LevelWait;
    }
    TitleFont->DrawString(330, 280, WhiteWithAlpha(a), name, 0);
}

void APPLICATION::DrawHud() {
    if (GameState == GS_PLAYING && LevelWait <= 0.0f && Hero) {
        Hero->DrawHealth(Sprite);
        // Out of lives the game is over: the counters go, Bink may still talk.
        if (Hero->Lives > 0) {
            std::string lives = LivesText(Hero->Lives);
            TitleFont->DrawString(62, 27, 0x88888888, lives.c_str(), 0);
            TitleFont->DrawString(60, 25, 0xFFFFFFFF, lives.c_str(), 0);
            std::string score = ScoreText(Hero->ShownScore);
            ScoreFont->DrawString(12, 77, 0x88888888, score.c_str(), 0);
            ScoreFont->DrawString(10, 75, 0xFFFFFFFF, score.c_str(), 0);
            if (SETTINGS_FILE::Current().LevelTimer) {
                std::string time = "Time: " + TimeText(LevelTime);
                ScoreFont->DrawString(12, 97, 0x88888888, time.c_str(), 0);
                ScoreFont->DrawString(10, 95, 0xFFFFFFFF, time.c_str(), 0);
            }
        }
        if (Speech.IsSpeaking()) {
            Speech.Render(Sprite, TextFont);
        }
    }
    if (FadeIn > 0.0f) {
        DrawOverlay(FadeIn, true);
    }
    if (LevelEndTimer > 0.0f) {
        DrawOverlay(1.0f - LevelEndTimer, !(Hero && Hero->GameOver));
    }
    if (Paused) {
        DrawOverlay(PAUSE_ALPHA, true);
        TitleFont->DrawString(350, 280, 0xFFFFFFFF, "PAUSED", 0);
    }
}

void APPLICATION::DrawOverlay(float alpha, bool usual) {
    if (alpha <= 0.0f) {
        return;
    }
    // One texel of the shared sheet stretched over the screen: black for the
    // usual fades, deep red for the fade after the last life.
    RECT texel = usual ? RECT{138, 127, 139, 128} : RECT{135, 127, 136, 128};
    VECTOR2 scaling{800.0f, 600.0f};
    VECTOR2 origin{0.0f, 0.0f};
    Sprite->Begin();
    Sprite->Draw(Stuff2Sheet, &texel, &scaling, nullptr, 0.0f, &origin, WhiteWithAlpha(alpha));
    Sprite->End();
}
