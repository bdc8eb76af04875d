#include "tools/levels/level_run.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include "app/application.h"
#include "objects/boss.h"
#include "objects/hero.h"
#include "platform/device.h"
#include "platform/platform.h"
#include "platform/random.h"
#include "world/world.h"

LEVEL_RUN::LEVEL_RUN(std::string dataDir) : DataDir(std::move(dataDir)) {}

std::vector<RUN_FRAME> LEVEL_RUN::Play(int level, const std::vector<INPUT_EVENT>& events, double dt,
                                       int64_t frames, int64_t notBefore, int stopAfterStanding) {
    std::vector<RUN_FRAME> out;
    std::error_code ec;
    std::filesystem::path before = std::filesystem::current_path(ec);
    std::filesystem::current_path(DataDir, ec);
    if (ec) {
        return out;
    }
    // A fresh game, as a new process would have it.
    ResetRand();
    PLATFORM::PlayScript(events, dt);
    DEVICE device;
    std::string error;
    if (!device.CreateOffscreen(&error)) {
        return out;
    }
    auto app = std::make_unique<APPLICATION>();
    if (app->Init(&device, DEVICE::WIDTH, DEVICE::HEIGHT, true) != 0) {
        return out;
    }
    app->StartLevel(level);
    int standing = 0;
    for (int64_t frame = 0; frame < frames; ++frame) {
        PLATFORM::BeginFrame(frame);
        PLATFORM::SetSimulatedTime(double(frame + 1) * dt);
        app->Update(float(dt));
        // Bink's speech runs its course as it is drawn (the last lines
        // leaving the bubble close it), so a frame with Bink in it is drawn
        // in full; nothing else that is drawn changes the game.
        if (app->Speech.IsSpeaking()) {
            app->Render();
        }
        RUN_FRAME f;
        f.Frame = frame;
        f.State = app->GameState;
        f.Level = app->Level;
        const HERO* hero = app->Hero;
        f.X = hero->Position.x;
        f.Y = hero->Position.y;
        f.Vx = hero->Velocity.x;
        f.Vy = hero->Velocity.y;
        f.Health = hero->Health;
        f.Lives = hero->Lives;
        f.Score = hero->Score;
        f.Speaking = app->Speech.IsSpeaking();
        f.Standing = hero->OnGround && !hero->Aiming && hero->Slide.x == 0.0f &&
                     hero->StunTime <= 0.0f && hero->Active && !hero->Dying &&
                     app->LevelWait <= 0.0f && !f.Speaking;
        for (OBJECT* object : app->World->Objects()) {
            if (auto* boss = dynamic_cast<BOSS*>(object)) {
                f.BossHealth = boss->Health;
            }
        }
        out.push_back(f);
        if (f.State != GS_PLAYING || f.Level != level) {
            break;
        }
        standing = (f.Standing && frame >= notBefore) ? standing + 1 : 0;
        if (stopAfterStanding > 0 && standing >= stopAfterStanding) {
            break;
        }
    }
    app.reset();
    device.Destroy();
    std::filesystem::current_path(before, ec);
    return out;
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
