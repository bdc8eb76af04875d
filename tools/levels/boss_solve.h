// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

#include "platform/input_script.h"

// Finds the stomps that beat a level's boss: from where the hero stands,
// every walk, wait and aimed mega jump on a grid is tried in a copy of the
// game (fork()), and the earliest clean hit is kept; then again from where
// he lands, until the boss falls out of its arena. `events` holds the
// script found so far (the hero standing at `next`) and gains the stomps.
// `moves` gains a line per stomp. False when no stomp was found or the
// level did not end. With `defaultAim`, every mega jump is at full charge
// and the aim it starts with.
bool SolveBoss(const std::string& data, int level, double dt, std::vector<INPUT_EVENT>* events,
               int64_t next, std::vector<std::string>* moves, bool defaultAim = false);
