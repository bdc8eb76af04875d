// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cmath>

// A point, velocity or size in the game's 2D spaces: two 32-bit floats.
struct VECTOR2 {
    float x = 0.0f;
    float y = 0.0f;

    constexpr VECTOR2() = default;
    constexpr VECTOR2(float X, float Y) : x(X), y(Y) {}

    constexpr VECTOR2 operator+(const VECTOR2& o) const { return {x + o.x, y + o.y}; }
    constexpr VECTOR2 operator-(const VECTOR2& o) const { return {x - o.x, y - o.y}; }
    constexpr VECTOR2 operator*(float k) const { return {x * k, y * k}; }
    constexpr VECTOR2& operator+=(const VECTOR2& o) {
        x += o.x;
        y += o.y;
        return *this;
    }
    constexpr VECTOR2& operator-=(const VECTOR2& o) {
        x -= o.x;
        y -= o.y;
        return *this;
    }
    constexpr VECTOR2& operator*=(float k) {
        x *= k;
        y *= k;
        return *this;
    }
    constexpr bool operator==(const VECTOR2& o) const = default;

    float Length() const { return std::sqrt(x * x + y * y); }

    // A zero vector has no direction; normalising it gives the zero vector
    // rather than NaNs that would poison every position they touch.
    VECTOR2 Normalised() const {
        float len = Length();
        if (len == 0.0f) {
            return {0.0f, 0.0f};
        }
        return {x / len, y / len};
    }
};

inline constexpr VECTOR2 operator*(float k, const VECTOR2& v) {
    return v * k;
}
