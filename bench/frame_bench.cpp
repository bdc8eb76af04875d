// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What a frame of play costs, and how fast the world runs without drawing.
//
// Frame cost: each measured frame is the game's Update and Render, with the
// renderer calls it makes written down; the very same calls are then made
// again straight into SDL (the bare loop, on the same screen, right after),
// so both sides see the same machine at the same moment. The ratio of the
// sums is the game's overhead over drawing alone. A third pass makes the
// calls once more with every picture blended, as all were drawn before
// opaque ones were copied: the busiest frame (the one with the most
// pictures) is measured against that.
//
// Simulation: the world's and the hero's updates, no drawing, in updates per
// second; beside it the same level with the hero alone on its tiles.
//
//   vortigan_bench [Google Benchmark options]
//   vortigan_bench --bare-start [PNG]   (SDL up, one blank frame presented and written:
//   start-up's floor)
//   vortigan_bench --explore LEVEL FRAMES [SCRIPT [X Y]]   (what a level holds, frame by
//   frame; X Y puts the hero there, px)

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <typeinfo>

#include "app/application.h"
#include "bench/play_scene.h"
#include "objects/hero.h"
#include "objects/object.h"
#include "objects/smallhat.h"
#include "platform/draw_record.h"
#include "platform/platform.h"
#include "world/world.h"

namespace {

// Seconds of processor time this thread has used. The machines these run
// on are often shared and busy: wall time then counts the waits for a
// processor as well, thread time only the work. The game draws on its own
// thread (the software renderer has no other), so nothing of a frame is
// lost; the mixer's thread is left out on both sides alike.
double CpuNow() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Every figure carries the same counters, as the CSV report wants.
void Counters(benchmark::State& state) {
    for (const char* name :
         {"game_ms", "bare_ms", "ratio", "draws", "calls", "busy_draws", "busy_unblended",
          "busy_game_ms", "busy_blended_ms", "updates_per_s", "objects"}) {
        state.counters[name] = 0.0;
    }
}

// The measured frame with the most pictures (the first of equals): what the
// game spent on it, and what the bare loop spent blending all its pictures.
struct BUSIEST {
    size_t Draws = 0;
    size_t Unblended = 0;  // of the draws, copied without blending
    double Game = 0.0;     // s
    double Blended = 0.0;  // s
};

// args: scene index, zoom in hundredths.
void FrameCost(benchmark::State& state) {
    const SCENE& scene = Scenes()[size_t(state.range(0))];
    const float zoom = float(state.range(1)) / 100.0f;
    PLAY_SCENE play;
    std::string error;
    if (!play.Open(scene, &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    DRAW_RECORD record;
    double game = 0.0;  // s
    double bare = 0.0;
    size_t calls = 0;
    size_t copies = 0;
    BUSIEST busiest;
    for (auto _ : state) {
        record.Start();
        double t0 = CpuNow();
        play.Update(zoom);
        play.Render(zoom);
        double t1 = CpuNow();
        record.Stop();
        double t2 = CpuNow();
        record.Replay(play.Device());
        double t3 = CpuNow();
        record.Replay(play.Device(), DRAW_RECORD::BLENDING::ALL);
        double t4 = CpuNow();
        game += t1 - t0;
        bare += t3 - t2;
        calls += record.Calls();
        copies += record.Copies();
        if (record.Copies() > busiest.Draws) {
            busiest = {record.Copies(), record.Unblended(), t1 - t0, t4 - t3};
        }
        state.SetIterationTime(t1 - t0);
    }
    double frames = double(state.iterations());
    Counters(state);
    state.counters["game_ms"] = game / frames * 1000.0;
    state.counters["bare_ms"] = bare / frames * 1000.0;
    state.counters["ratio"] = bare > 0.0 ? game / bare : 0.0;
    state.counters["draws"] = double(copies) / frames;
    state.counters["calls"] = double(calls) / frames;
    state.counters["busy_draws"] = double(busiest.Draws);
    state.counters["busy_unblended"] = double(busiest.Unblended);
    state.counters["busy_game_ms"] = busiest.Game * 1000.0;
    state.counters["busy_blended_ms"] = busiest.Blended * 1000.0;
}

// args: scene index, 1 to leave the cast in, 0 for the hero alone.
void Simulation(benchmark::State& state) {
    const SCENE& scene = Scenes()[size_t(state.range(0))];
    PLAY_SCENE play;
    std::string error;
    if (!play.Open(scene, &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    if (state.range(1) == 0) {
        play.ClearCast();
    }
    double total = 0.0;
    size_t objects = 0;
    for (auto _ : state) {
        // A block of updates per timing, so the clock's own cost stays out.
        double t0 = CpuNow();
        for (int i = 0; i < 100; ++i) {
            play.Simulate();
        }
        double t1 = CpuNow();
        total += t1 - t0;
        objects += play.Objects();
        state.SetIterationTime(t1 - t0);
    }
    double updates = double(state.iterations()) * 100.0;
    Counters(state);
    state.counters["updates_per_s"] = total > 0.0 ? updates / total : 0.0;
    state.counters["objects"] = double(objects) / double(state.iterations());
}

void Register() {
    const int repeats = std::getenv("VORTIGAN_BENCH_REPEATS")
                            ? std::atoi(std::getenv("VORTIGAN_BENCH_REPEATS"))
                            : 3;
    for (size_t i = 0; i < Scenes().size(); ++i) {
        for (int zoom : {100, 50}) {
            benchmark::RegisterBenchmark("FrameCost", FrameCost)
                ->Args({int64_t(i), zoom})
                ->Iterations(Scenes()[i].Frames)
                ->Repetitions(repeats)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
        }
    }
    for (size_t i = 0; i < Scenes().size(); ++i) {
        for (int cast : {1, 0}) {
            benchmark::RegisterBenchmark("Simulation", Simulation)
                ->Args({int64_t(i), cast})
                ->Iterations(60)
                ->Repetitions(repeats)
                ->UseManualTime()
                ->Unit(benchmark::kMicrosecond);
        }
    }
}

// Prints what a level holds every 30 frames: to choose the busy moments.
int Explore(int level, int64_t frames, const std::string& scriptPath, float x, float y) {
    SCENE scene{"explore", level, 0, frames, "", x, y};
    if (!scriptPath.empty()) {
        std::ifstream in(scriptPath);
        std::stringstream text;
        text << in.rdbuf();
        scene.Script = text.str();
    }
    PLAY_SCENE play;
    std::string error;
    if (!play.Open(scene, &error)) {
        std::fprintf(stderr, "explore: %s\n", error.c_str());
        return 1;
    }
    DRAW_RECORD record;
    for (int64_t f = 0; f < frames; ++f) {
        play.Update();
        if (f % 30 != 0) {
            play.Advance();
            continue;
        }
        record.Start();
        double t0 = CpuNow();
        play.Render();
        double t1 = CpuNow();
        record.Stop();
        std::map<std::string, int> kinds;
        float nearest = 1e9f;  // px from the hero to the nearest small hat
        for (OBJECT* o : play.App()->World->Objects()) {
            if (dynamic_cast<SMALLHAT*>(o)) {
                nearest = std::min(nearest, (o->Position - play.App()->Hero->Position).Length());
            }
            const char* name = typeid(*o).name();
            while (*name >= '0' && *name <= '9') {
                ++name;
            }
            ++kinds[name];
        }
        APPLICATION* app = play.App();
        std::printf(
            "%5lld state %3d speak %d zoom %.2f hero %5.0f %4.0f lives %2d hat %5.0f draws %3zu "
            "render %.2f ms objs %2zu:",
            (long long)f, app->GameState, play.Speaking() ? 1 : 0, app->Zoom, app->Hero->Position.x,
            app->Hero->Position.y, app->Hero->Lives, nearest, record.Copies(), (t1 - t0) * 1000.0,
            play.Objects());
        for (const auto& [name, count] : kinds) {
            std::printf(" %s %d", name.c_str(), count);
        }
        std::printf("\n");
    }
    return 0;
}

// The least a start can be: SDL up headless, the offscreen screen opened,
// one cleared frame presented, and gone. The start-up figure's baseline.
int BareStart(const char* screenshot) {
    PLATFORM_OPTIONS options;
    options.Headless = true;
    std::string error;
    if (!PLATFORM::Init(options, &error)) {
        std::fprintf(stderr, "bare start: %s\n", error.c_str());
        return 1;
    }
    DEVICE device;
    if (!device.Create(options, &error)) {
        std::fprintf(stderr, "bare start: %s\n", error.c_str());
        PLATFORM::Shutdown();
        return 1;
    }
    device.Clear(0x00000000);
    device.Present();
    // Written as the game writes its own frame 0 when asked, so the two
    // starts end on the same work.
    if (screenshot && !device.SaveScreenshot(screenshot)) {
        std::fprintf(stderr, "bare start: cannot write %s\n", screenshot);
    }
    device.Destroy();
    PLATFORM::Shutdown();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    if (argc >= 2 && std::strcmp(argv[1], "--bare-start") == 0) {
        return BareStart(argc >= 3 ? argv[2] : nullptr);
    }
    if (argc >= 4 && std::strcmp(argv[1], "--explore") == 0) {
        return Explore(std::atoi(argv[2]), std::atoll(argv[3]), argc >= 5 ? argv[4] : "",
                       argc >= 7 ? float(std::atof(argv[5])) : 0.0f,
                       argc >= 7 ? float(std::atof(argv[6])) : 0.0f);
    }
    Register();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
