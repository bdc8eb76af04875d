// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Finds a way through a level with the hero's real inputs, and writes it as
// an input script:
//   vortigan_solve --data DIR --level N --out SCRIPT [--beam K] [--steps S]
//                  [--moves all|walk-hop|default-aim] [--prefer-walking on|off]
//                  [--mega-cost PX] [--walk-bonus PX]
//   vortigan_solve --data DIR --level N --replay SCRIPT   (prints the hero's path)
//   vortigan_solve --data DIR --level N --stats SCRIPT    (hops, mega jumps, ...)
//   vortigan_solve --data DIR --stats-all FOLDER          (the same for levelNN.txt)
//   vortigan_solve --data DIR --design FOLDER             (the replays' figures and the
//                  narrowed searches against the design's rules; fails if one is broken)
//   vortigan_solve --data DIR --level N --out SCRIPT --resume PART   (a boss level, from
//                                                        the stomps of PART on)
//
// A beam search over moves a player makes: walks, hops, waits and aimed mega
// jumps of a chosen charge. Every candidate is played in the game's own code,
// in a copy of the game made where the move starts, so what it finds is
// exactly what the game will do with the script. A boss level is beaten by
// stomps instead, searched for one at a time (boss_solve.h).
//
// A narrower set of moves measures what a level asks of the player: how far
// walks and hops alone get, and whether mega jumps at full charge and the
// first aim get through without turning the aim.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/application.h"
#include "tools/levels/boss_solve.h"
#include "tools/levels/copies.h"
#include "tools/levels/level_run.h"
#include "world/level_contents.h"
#include "world/world.h"

namespace {

constexpr double DT = 0.0166667;   // s per frame, exactly as the replays run
constexpr int SETTLE_FRAMES = 2;   // standing still this long ends a move
constexpr int MOVE_TIMEOUT = 900;  // frames a move may take to settle

struct MOVE {
    enum KIND { WAIT, WALK, JUMP, MEGA } Kind = WAIT;
    int Dir = 0;     // -1 left, 0 none, +1 right
    int Frames = 0;  // walk or wait length, frames the arrow is held in a hop
    int Charge = 0;  // frames Space is held
    int Aim = 0;     // frames an arrow turns the aim (negative: Right)
    int Brake = 0;   // frames Left (or Right) brakes in the air after launch
    int Back = 0;    // frames walked left before a hop, or before a step right and a mega jump
    std::string Name() const {
        char text[80];
        switch (Kind) {
            case WAIT:
                std::snprintf(text, sizeof text, "wait %d", Frames);
                break;
            case WALK:
                std::snprintf(text, sizeof text, "walk %s %d", Dir < 0 ? "left" : "right", Frames);
                break;
            case JUMP:
                std::snprintf(text, sizeof text, "hop %d %d", Dir, Frames);
                break;
            case MEGA:
                std::snprintf(text, sizeof text, "mega back %d charge %d aim %d brake %d", Back,
                              Charge, Aim, Brake);
                break;
        }
        return text;
    }
};

// Appends the move's key events from frame `at`; returns the frame its last
// key is let go.
int64_t AddMove(const MOVE& m, int64_t at, std::vector<INPUT_EVENT>* events) {
    INPUT_KEY arrow = m.Dir < 0 ? INPUT_KEY::LEFT : INPUT_KEY::RIGHT;
    switch (m.Kind) {
        case MOVE::WAIT:
            return at + m.Frames;
        case MOVE::WALK:
            AddKey(events, at, arrow, true);
            AddKey(events, at + m.Frames, arrow, false);
            return at + m.Frames;
        case MOVE::JUMP:
            if (m.Back > 0) {
                // A run-up: from right under a step's edge the body meets
                // its face on the way up.
                AddKey(events, at, INPUT_KEY::LEFT, true);
                AddKey(events, at + m.Back, INPUT_KEY::LEFT, false);
                at += m.Back + 1;
            }
            AddKey(events, at, INPUT_KEY::UP, true);
            AddKey(events, at + 2, INPUT_KEY::UP, false);
            if (m.Dir != 0 && m.Frames > 0) {
                AddKey(events, at, arrow, true);
                AddKey(events, at + m.Frames, arrow, false);
            }
            return at + std::max(2, m.Frames);
        case MOVE::MEGA: {
            if (m.Back > 0) {
                // A run-up away from a wall too close to leap from, then a
                // step back round to face it.
                AddKey(events, at, INPUT_KEY::LEFT, true);
                AddKey(events, at + m.Back, INPUT_KEY::LEFT, false);
                AddKey(events, at + m.Back + 1, INPUT_KEY::RIGHT, true);
                AddKey(events, at + m.Back + 3, INPUT_KEY::RIGHT, false);
                at += m.Back + 4;
            }
            AddKey(events, at, INPUT_KEY::SPACE, true);
            if (m.Aim != 0) {
                // The arrow comes a frame after Space: pressed with it, it
                // would walk the hero round first and turn the aim about.
                INPUT_KEY turn = m.Aim > 0 ? INPUT_KEY::LEFT : INPUT_KEY::RIGHT;
                AddKey(events, at + 1, turn, true);
                AddKey(events, at + 1 + std::abs(m.Aim), turn, false);
            }
            int64_t release = at + std::max(m.Charge, std::abs(m.Aim) + 2);
            AddKey(events, release, INPUT_KEY::SPACE, false);
            int64_t end = release + 1;
            if (m.Brake != 0) {
                INPUT_KEY brake = m.Brake > 0 ? INPUT_KEY::LEFT : INPUT_KEY::RIGHT;
                AddKey(events, release + 2, brake, true);
                AddKey(events, release + 2 + std::abs(m.Brake), brake, false);
                end = release + 2 + std::abs(m.Brake);
            }
            return end;
        }
    }
    return at;
}

enum class MOVESET { ALL, WALK_HOP, DEFAULT_AIM, CAREFUL };

// What a mega jump costs and walking is worth, in px of progress: among
// moves that get about as far, walks and hops win, so a route shows the
// whole of the hero's moves where the level leaves a choice.
struct PREFERENCE {
    double MegaCost = 64.0;  // per mega jump launched
    double PaceBonus = 0.5;  // per frame moved right at walking pace, walked or hopped
};

// AddMove, with the events kept in frame order: a script file is read in
// that order, and the game skips a key listed after a later frame's.
int64_t Emit(const MOVE& m, int64_t at, std::vector<INPUT_EVENT>* events) {
    size_t first = events->size();
    int64_t end = AddMove(m, at, events);
    std::stable_sort(events->begin() + std::ptrdiff_t(first), events->end(),
                     [](const INPUT_EVENT& a, const INPUT_EVENT& b) { return a.Frame < b.Frame; });
    return end;
}

std::vector<MOVE> Candidates(MOVESET set) {
    std::vector<MOVE> moves;
    for (int n : {10, 40, 120}) {
        moves.push_back({MOVE::WALK, +1, n});
    }
    for (int n : {10, 40}) {
        moves.push_back({MOVE::WALK, -1, n});
    }
    for (int n : {0, 25, 60}) {
        moves.push_back({MOVE::JUMP, +1, n});
    }
    moves.push_back({MOVE::JUMP, -1, 30});
    for (int back : {20, 40}) {
        MOVE m{MOVE::JUMP, +1, 60};
        m.Back = back;
        moves.push_back(m);
    }
    for (int n : {30, 90}) {
        moves.push_back({MOVE::WAIT, 0, n});
    }
    if (set == MOVESET::WALK_HOP) {
        return moves;
    }
    if (set == MOVESET::DEFAULT_AIM) {
        // Space held until the meter is full, the aim left where it starts;
        // braking in flight is not aiming, so it stays.
        MOVE m;
        m.Kind = MOVE::MEGA;
        m.Charge = 60;
        for (int brake : {0, 40}) {
            m.Brake = brake;
            moves.push_back(m);
        }
        m.Brake = 0;
        for (int back : {30, 70}) {
            m.Back = back;
            moves.push_back(m);
        }
        return moves;
    }
    // Charges from a third to full, aimed from flat-ish to straight up.
    for (int charge : {24, 34, 46, 60}) {
        for (int aim : {-12, 0, 16}) {
            for (int brake : {0, 40}) {
                MOVE m;
                m.Kind = MOVE::MEGA;
                m.Charge = charge;
                m.Aim = aim;
                m.Brake = brake;
                moves.push_back(m);
            }
        }
    }
    for (int back : {30, 70}) {
        for (int charge : {46, 60}) {
            for (int aim : {0, 16}) {
                MOVE m;
                m.Kind = MOVE::MEGA;
                m.Back = back;
                m.Charge = charge;
                m.Aim = aim;
                moves.push_back(m);
            }
        }
    }
    return moves;
}

struct NODE {
    std::vector<INPUT_EVENT> Events;
    std::vector<std::string> Moves;
    int64_t Next = 0;  // first frame for the next move
    double Score = -1e18;
    double Rank = -1e18;  // the score with the preference for walking
    bool Done = false;
    RUN_FRAME Last;
};

double Evaluate(const RUN_FRAME& last, int level, bool* done) {
    *done = false;
    if (last.State == GS_TO_BAD_ENDING || last.Lives <= 0) {
        return -1e18;
    }
    if ((last.State == GS_PLAYING && last.Level != level) || last.State == GS_TO_GOOD_ENDING) {
        *done = true;
        return 1e9 - double(last.Frame);
    }
    double livesLost = 15 - last.Lives;
    double score = -3000.0 * livesLost - 400.0 * (1.0 - last.Health);
    // Progress is to the right, up to the exit; past it is as far off as
    // short of it, or a long leap over the toilet looks like the best move.
    score += last.X - (last.ExitX >= 0.0f ? 2.0 * std::max(0.0f, last.X - last.ExitX) : 0.0);
    return score;
}

double Rank(const NODE& n, const PREFERENCE& p) {
    return n.Score - p.MegaCost * n.Last.MegaJumps + p.PaceBonus * double(n.Last.PaceFrames);
}

// What trying one move from a node gave.
struct RESULT {
    double Score = -1e18;
    bool Done = false;
    int64_t End = 0;  // the frame the move's last key is let go
    RUN_FRAME Last;
};

// Plays the node's moves once, then tries every candidate from there, each
// in a copy of the game, so no candidate pays for the moves before it.
// Writes one RESULT per candidate to `fd`.
void Expand(const std::string& data, int level, const NODE& node, const std::vector<MOVE>& moves,
            int fd) {
    LEVEL_RUN run(data);
    if (!run.Begin(level, node.Events, DT)) {
        return;
    }
    run.Advance(node.Next);
    for (const MOVE& m : moves) {
        std::vector<INPUT_EVENT> events = node.Events;
        int64_t end = Emit(m, node.Next, &events);
        RESULT result = InCopy(
            [&] {
                RESULT r;
                r.End = end;
                run.ChangeScript(events);
                r.Last = run.Advance(end + MOVE_TIMEOUT, end, SETTLE_FRAMES);
                r.Score = Evaluate(r.Last, level, &r.Done);
                return r;
            },
            RESULT{});
        if (!WriteAnswer(fd, result)) {
            return;
        }
    }
}

// Reads an input script, and the move lines of its header ("#   ...") when
// `moves` is given; false, said on stderr, when it cannot be read.
bool ReadScript(const std::string& path, std::vector<INPUT_EVENT>* events,
                std::vector<std::string>* moves) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    if (!in || !ParseInputScript(text.str(), events, &error)) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), in ? error.c_str() : "cannot be read");
        return false;
    }
    std::string line;
    for (std::istringstream lines(text.str()); moves && std::getline(lines, line);) {
        if (line.rfind("#   ", 0) == 0) {
            moves->push_back(line.substr(4));
        }
    }
    return true;
}

// The beam search from `start`: each step every candidate move is tried from
// each node of the frontier, and the best few that stand in different
// places go on.
struct SEARCH {
    NODE Best;                   // the best ranked; one that finished, if any did
    NODE Furthest;               // the state, with lives to spare, furthest right
    std::vector<NODE> Frontier;  // the last step's states, best ranked first
};

SEARCH Search(const std::string& data, int level, const NODE& start, const std::vector<MOVE>& moves,
              int beam, int steps, int patience, const PREFERENCE& preference) {
    std::vector<NODE> frontier{start};
    SEARCH found{start, start, {}};
    int stale = 0;  // steps since the furthest state last moved on
    for (int step = 0; step < steps && !found.Best.Done; ++step) {
        std::vector<NODE> next;
        // One copy per node of the frontier, side by side.
        std::vector<COPY> copies;
        for (const NODE& node : frontier) {
            copies.push_back(StartCopy([&](int fd) { Expand(data, level, node, moves, fd); }));
        }
        ++stale;
        for (size_t k = 0; k < copies.size(); ++k) {
            const NODE& node = frontier[k];
            for (const MOVE& m : moves) {
                RESULT r;
                if (!ReadAnswer(copies[k], &r)) {
                    break;
                }
                if (r.Score <= -1e17) {
                    continue;
                }
                NODE child = node;
                Emit(m, node.Next, &child.Events);
                child.Score = r.Score;
                child.Done = r.Done;
                child.Last = r.Last;
                child.Rank = Rank(child, preference);
                child.Next = r.Last.Frame + 1;
                child.Moves.push_back(m.Name());
                if (!child.Done && child.Last.X > found.Furthest.Last.X) {
                    found.Furthest = child;
                    stale = 0;
                }
                next.push_back(std::move(child));
            }
            EndCopy(copies[k]);
        }
        if (next.empty()) {
            break;
        }
        std::sort(next.begin(), next.end(), [](const NODE& a, const NODE& b) {
            return a.Rank != b.Rank ? a.Rank > b.Rank : a.Next < b.Next;
        });
        // Keep the best few that stand in different places.
        frontier.clear();
        std::map<std::tuple<int, int, int>, bool> seen;
        for (NODE& n : next) {
            auto key = std::make_tuple(int(n.Last.X) / 24, int(n.Last.Y) / 24, n.Last.Lives);
            if (seen.count(key)) {
                continue;
            }
            seen[key] = true;
            frontier.push_back(std::move(n));
            if (int(frontier.size()) >= beam) {
                break;
            }
        }
        if (frontier[0].Rank > found.Best.Rank) {
            found.Best = frontier[0];
        }
        found.Frontier = frontier;
        std::fprintf(stderr, "level %d step %d: x %.0f y %.0f lives %d score %.0f (%s)\n", level,
                     step, frontier[0].Last.X, frontier[0].Last.Y, frontier[0].Last.Lives,
                     frontier[0].Score, frontier[0].Moves.back().c_str());
        if (patience > 0 && stale >= patience) {
            std::fprintf(stderr, "level %d: no further in %d steps\n", level, patience);
            break;
        }
    }
    return found;
}

// A route as a careful player takes it: walks and hops as far as they go,
// then the one move (a mega jump, most often) that gets past where they
// stopped, then walks and hops again. The proving routes come from it, so
// they walk and hop wherever the level lets them.
SEARCH Careful(const std::string& data, int level, const NODE& start, int beam, int steps,
               const PREFERENCE& preference) {
    constexpr int MAX_ROUNDS = 60;
    constexpr int WALK_PATIENCE = 12;    // steps of walking that get no further
    constexpr float PAST_OBSTACLE = 64;  // px a leap must gain to count as a way on
    constexpr int EVERY_LANDING = 1000;  // beam wide enough to keep every landing
    const std::vector<MOVE> walking = Candidates(MOVESET::WALK_HOP);
    const std::vector<MOVE> all = Candidates(MOVESET::ALL);
    NODE node = start;
    for (int round = 0; round < MAX_ROUNDS && !node.Done; ++round) {
        SEARCH walked = Search(data, level, node, walking, beam, steps, WALK_PATIENCE, preference);
        const NODE& furthest =
            walked.Furthest.Last.Lives >= node.Last.Lives ? walked.Furthest : walked.Best;
        if (walked.Best.Done) {
            node = walked.Best;
        } else if (furthest.Last.X > node.Last.X) {
            node = furthest;
        }
        if (node.Done) {
            break;
        }
        // Of the moves that get past the obstacle without a life lost, the
        // one that lands nearest beyond it: a player jumps what he must.
        SEARCH leap = Search(data, level, node, all, EVERY_LANDING, 1, 0, preference);
        const NODE* nearest = nullptr;
        for (const NODE& n : leap.Frontier) {
            bool past = n.Done || (n.Last.X >= node.Last.X + PAST_OBSTACLE &&
                                   n.Last.Lives >= node.Last.Lives && n.Score > -1e17);
            if (past && (!nearest || n.Done || (!nearest->Done && n.Last.X < nearest->Last.X))) {
                nearest = &n;
            }
        }
        if (!nearest) {
            break;
        }
        node = *nearest;
    }
    return {node, node, std::vector<NODE>{}};
}

// Left for the next level, or for the good ending after the last.
bool Finished(const RUN_FRAME& f, int level) {
    return f.State != GS_TO_BAD_ENDING && (f.Level != level || f.State == GS_TO_GOOD_ENDING);
}

// Plays a script to the end of the level, or a minute past its last key;
// the last frame played, or false when the script cannot be read or played.
bool PlayScript(const std::string& data, int level, const std::string& path, RUN_FRAME* end) {
    std::vector<INPUT_EVENT> events;
    if (!ReadScript(path, &events, nullptr)) {
        return false;
    }
    int64_t last = events.empty() ? 0 : events.back().Frame;
    LEVEL_RUN run(data);
    if (!run.Begin(level, events, DT)) {
        std::fprintf(stderr, "%s: level %d cannot be played\n", data.c_str(), level);
        return false;
    }
    *end = run.Advance(last + 3600);
    return true;
}

double WalkShare(const RUN_FRAME& end) {
    return end.FreeFrames > 0 ? 100.0 * double(end.WalkFrames) / double(end.FreeFrames) : 0.0;
}

// The hero standing at the start, once the title card is over.
NODE StartNode(LEVEL_RUN& runner, int level) {
    NODE start;
    std::vector<RUN_FRAME> run = runner.Play(level, {}, DT, 2000, 0, SETTLE_FRAMES);
    start.Next = run.empty() ? 0 : run.back().Frame + 1;
    start.Last = run.empty() ? RUN_FRAME{} : run.back();
    return start;
}

// How far a narrowed search gets: whether it finishes, and the share of the
// level's width it reaches, %.
struct REACH {
    bool Done = false;
    double Share = 0.0;
};

REACH Reach(const std::string& data, int level, MOVESET set) {
    LEVEL_RUN runner(data);
    NODE start = StartNode(runner, level);
    SEARCH found = Search(data, level, start, Candidates(set), 3, 60, 12, PREFERENCE{});
    const RUN_FRAME& far = found.Furthest.Last;
    double width = double(std::max(1, far.MapWidth)) * TILE_SIZE;
    return {found.Best.Done, found.Best.Done ? 100.0 : 100.0 * far.X / width};
}

// What the design asks of each level, measured: its replay finishes, and in
// a normal level hops at least three times and walks a quarter of its
// frames; walking and hopping alone get through the first 30 % of it; from
// stage 2 on, full jumps at the first aim cannot finish it. Prints one row a
// level and every rule broken; false if any is.
bool DesignTable(const std::string& data, const std::string& replays) {
    constexpr int MIN_HOPS = 3;
    constexpr double MIN_WALKING = 25.0;  // % of the route's free frames
    constexpr double MIN_REACH = 30.0;    // % of the level's width
    constexpr int FIRST_AIMING_LEVEL = 4;
    std::vector<std::string> broken;
    auto rule = [&](bool holds, int level, const std::string& what) {
        if (!holds) {
            broken.push_back("level " + std::to_string(level) + ": " + what);
        }
    };
    std::printf(
        "\nlevel  end frame  finished  hops  megas  bounces  walking  walk-hop reach  "
        "full jumps at the first aim\n");
    for (int l = 0; l < 12; ++l) {
        char name[32];
        std::snprintf(name, sizeof name, "/level%02d.txt", l);
        RUN_FRAME end;
        bool played = PlayScript(data, l, replays + name, &end);
        rule(played && Finished(end, l), l, "the replay does not finish the level");
        if (!played) {
            continue;
        }
        std::printf("%5d  %9lld  %8s  %4d  %5d  %7d  %6.1f%%", l, (long long)end.Frame,
                    Finished(end, l) ? "yes" : "no", end.Hops, end.MegaJumps, end.WallBangs,
                    WalkShare(end));
        if (IsBossLevel(l)) {
            std::printf("  %14s  %s\n", "-", "-");
            continue;
        }
        rule(end.Hops >= MIN_HOPS, l, "the replay hops fewer than three times");
        rule(WalkShare(end) >= MIN_WALKING, l,
             "the replay walks less than a quarter of its frames");
        REACH walking = Reach(data, l, MOVESET::WALK_HOP);
        rule(walking.Share >= MIN_REACH, l, "walking and hopping reach less than 30 % of it");
        std::printf("  %13.1f%%", walking.Share);
        if (l >= FIRST_AIMING_LEVEL) {
            REACH plain = Reach(data, l, MOVESET::DEFAULT_AIM);
            rule(!plain.Done, l, "full jumps at the first aim finish it");
            std::printf("  %s\n", plain.Done ? "finish" : "do not finish");
        } else {
            std::printf("  %s\n", "-");
        }
        std::fflush(stdout);
    }
    for (const std::string& b : broken) {
        std::printf("design: %s\n", b.c_str());
    }
    return broken.empty();
}

}  // namespace

int main(int argc, char** argv) {
    std::string data, out, replay, resume, stats, statsAll, design;
    int level = -1, beam = 3, steps = 60;
    MOVESET set = MOVESET::ALL;
    PREFERENCE preference;
    bool preferWalking = true;
    for (int i = 1; i < argc; i += 2) {
        std::string a = argv[i];
        std::string v = i + 1 < argc ? argv[i + 1] : "";
        bool ok = i + 1 < argc;
        if (a == "--data") {
            data = v;
        } else if (a == "--level") {
            level = std::atoi(v.c_str());
        } else if (a == "--out") {
            out = v;
        } else if (a == "--beam") {
            beam = std::atoi(v.c_str());
        } else if (a == "--replay") {
            replay = v;
        } else if (a == "--resume") {
            resume = v;
        } else if (a == "--steps") {
            steps = std::atoi(v.c_str());
        } else if (a == "--stats") {
            stats = v;
        } else if (a == "--stats-all") {
            statsAll = v;
        } else if (a == "--design") {
            design = v;
        } else if (a == "--moves") {
            ok = ok && (v == "all" || v == "walk-hop" || v == "default-aim" || v == "careful");
            set = v == "walk-hop"      ? MOVESET::WALK_HOP
                  : v == "default-aim" ? MOVESET::DEFAULT_AIM
                  : v == "careful"     ? MOVESET::CAREFUL
                                       : MOVESET::ALL;
        } else if (a == "--prefer-walking") {
            ok = ok && (v == "on" || v == "off");
            preferWalking = v == "on";
        } else if (a == "--mega-cost") {
            preference.MegaCost = std::atof(v.c_str());
        } else if (a == "--walk-bonus") {
            preference.PaceBonus = std::atof(v.c_str());
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "vortigan_solve: %s %s: not understood\n", a.c_str(), v.c_str());
            return 2;
        }
    }
    if (!preferWalking) {
        preference = {0.0, 0.0};
    }
    if (!design.empty() && !data.empty()) {
        return DesignTable(data, design) ? 0 : 1;
    }
    if (!statsAll.empty() && !data.empty()) {
        // The replays side by side: one row a level.
        std::printf("level  end frame  finished  hops  mega jumps  wall bounces  walking\n");
        for (int l = 0; l < 12; ++l) {
            char name[32];
            std::snprintf(name, sizeof name, "/level%02d.txt", l);
            RUN_FRAME end;
            if (!PlayScript(data, l, statsAll + name, &end)) {
                continue;
            }
            std::printf("%5d  %9lld  %8s  %4d  %10d  %12d  %6.1f%%\n", l, (long long)end.Frame,
                        Finished(end, l) ? "yes" : "no", end.Hops, end.MegaJumps, end.WallBangs,
                        WalkShare(end));
        }
        return 0;
    }
    if (!stats.empty() && !data.empty() && level >= 0 && level < 12) {
        RUN_FRAME end;
        if (!PlayScript(data, level, stats, &end)) {
            return 2;
        }
        std::printf(
            "level %d: end frame %lld finished %s hops %d mega jumps %d wall bounces %d "
            "walking %.1f%% (%lld of %lld free frames)\n",
            level, (long long)end.Frame, Finished(end, level) ? "yes" : "no", end.Hops,
            end.MegaJumps, end.WallBangs, WalkShare(end), (long long)end.WalkFrames,
            (long long)end.FreeFrames);
        return 0;
    }
    if (!replay.empty() && !data.empty() && level >= 0 && level < 12) {
        // Plays a script in-process and prints where the hero is every
        // second, to hold against the game's own --trace.
        std::vector<INPUT_EVENT> events;
        if (!ReadScript(replay, &events, nullptr)) {
            return 2;
        }
        LEVEL_RUN runner(data);
        for (const RUN_FRAME& f : runner.Play(level, events, DT, 20000)) {
            if (f.Frame % 60 == 0 || f.Level != level || f.State != GS_PLAYING) {
                std::printf("%lld,%d,%d,%g,%g,%g,%g,%g,%d,%d\n", (long long)f.Frame, f.State,
                            f.Level, f.X, f.Y, f.Vx, f.Vy, f.Health, f.Lives, f.Score);
            }
        }
        return 0;
    }
    // The narrower move sets measure a level; only a way through is needed
    // in a file.
    if (data.empty() || (out.empty() && set == MOVESET::ALL) || level < 0 || level > 11) {
        std::fprintf(stderr,
                     "usage: vortigan_solve --data DIR --level N --out SCRIPT [--beam K] "
                     "[--steps S] [--moves all|walk-hop|default-aim] [--prefer-walking on|off]\n"
                     "       vortigan_solve --data DIR --level N --replay|--stats SCRIPT\n"
                     "       vortigan_solve --data DIR --stats-all FOLDER\n"
                     "       vortigan_solve --data DIR --design FOLDER\n");
        return 2;
    }
    const char* setName = set == MOVESET::WALK_HOP      ? "walk-hop"
                          : set == MOVESET::DEFAULT_AIM ? "default-aim"
                          : set == MOVESET::CAREFUL     ? "careful"
                                                        : "all";
    bool boss = IsBossLevel(level);
    LEVEL_RUN runner(data);
    std::vector<MOVE> moves = Candidates(set);

    // The first move starts once the title card is over and the hero stands.
    NODE start = StartNode(runner, level);
    if (boss && set != MOVESET::WALK_HOP) {
        // A boss is beaten by stomps, searched for one at a time; a script
        // of the first few goes on from where its hero stands at the end.
        std::vector<INPUT_EVENT> events;
        std::vector<std::string> found;
        if (!resume.empty()) {
            if (!ReadScript(resume, &events, &found)) {
                return 2;
            }
            int64_t last = events.empty() ? 0 : events.back().Frame;
            std::vector<RUN_FRAME> run =
                runner.Play(level, events, DT, last + 2000, last + 1, SETTLE_FRAMES);
            start.Next = run.empty() ? 0 : run.back().Frame + 1;
        }
        bool over =
            SolveBoss(data, level, DT, &events, start.Next, &found, set == MOVESET::DEFAULT_AIM);
        std::string header = "# The boss of level " + std::to_string(level) +
                             (over ? " beaten" : " NOT beaten") + ", found by vortigan_solve" +
                             (set == MOVESET::ALL ? "" : " --moves " + std::string(setName)) +
                             "; play with --level " + std::to_string(level) +
                             " --fixed-dt 0.0166667\n";
        for (const std::string& m : found) {
            header += "#   " + m + "\n";
        }
        if (!out.empty()) {
            std::ofstream file(out, std::ios::binary | std::ios::trunc);
            file << ScriptText(events, header);
        }
        std::printf("level %d %s: %s, %zu stomps\n", level, setName,
                    over ? "finished" : "NOT finished", found.size());
        return over ? 0 : 1;
    }
    // A search that cannot finish is given up once it has stopped getting
    // further; the full search runs its steps, as the replays were found.
    int patience = set == MOVESET::ALL ? 0 : 12;
    SEARCH found = set == MOVESET::CAREFUL
                       ? Careful(data, level, start, beam, steps, preference)
                       : Search(data, level, start, moves, beam, steps, patience, preference);
    // A way through if one was found; otherwise the narrower searches show
    // how far they got.
    const NODE& shown = found.Best.Done || set == MOVESET::ALL ? found.Best : found.Furthest;
    const RUN_FRAME& far = found.Furthest.Last;
    double width = double(std::max(1, far.MapWidth));
    std::string header = "# " +
                         std::string(shown.Done ? "A way through" : "The furthest found in") +
                         " level " + std::to_string(level) + ", found by vortigan_solve" +
                         (set == MOVESET::ALL ? "" : " --moves " + std::string(setName)) +
                         "; play with --level " + std::to_string(level) + " --fixed-dt 0.0166667\n";
    for (const std::string& m : shown.Moves) {
        header += "#   " + m + "\n";
    }
    if (!out.empty()) {
        std::ofstream file(out, std::ios::binary | std::ios::trunc);
        file << ScriptText(shown.Events, header);
    }
    std::printf("level %d %s: %s after %lld frames; furthest x %.0f px, tile %.1f of %d (%.1f%%)\n",
                level, setName, found.Best.Done ? "finished" : "NOT finished",
                (long long)shown.Last.Frame, far.X, far.X / TILE_SIZE, far.MapWidth,
                100.0 * far.X / (width * TILE_SIZE));
    return found.Best.Done ? 0 : 1;
}
