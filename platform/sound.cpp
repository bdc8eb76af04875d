#include "platform/sound.h"

SOUND Sound;

SOUND::~SOUND() {}
void SOUND::Init() {
    SetMasterVolume(1.2f);
}
void SOUND::Play(int, bool) {}
void SOUND::SetMasterVolume(float volume) {
    Volume = volume;
}
