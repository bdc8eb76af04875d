// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Any bytes as an input script: the parser either names the line it stops
// at, or gives events that are in frame order, hold only keys a script can
// name and time steps a frame can take, and read back the same when
// written out again; playing them holds exactly the keys and gives the
// time steps the events say. Returns an empty string when all is well,
// otherwise what went wrong.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/input_script.h"

inline std::string CheckInputScriptBytes(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<INPUT_EVENT> events;
    std::string error;
    if (!ParseInputScript(text, &events, &error)) {
        const int lines = int(std::count(text.begin(), text.end(), '\n')) + 1;
        int line = 0;
        if (std::sscanf(error.c_str(), "line %d: ", &line) != 1 || line < 1 || line > lines) {
            return "the error does not name a line of the script: " + error;
        }
        if (!events.empty()) {
            return "a failed parse left events behind";
        }
        return "";
    }
    for (size_t i = 0; i < events.size(); ++i) {
        const INPUT_EVENT& e = events[i];
        if (e.Frame < 0 || (i > 0 && e.Frame < events[i - 1].Frame)) {
            return "events out of frame order";
        }
        if (e.Type == INPUT_EVENT::TYPE::DT && !(e.Dt > 0.0 && e.Dt <= MAX_SCRIPT_DT)) {
            return "a time step no frame can take";
        }
        if (e.Type != INPUT_EVENT::TYPE::MOUSE && e.Type != INPUT_EVENT::TYPE::DT &&
            (int(e.Key) < 0 || int(e.Key) >= INPUT_KEY_COUNT)) {
            return "an event holds no key a script can name";
        }
    }

    // Written out again, the events read back the same.
    std::string again;
    for (const INPUT_EVENT& e : events) {
        again += std::to_string(e.Frame) + " ";
        if (e.Type == INPUT_EVENT::TYPE::MOUSE) {
            again += "mouse " + std::to_string(e.MouseDx) + " " + std::to_string(e.MouseDy);
        } else if (e.Type == INPUT_EVENT::TYPE::DT) {
            char dt[40];
            std::snprintf(dt, sizeof dt, "dt %.17g", e.Dt);
            again += dt;
        } else {
            again += (e.Type == INPUT_EVENT::TYPE::PRESS ? "+" : "-");
            again += InputKeyName(e.Key);
        }
        again += "\n";
    }
    std::vector<INPUT_EVENT> back;
    if (!ParseInputScript(again, &back, &error)) {
        return "the events written out do not parse: " + error;
    }
    if (back.size() != events.size()) {
        return "the events written out read back as a different number";
    }
    for (size_t i = 0; i < back.size(); ++i) {
        const INPUT_EVENT& a = events[i];
        const INPUT_EVENT& b = back[i];
        if (a.Type != b.Type || a.Frame != b.Frame || a.Key != b.Key || a.MouseDx != b.MouseDx ||
            a.MouseDy != b.MouseDy || a.Dt != b.Dt) {
            return "event " + std::to_string(i) + " reads back differently";
        }
    }

    // Played frame by frame over the first frames, the held keys and the
    // motion follow the events of each frame.
    INPUT_PLAYER player(events);
    bool held[INPUT_KEY_COUNT] = {};
    size_t next = 0;
    for (int64_t frame = 0; frame < 300; ++frame) {
        // Motions on one frame add up, the sum held within a million px.
        constexpr long long LIMIT = 1000000;
        long long dx = 0, dy = 0;
        double dt = 0.0;
        for (; next < events.size() && events[next].Frame == frame; ++next) {
            const INPUT_EVENT& e = events[next];
            if (e.Type == INPUT_EVENT::TYPE::MOUSE) {
                dx = std::clamp(dx + e.MouseDx, -LIMIT, LIMIT);
                dy = std::clamp(dy + e.MouseDy, -LIMIT, LIMIT);
            } else if (e.Type == INPUT_EVENT::TYPE::DT) {
                dt = e.Dt;  // the last one of the frame counts
            } else {
                held[int(e.Key)] = e.Type == INPUT_EVENT::TYPE::PRESS;
            }
        }
        player.BeginFrame(frame);
        for (int k = 0; k < INPUT_KEY_COUNT; ++k) {
            if (player.IsDown(INPUT_KEY(k)) != held[k]) {
                return "frame " + std::to_string(frame) + ": " + InputKeyName(INPUT_KEY(k)) +
                       " held wrongly";
            }
        }
        int pdx = 0, pdy = 0;
        player.MouseMotion(&pdx, &pdy);
        if (pdx != dx || pdy != dy) {
            return "frame " + std::to_string(frame) + ": mouse motion wrong";
        }
        if (player.FrameDt() != dt) {
            return "frame " + std::to_string(frame) + ": time step wrong";
        }
    }
    return "";
}
