// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/audio/music_score.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <map>

#include "tools/audio/text_lines.h"

namespace audio {

namespace {

using SETTER = std::function<void(INSTRUMENT&, const std::vector<double>&)>;

struct INSTRUMENT_KEY {
    size_t Count;
    SETTER Set;
};

const std::map<std::string, INSTRUMENT_KEY>& InstrumentKeys() {
    static const std::map<std::string, INSTRUMENT_KEY> KEYS = {
        {"duty", {1, [](INSTRUMENT& i, const auto& a) { i.Duty = a[0]; }}},
        {"attack", {1, [](INSTRUMENT& i, const auto& a) { i.Attack = a[0]; }}},
        {"decay", {1, [](INSTRUMENT& i, const auto& a) { i.Decay = a[0]; }}},
        {"sustain", {1, [](INSTRUMENT& i, const auto& a) { i.Sustain = a[0]; }}},
        {"release", {1, [](INSTRUMENT& i, const auto& a) { i.Release = a[0]; }}},
        {"volume", {1, [](INSTRUMENT& i, const auto& a) { i.Volume = a[0]; }}},
        {"pan", {1, [](INSTRUMENT& i, const auto& a) { i.Pan = a[0]; }}},
        {"octave", {1, [](INSTRUMENT& i, const auto& a) { i.Octave = static_cast<int>(a[0]); }}},
        {"vibrato",
         {3,
          [](INSTRUMENT& i, const auto& a) {
              i.VibratoDepth = a[0];
              i.VibratoSpeed = a[1];
              i.VibratoDelay = a[2];
          }}},
        {"lowpass",
         {2,
          [](INSTRUMENT& i, const auto& a) {
              i.LowPass = a[0];
              i.Resonance = a[1];
          }}},
        {"filterenv",
         {2,
          [](INSTRUMENT& i, const auto& a) {
              i.FilterEnvelope = a[0];
              i.FilterTime = a[1];
          }}},
        {"detune", {1, [](INSTRUMENT& i, const auto& a) { i.Detune = a[0]; }}},
        {"fm",
         {3,
          [](INSTRUMENT& i, const auto& a) {
              i.FmRatio = a[0];
              i.FmDepth = a[1];
              i.FmTime = a[2];
          }}},
        {"glide", {1, [](INSTRUMENT& i, const auto& a) { i.Glide = a[0]; }}},
        {"echo", {1, [](INSTRUMENT& i, const auto& a) { i.Echo = a[0]; }}},
    };
    return KEYS;
}

bool ParseDrum(const std::string& name, DRUM& drum) {
    static const std::map<std::string, DRUM> DRUMS = {
        {"kick", DRUM::KICK}, {"snare", DRUM::SNARE},      {"clap", DRUM::CLAP},
        {"hat", DRUM::HAT},   {"openhat", DRUM::OPEN_HAT}, {"crash", DRUM::CRASH},
        {"tom", DRUM::TOM},
    };
    auto found = DRUMS.find(name);
    if (found == DRUMS.end()) {
        return false;
    }
    drum = found->second;
    return true;
}

// Semitones above the root of each chord kind.
const std::map<std::string, std::vector<int>>& ChordKinds() {
    static const std::map<std::string, std::vector<int>> KINDS = {
        {"maj", {0, 4, 7}},    {"m", {0, 3, 7}},        {"7", {0, 4, 7, 10}},
        {"m7", {0, 3, 7, 10}}, {"maj7", {0, 4, 7, 11}}, {"sus2", {0, 2, 7}},
        {"sus4", {0, 5, 7}},   {"dim", {0, 3, 6}},      {"aug", {0, 4, 8}},
        {"5", {0, 7}},         {"add9", {0, 4, 7, 14}}, {"6", {0, 4, 7, 9}},
    };
    return KINDS;
}

void CheckInstrument(const INSTRUMENT& i, const std::string& file) {
    auto fail = [&](const std::string& what) {
        throw PARSE_ERROR(file, i.Line, "instrument '" + i.Name + "': " + what);
    };
    if (i.Attack < 0 || i.Decay < 0 || i.Release < 0 || i.VibratoDelay < 0 || i.Glide < 0 ||
        i.FilterTime <= 0 || i.FmTime < 0) {
        fail("times must not be negative");
    }
    if (i.Release > 4) {
        fail("release must be at most 4 s");
    }
    if (i.Sustain < 0 || i.Sustain > 1) {
        fail("sustain must be between 0 and 1");
    }
    if (i.Volume < 0 || i.Volume > 4) {
        fail("volume must be between 0 and 4");
    }
    if (i.Pan < -1 || i.Pan > 1) {
        fail("pan must be between -1 and 1");
    }
    if (i.Duty <= 0 || i.Duty >= 1) {
        fail("duty must be between 0 and 1");
    }
    if (i.Resonance < 0 || i.Resonance > 0.95) {
        fail("resonance must be between 0 and 0.95");
    }
    if (i.LowPass < 0 || i.LowPass > 20000) {
        fail("lowpass must be between 0 and 20000 Hz");
    }
    if (i.Echo < 0 || i.Echo > 1) {
        fail("echo must be between 0 and 1");
    }
    if (i.Detune < 0 || i.Detune > 100) {
        fail("detune must be between 0 and 100 cents");
    }
    if (i.Octave < -4 || i.Octave > 4) {
        fail("octave must be between -4 and 4");
    }
}

// One instrument's tokens in one pattern, turned into notes.
void ReadChannel(const std::vector<std::pair<std::string, int>>& tokens, int instrument,
                 bool isDrum, PATTERN& pattern, const std::string& file) {
    // Split into bars where bar lines are used, expanding '%'.
    std::vector<std::vector<std::pair<std::string, int>>> bars(1);
    bool barLines = false;
    for (const auto& token : tokens) {
        if (token.first == "|") {
            barLines = true;
            if (!bars.back().empty()) {
                bars.emplace_back();
            }
        } else if (token.first == "%") {
            if (bars.size() < 2 || !bars.back().empty()) {
                throw PARSE_ERROR(file, token.second, "'%' must stand alone after a bar");
            }
            bars.back() = bars[bars.size() - 2];
        } else {
            bars.back().push_back(token);
        }
    }
    if (bars.back().empty()) {
        bars.pop_back();
    }
    std::vector<std::pair<std::string, int>> steps;
    for (const auto& bar : bars) {
        if (barLines && bar.size() != bars[0].size()) {
            throw PARSE_ERROR(file, bar[0].second,
                              "bar has " + std::to_string(bar.size()) + " steps, the first has " +
                                  std::to_string(bars[0].size()));
        }
        steps.insert(steps.end(), bar.begin(), bar.end());
    }
    const int line = tokens.empty() ? pattern.Line : tokens.front().second;
    if (steps.empty() || steps.size() % pattern.Bars != 0) {
        throw PARSE_ERROR(file, line,
                          std::to_string(steps.size()) + " steps do not fill " +
                              std::to_string(pattern.Bars) + " bars evenly");
    }
    if (barLines && bars.size() != static_cast<size_t>(pattern.Bars)) {
        throw PARSE_ERROR(
            file, line,
            std::to_string(bars.size()) + " bars in a pattern of " + std::to_string(pattern.Bars));
    }
    const double step = static_cast<double>(pattern.Bars) / static_cast<double>(steps.size());
    size_t open = SIZE_MAX;  // the note still sounding, by index
    auto close = [&](size_t at) {
        if (open != SIZE_MAX) {
            pattern.Notes[open].Length = static_cast<double>(at) * step - pattern.Notes[open].Start;
            open = SIZE_MAX;
        }
    };
    for (size_t n = 0; n < steps.size(); ++n) {
        const std::string& word = steps[n].first;
        const int wordLine = steps[n].second;
        if (word == "-") {
            continue;
        }
        close(n);
        if (word == ".") {
            continue;
        }
        PATTERN_NOTE note;
        note.Instrument = instrument;
        note.Start = static_cast<double>(n) * step;
        if (word == "x" || word == "X" || word == "o") {
            if (!isDrum) {
                throw PARSE_ERROR(file, wordLine,
                                  "'" + word + "' is a drum hit; this is not a drum");
            }
            note.Velocity = word == "X" ? 1.0 : word == "x" ? 0.78 : 0.45;
        } else {
            const size_t colon = word.find(':');
            if (colon != std::string::npos) {
                int root;
                auto kind = ChordKinds().find(word.substr(colon + 1));
                if (!ParseNoteName(word.substr(0, colon), root) || kind == ChordKinds().end()) {
                    throw PARSE_ERROR(file, wordLine, "'" + word + "' is not a chord");
                }
                for (int interval : kind->second) {
                    note.Pitches.push_back(root + interval);
                }
            } else {
                size_t from = 0;
                while (from <= word.size()) {
                    size_t plus = word.find('+', from);
                    if (plus == std::string::npos) {
                        plus = word.size();
                    }
                    int midi;
                    if (!ParseNoteName(word.substr(from, plus - from), midi)) {
                        throw PARSE_ERROR(file, wordLine, "'" + word + "' is not a note");
                    }
                    note.Pitches.push_back(midi);
                    from = plus + 1;
                }
            }
            note.Velocity = 0.85;
        }
        pattern.Notes.push_back(note);
        open = pattern.Notes.size() - 1;
    }
    close(steps.size());
}

}  // namespace

bool ParseNoteName(const std::string& word, int& midi) {
    static const int LETTERS[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (word.size() < 2 || word[0] < 'A' || word[0] > 'G') {
        return false;
    }
    int semitone = LETTERS[word[0] - 'A'];
    size_t at = 1;
    if (word[at] == '#') {
        ++semitone;
        ++at;
    } else if (word[at] == 'b') {
        --semitone;
        ++at;
    }
    if (at + 1 != word.size() || word[at] < '0' || word[at] > '8') {
        return false;
    }
    midi = (word[at] - '0' + 1) * 12 + semitone;
    return true;
}

int SCORE::SongBars() const {
    int bars = 0;
    for (int p : Order) {
        bars += Patterns[p].Bars;
    }
    return bars;
}

SCORE ParseScore(const std::string& text, const std::string& fileName) {
    SCORE score;
    enum class SECTION { HEADER, INSTRUMENT, PATTERN, SONG } section = SECTION::HEADER;
    // Tokens of the pattern being read, by instrument, in the order first named.
    std::vector<std::pair<int, std::vector<std::pair<std::string, int>>>> channels;
    int songLine = 0;

    auto findInstrument = [&](const std::string& name) {
        for (size_t i = 0; i < score.Instruments.size(); ++i) {
            if (score.Instruments[i].Name == name) {
                return static_cast<int>(i);
            }
        }
        return -1;
    };
    auto findPattern = [&](const std::string& name) {
        for (size_t i = 0; i < score.Patterns.size(); ++i) {
            if (score.Patterns[i].Name == name) {
                return static_cast<int>(i);
            }
        }
        return -1;
    };
    auto finishSection = [&]() {
        if (section == SECTION::INSTRUMENT) {
            CheckInstrument(score.Instruments.back(), fileName);
        } else if (section == SECTION::PATTERN) {
            PATTERN& pattern = score.Patterns.back();
            if (channels.empty()) {
                throw PARSE_ERROR(fileName, pattern.Line,
                                  "pattern '" + pattern.Name + "' is empty");
            }
            for (const auto& [instrument, tokens] : channels) {
                ReadChannel(tokens, instrument, score.Instruments[instrument].Drum != DRUM::NONE,
                            pattern, fileName);
            }
            channels.clear();
        }
    };

    for (const TEXT_LINE& line : SplitLines(text)) {
        const std::vector<std::string>& words = line.Words;
        const std::string& key = words[0];
        if (key == "instrument") {
            finishSection();
            if (words.size() != 2) {
                throw PARSE_ERROR(fileName, line.Number, "instrument needs exactly one name");
            }
            if (findInstrument(words[1]) >= 0) {
                throw PARSE_ERROR(fileName, line.Number, "instrument '" + words[1] + "' repeated");
            }
            section = SECTION::INSTRUMENT;
            score.Instruments.push_back({});
            score.Instruments.back().Name = words[1];
            score.Instruments.back().Line = line.Number;
            continue;
        }
        if (key == "pattern") {
            finishSection();
            double bars;
            if (words.size() != 3 || !ParseNumber(words[2], bars) || bars < 1 || bars > 64 ||
                bars != std::floor(bars)) {
                throw PARSE_ERROR(fileName, line.Number, "pattern needs a name and 1 to 64 bars");
            }
            if (findPattern(words[1]) >= 0) {
                throw PARSE_ERROR(fileName, line.Number, "pattern '" + words[1] + "' repeated");
            }
            section = SECTION::PATTERN;
            score.Patterns.push_back({});
            score.Patterns.back().Name = words[1];
            score.Patterns.back().Line = line.Number;
            score.Patterns.back().Bars = static_cast<int>(bars);
            continue;
        }
        if (key == "song") {
            finishSection();
            section = SECTION::SONG;
            songLine = songLine ? songLine : line.Number;
            for (size_t w = 1; w < words.size(); ++w) {
                std::string name = words[w];
                double times = 1;
                const size_t star = name.find('*');
                if (star != std::string::npos) {
                    if (!ParseNumber(name.substr(star + 1), times) || times < 1 || times > 64 ||
                        times != std::floor(times)) {
                        throw PARSE_ERROR(fileName, line.Number, "'" + name + "': bad repeat");
                    }
                    name.resize(star);
                }
                const int pattern = findPattern(name);
                if (pattern < 0) {
                    throw PARSE_ERROR(fileName, line.Number, "no pattern '" + name + "'");
                }
                score.Order.insert(score.Order.end(), static_cast<size_t>(times), pattern);
            }
            continue;
        }
        switch (section) {
            case SECTION::HEADER: {
                if (key == "tempo") {
                    score.Tempo = ParseNumbers(words, 1, fileName, line.Number)[0];
                    if (score.Tempo < 30 || score.Tempo > 300) {
                        throw PARSE_ERROR(fileName, line.Number, "tempo must be 30 to 300");
                    }
                } else if (key == "beats") {
                    const double beats = ParseNumbers(words, 1, fileName, line.Number)[0];
                    if (beats < 1 || beats > 16 || beats != std::floor(beats)) {
                        throw PARSE_ERROR(fileName, line.Number, "beats must be 1 to 16");
                    }
                    score.Beats = static_cast<int>(beats);
                } else if (key == "seed") {
                    const double seed = ParseNumbers(words, 1, fileName, line.Number)[0];
                    if (seed < 0 || seed > 4294967295.0) {
                        throw PARSE_ERROR(fileName, line.Number, "seed out of range");
                    }
                    score.Seed = static_cast<uint32_t>(seed);
                } else if (key == "echo") {
                    const auto n = ParseNumbers(words, 2, fileName, line.Number);
                    if (n[0] <= 0 || n[0] > 4 || n[1] < 0 || n[1] > 0.9) {
                        throw PARSE_ERROR(fileName, line.Number,
                                          "echo takes 0 to 4 beats and a feedback of 0 to 0.9");
                    }
                    score.EchoBeats = n[0];
                    score.EchoFeedback = n[1];
                } else if (key == "tail") {
                    score.Tail = ParseNumbers(words, 1, fileName, line.Number)[0];
                    if (score.Tail < 0 || score.Tail > 10) {
                        throw PARSE_ERROR(fileName, line.Number, "tail must be 0 to 10 s");
                    }
                } else {
                    throw PARSE_ERROR(fileName, line.Number, "unknown setting '" + key + "'");
                }
                break;
            }
            case SECTION::INSTRUMENT: {
                INSTRUMENT& instrument = score.Instruments.back();
                if (key == "wave") {
                    if (words.size() != 2 || !ParseWave(words[1], instrument.Wave)) {
                        throw PARSE_ERROR(fileName, line.Number,
                                          "wave must be square, saw, sine, noise or triangle");
                    }
                } else if (key == "drum") {
                    if (words.size() != 2 || !ParseDrum(words[1], instrument.Drum)) {
                        throw PARSE_ERROR(fileName, line.Number,
                                          "drum must be kick, snare, clap, hat, openhat, crash "
                                          "or tom");
                    }
                } else {
                    auto found = InstrumentKeys().find(key);
                    if (found == InstrumentKeys().end()) {
                        throw PARSE_ERROR(fileName, line.Number, "unknown key '" + key + "'");
                    }
                    found->second.Set(instrument, ParseNumbers(words, found->second.Count, fileName,
                                                               line.Number));
                }
                break;
            }
            case SECTION::PATTERN: {
                const int instrument = findInstrument(key);
                if (instrument < 0) {
                    throw PARSE_ERROR(fileName, line.Number, "no instrument '" + key + "'");
                }
                size_t c = 0;
                while (c < channels.size() && channels[c].first != instrument) {
                    ++c;
                }
                if (c == channels.size()) {
                    channels.push_back({instrument, {}});
                }
                for (size_t w = 1; w < words.size(); ++w) {
                    channels[c].second.push_back({words[w], line.Number});
                }
                break;
            }
            case SECTION::SONG:
                throw PARSE_ERROR(fileName, line.Number, "'" + key + "' after the song");
        }
    }
    finishSection();
    if (score.Order.empty()) {
        throw PARSE_ERROR(fileName, songLine, "no song order");
    }
    return score;
}

}  // namespace audio
