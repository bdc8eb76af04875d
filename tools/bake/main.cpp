// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// vortigan_bake: turns the SVG art under assets/art into the game's textures.
//
//   vortigan_bake --assets DIR --out DIR [--contact-sheet FILE.png] [--jobs N]
//
// Exit status 0 when every texture was written, 1 when the bake failed
// (the message names the manifest and line), 2 for a bad command line.

#include <charconv>
#include <cstring>
#include <iostream>
#include <string>

#include "tools/bake/bake.h"

namespace {

int Usage(const char* Complaint) {
    if (Complaint != nullptr) {
        std::cerr << "vortigan_bake: " << Complaint << "\n";
    }
    std::cerr << "usage: vortigan_bake --assets DIR --out DIR [--contact-sheet FILE.png] "
                 "[--jobs N]\n";
    return 2;
}

}  // namespace

int main(int Count, char** Arguments) {
    BAKEOPTIONS Options;
    for (int i = 1; i < Count; ++i) {
        const std::string Flag = Arguments[i];
        if (Flag == "--help" || Flag == "-h") {
            Usage(nullptr);
            return 0;
        }
        if (i + 1 >= Count) {
            return Usage((Flag + " wants a value").c_str());
        }
        const char* Value = Arguments[++i];
        if (Flag == "--assets") {
            Options.AssetsDir = Value;
        } else if (Flag == "--out") {
            Options.OutDir = Value;
        } else if (Flag == "--contact-sheet") {
            Options.ContactSheet = Value;
        } else if (Flag == "--jobs") {
            const char* End = Value + std::strlen(Value);
            auto [Stop, Error] = std::from_chars(Value, End, Options.Jobs);
            if (Error != std::errc() || Stop != End || Options.Jobs < 1) {
                return Usage("--jobs wants a whole number of at least 1");
            }
        } else {
            return Usage(("unknown option " + Flag).c_str());
        }
    }
    if (Options.AssetsDir.empty()) {
        return Usage("--assets is required");
    }
    if (Options.OutDir.empty() && Options.ContactSheet.empty()) {
        return Usage("nothing to do: give --out, --contact-sheet or both");
    }
    const int Status = RunBake(Options, std::cerr);
    if (Status != 0) {
        std::cerr << "vortigan_bake: failed\n";
    }
    return Status;
}
