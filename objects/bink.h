#pragma once

#include <string>
#include <vector>

class SPRITE;
class FONT;

// The hero's companion: pops up in the lower left with a speech bubble
// while the game stands still.
class BINK {
public:
    void Speak(int section);
    bool IsSpeaking() const { return State != -1; }
    void Update(float dt);  // s
    void Render(SPRITE* sprite, FONT* font);

    int State = -1;  // -1 silent, 0 speaking
    int MouthFrame = 0;
    float Time = 0.0f;  // s of speech clock
    float Alpha = 1.0f;
    float Speed = 10.0f;
    float NextMouthTime = 0.0f;  // s of speech clock
    bool Closing = false;
    bool FinalSpeech = false;
    std::vector<std::string> Lines;
};
