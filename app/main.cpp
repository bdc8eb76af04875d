// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The entry point: reads the command line, opens the screen, and runs one
// update and one drawing per frame until the game is quit.

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "app/application.h"
#include "app/frame_trace.h"
#include "app/options.h"
#include "objects/hero.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/mixer.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "world/world.h"

namespace {

// A stall (a dragged window, a busy machine) must not throw the hero
// through a floor in one frame.
constexpr double MAX_DT = 0.05;  // s

// A recording's own time step wins, then --fixed-dt, then the time the
// last frame took.
double FrameDt(const PLATFORM_OPTIONS& options, double measured) {
    if (double scripted = PLATFORM::ScriptDt(); scripted > 0.0) {
        return scripted;
    }
    return options.FixedDt > 0.0 ? options.FixedDt : measured;
}

// Closes the trace and the recording. A file the run was asked to write
// and could not (a full disk) is said on stderr: false then.
bool FinishOutputs(FRAME_TRACE& trace, const PLATFORM_OPTIONS& options, bool screenshots) {
    bool ok = screenshots;
    if (!trace.Close()) {
        std::fprintf(stderr, "vortigan: cannot write the trace %s\n", options.TracePath.c_str());
        ok = false;
    }
    if (!PLATFORM::FinishRecording()) {
        std::fprintf(stderr, "vortigan: cannot write the input recording %s\n",
                     options.RecordPath.c_str());
        ok = false;
    }
    return ok;
}

// Runs one update and one drawing a frame until the game is quit or the
// frames asked for are done. False when a screenshot could not be written.
bool RunFrames(APPLICATION& app, DEVICE& device, const PLATFORM_OPTIONS& options,
               FRAME_TRACE& trace) {
    // The game's clock is the sum of its frames' time steps, from the start.
    double previous = PLATFORM::Seconds();
    double clock = 0.0;  // s
    bool screenshotsWritten = true;
    for (int64_t frame = 0; options.Frames < 0 || frame < options.Frames; ++frame) {
        if (!PLATFORM::PollEvents()) {
            break;
        }
        PLATFORM::BeginFrame(frame);
        double now = PLATFORM::Seconds();
        double measured = std::min(now - previous, MAX_DT);
        previous = now;
        double dt = FrameDt(options, measured);
        // A fixed step keeps its clock as frame x dt, to the bit, as the
        // stored replays were made with.
        clock = PLATFORM::ScriptHasDt() || options.FixedDt <= 0.0
                    ? clock + dt
                    : static_cast<double>(frame + 1) * dt;
        PLATFORM::SetSimulatedTime(clock);
        PLATFORM::RecordDt(dt);
        app.Update(static_cast<float>(dt));
        trace.Frame(frame, app);
        bool shot = DISPLAY::ScreenshotRequested();
        for (const auto& [at, path] : options.Screenshots) {
            shot = shot || at == frame;
        }
        // Headless, a frame nobody will see is worked out in full (drawing
        // moves some of the cast) but not painted, so replays run many
        // times faster; every frame written to a PNG is painted whole.
        device.Blind = device.Headless() && !shot;
        app.Render();
        for (const auto& [at, path] : options.Screenshots) {
            if (at == frame && !device.SaveScreenshot(path)) {
                std::fprintf(stderr, "vortigan: cannot write screenshot %s\n", path.c_str());
                screenshotsWritten = false;
            }
        }
        if (PLATFORM::QuitRequested()) {
            break;
        }
    }
    return screenshotsWritten;
}

}  // namespace

int main(int argc, char** argv) {
    COMMAND_LINE cl = ParseCommandLine(argc, argv);
    if (cl.Exit) {
        std::fputs(cl.Message.c_str(), cl.ExitStatus == 0 ? stdout : stderr);
        return cl.ExitStatus;
    }
    const PLATFORM_OPTIONS& options = cl.Options;
    std::string error;
    if (!PLATFORM::PrepareInput(options, &error)) {
        std::fprintf(stderr, "vortigan: %s\n", error.c_str());
        return 2;
    }
    LOG::Open(PLATFORM::UserPath("debug.txt"));
    // The old "display.cfg" counts only until the first "settings.cfg".
    SETTINGS_FILE::Load(SETTINGS_FILE::Path(), PLATFORM::UserPath("display.cfg"));
    const SETTINGS& settings = SETTINGS_FILE::Current();
    MIXER::SetVolumes(settings.MusicVolume / float(VOLUME_FULL),
                      settings.EffectVolume / float(VOLUME_FULL));
    if (PLATFORM::ChangeToDataDir(argc > 0 ? argv[0] : "vortigan").empty()) {
        std::fprintf(stderr,
                     "vortigan: no data folder found; pictures, sounds and levels "
                     "will be missing (use --data DIR)\n");
    }

    FRAME_TRACE trace;
    if (!options.TracePath.empty() && !trace.Open(options.TracePath)) {
        std::fprintf(stderr, "vortigan: cannot write the trace %s\n", options.TracePath.c_str());
        return 2;
    }

    auto app = std::make_unique<APPLICATION>();
    if (!PLATFORM::Init(options, &error)) {
        LOG log;
        log.WriteLine("Application initiated");
        log.WriteLine("Direct3DCreate9() - FAILED");
        PLATFORM::ShowStartError(error);
        return 1;
    }
    PLATFORM::SetSimulatedTime(0.0);
    DEVICE device;
    bool deviceUp = device.Create(options, &error);
    if (FAILED(app->Init(deviceUp ? &device : nullptr, DEVICE::WIDTH, DEVICE::HEIGHT,
                         options.Windowed))) {
        PLATFORM::ShowStartError(error.empty() ? "the game's screen could not be opened" : error);
        app.reset();
        device.Destroy();
        PLATFORM::Shutdown();
        return 1;
    }
    if (options.Level >= 0) {
        app->StartLevel(options.Level);
    }

    bool screenshotsWritten = RunFrames(*app, device, options, trace);
    app.reset();
    device.Destroy();
    PLATFORM::Shutdown();
    return FinishOutputs(trace, options, screenshotsWritten) ? 0 : 2;
}
