// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

// The player's progress: the highest level index that may be chosen on the
// level select, kept across runs in "settings.bin" as one 4-byte
// little-endian integer. It only ever grows.

// The stored value, or 0 when there is none or it cannot be read. A file
// shorter than 4 bytes gives its bytes as the low bytes; a longer one
// counts with its first 4. A stored value below 0 counts as 0, so the first
// level is always open.
int LoadProgress(const std::string& path);

// Stores the level index if it is greater than the stored value. Returns
// false, with a line in the log and on stderr, when a higher level could
// not be stored.
//
// Two copies of the game may save at once, and a crash or a full disk may
// strike at any moment, so: the stored value is read, compared and
// replaced under a lock on the folder; the new file is written under a
// temporary name of its own and renamed over the old one, so the file
// always holds either the old value or the new one; temporary files a
// crash left behind go at the next save. A file that is there but cannot
// be read, or is read-only, is never replaced. A symbolic link (saves
// synced elsewhere) stays a link: its target is written.
bool SaveProgress(const std::string& path, int level);

// The same on "settings.bin" in the per-user folder.
std::string ProgressPath();
int LoadProgress();
bool SaveProgress(int level);
