#include "platform/music.h"

MUSIC::~MUSIC() {
    Release();
}
void MUSIC::Load(const std::string&) {}
void MUSIC::Play() {}
void MUSIC::Stop() {}
bool MUSIC::IsPlaying() {
    return false;
}
void MUSIC::SetVolume(float) {}
void MUSIC::SetBalance(float) {}
void MUSIC::Release() {}
