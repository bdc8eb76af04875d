// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/platform.h"

#include <SDL.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>

#include "platform/data_file.h"
#include "platform/device.h"
#include "platform/keys.h"
#include "platform/mixer.h"
#include "platform/settings.h"

namespace {

PLATFORM_OPTIONS Opts;
std::string UserFolder;
bool SdlUp = false;
bool Quit = false;
bool FocusLost = false;
int64_t Frame = 0;
double SimulatedSeconds = 0.0;
bool ClockFollowsFrames = false;  // the frame loop sets the clock from its time steps
std::unique_ptr<INPUT_PLAYER> Player;
INPUT_RECORDER Recorder;
bool RecordedHeld[INPUT_KEY_COUNT] = {};
// Mouse buttons pressed since the last frame, held or not: a click shorter
// than a frame (a tap on a touchpad) still counts for the next frame.
bool ClickedLeft = false;
bool ClickedRight = false;
std::vector<SDL_GameController*> Pads;

namespace fs = std::filesystem;

bool HasMapFolder(const fs::path& dir) {
    std::error_code ec;
    return fs::is_directory(dir / "map", ec);
}

void OpenPad(int index) {
    if (!SDL_IsGameController(index)) {
        return;
    }
    // SDL also announces the pads that were there at start; one handle each,
    // or a pad pulled out would leave a second handle behind.
    SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
    for (SDL_GameController* pad : Pads) {
        SDL_Joystick* joy = SDL_GameControllerGetJoystick(pad);
        if (joy && SDL_JoystickInstanceID(joy) == id) {
            return;
        }
    }
    if (SDL_GameController* pad = SDL_GameControllerOpen(index)) {
        Pads.push_back(pad);
    }
}

void ClosePad(SDL_JoystickID id) {
    for (size_t i = 0; i < Pads.size(); ++i) {
        SDL_Joystick* joy = SDL_GameControllerGetJoystick(Pads[i]);
        if (joy && SDL_JoystickInstanceID(joy) == id) {
            SDL_GameControllerClose(Pads[i]);
            Pads.erase(Pads.begin() + static_cast<long>(i));
            return;
        }
    }
}

bool PadHolds(int vk) {
    constexpr Sint16 STICK = 16384;  // half deflection counts as pressed
    for (SDL_GameController* pad : Pads) {
        auto button = [pad](SDL_GameControllerButton b) {
            return SDL_GameControllerGetButton(pad, b) != 0;
        };
        Sint16 lx = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
        Sint16 ly = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
        bool held = false;
        switch (vk) {
            case VK_LEFT:
                held = button(SDL_CONTROLLER_BUTTON_DPAD_LEFT) || lx < -STICK;
                break;
            case VK_RIGHT:
                held = button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) || lx > STICK;
                break;
            case VK_UP:
                held = button(SDL_CONTROLLER_BUTTON_DPAD_UP) || ly < -STICK ||
                       button(SDL_CONTROLLER_BUTTON_A);
                break;
            case VK_DOWN:
                held = button(SDL_CONTROLLER_BUTTON_DPAD_DOWN) || ly > STICK;
                break;
            case VK_SPACE:
                held = button(SDL_CONTROLLER_BUTTON_B) || button(SDL_CONTROLLER_BUTTON_X);
                break;
            case VK_RETURN:
                held = button(SDL_CONTROLLER_BUTTON_A);
                break;
            case VK_P:
                held = button(SDL_CONTROLLER_BUTTON_START);
                break;
            case VK_ESCAPE:
                held = button(SDL_CONTROLLER_BUTTON_BACK);
                break;
            default:
                break;
        }
        if (held) {
            return true;
        }
    }
    return false;
}

// The keyboard and the mouse buttons alone, without any pad.
bool KeyboardDown(int vk) {
    if (!SdlUp) {
        return false;
    }
    if (vk == VK_LBUTTON || vk == VK_RBUTTON) {
        Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
        bool left = vk == VK_LBUTTON;
        return (buttons & SDL_BUTTON(left ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT)) != 0 ||
               (left ? ClickedLeft : ClickedRight);
    }
    SDL_Scancode code = SDL_SCANCODE_UNKNOWN;
    SDL_Scancode alt = SDL_SCANCODE_UNKNOWN;
    if (vk >= VK_A && vk <= VK_Z) {
        code = static_cast<SDL_Scancode>(SDL_SCANCODE_A + (vk - VK_A));
    } else if (vk > VK_0 && vk <= VK_9) {
        code = static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (vk - VK_0 - 1));
    }
    switch (vk) {
        case VK_LEFT:
            code = SDL_SCANCODE_LEFT;
            break;
        case VK_RIGHT:
            code = SDL_SCANCODE_RIGHT;
            break;
        case VK_UP:
            code = SDL_SCANCODE_UP;
            break;
        case VK_DOWN:
            code = SDL_SCANCODE_DOWN;
            break;
        case VK_SPACE:
            code = SDL_SCANCODE_SPACE;
            break;
        case VK_RETURN:
            code = SDL_SCANCODE_RETURN;
            alt = SDL_SCANCODE_KP_ENTER;
            break;
        case VK_ESCAPE:
            code = SDL_SCANCODE_ESCAPE;
            break;
        case VK_F1:
            code = SDL_SCANCODE_F1;
            break;
        case VK_0:
            code = SDL_SCANCODE_0;
            break;
        case VK_SHIFT:
            code = SDL_SCANCODE_LSHIFT;
            alt = SDL_SCANCODE_RSHIFT;
            break;
        case VK_CONTROL:
            code = SDL_SCANCODE_LCTRL;
            alt = SDL_SCANCODE_RCTRL;
            break;
        default:
            break;
    }
    if (code == SDL_SCANCODE_UNKNOWN) {
        return false;
    }
    const Uint8* keys = SDL_GetKeyboardState(nullptr);
    return keys[code] || (alt != SDL_SCANCODE_UNKNOWN && keys[alt]);
}

bool RealKeyDown(int vk) {
    return KeyboardDown(vk) || (SdlUp && PadHolds(vk));
}

// Pads SDL does not know get their mappings from the player's
// "gamecontrollerdb.txt" beside the settings (SDL_GAMECONTROLLERCONFIG and
// SDL_GAMECONTROLLERCONFIG_FILE are read by SDL itself).
void AddPadMappings() {
    std::string path = SETTINGS_FILE::Path();
    path = path.substr(0, path.rfind('/') + 1) + "gamecontrollerdb.txt";
    std::error_code ec;
    if (!fs::exists(path, ec)) {
        return;
    }
    if (SDL_GameControllerAddMappingsFromFile(path.c_str()) < 0) {
        std::fprintf(stderr, "vortigan: cannot read pad mappings %s: %s\n", path.c_str(),
                     SDL_GetError());
    }
}

}  // namespace

namespace PLATFORM {

bool PrepareInput(const PLATFORM_OPTIONS& options, std::string* error) {
    Opts = options;
    if (!Opts.InputPath.empty()) {
        std::string text;
        FILES::RESULT read = FILES::Read(Opts.InputPath, FILES::KIND::SCRIPT, &text);
        if (read != FILES::RESULT::OK) {
            *error = "cannot read input script " + Opts.InputPath + ": " + FILES::Describe(read);
            return false;
        }
        std::vector<INPUT_EVENT> events;
        std::string why;
        if (!ParseInputScript(text, &events, &why)) {
            *error = "input script " + Opts.InputPath + ": " + why;
            return false;
        }
        Player = std::make_unique<INPUT_PLAYER>(std::move(events));
    }
    if (!Opts.RecordPath.empty() && !Recorder.Open(Opts.RecordPath)) {
        *error = "cannot write input recording " + Opts.RecordPath;
        return false;
    }
    return true;
}

bool Init(const PLATFORM_OPTIONS& options, std::string* error) {
    Opts = options;
    Quit = false;
    Frame = 0;
    SimulatedSeconds = 0.0;
    ClockFollowsFrames = false;
    if (Opts.Headless) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
        SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
    }
    // The window names itself after the installed desktop entry, so docks and
    // task bars show the game's icon; a class set by the player wins.
    SDL_setenv("SDL_VIDEO_X11_WMCLASS", "io.github.vortigan.vortigan", 0);
    SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", "io.github.vortigan.vortigan", 0);
    Uint32 systems = SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS;
    if (SDL_Init(systems) != 0) {
        *error = std::string("cannot start the video system: ") + SDL_GetError();
        return false;
    }
    SdlUp = true;
    // Without a display SDL falls back to drawing into memory, and the game
    // would run on where nobody can see it. Only a run that asks for that
    // (--headless, or the driver named in SDL_VIDEODRIVER) gets it.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    if (!Opts.Headless && driver &&
        (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0) &&
        !(asked && SDL_strcasecmp(asked, driver) == 0)) {
        *error = "no display to open a window on (DISPLAY and WAYLAND_DISPLAY are not usable)";
        SDL_Quit();
        SdlUp = false;
        return false;
    }
    // Sound and gamepads are comforts: the game plays without them.
    SDL_InitSubSystem(SDL_INIT_AUDIO);
    if (!Opts.Headless && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) {
        AddPadMappings();
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            OpenPad(i);
        }
    }
    return true;
}

void Shutdown() {
    for (SDL_GameController* pad : Pads) {
        SDL_GameControllerClose(pad);
    }
    Pads.clear();
    Player.reset();
    MIXER::Close();
    if (SdlUp) {
        SDL_Quit();
        SdlUp = false;
    }
}

void ShowStartError(const std::string& message) {
    std::fprintf(stderr, "vortigan: %s\n", message.c_str());
    if (!Opts.Headless) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Vortigan cannot start", message.c_str(),
                                 nullptr);
    }
}

const PLATFORM_OPTIONS& Options() {
    return Opts;
}

const std::string& UserDir() {
    if (UserFolder.empty()) {
        std::error_code ec;
        if (!Opts.UserDir.empty()) {
            UserFolder = Opts.UserDir;
        } else if (char* pref = SDL_GetPrefPath("", "vortigan")) {
            UserFolder = pref;
            SDL_free(pref);
        } else {
            // No per-user folder to be had (no writable home): the folder the
            // game was started from, never the data folder it moves into.
            UserFolder = fs::current_path(ec).string();
            std::fprintf(stderr,
                         "vortigan: no per-user folder (%s); progress and the log go to %s\n",
                         SDL_GetError(), UserFolder.c_str());
        }
        if (UserFolder.empty() || UserFolder.back() != '/') {
            UserFolder += '/';
        }
        fs::create_directories(UserFolder, ec);
        if (!fs::is_directory(UserFolder, ec)) {
            std::fprintf(stderr,
                         "vortigan: cannot make the folder %s; progress will not be saved\n",
                         UserFolder.c_str());
        }
    }
    return UserFolder;
}

std::string UserPath(const std::string& name) {
    return UserDir() + name;
}

std::string ChangeToDataDir(const std::string& programPath) {
    std::error_code ec;
    std::vector<fs::path> candidates;
    if (!Opts.DataDir.empty()) {
        candidates.push_back(Opts.DataDir);
    } else {
        candidates.push_back(fs::current_path(ec));
        fs::path exe = fs::read_symlink("/proc/self/exe", ec);
        if (ec || exe.empty()) {
            exe = fs::absolute(programPath, ec);
        }
        fs::path exeDir = exe.parent_path();
        candidates.push_back(exeDir / "data");
        candidates.push_back(exeDir / VORTIGAN_DATADIR_FROM_BINDIR);
        candidates.push_back(VORTIGAN_INSTALL_DATADIR);
    }
    for (const fs::path& dir : candidates) {
        if (HasMapFolder(dir) || (!Opts.DataDir.empty() && fs::is_directory(dir, ec))) {
            fs::current_path(dir, ec);
            if (!ec) {
                return fs::current_path(ec).string();
            }
        }
    }
    return "";
}

bool PollEvents() {
    if (!SdlUp) {
        return !Quit;
    }
    ClickedLeft = false;
    ClickedRight = false;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
            case SDL_QUIT:
                Quit = true;
                break;
            case SDL_MOUSEBUTTONDOWN:
                if (e.button.button == SDL_BUTTON_LEFT || e.button.button == SDL_BUTTON_RIGHT) {
                    NoteButtonPressed(e.button.button == SDL_BUTTON_LEFT ? VK_LBUTTON : VK_RBUTTON);
                }
                break;
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                    NoteFocusLost();
                }
                if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                    DISPLAY::WindowResized(e.window.data1, e.window.data2);
                }
                break;
            case SDL_KEYDOWN:
                if (e.key.repeat) {
                    break;
                }
                if (e.key.keysym.scancode == SDL_SCANCODE_F11 ||
                    (e.key.keysym.scancode == SDL_SCANCODE_RETURN &&
                     (e.key.keysym.mod & KMOD_ALT))) {
                    DISPLAY::ToggleFullscreen();
                }
                if (e.key.keysym.scancode == SDL_SCANCODE_F12) {
                    DISPLAY::RequestScreenshot();
                }
                break;
            case SDL_CONTROLLERDEVICEADDED:
                OpenPad(e.cdevice.which);
                break;
            case SDL_CONTROLLERDEVICEREMOVED:
                ClosePad(e.cdevice.which);
                break;
            default:
                break;
        }
    }
    return !Quit;
}

void PostQuit() {
    Quit = true;
    if (SdlUp) {
        SDL_Event e{};
        e.type = SDL_QUIT;
        SDL_PushEvent(&e);
    }
}

bool QuitRequested() {
    return Quit;
}

void BeginFrame(int64_t frame) {
    Frame = frame;
    if (Player) {
        Player->BeginFrame(frame);
    }
    // What the frame sees is recorded, from the devices or from a script.
    if (Recorder.IsOpen()) {
        for (int k = 0; k < INPUT_KEY_COUNT; ++k) {
            RecordedHeld[k] = IsKeyDown(VirtualKeyFromInputKey(static_cast<INPUT_KEY>(k)));
        }
        Recorder.Frame(frame, RecordedHeld, 0, 0);
    }
}

double ScriptDt() {
    return Player ? Player->FrameDt() : 0.0;
}

bool ScriptHasDt() {
    return Player && Player->HasDt();
}

void RecordDt(double dt) {
    Recorder.FrameDt(Frame, dt);
}

bool FinishRecording() {
    return Recorder.Close();
}

int64_t CurrentFrame() {
    return Frame;
}

bool IsKeyDown(int vk) {
    if (Player) {
        return Player->IsDown(InputKeyFromVirtualKey(vk));
    }
    return RealKeyDown(vk);
}

bool IsKeyboardKeyDown(int vk) {
    if (Player) {
        return Player->IsDown(InputKeyFromVirtualKey(vk));
    }
    return KeyboardDown(vk);
}

bool IsPadKeyDown(int vk) {
    return !Player && SdlUp && PadHolds(vk);
}

void ScriptMouseMotion(int* dx, int* dy) {
    *dx = 0;
    *dy = 0;
    if (Player) {
        Player->MouseMotion(dx, dy);
    }
}

bool InputScripted() {
    return Player != nullptr;
}

void RecordMouseMotion(int dx, int dy) {
    if (Recorder.IsOpen()) {
        Recorder.Frame(Frame, RecordedHeld, dx, dy);
    }
}

bool TakeFocusLost() {
    bool lost = FocusLost;
    FocusLost = false;
    return lost;
}

void NoteButtonPressed(int vk) {
    ClickedLeft = ClickedLeft || vk == VK_LBUTTON;
    ClickedRight = ClickedRight || vk == VK_RBUTTON;
}

void NoteFocusLost() {
    FocusLost = true;
}

uint32_t GetTickCount() {
    if (Opts.FixedDt > 0.0 || ClockFollowsFrames) {
        return static_cast<uint32_t>(SimulatedSeconds * 1000.0);
    }
    return SdlUp ? SDL_GetTicks() : 0u;
}

void SetSimulatedTime(double seconds) {
    SimulatedSeconds = seconds;
    ClockFollowsFrames = true;
}

void PlayScript(std::vector<INPUT_EVENT> events, double fixedDt) {
    Player = std::make_unique<INPUT_PLAYER>(std::move(events));
    Opts.FixedDt = fixedDt;
    Frame = 0;
    SimulatedSeconds = 0.0;
}

double Seconds() {
    return static_cast<double>(SDL_GetPerformanceCounter()) /
           static_cast<double>(SDL_GetPerformanceFrequency());
}

}  // namespace PLATFORM
