#pragma once

#include <string>

// The player's progress: the highest level index that may be chosen on the
// level select, kept across runs in "settings.bin" as one 4-byte
// little-endian integer. It only ever grows.

// The stored value, or 0 when there is none. A file shorter than 4 bytes
// gives its bytes as the low bytes; a longer one counts with its first 4.
// A stored value below 0 counts as 0, so the first level is always open.
int LoadProgress(const std::string& path);

// Stores the level index if it is greater than the stored value. The new
// file is written beside the old one and renamed over it, so a crash or a
// full disk leaves either the old value or the new one, never a cut file.
// A file that cannot be written changes nothing, silently.
void SaveProgress(const std::string& path, int level);

// The same on "settings.bin" in the per-user folder.
std::string ProgressPath();
int LoadProgress();
void SaveProgress(int level);
