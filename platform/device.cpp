#include "platform/device.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <ctime>
#include <fstream>

#include "platform/draw_record.h"
#include "platform/platform.h"

namespace {

DEVICE* Open = nullptr;
bool ScreenshotWanted = false;
unsigned Generation = 0;

const char* SETTINGS_FILE = "display.cfg";

struct WINDOW_SETTINGS {
    bool Fullscreen = true;
    int Width = DEVICE::WIDTH;  // px
    int Height = DEVICE::HEIGHT;
};

// The last session's window mode and size; anything odd in the file falls
// back to the defaults.
WINDOW_SETTINGS LoadWindowSettings() {
    WINDOW_SETTINGS s;
    std::ifstream in(PLATFORM::UserPath(SETTINGS_FILE));
    std::string key;
    long value = 0;
    while (in >> key >> value) {
        if (key == "fullscreen") {
            s.Fullscreen = value != 0;
        } else if (key == "width" && value >= 320 && value <= 16384) {
            s.Width = static_cast<int>(value);
        } else if (key == "height" && value >= 240 && value <= 16384) {
            s.Height = static_cast<int>(value);
        }
    }
    return s;
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
    WINDOW_SETTINGS settings = LoadWindowSettings();
    if (options.WindowedGiven) {
        settings.Fullscreen = !options.Windowed;
    }
    Fullscreen = settings.Fullscreen;
    WindowWidth = settings.Width;
    WindowHeight = settings.Height;

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
    SDL_SetWindowMinimumSize(Win, 320, 240);
    Uint32 renderFlags = SDL_RENDERER_TARGETTEXTURE;
    if (!options.NoVsync) {
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

void DEVICE::Destroy() {
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
        for (int n = 2; std::ifstream(path).good() && n < 100; ++n) {
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
    bool ok = IMG_SavePNG(shot, path.c_str()) == 0;
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
    if (!Win) {
        return;
    }
    bool want = !Fullscreen;
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
    WindowWidth = width;
    WindowHeight = height;
    SaveWindowSettings();
}

void DEVICE::SaveWindowSettings() const {
    if (!Win) {
        return;
    }
    // Written beside and renamed over, so a crash never leaves half a file.
    std::string path = PLATFORM::UserPath(SETTINGS_FILE);
    std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::trunc);
        if (!out) {
            return;
        }
        out << "fullscreen " << (Fullscreen ? 1 : 0) << "\nwidth " << WindowWidth << "\nheight "
            << WindowHeight << "\n";
        if (!out.flush()) {
            return;
        }
    }
    std::rename(temp.c_str(), path.c_str());
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
