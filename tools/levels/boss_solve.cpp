// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/levels/boss_solve.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

#include "app/application.h"
#include "objects/boss.h"
#include "objects/hero.h"
#include "tools/levels/copies.h"
#include "tools/levels/level_run.h"

namespace {

constexpr int SETTLE_FRAMES = 2;   // standing still this long ends a stomp
constexpr int FLIGHT_LIMIT = 900;  // frames a stomp may take to settle
constexpr int JOBS = 2;            // walks tried side by side
constexpr int AFTERMATH = 3600;    // frames the beaten boss may take to fall out

// One try at the boss: a walk, a wait, then a mega jump aimed by holding an
// arrow while Space charges it.
struct STRIKE {
    int Dir = 0;     // -1 left, +1 right
    int Walk = 0;    // frames walked
    int Wait = 0;    // frames stood still after the walk
    int Aim = 0;     // frames an arrow turns the aim; > 0 Left, < 0 Right
    int Charge = 0;  // frames Space is held
};

struct OUTCOME {
    bool Hit = false;    // the boss lost health
    bool Hurt = false;   // the hero lost health or a life
    bool Ended = false;  // the level was left
    int64_t End = -1;    // the last frame played; -1: not tried
    float Health = 0.0f;
    float BossHealth = 0.0f;
};

// Appends the strike's keys from frame `at`; returns the frame Space is let go.
int64_t Emit(const STRIKE& s, int64_t at, std::vector<INPUT_EVENT>* events) {
    if (s.Walk > 0) {
        INPUT_KEY arrow = s.Dir < 0 ? INPUT_KEY::LEFT : INPUT_KEY::RIGHT;
        AddKey(events, at, arrow, true);
        AddKey(events, at + s.Walk, arrow, false);
        at += s.Walk;
    }
    at += s.Wait;
    AddKey(events, at, INPUT_KEY::SPACE, true);
    if (s.Aim != 0) {
        // From the second frame: on the first an arrow would still walk.
        INPUT_KEY turn = s.Aim > 0 ? INPUT_KEY::LEFT : INPUT_KEY::RIGHT;
        AddKey(events, at + 1, turn, true);
        AddKey(events, at + 1 + std::abs(s.Aim), turn, false);
    }
    int64_t release = at + std::max(s.Charge, std::abs(s.Aim) + 2);
    AddKey(events, release, INPUT_KEY::SPACE, false);
    return release;
}

std::vector<INPUT_EVENT> Sorted(std::vector<INPUT_EVENT> events) {
    std::stable_sort(events.begin(), events.end(),
                     [](const INPUT_EVENT& a, const INPUT_EVENT& b) { return a.Frame < b.Frame; });
    return events;
}

// Which of two outcomes is the better stomp: clean before hurt, then the
// earlier one.
bool Better(const OUTCOME& a, const OUTCOME& b) {
    if (a.Hit != b.Hit) {
        return a.Hit;
    }
    if (!a.Hit) {
        return false;
    }
    if (a.Hurt != b.Hurt) {
        return !a.Hurt;
    }
    if (a.Health != b.Health) {
        return a.Health > b.Health;
    }
    return a.End < b.End;
}

OUTCOME Judge(const std::vector<RUN_FRAME>& frames, const RUN_FRAME& before, int level) {
    OUTCOME o;
    for (const RUN_FRAME& f : frames) {
        // -1 stands for no boss; the killing hit leaves a little below 0.
        o.Hit = o.Hit || (f.BossHealth > -1.0f && f.BossHealth < before.BossHealth);
        o.Hurt = o.Hurt || f.Health < before.Health || f.Lives < before.Lives ||
                 f.State == GS_TO_BAD_ENDING;
    }
    if (!frames.empty()) {
        const RUN_FRAME& last = frames.back();
        o.End = last.Frame;
        o.Health = last.Health;
        o.BossHealth = last.BossHealth;
        o.Ended = last.Level != level || last.State != GS_PLAYING;
    }
    return o;
}

struct FOUND {
    STRIKE Strike;
    OUTCOME Outcome;
};

// Where a mega jump from `at` would first meet the boss, worked out in flight
// without the map: the frame it meets it (from the press of Space), or -1
// when the first touch would hurt the hero or there is none in reach. The
// boss is flown along its tour as the game flies it.
int PredictStomp(const RUN_FRAME& at, const STRIKE& s, double dt, float* offCentre) {
    constexpr float PI = std::numbers::pi_v<float>;
    constexpr float SLACK = 8.0f;  // px the guess may be off by
    constexpr int HORIZON = 240;   // frames of flight looked at
    const float step = float(dt);
    int held = std::max(s.Charge, std::abs(s.Aim) + 2);
    if (held > 60) {
        return -1;
    }
    float charge = float(held) * step;
    float angle = at.Facing == 1 ? HERO::AIM_START_LEFT : HERO::AIM_START_RIGHT;
    angle = std::clamp(angle - float(s.Aim) * HERO::AIM_TURN_RATE * step, -PI, 0.0f);
    float x = at.X, y = at.Y - HERO::LIFT_OFF;
    float vx = std::cos(angle) * charge * HERO::LAUNCH_SPEED;
    float vy = std::sin(angle) * charge * HERO::LAUNCH_SPEED;
    float bx = at.BossX, by = at.BossY, wait = at.BossWait;
    int target = at.BossTarget;
    for (int k = 1; k <= held + HORIZON; ++k) {
        if (wait > 0.0f) {
            wait -= step;
        } else {
            float tx = at.BossWaypoints[target][0] - bx, ty = at.BossWaypoints[target][1] - by;
            float d = std::sqrt(tx * tx + ty * ty);
            if (d > 0.0f) {
                bx += tx / d * at.BossSpeed * step;
                by += ty / d * at.BossSpeed * step;
            }
            tx = at.BossWaypoints[target][0] - bx;
            ty = at.BossWaypoints[target][1] - by;
            if (std::sqrt(tx * tx + ty * ty) < BOSS::ARRIVED) {
                target = (target + 1) % 3;
                wait = at.BossPause;
            }
        }
        if (k <= held) {
            continue;  // still crouched, charging
        }
        vy += GRAVITY.y * step;
        x += vx * step;
        y += vy * step;
        float left = bx + float(at.BossBox[0]) - SLACK, right = bx + float(at.BossBox[2]) + SLACK;
        float top = by + float(at.BossBox[1]) - SLACK, bottom = by + float(at.BossBox[3]) + SLACK;
        bool touch = x + HERO::HALF_WIDTH >= left && x - HERO::HALF_WIDTH <= right &&
                     y - HERO::BOX_LIFT >= top && y - HERO::BOX_HEIGHT <= bottom;
        if (!touch) {
            continue;
        }
        if (float(k) * step < at.BossHurt) {
            return -1;  // it would pass through untouched and then hurt him
        }
        if (vy > 0.0f && y < by - SLACK) {
            *offCentre = std::abs(x - (bx + 0.5f * float(at.BossBox[0] + at.BossBox[2])));
            return k;
        }
        return -1;
    }
    return -1;
}

// In a child: one walk, then every wait on a grid; at each, the aims and
// charges whose flight meets the boss from above are played, each in a copy
// of its own. Writes the best FOUND to `fd`.
void TryWalk(const std::string& data, int level, double dt, const std::vector<INPUT_EVENT>& base,
             int64_t next, int dir, int walk, bool defaultAim, int fd) {
    constexpr int MAX_WAIT = 2100;  // frames: a whole tour of the slowest boss
    constexpr int WAIT_STEP = 3;
    constexpr int TRIES_PER_WAIT = 6;
    FOUND best;
    LEVEL_RUN run(data);
    if (run.Begin(level, base, dt)) {
        RUN_FRAME before = run.Advance(next);
        STRIKE s;
        s.Dir = dir;
        s.Walk = walk;
        std::vector<INPUT_EVENT> walking = base;
        if (walk > 0) {
            INPUT_KEY arrow = dir < 0 ? INPUT_KEY::LEFT : INPUT_KEY::RIGHT;
            AddKey(&walking, next, arrow, true);
            AddKey(&walking, next + walk, arrow, false);
        }
        run.ChangeScript(Sorted(walking));
        for (int wait = 0; wait <= MAX_WAIT && !(best.Outcome.Hit && !best.Outcome.Hurt);
             wait += WAIT_STEP) {
            s.Wait = wait;
            RUN_FRAME now = run.Advance(next + walk + wait);
            if (now.Level != level || now.State != GS_PLAYING || now.BossHealth <= 0.0f) {
                break;
            }
            // Hurt while waiting is allowed, but ranks below a clean stomp.
            if (!now.Standing || now.BossBox[2] <= now.BossBox[0]) {
                continue;
            }
            // The aims and charges whose flight meets the boss, most
            // central first. The one full, unturned jump is simply played:
            // the guess knows nothing of walls, and a bounce off one may
            // be the only way such a jump comes down on the boss.
            std::vector<std::pair<float, STRIKE>> tries;
            if (defaultAim) {
                s.Aim = 0;
                s.Charge = 60;
                tries.push_back({0.0f, s});
            }
            for (int aim = -24; aim <= 48 && !defaultAim; aim += 2) {
                for (int charge = 12; charge <= 60; charge += 2) {
                    s.Aim = aim;
                    s.Charge = charge;
                    float off = 0.0f;
                    if (PredictStomp(now, s, dt, &off) > 0) {
                        tries.push_back({off, s});
                    }
                }
            }
            std::stable_sort(tries.begin(), tries.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            if (int(tries.size()) > TRIES_PER_WAIT) {
                tries.resize(TRIES_PER_WAIT);
            }
            for (const auto& [off, strike] : tries) {
                std::vector<INPUT_EVENT> events = base;
                int64_t release = Emit(strike, next, &events);
                events = Sorted(std::move(events));
                OUTCOME o = InCopy(
                    [&] {
                        run.ChangeScript(events);
                        std::vector<RUN_FRAME> frames;
                        run.Advance(release + FLIGHT_LIMIT, release + 1, SETTLE_FRAMES, &frames);
                        return Judge(frames, before, level);
                    },
                    OUTCOME{});
                if (Better(o, best.Outcome)) {
                    best = {strike, o};
                }
            }
        }
    }
    WriteAnswer(fd, best);
}

// The best stomp from where the hero stands at `next`, over every walk.
FOUND BestStrike(const std::string& data, int level, double dt,
                 const std::vector<INPUT_EVENT>& events, int64_t next, bool defaultAim) {
    std::vector<std::pair<int, int>> walks{{+1, 0}};
    for (int w = 10; w <= 150; w += 10) {
        walks.push_back({+1, w});
        walks.push_back({-1, w});
    }
    FOUND best;
    std::vector<COPY> running;
    auto collect = [&](const COPY& copy) {
        FOUND f;
        if (ReadAnswer(copy, &f) && Better(f.Outcome, best.Outcome)) {
            best = f;
        }
        EndCopy(copy);
    };
    for (auto [dir, walk] : walks) {
        if (int(running.size()) >= JOBS) {
            collect(running.front());
            running.erase(running.begin());
        }
        running.push_back(StartCopy([&, dir = dir, walk = walk](int fd) {
            TryWalk(data, level, dt, events, next, dir, walk, defaultAim, fd);
        }));
    }
    for (const COPY& copy : running) {
        collect(copy);
    }
    return best;
}

}  // namespace

bool SolveBoss(const std::string& data, int level, double dt, std::vector<INPUT_EVENT>* events,
               int64_t next, std::vector<std::string>* moves, bool defaultAim) {
    for (int stomp = 0; stomp < 12; ++stomp) {
        FOUND f = BestStrike(data, level, dt, *events, next, defaultAim);
        if (!f.Outcome.Hit) {
            std::fprintf(stderr, "level %d: no stomp from frame %lld\n", level, (long long)next);
            return false;
        }
        const STRIKE& s = f.Strike;
        Emit(s, next, events);
        *events = Sorted(std::move(*events));
        char line[160];
        std::snprintf(line, sizeof line,
                      "stomp: walk %s %d, wait %d, aim %d, charge %d (boss %.2f, hero %.2f%s)",
                      s.Dir < 0 ? "left" : "right", s.Walk, s.Wait, s.Aim, s.Charge,
                      f.Outcome.BossHealth, f.Outcome.Health, f.Outcome.Hurt ? ", hurt" : "");
        moves->push_back(line);
        std::fprintf(stderr, "level %d frame %lld: %s\n", level, (long long)f.Outcome.End, line);
        next = f.Outcome.End + 1;
        if (f.Outcome.Ended) {
            return true;
        }
        if (f.Outcome.BossHealth <= 0.0f) {
            // Beaten: the hero stands still while it turns over and falls.
            LEVEL_RUN run(data);
            std::vector<RUN_FRAME> frames = run.Play(level, *events, dt, next + AFTERMATH);
            bool ended = !frames.empty() &&
                         (frames.back().Level != level || frames.back().State == GS_TO_GOOD_ENDING);
            std::fprintf(stderr, "level %d: %s at frame %lld\n", level, ended ? "over" : "NOT over",
                         frames.empty() ? -1LL : (long long)frames.back().Frame);
            return ended;
        }
    }
    return false;
}
