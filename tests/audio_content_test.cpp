// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The baked sounds, music and Bink's lines, and the tools that make them:
// effects are 16-bit PCM that neither whispers nor clips, as loud as their
// purpose and band-limited, every tune decodes at its length with its loop
// joining up, and every line of Bink's fits his bubble.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <numbers>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/device.h"
#include "platform/font.h"
#include "platform/mixer.h"
#include "platform/music.h"
#include "platform/sound.h"
#include "tests/test_support.h"
#include "tools/audio/effect_synth.h"
#include "tools/audio/mp3_file.h"
#include "tools/audio/music_score.h"
#include "tools/audio/music_synth.h"
#include "tools/audio/text_lines.h"

namespace {

namespace fs = std::filesystem;
using TEST_SUPPORT::ReadBytes;
using TEST_SUPPORT::ReadText;

const fs::path DATA = VORTIGAN_DATA_DIR;
const fs::path SOURCE = VORTIGAN_SOURCE_DIR;

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = v << 8 | b[at + i];
    }
    return v;
}

struct PCM {
    int Channels = 0;
    int Rate = 0;
    std::vector<int16_t> Samples;  // interleaved
    double Seconds() const {
        return Channels && Rate ? double(Samples.size()) / Channels / Rate : 0.0;
    }
};

// Reads a 16-bit PCM WAV chunk by chunk; fails the test on anything else.
bool ReadWav(const fs::path& path, PCM* out) {
    const std::vector<uint8_t> b = ReadBytes(path.string());
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 12) != "WAVE") {
        ADD_FAILURE() << path << " is not a RIFF/WAVE file";
        return false;
    }
    bool format = false;
    for (size_t at = 12; at + 8 <= b.size();) {
        const std::string id(b.begin() + at, b.begin() + at + 4);
        const size_t size = Le(b, at + 4, 4);
        const size_t body = at + 8;
        if (body + size > b.size()) {
            ADD_FAILURE() << path << ": chunk '" << id << "' runs past the end";
            return false;
        }
        if (id == "fmt ") {
            EXPECT_EQ(Le(b, body, 2), 1u) << path << " is not plain PCM";
            out->Channels = int(Le(b, body + 2, 2));
            out->Rate = int(Le(b, body + 4, 4));
            EXPECT_EQ(Le(b, body + 14, 2), 16u) << path << " is not 16-bit";
            EXPECT_EQ(Le(b, body + 12, 2), uint32_t(2 * out->Channels)) << path;
            format = true;
        } else if (id == "data" && format) {
            out->Samples.resize(size / 2);
            for (size_t i = 0; i < out->Samples.size(); ++i) {
                out->Samples[i] = int16_t(Le(b, body + 2 * i, 2));
            }
            return true;
        }
        at = body + size + (size & 1);
    }
    ADD_FAILURE() << path << " has no format and data chunks";
    return false;
}

int Peak(const std::vector<int16_t>& s, size_t from = 0, size_t to = SIZE_MAX) {
    int peak = 0;
    for (size_t i = from; i < std::min(to, s.size()); ++i) {
        peak = std::max(peak, std::abs(int(s[i])));
    }
    return peak;
}

// Root mean square over [from, to), as a fraction of full scale.
double Rms(const std::vector<int16_t>& s, size_t from, size_t to) {
    to = std::min(to, s.size());
    double sum = 0;
    for (size_t i = from; i < to; ++i) {
        sum += double(s[i]) * s[i];
    }
    return to > from ? std::sqrt(sum / double(to - from)) / 32768.0 : 0.0;
}

// Samples at full scale: more than a stray one means the wave was cut off.
int Clipped(const std::vector<int16_t>& s) {
    return int(
        std::count_if(s.begin(), s.end(), [](int16_t x) { return x >= 32767 || x <= -32767; }));
}

TEST(BAKEDSOUNDS, EveryEffectIsShortCleanSixteenBitPcm) {
    std::set<std::string> files(SOUND_FILES, SOUND_FILES + SOUND_COUNT);
    EXPECT_EQ(files.size(), 25u) << "two ids share one file, the others have their own";
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        PCM wav;
        ASSERT_TRUE(fs::exists(DATA / name));
        if (!ReadWav(DATA / name, &wav)) {
            continue;
        }
        EXPECT_TRUE(wav.Channels == 1 || wav.Channels == 2);
        EXPECT_GE(wav.Rate, 22050);
        EXPECT_GE(wav.Seconds(), 0.03) << "too short to hear";
        // Most effects are short; explosions and dying bosses may roll on.
        const bool long_ok =
            name.find("explosion") != std::string::npos || name.find("dies") != std::string::npos;
        EXPECT_LE(wav.Seconds(), long_ok ? 4.0 : 2.0);
        EXPECT_GT(Peak(wav.Samples), 32768 / 8) << "barely audible";
        EXPECT_GT(Rms(wav.Samples, 0, wav.Samples.size()), 0.02) << "mostly silence";
        EXPECT_LE(Clipped(wav.Samples), 2) << "clipped";
    }
}

// In-place radix-2 FFT; a.size() is a power of two.
void Fft(std::vector<std::complex<double>>& a) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) {
            j ^= bit;
        }
        j ^= bit;
        if (i < j) {
            std::swap(a[i], a[j]);
        }
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> turn = std::polar(1.0, -2.0 * std::numbers::pi / double(len));
        for (size_t at = 0; at < n; at += len) {
            std::complex<double> w = 1.0;
            for (size_t k = 0; k < len / 2; ++k, w *= turn) {
                const std::complex<double> u = a[at + k], v = a[at + k + len / 2] * w;
                a[at + k] = u + v;
                a[at + k + len / 2] = u - v;
            }
        }
    }
}

// The share of a sound's power between two frequencies, in dB: summed over
// Hann-windowed frames that overlap by half, so a click weighs as it sounds.
double PowerShareDb(const std::vector<double>& x, int rate, double fromHz, double toHz) {
    constexpr size_t FRAME = 2048;
    std::vector<double> padded(FRAME / 2, 0.0);
    padded.insert(padded.end(), x.begin(), x.end());
    padded.resize(padded.size() + FRAME, 0.0);
    double total = 0, band = 0;
    for (size_t at = 0; at + FRAME <= padded.size(); at += FRAME / 2) {
        std::vector<std::complex<double>> frame(FRAME);
        for (size_t i = 0; i < FRAME; ++i) {
            frame[i] =
                padded[at + i] * (0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * double(i) / FRAME));
        }
        Fft(frame);
        for (size_t k = 0; k <= FRAME / 2; ++k) {
            const double power = std::norm(frame[k]);
            const double hz = double(k) * rate / FRAME;
            total += power;
            band += hz >= fromHz && hz < toHz ? power : 0.0;
        }
    }
    return 10.0 * std::log10(std::max(band, 1e-300) / total);
}

std::vector<double> Doubles(const std::vector<int16_t>& s) {
    return std::vector<double>(s.begin(), s.end());
}

constexpr int PEAK_LIMIT = 30934;  // -0.5 dBFS

TEST(BAKEDSOUNDS, LoudnessFollowsPurposeAndNothingClips) {
    const std::vector<audio::EFFECT_RECIPE> recipes = audio::ParseEffects(
        ReadText((SOURCE / "assets/sound/effects.txt").string()), "effects.txt");
    std::map<std::string, std::string> groupOf;
    std::map<std::string, double> loudness;  // dB, as baked
    for (const audio::EFFECT_RECIPE& recipe : recipes) {
        SCOPED_TRACE(recipe.Name);
        PCM wav;
        ASSERT_TRUE(ReadWav(DATA / "sounds" / (recipe.Name + ".wav"), &wav));
        EXPECT_LE(Peak(wav.Samples), PEAK_LIMIT);
        std::vector<float> x(wav.Samples.begin(), wav.Samples.end());
        for (float& v : x) {
            v /= 32768.0f;
        }
        loudness[recipe.Name] = audio::Loudness(x);
        groupOf[recipe.Name] = recipe.Group;
        // So every group holds together within 2 dB.
        EXPECT_NEAR(loudness[recipe.Name], recipe.Loudness, 1.0) << "off its group's loudness";
    }
    // Menu sounds quiet, big events biggest, everything in play between, each
    // group far enough from the next to hear.
    const std::vector<std::string> big = {"explosion", "boss1dies", "boss3dies", "bossappears"};
    for (const std::string& name : big) {
        EXPECT_EQ(groupOf[name], groupOf["explosion"]) << name;
    }
    EXPECT_EQ(groupOf["menumove"], groupOf["menuselect"]);
    EXPECT_GT(loudness["menumove"], -26.0) << "so quiet it disappears under the music";
    constexpr double APART = 3.0;  // dB
    for (const auto& [name, level] : loudness) {
        if (groupOf[name] != groupOf["explosion"] && groupOf[name] != groupOf["menumove"]) {
            EXPECT_GT(level, loudness["menumove"] + APART) << name;
            EXPECT_GT(level, loudness["menuselect"] + APART) << name;
            for (const std::string& boom : big) {
                EXPECT_LT(level, loudness[boom] - APART) << name << " against " << boom;
            }
        }
    }
}

TEST(BAKEDSOUNDS, NoEffectReachesAbove18kHz) {
    // The swept squares and saws (electricuted, smallhatfire, boss3dies,
    // herohurt) above all, but noise and clicks must not hiss up there either.
    for (const std::string& file : std::set<std::string>(SOUND_FILES, SOUND_FILES + SOUND_COUNT)) {
        PCM wav;
        ASSERT_TRUE(ReadWav(DATA / file, &wav));
        EXPECT_LT(PowerShareDb(Doubles(wav.Samples), wav.Rate, 18000, 1e9), -60.0) << file;
    }
}

TEST(SFXTOOL, FastSawAndPulseSweepsDoNotFoldBack) {
    // From 6 kHz up: every true harmonic lies above 6 kHz, and everything the
    // envelope spreads lies below 1 kHz, so what sounds between can only be an
    // upper harmonic folded back at the top of the band.
    audio::EFFECT_VOICE sweep;
    sweep.Frequency = 6000;
    sweep.Slide = 0.5;
    sweep.Attack = 0.05;
    sweep.Sustain = 0.5;
    sweep.Decay = 0.05;
    for (const audio::WAVE wave : {audio::WAVE::SAW, audio::WAVE::SQUARE}) {
        SCOPED_TRACE(wave == audio::WAVE::SAW ? "saw" : "pulse");
        sweep.Wave = wave;
        sweep.Duty = 0.3;
        const std::vector<float> out = audio::RenderVoice(sweep, 1);
        const std::vector<double> x(out.begin(), out.end());
        EXPECT_LT(PowerShareDb(x, audio::SAMPLE_RATE, 1000, 5000), -70.0);
        EXPECT_LT(PowerShareDb(x, audio::SAMPLE_RATE, 18000, 1e9), -60.0);
    }
}

TEST(SFXTOOL, EffectsTakeTheirGroupsLoudnessButNeverClip) {
    const std::string groups = "loudness soft -30\nloudness loud -2\n";
    const std::string tone = "voice\n wave sine\n freq 440\n sustain 0.3\n";
    const auto soft = audio::ParseEffects(groups + "effect a\ngroup soft\n" + tone, "t");
    EXPECT_NEAR(audio::Loudness(audio::RenderEffect(soft[0])), -30.0, 0.1);
    // A sine's peak is 3 dB over its RMS: at -2 dB it would clip.
    const auto loud = audio::ParseEffects(groups + "effect a\ngroup loud\n" + tone, "t");
    EXPECT_THROW(audio::RenderEffect(loud[0]), std::runtime_error);
    auto lineOf = [&](const std::string& text) {
        try {
            audio::ParseEffects(groups + text, "t");
        } catch (const audio::PARSE_ERROR& e) {
            return e.Line;
        }
        return 0;
    };
    EXPECT_EQ(lineOf("effect a\n" + tone), 3) << "no group";
    EXPECT_EQ(lineOf("effect a\ngroup quiet\n" + tone), 4) << "no such group";
    EXPECT_EQ(lineOf("effect a\ngroup soft\n" + tone + "loudness x -9\n"), 9) << "too late";
}

struct TRACK {
    const char* File;
    double Least, Most;  // s
    bool Loops;
};
// The intro plays once under 42 s of slides; the others loop for a minute or two.
const TRACK TRACKS[] = {
    {"music/intro.mp3", 42.0, 48.0, false},
    {"music/menu.mp3", 60.0, 120.0, true},
    {"music/inGame.mp3", 60.0, 120.0, true},
    {"music/boss.mp3", 60.0, 120.0, true},
    // The crystal cave's and the steel fortress's own level and boss tunes.
    {"music/inGame2.mp3", 60.0, 120.0, true},
    {"music/boss2.mp3", 60.0, 120.0, true},
    {"music/inGame3.mp3", 60.0, 120.0, true},
    {"music/boss3.mp3", 60.0, 120.0, true},
};

TEST(BAKEDMUSIC, EveryTrackPlaysThroughTheGamesOwnMusicForItsLength) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    MIXER::Close();
    ASSERT_TRUE(MIXER::Open());
    for (const TRACK& t : TRACKS) {
        SCOPED_TRACE(t.File);
        MUSIC track;
        track.Load((DATA / t.File).string());
        EXPECT_GE(track.Duration(), t.Least);
        EXPECT_LE(track.Duration(), t.Most);
        track.Play();
        EXPECT_TRUE(track.IsPlaying());
        track.Stop();
    }
    MIXER::Close();
}

TEST(BAKEDMUSIC, TracksAreLoudWithoutClippingAndLoopsJoinUp) {
    constexpr size_t RATE = 44100;
    for (const TRACK& t : TRACKS) {
        SCOPED_TRACE(t.File);
        std::vector<int16_t> s;
        ASSERT_NO_THROW(s = audio::DecodeMp3(ReadBytes((DATA / t.File).string())));
        const size_t frames = s.size() / 2;
        ASSERT_GE(frames, size_t(t.Least * RATE));
        EXPECT_GT(Peak(s), 32768 / 2);
        EXPECT_LE(Clipped(s), 10);
        // Music all the way through: no second of the song (the intro's ring-out
        // aside) falls to a whisper.
        const size_t sounding = t.Loops ? frames : frames - 4 * RATE;
        for (size_t at = 0; at + RATE <= sounding; at += RATE) {
            EXPECT_GT(Rms(s, 2 * at, 2 * (at + RATE)), 0.02) << "quiet at " << at / RATE << " s";
        }
        if (t.Loops) {
            // Played again, the start follows the end at about the same loudness,
            // and no millisecond across the turn drops out.
            const double end = Rms(s, s.size() - 4 * RATE, s.size());
            const double start = Rms(s, 0, 4 * RATE);
            EXPECT_LT(std::max(end, start) / std::min(end, start), 1.6)
                << "start " << start << ", end " << end;
            const size_t ms = 2 * RATE / 1000;
            std::vector<int16_t> turn(s.end() - 20 * ms, s.end());
            turn.insert(turn.end(), s.begin(), s.begin() + 20 * ms);
            double quietest = 1.0;
            for (size_t at = 0; at + ms <= turn.size(); at += ms) {
                quietest = std::min(quietest, Rms(turn, at, at + ms));
            }
            EXPECT_GT(quietest, 0.01) << "the quietest millisecond within 20 ms of the turn";
        } else {
            EXPECT_LT(Rms(s, s.size() - RATE, s.size()), 0.01) << "the intro should ring out";
        }
    }
}

// Bink's file as the game reads it: the first section of each number.
std::map<int, std::vector<std::string>> ReadSections(const std::string& text) {
    std::map<int, std::vector<std::string>> sections;
    std::set<int> seen;
    std::vector<std::string>* into = nullptr;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] == '#') {
            const int number = std::atoi(line.c_str() + 1);
            EXPECT_TRUE(seen.insert(number).second) << "section " << number << " twice";
            into = &sections[number];
        } else if (into) {
            into->push_back(line);
        }
    }
    return sections;
}

TEST(BAKEDTEXT, BinkHasElevenSpeechesThatFitHisBubble) {
    const fs::path path = DATA / "bink/bink.txt";
    ASSERT_TRUE(fs::exists(path));
    const auto sections = ReadSections(ReadText(path.string()));
    DEVICE device;
    std::string error;
    ASSERT_TRUE(device.CreateOffscreen(&error)) << error;
    FONT font("Arial", 12, 0);  // the game's TextFont
    ASSERT_EQ(font.BuildGlyphTexture(&device), S_OK);
    // The bubble is light from x = 350 to 670 on screen, where the text starts.
    constexpr float BUBBLE_TEXT_WIDTH = 320.0f;
    for (int n = 1; n <= 11; ++n) {
        SCOPED_TRACE("section " + std::to_string(n));
        auto found = sections.find(n);
        ASSERT_NE(found, sections.end());
        int words = 0;
        for (const std::string& line : found->second) {
            EXPECT_LE(line.size(), 44u) << line;
            float width = 0;
            for (char c : line) {
                EXPECT_TRUE(c >= 32 && c < 127)
                    << "the font has no glyph for byte " << int(uint8_t(c)) << " in: " << line;
                width += font.Advance(c);
            }
            EXPECT_LE(width, BUBBLE_TEXT_WIDTH) << line;
            words += line.find_first_not_of(' ') != std::string::npos;
        }
        EXPECT_GE(words, 2) << "a speech of a line or two at least";
    }
    device.Destroy();
}

// The music tool itself.

audio::SCORE Score(const std::string& text) {
    return audio::ParseScore(text, "test.song");
}

const char* const TWO_BAR_SONG = R"(
tempo 120        # two seconds a bar
tail 0
instrument lead
  wave square
  release 1.5
instrument kick
  drum kick
pattern p 2
  lead  | . C4 E4 G4 | . . . F#5 |
  kick  | . . x . | % |
song p
)";

TEST(MUSICTOOL, ScoresReadNotesChordsDrumsAndSharpsThatAreNotComments) {
    int midi = 0;
    EXPECT_TRUE(audio::ParseNoteName("C4", midi));
    EXPECT_EQ(midi, 60);
    EXPECT_TRUE(audio::ParseNoteName("F#5", midi));
    EXPECT_EQ(midi, 78);
    EXPECT_TRUE(audio::ParseNoteName("Bb3", midi));
    EXPECT_EQ(midi, 58);
    EXPECT_FALSE(audio::ParseNoteName("H2", midi));
    EXPECT_FALSE(audio::ParseNoteName("C#", midi));

    const audio::SCORE score = Score(TWO_BAR_SONG);
    EXPECT_DOUBLE_EQ(score.Length(), 4.0);
    const audio::PATTERN& p = score.Patterns.at(0);
    ASSERT_EQ(p.Notes.size(), 6u);  // four notes and two hits
    const audio::PATTERN_NOTE& g = p.Notes[2];
    EXPECT_EQ(g.Pitches, std::vector<int>{67});
    EXPECT_DOUBLE_EQ(g.Length, 0.25) << "a note stops at the rest after it";
    EXPECT_DOUBLE_EQ(p.Notes[5].Start, 1.5) << "'%' repeats the bar before";
    EXPECT_EQ(p.Notes[3].Pitches, std::vector<int>{78}) << "the sharp is part of the note";
    EXPECT_DOUBLE_EQ(p.Notes[3].Start, 1.75);

    const audio::SCORE chords =
        Score("instrument k\n wave saw\npattern p 1\n k G3:maj7 - A3+C4+E4 .\nsong p*3\n");
    ASSERT_EQ(chords.Patterns[0].Notes.size(), 2u);
    EXPECT_EQ(chords.Patterns[0].Notes[0].Pitches, (std::vector<int>{55, 59, 62, 66}));
    EXPECT_DOUBLE_EQ(chords.Patterns[0].Notes[0].Length, 0.5);
    EXPECT_EQ(chords.Patterns[0].Notes[1].Pitches, (std::vector<int>{57, 60, 64}));
    EXPECT_EQ(chords.SongBars(), 3);
}

TEST(MUSICTOOL, FaultyScoresNameTheLineAtFault) {
    auto lineOf = [](const std::string& text) {
        try {
            Score(text);
        } catch (const audio::PARSE_ERROR& e) {
            return e.Line;
        }
        return 0;
    };
    const std::string head = "instrument a\n wave sine\ninstrument d\n drum snare\n";
    EXPECT_EQ(lineOf(head + "pattern p 2\n a | C4 D4 | E4 |\nsong p\n"), 6) << "uneven bars";
    EXPECT_EQ(lineOf(head + "pattern p 1\n b C4\nsong p\n"), 6) << "no such instrument";
    EXPECT_EQ(lineOf(head + "pattern p 1\n a C4 x\nsong p\n"), 6) << "a drum hit on a tune";
    EXPECT_EQ(lineOf(head + "pattern p 1\n a C4\nsong q\n"), 7) << "no such pattern";
    EXPECT_EQ(lineOf("instrument a\n sustain 2\npattern p 1\n a C4\nsong p\n"), 1);
    EXPECT_THROW(Score(head + "pattern p 1\n a C4\n"), audio::PARSE_ERROR) << "no song";
}

TEST(MUSICTOOL, LoopsCarryTheirRingingEndIntoTheirStartAndRenderTheSameTwice) {
    const audio::SCORE loop = Score(TWO_BAR_SONG);
    const std::vector<float> once = audio::RenderSong(loop);
    ASSERT_EQ(once.size(), size_t(2 * 4.0 * audio::SAMPLE_RATE));
    EXPECT_EQ(once, audio::RenderSong(loop)) << "the same score gives the same samples";
    float peak = 0;
    for (float x : once) {
        peak = std::max(peak, std::fabs(x));
    }
    EXPECT_NEAR(peak, audio::MUSIC_PEAK, 1e-4);
    // The F#5 on the last step rings for 1.5 s past the end; played again, that
    // ring is heard in the first beat, where nothing else plays.
    auto energy = [&](const std::vector<float>& s, double from, double to) {
        double sum = 0;
        for (size_t i = size_t(from * audio::SAMPLE_RATE); i < size_t(to * audio::SAMPLE_RATE);
             ++i) {
            sum += double(s[2 * i]) * s[2 * i];
        }
        return sum;
    };
    std::string once_text = TWO_BAR_SONG;
    const audio::SCORE played_once =
        Score(once_text.replace(once_text.find("tail 0"), 6, "tail 0.001"));
    const std::vector<float> ring_out = audio::RenderSong(played_once);
    EXPECT_GT(energy(once, 0.05, 0.45), 1e-3);
    EXPECT_GT(energy(once, 0.05, 0.45), 100 * energy(ring_out, 0.05, 0.45));
    // Nothing dips at the turn: the last 5 ms of the left side are as loud as
    // the 5 ms before them, and the step from the last sample to the first is
    // no bigger than the steps within them.
    const size_t n = once.size() / 2;
    const size_t ms5 = audio::SAMPLE_RATE / 200;
    auto left = [&](size_t i) { return double(once[2 * (i % n)]); };
    double last = 0, before = 0, step = 0;
    for (size_t i = n - 2 * ms5; i < n - 1; ++i) {
        (i < n - ms5 ? before : last) += left(i) * left(i);
        step = std::max(step, std::fabs(left(i + 1) - left(i)));
    }
    EXPECT_GT(last, 0.5 * before) << "the end of a loop is not faded";
    EXPECT_LE(std::fabs(left(n) - left(n - 1)), step) << "the end runs on into the start";
}

TEST(MUSICTOOL, Mp3RoundTripKeepsLengthAndLevel) {
    const std::vector<float> song = audio::RenderSong(Score(TWO_BAR_SONG));
    std::vector<int16_t> pcm(song.size());
    for (size_t i = 0; i < song.size(); ++i) {
        pcm[i] = int16_t(std::lround(song[i] * 32767.0f));
    }
    const std::vector<uint8_t> mp3 = audio::EncodeMp3(pcm, 128);
    EXPECT_NEAR(double(mp3.size()), 4.0 * 128000 / 8, 4.0 * 128000 / 8 * 0.05)
        << "constant bit rate";
    const std::vector<int16_t> back = audio::DecodeMp3(mp3);
    // The encoder's delay and padding are cut off again: sample for sample the
    // song comes back where it was, so a loop turns with no silence.
    ASSERT_EQ(back.size(), pcm.size());
    EXPECT_NEAR(Rms(back, 0, back.size()), Rms(pcm, 0, pcm.size()), 0.02);
    std::vector<int16_t> error(pcm.size());
    for (size_t i = 0; i < pcm.size(); ++i) {
        error[i] = int16_t(std::clamp(int(back[i]) - int(pcm[i]), -32768, 32767));
    }
    EXPECT_LT(Rms(error, 0, error.size()), 0.3 * Rms(pcm, 0, pcm.size()));
    EXPECT_THROW(audio::DecodeMp3(std::vector<uint8_t>(3000, 0x5A)), std::runtime_error);
}

}  // namespace
