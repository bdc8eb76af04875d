// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The level exit, the pickups, bubbles, flozers, the death ray and sparks:
// how each meets the hero, and the beam checked on real pixels.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "objects/bubble.h"
#include "objects/deathray.h"
#include "objects/flozer.h"
#include "objects/hero.h"
#include "objects/item.h"
#include "objects/spark.h"
#include "objects/sprites.h"
#include "objects/toilet.h"
#include "platform/device.h"
#include "platform/sound.h"
#include "platform/sprite.h"
#include "platform/texture.h"
#include "test_support.h"
#include "tests/baked_art_scene.h"
#include "world/world.h"

namespace {

constexpr float DT = 1.0f / 60.0f;  // s, one frame

// How often a sound was asked for so far.
int Plays(SOUND_ID id) {
    return Sound.Started[id];
}

// A level with no map: open air everywhere until a test lays tiles.
class Cast : public ::testing::Test {
protected:
    Cast() : World(nullptr), Hero(nullptr, &World) {
        // A map of full height, so the camera shows it from the top.
        World.Width = 100;
        World.Height = MAP_ROWS;
    }

    // Puts the hero's feet at (x, y) with the box his own update gives him.
    void PlaceHero(float x, float y) {
        Hero.Position = {x, y};
        Hero.Box = {int32_t(x - 15), int32_t(y - 60), int32_t(x + 15), int32_t(y - 10)};
    }
    // Puts the hero's middle (the box's centre) at (x, y).
    void CentreHero(float x, float y) { PlaceHero(x, y + 35.0f); }

    // Runs an object for the given seconds, frame by frame.
    static void Run(OBJECT& o, float seconds) {
        for (int n = int(std::lround(seconds / DT)); n > 0; --n) {
            o.Update(DT);
        }
    }

    WORLD World;
    HERO Hero;
};

// ---------------------------------------------------------------- TOILET

using ToiletTest = Cast;

TEST_F(ToiletTest, OnlyThePostTakesTheHeroIn) {
    TOILET toilet(nullptr, {10.0f, 8.0f}, &World);
    EXPECT_EQ(toilet.Position, (VECTOR2{640.0f, 512.0f}));
    toilet.Update(DT);

    // Standing in the open bowl's picture (it reaches 51 px right of the
    // post) but 30 px from the post: nothing happens.
    PlaceHero(670.0f, 512.0f);
    EXPECT_FALSE(toilet.TouchHero(&Hero));
    EXPECT_TRUE(Hero.Active);
    EXPECT_EQ(toilet.Lid, 1);
    EXPECT_EQ(Hero.Score, 0);

    // Walking on until the hero's box reaches the post.
    PlaceHero(658.0f, 512.0f);
    EXPECT_FALSE(toilet.TouchHero(&Hero));  // the exit never hurts
    EXPECT_EQ(toilet.Lid, 0);
    EXPECT_EQ(toilet.Rider, &Hero);
    EXPECT_FALSE(Hero.Active);
    EXPECT_FLOAT_EQ(Hero.InvulnerableTime, 10.0f);
    EXPECT_EQ(Hero.Score, 400);

    // A second touch pays nothing more.
    EXPECT_FALSE(toilet.TouchHero(&Hero));
    EXPECT_EQ(Hero.Score, 400);
    EXPECT_FALSE(toilet.TouchHero(nullptr));
}

TEST_F(ToiletTest, ClimbsBrakesFadesThenEndsTheLevel) {
    TOILET toilet(nullptr, {10.0f, 8.0f}, &World);
    toilet.Update(DT);
    PlaceHero(640.0f, 512.0f);
    int doors = Plays(SOUND_DOOR_CLOSE), rises = Plays(SOUND_TOILET_RISE),
        teleports = Plays(SOUND_TELEPORT);
    toilet.TouchHero(&Hero);
    EXPECT_EQ(Plays(SOUND_DOOR_CLOSE), doors + 1);

    Run(toilet, 2.0f);  // climbing: 15 px/s² for 2 s
    EXPECT_NEAR(toilet.Velocity.y, -30.0f, 0.5f);
    EXPECT_NEAR(toilet.Position.y, 512.0f - 30.0f, 1.0f);
    EXPECT_FALSE(toilet.RiseSoundPlayed);
    Run(toilet, 2.0f);  // braking back to a halt, 60 px up
    EXPECT_TRUE(toilet.RiseSoundPlayed);
    EXPECT_FALSE(toilet.TeleportSoundPlayed);
    EXPECT_NEAR(toilet.Velocity.y, 0.0f, 0.5f);
    EXPECT_NEAR(toilet.Position.y, 512.0f - 60.0f, 1.5f);
    EXPECT_FLOAT_EQ(toilet.Alpha, 1.0f);
    // The hero rides inside; the post went up with the toilet.
    EXPECT_NEAR(Hero.Position.x, toilet.Position.x, 1e-3f);
    EXPECT_NEAR(Hero.Position.y, toilet.Position.y, 0.1f);
    EXPECT_EQ(toilet.Box.bottom, int32_t(toilet.Position.y - 5.0f));

    Run(toilet, 1.9f);  // fading for two seconds
    EXPECT_TRUE(toilet.TeleportSoundPlayed);
    EXPECT_NEAR(toilet.Alpha, 0.05f, 0.02f);
    EXPECT_FALSE(Hero.LevelOver);
    Run(toilet, 0.2f);
    EXPECT_TRUE(Hero.LevelOver);
    EXPECT_EQ(toilet.Rider, nullptr);
    EXPECT_FLOAT_EQ(toilet.Alpha, 0.0f);
    EXPECT_FALSE(toilet.IsDead());
    // "toiletrise" and "teleport" once each for the whole ride.
    EXPECT_EQ(Plays(SOUND_TOILET_RISE), rises + 1);
    EXPECT_EQ(Plays(SOUND_TELEPORT), teleports + 1);
    EXPECT_EQ(Plays(SOUND_DOOR_CLOSE), doors + 1);

    // After that it stands still, invisible, and takes no one in.
    VECTOR2 at = toilet.Position;
    Run(toilet, 1.0f);
    EXPECT_EQ(toilet.Position, at);
    Hero.Active = true;
    PlaceHero(at.x, at.y);
    toilet.TouchHero(&Hero);
    EXPECT_TRUE(Hero.Active);
    EXPECT_EQ(Hero.Score, 400);
    EXPECT_EQ(Plays(SOUND_TOILET_RISE), rises + 1);
    EXPECT_EQ(Plays(SOUND_TELEPORT), teleports + 1);
    EXPECT_EQ(Plays(SOUND_DOOR_CLOSE), doors + 1);
}

// ---------------------------------------------------------------- ITEM

using ItemTest = Cast;

TEST_F(ItemTest, FallingItemCannotBeTakenUntilItLands) {
    World.SetTile(5, 10, 1);  // ground from y 640 at x 320..383
    ITEM carrot(nullptr, 350.0f, 500.0f, &World, ITEM::CARROT);
    Hero.Health = 0.25f;
    int frames = 0;
    // The hero stands inside the item all the way down.
    do {
        carrot.Update(DT);
        PlaceHero(carrot.Position.x + 20.0f, carrot.Position.y + 30.0f);
        if (carrot.Velocity.y != 0.0f) {
            EXPECT_FALSE(carrot.TouchHero(&Hero));
            ASSERT_FALSE(carrot.Collected) << "taken in the air at y " << carrot.Position.y;
        }
    } while (carrot.Velocity.y != 0.0f && ++frames < 600);
    ASSERT_LT(frames, 600);
    EXPECT_GE(carrot.Position.y + 6.0f, 640.0f);  // resting on the ground

    int crunches = Plays(SOUND_CARROT);
    EXPECT_FALSE(carrot.TouchHero(&Hero));
    EXPECT_TRUE(carrot.Collected);
    EXPECT_EQ(Plays(SOUND_CARROT), crunches + 1);
    EXPECT_FLOAT_EQ(Hero.Health, 1.0f);
    EXPECT_EQ(Hero.Score, 150);
    EXPECT_EQ(Hero.Lives, 15);
}

TEST_F(ItemTest, CollectedItemFadesForOneSecondAndIsTakenOnce) {
    World.SetTile(5, 10, 1);
    ITEM hotdog(nullptr, 350.0f, 630.0f, &World, ITEM::HOTDOG);
    hotdog.Update(DT);  // finds the ground 14 px down at once
    ASSERT_EQ(hotdog.Velocity.y, 0.0f);
    PlaceHero(330.0f, 660.0f);
    int gulps = Plays(SOUND_HOTDOG);
    hotdog.TouchHero(&Hero);
    EXPECT_EQ(Hero.Lives, 16);
    EXPECT_EQ(Hero.Score, 300);
    EXPECT_FLOAT_EQ(Hero.Health, 1.0f);

    int frames = 0;
    while (!hotdog.IsDead() && frames < 600) {
        hotdog.Update(DT);
        hotdog.TouchHero(&Hero);
        ++frames;
    }
    EXPECT_NEAR(frames, 60, 1);  // one second of fading
    EXPECT_EQ(Plays(SOUND_HOTDOG), gulps + 1);
    EXPECT_EQ(Hero.Lives, 16);
    EXPECT_EQ(Hero.Score, 300);
}

TEST_F(ItemTest, CarrotLooksForGroundHigherThanTheHotdog) {
    World.SetTile(5, 10, 1);
    ITEM carrot(nullptr, 350.0f, 630.0f, &World, ITEM::CARROT);
    ITEM hotdog(nullptr, 350.0f, 630.0f, &World, ITEM::HOTDOG);
    carrot.Update(DT);
    hotdog.Update(DT);
    EXPECT_GT(carrot.Velocity.y, 0.0f);  // 636 is still air
    EXPECT_EQ(hotdog.Velocity.y, 0.0f);  // 644 is ground
    EXPECT_EQ(carrot.Points, 150);
    EXPECT_EQ(hotdog.Points, 300);
    EXPECT_EQ(carrot.Layer, LAYER_OVER_HERO);
}

TEST_F(ItemTest, ItemWithNoGroundFallsOutOfTheLevel) {
    ITEM carrot(nullptr, 350.0f, 100.0f, &World, ITEM::CARROT);
    int frames = 0;
    while (!carrot.IsDead() && frames < 1000) {
        carrot.Update(DT);
        ++frames;
    }
    EXPECT_GT(carrot.Position.y, 3000.0f);
    EXPECT_LT(frames, 1000);
}

// ---------------------------------------------------------------- BUBBLE

using BubbleTest = Cast;

TEST_F(BubbleTest, CaptureKeepsAtMostThreeSecondsAndOneMore) {
    BUBBLE shortLived(nullptr, 400.0f, 300.0f, 0.0f, 0.0f, &World, 0.0f);
    shortLived.Update(DT);
    shortLived.Lifetime = 1.5f;
    CentreHero(420.0f, 300.0f);
    EXPECT_FALSE(shortLived.TouchHero(&Hero));
    EXPECT_EQ(shortLived.Captive, &Hero);
    EXPECT_FLOAT_EQ(shortLived.Lifetime, 2.5f);
    EXPECT_FALSE(Hero.Active);

    Hero.Active = true;
    BUBBLE longLived(nullptr, 400.0f, 300.0f, 0.0f, 0.0f, &World, 0.0f);
    longLived.Update(DT);
    longLived.Lifetime = 12.0f;
    longLived.TouchHero(&Hero);
    EXPECT_EQ(longLived.Captive, &Hero);
    EXPECT_FLOAT_EQ(longLived.Lifetime, 3.0f);
}

TEST_F(BubbleTest, NewBubbleLivesTenToSeventeenSeconds) {
    for (int i = 0; i < 20; ++i) {
        BUBBLE b(nullptr, 0.0f, 0.0f, 0.0f, 0.0f, &World, 0.0f);
        EXPECT_GE(b.Lifetime, 10.0f);
        EXPECT_LT(b.Lifetime, 17.0f);
    }
}

TEST_F(BubbleTest, InvulnerableOrTrappedHeroIsNeitherCaughtNorFollowed) {
    BUBBLE bubble(nullptr, 400.0f, 300.0f, 5.0f, 0.0f, &World, 0.0f);
    bubble.Update(DT);
    VECTOR2 drift = bubble.Velocity;
    CentreHero(420.0f, 300.0f);
    Hero.InvulnerableTime = 1.0f;
    bubble.TouchHero(&Hero);
    EXPECT_EQ(bubble.Captive, nullptr);
    EXPECT_TRUE(Hero.Active);
    EXPECT_EQ(bubble.Velocity, drift);

    // Far away and vulnerable, it steers towards him.
    Hero.InvulnerableTime = 0.0f;
    CentreHero(400.0f, 800.0f);
    bubble.TouchHero(&Hero);
    EXPECT_EQ(bubble.Captive, nullptr);
    EXPECT_NEAR(bubble.Velocity.y - drift.y, 30.0f * DT, 1e-4f);

    // Held by another bubble, he is left alone.
    drift = bubble.Velocity;
    Hero.Active = false;
    bubble.TouchHero(&Hero);
    EXPECT_EQ(bubble.Velocity, drift);
}

TEST_F(BubbleTest, HomingNeverExceedsOneHundred) {
    BUBBLE bubble(nullptr, 400.0f, 300.0f, 99.9f, 0.0f, &World, 0.0f);
    bubble.Update(0.5f);
    CentreHero(1400.0f, 300.0f);
    bubble.TouchHero(&Hero);
    EXPECT_NEAR(bubble.Velocity.Length(), 100.0f, 1e-3f);
}

TEST_F(BubbleTest, TrappedHeroDrainsAndIsReleasedWithGuard) {
    BUBBLE bubble(nullptr, 400.0f, 300.0f, 0.0f, 0.0f, &World, 0.0f);
    bubble.Update(DT);
    CentreHero(420.0f, 300.0f);
    Hero.Velocity = {50.0f, -80.0f};
    int caught = Plays(SOUND_IN_BUBBLE);
    bubble.TouchHero(&Hero);
    ASSERT_EQ(bubble.Captive, &Hero);
    EXPECT_EQ(Plays(SOUND_IN_BUBBLE), caught + 1);
    bubble.TouchHero(&Hero);  // held already: caught once
    EXPECT_EQ(Plays(SOUND_IN_BUBBLE), caught + 1);

    Hero.Health = 0.1f;
    float before = Hero.Health;
    bubble.Update(1.0f);
    EXPECT_NEAR(Hero.Health, before - 0.08f, 1e-5f);
    bubble.Render(nullptr, 1.0f);  // carries the hero along
    EXPECT_EQ(Hero.Position, bubble.Position);
    EXPECT_FALSE(bubble.IsDead());

    // Health runs out inside: the bubble bursts on the next ask.
    bubble.Update(0.5f);
    EXPECT_LT(Hero.Health, 0.0f);
    int pops = Plays(SOUND_BUBBLE_POP);
    EXPECT_TRUE(bubble.IsDead());
    EXPECT_EQ(Plays(SOUND_BUBBLE_POP), pops + 1);
    EXPECT_TRUE(Hero.Active);
    EXPECT_FLOAT_EQ(Hero.InvulnerableTime, 2.5f);
    EXPECT_EQ(Hero.Animation, ANIM_DYING);
    EXPECT_EQ(Hero.Step, 0);
    EXPECT_EQ(Hero.Velocity, (VECTOR2{0.0f, 0.0f}));
    EXPECT_EQ(Hero.Position, bubble.Position);
}

TEST_F(BubbleTest, RisesAndBouncesSoftly) {
    // A floor just below.
    World.SetTile(6, 5, 1);  // x 384..447, y 320..383
    BUBBLE bubble(nullptr, 410.0f, 301.0f, 0.0f, 100.0f, &World, 0.0f);
    bubble.Update(DT);
    EXPECT_NEAR(bubble.Velocity.y, -(100.0f - 10.0f * DT) * 0.2f, 1e-3f);

    // A wall to the right.
    BUBBLE side(nullptr, 370.0f, 200.0f, 60.0f, 0.0f, &World, 0.0f);
    World.SetTile(6, 3, 1);  // x 384.., y 192..255
    side.Update(DT);
    EXPECT_NEAR(side.Velocity.x, -30.0f, 1e-4f);
    EXPECT_LT(side.Velocity.y, 0.0f);  // it rises by itself
}

// ---------------------------------------------------------------- FLOZER

using FlozerTest = Cast;

TEST_F(FlozerTest, TwoSecondDelayMeansFiveSecondsOfDrifting) {
    int thrown = Plays(SOUND_FLOZER_THROWN), whirs = Plays(SOUND_FLOZER);
    FLOZER flozer(nullptr, 400.0f, 300.0f, 20.0f, 0.0f, &World, 2.0f);
    EXPECT_EQ(Plays(SOUND_FLOZER_THROWN), thrown + 1);
    Run(flozer, 4.95f);
    EXPECT_EQ(Plays(SOUND_FLOZER), whirs);
    EXPECT_EQ(flozer.Velocity, (VECTOR2{20.0f, 0.0f}));
    EXPECT_EQ(flozer.SpinUp, 0.0f);
    EXPECT_NEAR(flozer.Position.x, 400.0f + 20.0f * 4.95f, 0.1f);
    Run(flozer, 0.1f);
    EXPECT_EQ(flozer.Velocity, (VECTOR2{0.0f, 0.0f}));
    EXPECT_GT(flozer.SpinUp, 0.0f);
    Run(flozer, 1.0f);
    EXPECT_EQ(Plays(SOUND_FLOZER), whirs + 1);  // once, as it stops
}

TEST_F(FlozerTest, WithNoTargetSpinsInPlaceUntilItFades) {
    FLOZER flozer(nullptr, 400.0f, 300.0f, 20.0f, 10.0f, &World, 0.0f);
    Run(flozer, 3.1f);
    VECTOR2 stop = flozer.Position;
    Run(flozer, 6.0f);  // well past full spin
    EXPECT_GT(flozer.SpinUp, 1.0f);
    EXPECT_EQ(flozer.Position, stop);
    float angle = flozer.Angle;
    flozer.Update(DT);
    EXPECT_NEAR(angle - flozer.Angle, flozer.SpinUp * 40.0f * DT, 1e-3f);
    EXPECT_FALSE(flozer.Fading);

    Run(flozer, 6.0f);  // age 15.1
    EXPECT_TRUE(flozer.Fading);
    EXPECT_EQ(flozer.Position, stop);
    EXPECT_FALSE(flozer.IsDead());
    Run(flozer, 1.0f);
    EXPECT_TRUE(flozer.IsDead());
}

TEST_F(FlozerTest, LaunchAimsAtWhereTheHeroWasThen) {
    FLOZER flozer(nullptr, 400.0f, 300.0f, 0.0f, 0.0f, &World, 0.0f);
    PlaceHero(1000.0f, 300.0f);  // far away: seen, not touched
    flozer.TouchHero(&Hero);
    EXPECT_EQ(flozer.Target, &Hero);
    while (flozer.SpinUp <= 1.0f) {
        flozer.Update(DT);
    }
    EXPECT_NEAR(flozer.Velocity.x, 500.0f, 1e-3f);
    EXPECT_NEAR(flozer.Velocity.y, 0.0f, 1e-3f);
    // Launched once: the hero moving away is not followed.
    PlaceHero(400.0f, 900.0f);
    flozer.Update(DT);
    EXPECT_NEAR(flozer.Velocity.x, 500.0f, 1e-3f);
    EXPECT_NEAR(flozer.Velocity.y, 0.0f, 1e-3f);
}

TEST_F(FlozerTest, DriftingFlozerPopsHarmlesslyButNotForAGuardedHero) {
    FLOZER flozer(nullptr, 400.0f, 300.0f, 0.0f, 0.0f, &World, 0.0f);
    flozer.Update(DT);
    CentreHero(420.0f, 300.0f);
    Hero.InvulnerableTime = 0.5f;
    flozer.TouchHero(&Hero);
    EXPECT_FALSE(flozer.Fading);
    Hero.InvulnerableTime = 0.0f;
    Hero.Active = false;  // inside a bubble
    flozer.TouchHero(&Hero);
    EXPECT_FALSE(flozer.Fading);

    Hero.Active = true;
    int pops = Plays(SOUND_LAUNCH);
    EXPECT_FALSE(flozer.TouchHero(&Hero));
    EXPECT_TRUE(flozer.Fading);
    flozer.TouchHero(&Hero);
    EXPECT_EQ(Plays(SOUND_LAUNCH), pops + 1);
    EXPECT_FLOAT_EQ(Hero.Health, 1.0f);
    EXPECT_FLOAT_EQ(Hero.InvulnerableTime, 0.0f);
}

TEST_F(FlozerTest, SpinningFlozerCutsAndKnocksTheHeroAway) {
    FLOZER flozer(nullptr, 400.0f, 300.0f, 0.0f, 0.0f, &World, 0.0f);
    Run(flozer, 3.5f);
    ASSERT_GT(flozer.SpinUp, 0.0f);
    CentreHero(390.0f, 300.0f);  // a little to the left
    Hero.OnGround = true;
    EXPECT_FALSE(flozer.TouchHero(&Hero));
    EXPECT_NEAR(Hero.Health, 0.7f, 1e-6f);
    EXPECT_FLOAT_EQ(Hero.InvulnerableTime, 2.5f);
    EXPECT_FLOAT_EQ(Hero.Slide.x, -800.0f);
    EXPECT_EQ(Hero.Facing, 1);
    EXPECT_TRUE(Hero.Stumbling);
    EXPECT_FALSE(flozer.Fading);

    HERO flyer(nullptr, &World);
    flyer.Position = {410.0f, 335.0f};
    flyer.Box = {395, 275, 425, 325};
    flyer.Facing = 1;
    flozer.TouchHero(&flyer);
    EXPECT_FLOAT_EQ(flyer.Velocity.x, 800.0f);
    EXPECT_EQ(flyer.Facing, 0);
    EXPECT_EQ(flyer.Animation, ANIM_STUMBLING);
    EXPECT_FALSE(flyer.Stumbling);
}

// ---------------------------------------------------------------- DEATHRAY

using DeathRayTest = Cast;

TEST_F(DeathRayTest, SweepsAQuarterTurnInTwoSeconds) {
    const float quarter = std::numbers::pi_v<float> / 4;
    DEATHRAY ray(nullptr, 400.0f, 300.0f, &World, quarter);
    EXPECT_EQ(ray.Pivot(), (VECTOR2{400.0f, 250.0f}));
    Run(ray, 1.0f);
    EXPECT_NEAR(ray.Angle, 0.0f, 1e-4f);
    EXPECT_FALSE(ray.IsDead());
    Run(ray, 1.0f);
    EXPECT_NEAR(ray.Angle, -quarter, 1e-4f);
    ray.Update(DT);
    EXPECT_TRUE(ray.IsDead());
}

TEST_F(DeathRayTest, ElectrocutesNearTheBeamOnlyWhenUnguarded) {
    int crackles = Plays(SOUND_DEATHRAY), shocks = Plays(SOUND_ELECTROCUTED);
    DEATHRAY ray(nullptr, 400.0f, 300.0f, &World, 0.0f);  // straight down
    EXPECT_EQ(Plays(SOUND_DEATHRAY), crackles + 1);
    // Far down the beam, 90 px to the side: hit.
    Hero.Velocity = {100.0f, -50.0f};
    Hero.Aiming = true;
    PlaceHero(490.0f, 900.0f);
    EXPECT_FALSE(ray.TouchHero(&Hero));
    EXPECT_NEAR(Hero.Health, 0.75f, 1e-6f);
    EXPECT_FLOAT_EQ(Hero.InvulnerableTime, 2.0f);
    EXPECT_FLOAT_EQ(Hero.StunTime, 2.0f);
    EXPECT_TRUE(Hero.Electrocuted);
    EXPECT_EQ(Hero.Animation, ANIM_DYING);
    EXPECT_EQ(Hero.Velocity, (VECTOR2{0.0f, 0.0f}));
    EXPECT_FALSE(Hero.Aiming);
    // Still in the beam but guarded now.
    ray.TouchHero(&Hero);
    EXPECT_NEAR(Hero.Health, 0.75f, 1e-6f);
    EXPECT_EQ(Plays(SOUND_ELECTROCUTED), shocks + 1);

    HERO other(nullptr, &World);
    other.Position = {510.0f, 900.0f};  // 110 px off the line
    ray.TouchHero(&other);
    EXPECT_FLOAT_EQ(other.Health, 1.0f);
    other.Position = {400.0f, 170.0f};  // above the pivot: measured below it
    ray.TouchHero(&other);
    EXPECT_FLOAT_EQ(other.Health, 1.0f);
    EXPECT_FALSE(ray.TouchHero(nullptr));
}

// ---------------------------------------------------------------- SPARK

using SparkTest = Cast;

TEST_F(SparkTest, PushingSparkShovesSlowsToThirtyPercentAndFades) {
    SPARK spark(nullptr, 400.0f, 300.0f, -200.0f, 40.0f, &World, 1);
    spark.Update(DT);
    CentreHero(390.0f, 300.0f);
    Hero.OnGround = true;
    Hero.Velocity = {30.0f, 120.0f};
    VECTOR2 flying = spark.Velocity;
    EXPECT_TRUE(spark.TouchHero(&Hero));  // the hero's contact rule takes over
    EXPECT_FLOAT_EQ(Hero.Slide.x, -200.0f);
    EXPECT_TRUE(Hero.Stumbling);
    EXPECT_EQ(Hero.Facing, 1);
    EXPECT_EQ(Hero.Velocity.y, 0.0f);
    EXPECT_FLOAT_EQ(Hero.Health, 1.0f);  // the contact rule does the damage
    EXPECT_NEAR(spark.Velocity.x, flying.x * 0.3f, 1e-4f);
    EXPECT_NEAR(spark.Velocity.y, flying.y * 0.3f, 1e-4f);
    EXPECT_TRUE(spark.Fading);

    // Fading, it cannot push again and is gone a second later.
    EXPECT_FALSE(spark.TouchHero(&Hero));
    Run(spark, 0.98f);
    EXPECT_FALSE(spark.IsDead());
    Run(spark, 0.05f);
    EXPECT_TRUE(spark.IsDead());
}

TEST_F(SparkTest, PushingSparkKnocksAnAirborneHeroAlong) {
    SPARK spark(nullptr, 400.0f, 300.0f, 180.0f, 0.0f, &World, 3);
    spark.Update(DT);
    CentreHero(410.0f, 300.0f);
    Hero.Velocity = {-50.0f, 200.0f};
    Hero.Facing = 1;
    EXPECT_TRUE(spark.TouchHero(&Hero));
    EXPECT_FLOAT_EQ(Hero.Velocity.x, 180.0f);
    EXPECT_EQ(Hero.Velocity.y, 0.0f);
    EXPECT_EQ(Hero.Animation, ANIM_STUMBLING);
    EXPECT_EQ(Hero.Facing, 0);
    EXPECT_FALSE(Hero.Stumbling);
}

TEST_F(SparkTest, DamagingSparkElectrocutes) {
    SPARK spark(nullptr, 400.0f, 300.0f, 100.0f, 0.0f, &World, 0);
    spark.Update(DT);
    CentreHero(420.0f, 300.0f);
    Hero.Velocity = {100.0f, -200.0f};
    EXPECT_FALSE(spark.TouchHero(&Hero));
    EXPECT_NEAR(Hero.Health, 0.7f, 1e-6f);
    EXPECT_FLOAT_EQ(Hero.StunTime, 2.0f);
    EXPECT_FLOAT_EQ(Hero.InvulnerableTime, 2.0f);
    EXPECT_TRUE(Hero.Electrocuted);
    EXPECT_EQ(Hero.Animation, ANIM_DYING);
    EXPECT_NEAR(Hero.Velocity.x, 30.0f, 1e-4f);
    EXPECT_NEAR(Hero.Velocity.y, -60.0f, 1e-4f);
    EXPECT_FLOAT_EQ(spark.Velocity.x, 100.0f);  // flies on, fading
    EXPECT_TRUE(spark.Fading);
}

TEST_F(SparkTest, WallOrAgePutsItOutButItFliesOn) {
    World.SetTile(7, 4, 1);  // x 448..511, y 256..319
    SPARK spark(nullptr, 430.0f, 290.0f, 120.0f, 0.0f, &World, 0);
    spark.Update(DT);
    EXPECT_TRUE(spark.Fading);
    float x = spark.Position.x;
    spark.Update(DT);
    EXPECT_GT(spark.Position.x, x);

    SPARK old(nullptr, 100.0f, 100.0f, 10.0f, 0.0f, &World, 1);
    Run(old, 9.9f);
    EXPECT_FALSE(old.Fading);
    Run(old, 0.2f);
    EXPECT_TRUE(old.Fading);
    // A guarded hero is not touched by a live spark either.
    SPARK live(nullptr, 100.0f, 100.0f, 10.0f, 0.0f, &World, 0);
    live.Update(DT);
    CentreHero(120.0f, 100.0f);
    Hero.InvulnerableTime = 0.1f;
    EXPECT_FALSE(live.TouchHero(&Hero));
    EXPECT_FALSE(live.Fading);
}

// ------------------------------------------------------- drawing on pixels

constexpr ARGB BLACK = 0xFF000000u;
constexpr ARGB RED = 0xFFFF0000u;
constexpr ARGB BLUE = 0xFF0000FFu;

bool Near(ARGB a, ARGB b) {
    return TEST_SUPPORT::ColourNear(a, b, 40);
}

class CastPixels : public Cast {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(Device.CreateOffscreen(&error)) << error;
    }
    void TearDown() override {
        delete Sheet;
        DeathRaySheet = nullptr;
        BubbleSheet = nullptr;
        Device.Destroy();
    }

    // A beam segment as wide as the ray's reach: a red core 40 px wide in a
    // blue band of 200 px, the same top to bottom.
    void BeamSheet() {
        std::vector<uint32_t> px(200 * 200);
        for (int y = 0; y < 200; ++y) {
            for (int x = 0; x < 200; ++x) {
                px[y * 200 + x] = std::abs(x - 100) < 20 ? RED : BLUE;
            }
        }
        std::string path = Dir.File("beam.dds");
        TEST_SUPPORT::WriteBytes(path, TEST_SUPPORT::MakeDds(200, 200, px));
        Sheet = TEXTURE::LoadExact(&Device, path, 200, 200);
        DeathRaySheet = Sheet;
    }

    void Draw(OBJECT& o, float zoom) {
        SPRITE sprite(&Device);
        Device.Clear(BLACK);
        ASSERT_TRUE(Device.BeginScene());
        sprite.Begin();
        o.Render(&sprite, zoom);
        sprite.End();
        Device.EndScene();
    }

    ARGB PixelAt(VECTOR2 world, float zoom) {
        VECTOR2 s = World.WorldToScreen(world.x, world.y, zoom);
        return Device.ReadPixel(int(std::lround(s.x)), int(std::lround(s.y)));
    }

    TEST_SUPPORT::TEMP_DIR Dir;
    DEVICE Device;
    TEXTURE* Sheet = nullptr;
};

// Wherever the drawn beam lies, the hit test agrees: the core on the line,
// the band within reach, black beyond; and the sweep runs from +x to -x.
TEST_F(CastPixels, DeathRayHitsWhereItIsDrawn) {
    BeamSheet();
    ASSERT_NE(Sheet, nullptr);
    struct CASE {
        float Age;  // s; 0.3 leaves a partial segment at the top
        float Zoom;
    };
    for (CASE c : {CASE{0.3f, 1.0f}, CASE{1.0f, 1.0f}, CASE{1.7f, 0.5f}}) {
        DEATHRAY ray(nullptr, 400.0f, 150.0f, &World, std::numbers::pi_v<float> / 4);
        ray.Update(c.Age);
        Draw(ray, c.Zoom);
        VECTOR2 pivot = ray.Pivot();
        VECTOR2 along{std::sin(ray.Angle), std::cos(ray.Angle)};
        VECTOR2 across{along.y, -along.x};
        for (float d : {80.0f, 160.0f, 300.0f, 450.0f}) {
            for (float off : {0.0f, -60.0f, 60.0f, -150.0f, 150.0f}) {
                VECTOR2 p = pivot + along * d + across * off;
                ARGB seen = PixelAt(p, c.Zoom);
                HERO probe(nullptr, &World);
                probe.Position = p;
                ray.TouchHero(&probe);
                bool hit = probe.Health < 1.0f;
                SCOPED_TRACE(testing::Message() << "age " << c.Age << " zoom " << c.Zoom << " d "
                                                << d << " off " << off);
                if (off == 0.0f) {
                    EXPECT_TRUE(Near(seen, RED)) << std::hex << seen;
                    EXPECT_TRUE(hit);
                } else if (std::abs(off) < 100.0f) {
                    EXPECT_TRUE(Near(seen, BLUE)) << std::hex << seen;
                    EXPECT_TRUE(hit);
                } else {
                    EXPECT_TRUE(Near(seen, BLACK)) << std::hex << seen;
                    EXPECT_FALSE(hit);
                }
            }
        }
        // Nothing above the pivot.
        EXPECT_TRUE(Near(PixelAt(pivot - along * 30.0f, c.Zoom), BLACK));
        // Early on the beam reaches down and to the right, late down and left.
        VECTOR2 low = pivot + along * 300.0f;
        if (c.Age < 1.0f) {
            EXPECT_GT(low.x, pivot.x + 100.0f);
        } else if (c.Age > 1.0f) {
            EXPECT_LT(low.x, pivot.x - 100.0f);
        }
    }
}

// The whole cast drawn with the baked art over a strip of floor, written
// to a PNG for a person to look at (CAST_PICTURE_DIR, else the system's
// temporary folder). Each object must at least put colour where it stands.
class CastPicture : public BAKED_ART_SCENE {
protected:
    void SetUp() override { OpenScene("textures/bubble.dds", 0); }

    // True when the picture within `radius` screen pixels of the world
    // point differs from the same spot drawn without the cast.
    bool Marked(const std::vector<OBJECT*>& cast, VECTOR2 at, float zoom, int radius = 4) {
        VECTOR2 s = World->WorldToScreen(at.x, at.y, zoom);
        std::vector<ARGB> bare;
        Draw({}, zoom);
        for (int dy = -radius; dy <= radius; ++dy) {
            for (int dx = -radius; dx <= radius; ++dx) {
                bare.push_back(Device.ReadPixel(int(s.x) + dx, int(s.y) + dy));
            }
        }
        Draw(cast, zoom);
        size_t i = 0;
        for (int dy = -radius; dy <= radius; ++dy) {
            for (int dx = -radius; dx <= radius; ++dx) {
                if (!Near(bare[i++], Device.ReadPixel(int(s.x) + dx, int(s.y) + dy))) {
                    return true;
                }
            }
        }
        return false;
    }
};

TEST_F(CastPicture, EveryObjectDrawnWhereItStands) {
    HERO hero(&Device, World);
    TOILET open(&Device, {2.0f, 8.0f}, World);
    TOILET closed(&Device, {4.0f, 8.0f}, World);
    closed.Lid = 0;
    ITEM carrot(&Device, 380.0f, 505.0f, World, ITEM::CARROT);
    ITEM hotdog(&Device, 450.0f, 497.0f, World, ITEM::HOTDOG);
    BUBBLE bubble(&Device, 560.0f, 420.0f, 0.0f, 0.0f, World, 0.0f);
    BUBBLE trap(&Device, 650.0f, 420.0f, 0.0f, 0.0f, World, 0.6f);
    trap.Captive = &hero;
    FLOZER drifting(&Device, 90.0f, 90.0f, 0.0f, 0.0f, World, 0.0f);
    FLOZER charging(&Device, 170.0f, 90.0f, 0.0f, 0.0f, World, 0.0f);
    charging.SpinUp = 0.5f;
    charging.Angle = -0.5f;
    FLOZER charged(&Device, 250.0f, 90.0f, 0.0f, 0.0f, World, 0.0f);
    charged.SpinUp = 0.9f;
    charged.Angle = -1.0f;
    SPARK damaging(&Device, 90.0f, 200.0f, 0.0f, 0.0f, World, 0);
    damaging.Spin = 0.0f;
    SPARK pushing(&Device, 170.0f, 200.0f, 0.0f, 0.0f, World, 1);
    pushing.Spin = 0.0f;
    // Early in its sweep: the beam swings down and to the right of its pivot.
    DEATHRAY ray(&Device, 560.0f, 100.0f, World, std::numbers::pi_v<float> / 4);
    ray.Update(0.3f);
    std::vector<OBJECT*> cast = {&ray,  &open,     &closed,   &carrot,  &hotdog,   &bubble,
                                 &trap, &drifting, &charging, &charged, &damaging, &pushing};
    for (OBJECT* o : {(OBJECT*)&carrot, (OBJECT*)&hotdog}) {
        o->Update(0.0f);  // settle on the floor
    }

    Draw(cast, 1.0f);
    std::string path = PicturePath("vortigan_cast.png");
    EXPECT_TRUE(Device.SaveScreenshot(path)) << path;
    Draw(cast, 0.6f);
    EXPECT_TRUE(Device.SaveScreenshot(PicturePath("vortigan_cast_zoom.png")));

    EXPECT_TRUE(Marked({&open}, {open.Position.x + 10.0f, open.Position.y - 40.0f}, 1.0f));
    EXPECT_TRUE(Marked({&closed}, {closed.Position.x, closed.Position.y - 40.0f}, 1.0f));
    EXPECT_TRUE(Marked({&carrot}, carrot.Position, 1.0f));
    EXPECT_TRUE(Marked({&hotdog}, hotdog.Position, 0.6f));
    EXPECT_TRUE(Marked({&bubble}, bubble.Position + VECTOR2{0.0f, 22.0f}, 1.0f));
    EXPECT_TRUE(Marked({&trap}, trap.Position, 1.0f));
    EXPECT_TRUE(Marked({&charged}, charged.Position, 1.0f));
    EXPECT_TRUE(Marked({&damaging}, damaging.Position, 1.0f));
    EXPECT_TRUE(Marked({&pushing}, pushing.Position, 0.6f));
    VECTOR2 down{std::sin(ray.Angle), std::cos(ray.Angle)};
    EXPECT_TRUE(Marked({&ray}, ray.Pivot() + down * 300.0f, 1.0f, 25));
    EXPECT_FALSE(Marked({&ray}, ray.Pivot() + VECTOR2{-down.x, down.y} * 300.0f, 1.0f, 25));
    EXPECT_FALSE(Marked({&ray}, ray.Pivot() - down * 40.0f, 1.0f, 25));
    // A collected pickup that has faded out leaves nothing behind.
    carrot.Alpha = 0.0f;
    EXPECT_FALSE(Marked({&carrot}, carrot.Position, 1.0f));
    trap.Captive = nullptr;
}

}  // namespace
