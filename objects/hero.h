// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <numbers>
#include <vector>

#include "objects/object.h"

// The hero's frame sequences (HERO::Animation), in the order of
// HERO::Animations.
enum HERO_ANIMATION : int32_t {
    ANIM_STANDING,
    ANIM_WALKING,
    ANIM_JUMPING,    // crouch, rising, falling
    ANIM_MEGA_JUMP,  // aiming, then rising and falling; also sliding
    ANIM_STUMBLING,  // also knocked through the air
    ANIM_DYING,      // also shocked (alternating both frames) and dazed
    ANIM_CROUCHING,
    ANIM_COUNT
};

// The hero sheet: 64 x 74 px poses, one row facing right, one facing left.
inline constexpr int HERO_POSES = 13;  // per row
inline constexpr int HERO_FRAMES = 2 * HERO_POSES;

// The player's character. Not in the world's list: the game calls
// UpdateHero itself each frame of play, after the world's update. Objects
// change its fields directly when they meet it.
class HERO final : public OBJECT {
public:
    HERO(DEVICE* device, WORLD* world);

    void Update(float) override {}
    void Render(SPRITE* sprite, float zoom) override;

    // Movement the level tools predict as the game plays it.
    static constexpr float LAUNCH_SPEED = 1000.0f;  // px/s at full charge
    static constexpr float AIM_TURN_RATE = 2.0f;    // rad/s
    static constexpr float AIM_START_LEFT = -0.75f * std::numbers::pi_v<float>;   // rad
    static constexpr float AIM_START_RIGHT = -0.25f * std::numbers::pi_v<float>;  // rad
    static constexpr float LIFT_OFF = 2.0f;  // px the feet rise to leave the floor
    // The box others meet, about the point between the feet.
    static constexpr float HALF_WIDTH = 15.0f;  // px; also a safe footing's half width
    static constexpr float BOX_HEIGHT = 60.0f;  // px from the feet to the top
    static constexpr float BOX_LIFT = 10.0f;    // px from the feet to the bottom

    // The hero's real update: keys, movement against the tiles, contacts.
    void UpdateHero(float dt, std::vector<OBJECT*>& objects);
    // The health gauge in the top-left corner of the screen.
    void DrawHealth(SPRITE* sprite);
    int CurrentFrame() const;

    // A fresh start on a new level at `start` (px): full health, in play,
    // and nothing carried over from how the last level ended (a fall, a
    // stun, a charge, a slide).
    void ResetForLevel(VECTOR2 start);
    // Back to the last standing point with a life less; the last life ends
    // the game.
    void LoseLife();

    RECT Frames[HERO_FRAMES];                  // source rectangles on the hero sheet
    std::vector<std::vector<int>> Animations;  // the frame sequences, by HERO_ANIMATION
    int32_t Animation = ANIM_STANDING;         // current sequence, a HERO_ANIMATION
    int32_t Facing = 0;                        // 0 right, 1 left
    int32_t Step = 0;                          // position within the sequence
    int32_t Lives = 15;
    int32_t Score = 0;          // points
    VECTOR2 Velocity;           // px/s
    VECTOR2 Slide;              // px/s; only x is ever non-zero
    bool OnGround = false;      // feet on solid ground this frame
    bool Aiming = false;        // charging a mega jump
    bool Jumping = false;       // airborne from an ordinary jump
    bool ChargeRising = false;  // direction of the charge meter
    bool Stumbling = false;     // knocked back after the feet struck a wall
    bool Electrocuted = false;
    bool Active = true;  // false: not updated, drawn or touchable
    bool LevelOver = false;
    bool GameOver = false;
    bool Dying = false;                // spins and falls out of the level
    float WalkSpeed = 150.0f;          // px/s
    float AimAngle = -0.78539816f;     // rad, −π left .. 0 right, negative is up
    float Charge = 0.0f;               // 0..1 while aiming
    float AnimTime = 0.0f;             // s since the last ground animation step
    float InvulnerableTime = 0.0f;     // s left in which contacts cannot hurt
    float StunTime = 0.0f;             // s left frozen
    float Health = 1.0f;               // 0..1; one hurt costs 0.25
    float ShownScore = 0.0f;           // points, counting up to Score on the HUD
    float Spin = 0.0f;                 // rad, turn of the drawn sprite
    int32_t RespawnPoint[2] = {0, 0};  // px, the last point stood on

private:
    // UpdateHero's steps, in the order it takes them.
    void CountScore(float dt);
    void Die(float dt);
    bool Steer(float dt);
    void RunTimers(float dt);
    void Land(float dt);
    void Walk(float dt);
    void HoldArrow(float dt, float side);
    void UseGroundKeys(float dt);
    void Aim(float dt);
    void Launch();
    void Fly(float dt);
    void BounceOffWall(float x, float y);
    void Stumble(float x, float y);
    void Move(float dt);
    void SlideAlong(float dt);
    void MeetObjects(std::vector<OBJECT*>& objects);

    // A solid tile at the world point (x, y) in px.
    bool Solid(float x, float y) const;
};
