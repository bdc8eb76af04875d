// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

class SPRITE;
class FONT;

// The hero's companion. He is never part of the world: at scripted moments
// he pops up in the lower left corner with a speech bubble, and a block of
// lines from his text file scrolls up through it while the game stands
// still.
class BINK {
public:
    // Starts an appearance showing one numbered section of the text file.
    // A section that is missing or empty ends at once: nothing is shown and
    // the game is not frozen. The call sound plays either way.
    void Speak(int section);
    bool IsSpeaking() const { return State != -1; }
    // Ends the speech at once (play was left while he talked).
    void Silence() { State = -1; }
    void Update(float dt);  // s
    // Draws the companion, his bubble and the lines, and decides when the
    // last line has gone (the closing fade) and when he stops talking.
    // A null sprite batch or font skips that part of the drawing only.
    void Render(SPRITE* sprite, FONT* font);

    // Where the lines come from, relative to the data folder.
    std::string TextPath = "bink/bink.txt";

    int State = -1;              // -1 silent (the game runs), 0 speaking
    int MouthFrame = 0;          // 0 closed (not drawn), 1..3 a mouth picture
    float Time = 0.0f;           // speech clock, advanced by dt × Speed
    float Alpha = 1.0f;          // 0..1; falls during the closing fade
    float Speed = 10.0f;         // speech clock per s: 10 opening or hurried, else 1
    float NextMouthTime = 0.0f;  // speech clock of the next mouth change
    bool Closing = false;        // the last line has scrolled away
    bool FinalSpeech = false;    // the last speech of the game: he dresses up
    std::vector<std::string> Lines;

private:
    // Whether a hurry key is pressed that was not already held when the
    // speech began: walking into a cue must not race through his lines.
    bool FreshHurryKey();
    std::vector<bool> HeldSinceStart;  // per hurry key
};

// The section number of a "#" line, read the way atoi reads it: blanks
// skipped, an optional sign, digits up to the first other character, 0 when
// there are none.
int SectionNumber(const std::string& line);
