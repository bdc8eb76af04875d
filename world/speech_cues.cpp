#include "world/speech_cues.h"

void TestSpeechCues(WORLD*, HERO*, BINK*) {}
