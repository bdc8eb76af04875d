// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/play_scene.h"

#include <cstdlib>
#include <filesystem>

#include "app/application.h"
#include "objects/bink.h"
#include "objects/hero.h"
#include "objects/object.h"
#include "platform/platform.h"
#include "platform/random.h"
#include "world/world.h"

namespace {

// Level 3-3: the hero stands on the high ground in the middle of the
// level, where the small hats' path comes down past him, and waits for
// them.
const char* const HATS_SCRIPT = "";

// Level 3-4: the hero stands at the start. Bink speaks once the level
// clock passes two seconds; held Return hurries him, so the boss sets out
// sooner and fires its ray at its first stop.
const char* const BOSS_SCRIPT = "290 +RETURN\n";

// Level 3-4 again, Bink left to speak at his own pace.
const char* const BINK_SCRIPT = "";

}  // namespace

const std::vector<SCENE>& Scenes() {
    static const std::vector<SCENE> scenes = {
        // name, level, frames skipped, frames measured, input, hero put at
        {"3-3 small hats", 10, 2100, 300, HATS_SCRIPT, 80 * 64 + 32, 5 * 64},
        {"3-4 boss ray", 11, 650, 120, BOSS_SCRIPT},
        {"3-4 Bink speaks", 11, 400, 300, BINK_SCRIPT},
    };
    return scenes;
}

std::string BenchDataDir() {
    if (const char* dir = std::getenv("VORTIGAN_DATA")) {
        return dir;
    }
    return VORTIGAN_BENCH_DATA_DIR;
}

PLAY_SCENE::PLAY_SCENE() = default;

PLAY_SCENE::~PLAY_SCENE() {
    Close();
}

bool PLAY_SCENE::Open(const SCENE& scene, std::string* error) {
    Close();
    std::error_code ec;
    Before = std::filesystem::current_path(ec).string();
    std::filesystem::current_path(BenchDataDir(), ec);
    if (ec) {
        *error = "no data folder at " + BenchDataDir() + " (set VORTIGAN_DATA)";
        return false;
    }
    std::vector<INPUT_EVENT> events;
    if (!ParseInputScript(scene.Script, &events, error)) {
        return false;
    }
    // A fresh game, as a new process would have it.
    ResetRand();
    PLATFORM::PlayScript(events, DT);
    if (!Screen.CreateOffscreen(error)) {
        return false;
    }
    Game = std::make_unique<APPLICATION>();
    if (Game->Init(&Screen, DEVICE::WIDTH, DEVICE::HEIGHT, true) != 0) {
        *error = "the game did not start";
        return false;
    }
    if (!Game->StartLevel(scene.Level)) {
        *error = "level " + std::to_string(scene.Level) + " did not load";
        return false;
    }
    if (scene.StartX != 0.0f || scene.StartY != 0.0f) {
        Game->Hero->ResetForLevel({scene.StartX, scene.StartY});
    }
    Next = 0;
    while (Next < scene.Skip) {
        Update();
        Advance();
    }
    return true;
}

void PLAY_SCENE::Close() {
    Game.reset();
    Screen.Destroy();
    if (!Before.empty()) {
        std::error_code ec;
        std::filesystem::current_path(Before, ec);
        Before.clear();
    }
}

void PLAY_SCENE::Update(float zoom) {
    PLATFORM::BeginFrame(Next);
    PLATFORM::SetSimulatedTime(double(Next + 1) * DT);
    if (zoom > 0.0f) {
        Game->Zoom = zoom;
    }
    Game->Update(float(DT));
    ++Next;
}

void PLAY_SCENE::Render(float zoom) {
    if (zoom > 0.0f) {
        Game->Zoom = zoom;
    }
    Game->Render();
}

void PLAY_SCENE::Advance() {
    if (Speaking()) {
        Render();
    }
}

void PLAY_SCENE::Simulate() {
    PLATFORM::BeginFrame(Next);
    PLATFORM::SetSimulatedTime(double(Next + 1) * DT);
    Game->World->Update(float(DT), Game->Hero, &Game->Speech);
    Game->Hero->UpdateHero(float(DT), Game->World->Objects());
    ++Next;
}

void PLAY_SCENE::ClearCast() {
    for (OBJECT* object : Game->World->Objects()) {
        delete object;
    }
    Game->World->Objects().clear();
}

size_t PLAY_SCENE::Objects() const {
    return Game ? Game->World->Objects().size() : 0;
}

bool PLAY_SCENE::Speaking() const {
    return Game && Game->Speech.IsSpeaking();
}
