// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/options.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/usage.h"
#include "world/world.h"

namespace {

bool ParseInt(const std::string& s, int64_t* value) {
    if (s.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(s.c_str(), &end, 10);
    if (errno != 0 || *end != '\0') {
        return false;
    }
    *value = v;
    return true;
}

bool ParseDouble(const std::string& s, double* value) {
    if (s.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (errno != 0 || *end != '\0') {
        return false;
    }
    *value = v;
    return true;
}

// A path as the folder the game was started from reads it: the game
// changes into its data folder later, and a relative path must not move
// with it.
std::string FromStartFolder(const std::string& path) {
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

// Sets what one option (with its value, if it takes one) asks for; the
// complaint when the option or its value is bad, else nothing.
std::string ApplyOption(const std::string& arg, const std::string& value, PLATFORM_OPTIONS* o) {
    if (arg == "--headless") {
        o->Headless = true;
    } else if (arg == "--windowed") {
        o->Windowed = true;
        o->WindowedGiven = true;
    } else if (arg == "--fullscreen") {
        o->Windowed = false;
        o->WindowedGiven = true;
    } else if (arg == "--no-vsync") {
        o->NoVsync = true;
    } else if (arg == "--frames") {
        if (!ParseInt(value, &o->Frames) || o->Frames < 0) {
            return "--frames wants a whole number of frames, not '" + value + "'";
        }
    } else if (arg == "--fixed-dt") {
        if (!ParseDouble(value, &o->FixedDt) || !(o->FixedDt > 0.0) || o->FixedDt > 1.0) {
            return "--fixed-dt wants seconds above 0 and at most 1, not '" + value + "'";
        }
    } else if (arg == "--input") {
        o->InputPath = FromStartFolder(value);
    } else if (arg == "--record") {
        o->RecordPath = FromStartFolder(value);
    } else if (arg == "--trace") {
        o->TracePath = FromStartFolder(value);
    } else if (arg == "--data") {
        o->DataDir = FromStartFolder(value);
    } else if (arg == "--user-dir") {
        o->UserDir = FromStartFolder(value);
    } else if (arg == "--screenshot") {
        size_t colon = value.find(':');
        int64_t frame = 0;
        if (colon == std::string::npos || !ParseInt(value.substr(0, colon), &frame) || frame < 0 ||
            colon + 1 >= value.size()) {
            return "--screenshot wants FRAME:FILE.png, not '" + value + "'";
        }
        o->Screenshots.emplace_back(frame, FromStartFolder(value.substr(colon + 1)));
    } else if (arg == "--level") {
        int64_t level = 0;
        if (!ParseInt(value, &level) || level < 0 || level >= LEVEL_COUNT) {
            return "--level wants a level from 0 to " + std::to_string(LEVEL_COUNT - 1) +
                   ", not '" + value + "'";
        }
        o->Level = static_cast<int>(level);
    } else {
        return "unknown option '" + arg + "'";
    }
    return "";
}

bool TakesValue(const std::string& name) {
    for (const USAGE_OPTION& option : USAGE::OPTIONS) {
        if (name == option.Name) {
            return *option.Value != '\0';
        }
    }
    return false;
}

}  // namespace

const char* UsageText() {
    static const std::string text = [] {
        // The options line up in one column after their names and values.
        constexpr size_t NAME_WIDTH = 22;
        std::string t = std::string("Usage: ") + USAGE::SYNOPSIS + "\n" + USAGE::TAGLINE + "\n\n";
        for (const USAGE_OPTION& option : USAGE::OPTIONS) {
            std::string name = option.Name;
            if (*option.Value) {
                name += std::string(" ") + option.Value;
            }
            name.resize(std::max(NAME_WIDTH - 1, name.size()), ' ');
            t += "  " + name + " " + option.Summary + "\n";
        }
        return t + "\n" + USAGE::KEYS + "\n" + USAGE::SETTINGS;
    }();
    return text.c_str();
}

COMMAND_LINE ParseCommandLine(int argc, const char* const* argv) {
    COMMAND_LINE cl;
    PLATFORM_OPTIONS& o = cl.Options;
    auto fail = [&cl](const std::string& why) {
        cl.Exit = true;
        cl.ExitStatus = 2;
        cl.Message = "vortigan: " + why + "\nTry 'vortigan --help' for more information.\n";
        return cl;
    };
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string value;
        // Options with a value take it as the next word or after '='.
        auto takeValue = [&](std::string* out) {
            size_t eq = arg.find('=');
            if (eq != std::string::npos) {
                *out = arg.substr(eq + 1);
                arg = arg.substr(0, eq);
                return true;
            }
            if (i + 1 >= argc) {
                return false;
            }
            *out = argv[++i];
            return true;
        };
        std::string name = arg.substr(0, arg.find('='));
        bool hasValue = TakesValue(name);
        if (hasValue) {
            if (!takeValue(&value)) {
                return fail("option " + name + " needs a value");
            }
            if (value.empty()) {
                return fail("option " + name + " needs a value, not an empty one");
            }
            arg = name;
        } else if (arg.find('=') != std::string::npos) {
            return fail("option " + name + " takes no value");
        }

        if (arg == "--help" || arg == "-h") {
            cl.Exit = true;
            cl.Message = UsageText();
            return cl;
        } else if (arg == "--version") {
            cl.Exit = true;
            cl.Message = std::string("vortigan ") + VORTIGAN_VERSION + "\n";
            return cl;
        }
        if (std::string why = ApplyOption(arg, value, &o); !why.empty()) {
            return fail(why);
        }
    }
    return cl;
}
