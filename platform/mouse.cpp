// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/mouse.h"

#include <SDL.h>

#include <cmath>

#include "platform/device.h"
#include "platform/keys.h"
#include "platform/log.h"
#include "platform/platform.h"
#include "platform/sprite.h"

namespace {

constexpr RECT CURSOR_SOURCE = {50, 0, 100, 60};  // texels of the stuff sheet

}  // namespace

MOUSE::~MOUSE() {
    UseRelativeMode(false);
    delete Sprite;
}

void MOUSE::InitMouse(DEVICE* device) {
    Device = device;
    Source = SOURCE::NONE;
    if (!device || !device->Renderer()) {
        LOG().WriteLine("Error in MOUSE::InitMouse()");
        return;
    }
    delete Sprite;
    Sprite = new SPRITE(device);

    // The limits are the game's full 800 x 600 picture, edges included.
    Left = 0;
    Top = 0;
    Right = DEVICE::WIDTH;
    Bottom = DEVICE::HEIGHT;
    X = int(std::trunc(DEVICE::WIDTH / 2.0f + Left));
    Y = int(std::trunc(DEVICE::HEIGHT / 2.0f + Top));

    if (PLATFORM::InputScripted() || device->Headless()) {
        Source = SOURCE::SCRIPT;
        return;
    }
    Source = device->IsFullscreen() ? SOURCE::RELATIVE : SOURCE::POINTER;
    UseRelativeMode(Source == SOURCE::RELATIVE);
    if (Source == SOURCE::RELATIVE && !RelativeMode) {
        // No captured pointer to be had: the cursor follows the system
        // pointer instead, which still works full screen.
        LOG().WriteLine("Error in MOUSE::InitMouse()");
        Source = SOURCE::POINTER;
    }
}

void MOUSE::UseRelativeMode(bool on) {
    if (on == RelativeMode) {
        return;
    }
    if (SDL_SetRelativeMouseMode(on ? SDL_TRUE : SDL_FALSE) != 0) {
        return;
    }
    RelativeMode = on;
    // Motion gathered before the switch would make the cursor jump.
    SDL_GetRelativeMouseState(nullptr, nullptr);
}

void MOUSE::ReadPointer(int* dx, int* dy) {
    // The system pointer's spot in the game's 800 x 600 picture...
    int mx = 0;
    int my = 0;
    SDL_GetMouseState(&mx, &my);
    // The cursor follows the pointer only when the pointer moves, so the
    // menu keys that walk the cursor over the buttons are not undone.
    if (mx == PointerX && my == PointerY) {
        return;
    }
    PointerX = mx;
    PointerY = my;
    int ww = DEVICE::WIDTH;
    int wh = DEVICE::HEIGHT;
    int ow = ww;
    int oh = wh;
    if (Device->Window()) {
        SDL_GetWindowSize(Device->Window(), &ww, &wh);
    }
    SDL_GetRendererOutputSize(Device->Renderer(), &ow, &oh);
    int px, py, pw, ph;
    Device->PictureRect(&px, &py, &pw, &ph);
    if (ww <= 0 || wh <= 0 || pw <= 0 || ph <= 0) {
        return;
    }
    double gx = (double(mx) * ow / ww - px) * DEVICE::WIDTH / pw;
    double gy = (double(my) * oh / wh - py) * DEVICE::HEIGHT / ph;
    // ...as the motion that brings the cursor there, so a recording of the
    // session replays the same cursor.
    *dx = int(std::lround((gx - X) / Sensitivity));
    *dy = int(std::lround((gy - Y) / Sensitivity));
}

void MOUSE::Update() {
    if (Source == SOURCE::NONE) {
        LeftDown = false;
        return;
    }
    int dx = 0;
    int dy = 0;
    if (Source == SOURCE::SCRIPT) {
        PLATFORM::ScriptMouseMotion(&dx, &dy);
        PLATFORM::RecordMouseMotion(dx, dy);
    } else {
        // The player may switch between window and full screen at any time.
        bool fullscreen = Device->IsFullscreen();
        if (fullscreen != RelativeMode) {
            UseRelativeMode(fullscreen);
        }
        if (RelativeMode) {
            SDL_GetRelativeMouseState(&dx, &dy);
        } else {
            ReadPointer(&dx, &dy);
        }
        PLATFORM::RecordMouseMotion(dx, dy);
    }
    LeftDown = PLATFORM::IsKeyDown(VK_LBUTTON);
    Move(dx, dy);
}

void MOUSE::Move(int dx, int dy) {
    X = int(std::trunc(X + Sensitivity * dx));
    Y = int(std::trunc(Y + Sensitivity * dy));
    if (X < Left) {
        X = Left;
    }
    if (Y < Top) {
        Y = Top;
    }
    if (X > Right) {
        X = Right;
    }
    if (Y > Bottom) {
        Y = Bottom;
    }
}

bool MOUSE::IsInside(int left, int top, int right, int bottom) const {
    return left <= X && X <= right && top <= Y && Y <= bottom;
}

bool MOUSE::ClickedIn(int left, int top, int right, int bottom) const {
    return IsLeftDown() && IsInside(left, top, right, bottom);
}

void MOUSE::DrawCursor(const TEXTURE* sheet) {
    if (!sheet || !Sprite) {
        return;
    }
    VECTOR2 at{float(X), float(Y)};
    Sprite->Begin();
    Sprite->Draw(sheet, &CURSOR_SOURCE, nullptr, nullptr, 0.0f, &at, COLOUR_WHITE);
    Sprite->End();
}
