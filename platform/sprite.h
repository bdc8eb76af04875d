// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "math/colour.h"
#include "math/vector2.h"
#include "platform/types.h"

class DEVICE;
class TEXTURE;

// The sprite batch every picture is drawn through. A draw scales the source
// rectangle, turns it about the rotation centre (in scaled pixels from the
// picture's top-left; a positive angle turns anticlockwise on screen), then
// moves it by the translation, tinted by an ARGB colour.
class SPRITE {
public:
    explicit SPRITE(DEVICE* device) : Device(device) {}

    void Begin();
    void End();
    // Null arguments mean: the whole texture, scale 1, no centre (the
    // top-left corner), no translation.
    void Draw(const TEXTURE* texture, const RECT* source, const VECTOR2* scaling,
              const VECTOR2* centre, float rotation, const VECTOR2* translation, ARGB colour);

private:
    DEVICE* Device;
};
