// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

// The texts of the play HUD.

// "Level 1-1" .. "Level 3-4" for the level indices 0..11; null for others.
const char* LevelName(int level);
// "x " and the number of lives.
std::string LivesText(int lives);
// "Score: " and the shown score's whole points, with zeros in front up to
// five digits; a longer score keeps all its digits.
std::string ScoreText(float shownScore);
