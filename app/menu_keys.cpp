// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/menu_keys.h"

#include "platform/keyboard.h"
#include "platform/mouse.h"

void MENU_KEYS::Sample() {
    uint32_t held = 0;
    if (KEYBOARD::IsDown(VK_DOWN) || KEYBOARD::IsDown(VK_RIGHT)) {
        held |= NEXT;
    }
    if (KEYBOARD::IsDown(VK_UP) || KEYBOARD::IsDown(VK_LEFT)) {
        held |= PREVIOUS;
    }
    if (KEYBOARD::IsDown(VK_RETURN) || KEYBOARD::IsDown(VK_SPACE)) {
        held |= CLICK;
    }
    Pressed = held & ~Held;
    Held = held;
}

void MENU_KEYS::BeginScreen() {
    Buttons.clear();
}

void MENU_KEYS::AddButton(int left, int top, int right, int bottom) {
    Buttons.push_back({left, top, right, bottom});
}

bool MENU_KEYS::ClickPressed() const {
    return (Pressed & CLICK) != 0;
}

void MENU_KEYS::MoveCursor(MOUSE& mouse) const {
    // A pad's A button also holds Up; as a click it must not move too.
    if (Buttons.empty() || (Pressed & CLICK) || !(Pressed & (NEXT | PREVIOUS))) {
        return;
    }
    int count = static_cast<int>(Buttons.size());
    int current = -1;
    for (int i = 0; i < count; ++i) {
        const BUTTON& b = Buttons[i];
        if (mouse.IsInside(b.Left, b.Top, b.Right, b.Bottom)) {
            current = i;
            break;
        }
    }
    int next;
    if (Pressed & NEXT) {
        next = current < 0 ? 0 : (current + 1) % count;
    } else {
        next = current < 0 ? count - 1 : (current + count - 1) % count;
    }
    // The cursor's tip goes just inside the button's right end, so the
    // picture of the cursor hides none of the button's text.
    const BUTTON& b = Buttons[next];
    mouse.X = b.Right - 4;
    mouse.Y = (b.Top + b.Bottom) / 2;
}
