// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include "platform/platform.h"

// What the command line asked for. Exit tells main to stop at once with
// that status (after --help, --version or a usage error).
struct COMMAND_LINE {
    PLATFORM_OPTIONS Options;
    bool Exit = false;
    int ExitStatus = 0;
    std::string Message;  // for stdout (help, version) or stderr (errors)
};

COMMAND_LINE ParseCommandLine(int argc, const char* const* argv);
const char* UsageText();
