#pragma once

#include <cstdint>
#include <vector>

#include "objects/object.h"

// The player's character. Not in the world's list: the game calls
// UpdateHero itself each frame of play.
class HERO : public OBJECT {
public:
    HERO(DEVICE* device, WORLD* world);

    void Update(float) override {}
    void Render(SPRITE* sprite, float zoom) override;

    // The hero's real update: keys, movement against the tiles, contacts.
    void UpdateHero(float dt, std::vector<OBJECT*>& objects);
    void DrawHealth(SPRITE* sprite);
    int CurrentFrame() const;

    RECT Frames[26];
    std::vector<std::vector<int>> Animations;
    int32_t Animation = 0;
    int32_t Facing = 0;  // 0 right, 1 left
    int32_t Step = 0;
    int32_t Lives = 15;
    int32_t Score = 0;
    VECTOR2 Velocity;  // px/s
    VECTOR2 Slide;     // px/s
    bool OnGround = false;
    bool Aiming = false;
    bool Jumping = false;
    bool ChargeRising = false;
    bool Stumbling = false;
    bool Electrocuted = false;
    bool Active = true;
    bool LevelOver = false;
    bool GameOver = false;
    bool Dying = false;
    float WalkSpeed = 150.0f;          // px/s
    float AimAngle = -0.78539816f;     // rad, −π left .. 0 right
    float Charge = 0.0f;               // 0..1
    float AnimTime = 0.0f;             // s
    float InvulnerableTime = 0.0f;     // s
    float StunTime = 0.0f;             // s
    float Health = 1.0f;               // 0..1
    float ShownScore = 0.0f;           // points
    float Spin = 0.0f;                 // rad
    int32_t RespawnPoint[2] = {0, 0};  // px
};
