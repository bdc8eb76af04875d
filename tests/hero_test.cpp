// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The hero on small hand-made maps: the charged mega jump, landings, walls,
// stumbles, slides and stuns at several frame rates; contacts, damage, lives
// and the frame choice; the dust and rock it throws up.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <initializer_list>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "objects/debris.h"
#include "objects/hero.h"
#include "objects/object.h"
#include "objects/puff.h"
#include "objects/sprites.h"
#include "platform/device.h"
#include "platform/platform.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "platform/sprite.h"
#include "platform/texture.h"
#include "tests/test_support.h"
#include "world/world.h"

namespace {

using TEST_SUPPORT::TEMP_DIR;

constexpr float PI = std::numbers::pi_v<float>;
constexpr int FLOOR_ROW = 7;         // tiles
constexpr float FLOOR_TOP = 448.0f;  // px, the top of that row
constexpr float STAND_Y = FLOOR_TOP - 0.5f;

// Holds a set of keys through a one-line-per-key input script, the way the
// game itself is steered in automation mode.
class KEYS {
public:
    ~KEYS() { PLATFORM::Shutdown(); }
    void Hold(std::initializer_list<const char*> keys) {
        std::string script;
        for (const char* k : keys) {
            script += std::string("0 +") + k + "\n";
        }
        TEST_SUPPORT::WriteText(Dir.File("keys.txt"), script);
        PLATFORM_OPTIONS options;
        options.InputPath = Dir.File("keys.txt");
        std::string error;
        ASSERT_TRUE(PLATFORM::PrepareInput(options, &error)) << error;
        PLATFORM::BeginFrame(0);
    }

private:
    TEMP_DIR Dir;
};

// An object whose touch hurts or not, counting what the hero does to it.
class PROBE : public OBJECT {
public:
    PROBE(float x, float y, bool hurts) : Hurts(hurts) { Position = {x, y}; }
    void Update(float) override {}
    void Render(SPRITE*, float) override {}
    bool TouchHero(HERO*) override {
        ++Touches;
        if (Spawn && World) {
            Spawn = false;
            World->AddObject(new PROBE(Position.x, Position.y, false));
        }
        return Hurts;
    }
    void Hit() override { ++Hits; }
    bool Hurts;
    bool Spawn = false;  // adds another probe on its first touch
    int Touches = 0;
    int Hits = 0;
};

template <class T>
std::vector<T*> All(WORLD& world) {
    std::vector<T*> found;
    for (OBJECT* o : world.ObjectList) {
        if (T* t = dynamic_cast<T*>(o)) {
            found.push_back(t);
        }
    }
    return found;
}

class HERO_FIXTURE {
protected:
    HERO_FIXTURE() {
        ResetRand();
        Keys.Hold({});
    }
    void Floor(int from, int to, int row = FLOOR_ROW) {
        for (int c = from; c <= to; ++c) {
            World.SetTile(c, row, 1);
        }
    }
    void Stand(float x) {
        Hero.Position = {x, STAND_Y};
        Hero.Velocity = {0.0f, 0.0f};
    }
    void Advance(int frames) {
        for (int i = 0; i < frames; ++i) {
            Hero.UpdateHero(Dt, World.ObjectList);
        }
    }
    int FramesFor(float seconds) const { return static_cast<int>(std::lround(seconds / Dt)); }
    void ClearObjects() {
        for (OBJECT* o : World.ObjectList) {
            delete o;
        }
        World.ObjectList.clear();
    }

    float Dt = 1.0f / 60.0f;
    KEYS Keys;
    WORLD World{nullptr};
    HERO Hero{nullptr, &World};
};

// --- Movement at 30, 60 and 144 frames a second ---------------------------

class HeroPhysics : public HERO_FIXTURE, public ::testing::TestWithParam<float> {
protected:
    HeroPhysics() { Dt = GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(FrameRates, HeroPhysics,
                         ::testing::Values(1.0f / 30.0f, 1.0f / 60.0f, 1.0f / 144.0f));

TEST_P(HeroPhysics, WeakChargeOnlyLiftsTwoPixels) {
    Floor(0, 20);
    Stand(300.0f);
    Keys.Hold({"SPACE"});
    Advance(static_cast<int>(0.19f / Dt));
    EXPECT_TRUE(Hero.Aiming);
    EXPECT_LE(Hero.Charge, 0.2f);
    EXPECT_EQ(Hero.Animation, ANIM_MEGA_JUMP);
    int launches = Sound.Started[SOUND_LAUNCH];
    Keys.Hold({});
    Advance(1);
    EXPECT_FALSE(Hero.Aiming);
    EXPECT_EQ(Sound.Started[SOUND_LAUNCH], launches);
    EXPECT_EQ(Hero.Position, VECTOR2(300.0f, STAND_Y - 2.0f));
    EXPECT_EQ(Hero.Velocity, VECTOR2(0.0f, 0.0f));
    // It drops back onto the spot it stood on.
    Advance(FramesFor(0.5f));
    EXPECT_TRUE(Hero.OnGround);
    EXPECT_EQ(Hero.Position.x, 300.0f);

    // Exactly 0.2 is still too weak.
    Hero.Aiming = true;
    Hero.Charge = 0.2f;
    Advance(1);
    EXPECT_EQ(Hero.Velocity, VECTOR2(0.0f, 0.0f));
}

TEST_P(HeroPhysics, HoldingSpaceOneAndAHalfSecondsLaunchesAt500) {
    Floor(0, 20);
    Stand(300.0f);
    Keys.Hold({"SPACE"});
    Advance(FramesFor(1.5f));
    // One second up to full, half a second back down.
    EXPECT_FALSE(Hero.ChargeRising);
    EXPECT_NEAR(Hero.Charge, 0.5f, Dt + 1e-3f);
    float charge = Hero.Charge;
    int launches = Sound.Started[SOUND_LAUNCH];
    Keys.Hold({});
    Advance(1);
    EXPECT_FALSE(Hero.Aiming);
    EXPECT_EQ(Sound.Started[SOUND_LAUNCH], launches + 1);
    EXPECT_NEAR(Hero.Velocity.Length(), 1000.0f * charge, 0.01f);
    EXPECT_NEAR(Hero.Velocity.Length(), 500.0f, 1000.0f * Dt + 1.0f);
    // Up and to the right, as a hero facing right aims at first.
    EXPECT_NEAR(Hero.Velocity.x, -Hero.Velocity.y, 0.01f);
    EXPECT_GT(Hero.Velocity.x, 0.0f);

    // In flight only gravity works on it.
    VECTOR2 v = Hero.Velocity;
    Advance(1);
    EXPECT_FALSE(Hero.OnGround);
    EXPECT_FALSE(Hero.Jumping);
    EXPECT_EQ(Hero.Velocity.x, v.x);
    EXPECT_NEAR(Hero.Velocity.y, v.y + 500.0f * Dt, 1e-3f);
    EXPECT_EQ(Hero.Animation, ANIM_MEGA_JUMP);
    EXPECT_EQ(Hero.Step, 1);  // rising
}

TEST_P(HeroPhysics, AimTurnsWithTheArrowsAndTheHeroFacesTheAim) {
    Floor(0, 20);
    Stand(300.0f);
    Keys.Hold({"SPACE"});
    Advance(1);
    EXPECT_FLOAT_EQ(Hero.AimAngle, -PI / 4.0f);
    Keys.Hold({"SPACE", "LEFT"});
    Advance(FramesFor(2.0f));
    EXPECT_EQ(Hero.AimAngle, -PI);  // held at straight left
    EXPECT_EQ(Hero.Facing, 1);
    EXPECT_EQ(Hero.Position.x, 300.0f);  // aiming, the hero does not walk
    Keys.Hold({"SPACE", "RIGHT"});
    Advance(FramesFor(2.0f));
    EXPECT_EQ(Hero.AimAngle, 0.0f);
    EXPECT_EQ(Hero.Facing, 0);
}

TEST_P(HeroPhysics, LandingsSlideOrThudAsTheirAngleSays) {
    Floor(0, 20);
    struct LANDING {
        VECTOR2 velocity;
        float slide;
        size_t puffs;
    };
    // Steeper than 45°: no slide; at least as fast sideways as down: slide
    // on; faster than 800 down: dust and a thud.
    for (LANDING l : {LANDING{{600.0f, 700.0f}, 0.0f, 0}, LANDING{{700.0f, 650.0f}, 700.0f, 0},
                      LANDING{{300.0f, 900.0f}, 0.0f, 6}}) {
        SCOPED_TRACE(l.velocity.x);
        ClearObjects();
        Hero.Slide = {0.0f, 0.0f};
        Stand(101.0f);
        Hero.Velocity = l.velocity;
        int thuds = Sound.Started[SOUND_MEGAJUMP_LAND];
        Advance(1);
        EXPECT_EQ(Sound.Started[SOUND_MEGAJUMP_LAND], thuds + (l.puffs > 0 ? 1 : 0));
        EXPECT_TRUE(Hero.OnGround);
        EXPECT_EQ(Hero.Velocity, VECTOR2(0.0f, 0.0f));
        EXPECT_EQ(Hero.Slide.x, l.slide);
        EXPECT_FLOAT_EQ(Hero.Position.x, 101.0f + l.slide * Dt);
        std::vector<PUFF*> puffs = All<PUFF>(World);
        ASSERT_EQ(puffs.size(), l.puffs);
        if (l.puffs == 6) {
            const float vx[6] = {-80, 80, -60, 60, -30, 30};
            const float cap[6] = {1.3f, 1.3f, 0.8f, 0.8f, 0.6f, 0.6f};
            const float rate[6] = {0.9f, 0.7f, 0.8f, 0.6f, 1.0f, 1.1f};
            for (size_t i = 0; i < 6; ++i) {
                EXPECT_EQ(puffs[i]->Position, VECTOR2(101.0f, STAND_Y));
                EXPECT_EQ(puffs[i]->Velocity.x, vx[i]);
                EXPECT_EQ(puffs[i]->AgeRate, rate[i]);
                EXPECT_GE(puffs[i]->MaxScale, cap[i]);
                EXPECT_LT(puffs[i]->MaxScale, cap[i] + 0.4f);
            }
        }
    }
}

TEST_P(HeroPhysics, AWallAtFootHeightStopsWalkingAndOneHigherUpDoesNot) {
    Floor(0, 20);
    Stand(300.0f);
    World.SetTile(5, FLOOR_ROW - 1, 1);  // 320..383, right in front of the feet
    Keys.Hold({"RIGHT"});
    Advance(10);
    EXPECT_EQ(Hero.Position.x, 300.0f);
    EXPECT_EQ(Hero.Velocity, VECTOR2(0.0f, 0.0f));

    World.SetTile(5, FLOOR_ROW - 1, 0);
    World.SetTile(5, FLOOR_ROW - 2, 1);  // a ledge overhead
    Advance(10);
    EXPECT_NEAR(Hero.Position.x, 300.0f + 10.0f * 150.0f * Dt, 1e-3f);
    EXPECT_EQ(Hero.Animation, ANIM_WALKING);
    EXPECT_EQ(Hero.Facing, 0);
}

TEST_P(HeroPhysics, WallHitsTurnTheHeroAndThrowDustAndRockBySpeed) {
    struct HIT {
        float speed;
        size_t puffs;
    };
    for (HIT h : {HIT{300.0f, 0}, HIT{500.0f, 2}, HIT{700.0f, 4}, HIT{900.0f, 6}}) {
        SCOPED_TRACE(h.speed);
        ClearObjects();
        ResetRand();
        Hero.Position = {300.0f, 300.0f};
        Hero.Velocity = {h.speed, 0.0f};
        Hero.Facing = 0;
        Hero.Jumping = true;
        World.SetTile(5, 4, 1);  // 320..383 across, 256..319 down: at the hero's chest
        int bangs = Sound.Started[SOUND_HIT_WALL];
        Advance(1);
        EXPECT_EQ(Sound.Started[SOUND_HIT_WALL], bangs + (h.speed > 400.0f ? 1 : 0));
        EXPECT_EQ(Hero.Facing, 1);
        EXPECT_FALSE(Hero.Jumping);
        EXPECT_NEAR(Hero.Velocity.x, -0.3f * h.speed, 1e-3f);
        EXPECT_NEAR(Hero.Velocity.y, 0.3f * 500.0f * Dt, 1e-3f);

        std::vector<PUFF*> puffs = All<PUFF>(World);
        ASSERT_EQ(puffs.size(), h.puffs);
        // The fastest rows first; all drift off the wall (left) from its face.
        const float vy[6] = {-60, 80, -40, 60, -10, 30};
        const float cap[6] = {2.3f, 2.3f, 1.3f, 1.3f, 0.8f, 0.8f};
        size_t first = 6 - h.puffs;
        for (size_t i = 0; i < puffs.size(); ++i) {
            EXPECT_EQ(puffs[i]->Position, VECTOR2(320.0f, 290.0f));
            EXPECT_EQ(puffs[i]->Velocity, VECTOR2(-5.0f, vy[first + i]));
            EXPECT_GE(puffs[i]->MaxScale, cap[first + i]);
            EXPECT_LT(puffs[i]->MaxScale, cap[first + i] + 0.4f);
        }

        // Rock: two chances in three for each of the 400 and 600 rows, the
        // chance drawn after the puffs' own draws.
        ResetRand();
        for (size_t i = 0; i < 3 * h.puffs; ++i) {
            Rand();
        }
        std::vector<VECTOR2> rocks;
        if (h.speed > 400.0f && Rand() % 3 != 2) {
            rocks.push_back({-20.0f, 0.0f});
            Rand();
            Rand();
        }
        if (h.speed > 600.0f && Rand() % 3 != 2) {
            rocks.push_back({-60.0f, -40.0f});
        }
        std::vector<DEBRIS*> debris = All<DEBRIS>(World);
        ASSERT_EQ(debris.size(), rocks.size());
        for (size_t i = 0; i < debris.size(); ++i) {
            EXPECT_EQ(debris[i]->Position, VECTOR2(315.0f, 290.0f));
            EXPECT_EQ(debris[i]->Velocity, rocks[i]);
        }
    }
}

TEST_P(HeroPhysics, FeetCaughtOnAStepStumbleThenStun) {
    World.SetTile(6, 6, 1);  // a step 384..447 across, top at 384
    Hero.Position = {376.0f, 400.0f};
    Hero.Velocity = {300.0f, 0.0f};
    int ouches = Sound.Started[SOUND_HERO_HURT];
    Advance(1);
    EXPECT_EQ(Sound.Started[SOUND_HERO_HURT], ouches + 1);
    EXPECT_TRUE(Hero.Stumbling);
    EXPECT_EQ(Hero.Slide.x, 300.0f);
    EXPECT_NEAR(Hero.Velocity.y, 0.3f * 500.0f * Dt, 1e-3f);
    // Lifted by the first free probe, 5 px up plus 2.
    EXPECT_NEAR(Hero.Position.y, 393.0f + Hero.Velocity.y * Dt, 1e-3f);

    // Once the slide dies out the hero stands dazed for a second.
    Floor(0, 20);
    Stand(100.0f);
    Hero.Slide = {3.1f, 0.0f};
    Advance(1);
    EXPECT_FALSE(Hero.Stumbling);
    EXPECT_EQ(Hero.Slide.x, 0.0f);
    EXPECT_NEAR(Hero.StunTime, 1.0f - Dt, 1e-5f);
}

TEST_P(HeroPhysics, AStunnedHeroIgnoresKeysAndObjects) {
    Floor(0, 20);
    Stand(300.0f);
    auto* probe = new PROBE(300.0f, STAND_Y, true);
    World.AddObject(probe);
    Hero.InvulnerableTime = 10.0f;
    Hero.StunTime = 0.5f;
    Keys.Hold({"RIGHT", "UP"});
    int frames = 0;
    while (Hero.StunTime > 0.0f) {
        Advance(1);
        ++frames;
        ASSERT_LT(frames, 1000);
    }
    EXPECT_EQ(Hero.Position, VECTOR2(300.0f, STAND_Y));
    EXPECT_EQ(probe->Touches, 0);
    Advance(1);
    EXPECT_TRUE(Hero.Jumping);
    EXPECT_EQ(probe->Touches, 1);

    // Stunned in mid-air, it hangs there.
    Hero.Position = {300.0f, 100.0f};
    Hero.Velocity = {0.0f, 200.0f};
    Hero.StunTime = 0.5f;
    Advance(3);
    EXPECT_EQ(Hero.Position, VECTOR2(300.0f, 100.0f));
}

TEST_P(HeroPhysics, UpDoesNothingWhileASlideIsLeft) {
    Floor(0, 20);
    Stand(100.0f);
    Hero.Slide = {100.0f, 0.0f};
    Keys.Hold({"UP"});
    Advance(1);
    EXPECT_FALSE(Hero.Jumping);
    EXPECT_EQ(Hero.Velocity.y, 0.0f);
    EXPECT_EQ(Hero.Animation, ANIM_MEGA_JUMP);  // the sliding pose
    EXPECT_EQ(Hero.Step, 2);

    // A slide that dies out this frame is gone, so the jump goes.
    Stand(100.0f);
    Hero.Slide = {3.1f, 0.0f};
    Advance(1);
    EXPECT_TRUE(Hero.Jumping);
    EXPECT_NEAR(Hero.Velocity.y, -300.0f + 500.0f * Dt, 1e-3f);
}

TEST_P(HeroPhysics, AJumpRisesNinetyPixelsAndSteersAtWalkingSpeed) {
    Floor(0, 20);
    Stand(300.0f);
    Keys.Hold({"UP"});
    Advance(1);
    Keys.Hold({"RIGHT"});
    float top = Hero.Position.y;
    int frames = 0;
    while (!Hero.OnGround || frames < 2) {
        Advance(1);
        top = std::min(top, Hero.Position.y);
        if (!Hero.OnGround) {
            EXPECT_EQ(Hero.Velocity.x, 150.0f);
            EXPECT_EQ(Hero.Animation, ANIM_JUMPING);
        }
        ++frames;
        ASSERT_LT(frames, 1000);
    }
    // v² / 2g = 90 px, give or take a frame's travel.
    EXPECT_NEAR(STAND_Y - top, 90.0f, 300.0f * Dt + 2.0f);
    EXPECT_FALSE(Hero.Jumping);
    EXPECT_NEAR(Hero.Position.x, 300.0f + 150.0f * 1.2f, 150.0f * 3.0f * Dt + 1.0f);
}

TEST_P(HeroPhysics, AGroundSlideThrowsDustAndStopsAtAWall) {
    Floor(0, 20);
    World.SetTile(8, FLOOR_ROW - 1, 1);  // a wall at 512
    Stand(400.0f);
    Hero.Slide = {600.0f, 0.0f};
    Advance(FramesFor(1.0f));
    EXPECT_EQ(Hero.Slide.x, 0.0f);
    EXPECT_LT(Hero.Position.x, 512.0f - 15.0f);
    EXPECT_GT(Hero.Position.x, 430.0f);  // about 600 / 10 px on
    for (PUFF* p : All<PUFF>(World)) {
        EXPECT_LE(p->Velocity.x, 0.0f);  // dust drifts back the way the hero came
        EXPECT_EQ(p->Acceleration, VECTOR2(0.0f, -10.0f));
    }
}

TEST_P(HeroPhysics, SinkingIntoTheFloorRisesOutSlowly) {
    Floor(0, 20);
    Hero.Position = {300.0f, FLOOR_TOP + 3.0f};
    Advance(1);
    EXPECT_NEAR(Hero.Position.y, FLOOR_TOP + 2.7f, 1e-4f);
    Advance(9);
    EXPECT_NEAR(Hero.Position.y, FLOOR_TOP + 0.0f, 1e-3f);
}

// A full mega jump under a low ceiling: the head meets it and the hero
// falls back at once, instead of hovering against it for a second or two.
TEST_P(HeroPhysics, AHeadThatMeetsACeilingDropsAwayAtOnce) {
    Floor(0, 20);
    Floor(0, 20, FLOOR_ROW - 3);  // its underside 128 px above the floor
    const float underside = FLOOR_TOP - 128.0f;
    Stand(300.0f);
    Keys.Hold({"SPACE"});
    Advance(FramesFor(1.0f));
    Keys.Hold({});
    Advance(1);
    ASSERT_LT(Hero.Velocity.y, -500.0f);
    int underTheCeiling = 0;
    int frames = 0;
    do {
        Advance(1);
        ++frames;
        underTheCeiling += Hero.Position.y - 60.0f < underside + 10.0f;
    } while (!Hero.OnGround && frames < FramesFor(3.0f));
    EXPECT_TRUE(Hero.OnGround);
    EXPECT_LT(frames * Dt, 0.8f);
    EXPECT_LE(underTheCeiling * Dt, 0.3f);  // a fall of 10 px from rest takes 0.2 s
}

// --- Contacts, damage and lives --------------------------------------------

class HeroContacts : public HERO_FIXTURE, public ::testing::Test {};

TEST_F(HeroContacts, AStompFromAboveHitsAndBouncesWithoutDamage) {
    auto* enemy = new PROBE(300.0f, 330.0f, true);
    World.AddObject(enemy);
    Hero.Position = {300.0f, 300.0f};
    Hero.Velocity = {0.0f, 200.0f};
    Advance(1);
    EXPECT_EQ(enemy->Hits, 1);
    EXPECT_NEAR(Hero.Velocity.y, -0.7f * (200.0f + 500.0f * Dt), 1e-3f);
    EXPECT_EQ(Hero.Health, 1.0f);
    EXPECT_EQ(Hero.InvulnerableTime, 0.0f);
    EXPECT_EQ(All<PUFF>(World).size(), 4u);
}

TEST_F(HeroContacts, ASideContactHurtsOnceAndThenOnlyBouncesWhileBlinking) {
    Floor(0, 20);
    Stand(300.0f);
    auto* enemy = new PROBE(300.0f, STAND_Y, true);
    World.AddObject(enemy);
    int ouches = Sound.Started[SOUND_HERO_HURT];
    Advance(1);
    EXPECT_EQ(Sound.Started[SOUND_HERO_HURT], ouches + 1);
    EXPECT_EQ(Hero.Health, 0.75f);
    EXPECT_EQ(Hero.InvulnerableTime, 2.5f);
    EXPECT_EQ(enemy->Hits, 0);
    Advance(FramesFor(2.4f));
    EXPECT_EQ(Hero.Health, 0.75f);
    EXPECT_EQ(Sound.Started[SOUND_HERO_HURT], ouches + 1);
    Advance(FramesFor(0.2f));
    EXPECT_EQ(Hero.Health, 0.5f);
}

TEST_F(HeroContacts, TheFourthHurtKillsOnTheNextFrameAndTheFallCostsALife) {
    Floor(0, 20);
    Stand(300.0f);
    Advance(1);  // stood here: the point to come back to
    EXPECT_EQ(Hero.RespawnPoint[0], 300);
    EXPECT_EQ(Hero.RespawnPoint[1], 447);
    Hero.Health = 0.25f;
    auto* enemy = new PROBE(300.0f, STAND_Y, true);
    World.AddObject(enemy);
    Advance(1);
    EXPECT_EQ(Hero.Health, 0.0f);
    EXPECT_FALSE(Hero.Dying);
    enemy->Hurts = false;
    int ouches = Sound.Started[SOUND_HERO_HURT];
    Advance(1);
    EXPECT_EQ(Sound.Started[SOUND_HERO_HURT], ouches + 1);
    EXPECT_TRUE(Hero.Dying);
    EXPECT_EQ(Hero.Animation, ANIM_DYING);
    EXPECT_EQ(Hero.CurrentFrame(), 11);
    EXPECT_NEAR(Hero.Spin, 3.0f * Dt, 1e-6f);
    // Through the floor and out of the level, meeting objects on the way.
    int touches = enemy->Touches;
    int frames = 0;
    while (Hero.Lives == 15) {
        Advance(1);
        ++frames;
        ASSERT_LT(frames, 1000);
    }
    EXPECT_GT(enemy->Touches, touches);
    EXPECT_EQ(Hero.Lives, 14);
    EXPECT_FALSE(Hero.Dying);
    EXPECT_EQ(Hero.Health, 1.0f);
    EXPECT_EQ(Hero.Spin, 0.0f);
    EXPECT_EQ(Hero.InvulnerableTime, 2.5f);
    EXPECT_EQ(Hero.Position, VECTOR2(300.0f, 445.0f));
    EXPECT_EQ(Hero.Velocity, VECTOR2(0.0f, 0.0f));
}

TEST_F(HeroContacts, FallingIntoAPitRespawnsAtTheLastStandingPoint) {
    Floor(0, 8);
    Stand(200.0f);
    Keys.Hold({"RIGHT"});
    Advance(FramesFor(1.0f));  // walks to 350, the respawn point following
    Keys.Hold({});
    Advance(1);
    int standX = Hero.RespawnPoint[0];
    EXPECT_NEAR(standX, 350, 2);
    Hero.Position = {700.0f, 1390.0f};  // over the pit
    Hero.Velocity = {0.0f, 900.0f};
    Hero.Aiming = true;
    Advance(1);
    EXPECT_EQ(Hero.Lives, 14);
    EXPECT_EQ(Hero.Position, VECTOR2(static_cast<float>(standX), 445.0f));
    EXPECT_FALSE(Hero.Aiming);
    EXPECT_TRUE(Hero.Active);
    EXPECT_FALSE(Hero.LevelOver);
}

// Walked off a ledge, the hero comes back where the whole of him stood on
// the ground, not on the lip he stepped off.
TEST_F(HeroContacts, ALifeLostInAPitComesBackOnFirmGround) {
    Floor(0, 8);  // the ground ends at x 576
    Stand(500.0f);
    Keys.Hold({"RIGHT"});
    int frames = 0;
    while (Hero.Lives == 15 && frames++ < FramesFor(10.0f)) {
        Advance(1);
    }
    ASSERT_EQ(Hero.Lives, 14);
    EXPECT_LE(Hero.Position.x + 15.0f, 576.0f);
    EXPECT_GE(Hero.Position.x, 560.0f);  // the last firm spot, not the start
}

TEST_F(HeroContacts, LosingTheLastLifeEndsTheGameAndTheHeroStops) {
    Hero.Lives = 1;
    Hero.Position = {700.0f, 1399.0f};
    Hero.Velocity = {0.0f, 900.0f};
    Advance(1);
    EXPECT_EQ(Hero.Lives, 0);
    EXPECT_TRUE(Hero.LevelOver);
    EXPECT_TRUE(Hero.GameOver);
    EXPECT_FALSE(Hero.Active);
    VECTOR2 at = Hero.Position;
    auto* probe = new PROBE(at.x, at.y, true);
    World.AddObject(probe);
    Advance(5);
    EXPECT_EQ(Hero.Position, at);
    EXPECT_EQ(probe->Touches, 0);
}

TEST_F(HeroContacts, ObjectsAddedDuringThePassAreMetToo) {
    auto* spawner = new PROBE(300.0f, 300.0f, false);
    spawner->Spawn = true;
    spawner->World = &World;
    World.AddObject(spawner);
    Hero.Position = {300.0f, 100.0f};
    Advance(1);
    ASSERT_EQ(World.ObjectList.size(), 2u);
    EXPECT_EQ(static_cast<PROBE*>(World.ObjectList[1])->Touches, 1);
}

TEST_F(HeroContacts, AShockEndsInTheUsualBlinkingGrace) {
    Floor(0, 20);
    Stand(300.0f);
    Hero.Electrocuted = true;
    Hero.InvulnerableTime = 0.5f * Dt;
    Advance(1);
    EXPECT_FALSE(Hero.Electrocuted);
    EXPECT_EQ(Hero.InvulnerableTime, 2.5f);
}

TEST(HeroRecord, StartsFreshAndPicksFramesFromItsSequences) {
    WORLD world(nullptr);
    HERO hero(nullptr, &world);
    EXPECT_EQ(hero.Lives, 15);
    EXPECT_EQ(hero.Health, 1.0f);
    EXPECT_EQ(hero.Score, 0);
    EXPECT_EQ(hero.Position, VECTOR2(800.0f, 600.0f));
    EXPECT_EQ(hero.Anchor, VECTOR2(32.0f, 73.0f));
    EXPECT_EQ(hero.Frames[25].left, 768);
    EXPECT_EQ(hero.Frames[25].top, 74);
    EXPECT_EQ(hero.Frames[25].bottom, 148);

    hero.Animation = ANIM_JUMPING;
    hero.Step = 1;
    hero.Facing = 1;
    EXPECT_EQ(hero.CurrentFrame(), 23);
    hero.Animation = ANIM_STANDING;
    hero.Step = 5;
    hero.Facing = 0;
    EXPECT_EQ(hero.CurrentFrame(), 1);
    hero.Animation = ANIM_COUNT + ANIM_STUMBLING;  // wraps round
    EXPECT_EQ(hero.CurrentFrame(), 9);
    hero.Facing = 2;  // off the sheet
    EXPECT_EQ(hero.CurrentFrame(), 0);
}

TEST(HeroRecord, ALevelLoadLeavesNothingOfTheLastLevelsEnding) {
    TEMP_DIR dir;
    WORLD world(nullptr);
    HERO hero(nullptr, &world);
    world.LevelTable[5] = dir.File("level.map");
    TEST_SUPPORT::WriteText(world.LevelTable[5], "0 0 -1\n1 1 -1\n");
    // Died on the way into the exit: falling, spinning, dazed, mid-charge.
    hero.Health = 0.0f;
    hero.Active = false;
    hero.GameOver = true;
    hero.Dying = true;
    hero.Electrocuted = true;
    hero.Stumbling = true;
    hero.Aiming = true;
    hero.Jumping = true;
    hero.StunTime = 1.5f;
    hero.Spin = 4.0f;
    hero.Slide = {300.0f, 0.0f};
    hero.Velocity = {200.0f, 900.0f};
    hero.Animation = ANIM_DYING;
    hero.Lives = 7;
    hero.Score = 1234;
    ASSERT_TRUE(world.LoadMap(5, &hero));
    EXPECT_EQ(hero.Position, VECTOR2(320.0f, 384.0f));
    EXPECT_EQ(hero.Health, 1.0f);
    EXPECT_TRUE(hero.Active);
    EXPECT_FALSE(hero.GameOver || hero.Dying || hero.Electrocuted || hero.Stumbling ||
                 hero.Aiming || hero.Jumping);
    EXPECT_EQ(hero.StunTime, 0.0f);
    EXPECT_EQ(hero.Spin, 0.0f);
    EXPECT_EQ(hero.Slide, VECTOR2(0.0f, 0.0f));
    EXPECT_EQ(hero.Velocity, VECTOR2(0.0f, 0.0f));
    EXPECT_EQ(hero.Animation, ANIM_STANDING);
    EXPECT_EQ(hero.RespawnPoint[0], 320);
    EXPECT_EQ(hero.RespawnPoint[1], 384);
    // What the player has earned stays.
    EXPECT_EQ(hero.Lives, 7);
    EXPECT_EQ(hero.Score, 1234);
}

TEST(HeroRecord, TheShownScoreCountsUpAtAHundredASecond) {
    WORLD world(nullptr);
    HERO hero(nullptr, &world);
    hero.Score = 150;
    hero.UpdateHero(1.0f, world.ObjectList);
    EXPECT_EQ(hero.ShownScore, 100.0f);
    hero.UpdateHero(1.0f, world.ObjectList);
    EXPECT_EQ(hero.ShownScore, 150.0f);
}

// --- Drawing on real pixels ------------------------------------------------

// Hero frame k is one flat colour that names k; the arrow's uncharged cell is
// blue and its charged cell red; the full gauge green, the empty one grey.
ARGB FrameColour(int k) {
    return 0xFF000000u | ARGB(40 + k * 8) << 16 | 0x8000u | 0x20u;
}
constexpr ARGB ARROW_EMPTY = 0xFF0000FFu;
constexpr ARGB ARROW_FULL = 0xFFFF0000u;
constexpr ARGB GAUGE_FULL = 0xFF00FF00u;
constexpr ARGB GAUGE_EMPTY = 0xFF808080u;
constexpr ARGB BACKDROP = 0xFF000000u;

class HeroDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(Device.CreateOffscreen(&error)) << error;
        std::vector<uint32_t> hero(832 * 148);
        for (int y = 0; y < 148; ++y) {
            for (int x = 0; x < 832; ++x) {
                hero[size_t(y * 832 + x)] = FrameColour(x / 64 + 13 * (y / 74));
            }
        }
        std::vector<uint32_t> fx(320 * 64, 0xFFFFFFFFu);
        for (int y = 32; y < 64; ++y) {
            for (int x = 0; x < 128; ++x) {
                fx[size_t(y * 320 + x)] = x < 64 ? ARROW_EMPTY : ARROW_FULL;
            }
        }
        std::vector<uint32_t> stuff(510 * 60, 0xFFFFFFFFu);
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 150; ++x) {
                stuff[size_t(y * 510 + x)] = x < 50 ? GAUGE_FULL : GAUGE_EMPTY;
            }
        }
        TEST_SUPPORT::WriteBytes(Dir.File("hero.dds"), TEST_SUPPORT::MakeDds(832, 148, hero));
        TEST_SUPPORT::WriteBytes(Dir.File("fx.dds"), TEST_SUPPORT::MakeDds(320, 64, fx));
        TEST_SUPPORT::WriteBytes(Dir.File("stuff.dds"), TEST_SUPPORT::MakeDds(510, 60, stuff));
        HeroSheet = TEXTURE::LoadExact(&Device, Dir.File("hero.dds"), 832, 148);
        FxSheet = TEXTURE::LoadExact(&Device, Dir.File("fx.dds"), 320, 64);
        StuffSheet = TEXTURE::LoadExact(&Device, Dir.File("stuff.dds"), 510, 60);
        ASSERT_TRUE(HeroSheet && FxSheet && StuffSheet);
        World.Height = 15;
        // The camera on the hero: its feet at the screen's centre.
        Hero.Position = {1000.0f, 300.0f};
        World.CameraTarget = Hero.Position;
    }
    void TearDown() override {
        delete HeroSheet;
        delete FxSheet;
        delete StuffSheet;
        HeroSheet = FxSheet = StuffSheet = nullptr;
    }
    void Draw() {
        Device.Clear(BACKDROP);
        Hero.Render(&Sprite, 1.0f);
    }
    ARGB At(int x, int y) { return Device.ReadPixel(x, y); }

    TEMP_DIR Dir;
    DEVICE Device;
    SPRITE Sprite{&Device};
    WORLD World{nullptr};
    HERO Hero{nullptr, &World};
};

TEST_F(HeroDrawing, TheFrameStandsOnTheFeetAndBlinksWhileInvulnerable) {
    Draw();
    EXPECT_EQ(At(400, 290), FrameColour(0));
    EXPECT_EQ(At(369, 228), FrameColour(0));  // 64 x 74 up from the feet
    EXPECT_EQ(At(400, 301), BACKDROP);
    EXPECT_EQ(At(400, 225), BACKDROP);

    Hero.Animation = ANIM_JUMPING;
    Hero.Step = 1;
    Hero.Facing = 1;
    Draw();
    EXPECT_EQ(At(400, 290), FrameColour(23));

    // Blinking: faint on odd sixteenths of a second, solid on even ones.
    Hero.InvulnerableTime = 0.1f;
    Draw();
    ARGB faint = At(400, 290);
    EXPECT_NE(faint, FrameColour(23));
    EXPECT_NE(faint, BACKDROP);
    Hero.InvulnerableTime = 0.13f;
    Draw();
    EXPECT_EQ(At(400, 290), FrameColour(23));

    // A shock flickers between the two electrocuted frames instead.
    Hero.Electrocuted = true;
    Hero.Animation = ANIM_DYING;
    Hero.InvulnerableTime = 0.1f;
    Draw();
    EXPECT_EQ(At(400, 290), FrameColour(25));
    Hero.InvulnerableTime = 0.13f;
    Draw();
    EXPECT_EQ(At(400, 290), FrameColour(24));

    Hero.Active = false;
    Draw();
    EXPECT_EQ(At(400, 290), BACKDROP);
}

TEST_F(HeroDrawing, TheAimArrowTurnsAboutItsPivotAndFillsFromTheBase) {
    Hero.Aiming = true;
    Hero.Charge = 0.5f;
    Hero.AimAngle = 0.0f;  // straight right: from 45 to 109 px right of the pivot
    Draw();
    EXPECT_EQ(At(460, 275), ARROW_FULL);
    EXPECT_EQ(At(490, 275), ARROW_EMPTY);
    EXPECT_EQ(At(515, 275), BACKDROP);
    EXPECT_EQ(At(440, 275), BACKDROP);

    // Straight up from (400, 276), 24 px above the feet.
    Hero.AimAngle = -PI / 2.0f;
    Draw();
    EXPECT_EQ(At(400, 215), ARROW_FULL);
    EXPECT_EQ(At(400, 180), ARROW_EMPTY);
    EXPECT_EQ(At(400, 160), BACKDROP);
    EXPECT_EQ(At(460, 275), BACKDROP);
    EXPECT_EQ(At(400, 290), FrameColour(0));  // the hero over the arrow's foot
}

TEST_F(HeroDrawing, TheGaugeEmptiesFromTheTop) {
    Hero.Health = 0.5f;
    Device.Clear(BACKDROP);
    Hero.DrawHealth(&Sprite);
    EXPECT_EQ(At(35, 20), GAUGE_EMPTY);
    EXPECT_EQ(At(35, 38), GAUGE_EMPTY);
    EXPECT_EQ(At(35, 41), GAUGE_FULL);
    EXPECT_EQ(At(35, 69), GAUGE_FULL);
    EXPECT_EQ(At(35, 71), BACKDROP);

    Hero.Health = -0.25f;
    Device.Clear(BACKDROP);
    Hero.DrawHealth(&Sprite);
    EXPECT_EQ(Hero.Health, 0.0f);
    EXPECT_EQ(At(35, 65), GAUGE_EMPTY);

    Hero.Lives = 0;
    Device.Clear(BACKDROP);
    Hero.DrawHealth(&Sprite);
    EXPECT_EQ(At(35, 65), BACKDROP);
}

// --- Dust and rock ----------------------------------------------------------

TEST(Puff, RunsThroughItsStagesAndStopsGrowingAtItsCap) {
    ResetRand();
    WORLD world(nullptr);
    PUFF puff(nullptr, 10.0f, 20.0f, 5.0f, 0.0f, &world, 0.6f, 0.0f, -10.0f, 1.0f);
    EXPECT_EQ(puff.Layer, LAYER_OVER_HERO);
    EXPECT_GE(puff.Scale, 0.1f);
    EXPECT_LT(puff.Scale, 0.5f);
    EXPECT_GE(puff.MaxScale, 0.6f);
    EXPECT_LT(puff.MaxScale, 1.0f);
    for (int i = 0; i < 110; ++i) {
        puff.Update(0.01f);
        EXPECT_LE(puff.Scale, puff.MaxScale);
    }
    EXPECT_FALSE(puff.IsDead());  // age 1.1
    EXPECT_NEAR(puff.Position.x, 10.0f + 5.5f, 1e-3f);
    EXPECT_LT(puff.Velocity.y, 0.0f);  // rising
    for (int i = 0; i < 11; ++i) {
        puff.Update(0.01f);
    }
    EXPECT_TRUE(puff.IsDead());  // past 1.2

    // A slower-ageing puff lives longer.
    PUFF slow(nullptr, 0.0f, 0.0f, 0.0f, 0.0f, &world, 1.3f, 0.0f, 0.0f, 0.5f);
    slow.Update(2.0f);
    EXPECT_FALSE(slow.IsDead());
    slow.Update(0.5f);
    EXPECT_TRUE(slow.IsDead());
}

TEST(Debris, BurstsIntoFivePuffsOnRockAndVanishesBelowTheLevel) {
    ResetRand();
    WORLD world(nullptr);
    world.SetTile(2, 2, 1);
    auto* inRock = new DEBRIS(nullptr, 150.0f, 150.0f, 0.0f, 0.0f, &world);
    world.AddObject(inRock);
    EXPECT_GE(inRock->Variant, 0);
    EXPECT_LT(inRock->Variant, 4);
    inRock->Update(0.01f);
    EXPECT_TRUE(inRock->IsDead());
    std::vector<PUFF*> puffs = All<PUFF>(world);
    ASSERT_EQ(puffs.size(), 5u);
    for (PUFF* p : puffs) {
        EXPECT_GE(p->Velocity.x, -1.0f);
        EXPECT_LT(p->Velocity.x, 1.0f);
        EXPECT_EQ(p->Acceleration, VECTOR2(0.0f, -30.0f));
        EXPECT_GE(p->MaxScale, 1.3f);
    }

    DEBRIS falling(nullptr, 1000.0f, 1190.0f, 0.0f, 100.0f, &world);
    falling.Update(0.05f);
    EXPECT_FALSE(falling.IsDead());
    falling.Update(0.1f);
    EXPECT_TRUE(falling.IsDead());
    EXPECT_EQ(world.ObjectList.size(), 6u);  // no burst down there
}

// --- The whole game steered by a script ------------------------------------

// One line of the frame trace: frame, state, level, x, y, vx, vy, ...
struct TRACE_LINE {
    int frame = 0;
    float x = 0, y = 0, vx = 0, vy = 0;
    int lives = 0;
};

std::vector<TRACE_LINE> ReadTrace(const std::string& path) {
    std::vector<TRACE_LINE> lines;
    for (const std::vector<std::string>& f : TEST_SUPPORT::ReadTraceRows(path)) {
        if (f.size() < 9) {
            continue;
        }
        lines.push_back({std::stoi(f[0]), std::stof(f[3]), std::stof(f[4]), std::stof(f[5]),
                         std::stof(f[6]), std::stoi(f[8])});
    }
    return lines;
}

TEST(HeroScripted, WalksHopsChargesAndFliesAcrossAGap) {
    TEMP_DIR dir;
    // Level 1-1 replaced by flat ground with a six-tile gap at 1152..1535.
    std::string map;
    for (int r = 0; r < 15; ++r) {
        for (int c = 0; c < 60; ++c) {
            bool ground = r >= FLOOR_ROW && (c < 18 || c > 23);
            map += ground ? (r == FLOOR_ROW ? "1 " : "2 ") : "0 ";
        }
        map += "-1\n";
    }
    std::filesystem::create_directories(dir.Path() / "data" / "map");
    TEST_SUPPORT::WriteText(dir.File("data/map/stage1-1.map"), map);
    // Well after the title card: walk, hop, walk to the edge, charge for
    // 0.7 s and let go.
    TEST_SUPPORT::WriteText(dir.File("input.txt"),
                            "400 +RIGHT\n460 -RIGHT\n480 +UP\n482 -UP\n560 +RIGHT\n"
                            "772 -RIGHT\n780 +SPACE\n822 -SPACE\n");
    std::string args = "--headless --frames 1000 --fixed-dt 0.0166667 --level 0 --data '" +
                       dir.File("data") + "' --user-dir '" + dir.File("user") + "' --input '" +
                       dir.File("input.txt") + "' --trace '" + dir.File("trace.csv") + "'";
    std::string output;
    ASSERT_EQ(TEST_SUPPORT::RunGame(args, &output), 0) << output;
    std::vector<TRACE_LINE> trace = ReadTrace(dir.File("trace.csv"));
    ASSERT_EQ(trace.size(), 1000u);

    // Walking at 150, hopping at 300 less one frame of gravity.
    EXPECT_EQ(trace[430].vx, 150.0f);
    EXPECT_NEAR(trace[480].vy, -300.0f + 500.0f / 60.0f, 0.01f);
    EXPECT_LT(trace[510].y, trace[479].y - 60.0f);
    // Charging, the hero stands; let go, it leaves at 700 px/s up and right.
    EXPECT_EQ(trace[800].vx, 0.0f);
    const TRACE_LINE& launch = trace[822];
    EXPECT_NEAR(std::hypot(launch.vx, launch.vy), 700.0f, 0.5f);
    EXPECT_NEAR(launch.vx, -launch.vy, 0.01f);
    // Over the gap in the air, then down on the far side, lives intact.
    bool overGap = false;
    for (const TRACE_LINE& t : trace) {
        if (t.x > 1152.0f && t.x < 1536.0f) {
            overGap = true;
            EXPECT_LT(t.y, FLOOR_TOP) << t.frame;
        }
    }
    EXPECT_TRUE(overGap);
    EXPECT_GT(trace.back().x, 1536.0f);
    EXPECT_NEAR(trace.back().y, FLOOR_TOP, 1.0f);
    EXPECT_EQ(trace.back().vx, 0.0f);
    EXPECT_EQ(trace.back().lives, 15);
}

}  // namespace
