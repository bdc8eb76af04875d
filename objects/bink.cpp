#include "objects/bink.h"

void BINK::Speak(int) {}
void BINK::Update(float) {}
void BINK::Render(SPRITE*, FONT*) {}
