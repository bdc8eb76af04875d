// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/levels/level_measure.h"

#include <algorithm>
#include <cmath>

#include "objects/smallhat.h"
#include "world/world.h"

bool SolidCell(const WORLD& world, int column, int row) {
    if (column < 0 || column >= world.Width || row < 0 || row >= world.Height) {
        return false;
    }
    return world.GetTile(column * TILE_SIZE, row * TILE_SIZE) > 0;
}

BOX HatBody() {
    // The hat works its box out from where it stands at the start of its
    // update; a thousandth of a second is too short to fire.
    SMALLHAT probe(nullptr, {0.0f, 0.0f}, nullptr, 0, false, {}, 0);
    probe.Update(0.001f);
    return probe.Box;
}

std::vector<FLIGHT_LINE> FlightLines(const std::vector<OBJECT*>& objects) {
    std::vector<FLIGHT_LINE> lines;
    for (OBJECT* object : objects) {
        auto* hat = dynamic_cast<SMALLHAT*>(object);
        if (!hat) {
            continue;
        }
        bool closed = !hat->FollowsPath;
        auto line = std::find_if(lines.begin(), lines.end(), [&](const FLIGHT_LINE& l) {
            return l.Points == hat->Path && l.Closed == closed;
        });
        if (line == lines.end()) {
            lines.push_back({hat->Path, closed, {}, {}});
            line = lines.end() - 1;
        }
        line->Kinds.push_back(hat->Kind);
        line->Starts.push_back(hat->Position);
    }
    return lines;
}

std::vector<std::pair<VECTOR2, VECTOR2>> Legs(const FLIGHT_LINE& line) {
    std::vector<std::pair<VECTOR2, VECTOR2>> legs;
    for (size_t i = 0; i + 1 < line.Points.size(); ++i) {
        legs.push_back({line.Points[i], line.Points[i + 1]});
    }
    if (line.Closed && line.Points.size() > 2) {
        legs.push_back({line.Points.back(), line.Points.front()});
    }
    return legs;
}

std::optional<CELL> RockAround(const WORLD& world, const BOX& body, VECTOR2 at) {
    // The body's bounds are inclusive pixels.
    const float left = at.x + float(body.left - HAT_MARGIN);
    const float right = at.x + float(body.right + HAT_MARGIN);
    const float top = at.y + float(body.top - HAT_MARGIN);
    const float bottom = at.y + float(body.bottom + HAT_MARGIN);
    const int c0 = int(std::floor(left / TILE_SIZE));
    const int c1 = int(std::floor(right / TILE_SIZE));
    const int r0 = int(std::floor(top / TILE_SIZE));
    const int r1 = int(std::floor(bottom / TILE_SIZE));
    for (int c = c0; c <= c1; ++c) {
        for (int r = r0; r <= r1; ++r) {
            if (SolidCell(world, c, r)) {
                return CELL{c, r};
            }
        }
    }
    return std::nullopt;
}

namespace {

// Clears the rock of the unbroken run of rock-bound samples that holds or
// touches samples[i], a point beyond the map's edge, walking by `dir`.
void ClearRunFrom(std::vector<LINE_SAMPLE>& samples, long i, long dir) {
    for (long k = i + dir; k >= 0 && k < long(samples.size()) && samples[k].Rock; k += dir) {
        samples[k].Rock.reset();
    }
}

}  // namespace

std::vector<LINE_SAMPLE> SampleLine(const WORLD& world, const BOX& body, const FLIGHT_LINE& line) {
    std::vector<LINE_SAMPLE> samples;
    const auto legs = Legs(line);
    for (size_t leg = 0; leg < legs.size(); ++leg) {
        const auto& [from, to] = legs[leg];
        const VECTOR2 d = to - from;
        const int steps = std::max(1, int(std::ceil(d.Length() / 4.0f)));
        for (int i = 0; i <= steps; ++i) {
            VECTOR2 at = from + d * (float(i) / float(steps));
            samples.push_back({leg, at, RockAround(world, body, at)});
        }
    }
    const float mapRight = float(world.Width * TILE_SIZE);
    std::vector<long> outside;
    for (long i = 0; i < long(samples.size()); ++i) {
        if (samples[i].At.x < 0.0f || samples[i].At.x >= mapRight) {
            outside.push_back(i);
        }
    }
    for (long i : outside) {
        samples[i].Rock.reset();
        ClearRunFrom(samples, i, +1);
        ClearRunFrom(samples, i, -1);
    }
    return samples;
}

std::vector<BURIED_LEG> BuriedLegs(const WORLD& world, const BOX& body, const FLIGHT_LINE& line) {
    std::vector<BURIED_LEG> buried;
    const auto legs = Legs(line);
    for (const LINE_SAMPLE& s : SampleLine(world, body, line)) {
        if (s.Rock && (buried.empty() || buried.back().From != legs[s.Leg].first ||
                       buried.back().To != legs[s.Leg].second)) {
            buried.push_back({legs[s.Leg].first, legs[s.Leg].second, *s.Rock});
        }
    }
    return buried;
}

namespace {

MAP_END End(const WORLD& world, int outer, int inward) {
    MAP_END end;
    bool wallEverywhere = true;
    for (int r = 0; r < world.Height; ++r) {
        wallEverywhere = wallEverywhere && SolidCell(world, outer, r);
    }
    if (wallEverywhere) {
        end.Closed = true;
        return end;
    }
    bool ground = false;
    for (int i = 0; i < END_COLUMNS && i < world.Width; ++i) {
        const int c = outer + i * inward;
        for (int r = 0; r + 1 < world.Height; ++r) {
            if (SolidCell(world, c, r) || !SolidCell(world, c, r + 1)) {
                continue;
            }
            ground = true;
            // Standing in cell r, the hero's feet are on the top of r + 1;
            // rows above the map count as open.
            for (int k = 0; k < END_WALL_ROWS; ++k) {
                if (!SolidCell(world, outer, r - k)) {
                    end.Ground = CELL{c, r};
                    end.Gap = CELL{outer, r - k};
                    return end;
                }
            }
        }
    }
    end.Closed = ground;
    return end;
}

}  // namespace

MAP_END LeftEnd(const WORLD& world) {
    return End(world, 0, 1);
}

MAP_END RightEnd(const WORLD& world) {
    return End(world, world.Width - 1, -1);
}

std::vector<PIT> Pits(const WORLD& world) {
    std::vector<PIT> pits;
    const int bottom = world.Height - 1;
    for (int c = 0; c < world.Width; ++c) {
        if (SolidCell(world, c, bottom)) {
            continue;
        }
        if (!pits.empty() && pits.back().Column + pits.back().Width == c) {
            ++pits.back().Width;
        } else {
            pits.push_back({c, 1});
        }
    }
    return pits;
}

STEP HighestStep(const WORLD& world) {
    // The ground's height in each column in tiles, 0 over a pit.
    std::vector<int> heights;
    for (int c = 0; c < world.Width; ++c) {
        int h = 0;
        while (h < world.Height && SolidCell(world, c, world.Height - 1 - h)) {
            ++h;
        }
        heights.push_back(h);
    }
    STEP highest;
    for (int c = END_COLUMNS; c + 1 < world.Width - END_COLUMNS; ++c) {
        if (heights[c] == 0 || heights[c + 1] == 0) {
            continue;
        }
        int rise = heights[c + 1] - heights[c];
        if (rise > highest.Height) {
            highest = {rise, c};
        }
    }
    return highest;
}
