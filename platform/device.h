// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>

#include "math/colour.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Surface;
struct SDL_Texture;
struct PLATFORM_OPTIONS;

// The game's picture, always 800 x 600 logical pixels. In a window (or full
// screen) it is drawn into an offscreen target and scaled onto the window
// with black bars, aspect kept; headless runs draw into a plain memory
// surface so screenshots and tests see real pixels.
class DEVICE {
public:
    static constexpr int WIDTH = 800;
    static constexpr int HEIGHT = 600;
    static constexpr int MIN_WINDOW_WIDTH = 320;  // px
    static constexpr int MIN_WINDOW_HEIGHT = 240;

    DEVICE() = default;
    DEVICE(const DEVICE&) = delete;
    DEVICE& operator=(const DEVICE&) = delete;
    ~DEVICE();

    // Opens the window (or the offscreen surface when headless). On failure
    // *error says why.
    bool Create(const PLATFORM_OPTIONS& options, std::string* error);
    // A bare offscreen device, for tests and tools.
    bool CreateOffscreen(std::string* error);
    void Destroy();

    void Clear(ARGB colour);
    bool BeginScene();
    void EndScene();
    void Present();

    // The last drawn frame as a PNG. False when it could not be written.
    bool SaveScreenshot(const std::string& path);
    // One pixel of the current frame as ARGB (tests look at real pixels).
    ARGB ReadPixel(int x, int y);

    void ToggleFullscreen();
    void SetFullscreen(bool on);
    // Vsync on or off at once (never on with --no-vsync).
    void SetVsync(bool on);
    bool IsFullscreen() const { return Fullscreen; }
    // Notes the window's new size, kept when the game ends.
    void WindowResized(int width, int height);
    // The window's size and mode for the next start.
    void SaveWindowSettings();

    SDL_Renderer* Renderer() const { return Render; }
    SDL_Window* Window() const { return Win; }
    bool Headless() const { return Surface != nullptr; }
    // Where the 800 x 600 picture lands in the window, in window pixels.
    void PictureRect(int* x, int* y, int* w, int* h) const;

    // Where the window's mode and size are kept with the other settings;
    // the settings file when empty.
    std::string SettingsPath;

    uint64_t DrawCalls = 0;  // sprite draws since creation, for measuring
    // Set by tools that play thousands of frames: every frame is still
    // worked out (drawing moves some of the cast), but no pixel is touched.
    bool Blind = false;

private:
    SDL_Window* Win = nullptr;
    SDL_Renderer* Render = nullptr;
    SDL_Surface* Surface = nullptr;  // headless frame
    SDL_Texture* Target = nullptr;   // windowed frame, scaled onto the window
    bool Fullscreen = false;
    int WindowWidth = WIDTH;  // px, the restored window's size
    int WindowHeight = HEIGHT;
    bool SettingsChanged = false;  // a resize not yet written for the next start
    bool InScene = false;
    bool VsyncAllowed = true;  // not with --no-vsync
    void FitToDesktop(int width, int height);
};

// Window comforts reached from the event loop; they act on the device that
// is open, if any.
namespace DISPLAY {
void SetDevice(DEVICE* device);
DEVICE* Current();
void WindowResized(int width, int height);
void ToggleFullscreen();
// Asks for the next presented frame to be written to the per-user folder.
void RequestScreenshot();
bool ScreenshotRequested();
// Counts renderers destroyed, so a texture can tell its renderer (and the
// texture with it) is already gone.
unsigned RendererGeneration();
}  // namespace DISPLAY
