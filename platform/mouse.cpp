#include "platform/mouse.h"

MOUSE::~MOUSE() {}
void MOUSE::InitMouse(DEVICE*) {
    X = 400;
    Y = 300;
}
void MOUSE::Update() {}
bool MOUSE::IsLeftDown() const {
    return false;
}
bool MOUSE::IsInside(int left, int top, int right, int bottom) const {
    return left <= X && X <= right && top <= Y && Y <= bottom;
}
bool MOUSE::ClickedIn(int left, int top, int right, int bottom) const {
    return IsLeftDown() && IsInside(left, top, right, bottom);
}
void MOUSE::DrawCursor() {}
