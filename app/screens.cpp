// The screens around play: intro slides, menu, level select, credits and
// the endings.

#include "app/application.h"

void APPLICATION::DrawScreens() {
    if (GameState == GS_TO_MENU) {
        GameState = GS_MENU;
    }
}
