// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "objects/bink.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <iterator>
#include <sstream>

#include "math/colour.h"
#include "math/vector2.h"
#include "objects/sprites.h"
#include "platform/data_file.h"
#include "platform/font.h"
#include "platform/keyboard.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "platform/sprite.h"

namespace {

constexpr int LAST_SECTION = 11;        // he dresses up for his last speech
constexpr size_t LINE_LENGTH = 299;     // characters kept of a file line
constexpr float OPENING_SPEED = 10.0f;  // speech clock per s while he pops up
constexpr float HURRY_SPEED = 10.0f;    // ... while the player holds a key
constexpr float TALK_SPEED = 1.0f;
constexpr float OPENING_END = 2.0f;      // speech clock; the player can hurry him after it
constexpr float FIRST_MOUTH = 2.0f;      // speech clock of the first mouth change
constexpr float CLOSING_FADE = 1.5f;     // alpha per s
constexpr float BUBBLE_IN_START = 3.0f;  // speech clock; the bubble fades in until 4
constexpr float TEXT_START = 4.0f;       // speech clock; lines and mouth from here
constexpr float MOUTH_QUIET = 300.0f;    // speech clock he waits once he has finished

// Where the lines scroll: they enter at the bottom of the bubble and leave
// at its top, fading over 20 px at each edge.
constexpr float TEXT_X = 350.0f;     // px, screen
constexpr int TEXT_TOP = 430;        // px, y of the first line at offset 0
constexpr int LINE_HEIGHT = 20;      // px
constexpr int FADE_OUT_BELOW = 400;  // px; lines above it fade out...
constexpr int GONE_AT = 380;         // ...and are gone here
constexpr int FADE_IN_ABOVE = 530;   // px; lines below it fade in...
constexpr int HIDDEN_AT = 550;       // ...from here

// Pictures on the helper sheet.
const RECT BODY{0, 0, 200, 200};
const RECT MOUTHS[3] = {{249, 92, 281, 111}, {284, 92, 316, 111}, {319, 92, 351, 111}};
const RECT FINAL_HAT{240, 0, 352, 78};
constexpr VECTOR2 GROW_POINT{200.0f, 470.0f};  // px; he grows out of it
constexpr VECTOR2 MOUTH_AT{186.0f, 486.0f};    // px
constexpr VECTOR2 BUBBLE_AT{300.0f, 370.0f};   // px
constexpr VECTOR2 HAT_AT{138.0f, 369.0f};      // px
constexpr VECTOR2 HAT_PIVOT{55.0f, 70.0f};     // px in the picture
constexpr float HAT_TILT = 0.1f;               // rad

// Keys that hurry his speech along.
const int HURRY_KEYS[] = {VK_SPACE, VK_RETURN, VK_LBUTTON, VK_RBUTTON,
                          VK_LEFT,  VK_RIGHT,  VK_UP,      VK_DOWN};

}  // namespace

int SectionNumber(const std::string& line) {
    size_t i = line.empty() || line[0] != '#' ? 0 : 1;
    while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
        negative = line[i] == '-';
        ++i;
    }
    long long value = 0;
    while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]))) {
        // Absurdly long numbers stop growing instead of overflowing.
        if (value < INT_MAX) {
            value = value * 10 + (line[i] - '0');
        }
        ++i;
    }
    value = std::min<long long>(value, INT_MAX);
    return static_cast<int>(negative ? -value : value);
}

void BINK::Speak(int section) {
    Time = 0.0f;
    MouthFrame = 0;
    State = 0;
    Lines.clear();
    Alpha = 1.0f;
    Closing = false;
    Speed = OPENING_SPEED;
    NextMouthTime = FIRST_MOUTH;
    FinalSpeech = section == LAST_SECTION;
    HeldSinceStart.clear();
    for (int vk : HURRY_KEYS) {
        HeldSinceStart.push_back(KEYBOARD::IsDown(vk));
    }

    // Text that cannot be read whole (no plain file, far too large) is no
    // text: he says nothing.
    std::string text;
    if (FILES::Read(TextPath, FILES::KIND::TEXT, &text) == FILES::RESULT::OK) {
        std::istringstream in(std::move(text));
        bool inside = false;
        std::string line;
        while (std::getline(in, line)) {
            // Cut to length first: a carriage return inside a long line
            // would otherwise end up as its last character.
            if (line.size() > LINE_LENGTH) {
                line.resize(LINE_LENGTH);
            }
            while (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            if (!line.empty() && line[0] == '#') {
                if (inside) {
                    break;  // only the first section of a number counts
                }
                inside = SectionNumber(line) == section;
            } else if (inside) {
                Lines.push_back(line);
            }
        }
    }
    // With no lines nothing would ever scroll away to end the speech, and
    // the game would stand still for good: such a speech ends at once.
    if (Lines.empty()) {
        State = -1;
    }
    Sound.Play(SOUND_BINK_CALLS, false);
}

void BINK::Update(float dt) {
    if (State == -1) {
        return;
    }
    Time += dt * Speed;
    if (Closing) {
        Alpha -= CLOSING_FADE * dt;
        if (Alpha < 0.0f) {
            State = -1;
        }
    }
    if (Time > NextMouthTime) {
        NextMouthTime = Time + 0.05f + static_cast<float>(Rand() % 100) / 1000.0f;
        int frame = Rand() % 4;
        while (frame == MouthFrame) {
            frame = Rand() % 4;
        }
        MouthFrame = frame;
    }
    bool hurry = FreshHurryKey();
    if (Time > OPENING_END) {
        Speed = hurry ? HURRY_SPEED : TALK_SPEED;
    }
}

bool BINK::FreshHurryKey() {
    HeldSinceStart.resize(std::size(HURRY_KEYS), false);
    bool fresh = false;
    for (size_t i = 0; i < std::size(HURRY_KEYS); ++i) {
        bool down = KEYBOARD::IsDown(HURRY_KEYS[i]);
        if (!down) {
            HeldSinceStart[i] = false;  // let go: its next press counts
        }
        fresh = fresh || (down && !HeldSinceStart[i]);
    }
    return fresh;
}

void BINK::Render(SPRITE* sprite, FONT* font) {
    if (State == -1) {
        return;
    }
    ARGB white = WhiteWithAlpha(Alpha);

    // He grows out of one point during the first unit of the speech clock.
    float s = std::min(Time, 1.0f);
    if (sprite) {
        VECTOR2 scaling{s, s};
        VECTOR2 at{GROW_POINT.x - 100.0f * s, GROW_POINT.y - 100.0f * s};
        sprite->Draw(HelperSheet, &BODY, &scaling, nullptr, 0.0f, &at, white);
    }

    float q = Time < TEXT_START ? std::max(Time - BUBBLE_IN_START, 0.0f) : 1.0f;
    if (sprite && Time >= TEXT_START && !Closing && MouthFrame >= 1 && MouthFrame <= 3) {
        sprite->Draw(HelperSheet, &MOUTHS[MouthFrame - 1], nullptr, nullptr, 0.0f, &MOUTH_AT,
                     white);
    }
    ARGB bubble = ColourFromFloats(1.0f, 1.0f, 1.0f, q * Alpha);
    if (sprite) {
        sprite->Draw(SpeechSheet, nullptr, nullptr, nullptr, 0.0f, &BUBBLE_AT, bubble);
        if (FinalSpeech) {
            sprite->Draw(HelperSheet, &FINAL_HAT, nullptr, &HAT_PIVOT, HAT_TILT, &HAT_AT, bubble);
        }
    }
    if (Time <= TEXT_START) {
        return;
    }

    float a = q * Alpha;
    int offset = static_cast<int>(50.0f - (Time - OPENING_END) * 10.0f);
    int count = static_cast<int>(Lines.size());
    for (int i = 0; i < count; ++i) {
        int y = TEXT_TOP + offset + LINE_HEIGHT * i;
        float opacity = a;
        if (y < FADE_OUT_BELOW) {
            opacity *= static_cast<float>(y - GONE_AT) / 20.0f;
        }
        if (y > FADE_IN_ABOVE) {
            opacity *= static_cast<float>(HIDDEN_AT - y) / 20.0f;
        }
        if (opacity < 0.0f) {
            opacity = 0.0f;
            if (y < FADE_OUT_BELOW && i == count - 1) {
                Closing = true;
            }
        }
        // He stops talking once the second-to-last line is on its way out.
        if (y < FADE_OUT_BELOW && i == count - 2) {
            MouthFrame = 0;
            NextMouthTime = Time + MOUTH_QUIET;
        }
        if (font) {
            font->DrawString(TEXT_X, static_cast<float>(y),
                             ColourFromFloats(0.0f, 0.0f, 0.0f, opacity), Lines[i].c_str(), 0);
        }
    }
}
