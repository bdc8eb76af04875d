// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Any bytes as Bink's "bink/bink.txt": every section he is asked for gives
// lines no longer than he keeps, an empty section ends his speech at once,
// and a speech with lines ends once they have scrolled away (the game never
// stands still for good). Returns an empty string when all is well,
// otherwise what went wrong.

#include <cstddef>
#include <cstdint>
#include <string>

#include "objects/bink.h"
#include "tests/fuzz/scratch_file.h"

inline std::string CheckBinkBytes(const uint8_t* data, size_t size) {
    BINK bink;
    bink.TextPath = SCRATCH_FOLDER::Write("bink.txt", data, size);
    // The game's eleven cues, the numbers either side, and one the file
    // itself names first.
    int sections[16] = {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 1000, 0};
    for (size_t i = 0; i + 1 < size; ++i) {
        if (data[i] == '#' && (i == 0 || data[i - 1] == '\n')) {
            size_t end = i;
            while (end < size && data[end] != '\n') {
                ++end;
            }
            sections[15] = SectionNumber(std::string(data + i, data + end));
            break;
        }
    }
    for (int section : sections) {
        bink.Speak(section);
        for (const std::string& line : bink.Lines) {
            if (line.size() > 299) {
                return "section " + std::to_string(section) + " kept a line of " +
                       std::to_string(line.size()) + " characters";
            }
            if (!line.empty() && line.back() == '\r') {
                return "section " + std::to_string(section) + " kept a line end";
            }
        }
        if (bink.IsSpeaking() == bink.Lines.empty()) {
            return "section " + std::to_string(section) +
                   (bink.Lines.empty() ? ": speaks with no lines" : ": silent with lines");
        }
        // Each line takes two units of the speech clock to scroll past; the
        // opening, the fade and the closing take well under a hundred more.
        const size_t limit = 2 * bink.Lines.size() + 100;
        size_t steps = 0;
        while (bink.IsSpeaking() && steps++ <= limit) {
            bink.Update(1.0f);
            bink.Render(nullptr, nullptr);
        }
        if (bink.IsSpeaking()) {
            return "section " + std::to_string(section) + " of " +
                   std::to_string(bink.Lines.size()) + " lines never ends";
        }
    }
    return "";
}
