#include "objects/hero.h"

#include <cmath>
#include <numbers>

#include "objects/debris.h"
#include "objects/puff.h"
#include "objects/sprites.h"
#include "platform/keyboard.h"
#include "platform/random.h"
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
constexpr float LAUNCH_SPEED = 1000.0f;     // px/s at full charge
constexpr float MIN_CHARGE = 0.2f;          // a weaker charge only lifts 2 px
constexpr float AIM_TURN_RATE = 2.0f;       // rad/s
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
constexpr float HALF_WIDTH = 15.0f;     // half the box, for a safe footing

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

}  // namespace

HERO::HERO(DEVICE* device, WORLD* world) {
    Device = device;
    World = world;
    Position = {800.0f, 600.0f};
    Anchor = {32.0f, 73.0f};
    Layer = 0;
    // Thirteen poses facing right on the top row, the same facing left below.
    for (int k = 0; k < 26; ++k) {
        Frames[k].left = 64 * (k % 13);
        Frames[k].top = 74 * (k / 13);
        Frames[k].right = Frames[k].left + 64;
        Frames[k].bottom = Frames[k].top + 74;
    }
    Animations = {
        {0, 1, 2, 1},  // standing
        {3, 4, 5, 4},  // walking
        {6, 10, 4},    // jump: crouch, rising, falling
        {6, 7, 8, 6},  // aiming, then the mega jump rising and falling
        {9},           // stumbling
        {11, 12},      // dying; electrocuted alternates both
        {6},           // crouching
    };
}

int HERO::CurrentFrame() const {
    int a = Animation % 7;
    if (a < 0 || Animations[a].empty()) {
        return 0;
    }
    const std::vector<int>& seq = Animations[a];
    int n = static_cast<int>(seq.size());
    int frame = seq[((Step % n) + n) % n] + 13 * Facing;
    return (frame < 0 || frame >= 26) ? 0 : frame;
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
    Animation = 0;
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
    Animation = 0;
    Aiming = false;
    StunTime = 0.0f;
    if (Lives <= 0) {
        LevelOver = true;
        GameOver = true;
        Active = false;
    }
}

void HERO::UpdateHero(float dt, std::vector<OBJECT*>& objects) {
    auto solid = [this](float x, float y) {
        return World->GetTile(static_cast<int>(x), static_cast<int>(y)) > 0;
    };
    auto puff = [this](float x, float y, const PUFF_SPEC& p) {
        World->AddObject(new PUFF(Device, x, y, p.vx, p.vy, World, p.cap, 0.0f, p.ay, p.ageRate));
    };

    // The HUD's score counts up to the real one.
    if (static_cast<int32_t>(ShownScore) < Score) {
        ShownScore += SCORE_COUNT_RATE * dt;
    }
    if (static_cast<int32_t>(ShownScore) > Score) {
        ShownScore = static_cast<float>(Score);
    }

    if (!Dying && Health <= 0.0f) {
        Sound.Play(SOUND_HERO_HURT, false);
        Dying = true;
    }
    if (Dying) {
        Velocity += GRAVITY * dt;
        Animation = 5;
        Step = 0;
        Spin += DYING_SPIN * dt;
    }
    if (!World || !Active) {
        return;
    }

    // The box objects see this frame, from before the move. It follows a
    // dying hero too, so that what it meets on the way down is what it
    // passes, not what stood where it died.
    Box = {static_cast<int32_t>(Position.x - 15.0f), static_cast<int32_t>(Position.y - 60.0f),
           static_cast<int32_t>(Position.x + 15.0f), static_cast<int32_t>(Position.y - 10.0f)};

    // A dying hero falls through everything, straight to the integration.
    if (!Dying) {
        float x = Position.x;
        float y = Position.y;
        bool inside = solid(x, y);
        bool below = solid(x, y + 1.0f);
        OnGround = below;

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

        // A stunned hero neither moves, falls, nor meets objects.
        if (StunTime > 0.0f) {
            StunTime -= dt;
            return;
        }

        if (OnGround) {
            Animation = 0;
            AnimTime += dt;
            if (AnimTime > ANIM_STEP_TIME) {
                AnimTime = 0.0f;
                Step += 1;
                if (Step >= static_cast<int32_t>(Animations[0].size())) {
                    Step = 0;
                }
            }
            if (Velocity.y > HARD_LANDING) {
                for (const PUFF_SPEC& p : LANDING_PUFFS) {
                    puff(Position.x, Position.y, p);
                }
                Sound.Play(SOUND_MEGAJUMP_LAND, false);
            }
            // Landing at least as fast sideways as downward keeps the hero
            // sliding along; a steeper landing stops it dead.
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
            // A life lost comes back here only where the ground holds the
            // whole hero, never hanging over the lip of a pit.
            if (solid(x - HALF_WIDTH, y + 1.0f) && solid(x + HALF_WIDTH, y + 1.0f)) {
                RespawnPoint[0] = static_cast<int32_t>(Position.x);
                RespawnPoint[1] = static_cast<int32_t>(Position.y);
            }
        }

        // Sunk into the floor by a fast landing: rise out a little each frame.
        if (inside && below) {
            Position.y -= UNSTICK_STEP;
        }

        if (Slide.Length() < SLIDE_STOP) {
            if (KEYBOARD::IsDown(VK_LEFT)) {
                if (Aiming) {
                    AimAngle -= AIM_TURN_RATE * dt;
                    if (AimAngle < -PI) {
                        AimAngle = -PI;
                    }
                } else if (OnGround || Jumping) {
                    if (!solid(Position.x - WALK_PROBE_X, Position.y + WALK_PROBE_Y)) {
                        if (OnGround) {
                            Animation = 1;
                        }
                        Facing = 1;
                        Velocity = {-WalkSpeed, Velocity.y};
                    }
                } else if (Velocity.x > 0.0f) {
                    // In flight the arrows only brake.
                    Velocity.x -= AIR_BRAKING * dt;
                }
            } else if (KEYBOARD::IsDown(VK_RIGHT)) {
                if (Aiming) {
                    AimAngle += AIM_TURN_RATE * dt;
                    if (AimAngle > 0.0f) {
                        AimAngle = 0.0f;
                    }
                } else if (OnGround || Jumping) {
                    if (!solid(Position.x + WALK_PROBE_X, Position.y + WALK_PROBE_Y)) {
                        if (OnGround) {
                            Animation = 1;
                        }
                        Facing = 0;
                        Velocity = {WalkSpeed, Velocity.y};
                    }
                } else if (Velocity.x < 0.0f) {
                    Velocity.x += AIR_BRAKING * dt;
                }
            }
        } else if (Stumbling) {
            Animation = 4;
        } else {
            Animation = 3;
            Step = 2;
        }

        if (OnGround) {
            if (KEYBOARD::IsDown(VK_SPACE)) {
                Animation = 3;
                Step = 0;
                if (!Aiming) {
                    Charge = 0.0f;
                    ChargeRising = true;
                    AimAngle = Facing == 1 ? -0.75f * PI : -0.25f * PI;
                }
                Aiming = true;
                // The meter runs up and down between 0 and 1 while Space is held.
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
            } else if (Aiming) {
                Animation = 3;
                Aiming = false;
                Position.y -= 2.0f;
                if (Charge > MIN_CHARGE) {
                    Charge *= LAUNCH_SPEED;
                    Velocity = {std::cos(AimAngle) * Charge, std::sin(AimAngle) * Charge};
                    Sound.Play(SOUND_LAUNCH, false);
                }
            } else if (KEYBOARD::IsDown(VK_UP)) {
                if (!Aiming && Slide.Length() == 0.0f) {
                    Animation = 2;
                    Jumping = true;
                    Position.y -= 2.0f;
                    Velocity = {0.0f, -JUMP_SPEED};
                }
            } else if (KEYBOARD::IsDown(VK_DOWN)) {
                Velocity = {0.0f, 0.0f};
                Animation = 6;
                Box.top = static_cast<int32_t>(Position.y - 30.0f);
            }
        }

        if ((Animation == 3 && !OnGround) || Animation == 2) {
            Step = Velocity.y < 0.0f ? 1 : 2;
        }

        if (!OnGround || Jumping) {
            Velocity += GRAVITY * dt;

            float x = Position.x;
            float y = Position.y;
            // The head met a ceiling or a platform from below: the hero drops
            // away at once. Left rising, its sides would meet the same tiles
            // as a wall, again and again, and hold it there.
            if (Velocity.y < 0.0f && solid(x, y + HEAD_PROBE_Y)) {
                Velocity.y = 0.0f;
            }
            if ((Velocity.x > 0.0f && solid(x + WALL_PROBE_X, y + WALL_PROBE_Y)) ||
                (Velocity.x < 0.0f && solid(x - WALL_PROBE_X, y + WALL_PROBE_Y))) {
                float speed = Velocity.Length();
                Velocity = {WALL_BOUNCE_X * Velocity.x, WALL_BOUNCE_Y * Velocity.y};
                Jumping = false;
                if (speed > 400.0f) {
                    Sound.Play(SOUND_HIT_WALL, false);
                }
                // The hero turns away from the wall; the dust flies off it.
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
                        World->AddObject(new DEBRIS(Device, x + WALL_DEBRIS_X * side,
                                                    y + WALL_EFFECT_Y, e.vx * side, e.vy, World));
                    } else {
                        World->AddObject(new PUFF(Device, x + WALL_PUFF_X * side, y + WALL_EFFECT_Y,
                                                  e.vx * side, e.vy, World, e.cap, 0.0f, 0.0f,
                                                  1.0f));
                    }
                }
            }

            // The feet caught a ledge: the hero stumbles, slides on and is
            // lifted onto the step if it is low enough.
            if ((Velocity.x > 0.0f && solid(x + FOOT_PROBE_X, y + WALK_PROBE_Y)) ||
                (Velocity.x < 0.0f && solid(x - FOOT_PROBE_X, y + WALK_PROBE_Y))) {
                Slide.x = Velocity.x;
                Velocity.y *= STUMBLE_KEEP_Y;
                Stumbling = true;
                Sound.Play(SOUND_HERO_HURT, false);
                for (int i = 5; i <= 25; i += 5) {
                    if (!solid(x - FOOT_PROBE_X, y + WALK_PROBE_Y - static_cast<float>(i))) {
                        Position.y -= static_cast<float>(i + 2);
                        break;
                    }
                }
            }
        }
    }

    Position += Velocity * dt;

    if (OnGround && Slide.Length() > 0.0f && !Dying) {
        Position += Slide * dt;
        if (Slide.x > 0.0f && solid(Position.x + WALL_PROBE_X, Position.y + SLIDE_PROBE_Y)) {
            Slide.x = 0.0f;
        }
        if (Slide.x < 0.0f && solid(Position.x - WALL_PROBE_X, Position.y + SLIDE_PROBE_Y)) {
            Slide.x = 0.0f;
        }
        if (static_cast<int32_t>(Position.x) % 20 == 0) {
            World->AddObject(new PUFF(Device, Position.x + 0.03f * Slide.x,
                                      Position.y + 0.03f * Slide.y, -0.02f * Slide.x, 0.0f, World,
                                      0.6f, 0.0f, -10.0f, 1.0f));
        }
    }

    if (Position.y > FALL_OUT_DEPTH) {
        LoseLife();
    }

    // Every object meets the hero; the list is measured again each time so
    // that objects added during the pass get their turn too.
    for (size_t i = 0; i < objects.size(); ++i) {
        OBJECT* o = objects[i];
        if (!o || !o->TouchHero(this)) {
            continue;
        }
        Velocity.y = CONTACT_BOUNCE * Velocity.y;
        if (Position.y < o->Position.y && Velocity.y < 0.0f) {
            // Landed on it from above: it takes the blow.
            o->Hit(1);
            for (const PUFF_SPEC& p : STOMP_PUFFS) {
                puff(Position.x, Position.y, p);
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
    if (InvulnerableTime > 0.0f) {
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
