// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class WORLD;
class DEVICE;

// Creates the fixed cast of a level (enemies and their paths, the exit,
// bosses, the bomb) and appends it to the world's object list in order.
void CreateLevelContents(WORLD* world, DEVICE* device, int level);

// True for a level whose cast holds a boss (the last of each stage).
bool IsBossLevel(int level);

// The game's three stages (meadow, crystal cave, fortress) of four levels
// each; a level outside the table counts as the first stage's.
inline constexpr int STAGE_COUNT = 3;
inline constexpr int LEVELS_PER_STAGE = 4;
int StageOf(int level);
