// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "objects/hero.h"

#include <cmath>
#include <numbers>

#include "objects/debris.h"
#include "objects/puff.h"
#include "objects/sprites.h"
#include "platform/controls.h"
#include "platform/random.h"
#include "platform/settings.h"
#include "platform/sound.h"
#include "platform/sprite.h"
#include "world/world.h"

namespace {

constexpr float PI = std::numbers::pi_v<float>;

constexpr float SCORE_COUNT_RATE = 100.0f;  // points per s on the HUD
constexpr float DYING_SPIN = 3.0f;          // rad/s
constexpr float ANIM_STEP_TIME = 0.2f;      // s per ground animation step
constexpr float AIR_BRAKING = 150.0f;       // px/s²
constexpr float JUMP_SPEED = 300.0f;        // px/s, straight up
constexpr float MIN_CHARGE = 0.2f;          // a weaker charge only lifts 2 px
constexpr float HARD_LANDING = 800.0f;      // px/s downward: puffs and a thud
constexpr float SLIDING_LANDING = 600.0f;   // px/s: fast enough to slide on
constexpr float SLIDE_DAMPING = 10.0f;      // per s
constexpr float STUMBLE_DAMPING = 6.0f;     // per s, a stumble slides further
constexpr float SLIDE_STOP = 3.0f;          // px/s; below this the slide is over
constexpr float STUMBLE_STUN = 1.0f;        // s frozen after a stumble
constexpr float WALL_BOUNCE_X = -0.3f;
constexpr float WALL_BOUNCE_Y = 0.3f;
constexpr float STUMBLE_KEEP_Y = 0.3f;
constexpr float UNSTICK_STEP = 0.3f;       // px per frame out of a floor
constexpr float FALL_OUT_DEPTH = 1400.0f;  // px; below this a life is lost
constexpr float HURT_SHIELD = 2.5f;        // s of blinking after a hurt
constexpr float HURT_DAMAGE = 0.25f;
constexpr float CONTACT_BOUNCE = -0.7f;  // share of the vertical speed kept

// Where the hero feels the tiles, relative to the point between its feet
// (px). Feet probes stop walking, body probes bounce off walls.
constexpr float WALK_PROBE_X = 20.0f;
constexpr float WALK_PROBE_Y = -2.0f;
constexpr float WALL_PROBE_X = 20.0f;
constexpr float WALL_PROBE_Y = -30.0f;
constexpr float FOOT_PROBE_X = 10.0f;
constexpr float SLIDE_PROBE_Y = -5.0f;
constexpr float HEAD_PROBE_Y = -60.0f;  // the top of the hero's box

// A puff thrown up by the hero: velocity, scale cap base, acceleration y,
// age rate. Every one starts at the hero's feet unless said otherwise.
struct PUFF_SPEC {
    float vx, vy, cap, ay, ageRate;
};

// A hard landing blows dust out to both sides.
constexpr PUFF_SPEC LANDING_PUFFS[] = {
    {-80.0f, -5.0f, 1.3f, -15.0f, 0.9f}, {80.0f, -5.0f, 1.3f, -15.0f, 0.7f},
    {-60.0f, -3.0f, 0.8f, -10.0f, 0.8f}, {60.0f, -3.0f, 0.8f, -10.0f, 0.6f},
    {-30.0f, -3.0f, 0.6f, -10.0f, 1.0f}, {30.0f, -3.0f, 0.6f, -10.0f, 1.1f},
};

// Landing on an enemy: the four smaller landing puffs.
constexpr PUFF_SPEC STOMP_PUFFS[] = {
    {-60.0f, -3.0f, 0.8f, -10.0f, 0.8f},
    {60.0f, -3.0f, 0.8f, -10.0f, 0.6f},
    {-30.0f, -3.0f, 0.6f, -10.0f, 1.0f},
    {30.0f, -3.0f, 0.6f, -10.0f, 1.1f},
};

// A wall hit: the faster the hero, the more dust and rock. Rows with
// `chance` lose one time in three. x velocities are multiplied by the side
// (+1 for a wall taken to be on the left).
struct WALL_EFFECT {
    float minSpeed;  // px/s, hit speed above which the row happens
    bool debris;     // a chunk of rock rather than a puff
    bool chance;     // rand() mod 3 decides
    float vx, vy;    // px/s
    float cap;       // puff scale cap base
};
constexpr WALL_EFFECT WALL_EFFECTS[] = {
    {800.0f, false, false, 5.0f, -60.0f, 2.3f}, {800.0f, false, false, 5.0f, 80.0f, 2.3f},
    {600.0f, false, false, 5.0f, -40.0f, 1.3f}, {600.0f, false, false, 5.0f, 60.0f, 1.3f},
    {400.0f, false, false, 5.0f, -10.0f, 0.8f}, {400.0f, false, false, 5.0f, 30.0f, 0.8f},
    {400.0f, true, true, 20.0f, 0.0f, 0.0f},    {600.0f, true, true, 60.0f, -40.0f, 0.0f},
};
constexpr float WALL_PUFF_X = -20.0f;  // px from the hero, times the side
constexpr float WALL_DEBRIS_X = -15.0f;
constexpr float WALL_EFFECT_Y = -10.0f;

// The arrow that shows the aim and the charge, on the effects sheet's
// lower row: 64 x 32, uncharged on the left, charged on the right.
constexpr float ARROW_OFFSET = 45.0f;  // px from the pivot to the arrow's base
constexpr float ARROW_LENGTH = 64.0f;
constexpr float ARROW_HALF = 16.0f;
constexpr float ARROW_TOP = -40.0f;  // px above the feet, so it turns at −24
constexpr ARGB BLINK_FAINT = 0x44FFFFFF;
// Reduced flashing: the grace after a hurt and a shock as steady tints.
constexpr ARGB HURT_TINT = 0xFFFFA0A0;
constexpr ARGB SHOCK_TINT = 0xFFA0C8FF;

// The steps of the jump and mega-jump sequences while in the air.
constexpr int32_t STEP_RISING = 1;
constexpr int32_t STEP_FALLING = 2;

void ThrowPuff(WORLD* world, DEVICE* device, VECTOR2 at, const PUFF_SPEC& p) {
    world->AddObject(new PUFF(device, at.x, at.y, p.vx, p.vy, world, p.cap, 0.0f, p.ay, p.ageRate));
}

}  // namespace

HERO::HERO(DEVICE* device, WORLD* world) : OBJECT(device, world, {800.0f, 600.0f}, {32.0f, 73.0f}) {
    for (int k = 0; k < HERO_FRAMES; ++k) {
        Frames[k].left = 64 * (k % HERO_POSES);
        Frames[k].top = 74 * (k / HERO_POSES);
        Frames[k].right = Frames[k].left + 64;
        Frames[k].bottom = Frames[k].top + 74;
    }
    // Poses by their place on the top row.
    Animations = {
        {0, 1, 2, 1},  // ANIM_STANDING
        {3, 4, 5, 4},  // ANIM_WALKING
        {6, 10, 4},    // ANIM_JUMPING: crouch, rising, falling
        {6, 7, 8, 6},  // ANIM_MEGA_JUMP: aiming, then rising and falling
        {9},           // ANIM_STUMBLING
        {11, 12},      // ANIM_DYING; electrocuted alternates both
        {6},           // ANIM_CROUCHING
    };
}

int HERO::CurrentFrame() const {
    int a = Animation % ANIM_COUNT;
    if (a < 0 || Animations[a].empty()) {
        return 0;
    }
    const std::vector<int>& seq = Animations[a];
    int n = static_cast<int>(seq.size());
    int frame = seq[((Step % n) + n) % n] + HERO_POSES * Facing;
    return (frame < 0 || frame >= HERO_FRAMES) ? 0 : frame;
}

void HERO::ResetForLevel(VECTOR2 start) {
    Health = 1.0f;
    Active = true;
    GameOver = false;
    Position = start;
    RespawnPoint[0] = static_cast<int32_t>(start.x);
    RespawnPoint[1] = static_cast<int32_t>(start.y);
    // Whatever the last level left the hero doing ends here: a hero who died
    // on the way into the exit must not arrive falling.
    Dying = false;
    Electrocuted = false;
    Stumbling = false;
    Aiming = false;
    Jumping = false;
    StunTime = 0.0f;
    Spin = 0.0f;
    Slide = {0.0f, 0.0f};
    Velocity = {0.0f, 0.0f};
    Animation = ANIM_STANDING;
}

void HERO::LoseLife() {
    Lives -= 1;
    Dying = false;
    Electrocuted = false;
    Health = 1.0f;
    Position = {static_cast<float>(RespawnPoint[0]), static_cast<float>(RespawnPoint[1]) - 2.0f};
    Velocity = {0.0f, 0.0f};
    InvulnerableTime = HURT_SHIELD;
    Spin = 0.0f;
    Animation = ANIM_STANDING;
    Aiming = false;
    StunTime = 0.0f;
    if (Lives <= 0) {
        LevelOver = true;
        GameOver = true;
        Active = false;
    }
}

void HERO::UpdateHero(float dt, std::vector<OBJECT*>& objects) {
    CountScore(dt);
    Die(dt);
    if (!World || !Active) {
        return;
    }

    // The box objects see this frame, from before the move. It follows a
    // dying hero too, so that what it meets on the way down is what it
    // passes, not what stood where it died.
    Box = {static_cast<int32_t>(Position.x - HALF_WIDTH),
           static_cast<int32_t>(Position.y - BOX_HEIGHT),
           static_cast<int32_t>(Position.x + HALF_WIDTH),
           static_cast<int32_t>(Position.y - BOX_LIFT)};

    // A dying hero falls through everything, straight to the move.
    if (!Dying && !Steer(dt)) {
        return;
    }
    Move(dt);
    MeetObjects(objects);
}

bool HERO::Solid(float x, float y) const {
    return World->GetTile(static_cast<int>(x), static_cast<int>(y)) > 0;
}

// The HUD's score counts up to the real one.
void HERO::CountScore(float dt) {
    if (static_cast<int32_t>(ShownScore) < Score) {
        ShownScore += SCORE_COUNT_RATE * dt;
    }
    if (static_cast<int32_t>(ShownScore) > Score) {
        ShownScore = static_cast<float>(Score);
    }
}

// With no health left the hero starts dying: it spins and falls.
void HERO::Die(float dt) {
    if (!Dying && Health <= 0.0f) {
        Sound.Play(SOUND_HERO_HURT, false);
        Dying = true;
    }
    if (Dying) {
        Velocity += GRAVITY * dt;
        Animation = ANIM_DYING;
        Step = 0;
        Spin += DYING_SPIN * dt;
    }
}

// Everything a live hero does before it moves: the ground, the timers, the
// keys and the flight. False while stunned: a stunned hero neither moves,
// falls, nor meets objects.
bool HERO::Steer(float dt) {
    bool inside = Solid(Position.x, Position.y);
    bool below = Solid(Position.x, Position.y + 1.0f);
    OnGround = below;

    RunTimers(dt);
    if (StunTime > 0.0f) {
        StunTime -= dt;
        return false;
    }
    if (OnGround) {
        Land(dt);
    }
    // Sunk into the floor by a fast landing: rise out a little each frame.
    if (inside && below) {
        Position.y -= UNSTICK_STEP;
    }
    Walk(dt);
    if (OnGround) {
        UseGroundKeys(dt);
    }
    if ((Animation == ANIM_MEGA_JUMP && !OnGround) || Animation == ANIM_JUMPING) {
        Step = Velocity.y < 0.0f ? STEP_RISING : STEP_FALLING;
    }
    if (!OnGround || Jumping) {
        Fly(dt);
    }
    return true;
}

// The hurt shield runs out, and a slide dies away; a stumble's slide ends
// in a stun.
void HERO::RunTimers(float dt) {
    if (InvulnerableTime > 0.0f) {
        InvulnerableTime -= dt;
        // An electric shock is followed by the usual blinking grace.
        if (InvulnerableTime <= 0.0f && Electrocuted) {
            Electrocuted = false;
            InvulnerableTime = HURT_SHIELD;
        }
    }

    Slide *= 1.0f - (Stumbling ? STUMBLE_DAMPING : SLIDE_DAMPING) * dt;
    if (Slide.Length() < SLIDE_STOP) {
        Slide.x = 0.0f;
        if (Stumbling) {
            Stumbling = false;
            StunTime = STUMBLE_STUN;
        }
    }
}

// Every frame on the ground: the standing animation, and the landing itself
// if the hero just came down.
void HERO::Land(float dt) {
    Animation = ANIM_STANDING;
    AnimTime += dt;
    if (AnimTime > ANIM_STEP_TIME) {
        AnimTime = 0.0f;
        Step += 1;
        if (Step >= static_cast<int32_t>(Animations[ANIM_STANDING].size())) {
            Step = 0;
        }
    }
    if (Velocity.y > HARD_LANDING) {
        for (const PUFF_SPEC& p : LANDING_PUFFS) {
            ThrowPuff(World, Device, Position, p);
        }
        Sound.Play(SOUND_MEGAJUMP_LAND, false);
    }
    // Landing at least as fast sideways as downward keeps the hero sliding
    // along; a steeper landing stops it dead.
    if (Velocity.Length() > SLIDING_LANDING) {
        float f = 0.0f;
        if (Velocity.y != 0.0f) {
            f = std::fabs(std::trunc(Velocity.x / Velocity.y));
            if (f > 1.0f) {
                f = 1.0f;
            }
        }
        Slide = {f * Velocity.x, 0.0f};
    }
    Velocity = {0.0f, 0.0f};
    Jumping = false;
    // A life lost comes back here only where the ground holds the whole
    // hero, never hanging over the lip of a pit.
    if (Solid(Position.x - HALF_WIDTH, Position.y + 1.0f) &&
        Solid(Position.x + HALF_WIDTH, Position.y + 1.0f)) {
        RespawnPoint[0] = static_cast<int32_t>(Position.x);
        RespawnPoint[1] = static_cast<int32_t>(Position.y);
    }
}

// The arrows, unless the hero is sliding: a slide shows the stumbling pose
// or, after a fast landing, the falling one.
void HERO::Walk(float dt) {
    if (Slide.Length() < SLIDE_STOP) {
        if (CONTROLS::IsDown(ACTION_LEFT)) {
            HoldArrow(dt, -1.0f);
        } else if (CONTROLS::IsDown(ACTION_RIGHT)) {
            HoldArrow(dt, 1.0f);
        }
    } else if (Stumbling) {
        Animation = ANIM_STUMBLING;
    } else {
        Animation = ANIM_MEGA_JUMP;
        Step = STEP_FALLING;
    }
}

// One arrow held (side -1 left, +1 right): it turns the aim, walks on the
// ground and in a hop, and in any other flight only brakes.
void HERO::HoldArrow(float dt, float side) {
    if (Aiming) {
        AimAngle += side * AIM_TURN_RATE * dt;
        if (side < 0.0f && AimAngle < -PI) {
            AimAngle = -PI;
        }
        if (side > 0.0f && AimAngle > 0.0f) {
            AimAngle = 0.0f;
        }
    } else if (OnGround || Jumping) {
        if (!Solid(Position.x + side * WALK_PROBE_X, Position.y + WALK_PROBE_Y)) {
            if (OnGround) {
                Animation = ANIM_WALKING;
            }
            Facing = side < 0.0f ? 1 : 0;
            Velocity = {side * WalkSpeed, Velocity.y};
        }
    } else if (side < 0.0f ? Velocity.x > 0.0f : Velocity.x < 0.0f) {
        Velocity.x += side * AIR_BRAKING * dt;
    }
}

// Space aims and launches; otherwise Up hops and Down crouches.
void HERO::UseGroundKeys(float dt) {
    if (CONTROLS::MegaJumpHeld()) {
        Aim(dt);
    } else if (Aiming) {
        Launch();
    } else if (CONTROLS::IsDown(ACTION_JUMP)) {
        if (!Aiming && Slide.Length() == 0.0f) {
            Animation = ANIM_JUMPING;
            Jumping = true;
            Position.y -= LIFT_OFF;
            Velocity = {0.0f, -JUMP_SPEED};
        }
    } else if (CONTROLS::IsDown(ACTION_CROUCH)) {
        Velocity = {0.0f, 0.0f};
        Animation = ANIM_CROUCHING;
        Box.top = static_cast<int32_t>(Position.y - 30.0f);
    }
}

// Space held: the aim starts where the hero faces, and the meter runs up
// and down between 0 and 1.
void HERO::Aim(float dt) {
    Animation = ANIM_MEGA_JUMP;
    Step = 0;
    if (!Aiming) {
        Charge = 0.0f;
        ChargeRising = true;
        AimAngle = Facing == 1 ? AIM_START_LEFT : AIM_START_RIGHT;
    }
    Aiming = true;
    Charge += ChargeRising ? dt : -dt;
    if (Charge > 1.0f) {
        Charge = 1.0f;
        ChargeRising = false;
    }
    if (Charge < 0.0f) {
        Charge = 0.0f;
        ChargeRising = true;
    }
    if (AimAngle > -0.5f * PI) {
        Facing = 0;
    } else if (AimAngle < -0.5f * PI) {
        Facing = 1;
    }
}

// Space let go: a weak charge only lifts the hero off the ground.
void HERO::Launch() {
    Animation = ANIM_MEGA_JUMP;
    Aiming = false;
    Position.y -= LIFT_OFF;
    if (Charge > MIN_CHARGE) {
        Charge *= LAUNCH_SPEED;
        Velocity = {std::cos(AimAngle) * Charge, std::sin(AimAngle) * Charge};
        Sound.Play(SOUND_LAUNCH, false);
    }
}

// In the air (or leaving the ground): gravity, and the tiles the head, the
// body and the feet run into.
void HERO::Fly(float dt) {
    Velocity += GRAVITY * dt;

    float x = Position.x;
    float y = Position.y;
    // The head met a ceiling or a platform from below: the hero drops away
    // at once. Left rising, its sides would meet the same tiles as a wall,
    // again and again, and hold it there.
    if (Velocity.y < 0.0f && Solid(x, y + HEAD_PROBE_Y)) {
        Velocity.y = 0.0f;
    }
    if ((Velocity.x > 0.0f && Solid(x + WALL_PROBE_X, y + WALL_PROBE_Y)) ||
        (Velocity.x < 0.0f && Solid(x - WALL_PROBE_X, y + WALL_PROBE_Y))) {
        BounceOffWall(x, y);
    }
    if ((Velocity.x > 0.0f && Solid(x + FOOT_PROBE_X, y + WALK_PROBE_Y)) ||
        (Velocity.x < 0.0f && Solid(x - FOOT_PROBE_X, y + WALK_PROBE_Y))) {
        Stumble(x, y);
    }
}

// The body hit a wall at (x, y): the hero bounces back and turns away from
// it, and the dust flies off it.
void HERO::BounceOffWall(float x, float y) {
    float speed = Velocity.Length();
    Velocity = {WALL_BOUNCE_X * Velocity.x, WALL_BOUNCE_Y * Velocity.y};
    Jumping = false;
    if (speed > 400.0f) {
        Sound.Play(SOUND_HIT_WALL, false);
    }
    float side = Facing == 1 ? 1.0f : -1.0f;
    Facing = Facing == 1 ? 0 : 1;
    for (const WALL_EFFECT& e : WALL_EFFECTS) {
        if (!(speed > e.minSpeed)) {
            continue;
        }
        if (e.chance && Rand() % 3 == 2) {
            continue;
        }
        if (e.debris) {
            World->AddObject(new DEBRIS(Device, x + WALL_DEBRIS_X * side, y + WALL_EFFECT_Y,
                                        e.vx * side, e.vy, World));
        } else {
            World->AddObject(new PUFF(Device, x + WALL_PUFF_X * side, y + WALL_EFFECT_Y,
                                      e.vx * side, e.vy, World, e.cap, 0.0f, 0.0f, 1.0f));
        }
    }
}

// The feet caught a ledge at (x, y): the hero stumbles, slides on and is
// lifted onto the step if it is low enough.
void HERO::Stumble(float x, float y) {
    Slide.x = Velocity.x;
    Velocity.y *= STUMBLE_KEEP_Y;
    Stumbling = true;
    Sound.Play(SOUND_HERO_HURT, false);
    for (int i = 5; i <= 25; i += 5) {
        if (!Solid(x - FOOT_PROBE_X, y + WALK_PROBE_Y - static_cast<float>(i))) {
            Position.y -= static_cast<float>(i + 2);
            break;
        }
    }
}

// The frame's move, the slide along the ground, and a fall out of the level.
void HERO::Move(float dt) {
    Position += Velocity * dt;
    if (OnGround && Slide.Length() > 0.0f && !Dying) {
        SlideAlong(dt);
    }
    if (Position.y > FALL_OUT_DEPTH) {
        LoseLife();
    }
}

// A slide stops at a wall and leaves a trail of dust.
void HERO::SlideAlong(float dt) {
    Position += Slide * dt;
    if (Slide.x > 0.0f && Solid(Position.x + WALL_PROBE_X, Position.y + SLIDE_PROBE_Y)) {
        Slide.x = 0.0f;
    }
    if (Slide.x < 0.0f && Solid(Position.x - WALL_PROBE_X, Position.y + SLIDE_PROBE_Y)) {
        Slide.x = 0.0f;
    }
    if (static_cast<int32_t>(Position.x) % 20 == 0) {
        World->AddObject(new PUFF(Device, Position.x + 0.03f * Slide.x,
                                  Position.y + 0.03f * Slide.y, -0.02f * Slide.x, 0.0f, World, 0.6f,
                                  0.0f, -10.0f, 1.0f));
    }
}

// Every object meets the hero; the list is measured again each time so that
// objects added during the pass get their turn too.
void HERO::MeetObjects(std::vector<OBJECT*>& objects) {
    for (size_t i = 0; i < objects.size(); ++i) {
        OBJECT* o = objects[i];
        if (!o || !o->TouchHero(this)) {
            continue;
        }
        Velocity.y = CONTACT_BOUNCE * Velocity.y;
        if (Position.y < o->Position.y && Velocity.y < 0.0f) {
            // Landed on it from above: it takes the blow.
            o->Hit();
            for (const PUFF_SPEC& p : STOMP_PUFFS) {
                ThrowPuff(World, Device, Position, p);
            }
        } else if (InvulnerableTime <= 0.0f) {
            InvulnerableTime = HURT_SHIELD;
            Health -= HURT_DAMAGE;
            Sound.Play(SOUND_HERO_HURT, false);
        }
    }
}

void HERO::Render(SPRITE* sprite, float zoom) {
    if (!sprite || !World || !Active) {
        return;
    }
    const float z = zoom;
    VECTOR2 p = World->WorldToScreen(Position.x, Position.y, z);

    if (Aiming) {
        // Two pieces of one arrow, the charged part filling from the base;
        // both turn about the same point above the hero's middle.
        float c = Charge;
        float rotation = 2.0f * PI - AimAngle;
        VECTOR2 scaling{z, z};
        int32_t split = static_cast<int32_t>(ARROW_LENGTH * c);
        RECT rest{split, 32, 64, 64};
        VECTOR2 restCentre{-ARROW_OFFSET * z - ARROW_LENGTH * c * z, ARROW_HALF * z};
        VECTOR2 restAt = p + VECTOR2{ARROW_OFFSET * z + ARROW_LENGTH * c * z, ARROW_TOP * z};
        sprite->Draw(FxSheet, &rest, &scaling, &restCentre, rotation, &restAt, COLOUR_WHITE);
        RECT full{64, 32, static_cast<int32_t>(ARROW_LENGTH * c + 64.0f), 64};
        VECTOR2 fullCentre{-ARROW_OFFSET * z, ARROW_HALF * z};
        VECTOR2 fullAt = p + VECTOR2{ARROW_OFFSET * z, ARROW_TOP * z};
        sprite->Draw(FxSheet, &full, &scaling, &fullCentre, rotation, &fullAt, COLOUR_WHITE);
    }

    ARGB colour = COLOUR_WHITE;
    if (InvulnerableTime > 0.0f && SETTINGS_FILE::Current().ReducedFlashing) {
        // For players sensitive to flashing: one steady tint instead.
        colour = Electrocuted ? SHOCK_TINT : HURT_TINT;
    } else if (InvulnerableTime > 0.0f) {
        int blink = static_cast<int>(16.0f * InvulnerableTime);
        if (Electrocuted) {
            // The shock flickers between the two frames eight times a second.
            Step = blink % 2;
        } else if (blink % 2 != 0) {
            colour = BLINK_FAINT;
        }
    }
    VECTOR2 scaling{z, z};
    VECTOR2 centre{32.0f, 37.0f};
    VECTOR2 at = p - Anchor * z;
    sprite->Draw(HeroSheet, &Frames[CurrentFrame()], &scaling, &centre, Spin, &at, colour);
}

void HERO::DrawHealth(SPRITE* sprite) {
    if (!sprite || Lives < 1) {
        return;
    }
    if (Health < 0.0f) {
        Health = 0.0f;
    }
    // The gauge empties from the top, 15 px per hurt.
    int32_t a = static_cast<int32_t>((1.0f - Health) * 60.0f);
    RECT full{0, a, 50, 60};
    VECTOR2 fullAt{10.0f, static_cast<float>(a + 10)};
    sprite->Draw(StuffSheet, &full, nullptr, nullptr, 0.0f, &fullAt, COLOUR_WHITE);
    RECT empty{100, 0, 150, a};
    VECTOR2 emptyAt{10.0f, 10.0f};
    sprite->Draw(StuffSheet, &empty, nullptr, nullptr, 0.0f, &emptyAt, COLOUR_WHITE);
}
