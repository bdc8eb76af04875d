// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "objects/boss.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "objects/bubble.h"
#include "objects/deathray.h"
#include "objects/flozer.h"
#include "objects/hero.h"
#include "objects/puff.h"
#include "objects/spark.h"
#include "objects/sprites.h"
#include "platform/log.h"
#include "platform/random.h"
#include "platform/settings.h"
#include "platform/sound.h"
#include "platform/sprite.h"
#include "world/world.h"

namespace {

constexpr float PI = 3.14159265f;

enum class WEAPON { BUBBLE, FLOZER, DEATHRAY, SPARK };

// One object of an attack. Extra is the weapon's own argument: a bubble's
// start spin (rad), a flozer's delay (s), the ray's start angle (rad), a
// spark's pushing flag (0 damaging).
struct SHOT {
    WEAPON Weapon;
    VECTOR2 Offset;    // px from the boss's centre
    VECTOR2 Velocity;  // px/s
    float Extra;
};

struct BOSS_KIND {
    TEXTURE* const* Picture;  // its 320 x 320 picture among the boss sheets
    VECTOR2 Waypoints[3];     // px, world, in tour order
    float Speed;              // px/s
    float Pause;              // s at each waypoint
    int32_t Points;           // per hit; the killing hit adds five times this
    // Health lost per hit, a 32-bit float: after five hits of 0.2 the
    // second boss still has a sliver left and dies on the sixth.
    float HealthPerHit;
    BOX Box;                                 // px from the centre
    std::optional<float> AngleBeforeAttack;  // rad; the boss leans into it
    std::optional<float> AngleAfterAttack;   // rad; start of the ray's sweep
    bool TiltsAtStops;                       // follows its ray's sweep at TILT_SPEED while paused
    bool StraightensToFly;                   // its angle goes back to 0 whenever it flies
    BOX BlastMargin;                         // px added to the box's sides for the dying blasts
    int ShotCount;
    SHOT Shots[8];  // created in this order at every waypoint
    SOUND_ID DeathSound;
};

// The three bosses, by kind. Bubbles float down in a fan, flozers spin up
// one after another, and the third boss sweeps its death ray while seven
// sparks fly out in a ring.
const BOSS_KIND KINDS[BOSS_KINDS] = {
    {
        .Picture = &BossSheets[0],
        .Waypoints = {{1856.0f, 320.0f}, {1216.0f, 576.0f}, {640.0f, 320.0f}},
        .Speed = 100.0f,
        .Pause = 5.0f,
        .Points = 100,
        .HealthPerHit = 0.25f,
        .Box = {-50, -50, 140, 40},
        .AngleBeforeAttack = -0.4712389f,
        .AngleAfterAttack = std::nullopt,
        .TiltsAtStops = false,
        .StraightensToFly = true,
        // The box hugs the body; the blasts cover the arms too.
        .BlastMargin = {-100, -30, -30, 30},
        .ShotCount = 5,
        .Shots = {{WEAPON::BUBBLE, {10.0f, 50.0f}, {-70.0f, 70.0f}, 0.0f},
                  {WEAPON::BUBBLE, {10.0f, 50.0f}, {-40.0f, 100.0f}, 0.5f},
                  {WEAPON::BUBBLE, {10.0f, 50.0f}, {40.0f, 100.0f}, 1.0f},
                  {WEAPON::BUBBLE, {10.0f, 50.0f}, {70.0f, 70.0f}, 1.5f},
                  {WEAPON::BUBBLE, {10.0f, 50.0f}, {0.0f, 100.0f}, 1.5f}},
        .DeathSound = SOUND_BOSS1_DIES,
    },
    {
        .Picture = &BossSheets[1],
        .Waypoints = {{900.0f, 400.0f}, {2000.0f, 400.0f}, {1200.0f, 200.0f}},
        .Speed = 120.0f,
        .Pause = 4.0f,
        .Points = 150,
        .HealthPerHit = 0.2f,
        .Box = {-90, -60, 100, 40},
        .AngleBeforeAttack = std::nullopt,
        .AngleAfterAttack = std::nullopt,
        .TiltsAtStops = false,
        .StraightensToFly = false,  // never leans while alive
        .BlastMargin = {0, 0, 0, 0},
        .ShotCount = 4,
        .Shots = {{WEAPON::FLOZER, {10.0f, 50.0f}, {-50.0f, 50.0f}, 0.5f},
                  {WEAPON::FLOZER, {10.0f, 50.0f}, {50.0f, 50.0f}, 1.0f},
                  {WEAPON::FLOZER, {10.0f, 50.0f}, {-50.0f, -50.0f}, 1.5f},
                  {WEAPON::FLOZER, {10.0f, 50.0f}, {50.0f, -50.0f}, 2.0f}},
        .DeathSound = SOUND_BOSS1_DIES,
    },
    {
        .Picture = &BossSheets[2],
        .Waypoints = {{900.0f, 400.0f}, {1800.0f, 200.0f}, {1200.0f, 300.0f}},
        .Speed = 150.0f,
        .Pause = 3.0f,
        .Points = 200,
        .HealthPerHit = 0.167f,
        .Box = {-100, -110, 90, 50},
        .AngleBeforeAttack = std::nullopt,
        .AngleAfterAttack = PI / 4.0f,
        .TiltsAtStops = true,
        .StraightensToFly = true,
        .BlastMargin = {0, 0, 0, 0},
        .ShotCount = 8,
        // The ray hangs 50 px below the centre so that its pivot is the
        // boss's centre.
        .Shots = {{WEAPON::DEATHRAY, {0.0f, 50.0f}, {0.0f, 0.0f}, PI / 4.0f},
                  {WEAPON::SPARK, {10.0f, 50.0f}, {-50.0f, 50.0f}, 0.0f},
                  {WEAPON::SPARK, {10.0f, 50.0f}, {-70.0f, 0.0f}, 0.0f},
                  {WEAPON::SPARK, {10.0f, 50.0f}, {-50.0f, -50.0f}, 0.0f},
                  {WEAPON::SPARK, {10.0f, 50.0f}, {0.0f, -70.0f}, 0.0f},
                  {WEAPON::SPARK, {10.0f, 50.0f}, {50.0f, 50.0f}, 0.0f},
                  {WEAPON::SPARK, {10.0f, 50.0f}, {70.0f, 0.0f}, 0.0f},
                  {WEAPON::SPARK, {10.0f, 50.0f}, {50.0f, -50.0f}, 0.0f}},
        .DeathSound = SOUND_BOSS3_DIES,
    },
};

constexpr float APPEAR_DELAY = 2.0f;      // s before the boss first moves
constexpr ARGB HURT_TINT = 0xFFFF8080u;   // the steady pink of reduced flashing
constexpr float HURT_TIME = 2.5f;         // s of blinking after a hit
constexpr float TURN_SPEED = 1.0f;        // rad/s while turning over
constexpr float FALL_SPEED = 50.0f;       // px/s once upside down
constexpr float TILT_SPEED = PI / 4.0f;   // rad/s, following the ray's sweep
constexpr float TILT_LIMIT = -PI / 4.0f;  // rad, where the sweep ends
constexpr float LEVEL_OVER_Y = 1100.0f;   // px; past it the level is won
constexpr float GONE_Y = 1200.0f;         // px; past it the boss leaves the list
constexpr int KILL_BONUS = 5;             // the killing hit scores this × points
constexpr int PICTURE_SIZE = 320;         // px
constexpr int GAUGE_SIZE = 60;            // px
constexpr float GAUGE_X = 730.0f;         // px, screen
constexpr float GAUGE_Y = 10.0f;          // px, screen

}  // namespace

BOSS::BOSS(DEVICE* device, float x, float y, WORLD* world, int kind)
    : OBJECT(device, world, {x, y}, {160.0f, 160.0f}) {
    // An unknown kind would read past the table; the first boss stands in.
    Kind = (kind >= 0 && kind < BOSS_KINDS) ? kind : 0;
    const BOSS_KIND& k = KINDS[Kind];
    Points = k.Points;
    WaitTimer = APPEAR_DELAY;
    Speed = k.Speed;
    Pause = k.Pause;
    Waypoints.assign(std::begin(k.Waypoints), std::end(k.Waypoints));
}

void BOSS::Update(float dt) {
    try {
        Step(dt);
    } catch (...) {
        LOG().WriteLine("Error in BOSS::Update()");
    }
}

void BOSS::Step(float dt) {
    const BOSS_KIND& k = KINDS[Kind];
    if (HurtTimer > 0.0f) {
        HurtTimer -= dt;
    }

    // Appearing, or pausing at a waypoint: standing still, box unchanged.
    // A killing hit during a pause still waits for the pause to run out.
    if (WaitTimer > 0.0f) {
        WaitTimer -= dt;
        if (k.TiltsAtStops && Arrived && Angle > TILT_LIMIT) {
            Angle -= dt * TILT_SPEED;
        }
        if (WaitTimer <= 0.0f && !Appeared) {
            Appeared = true;
            Sound.Play(SOUND_BOSS_APPEARS, false);
        }
        return;
    }

    Box = {static_cast<int32_t>(Position.x + static_cast<float>(k.Box.left)),
           static_cast<int32_t>(Position.y + static_cast<float>(k.Box.top)),
           static_cast<int32_t>(Position.x + static_cast<float>(k.Box.right)),
           static_cast<int32_t>(Position.y + static_cast<float>(k.Box.bottom))};
    if (k.StraightensToFly && !Dying) {
        Angle = 0.0f;
    }

    if (Dying) {
        if (Angle < PI) {
            Angle += dt * TURN_SPEED;
            return;
        }
        Position.y += FALL_SPEED * dt;
        DeathTime += dt;
        if (static_cast<int>(DeathTime * 200.0f) % 25 == 0) {
            SpawnExplosion();
        }
        return;
    }

    VECTOR2 target = Waypoints[WaypointIndex];
    Position += (target - Position).Normalised() * (Speed * dt);
    Arrived = false;
    if ((target - Position).Length() < ARRIVED) {
        WaypointIndex = (WaypointIndex + 1) % static_cast<int32_t>(Waypoints.size());
        WaitTimer = Pause;
        Arrived = true;
        Attack();
    }
}

void BOSS::Attack() {
    const BOSS_KIND& k = KINDS[Kind];
    if (k.AngleBeforeAttack) {
        Angle = *k.AngleBeforeAttack;
    }
    // Each shot goes to the front of the list so that it is updated and
    // drawn before the older objects.
    for (int i = 0; i < k.ShotCount; ++i) {
        const SHOT& s = k.Shots[i];
        float x = Position.x + s.Offset.x;
        float y = Position.y + s.Offset.y;
        OBJECT* shot = nullptr;
        switch (s.Weapon) {
            case WEAPON::BUBBLE:
                shot = new BUBBLE(Device, x, y, s.Velocity.x, s.Velocity.y, World, s.Extra);
                break;
            case WEAPON::FLOZER:
                shot = new FLOZER(Device, x, y, s.Velocity.x, s.Velocity.y, World, s.Extra);
                break;
            case WEAPON::DEATHRAY:
                shot = new DEATHRAY(Device, x, y, World, s.Extra);
                break;
            case WEAPON::SPARK:
                shot = new SPARK(Device, x, y, s.Velocity.x, s.Velocity.y, World,
                                 static_cast<int>(s.Extra));
                break;
        }
        World->AddObjectFront(shot);
    }
    if (k.AngleAfterAttack) {
        Angle = *k.AngleAfterAttack;
    }
}

void BOSS::SpawnExplosion() {
    const BOX& margin = KINDS[Kind].BlastMargin;
    BOX area = {Box.left + margin.left, Box.top + margin.top, Box.right + margin.right,
                Box.bottom + margin.bottom};
    // A box of no height or width would divide by zero; the blast then
    // lands on its edge.
    int height = area.bottom - area.top;
    int width = area.right - area.left;
    int y = area.top + (height > 0 ? Rand() % height : 0);
    int x = area.left + (width > 0 ? Rand() % width : 0);
    World->AddObject(new PUFF(Device, static_cast<float>(x), static_cast<float>(y), 0.0f, 0.0f,
                              World, 2.6f, 0.0f, -30.0f, 1.5f));
}

bool BOSS::IsDead() {
    // While it falls from 1100 to 1200 the level-over flag is raised on
    // every frame, so the level's end waits until the boss is gone.
    if (Position.y > LEVEL_OVER_Y && Hero) {
        Hero->LevelOver = true;
    }
    return Position.y > GONE_Y;
}

bool BOSS::TouchHero(HERO* hero) {
    if (!hero || HurtTimer > 0.0f || Dying) {
        return false;
    }
    Hero = hero;
    return BoxesTouch(hero->Box, Box);
}

void BOSS::Hit() {
    if (HurtTimer > 0.0f) {
        return;
    }
    const BOSS_KIND& k = KINDS[Kind];
    HurtTimer = HURT_TIME;
    Health -= k.HealthPerHit;
    if (Hero) {
        Hero->Score += Points;
    }
    Sound.Play(SOUND_BOSS_HURT, false);
    if (Health <= 0.0f) {
        Dying = true;
        Sound.Play(k.DeathSound, false);
        if (Hero) {
            Hero->Score += KILL_BONUS * Points;
        }
    }
}

void BOSS::Render(SPRITE* sprite, float zoom) {
    try {
        ARGB colour = COLOUR_WHITE;
        // Blinks red and white eight times a second while hurt.
        if (HurtTimer > 0.0f && SETTINGS_FILE::Current().ReducedFlashing) {
            colour = HURT_TINT;  // steady, for players sensitive to flashing
        } else if (HurtTimer > 0.0f && static_cast<int>(HurtTimer * 8.0f) % 2 == 1) {
            colour = 0xFFFF0000u;
        }
        RECT whole{0, 0, PICTURE_SIZE, PICTURE_SIZE};
        VECTOR2 centre{160.0f * zoom, 160.0f * zoom};
        DrawFrame(sprite, *KINDS[Kind].Picture, whole, zoom, 1.0f, &centre, Angle, colour);
    } catch (...) {
        LOG().WriteLine("Error in BOSS::Render()");
    }
    if (!Dying) {
        DrawGauge(sprite);
    }
}

// A 60 x 60 gauge in the top right corner of the screen: the damaged
// picture grows down from the top over the healthy one as health falls.
void BOSS::DrawGauge(SPRITE* sprite) const {
    if (!sprite) {
        return;
    }
    int d = std::clamp(static_cast<int>((1.0f - Health) * GAUGE_SIZE), 0, GAUGE_SIZE);
    int k = Kind;
    VECTOR2 scaling{1.0f, 1.0f};
    if (d < GAUGE_SIZE) {
        RECT healthy{150 + GAUGE_SIZE * k, d, 210 + GAUGE_SIZE * k, GAUGE_SIZE};
        VECTOR2 at{GAUGE_X, static_cast<float>(d) + GAUGE_Y};
        sprite->Draw(StuffSheet, &healthy, &scaling, nullptr, 0.0f, &at, COLOUR_WHITE);
    }
    if (d > 0) {
        RECT damaged{330 + GAUGE_SIZE * k, 0, 390 + GAUGE_SIZE * k, d};
        VECTOR2 at{GAUGE_X, GAUGE_Y};
        sprite->Draw(StuffSheet, &damaged, &scaling, nullptr, 0.0f, &at, COLOUR_WHITE);
    }
}
