// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The soak: the whole game, headless at a fixed frame time, played for a
// long stretch of game time by a seeded random player that wanders through
// the intro, the menus, the credits, all twelve levels and the endings. It
// fails on the first frame that breaks a rule: a screen change the game's
// flow does not have, an object list that keeps growing, a hero or camera
// whose numbers are no longer numbers. Run under the sanitizers it also
// catches memory faults and, at exit, leaks.
//
//   vortigan_soak --data DIR [--game-seconds S] [--seed N] [--max-objects N]

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/application.h"
#include "objects/hero.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/platform.h"
#include "world/world.h"

namespace {

constexpr double DT = 1.0 / 60.0;  // s per frame

constexpr int GS_START = 0;
constexpr int GS_ENDING_BAD = 9;
constexpr int GS_ENDING_GOOD = 10;

// The screen changes the game's flow has. The update may leave play (for
// the menu or an ending); the drawing of the screens then takes at most one
// more step in the same frame.
bool UpdateMayMove(int from, int to) {
    return from == to || (from == GS_PLAYING &&
                          (to == GS_TO_MENU || to == GS_TO_BAD_ENDING || to == GS_TO_GOOD_ENDING));
}

bool DrawingMayMove(int from, int to) {
    if (from == to) {
        return true;
    }
    if (from >= GS_START && from <= 5) {
        return to == from + 1 || to == GS_MENU;  // the next slide, or skipped to the menu
    }
    switch (from) {
        case GS_MENU:
            return to == GS_LEVEL_SELECT || to == GS_CREDITS;
        case GS_LEVEL_SELECT:
            return to == GS_PLAYING || to == GS_MENU;
        case GS_CREDITS:
            return to == GS_MENU;
        case GS_ENDING_BAD:
        case GS_ENDING_GOOD:
            return to == GS_TO_MENU;
        case GS_TO_MENU:
            return to == GS_MENU;
        case GS_TO_BAD_ENDING:
            return to == GS_ENDING_BAD;
        case GS_TO_GOOD_ENDING:
            return to == GS_ENDING_GOOD;
        default:
            return false;
    }
}

bool Finite(const VECTOR2& v) {
    return std::isfinite(v.x) && std::isfinite(v.y);
}

// The on-screen rectangles of the buttons the player aims for, centred.
std::pair<int, int> LevelButton(int level) {
    return {570, 10 + 40 * level + 20};
}
constexpr std::pair<int, int> START_BUTTON{580, 270};
constexpr std::pair<int, int> CREDITS_BUTTON{580, 320};
constexpr std::pair<int, int> QUIT_BUTTON{570, 370};
constexpr std::pair<int, int> SELECT_BACK{570, 570};
constexpr std::pair<int, int> CREDITS_BACK{490, 570};

// A random player. Keys are held and let go at random, with rates that
// keep the hero walking, jumping and charging most of the time; on the
// menus it aims the cursor at a button once that button has faded in; in a
// level it plays for a while and then ends the level with F1 or leaves it
// with Escape. Now and then it quits from the menu, and the game starts
// anew.
class PLAYER {
public:
    explicit PLAYER(uint32_t seed, double episode) : Rng(seed), Episode(episode) {}

    // This frame's input, given the game as the last frame left it.
    std::vector<INPUT_EVENT> Next(APPLICATION& app, int* levelWanted) {
        std::vector<INPUT_EVENT> events;
        const int state = app.GameState;
        if (state != LastState) {
            StateTime = 0.0;
            LastState = state;
            PlayTime = Uniform(Episode * 0.25, Episode);
            Aimed = false;
        }
        StateTime += DT;

        if (state == GS_PLAYING) {
            Wander();
            if (StateTime > PlayTime) {
                // F1 ends the level (the next one follows); sometimes Escape
                // leaves it for the menu instead.
                bool escape = Chance(0.2);
                held[int(escape ? INPUT_KEY::ESCAPE : INPUT_KEY::F1)] = true;
                if (StateTime > PlayTime + 0.5) {
                    held[int(INPUT_KEY::F1)] = false;
                    held[int(INPUT_KEY::ESCAPE)] = false;
                    PlayTime = StateTime + Uniform(2.0, 6.0);  // again if it did not take
                }
            }
        } else {
            LetGoOfEverything();
            MenuInput(app, state, levelWanted);
        }
        // The pause now and then, in every state.
        if (Chance(0.002)) {
            held[int(INPUT_KEY::P)] = !held[int(INPUT_KEY::P)];
        }
        for (int k = 0; k < INPUT_KEY_COUNT; ++k) {
            if (held[k]) {
                INPUT_EVENT e;
                e.Type = INPUT_EVENT::TYPE::PRESS;
                e.Key = INPUT_KEY(k);
                events.push_back(e);
            }
        }
        if (Chance(0.05)) {
            INPUT_EVENT e;
            e.Type = INPUT_EVENT::TYPE::MOUSE;
            e.MouseDx = int(Uniform(-40, 40));
            e.MouseDy = int(Uniform(-40, 40));
            events.push_back(e);
        }
        return events;
    }

    int Quits = 0;

private:
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(Rng) < p; }
    double Uniform(double a, double b) { return std::uniform_real_distribution<double>(a, b)(Rng); }

    void Toggle(INPUT_KEY key, double pressRate, double releaseRate) {
        bool& h = held[int(key)];
        h = h ? !Chance(releaseRate) : Chance(pressRate);
    }

    void Wander() {
        Toggle(INPUT_KEY::RIGHT, 0.05, 0.01);
        Toggle(INPUT_KEY::LEFT, 0.02, 0.03);
        Toggle(INPUT_KEY::UP, 0.04, 0.1);
        Toggle(INPUT_KEY::DOWN, 0.01, 0.2);
        Toggle(INPUT_KEY::SPACE, 0.01, 0.02);
        Toggle(INPUT_KEY::RETURN, 0.002, 0.3);
        Toggle(INPUT_KEY::LBUTTON, 0.003, 0.3);
        Toggle(INPUT_KEY::RBUTTON, 0.001, 0.3);
        Toggle(INPUT_KEY::ESCAPE, 0.0002, 0.5);
        Toggle(INPUT_KEY::F1, 0.0002, 0.5);
    }

    void LetGoOfEverything() {
        for (int k = 0; k < INPUT_KEY_COUNT; ++k) {
            if (INPUT_KEY(k) != INPUT_KEY::P) {
                held[k] = false;
            }
        }
    }

    // Puts the cursor on (x, y) and clicks there with the mouse or, on
    // alternate tries, with Enter.
    void ClickAt(APPLICATION& app, std::pair<int, int> at) {
        app.Mouse.X = at.first;
        app.Mouse.Y = at.second;
        held[int(Chance(0.5) ? INPUT_KEY::LBUTTON : INPUT_KEY::RETURN)] = true;
    }

    void MenuInput(APPLICATION& app, int state, int* levelWanted) {
        const float t = app.ScreenTime;
        switch (state) {
            case GS_MENU:
                // The buttons are clickable once faded past half: Start at
                // t = 3, Credits at 4, Quit at 5.
                if (!Aimed) {
                    double r = Uniform(0, 1);
                    Target = r < 0.8 ? START_BUTTON : r < 0.97 ? CREDITS_BUTTON : QUIT_BUTTON;
                    WaitUntil = Uniform(0.5, 6.0);
                    Aimed = true;
                }
                if (StateTime > WaitUntil) {
                    if (Target == QUIT_BUTTON || Chance(0.001)) {
                        if (Chance(0.5)) {
                            held[int(INPUT_KEY::ESCAPE)] = true;
                        } else if (t > 5.5f) {
                            ClickAt(app, QUIT_BUTTON);
                        }
                    } else {
                        ClickAt(app, Target);
                    }
                }
                break;
            case GS_LEVEL_SELECT:
                if (!Aimed) {
                    WaitUntil = Uniform(0.0, 4.0);
                    Aimed = true;
                }
                if (StateTime > WaitUntil) {
                    if (Chance(0.02)) {
                        ClickAt(app, SELECT_BACK);
                    } else {
                        ClickAt(app, LevelButton(*levelWanted));
                    }
                }
                break;
            case GS_CREDITS:
                if (StateTime > 3.0 && Chance(0.02)) {
                    ClickAt(app, CREDITS_BACK);
                }
                break;
            default:
                // The intro: skipped at a random moment, or watched.
                if (state <= 5 && Chance(0.004)) {
                    held[int(Chance(0.5) ? INPUT_KEY::SPACE : INPUT_KEY::RETURN)] = true;
                }
                break;
        }
    }

    std::mt19937 Rng;
    double Episode;  // s, the longest stay in one level
    std::array<bool, INPUT_KEY_COUNT> held{};
    int LastState = -1000;
    double StateTime = 0.0;  // s in the current state
    double PlayTime = 0.0;   // s to play before ending the level
    double WaitUntil = 0.0;  // s in the state before clicking
    bool Aimed = false;
    std::pair<int, int> Target{0, 0};
};

struct OPTIONS {
    std::string DataDir;
    double GameSeconds = 600.0;
    uint32_t Seed = 1;
    size_t MaxObjects = 300;  // the busiest level holds a few dozen
};

bool ParseOptions(int argc, char** argv, OPTIONS* o) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (i + 1 >= argc) {
            return false;
        }
        std::string v = argv[++i];
        if (a == "--data") {
            o->DataDir = v;
        } else if (a == "--game-seconds") {
            o->GameSeconds = std::atof(v.c_str());
        } else if (a == "--seed") {
            o->Seed = static_cast<uint32_t>(std::strtoul(v.c_str(), nullptr, 10));
        } else if (a == "--max-objects") {
            o->MaxObjects = static_cast<size_t>(std::strtoul(v.c_str(), nullptr, 10));
        } else {
            return false;
        }
    }
    return !o->DataDir.empty() && o->GameSeconds > 0.0;
}

// Every level unlocked from the start, so the player can choose any.
void UnlockEverything(const std::string& userDir) {
    std::ofstream out(userDir + "/settings.bin", std::ios::binary | std::ios::trunc);
    const char eleven[4] = {11, 0, 0, 0};
    out.write(eleven, 4);
}

}  // namespace

int main(int argc, char** argv) {
    OPTIONS o;
    if (!ParseOptions(argc, argv, &o)) {
        std::fprintf(stderr,
                     "usage: vortigan_soak --data DIR [--game-seconds S] [--seed N] "
                     "[--max-objects N]\n");
        return 2;
    }
    std::string userDir =
        (std::filesystem::temp_directory_path() / "vortigan-soak-XXXXXX").string();
    if (!mkdtemp(userDir.data())) {
        std::perror("vortigan_soak: mkdtemp");
        return 2;
    }
    o.DataDir = std::filesystem::absolute(o.DataDir).string();
    UnlockEverything(userDir);

    PLATFORM_OPTIONS options;
    options.Headless = true;
    options.FixedDt = DT;
    options.DataDir = o.DataDir;
    options.UserDir = userDir;
    std::string error;
    if (!PLATFORM::PrepareInput(options, &error)) {
        std::fprintf(stderr, "vortigan_soak: %s\n", error.c_str());
        return 2;
    }
    LOG::Open(PLATFORM::UserPath("debug.txt"));
    if (PLATFORM::ChangeToDataDir(argv[0]).empty()) {
        std::fprintf(stderr, "vortigan_soak: no data folder at %s\n", o.DataDir.c_str());
        return 2;
    }

    const int64_t frames = static_cast<int64_t>(o.GameSeconds / DT);
    // Long enough in each level to meet its cast, short enough to visit
    // all twelve several times over.
    const double episode = std::clamp(o.GameSeconds / 40.0, 10.0, 120.0);
    PLAYER player(o.Seed, episode);
    std::array<int, LEVEL_COUNT> levelFrames{};
    std::set<std::pair<int, int>> moves;
    size_t mostObjects = 0;
    int starts = 0;
    int levelWanted = 0;
    std::string fault;
    int64_t frame = 0;

    while (frame < frames && fault.empty()) {
        // One run of the game, from start-up until it quits.
        if (!PLATFORM::Init(options, &error)) {
            std::fprintf(stderr, "vortigan_soak: %s\n", error.c_str());
            return 2;
        }
        DEVICE device;
        if (!device.Create(options, &error)) {
            std::fprintf(stderr, "vortigan_soak: %s\n", error.c_str());
            return 2;
        }
        auto app = std::make_unique<APPLICATION>();
        if (FAILED(app->Init(&device, DEVICE::WIDTH, DEVICE::HEIGHT, true))) {
            std::fprintf(stderr, "vortigan_soak: the game did not start\n");
            return 1;
        }
        ++starts;
        int state = app->GameState;
        for (; frame < frames; ++frame) {
            if (!PLATFORM::PollEvents()) {
                break;
            }
            std::vector<INPUT_EVENT> input = player.Next(*app, &levelWanted);
            PLATFORM::PlayScript(std::move(input), DT);
            PLATFORM::BeginFrame(0);
            PLATFORM::SetSimulatedTime(static_cast<double>(frame + 1) * DT);

            app->Update(static_cast<float>(DT));
            const int updated = app->GameState;
            app->Render();
            const int drawn = app->GameState;

            if (!UpdateMayMove(state, updated) || !DrawingMayMove(updated, drawn)) {
                fault = "the game moved from state " + std::to_string(state) + " to " +
                        std::to_string(updated) + " and then " + std::to_string(drawn);
                break;
            }
            if (PLATFORM::QuitRequested() && updated != GS_MENU && drawn != GS_MENU) {
                fault = "the game quit from state " + std::to_string(drawn);
                break;
            }
            if (state != drawn) {
                moves.insert({state, drawn});
            }
            if (state == GS_LEVEL_SELECT && drawn == GS_PLAYING) {
                levelWanted = (levelWanted + 1) % LEVEL_COUNT;
            }
            state = drawn;

            const size_t objects = app->World ? app->World->Objects().size() : 0;
            mostObjects = std::max(mostObjects, objects);
            if (objects > o.MaxObjects) {
                fault = "the object list grew to " + std::to_string(objects) + " in level " +
                        std::to_string(app->Level);
                break;
            }
            if (state == GS_PLAYING) {
                if (app->Level < 0 || app->Level >= LEVEL_COUNT) {
                    fault = "playing level " + std::to_string(app->Level);
                    break;
                }
                ++levelFrames[size_t(app->Level)];
                if (!(app->Zoom >= 0.5f && app->Zoom <= 1.0f)) {
                    fault = "zoom " + std::to_string(app->Zoom);
                    break;
                }
                if (app->Hero && (!Finite(app->Hero->Position) || !Finite(app->Hero->Velocity) ||
                                  !std::isfinite(app->Hero->Health))) {
                    fault = "the hero's position, speed or health is not a number";
                    break;
                }
            }
            if (PLATFORM::QuitRequested()) {
                ++frame;
                break;
            }
        }
        app.reset();
        device.Destroy();
        PLATFORM::Shutdown();
    }

    std::printf("soak: %lld frames (%.0f s of game time), %d starts, seed %u\n",
                static_cast<long long>(frame), static_cast<double>(frame) * DT, starts, o.Seed);
    std::printf("soak: at most %zu objects in the list (limit %zu)\n", mostObjects, o.MaxObjects);
    std::printf("soak: seconds in each level:");
    for (int f : levelFrames) {
        std::printf(" %.0f", f * DT);
    }
    std::printf("\nsoak: screen changes seen:");
    for (const auto& m : moves) {
        std::printf(" %d>%d", m.first, m.second);
    }
    std::printf("\n");

    std::error_code ec;
    std::filesystem::remove_all(userDir, ec);
    if (!fault.empty()) {
        std::fprintf(stderr, "soak: FAILED at frame %lld: %s\n", static_cast<long long>(frame),
                     fault.c_str());
        return 1;
    }
    // A long soak must have played every level.
    if (o.GameSeconds >= 600.0) {
        for (int level = 0; level < LEVEL_COUNT; ++level) {
            if (levelFrames[size_t(level)] == 0) {
                std::fprintf(stderr, "soak: FAILED: level %d was never played\n", level);
                return 1;
            }
        }
    }
    std::printf("soak: passed\n");
    return 0;
}
