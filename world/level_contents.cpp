#include "world/level_contents.h"

void CreateLevelContents(WORLD*, DEVICE*, int) {}
