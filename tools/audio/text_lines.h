// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Line splitting shared by the recipe and score readers.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace audio {

// Thrown for a malformed recipe or score; the message starts with "FILE:LINE: ".
class PARSE_ERROR : public std::runtime_error {
public:
    PARSE_ERROR(const std::string& file, int line, const std::string& what)
        : std::runtime_error(file + ":" + std::to_string(line) + ": " + what), Line(line) {}
    int Line;
};

struct TEXT_LINE {
    int Number = 0;                  // 1-based line in the file
    std::vector<std::string> Words;  // never empty
};

// Splits text into lines of whitespace-separated words; a '#' at the start of a word
// starts a comment, and blank lines are dropped.
std::vector<TEXT_LINE> SplitLines(const std::string& text);

// Reads words[1..count] as numbers; throws PARSE_ERROR unless there are exactly
// that many and each is a number.
std::vector<double> ParseNumbers(const std::vector<std::string>& words, size_t count,
                                 const std::string& file, int line);

// Reads one number; false when the word is not entirely a number.
bool ParseNumber(const std::string& word, double& value);

// Reads a whole file; throws std::runtime_error when it cannot be read.
std::string ReadTextFile(const std::string& path);

}  // namespace audio
