// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Small hats, the bosses, the time bomb, and the cast each level starts
// with.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "objects/bomb.h"
#include "objects/boss.h"
#include "objects/bubble.h"
#include "objects/deathray.h"
#include "objects/flozer.h"
#include "objects/hero.h"
#include "objects/item.h"
#include "objects/puff.h"
#include "objects/smallhat.h"
#include "objects/spark.h"
#include "objects/sprites.h"
#include "objects/toilet.h"
#include "platform/device.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "platform/sprite.h"
#include "platform/texture.h"
#include "test_support.h"
#include "tests/baked_art_scene.h"
#include "world/level_contents.h"
#include "world/world.h"

namespace {

constexpr float DT = 1.0f / 60.0f;  // s, one frame
constexpr float PI = std::numbers::pi_v<float>;

// Runs an object frame by frame for the given seconds.
void RunFor(OBJECT& o, float seconds, float dt = DT) {
    for (int n = int(std::lround(seconds / dt)); n > 0; --n) {
        o.Update(dt);
    }
}

// An empty level with no map.
class Enemies : public ::testing::Test {
protected:
    Enemies() : World(nullptr), Hero(nullptr, &World) { ResetRand(); }

    // Puts the hero's feet at (x, y) with a box like his own update gives.
    void PlaceHero(float x, float y) {
        Hero.Position = {x, y};
        Hero.Box = {int32_t(x - 15), int32_t(y - 60), int32_t(x + 15), int32_t(y - 10)};
    }

    template <class T>
    int Count() const {
        int n = 0;
        for (OBJECT* o : World.ObjectList) {
            n += dynamic_cast<T*>(o) != nullptr;
        }
        return n;
    }

    WORLD World;
    HERO Hero;
};

// ---------------------------------------------------------------- SMALLHAT

using SmallHatTest = Enemies;

SMALLHAT LoneHat(WORLD* world, int kind, VECTOR2 tiles) {
    return SMALLHAT(nullptr, tiles, world, kind, false, {}, 0);
}

TEST_F(SmallHatTest, OnlyAHitAbove500PixelsASecondDestroysIt) {
    SMALLHAT hat(nullptr, {10, 5}, &World, HAT_SPARKS, false, {}, 0);
    hat.Update(DT);
    PlaceHero(hat.Position.x, hat.Position.y + 30.0f);

    // Exactly 500 px/s (300, 400) does nothing, and the contact never hurts.
    Hero.Velocity = {300.0f, 400.0f};
    EXPECT_FALSE(hat.TouchHero(&Hero));
    EXPECT_FALSE(hat.Dying);
    EXPECT_EQ(Hero.Velocity, (VECTOR2{300.0f, 400.0f}));
    EXPECT_EQ(Hero.Score, 0);

    // A little faster destroys it, slows the hero to 70 % and scores.
    Hero.Velocity = {300.0f, 401.0f};
    EXPECT_FALSE(hat.TouchHero(&Hero));
    EXPECT_TRUE(hat.Dying);
    EXPECT_FLOAT_EQ(Hero.Velocity.x, 210.0f);
    EXPECT_FLOAT_EQ(Hero.Velocity.y, 280.7f);
    EXPECT_EQ(Hero.Score, 150);
    EXPECT_EQ(Count<PUFF>(), 6);
    EXPECT_LE(Count<ITEM>(), 1);

    // Destroyed: no second score, no further contact.
    Hero.Velocity = {0.0f, 900.0f};
    hat.TouchHero(&Hero);
    hat.Hit();
    EXPECT_EQ(Hero.Score, 150);
    EXPECT_EQ(Hero.Velocity.y, 900.0f);
}

TEST_F(SmallHatTest, AFastHeroWhoIsOutOfPlayOrAwayLeavesItAlone) {
    SMALLHAT hat = LoneHat(&World, HAT_PUSHER, {10, 5});
    hat.Update(DT);
    Hero.Velocity = {0.0f, 800.0f};
    PlaceHero(hat.Position.x, hat.Position.y + 30.0f);
    Hero.Active = false;
    hat.TouchHero(&Hero);
    EXPECT_FALSE(hat.Dying);
    Hero.Active = true;
    PlaceHero(hat.Position.x + 200.0f, hat.Position.y);
    hat.TouchHero(&Hero);
    EXPECT_FALSE(hat.Dying);
}

TEST_F(SmallHatTest, DestroyedHatDriftsFadesForOneSecondAndStopsFiring) {
    SMALLHAT hat = LoneHat(&World, HAT_PUSHER, {10, 5});
    PlaceHero(hat.Position.x + 100.0f, hat.Position.y);
    hat.TouchHero(&Hero);
    hat.Hit();
    size_t made = World.ObjectList.size();
    VECTOR2 start = hat.Position;
    for (int i = 0; i < 59; ++i) {
        hat.Update(DT);
        ASSERT_FALSE(hat.IsDead());
    }
    hat.Update(DT);
    hat.Update(DT);
    EXPECT_TRUE(hat.IsDead());
    EXPECT_NE(hat.Position, start);
    // Its fire timer ran out (3 s is far off, so force it) but nothing came.
    hat.FireTimer = 0.0f;
    hat.Update(DT);
    EXPECT_EQ(World.ObjectList.size(), made);
}

TEST_F(SmallHatTest, ATwoPointPathStartsAgainFromItsFirstPoint) {
    SMALLHAT hat(nullptr, {0, 0}, &World, HAT_PUSHER, true, {{10, 5}, {12, 5}}, 0);
    EXPECT_EQ(hat.Position, (VECTOR2{640.0f, 320.0f}));
    float furthest = 0.0f;
    int restarts = 0;
    for (int i = 0; i < 60 * 9; ++i) {
        float before = hat.Position.x;
        hat.Update(DT);
        furthest = std::max(furthest, hat.Position.x);
        if (hat.Position.x < before) {
            // Put straight back on the first point, not walked back.
            EXPECT_EQ(hat.Position, (VECTOR2{640.0f, 320.0f}));
            ++restarts;
        }
    }
    // 98 px at 40 px/s to come within 30 px of the second point: ~2.5 s.
    EXPECT_EQ(restarts, 3);
    EXPECT_LT(furthest, 768.0f - 29.0f);
    EXPECT_GT(furthest, 768.0f - 31.0f);
}

TEST_F(SmallHatTest, WithoutAPathItCirclesATriangleAroundItsPlace) {
    SMALLHAT hat = LoneHat(&World, HAT_PUSHER, {60, 4});
    ASSERT_EQ(hat.Path.size(), 3u);
    EXPECT_EQ(hat.Position, (VECTOR2{3840.0f, 256.0f}));
    EXPECT_EQ(hat.Path[0], (VECTOR2{3540.0f, 256.0f}));
    EXPECT_EQ(hat.Path[1], (VECTOR2{3840.0f, 106.0f}));
    EXPECT_EQ(hat.Path[2], (VECTOR2{4140.0f, 256.0f}));
    // It walks round the closed triangle without ever jumping.
    for (int i = 0; i < 60 * 60; ++i) {
        VECTOR2 before = hat.Position;
        hat.Update(DT);
        ASSERT_LE((hat.Position - before).Length(), 40.0f * DT + 0.01f);
    }
}

TEST_F(SmallHatTest, FiresItsKindsWeaponOnlyAtAHeroWithin1000Pixels) {
    struct EXPECTED {
        int Kind, Bubbles, Flozers, Sparks;
    };
    const EXPECTED kinds[] = {
        {HAT_BUBBLES, 1, 0, 0}, {HAT_FLOZERS, 0, 1, 0}, {HAT_SPARKS, 0, 0, 1},
        {HAT_FAN, 0, 0, 3},     {HAT_PUSHER, 0, 0, 1},
    };
    float intervals[HAT_KINDS] = {};
    for (const EXPECTED& e : kinds) {
        SCOPED_TRACE(e.Kind);
        WORLD world(nullptr);
        SMALLHAT hat = LoneHat(&world, e.Kind, {20, 5});
        hat.Speed = 0.0f;                          // keep the distance exact
        const float firstShot = hat.FireInterval;  // s
        intervals[e.Kind] = firstShot;
        int frames = int(std::ceil(firstShot / DT));

        // No hero seen yet: the first shot goes nowhere, the timer restarts.
        for (int i = 0; i < frames + 1; ++i) {
            hat.Update(DT);
        }
        EXPECT_TRUE(world.ObjectList.empty());
        EXPECT_GE(hat.FireTimer, firstShot - 2 * DT);

        // A hero exactly 1000 px away is out of reach.
        Hero.Position = hat.Position + VECTOR2{1000.0f, 0.0f};
        hat.TouchHero(&Hero);
        hat.FireTimer = DT / 2;
        hat.Update(DT);
        EXPECT_TRUE(world.ObjectList.empty());

        // A little closer and the shot comes.
        Hero.Position = hat.Position + VECTOR2{999.0f, 0.0f};
        hat.FireTimer = DT / 2;
        hat.Update(DT);
        int bubbles = 0, flozers = 0, sparks = 0;
        for (OBJECT* o : world.ObjectList) {
            bubbles += dynamic_cast<BUBBLE*>(o) != nullptr;
            flozers += dynamic_cast<FLOZER*>(o) != nullptr;
            sparks += dynamic_cast<SPARK*>(o) != nullptr;
            EXPECT_EQ(o->Position, hat.Position);
        }
        EXPECT_EQ(bubbles, e.Bubbles);
        EXPECT_EQ(flozers, e.Flozers);
        EXPECT_EQ(sparks, e.Sparks);
        EXPECT_GE(hat.FireTimer, firstShot);
        EXPECT_LT(hat.FireTimer, firstShot + 5.0f);
    }
    // The damaging sparks come fastest and the flozers slowest.
    for (int kind = 0; kind < HAT_KINDS; ++kind) {
        EXPECT_GT(intervals[kind], 0.0f);
        if (kind != HAT_SPARKS) {
            EXPECT_LT(intervals[HAT_SPARKS], intervals[kind]) << kind;
        }
        if (kind != HAT_FLOZERS) {
            EXPECT_GT(intervals[HAT_FLOZERS], intervals[kind]) << kind;
        }
    }
}

TEST_F(SmallHatTest, ItsShotsFlyTowardsThePointAboveTheHero) {
    SMALLHAT hat = LoneHat(&World, HAT_SPARKS, {20, 5});
    hat.Speed = 0.0f;
    Hero.Position = hat.Position + VECTOR2{400.0f, 330.0f};
    hat.TouchHero(&Hero);
    hat.FireTimer = DT / 2;
    hat.Update(DT);
    ASSERT_EQ(World.ObjectList.size(), 1u);
    // A damaging spark at 1.4 × 200 px/s along (400, 300).
    SPARK* spark = dynamic_cast<SPARK*>(World.ObjectList[0]);
    ASSERT_NE(spark, nullptr);
    VECTOR2 before = spark->Position;
    spark->Update(0.5f);
    VECTOR2 moved = spark->Position - before;
    EXPECT_NEAR(moved.x, 0.5f * 280.0f * 0.8f, 0.01f);
    EXPECT_NEAR(moved.y, 0.5f * 280.0f * 0.6f, 0.01f);
}

// ---------------------------------------------------------------- BOSS

using BossTest = Enemies;

TEST_F(BossTest, HitsToKillAndTheScoreEachKindIsWorth) {
    struct EXPECTED {
        int Kind, Hits, Worth;
        SOUND_ID DeathSound;
    };
    for (EXPECTED e :
         {EXPECTED{0, 4, 900, SOUND_BOSS1_DIES}, EXPECTED{1, 6, 1650, SOUND_BOSS1_DIES},
          EXPECTED{2, 6, 2200, SOUND_BOSS3_DIES}}) {
        SCOPED_TRACE(e.Kind);
        WORLD world(nullptr);
        HERO hero(nullptr, &world);
        BOSS boss(nullptr, 1500.0f, 300.0f, &world, e.Kind);
        boss.TouchHero(&hero);
        int deaths = Sound.Started[e.DeathSound];
        int hurts = Sound.Started[SOUND_BOSS_HURT];
        for (int hit = 1; hit <= e.Hits; ++hit) {
            ASSERT_FALSE(boss.Dying) << "before hit " << hit;
            boss.Hit();
            RunFor(boss, 2.6f);
        }
        EXPECT_TRUE(boss.Dying);
        EXPECT_LE(boss.Health, 0.0f);
        EXPECT_EQ(hero.Score, e.Worth);
        EXPECT_EQ(Sound.Started[e.DeathSound], deaths + 1);
        EXPECT_EQ(Sound.Started[SOUND_BOSS_HURT], hurts + e.Hits);
    }
}

TEST_F(BossTest, WhileBlinkingItCanNeitherBeHitNorTouched) {
    BOSS boss(nullptr, 1500.0f, 300.0f, &World, 0);
    RunFor(boss, 2.1f);
    PlaceHero(boss.Position.x, boss.Position.y);
    ASSERT_TRUE(boss.TouchHero(&Hero));
    boss.Hit();
    EXPECT_EQ(Hero.Score, 100);
    EXPECT_FLOAT_EQ(boss.Health, 0.75f);
    RunFor(boss, 2.4f);
    PlaceHero(boss.Position.x, boss.Position.y);
    EXPECT_FALSE(boss.TouchHero(&Hero));
    boss.Hit();
    EXPECT_EQ(Hero.Score, 100);
    EXPECT_FLOAT_EQ(boss.Health, 0.75f);
    RunFor(boss, 0.2f);
    PlaceHero(boss.Position.x, boss.Position.y);
    EXPECT_TRUE(boss.TouchHero(&Hero));
}

TEST_F(BossTest, ForItsFirstTwoSecondsItNeitherMovesNorFiresNorCanBeTouched) {
    BOSS boss(nullptr, 1880.0f, 320.0f, &World, 0);  // next to its first waypoint
    PlaceHero(1880.0f, 340.0f);
    for (int i = 0; i < 119; ++i) {
        boss.Update(DT);
        ASSERT_FALSE(boss.TouchHero(&Hero)) << "frame " << i;
        ASSERT_EQ(boss.Position, (VECTOR2{1880.0f, 320.0f}));
    }
    EXPECT_TRUE(World.ObjectList.empty());
    EXPECT_FALSE(boss.Appeared);
    int appearances = Sound.Started[SOUND_BOSS_APPEARS];
    RunFor(boss, 0.05f);
    EXPECT_TRUE(boss.Appeared);
    EXPECT_EQ(Sound.Started[SOUND_BOSS_APPEARS], appearances + 1);
    boss.Update(DT);
    EXPECT_TRUE(boss.TouchHero(&Hero));
    // Its first move reached the waypoint: five bubbles, leaning into them.
    EXPECT_EQ(Count<BUBBLE>(), 5);
    EXPECT_FLOAT_EQ(boss.Angle, -0.4712389f);
    EXPECT_EQ(boss.WaypointIndex, 1);
}

TEST_F(BossTest, EachKindAttacksAtEveryWaypointAndTheTourWraps) {
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(kind);
        WORLD world(nullptr);
        BOSS boss(nullptr, 0.0f, 0.0f, &world, kind);
        boss.Position = boss.Waypoints[0];
        std::vector<VECTOR2> stops;
        for (int i = 0; i < 60 * 60 && stops.size() < 4; ++i) {
            bool was = boss.Arrived;
            boss.Update(DT);
            if (boss.Arrived && !was) {
                stops.push_back(boss.Position);
            }
        }
        ASSERT_EQ(stops.size(), 4u);
        for (size_t s = 0; s < 4; ++s) {
            EXPECT_LT((stops[s] - boss.Waypoints[s % 3]).Length(), 30.0f);
        }
        int bubbles = 0, flozers = 0, rays = 0, sparks = 0;
        for (OBJECT* o : world.ObjectList) {
            bubbles += dynamic_cast<BUBBLE*>(o) != nullptr;
            flozers += dynamic_cast<FLOZER*>(o) != nullptr;
            rays += dynamic_cast<DEATHRAY*>(o) != nullptr;
            sparks += dynamic_cast<SPARK*>(o) != nullptr;
        }
        // Four stops; the world never ran, so every shot is still listed.
        EXPECT_EQ(bubbles, kind == 0 ? 20 : 0);
        EXPECT_EQ(flozers, kind == 1 ? 16 : 0);
        EXPECT_EQ(rays, kind == 2 ? 4 : 0);
        EXPECT_EQ(sparks, kind == 2 ? 28 : 0);
    }
}

TEST_F(BossTest, TheThirdBossTiltsWithItsRayAndStopsAtAQuarterTurnBack) {
    BOSS boss(nullptr, 900.0f, 420.0f, &World, 2);
    RunFor(boss, 2.0f);
    while (!boss.Arrived) {
        boss.Update(DT);
    }
    EXPECT_FLOAT_EQ(boss.Angle, PI / 4);
    ASSERT_EQ(World.ObjectList.size(), 8u);
    // The ray is the first object made, so the last one at the front.
    DEATHRAY* ray = dynamic_cast<DEATHRAY*>(World.ObjectList[7]);
    ASSERT_NE(ray, nullptr);
    EXPECT_FLOAT_EQ(ray->Position.y, boss.Position.y + 50.0f);
    RunFor(boss, 1.0f);
    EXPECT_NEAR(boss.Angle, 0.0f, 0.02f);
    RunFor(boss, 1.5f);
    EXPECT_LE(boss.Angle, -PI / 4);
    EXPECT_GT(boss.Angle, -PI / 4 - PI / 4 * DT - 1e-5f);
}

TEST_F(BossTest, AKillingHitDuringAPauseWaitsForThePauseToEnd) {
    BOSS boss(nullptr, 900.0f, 420.0f, &World, 1);
    boss.TouchHero(&Hero);
    RunFor(boss, 2.0f);
    while (!boss.Arrived) {
        boss.Update(DT);
    }
    VECTOR2 stop = boss.Position;
    float pauseLeft = boss.WaitTimer;
    boss.Health = 0.1f;
    boss.Hit();
    ASSERT_TRUE(boss.Dying);
    // Standing still and upright for the rest of its 4 s pause.
    for (int i = 0; i < int(pauseLeft / DT) - 1; ++i) {
        boss.Update(DT);
        ASSERT_EQ(boss.Position, stop);
        ASSERT_EQ(boss.Angle, 0.0f);
    }
    RunFor(boss, 0.1f);
    EXPECT_GT(boss.Angle, 0.0f);
    EXPECT_EQ(boss.Position, stop);
    // It turns over at 1 rad/s, then falls.
    RunFor(boss, PI);
    EXPECT_GE(boss.Angle, PI);
    // Falling at 50 px/s amid explosions (fine frames, so that the blast
    // moments are not stepped over).
    RunFor(boss, 1.0f, 0.001f);
    EXPECT_NEAR(boss.Position.y, stop.y + 50.0f, 2.0f);
    EXPECT_GE(Count<PUFF>(), 7);
}

TEST_F(BossTest, EveryFrameFrom1100To1200EndsTheLevelAgain) {
    BOSS boss(nullptr, 1000.0f, 1050.0f, &World, 0);
    boss.TouchHero(&Hero);
    boss.WaitTimer = 0.0f;
    boss.Dying = true;
    boss.Angle = PI;
    int frames = 0;
    int frameOver = 0;
    bool gone = false;
    while (!gone && frames < 60 * 10) {
        ++frames;
        Hero.LevelOver = false;
        gone = boss.IsDead();
        if (boss.Position.y > 1100.0f) {
            ASSERT_TRUE(Hero.LevelOver) << boss.Position.y;
            ++frameOver;
        } else {
            ASSERT_FALSE(Hero.LevelOver) << boss.Position.y;
        }
        if (!gone) {
            boss.Update(DT);
        }
    }
    EXPECT_TRUE(gone);
    EXPECT_GT(boss.Position.y, 1200.0f);
    // Two seconds of falling at 50 px/s, and the frame that ends it.
    EXPECT_NEAR(frameOver, 121, 1);
}

TEST_F(BossTest, ABossNobodyTouchedEndsNoLevel) {
    // A boss nobody has touched has no hero to end the level for.
    BOSS boss(nullptr, 1000.0f, 1150.0f, &World, 2);
    EXPECT_FALSE(boss.IsDead());
    EXPECT_FALSE(Hero.LevelOver);
    boss.Position.y = 1201.0f;
    EXPECT_TRUE(boss.IsDead());
    // Rendering with no sprite batch draws nothing and does not fail.
    boss.Render(nullptr, 1.0f);
}

// ---------------------------------------------------------------- BOMB

using BombTest = Enemies;

TEST_F(BombTest, FourHardLandingsEmptyItAndASoftOneDoesNothing) {
    BOMB bomb(nullptr, {20, 13}, &World);
    EXPECT_EQ(bomb.Position, (VECTOR2{1280.0f, 832.0f}));
    bomb.Update(DT);
    auto land = [&](float speed) {
        PlaceHero(bomb.Position.x, bomb.Position.y - 70.0f);
        Hero.Velocity = {0.0f, speed};
        EXPECT_FALSE(bomb.TouchHero(&Hero));
    };

    land(300.0f);
    EXPECT_EQ(Hero.Velocity.y, 300.0f);
    EXPECT_EQ(bomb.HurtTimer, 0.0f);
    EXPECT_GT(bomb.Charge, 0.99f);

    for (int i = 1; i <= 4; ++i) {
        SCOPED_TRACE(i);
        land(301.0f);
        EXPECT_FLOAT_EQ(Hero.Velocity.y, -301.0f * 0.7f);
        // During the blink the hero passes through.
        land(600.0f);
        EXPECT_EQ(Hero.Velocity.y, 600.0f);
        if (i < 4) {
            RunFor(bomb, 2.6f);
            EXPECT_TRUE(Hero.Active);
        }
    }
    EXPECT_EQ(bomb.Charge, 0.0f);  // clamped, not below
    EXPECT_TRUE(Hero.Active);
    bomb.Update(DT);
    EXPECT_FALSE(Hero.Active);  // the explosion has begun
}

TEST_F(BombTest, TheExplosionPullsTheHeroInAndEndsTheGame525SecondsLater) {
    BOMB bomb(nullptr, {20, 13}, &World);
    PlaceHero(1000.0f, 500.0f);
    bomb.TouchHero(&Hero);
    bomb.Charge = 0.0f;
    float distance = (bomb.Position - Hero.Position).Length();
    int explosions = Sound.Started[SOUND_EXPLOSION];
    int frames = 0;
    while (!Hero.GameOver && frames < 60 * 10) {
        bomb.Update(DT);
        ++frames;
        if (frames == 1) {
            // No pull yet in the first frame.
            EXPECT_EQ(Hero.Position, (VECTOR2{1000.0f, 500.0f}));
        }
        if (frames == 60) {
            // About 40 × 16 t³ / 3 px in the first second.
            EXPECT_NEAR((bomb.Position - Hero.Position).Length(), distance - 213.0f, 10.0f);
        }
    }
    EXPECT_TRUE(Hero.GameOver);
    EXPECT_TRUE(Hero.LevelOver);
    EXPECT_FALSE(Hero.Active);
    EXPECT_NEAR(frames * DT, 5.25f, DT + 1e-4f);
    EXPECT_EQ(Sound.Started[SOUND_EXPLOSION], explosions + 1);
    EXPECT_GT(Count<PUFF>(), 0);
    // The end comes once.
    Hero.GameOver = false;
    RunFor(bomb, 1.0f);
    EXPECT_FALSE(Hero.GameOver);
    EXPECT_EQ(Sound.Started[SOUND_EXPLOSION], explosions + 1);
}

TEST_F(BombTest, LeftAloneItRunsDownInTwoHundredSeconds) {
    BOMB bomb(nullptr, {20, 13}, &World);
    PlaceHero(200.0f, 200.0f);
    bomb.TouchHero(&Hero);
    int frames = 0;
    while (Hero.Active && frames < 60 * 300) {
        bomb.Update(DT);
        ++frames;
    }
    EXPECT_NEAR(frames * DT, 200.0f, 0.5f);
}

// ---------------------------------------------------------------- level cast

using LevelCastTest = Enemies;

TEST_F(LevelCastTest, TheFirstLevelHoldsOneLoneHatAndThenTheExit) {
    CreateLevelContents(&World, nullptr, 0);
    ASSERT_EQ(World.ObjectList.size(), 2u);
    SMALLHAT* hat = dynamic_cast<SMALLHAT*>(World.ObjectList[0]);
    ASSERT_NE(hat, nullptr);
    EXPECT_FALSE(hat->FollowsPath);
    EXPECT_EQ(hat->Kind, HAT_PUSHER);
    EXPECT_EQ(hat->Position, (VECTOR2{3840.0f, 256.0f}));
    TOILET* toilet = dynamic_cast<TOILET*>(World.ObjectList[1]);
    ASSERT_NE(toilet, nullptr);
    EXPECT_EQ(toilet->Position, (VECTOR2{217.0f * 64, 8.0f * 64}));
}

TEST_F(LevelCastTest, BossLevelsHoldTheirBossAndTheLastOneTheBombFirst) {
    struct EXPECTED {
        int Level, Kind;
        VECTOR2 At;
    };
    for (EXPECTED e : {EXPECTED{3, 0, {2048, 256}}, EXPECTED{7, 1, {1920, 256}}}) {
        WORLD world(nullptr);
        CreateLevelContents(&world, nullptr, e.Level);
        ASSERT_EQ(world.ObjectList.size(), 1u);
        BOSS* boss = dynamic_cast<BOSS*>(world.ObjectList[0]);
        ASSERT_NE(boss, nullptr);
        EXPECT_EQ(boss->Kind, e.Kind);
        EXPECT_EQ(boss->Position, e.At);
    }
    CreateLevelContents(&World, nullptr, 11);
    ASSERT_EQ(World.ObjectList.size(), 2u);
    BOMB* bomb = dynamic_cast<BOMB*>(World.ObjectList[0]);
    ASSERT_NE(bomb, nullptr);
    EXPECT_EQ(bomb->Position, (VECTOR2{1280.0f, 832.0f}));
    BOSS* boss = dynamic_cast<BOSS*>(World.ObjectList[1]);
    ASSERT_NE(boss, nullptr);
    EXPECT_EQ(boss->Kind, 2);
    EXPECT_EQ(boss->Position, (VECTOR2{1280.0f, 128.0f}));

    // The last level of each stage, and only those, count as boss levels
    // (for the boss music), wherever the boss stands in the cast.
    for (int level = -1; level <= LEVEL_COUNT; ++level) {
        EXPECT_EQ(IsBossLevel(level), level == 3 || level == 7 || level == 11) << level;
    }
}

TEST_F(LevelCastTest, HatsStartSpreadAlongTheirPathAndEachStageBringsItsKinds) {
    struct EXPECTED {
        int Level;
        float Factor;  // of the spacing rule
        int Modulus;   // 0: the path's length
        VECTOR2 Exit;  // tiles
        size_t PathLength;
        VECTOR2 FirstPoint;  // tiles
    };
    const EXPECTED levels[] = {
        {1, 0.0f, 0, {217, 11}, 8, {240, 9}},   {2, 0.3f, 12, {217, 10}, 11, {245, 9}},
        {4, 0.2f, 0, {217, 7}, 13, {240, 4}},   {5, 0.3f, 0, {217, 10}, 14, {240, 8}},
        {6, 0.3f, 0, {219, 2}, 14, {240, 1}},   {8, 0.2f, 0, {219, 2}, 13, {240, 3}},
        {9, 0.2f, 0, {218, 13}, 14, {240, 10}}, {10, 0.2f, 0, {217, 2}, 15, {240, 0}},
    };
    for (const EXPECTED& e : levels) {
        SCOPED_TRACE(e.Level);
        WORLD world(nullptr);
        CreateLevelContents(&world, nullptr, e.Level);
        ASSERT_GE(world.ObjectList.size(), 2u);
        int stage = e.Level / 4;
        for (size_t i = 0; i + 1 < world.ObjectList.size(); ++i) {
            SMALLHAT* hat = dynamic_cast<SMALLHAT*>(world.ObjectList[i]);
            ASSERT_NE(hat, nullptr);
            EXPECT_TRUE(hat->FollowsPath);
            // The meadow sends only the two mildest kinds; the damaging
            // sparks wait for the fortress.
            if (stage == 0) {
                EXPECT_TRUE(hat->Kind == HAT_PUSHER || hat->Kind == HAT_BUBBLES) << "hat " << i;
            }
            if (stage < 2) {
                EXPECT_NE(hat->Kind, HAT_SPARKS) << "hat " << i;
            }
            ASSERT_EQ(hat->Path.size(), e.PathLength);
            EXPECT_EQ(hat->Path[0], e.FirstPoint * 64.0f);
            // The spacing rule, worked the way the table was made: the
            // single-precision factor taken at double precision.
            int modulus = e.Modulus ? e.Modulus : int(e.PathLength);
            int start = int(double(i) + double(e.Factor) * double(i)) % modulus;
            EXPECT_EQ(hat->WaypointIndex, start) << "hat " << i;
            EXPECT_EQ(hat->Position, hat->Path[size_t(start)]);
        }
        TOILET* toilet = dynamic_cast<TOILET*>(world.ObjectList.back());
        ASSERT_NE(toilet, nullptr);
        EXPECT_EQ(toilet->Position, e.Exit * 64.0f);
    }
    // The two cases the rounding decides.
    WORLD two(nullptr);
    CreateLevelContents(&two, nullptr, 2);
    EXPECT_EQ(dynamic_cast<SMALLHAT*>(two.ObjectList[4])->WaypointIndex, 5);
    WORLD four(nullptr);
    CreateLevelContents(&four, nullptr, 4);
    EXPECT_EQ(dynamic_cast<SMALLHAT*>(four.ObjectList[5])->WaypointIndex, 6);
}

TEST_F(LevelCastTest, LoadingALevelAgainGivesAFreshCast) {
    TEST_SUPPORT::TEMP_DIR dir;
    std::string map;
    for (int row = 0; row < 15; ++row) {
        map += "0 0 0 1 -1\n";
    }
    TEST_SUPPORT::WriteText(dir.File("level.map"), map);
    World.LevelTable[1] = dir.File("level.map");

    ASSERT_TRUE(World.LoadMap(1, &Hero));
    ASSERT_EQ(World.ObjectList.size(), 6u);
    std::vector<VECTOR2> starts;
    for (OBJECT* o : World.ObjectList) {
        starts.push_back(o->Position);
    }
    // Play a while: the hats move on, one is destroyed.
    for (int i = 0; i < 300; ++i) {
        for (OBJECT* o : World.ObjectList) {
            o->Update(DT);
        }
    }
    World.ObjectList[0]->Hit();
    ASSERT_GT(World.ObjectList.size(), 6u);

    ASSERT_TRUE(World.LoadMap(1, &Hero));
    ASSERT_EQ(World.ObjectList.size(), 6u);
    for (size_t i = 0; i < 5; ++i) {
        SMALLHAT* hat = dynamic_cast<SMALLHAT*>(World.ObjectList[i]);
        ASSERT_NE(hat, nullptr);
        EXPECT_EQ(hat->Position, starts[i]);
        EXPECT_FALSE(hat->Dying);
        EXPECT_EQ(hat->WaypointIndex, int(i));
    }
    EXPECT_NE(dynamic_cast<TOILET*>(World.ObjectList[5]), nullptr);
}

TEST_F(LevelCastTest, AnUnknownLevelGetsNoCast) {
    CreateLevelContents(&World, nullptr, -1);
    CreateLevelContents(&World, nullptr, 12);
    EXPECT_TRUE(World.ObjectList.empty());
}

}  // namespace

// ---------------------------------------------------------------- pictures

// The cast drawn with the baked art over a strip of floor and written to
// PNGs for a person to look at (CAST_PICTURE_DIR, else the system's
// temporary folder).
class EnemyPicture : public BAKED_ART_SCENE {
protected:
    void SetUp() override { OpenScene("textures/smallhats.dds", -10); }

    void Save(const std::string& name) { EXPECT_TRUE(Device.SaveScreenshot(PicturePath(name))); }

    ARGB Pixel(VECTOR2 world, float zoom) {
        VECTOR2 s = World->WorldToScreen(world.x, world.y, zoom);
        return Device.ReadPixel(int(std::lround(s.x)), int(std::lround(s.y)));
    }

    // The screen pixels of a rectangle, row by row.
    std::vector<ARGB> Screen(int left, int top, int right, int bottom) {
        std::vector<ARGB> px;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                px.push_back(Device.ReadPixel(x, y));
            }
        }
        return px;
    }

    static int Channel(ARGB c, int shift) { return int((c >> shift) & 0xFF); }
    static bool Near(ARGB a, ARGB b) {
        for (int shift = 0; shift < 24; shift += 8) {
            if (std::abs(Channel(a, shift) - Channel(b, shift)) > 40) {
                return false;
            }
        }
        return true;
    }
    // Share of pixels that are alike in two pictures of the same size.
    static double Alike(const std::vector<ARGB>& a, const std::vector<ARGB>& b) {
        size_t same = 0;
        for (size_t i = 0; i < a.size(); ++i) {
            same += Near(a[i], b[i]);
        }
        return a.empty() ? 1.0 : double(same) / double(a.size());
    }
};

TEST_F(EnemyPicture, HatsAndBombs) {
    std::vector<std::unique_ptr<SMALLHAT>> owned;
    std::vector<SMALLHAT*> hats;
    for (int kind = 0; kind < HAT_KINDS; ++kind) {
        owned.push_back(std::make_unique<SMALLHAT>(&Device, VECTOR2{0, 0}, World, kind, false,
                                                   std::vector<VECTOR2>{}, 0));
        hats.push_back(owned.back().get());
        hats.back()->Position = {90.0f + 150.0f * float(kind), 150.0f};
    }
    SMALLHAT fading(&Device, {0, 0}, World, HAT_FAN, false, {}, 0);
    fading.Position = {90.0f, 330.0f};
    fading.Alpha = 0.4f;
    BOMB full(&Device, {0, 0}, World);
    full.Position = {330.0f, 512.0f};
    BOMB half(&Device, {0, 0}, World);
    half.Position = {650.0f, 512.0f};
    half.Charge = 0.3f;
    std::vector<OBJECT*> cast(hats.begin(), hats.end());
    cast.insert(cast.end(), {&fading, &full, &half});
    Draw(cast, 0.6f);
    Save("vortigan_hats_bombs_zoom.png");
    Draw({}, 1.0f);
    ARGB sky = Pixel({90.0f, 330.0f}, 1.0f);
    // Just outside each hat's 128 x 128 picture.
    const VECTOR2 outside[] = {{0.0f, 66.0f}, {0.0f, -66.0f}, {-66.0f, 0.0f}, {66.0f, 0.0f}};
    std::vector<ARGB> around;
    for (SMALLHAT* h : hats) {
        for (VECTOR2 o : outside) {
            around.push_back(Pixel(h->Position + o, 1.0f));
        }
    }
    Draw(cast, 1.0f);
    Save("vortigan_hats_bombs.png");

    // Each hat centred on its position: its picture is drawn there, the
    // kinds differ, and just outside its frame the scene is untouched.
    std::vector<std::vector<ARGB>> faces;
    size_t a = 0;
    for (SMALLHAT* h : hats) {
        VECTOR2 s = World->WorldToScreen(h->Position.x, h->Position.y, 1.0f);
        faces.push_back(Screen(int(s.x) - 20, int(s.y) - 20, int(s.x) + 20, int(s.y) + 20));
        for (VECTOR2 o : outside) {
            EXPECT_EQ(Pixel(h->Position + o, 1.0f), around[a++]) << "kind " << h->Kind;
        }
    }
    for (size_t i = 1; i < faces.size(); ++i) {
        EXPECT_LT(Alike(faces[0], faces[i]), 0.5) << "kind " << i;
    }
    // The fading hat lets the sky through.
    ARGB ghost = Pixel(fading.Position, 1.0f);
    EXPECT_FALSE(Near(ghost, sky));
    EXPECT_GT(Channel(ghost, 0), 150);  // bluish with the sky behind

    // The full bomb is drawn in its own colours, the low one tinted red;
    // both rest on the floor's top edge.
    ARGB white = Pixel(full.Position + VECTOR2{-80.0f, -40.0f}, 1.0f);
    ARGB red = Pixel(half.Position + VECTOR2{-80.0f, -40.0f}, 1.0f);
    EXPECT_GT(Channel(white, 8), 180) << std::hex << white;
    EXPECT_GT(Channel(red, 16), 180) << std::hex << red;
    EXPECT_LT(Channel(red, 8), Channel(red, 16) / 2) << std::hex << red;
    EXPECT_TRUE(Near(Pixel(full.Position + VECTOR2{0.0f, -130.0f}, 1.0f),
                     Pixel(full.Position + VECTOR2{0.0f, -160.0f}, 1.0f)));
    // Blinking: every other sixteenth of a second it is not drawn at all.
    half.HurtTimer = 0.07f;
    Draw(cast, 1.0f);
    ARGB gone = Pixel(half.Position + VECTOR2{-80.0f, -40.0f}, 1.0f);
    EXPECT_FALSE(Near(gone, red)) << std::hex << gone;
}

TEST_F(EnemyPicture, Bosses) {
    const float zoom = 0.5f;
    BOSS b0(&Device, -300.0f, 250.0f, World, 0);
    BOSS b1(&Device, 200.0f, 250.0f, World, 1);
    BOSS b2(&Device, 700.0f, 250.0f, World, 2);
    b2.Health = 0.5f;
    Draw({&b0, &b1, &b2}, zoom);
    Save("vortigan_bosses.png");

    // Turned about its centre, anticlockwise for a positive angle: a
    // quarter turn carries the point 100 px left of the centre to 100 px
    // below it.
    {
        BOSS alone(&Device, 400.0f, 250.0f, World, 0);
        alone.Dying = true;  // no gauge
        Draw({&alone}, 1.0f, false);
        std::vector<ARGB> upright;
        std::vector<VECTOR2> offsets;
        for (int dy = -120; dy <= 120; dy += 20) {
            for (int dx = -120; dx <= 120; dx += 20) {
                offsets.push_back({float(dx), float(dy)});
                upright.push_back(Pixel(alone.Position + offsets.back(), 1.0f));
            }
        }
        alone.Angle = std::numbers::pi_v<float> / 2;
        Draw({&alone}, 1.0f, false);
        std::vector<ARGB> turned;
        for (VECTOR2 o : offsets) {
            turned.push_back(Pixel(alone.Position + VECTOR2{o.y, -o.x}, 1.0f));
        }
        EXPECT_GT(Alike(upright, turned), 0.9);
        // And not clockwise.
        turned.clear();
        for (VECTOR2 o : offsets) {
            turned.push_back(Pixel(alone.Position + VECTOR2{-o.y, o.x}, 1.0f));
        }
        EXPECT_LT(Alike(upright, turned), 0.8);
    }

    // The gauge: whole at full health, the damaged picture growing down
    // from the top, gone once the boss is dying.
    {
        BOSS alone(&Device, 400.0f, 250.0f, World, 2);
        Draw({&alone}, zoom);
        std::vector<ARGB> whole = Screen(730, 10, 790, 70);
        alone.Health = 0.5f;
        Draw({&alone}, zoom);
        std::vector<ARGB> half = Screen(730, 10, 790, 70);
        auto rows = [](const std::vector<ARGB>& px, int from, int to) {
            return std::vector<ARGB>(px.begin() + 60 * from, px.begin() + 60 * to);
        };
        EXPECT_LT(Alike(rows(whole, 0, 30), rows(half, 0, 30)), 0.9);
        EXPECT_EQ(Alike(rows(whole, 30, 60), rows(half, 30, 60)), 1.0);
        alone.Dying = true;
        Draw({&alone}, zoom);
        std::vector<ARGB> none = Screen(730, 10, 790, 70);
        Draw({}, zoom);
        EXPECT_EQ(Alike(none, Screen(730, 10, 790, 70)), 1.0);
    }

    // Turning over, blinking red, and tilted with its ray early in a sweep.
    b0.Dying = true;
    b0.Angle = std::numbers::pi_v<float> / 2;
    b1.Dying = true;
    b1.HurtTimer = 0.2f;
    b2.Angle = std::numbers::pi_v<float> / 4;
    b2.Health = 0.167f;
    DEATHRAY ray(&Device, b2.Position.x, b2.Position.y + 50.0f, World,
                 std::numbers::pi_v<float> / 4);
    Draw({&ray, &b0, &b1, &b2}, zoom);
    Save("vortigan_bosses_moving.png");
    // Hurt on this frame: tinted red, no green or blue left.
    for (VECTOR2 o : {VECTOR2{0.0f, 0.0f}, VECTOR2{-40.0f, 20.0f}, VECTOR2{30.0f, -10.0f}}) {
        ARGB c = Pixel(b1.Position + o, zoom);
        EXPECT_LT(Channel(c, 8), 60) << std::hex << c;
    }
}
