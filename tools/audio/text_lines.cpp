// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/audio/text_lines.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace audio {

std::vector<TEXT_LINE> SplitLines(const std::string& text) {
    std::vector<TEXT_LINE> lines;
    std::istringstream in(text);
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        // A comment starts with a '#' at the start of a word, so that a sharp inside a
        // note name ("F#4") stays part of the note.
        for (size_t at = 0; at < raw.size(); ++at) {
            if (raw[at] == '#' &&
                (at == 0 || std::isspace(static_cast<unsigned char>(raw[at - 1])))) {
                raw.resize(at);
                break;
            }
        }
        std::istringstream words(raw);
        TEXT_LINE line;
        line.Number = number;
        std::string word;
        while (words >> word) {
            line.Words.push_back(word);
        }
        if (!line.Words.empty()) {
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

bool ParseNumber(const std::string& word, double& value) {
    if (word.empty()) {
        return false;
    }
    char* end = nullptr;
    value = std::strtod(word.c_str(), &end);
    return end == word.c_str() + word.size() && std::isfinite(value);
}

std::vector<double> ParseNumbers(const std::vector<std::string>& words, size_t count,
                                 const std::string& file, int line) {
    if (words.size() != count + 1) {
        throw PARSE_ERROR(file, line,
                          "'" + words[0] + "' takes " + std::to_string(count) +
                              (count == 1 ? " number" : " numbers"));
    }
    std::vector<double> numbers(count);
    for (size_t i = 0; i < count; ++i) {
        if (!ParseNumber(words[i + 1], numbers[i])) {
            throw PARSE_ERROR(file, line, "'" + words[i + 1] + "' is not a number");
        }
    }
    return numbers;
}

std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace audio
