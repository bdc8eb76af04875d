// Finds a way through a level with the hero's real inputs, and writes it as
// an input script:
//   vortigan_solve --data DIR --level N --out SCRIPT [--beam K] [--steps S]
//   vortigan_solve --data DIR --level N --replay SCRIPT   (prints the hero's path)
//   vortigan_solve --data DIR --level N --out SCRIPT --resume PART   (a boss level, from
//                                                        the stomps of PART on)
//
// A beam search over moves a player makes: walks, hops, waits and aimed mega
// jumps of a chosen charge. Every candidate is played in the game's own code,
// in a copy of the game made where the move starts, so what it finds is
// exactly what the game will do with the script. A boss level is beaten by
// stomps instead, searched for one at a time (boss_solve.h).

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
    int Back = 0;    // frames walked left (then one step right) before a mega jump
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
int64_t Emit(const MOVE& m, int64_t at, std::vector<INPUT_EVENT>* events) {
    INPUT_KEY arrow = m.Dir < 0 ? INPUT_KEY::LEFT : INPUT_KEY::RIGHT;
    switch (m.Kind) {
        case MOVE::WAIT:
            return at + m.Frames;
        case MOVE::WALK:
            AddKey(events, at, arrow, true);
            AddKey(events, at + m.Frames, arrow, false);
            return at + m.Frames;
        case MOVE::JUMP:
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
                INPUT_KEY turn = m.Aim > 0 ? INPUT_KEY::LEFT : INPUT_KEY::RIGHT;
                AddKey(events, at, turn, true);
                AddKey(events, at + std::abs(m.Aim), turn, false);
            }
            int64_t release = at + std::max(m.Charge, std::abs(m.Aim) + 1);
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

std::vector<MOVE> Candidates() {
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
    for (int n : {30, 90}) {
        moves.push_back({MOVE::WAIT, 0, n});
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
    score += last.X;
    return score;
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

}  // namespace

int main(int argc, char** argv) {
    std::string data, out, replay, resume;
    int level = -1, beam = 3, steps = 60;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string a = argv[i];
        if (a == "--data") {
            data = argv[i + 1];
        } else if (a == "--level") {
            level = std::atoi(argv[i + 1]);
        } else if (a == "--out") {
            out = argv[i + 1];
        } else if (a == "--beam") {
            beam = std::atoi(argv[i + 1]);
        } else if (a == "--replay") {
            replay = argv[i + 1];
        } else if (a == "--resume") {
            resume = argv[i + 1];
        } else if (a == "--steps") {
            steps = std::atoi(argv[i + 1]);
        }
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
    if (data.empty() || out.empty() || level < 0 || level > 11) {
        std::fprintf(stderr, "usage: vortigan_solve --data DIR --level N --out SCRIPT\n");
        return 2;
    }
    bool boss = level == 3 || level == 7 || level == 11;
    LEVEL_RUN runner(data);
    std::vector<MOVE> moves = Candidates();

    // The first move starts once the title card is over and the hero stands.
    NODE start;
    {
        std::vector<RUN_FRAME> run = runner.Play(level, {}, DT, 2000, 0, SETTLE_FRAMES);
        start.Next = run.empty() ? 0 : run.back().Frame + 1;
        start.Last = run.empty() ? RUN_FRAME{} : run.back();
    }
    if (boss) {
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
        bool over = SolveBoss(data, level, DT, &events, start.Next, &found);
        std::string header = "# The boss of level " + std::to_string(level) +
                             " beaten, found by vortigan_solve; play with --level " +
                             std::to_string(level) + " --fixed-dt 0.0166667\n";
        for (const std::string& m : found) {
            header += "#   " + m + "\n";
        }
        std::ofstream file(out, std::ios::binary | std::ios::trunc);
        file << ScriptText(events, header);
        std::fprintf(stderr, "%s: %s\n", out.c_str(), over ? "finished" : "NOT finished");
        return over ? 0 : 1;
    }
    std::vector<NODE> frontier{start};
    NODE best = start;
    for (int step = 0; step < steps && !best.Done; ++step) {
        std::vector<NODE> next;
        // One copy per node of the frontier, side by side.
        std::vector<COPY> copies;
        for (const NODE& node : frontier) {
            copies.push_back(StartCopy([&](int fd) { Expand(data, level, node, moves, fd); }));
        }
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
                child.Next = r.Last.Frame + 1;
                child.Moves.push_back(m.Name());
                next.push_back(std::move(child));
            }
            EndCopy(copies[k]);
        }
        if (next.empty()) {
            break;
        }
        std::sort(next.begin(), next.end(), [](const NODE& a, const NODE& b) {
            return a.Score != b.Score ? a.Score > b.Score : a.Next < b.Next;
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
        if (frontier[0].Score > best.Score) {
            best = frontier[0];
        }
        std::fprintf(stderr, "level %d step %d: x %.0f y %.0f lives %d score %.0f (%s)\n", level,
                     step, frontier[0].Last.X, frontier[0].Last.Y, frontier[0].Last.Lives,
                     frontier[0].Score, frontier[0].Moves.back().c_str());
    }
    std::string header = "# A way through level " + std::to_string(level) +
                         ", found by vortigan_solve; play with --level " + std::to_string(level) +
                         " --fixed-dt 0.0166667\n";
    for (const std::string& m : best.Moves) {
        header += "#   " + m + "\n";
    }
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    file << ScriptText(best.Events, header);
    std::fprintf(stderr, "%s: %s after %lld frames\n", out.c_str(),
                 best.Done ? "finished" : "NOT finished", (long long)best.Last.Frame);
    return best.Done ? 0 : 1;
}
