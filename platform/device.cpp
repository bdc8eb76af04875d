// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/device.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/data_file.h"
#include "platform/draw_record.h"
#include "platform/platform.h"
#include "platform/settings.h"

namespace {

DEVICE* Open = nullptr;
bool ScreenshotWanted = false;
unsigned Generation = 0;

// The PNG encoder writes through an SDL stream; this one grows a string, so
// the file itself is written where every error can be seen.
size_t AppendToString(SDL_RWops* stream, const void* data, size_t size, size_t count) {
    auto* bytes = static_cast<std::string*>(stream->hidden.unknown.data1);
    bytes->append(static_cast<const char*>(data), size * count);
    return count;
}

Sint64 StringPosition(SDL_RWops* stream, Sint64 offset, int whence) {
    auto* bytes = static_cast<std::string*>(stream->hidden.unknown.data1);
    return offset == 0 && whence != RW_SEEK_SET ? Sint64(bytes->size()) : -1;
}

int CloseStringStream(SDL_RWops* stream) {
    SDL_FreeRW(stream);
    return 0;
}

bool EncodePng(SDL_Surface* surface, std::string* png) {
    SDL_RWops* stream = SDL_AllocRW();
    if (!stream) {
        return false;
    }
    stream->write = AppendToString;
    stream->seek = StringPosition;
    stream->close = CloseStringStream;
    stream->hidden.unknown.data1 = png;
    return IMG_SavePNG_RW(surface, stream, 1) == 0 && !png->empty();
}

// The whole file, or false (a full disk, no permission) and no cut file.
bool WriteWhole(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fclose(file) == 0 && ok;
    // A cut picture goes; a device named as the file (/dev/full) stays.
    std::error_code ec;
    if (!ok && std::filesystem::is_regular_file(path, ec)) {
        std::filesystem::remove(path, ec);
    }
    return ok;
}

}  // namespace

DEVICE::~DEVICE() {
    Destroy();
}

bool DEVICE::CreateOffscreen(std::string* error) {
    Surface = SDL_CreateRGBSurfaceWithFormat(0, WIDTH, HEIGHT, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!Surface) {
        *error = std::string("cannot create the offscreen picture: ") + SDL_GetError();
        return false;
    }
    Render = SDL_CreateSoftwareRenderer(Surface);
    if (!Render) {
        *error = std::string("cannot create a software renderer: ") + SDL_GetError();
        SDL_FreeSurface(Surface);
        Surface = nullptr;
        return false;
    }
    SDL_SetRenderDrawBlendMode(Render, SDL_BLENDMODE_BLEND);
    DISPLAY::SetDevice(this);
    return true;
}

bool DEVICE::Create(const PLATFORM_OPTIONS& options, std::string* error) {
    if (options.Headless) {
        return CreateOffscreen(error);
    }
    if (SettingsPath.empty()) {
        SettingsPath = SETTINGS_FILE::Path();
    }
    const SETTINGS& settings = SETTINGS_FILE::Current();
    Fullscreen = options.WindowedGiven ? !options.Windowed : settings.Fullscreen;
    FitToDesktop(settings.WindowWidth, settings.WindowHeight);
    SettingsChanged = WindowWidth != settings.WindowWidth || WindowHeight != settings.WindowHeight;

    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (Fullscreen) {
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    Win = SDL_CreateWindow("Vortigan", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, WindowWidth,
                           WindowHeight, flags);
    if (!Win) {
        *error = std::string("cannot open the game's window: ") + SDL_GetError();
        return false;
    }
    SDL_SetWindowMinimumSize(Win, MIN_WINDOW_WIDTH, MIN_WINDOW_HEIGHT);
    Uint32 renderFlags = SDL_RENDERER_TARGETTEXTURE;
    VsyncAllowed = !options.NoVsync;
    if (VsyncAllowed && settings.Vsync) {
        renderFlags |= SDL_RENDERER_PRESENTVSYNC;
    }
    Render = SDL_CreateRenderer(Win, -1, renderFlags | SDL_RENDERER_ACCELERATED);
    if (!Render) {
        Render = SDL_CreateRenderer(Win, -1, renderFlags);
    }
    if (!Render) {
        *error = std::string("cannot create a renderer: ") + SDL_GetError();
        SDL_DestroyWindow(Win);
        Win = nullptr;
        return false;
    }
    Target = SDL_CreateTexture(Render, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, WIDTH,
                               HEIGHT);
    if (!Target) {
        // Without a target the renderer's own logical size still letterboxes.
        SDL_RenderSetLogicalSize(Render, WIDTH, HEIGHT);
    } else {
        SDL_SetTextureScaleMode(Target, SDL_ScaleModeLinear);
    }
    SDL_SetRenderDrawBlendMode(Render, SDL_BLENDMODE_BLEND);
    SDL_ShowCursor(SDL_DISABLE);
    DISPLAY::SetDevice(this);
    return true;
}

// A saved size larger than the desktop (another monitor, a damaged file)
// would open a window nobody can see whole and that costs a second a frame
// to fill: the window never opens larger than the desktop's usable part.
void DEVICE::FitToDesktop(int width, int height) {
    SDL_Rect usable{0, 0, width, height};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) {
        SDL_DisplayMode desktop{};
        if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
            usable.w = desktop.w;
            usable.h = desktop.h;
        }
    }
    WindowWidth = std::clamp(width, MIN_WINDOW_WIDTH, std::max(usable.w, MIN_WINDOW_WIDTH));
    WindowHeight = std::clamp(height, MIN_WINDOW_HEIGHT, std::max(usable.h, MIN_WINDOW_HEIGHT));
}

void DEVICE::Destroy() {
    // The window's mode and size are kept for the next start once, as the
    // game ends, not on every step of a resize.
    if (Win && SettingsChanged) {
        SaveWindowSettings();
    }
    if (DISPLAY::Current() == this) {
        DISPLAY::SetDevice(nullptr);
    }
    if (Target) {
        SDL_DestroyTexture(Target);
        Target = nullptr;
    }
    if (Render) {
        SDL_DestroyRenderer(Render);
        Render = nullptr;
        ++Generation;
    }
    if (Surface) {
        SDL_FreeSurface(Surface);
        Surface = nullptr;
    }
    if (Win) {
        SDL_DestroyWindow(Win);
        Win = nullptr;
    }
}

void DEVICE::Clear(ARGB colour) {
    if (!Render || Blind) {
        return;
    }
    if (Target) {
        SDL_SetRenderTarget(Render, Target);
    }
    SDL_SetRenderDrawColor(Render, (colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF,
                           0xFF);
    if (DRAW_RECORD* record = DRAW_RECORD::Listening()) {
        record->Clear((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
    }
    SDL_RenderClear(Render);
}

bool DEVICE::BeginScene() {
    if (!Render) {
        return false;
    }
    InScene = true;
    return true;
}

void DEVICE::EndScene() {
    InScene = false;
}

void DEVICE::PictureRect(int* x, int* y, int* w, int* h) const {
    int ww = WIDTH;
    int wh = HEIGHT;
    if (Render) {
        SDL_GetRendererOutputSize(Render, &ww, &wh);
    }
    // The largest 4:3 picture that fits, centred.
    int pw = ww;
    int ph = ww * HEIGHT / WIDTH;
    if (ph > wh) {
        ph = wh;
        pw = wh * WIDTH / HEIGHT;
    }
    *x = (ww - pw) / 2;
    *y = (wh - ph) / 2;
    *w = pw;
    *h = ph;
}

void DEVICE::Present() {
    if (!Render || Blind) {
        return;
    }
    if (ScreenshotWanted) {
        ScreenshotWanted = false;
        char name[64];
        std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        std::strftime(name, sizeof name, "screenshot-%Y%m%d-%H%M%S", &local);
        // Two presses in one second give two files, not one written over.
        std::string path = PLATFORM::UserPath(std::string(name) + ".png");
        std::error_code ec;
        for (int n = 2; std::filesystem::exists(path, ec) && n < 100; ++n) {
            path = PLATFORM::UserPath(std::string(name) + "-" + std::to_string(n) + ".png");
        }
        SaveScreenshot(path);
    }
    if (Target) {
        SDL_SetRenderTarget(Render, nullptr);
        SDL_SetRenderDrawColor(Render, 0, 0, 0, 0xFF);
        SDL_RenderClear(Render);
        SDL_Rect dst;
        PictureRect(&dst.x, &dst.y, &dst.w, &dst.h);
        SDL_RenderCopy(Render, Target, nullptr, &dst);
    }
    if (DRAW_RECORD* record = DRAW_RECORD::Listening()) {
        record->Present();
    }
    SDL_RenderPresent(Render);
}

bool DEVICE::SaveScreenshot(const std::string& path) {
    if (!Render) {
        return false;
    }
    SDL_Surface* shot = nullptr;
    if (Surface) {
        shot = SDL_ConvertSurfaceFormat(Surface, SDL_PIXELFORMAT_ARGB8888, 0);
    } else {
        shot = SDL_CreateRGBSurfaceWithFormat(0, WIDTH, HEIGHT, 32, SDL_PIXELFORMAT_ARGB8888);
        if (shot) {
            SDL_Texture* before = SDL_GetRenderTarget(Render);
            if (Target) {
                SDL_SetRenderTarget(Render, Target);
            }
            SDL_Rect all{0, 0, WIDTH, HEIGHT};
            if (SDL_RenderReadPixels(Render, &all, SDL_PIXELFORMAT_ARGB8888, shot->pixels,
                                     shot->pitch) != 0) {
                SDL_FreeSurface(shot);
                shot = nullptr;
            }
            SDL_SetRenderTarget(Render, before);
        }
    }
    if (!shot) {
        return false;
    }
    // The frame is opaque; a PNG with stray alpha would look washed out.
    SDL_SetSurfaceBlendMode(shot, SDL_BLENDMODE_NONE);
    auto* px = static_cast<Uint32*>(shot->pixels);
    for (int y = 0; y < shot->h; ++y) {
        for (int x = 0; x < shot->w; ++x) {
            px[y * (shot->pitch / 4) + x] |= 0xFF000000u;
        }
    }
    std::string png;
    bool ok = EncodePng(shot, &png) && WriteWhole(path, png);
    SDL_FreeSurface(shot);
    return ok;
}

ARGB DEVICE::ReadPixel(int x, int y) {
    if (!Render || x < 0 || y < 0 || x >= WIDTH || y >= HEIGHT) {
        return 0;
    }
    Uint32 pixel = 0;
    if (Surface) {
        SDL_Surface* s = Surface;
        const auto* row = static_cast<const Uint8*>(s->pixels) + y * s->pitch;
        Uint32 raw = reinterpret_cast<const Uint32*>(row)[x];
        Uint8 r, g, b, a;
        SDL_GetRGBA(raw, s->format, &r, &g, &b, &a);
        return (ARGB(a) << 24) | (ARGB(r) << 16) | (ARGB(g) << 8) | b;
    }
    SDL_Rect one{x, y, 1, 1};
    SDL_RenderReadPixels(Render, &one, SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
    return pixel;
}

void DEVICE::ToggleFullscreen() {
    SetFullscreen(!Fullscreen);
}

void DEVICE::SetVsync(bool on) {
    if (!Render || !VsyncAllowed) {
        return;
    }
    if (SDL_RenderSetVSync(Render, on ? 1 : 0) != 0) {
        std::fprintf(stderr, "vortigan: cannot switch vsync: %s\n", SDL_GetError());
    }
}

void DEVICE::SetFullscreen(bool want) {
    if (!Win || want == Fullscreen) {
        return;
    }
    if (SDL_SetWindowFullscreen(Win, want ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        return;
    }
    Fullscreen = want;
    if (!Fullscreen) {
        SDL_SetWindowSize(Win, WindowWidth, WindowHeight);
    }
    SaveWindowSettings();
}

void DEVICE::WindowResized(int width, int height) {
    if (!Win || Fullscreen || width <= 0 || height <= 0) {
        return;
    }
    FitToDesktop(width, height);
    SettingsChanged = true;
}

void DEVICE::SaveWindowSettings() {
    if (!Win) {
        return;
    }
    SettingsChanged = false;
    SETTINGS& settings = SETTINGS_FILE::Current();
    settings.Fullscreen = Fullscreen;
    settings.WindowWidth = WindowWidth;
    settings.WindowHeight = WindowHeight;
    SETTINGS_FILE::SaveTo(SettingsPath);
}

namespace DISPLAY {

void SetDevice(DEVICE* device) {
    Open = device;
}
DEVICE* Current() {
    return Open;
}

void WindowResized(int width, int height) {
    if (Open) {
        Open->WindowResized(width, height);
    }
}

void ToggleFullscreen() {
    if (Open) {
        Open->ToggleFullscreen();
    }
}

void RequestScreenshot() {
    ScreenshotWanted = true;
}

bool ScreenshotRequested() {
    return ScreenshotWanted;
}

unsigned RendererGeneration() {
    return Generation;
}

}  // namespace DISPLAY
