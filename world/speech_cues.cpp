// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "world/speech_cues.h"

#include "objects/bink.h"
#include "objects/hero.h"
#include "world/world.h"

namespace {

// One scripted moment: in its level, once the level clock has passed
// ClockAfter (when given) and the hero has passed ColumnAfter (when given),
// and standing when asked, the companion speaks Line. Line is also the mark
// that keeps the moment from coming back before the level is loaded again.
struct SPEECH_CUE {
    int Level;
    int Line;
    float ClockAfter;   // s of level clock; < 0: no condition
    float ColumnAfter;  // tiles, hero x / TILE_SIZE; < 0: no condition
    bool Standing;      // on the ground and not charging a mega jump
};

// Tested in this order, every frame the world runs, for the current level.
constexpr SPEECH_CUE CUES[] = {
    // level, line, clock after, column after, standing
    {0, 1, 4.0f, -1.0f, true},     // Level 1-1, once he has found his feet
    {0, 2, -1.0f, 53.0f, false},   // Level 1-1
    {0, 3, -1.0f, 210.0f, false},  // Level 1-1
    {1, 4, 4.0f, -1.0f, true},     // Level 1-2
    {1, 5, -1.0f, 65.0f, false},   // Level 1-2
    {2, 6, 3.0f, -1.0f, true},     // Level 1-3
    {3, 7, 1.9f, -1.0f, false},    // Level 1-4, the first boss
    {4, 8, 2.0f, -1.0f, false},    // Level 2-1
    {7, 9, 1.9f, -1.0f, true},     // Level 2-4, the second boss
    {8, 10, 3.0f, -1.0f, true},    // Level 3-1
    {11, 11, 2.0f, -1.0f, true},   // Level 3-4, the last boss and the bomb
};

bool CueHolds(const SPEECH_CUE& cue, const WORLD& world, const HERO* hero) {
    if (cue.ClockAfter >= 0.0f && !(world.Clock > cue.ClockAfter)) {
        return false;
    }
    if (cue.ColumnAfter >= 0.0f &&
        !(hero && hero->Position.x / static_cast<float>(TILE_SIZE) > cue.ColumnAfter)) {
        return false;
    }
    if (cue.Standing && !(hero && hero->OnGround && !hero->Aiming)) {
        return false;
    }
    return true;
}

}  // namespace

void TestSpeechCues(WORLD* world, HERO* hero, BINK* bink) {
    if (!world || !bink) {
        return;
    }
    for (const SPEECH_CUE& cue : CUES) {
        if (cue.Level != world->Level || cue.Line < 0 || cue.Line >= SPEECH_MARKS) {
            continue;
        }
        if (world->SpeechMarks[cue.Line] == 0 && CueHolds(cue, *world, hero)) {
            bink->Speak(cue.Line);
            world->SpeechMarks[cue.Line] = 1;
            // A second cue in the same frame would cut this speech off
            // before a word of it is shown; the world stands still while he
            // speaks, so the next cue simply comes once he has finished.
            if (bink->IsSpeaking()) {
                return;
            }
        }
    }
}
