#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/input_script.h"

// One hero's-eye snapshot of a frame of play, as the trace has it and a
// little more.
struct RUN_FRAME {
    int64_t Frame = 0;
    int State = 0;  // the game state after the frame's update
    int Level = 0;
    float X = 0, Y = 0;    // px, the hero's feet
    float Vx = 0, Vy = 0;  // px/s
    float Health = 0;
    int Lives = 0;
    int Score = 0;
    bool Standing = false;  // on the ground, not aiming, sliding, stunned or hurt
    bool Speaking = false;  // Bink holds the world still
    float BossHealth = -1;  // the level's boss, -1 where there is none
};

// Plays a level in-process exactly as `vortigan --level N --fixed-dt DT
// --input SCRIPT` would, without drawing: a fresh game for every run, the
// same random numbers, the same clock. The data folder needs map/ and
// bink/; pictures, sounds and music are not needed (and leaving them out
// makes the runs faster).
class LEVEL_RUN {
public:
    explicit LEVEL_RUN(std::string dataDir);
    // Plays `frames` frames (or until the level is left) and returns one
    // snapshot per frame. `stopAfterStanding`: stop once the hero has stood
    // still for that many frames after `notBefore` (0: never).
    std::vector<RUN_FRAME> Play(int level, const std::vector<INPUT_EVENT>& events, double dt,
                                int64_t frames, int64_t notBefore = 0, int stopAfterStanding = 0);

private:
    std::string DataDir;
};

// The script text of a list of events, in the input-script format.
std::string ScriptText(const std::vector<INPUT_EVENT>& events, const std::string& header);
