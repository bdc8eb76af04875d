#pragma once

class DEVICE;
class SPRITE;

// The menu's mouse: a cursor moved by the pointer's motion and kept on the
// 800 x 600 screen, and the left button.
class MOUSE {
public:
    MOUSE() = default;
    MOUSE(const MOUSE&) = delete;
    MOUSE& operator=(const MOUSE&) = delete;
    ~MOUSE();

    void InitMouse(DEVICE* device);
    void Update();
    bool IsLeftDown() const;
    bool IsInside(int left, int top, int right, int bottom) const;
    bool ClickedIn(int left, int top, int right, int bottom) const;
    void DrawCursor();

    int X = 0;  // px, screen
    int Y = 0;
};
