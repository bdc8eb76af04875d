#pragma once

#include <cstdint>
#include <vector>

#include "objects/object.h"

// The player's character. Not in the world's list: the game calls
// UpdateHero itself each frame of play, after the world's update. Objects
// change its fields directly when they meet it.
class HERO : public OBJECT {
public:
    HERO(DEVICE* device, WORLD* world);

    void Update(float) override {}
    void Render(SPRITE* sprite, float zoom) override;

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

    RECT Frames[26];                           // source rectangles on the hero sheet
    std::vector<std::vector<int>> Animations;  // the seven frame sequences
    int32_t Animation = 0;                     // current sequence, 0..6
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
};
