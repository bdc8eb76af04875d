// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

struct Mix_Chunk;

// The one audio mixer that sound effects and music tracks share. It opens on
// first use; every failure leaves the game silent, never stopped.
namespace MIXER {

// Opens the audio device and the mixer once. False when there is no sound.
bool Open();
bool IsOpen();
// Halts everything and closes the device (at shutdown, before SDL goes).
void Close();
// Closes the device and keeps it shut from now on, every sound silent: for
// the level tools, which fork thousands of copies of a silent game, and
// whose copies would hang on a lock the audio thread held at the fork.
void StaySilent();

// Loads a whole sound effect file decoded into the mixer's format; null
// when the file is missing, damaged, no plain file or far too large.
Mix_Chunk* Load(const char* path);
// The same for a file already read into memory (WAV, or MP3 through the
// mixer's own decoder).
Mix_Chunk* LoadFromMemory(const std::string& bytes);
void Free(Mix_Chunk* chunk);

// Starts an effect on a free effect channel; when every one is busy the
// mixer grows, so no play is ever refused. Returns the channel, or -1.
int PlayEffect(Mix_Chunk* chunk, bool loop);
// Effect copies sounding right now.
int EffectsSounding();

// A channel that belongs to one music track until given back, so tracks
// never take each other's channel nor an effect's. -1 without a mixer.
int TakeTrackChannel();
void GiveBackTrackChannel(int channel);

// The player's volumes (0..1) over the levels the game sets itself: every
// effect channel plays at `effects`, every track channel at `music` times
// the track's own volume. Applied at once, to sounds already playing too.
void SetVolumes(float music, float effects);
// A track channel's own volume (0..128), kept under the player's music
// volume when that changes.
void SetTrackVolume(int channel, int volume);

// Decoded bytes per second of mixer output.
int BytesPerSecond();
// Channels the mixer holds, effects and tracks together.
int Channels();

// The loudest sample of each side of the mixed output since the last reset
// (0..32767), so a check can hear what the game plays.
void ResetPeaks();
void Peaks(int* left, int* right);
// Bytes of output mixed since the mixer opened.
long long Mixed();

}  // namespace MIXER
