#include "app/options.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>

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

}  // namespace

const char* UsageText() {
    return "Usage: vortigan [OPTION]...\n"
           "A side-scrolling platform game.\n"
           "\n"
           "  --windowed            play in a resizable window\n"
           "  --fullscreen          play full screen (the default)\n"
           "  --no-vsync            draw frames as fast as possible\n"
           "  --level N             start level N at once (0 is Level 1-1, 11 is Level 3-4)\n"
           "  --data DIR            read the game's data from DIR\n"
           "  --user-dir DIR        keep progress, settings and the log in DIR\n"
           "  --headless            run without a window or sound\n"
           "  --frames N            quit after N frames\n"
           "  --fixed-dt S          advance every frame by S seconds\n"
           "  --input FILE          play the input script FILE\n"
           "  --record FILE         record this session's input to FILE\n"
           "  --screenshot N:FILE   write frame N to FILE as a PNG (repeatable)\n"
           "  --trace FILE          write one CSV line per frame to FILE\n"
           "  --help                show this help\n"
           "  --version             show the version\n"
           "\n"
           "Keys: arrows walk and jump, hold Space to aim and charge the mega jump,\n"
           "P pauses, Escape leaves for the menu, F11 switches full screen,\n"
           "F12 saves a screenshot.\n"
           "\n"
           "The Options screen's choices (volumes, display, keys, mega jump, flashing,\n"
           "level timer) are kept in ~/.config/vortigan/settings.cfg (or\n"
           "$XDG_CONFIG_HOME/vortigan/, or the --user-dir folder).\n";
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
        bool hasValue = name == "--frames" || name == "--fixed-dt" || name == "--input" ||
                        name == "--record" || name == "--screenshot" || name == "--trace" ||
                        name == "--data" || name == "--user-dir" || name == "--level";
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
