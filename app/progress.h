#pragma once

// The player's progress: the highest level index that may be chosen, kept
// in "settings.bin" in the per-user folder. It only ever grows.
int LoadProgress();
void SaveProgress(int level);
