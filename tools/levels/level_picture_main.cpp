// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Draws an overview picture of every level, as the game loads it:
//   vortigan_levelpicture --data DIR --out DIR
//
// One PNG per level (OUT/stage1-1.png ...), 16 px per tile, with five rows
// of sky above the map and room beyond its ends for the whole of every small
// hat's line (they come and go far outside); the world outside the map is
// drawn darker. On the tiles:
//   green box        the hero's start (his box)
//   white box        the toilet
//   dark box, red    the bomb
//   white line       a small hats' flight line, red where it runs through
//                    rock (the checker's flight-line rule); a dot in the
//                    hat kind's colour where each hat starts: 0 cyan,
//                    1 orange, 2 purple, 3 pink, 4 yellow
//   magenta          a boss's tour: its box at each waypoint, a thin line
//                    from where it appears to its first waypoint
// Ticks along the top mark every tenth column, longer every fiftieth.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "objects/bomb.h"
#include "objects/boss.h"
#include "objects/hero.h"
#include "objects/toilet.h"
#include "platform/image_file.h"
#include "tools/levels/level_measure.h"
#include "world/world.h"

namespace {

const char* const NAMES[LEVEL_COUNT] = {"stage1-1", "stage1-2", "stage1-3", "stage1-boss",
                                        "stage2-1", "stage2-2", "stage2-3", "stage2-boss",
                                        "stage3-1", "stage3-2", "stage3-3", "stage3-boss"};

constexpr int CELL_PX = 16;  // picture px per tile
constexpr int SKY_ROWS = 5;  // rows shown above the map: paths climb to row -4
// Columns shown left of the map, set for each level to reach the farthest
// hat; one at least.
int LeftColumns = 1;

struct RGB {
    uint8_t R, G, B;
};

constexpr RGB SKY{156, 196, 228};
constexpr RGB OUTSIDE{92, 112, 138};
constexpr RGB BLACK{0, 0, 0};
constexpr RGB WHITE{255, 255, 255};
constexpr RGB BURIED{230, 20, 20};
constexpr RGB HERO_GREEN{40, 200, 60};
constexpr RGB BOSS_MAGENTA{255, 0, 220};
constexpr RGB BOMB_GREY{40, 40, 40};
constexpr RGB KIND_COLOURS[5] = {
    {0, 220, 255}, {255, 150, 0}, {170, 80, 255}, {255, 110, 200}, {255, 235, 0}};

class CANVAS {
public:
    CANVAS(int width, int height)
        : Width(width), Height(height), Rgba(size_t(width) * height * 4) {}

    void Blend(int x, int y, RGB c, float alpha = 1.0f) {
        if (x < 0 || y < 0 || x >= Width || y >= Height) {
            return;
        }
        uint8_t* p = &Rgba[(size_t(y) * Width + x) * 4];
        p[0] = uint8_t(std::lround(p[0] + (c.R - p[0]) * alpha));
        p[1] = uint8_t(std::lround(p[1] + (c.G - p[1]) * alpha));
        p[2] = uint8_t(std::lround(p[2] + (c.B - p[2]) * alpha));
        p[3] = 255;
    }

    void Fill(int left, int top, int right, int bottom, RGB c, float alpha = 1.0f) {
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                Blend(x, y, c, alpha);
            }
        }
    }

    // A box with a one-pixel outline, bounds in picture px.
    void Box(float left, float top, float right, float bottom, RGB fill, RGB outline,
             float fillAlpha = 1.0f) {
        int l = int(std::floor(left)), t = int(std::floor(top));
        int r = std::max(l + 3, int(std::ceil(right))), b = std::max(t + 3, int(std::ceil(bottom)));
        Fill(l, t, r, b, fill, fillAlpha);
        Fill(l, t, r, t + 1, outline);
        Fill(l, b - 1, r, b, outline);
        Fill(l, t, l + 1, b, outline);
        Fill(r - 1, t, r, b, outline);
    }

    void Disc(float cx, float cy, float radius, RGB c) {
        for (int y = int(cy - radius) - 1; y <= int(cy + radius) + 1; ++y) {
            for (int x = int(cx - radius) - 1; x <= int(cx + radius) + 1; ++x) {
                float dx = float(x) + 0.5f - cx, dy = float(y) + 0.5f - cy;
                if (dx * dx + dy * dy <= radius * radius) {
                    Blend(x, y, c);
                }
            }
        }
    }

    // A line `thickness` px wide, stamped every half pixel.
    void Line(float x0, float y0, float x1, float y1, RGB c, int thickness = 2) {
        float length = std::hypot(x1 - x0, y1 - y0);
        int steps = std::max(1, int(std::ceil(length * 2.0f)));
        for (int i = 0; i <= steps; ++i) {
            float t = float(i) / float(steps);
            int x = int(std::floor(x0 + (x1 - x0) * t - (thickness - 1) * 0.5f));
            int y = int(std::floor(y0 + (y1 - y0) * t - (thickness - 1) * 0.5f));
            Fill(x, y, x + thickness, y + thickness, c);
        }
    }

    int Width, Height;
    std::vector<uint8_t> Rgba;
};

// World px to picture px.
float PictureX(float x) {
    return (x / TILE_SIZE + float(LeftColumns)) * CELL_PX;
}
float PictureY(float y) {
    return (y / TILE_SIZE + SKY_ROWS) * CELL_PX;
}

// The tile sheet shrunk to CELL_PX a tile: straight RGBA, one picture per
// tile value, averaged over each 4 x 4 block with its alpha.
std::vector<std::vector<float>> ShrinkTiles(const IMAGEPIXELS& sheet) {
    const int k = TILE_SIZE / CELL_PX;
    std::vector<std::vector<float>> tiles(TILE_IMAGES);
    for (int v = 0; v < TILE_IMAGES; ++v) {
        const int sx = (v % 10) * TILE_SIZE, sy = (v / 10) * TILE_SIZE;
        std::vector<float>& out = tiles[v];
        out.assign(CELL_PX * CELL_PX * 4, 0.0f);
        for (int y = 0; y < CELL_PX; ++y) {
            for (int x = 0; x < CELL_PX; ++x) {
                float sum[4] = {};
                for (int j = 0; j < k; ++j) {
                    for (int i = 0; i < k; ++i) {
                        int px = sx + x * k + i, py = sy + y * k + j;
                        if (px >= sheet.Width || py >= sheet.Height) {
                            continue;
                        }
                        const uint8_t* p = &sheet.Rgba[(size_t(py) * sheet.Width + px) * 4];
                        float a = p[3] / 255.0f;
                        sum[0] += p[0] * a;
                        sum[1] += p[1] * a;
                        sum[2] += p[2] * a;
                        sum[3] += a;
                    }
                }
                float* o = &out[(size_t(y) * CELL_PX + x) * 4];
                if (sum[3] > 0.0f) {
                    o[0] = sum[0] / sum[3];
                    o[1] = sum[1] / sum[3];
                    o[2] = sum[2] / sum[3];
                }
                o[3] = sum[3] / float(k * k);
            }
        }
    }
    return tiles;
}

void DrawTiles(CANVAS& canvas, const WORLD& world, const std::vector<std::vector<float>>& tiles) {
    canvas.Fill(0, 0, canvas.Width, canvas.Height, OUTSIDE);
    canvas.Fill(int(PictureX(0)), int(PictureY(0)), int(PictureX(float(world.Width * TILE_SIZE))),
                int(PictureY(float(world.Height * TILE_SIZE))), SKY);
    for (int c = 0; c < world.Width; ++c) {
        for (int r = 0; r < world.Height; ++r) {
            int v = world.GetTile(c * TILE_SIZE, r * TILE_SIZE);
            if (v <= 0) {
                continue;
            }
            const int x0 = int(PictureX(float(c * TILE_SIZE)));
            const int y0 = int(PictureY(float(r * TILE_SIZE)));
            if (v > TILE_IMAGES) {
                // A value the game has no picture for: still solid.
                canvas.Fill(x0, y0, x0 + CELL_PX, y0 + CELL_PX, BLACK);
                continue;
            }
            const std::vector<float>& tile = tiles[v - 1];
            for (int y = 0; y < CELL_PX; ++y) {
                for (int x = 0; x < CELL_PX; ++x) {
                    const float* p = &tile[(size_t(y) * CELL_PX + x) * 4];
                    canvas.Blend(x0 + x, y0 + y,
                                 {uint8_t(p[0] + 0.5f), uint8_t(p[1] + 0.5f), uint8_t(p[2] + 0.5f)},
                                 p[3]);
                }
            }
        }
    }
    // Every tenth column: a faint line down the map and a tick above it.
    for (int c = 0; c <= world.Width; c += 10) {
        int x = int(PictureX(float(c * TILE_SIZE)));
        canvas.Fill(x, int(PictureY(0)), x + 1, canvas.Height, WHITE, 0.18f);
        canvas.Fill(x, 0, x + 1, c % 50 == 0 ? 12 : 5, WHITE);
    }
}

void DrawFlightLine(CANVAS& canvas, const WORLD& world, const BOX& body, const FLIGHT_LINE& line) {
    const std::vector<LINE_SAMPLE> samples = SampleLine(world, body, line);
    for (size_t i = 0; i + 1 < samples.size(); ++i) {
        const LINE_SAMPLE& a = samples[i];
        const LINE_SAMPLE& b = samples[i + 1];
        if (a.Leg == b.Leg) {
            canvas.Line(PictureX(a.At.x), PictureY(a.At.y), PictureX(b.At.x), PictureY(b.At.y),
                        a.Rock ? BURIED : WHITE);
        }
    }
    for (size_t i = 0; i < line.Starts.size(); ++i) {
        const VECTOR2 s = line.Starts[i];
        const int kind = std::clamp(line.Kinds[i], 0, 4);
        canvas.Disc(PictureX(s.x), PictureY(s.y), 5.0f, BLACK);
        canvas.Disc(PictureX(s.x), PictureY(s.y), 4.0f, KIND_COLOURS[kind]);
    }
}

// The boss's box about its centre, from a copy that flies its first step.
BOX BossBox(WORLD& world, const BOSS& boss) {
    BOSS probe(nullptr, boss.Position.x, boss.Position.y, &world, boss.Kind);
    for (int frame = 0; frame < 60 * 10; ++frame) {
        VECTOR2 before = probe.Position;
        probe.Update(1.0f / 60.0f);
        if (probe.Box.right > probe.Box.left) {
            return {probe.Box.left - int(before.x), probe.Box.top - int(before.y),
                    probe.Box.right - int(before.x), probe.Box.bottom - int(before.y)};
        }
    }
    return {};
}

void DrawBoss(CANVAS& canvas, WORLD& world, const BOSS& boss) {
    const BOX box = BossBox(world, boss);
    const std::vector<VECTOR2>& w = boss.Waypoints;
    if (!w.empty()) {
        canvas.Line(PictureX(boss.Position.x), PictureY(boss.Position.y), PictureX(w[0].x),
                    PictureY(w[0].y), BOSS_MAGENTA, 1);
    }
    for (size_t i = 0; i < w.size(); ++i) {
        const VECTOR2 a = w[i], b = w[(i + 1) % w.size()];
        canvas.Line(PictureX(a.x), PictureY(a.y), PictureX(b.x), PictureY(b.y), BOSS_MAGENTA);
        canvas.Box(PictureX(a.x + box.left), PictureY(a.y + box.top), PictureX(a.x + box.right),
                   PictureY(a.y + box.bottom), BOSS_MAGENTA, BOSS_MAGENTA, 0.2f);
    }
    canvas.Disc(PictureX(boss.Position.x), PictureY(boss.Position.y), 5.0f, BOSS_MAGENTA);
}

// A box about a standing thing's feet, world px.
void DrawStanding(CANVAS& canvas, VECTOR2 feet, float halfWidth, float height, RGB fill,
                  RGB outline) {
    canvas.Box(PictureX(feet.x - halfWidth), PictureY(feet.y - height),
               PictureX(feet.x + halfWidth), PictureY(feet.y), fill, outline);
}

}  // namespace

int main(int argc, char** argv) {
    std::string data, out;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string a = argv[i];
        if (a == "--data") {
            data = argv[i + 1];
        } else if (a == "--out") {
            out = argv[i + 1];
        }
    }
    if (data.empty() || out.empty()) {
        std::fprintf(stderr, "usage: vortigan_levelpicture --data DIR --out DIR\n");
        return 2;
    }
    out = std::filesystem::absolute(out).string();
    std::filesystem::create_directories(out);
    std::filesystem::current_path(data);

    IMAGEPIXELS sheet;
    std::string error;
    if (!ReadImageFile("textures/tiles.bmp", sheet, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const std::vector<std::vector<float>> tiles = ShrinkTiles(sheet);
    const BOX hatBody = HatBody();

    WORLD world(nullptr);
    HERO hero(nullptr, &world);
    int failed = 0;
    for (int level = 0; level < LEVEL_COUNT; ++level) {
        if (!world.LoadMap(level, &hero)) {
            std::fprintf(stderr, "%s: the map file cannot be loaded\n", NAMES[level]);
            ++failed;
            continue;
        }
        const std::vector<FLIGHT_LINE> lines = FlightLines(world.Objects());
        float left = 0.0f, right = float(world.Width * TILE_SIZE);
        for (const FLIGHT_LINE& line : lines) {
            for (const VECTOR2& p : line.Points) {
                left = std::min(left, p.x);
                right = std::max(right, p.x);
            }
        }
        LeftColumns = 1 + int(std::ceil(-left / TILE_SIZE));
        const int rightColumns = 1 + int(std::ceil(right / TILE_SIZE)) - world.Width;
        CANVAS canvas((LeftColumns + world.Width + rightColumns) * CELL_PX,
                      (world.Height + SKY_ROWS) * CELL_PX);
        DrawTiles(canvas, world, tiles);
        for (OBJECT* object : world.Objects()) {
            if (dynamic_cast<TOILET*>(object)) {
                DrawStanding(canvas, object->Position, 24.0f, 84.0f, WHITE, BLACK);
            } else if (dynamic_cast<BOMB*>(object)) {
                DrawStanding(canvas, object->Position, 60.0f, 110.0f, BOMB_GREY, BURIED);
            } else if (auto* boss = dynamic_cast<BOSS*>(object)) {
                DrawBoss(canvas, world, *boss);
            }
        }
        for (const FLIGHT_LINE& line : lines) {
            DrawFlightLine(canvas, world, hatBody, line);
        }
        DrawStanding(canvas, hero.Position, 15.0f, 60.0f, HERO_GREEN, BLACK);

        std::string path = out + "/" + NAMES[level] + ".png";
        if (!WritePngFile(path, canvas.Rgba.data(), canvas.Width, canvas.Height, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            ++failed;
            continue;
        }
        std::printf("%s\n", path.c_str());
    }
    return failed == 0 ? 0 : 1;
}
