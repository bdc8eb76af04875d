// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/input_script.h"

class APPLICATION;
class DEVICE;
class HERO;

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
    bool Standing = false;           // on top of the ground, not aiming, sliding or stunned
    bool Speaking = false;           // Bink holds the world still
    float BossHealth = -1;           // the level's boss, -1 where there is none
    float BossX = 0, BossY = 0;      // px, the boss's centre
    float BossWait = 0;              // s it still stands at a waypoint
    float BossSpeed = 0;             // px/s between waypoints
    float BossPause = 0;             // s at each waypoint
    int BossTarget = 0;              // the waypoint it flies to
    float BossWaypoints[3][2] = {};  // px, world
    float BossHurt = 0;              // s it still cannot be touched
    int BossBox[4] = {};             // px from its centre: left, top, right, bottom
    int Facing = 0;                  // the hero's: 0 right, 1 left
    int MapWidth = 0;                // tiles
    float ExitX = -1;                // px, the toilet's; -1 where there is none
    bool OnGround = false;           // the hero's, as this frame began
    bool Jumping = false;            // in an ordinary hop
    bool Aiming = false;             // charging a mega jump

    // Running totals since the level began, for a route's statistics.
    int Hops = 0;            // ordinary jumps that left the ground
    int MegaJumps = 0;       // mega jumps launched
    int WallBangs = 0;       // wall bounces hard enough to sound (over 400 px/s)
    int LaunchSounds = 0;    // whooshes; a popped flozer makes the same one
    int64_t FreeFrames = 0;  // frames the hero was the player's to move
    int64_t WalkFrames = 0;  // of those, walking on the ground
    int64_t PaceFrames = 0;  // at walking pace, walked or hopped: right minus left
};

// Plays a level in-process exactly as `vortigan --level N --fixed-dt DT
// --input SCRIPT` would: a fresh game, the same random numbers, the same
// clock, and each frame drawn where drawing changes the game. The data
// folder needs map/ and bink/; pictures, sounds and music are not needed
// (and leaving them out makes the runs faster).
class LEVEL_RUN {
public:
    explicit LEVEL_RUN(std::string dataDir);
    ~LEVEL_RUN();

    // A fresh game at the level's start, playing `events`.
    bool Begin(int level, const std::vector<INPUT_EVENT>& events, double dt);
    // Swaps the script for another that agrees with it on every frame
    // played so far (the same start with more moves after it).
    void ChangeScript(const std::vector<INPUT_EVENT>& events);
    // Plays on up to frame `until` (not included), or until the level is
    // left, or, with `stopAfterStanding` > 0, until the hero has stood
    // still for that many frames from frame `notBefore` on. Returns the
    // last frame played, this time or before.
    RUN_FRAME Advance(int64_t until, int64_t notBefore = 0, int stopAfterStanding = 0,
                      std::vector<RUN_FRAME>* frames = nullptr);
    int64_t NextFrame() const { return Frame; }

    // All of it in one call: Begin, then Advance.
    std::vector<RUN_FRAME> Play(int level, const std::vector<INPUT_EVENT>& events, double dt,
                                int64_t frames, int64_t notBefore = 0, int stopAfterStanding = 0);

private:
    void End();
    // The frame's hops, launches, bangs and walking added to the running totals.
    void Tally(const HERO* hero, RUN_FRAME* f) const;

    std::string DataDir;
    std::string Before;  // the working folder to go back to
    std::unique_ptr<DEVICE> Device;
    std::unique_ptr<APPLICATION> App;
    int Level = 0;
    double Dt = 0.0;
    int64_t Frame = 0;                                 // the next frame to play
    int Standing = 0;                                  // frames stood still in a row
    int WallSoundsBefore = 0, LaunchSoundsBefore = 0;  // the sound tallies at Begin
    RUN_FRAME Latest;                                  // the last frame played
};

// Appends one key's press or release at `frame`.
void AddKey(std::vector<INPUT_EVENT>* events, int64_t frame, INPUT_KEY key, bool press);
// The script text of a list of events, in the input-script format.
std::string ScriptText(const std::vector<INPUT_EVENT>& events, const std::string& header);
