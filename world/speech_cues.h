// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class WORLD;
class HERO;
class BINK;

// Lets the companion speak where the current level says, once per visit.
void TestSpeechCues(WORLD* world, HERO* hero, BINK* bink);
