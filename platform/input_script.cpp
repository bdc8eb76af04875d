// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/input_script.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "platform/data_file.h"
#include "platform/keys.h"

namespace {

struct KEY_NAME {
    INPUT_KEY Key;
    const char* Name;
    int VirtualKey;
};

constexpr KEY_NAME KEY_NAMES[] = {
    {INPUT_KEY::LEFT, "LEFT", VK_LEFT},
    {INPUT_KEY::RIGHT, "RIGHT", VK_RIGHT},
    {INPUT_KEY::UP, "UP", VK_UP},
    {INPUT_KEY::DOWN, "DOWN", VK_DOWN},
    {INPUT_KEY::SPACE, "SPACE", VK_SPACE},
    {INPUT_KEY::RETURN, "RETURN", VK_RETURN},
    {INPUT_KEY::ESCAPE, "ESCAPE", VK_ESCAPE},
    {INPUT_KEY::P, "P", VK_P},
    {INPUT_KEY::F1, "F1", VK_F1},
    {INPUT_KEY::LBUTTON, "LBUTTON", VK_LBUTTON},
    {INPUT_KEY::RBUTTON, "RBUTTON", VK_RBUTTON},
    {INPUT_KEY::SHIFT, "SHIFT", VK_SHIFT},
    {INPUT_KEY::CTRL, "CTRL", VK_CONTROL},
    {INPUT_KEY::A, "A", VK_A + 0},
    {INPUT_KEY::B, "B", VK_A + 1},
    {INPUT_KEY::C, "C", VK_A + 2},
    {INPUT_KEY::D, "D", VK_A + 3},
    {INPUT_KEY::E, "E", VK_A + 4},
    {INPUT_KEY::F, "F", VK_A + 5},
    {INPUT_KEY::G, "G", VK_A + 6},
    {INPUT_KEY::H, "H", VK_A + 7},
    {INPUT_KEY::I, "I", VK_A + 8},
    {INPUT_KEY::J, "J", VK_A + 9},
    {INPUT_KEY::K, "K", VK_A + 10},
    {INPUT_KEY::L, "L", VK_A + 11},
    {INPUT_KEY::M, "M", VK_A + 12},
    {INPUT_KEY::N, "N", VK_A + 13},
    {INPUT_KEY::O, "O", VK_A + 14},
    {INPUT_KEY::Q, "Q", VK_A + 16},
    {INPUT_KEY::R, "R", VK_A + 17},
    {INPUT_KEY::S, "S", VK_A + 18},
    {INPUT_KEY::T, "T", VK_A + 19},
    {INPUT_KEY::U, "U", VK_A + 20},
    {INPUT_KEY::V, "V", VK_A + 21},
    {INPUT_KEY::W, "W", VK_A + 22},
    {INPUT_KEY::X, "X", VK_A + 23},
    {INPUT_KEY::Y, "Y", VK_A + 24},
    {INPUT_KEY::Z, "Z", VK_A + 25},
};

// Strict integer parse: the whole token, within range.
bool ParseInt(const std::string& token, long long min, long long max, long long* out) {
    if (token.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(token.c_str(), &end, 10);
    if (errno != 0 || end != token.c_str() + token.size() || v < min || v > max) {
        return false;
    }
    *out = v;
    return true;
}

}  // namespace

const char* InputKeyName(INPUT_KEY key) {
    for (const KEY_NAME& k : KEY_NAMES) {
        if (k.Key == key) {
            return k.Name;
        }
    }
    return "?";
}

INPUT_KEY InputKeyFromVirtualKey(int vk) {
    for (const KEY_NAME& k : KEY_NAMES) {
        if (k.VirtualKey == vk) {
            return k.Key;
        }
    }
    return INPUT_KEY::COUNT;
}

int VirtualKeyFromInputKey(INPUT_KEY key) {
    for (const KEY_NAME& k : KEY_NAMES) {
        if (k.Key == key) {
            return k.VirtualKey;
        }
    }
    return 0;
}

bool ParseInputScript(const std::string& text, std::vector<INPUT_EVENT>* events,
                      std::string* error) {
    events->clear();
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    auto fail = [&](const std::string& why) {
        *error = "line " + std::to_string(lineNumber) + ": " + why;
        events->clear();
        return false;
    };
    while (std::getline(in, line)) {
        ++lineNumber;
        size_t hash = line.find('#');
        if (hash != std::string::npos) {
            line.resize(hash);
        }
        std::istringstream words(line);
        std::vector<std::string> tokens;
        std::string w;
        while (words >> w) {
            tokens.push_back(w);
        }
        if (tokens.empty()) {
            continue;
        }
        INPUT_EVENT e;
        e.Line = lineNumber;
        long long frame = 0;
        if (!ParseInt(tokens[0], 0, 1LL << 40, &frame)) {
            return fail("'" + tokens[0] + "' is not a frame number");
        }
        e.Frame = frame;
        if (tokens.size() < 2) {
            return fail("a frame number needs an event after it");
        }
        const std::string& what = tokens[1];
        if (what == "dt") {
            char* end = nullptr;
            double dt = tokens.size() == 3 ? std::strtod(tokens[2].c_str(), &end) : 0.0;
            if (tokens.size() != 3 || end != tokens[2].c_str() + tokens[2].size() ||
                !(dt > 0.0 && dt <= MAX_SCRIPT_DT)) {
                return fail("expected 'FRAME dt SECONDS' with seconds above 0 and at most 1");
            }
            e.Type = INPUT_EVENT::TYPE::DT;
            e.Dt = dt;
        } else if (what == "mouse") {
            long long dx = 0, dy = 0;
            if (tokens.size() != 4 || !ParseInt(tokens[2], -100000, 100000, &dx) ||
                !ParseInt(tokens[3], -100000, 100000, &dy)) {
                return fail("expected 'FRAME mouse DX DY'");
            }
            e.Type = INPUT_EVENT::TYPE::MOUSE;
            e.MouseDx = static_cast<int>(dx);
            e.MouseDy = static_cast<int>(dy);
        } else {
            if (tokens.size() != 2 || (what[0] != '+' && what[0] != '-')) {
                return fail(
                    "expected 'FRAME +KEY', 'FRAME -KEY', 'FRAME mouse DX DY' or 'FRAME dt "
                    "SECONDS'");
            }
            e.Type = what[0] == '+' ? INPUT_EVENT::TYPE::PRESS : INPUT_EVENT::TYPE::RELEASE;
            std::string name = what.substr(1);
            for (const KEY_NAME& k : KEY_NAMES) {
                if (name == k.Name) {
                    e.Key = k.Key;
                }
            }
            if (e.Key == INPUT_KEY::COUNT) {
                return fail("unknown key '" + name + "'");
            }
        }
        events->push_back(e);
    }
    std::stable_sort(events->begin(), events->end(),
                     [](const INPUT_EVENT& a, const INPUT_EVENT& b) { return a.Frame < b.Frame; });
    return true;
}

namespace {

int SaturatingAdd(int a, int b) {
    constexpr long long LIMIT = 1000000;  // px, far beyond any screen
    long long sum = static_cast<long long>(a) + b;
    return static_cast<int>(std::clamp(sum, -LIMIT, LIMIT));
}

}  // namespace

INPUT_PLAYER::INPUT_PLAYER(std::vector<INPUT_EVENT> events) : Events(std::move(events)) {
    AnyDt = std::any_of(Events.begin(), Events.end(),
                        [](const INPUT_EVENT& e) { return e.Type == INPUT_EVENT::TYPE::DT; });
}

void INPUT_PLAYER::BeginFrame(int64_t frame) {
    FrameDx = 0;
    FrameDy = 0;
    Dt = 0.0;
    while (Next < Events.size() && Events[Next].Frame <= frame) {
        const INPUT_EVENT& e = Events[Next++];
        if (e.Frame < frame) {
            continue;  // frames are visited in order; an earlier one was skipped
        }
        switch (e.Type) {
            case INPUT_EVENT::TYPE::PRESS:
                Held[static_cast<int>(e.Key)] = true;
                break;
            case INPUT_EVENT::TYPE::RELEASE:
                Held[static_cast<int>(e.Key)] = false;
                break;
            case INPUT_EVENT::TYPE::MOUSE:
                // Many motions on one frame add up; the sum saturates far
                // beyond any screen instead of overflowing.
                FrameDx = SaturatingAdd(FrameDx, e.MouseDx);
                FrameDy = SaturatingAdd(FrameDy, e.MouseDy);
                break;
            case INPUT_EVENT::TYPE::DT:
                Dt = e.Dt;
                break;
        }
    }
}

bool INPUT_PLAYER::IsDown(INPUT_KEY key) const {
    int k = static_cast<int>(key);
    return k >= 0 && k < INPUT_KEY_COUNT && Held[k];
}

void INPUT_PLAYER::MouseMotion(int* dx, int* dy) const {
    *dx = FrameDx;
    *dy = FrameDy;
}

bool INPUT_RECORDER::Open(const std::string& path) {
    File = std::fopen(path.c_str(), "w");
    Failed = false;
    if (File) {
        Failed = std::fputs("# Vortigan input recording\n", File) < 0;
    }
    return File != nullptr;
}

void INPUT_RECORDER::Frame(int64_t frame, const bool held[INPUT_KEY_COUNT], int mouseDx,
                           int mouseDy) {
    if (!File) {
        return;
    }
    for (int k = 0; k < INPUT_KEY_COUNT; ++k) {
        if (held[k] != Held[k]) {
            Failed |=
                std::fprintf(File, "%lld %c%s\n", static_cast<long long>(frame),
                             held[k] ? '+' : '-', InputKeyName(static_cast<INPUT_KEY>(k))) < 0;
            Held[k] = held[k];
        }
    }
    if (mouseDx != 0 || mouseDy != 0) {
        Failed |= std::fprintf(File, "%lld mouse %d %d\n", static_cast<long long>(frame), mouseDx,
                               mouseDy) < 0;
    }
}

void INPUT_RECORDER::FrameDt(int64_t frame, double dt) {
    if (File) {
        // 17 digits read back as the very same double.
        Failed |= std::fprintf(File, "%lld dt %.17g\n", static_cast<long long>(frame), dt) < 0;
    }
}

bool INPUT_RECORDER::Close() {
    Failed = !FILES::FinishWriting(File, Failed);
    File = nullptr;
    return !Failed;
}

INPUT_RECORDER::~INPUT_RECORDER() {
    Close();
}
