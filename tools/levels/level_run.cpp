// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/levels/level_run.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "app/application.h"
#include "objects/boss.h"
#include "objects/hero.h"
#include "objects/toilet.h"
#include "platform/device.h"
#include "platform/mixer.h"
#include "platform/platform.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "world/world.h"

namespace {

// Sounds that tell what the hero did: the bang only its wall bounces make,
// once each and only over 400 px/s, and the launch whoosh, which a popped
// flozer makes too.

}  // namespace

LEVEL_RUN::LEVEL_RUN(std::string dataDir) : DataDir(std::move(dataDir)) {}

LEVEL_RUN::~LEVEL_RUN() {
    End();
}

void LEVEL_RUN::End() {
    App.reset();
    if (Device) {
        Device->Destroy();
        Device.reset();
    }
    if (!Before.empty()) {
        std::error_code ec;
        std::filesystem::current_path(Before, ec);
        Before.clear();
    }
}

bool LEVEL_RUN::Begin(int level, const std::vector<INPUT_EVENT>& events, double dt) {
    End();
    std::error_code ec;
    Before = std::filesystem::current_path(ec).string();
    std::filesystem::current_path(DataDir, ec);
    if (ec) {
        return false;
    }
    // A fresh game, as a new process would have it, but silent: the solver
    // forks copies of it, and an audio or decoding thread's lock copied
    // mid-use would hang a copy. The game plays the same without sound.
    MIXER::StaySilent();
    ResetRand();
    PLATFORM::PlayScript(events, dt);
    Device = std::make_unique<DEVICE>();
    std::string error;
    if (!Device->CreateOffscreen(&error)) {
        return false;
    }
    Device->Blind = true;  // thousands of frames: work them out, draw nothing
    App = std::make_unique<APPLICATION>();
    if (App->Init(Device.get(), DEVICE::WIDTH, DEVICE::HEIGHT, true) != 0) {
        return false;
    }
    App->StartLevel(level);
    WallSoundsBefore = Sound.Started[SOUND_HIT_WALL];
    LaunchSoundsBefore = Sound.Started[SOUND_LAUNCH];
    Level = level;
    Dt = dt;
    Frame = 0;
    Standing = 0;
    Latest = RUN_FRAME{};
    Latest.Level = level;
    return true;
}

void LEVEL_RUN::ChangeScript(const std::vector<INPUT_EVENT>& events) {
    PLATFORM::PlayScript(events, Dt);
    // Bring the new script's held keys up to where the game stands.
    for (int64_t f = 0; f < Frame; ++f) {
        PLATFORM::BeginFrame(f);
    }
}

RUN_FRAME LEVEL_RUN::Advance(int64_t until, int64_t notBefore, int stopAfterStanding,
                             std::vector<RUN_FRAME>* frames) {
    // With nothing left to play, the frame already played is the answer.
    RUN_FRAME f = Latest;
    if (!App) {
        return f;
    }
    while (Frame < until) {
        PLATFORM::BeginFrame(Frame);
        PLATFORM::SetSimulatedTime(double(Frame + 1) * Dt);
        App->Update(float(Dt));
        // Drawing is part of the frame: Bink's speech runs its course as it
        // is drawn, and a bubble carries its captive as it is drawn.
        App->Render();
        f.Frame = Frame;
        ++Frame;
        f.State = App->GameState;
        f.Level = App->Level;
        const HERO* hero = App->Hero;
        f.X = hero->Position.x;
        f.Y = hero->Position.y;
        f.Vx = hero->Velocity.x;
        f.Vy = hero->Velocity.y;
        f.Health = hero->Health;
        f.Lives = hero->Lives;
        f.Score = hero->Score;
        f.Speaking = App->Speech.IsSpeaking();
        f.Standing = hero->OnGround && !hero->Aiming && hero->Slide.x == 0.0f &&
                     hero->StunTime <= 0.0f && hero->Active && !hero->Dying &&
                     App->LevelWait <= 0.0f && !f.Speaking &&
                     // Landed deep in the ground, he is still rising out of it.
                     App->World->GetTile(int(f.X), int(f.Y)) <= 0;
        f.Facing = hero->Facing;
        f.MapWidth = App->World->MapWidth();
        Tally(hero, &f);
        f.BossHealth = -1.0f;
        f.ExitX = -1.0f;
        for (OBJECT* object : App->World->Objects()) {
            if (auto* toilet = dynamic_cast<TOILET*>(object); toilet && f.ExitX < 0.0f) {
                f.ExitX = toilet->Position.x;
            }
            if (auto* boss = dynamic_cast<BOSS*>(object)) {
                f.BossHealth = boss->Health;
                f.BossX = boss->Position.x;
                f.BossY = boss->Position.y;
                f.BossWait = boss->WaitTimer;
                f.BossSpeed = boss->Speed;
                f.BossPause = boss->Pause;
                f.BossTarget = boss->WaypointIndex;
                for (size_t w = 0; w < 3 && w < boss->Waypoints.size(); ++w) {
                    f.BossWaypoints[w][0] = boss->Waypoints[w].x;
                    f.BossWaypoints[w][1] = boss->Waypoints[w].y;
                }
                f.BossHurt = boss->HurtTimer;
                f.BossBox[0] = boss->Box.left - int(f.BossX);
                f.BossBox[1] = boss->Box.top - int(f.BossY);
                f.BossBox[2] = boss->Box.right - int(f.BossX);
                f.BossBox[3] = boss->Box.bottom - int(f.BossY);
            }
        }
        Latest = f;
        if (frames) {
            frames->push_back(f);
        }
        if (f.State != GS_PLAYING || f.Level != Level) {
            break;
        }
        Standing = (f.Standing && f.Frame >= notBefore) ? Standing + 1 : 0;
        if (stopAfterStanding > 0 && Standing >= stopAfterStanding) {
            break;
        }
    }
    return f;
}

void LEVEL_RUN::Tally(const HERO* hero, RUN_FRAME* f) const {
    bool hopping = f->OnGround && f->Jumping;  // as the frame before ended
    bool aiming = f->Aiming;
    f->OnGround = hero->OnGround;
    f->Jumping = hero->Jumping;
    f->Aiming = hero->Aiming;
    // Standing on the ground clears Jumping, so only the frame the hop
    // leaves the ground ends with both (or a stunned hero, frozen mid-hop,
    // on every frame of the stun: counted once).
    if (f->OnGround && f->Jumping && !hopping) {
        ++f->Hops;
    }
    // A launch turns the charge into the launch speed, far above the
    // meter's 1; a charge too weak to launch, or a life lost while aiming,
    // leaves it on the meter.
    if (aiming && !hero->Aiming && hero->Charge > 1.0f) {
        ++f->MegaJumps;
    }
    f->WallBangs = Sound.Started[SOUND_HIT_WALL] - WallSoundsBefore;
    f->LaunchSounds = Sound.Started[SOUND_LAUNCH] - LaunchSoundsBefore;
    bool free = hero->Active && !hero->Dying && hero->StunTime <= 0.0f && App->LevelWait <= 0.0f &&
                !f->Speaking;
    if (!free) {
        return;
    }
    ++f->FreeFrames;
    if (std::fabs(hero->Velocity.x) == hero->WalkSpeed) {
        if (hero->OnGround && !hero->Jumping) {
            ++f->WalkFrames;
        }
        if (hero->OnGround || hero->Jumping) {
            f->PaceFrames += hero->Velocity.x > 0.0f ? 1 : -1;
        }
    }
}

std::vector<RUN_FRAME> LEVEL_RUN::Play(int level, const std::vector<INPUT_EVENT>& events, double dt,
                                       int64_t frames, int64_t notBefore, int stopAfterStanding) {
    std::vector<RUN_FRAME> out;
    if (Begin(level, events, dt)) {
        Advance(frames, notBefore, stopAfterStanding, &out);
    }
    End();
    return out;
}

void AddKey(std::vector<INPUT_EVENT>* events, int64_t frame, INPUT_KEY key, bool press) {
    INPUT_EVENT e;
    e.Type = press ? INPUT_EVENT::TYPE::PRESS : INPUT_EVENT::TYPE::RELEASE;
    e.Frame = frame;
    e.Key = key;
    events->push_back(e);
}

std::string ScriptText(const std::vector<INPUT_EVENT>& events, const std::string& header) {
    std::string text = header;
    for (const INPUT_EVENT& e : events) {
        text += std::to_string(e.Frame);
        if (e.Type == INPUT_EVENT::TYPE::MOUSE) {
            text += " mouse " + std::to_string(e.MouseDx) + " " + std::to_string(e.MouseDy);
        } else {
            text += e.Type == INPUT_EVENT::TYPE::PRESS ? " +" : " -";
            text += InputKeyName(e.Key);
        }
        text += "\n";
    }
    return text;
}
