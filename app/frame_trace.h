// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

class APPLICATION;

// One CSV line per frame after its update, for replays and tests.
class FRAME_TRACE {
public:
    FRAME_TRACE() = default;
    FRAME_TRACE(const FRAME_TRACE&) = delete;
    FRAME_TRACE& operator=(const FRAME_TRACE&) = delete;
    ~FRAME_TRACE();

    bool Open(const std::string& path);
    void Frame(int64_t frame, const APPLICATION& app);
    // Finishes the file; false when any of it could not be written.
    bool Close();
    // The line Frame writes, without its end of line.
    static std::string Line(int64_t frame, const APPLICATION& app);

private:
    std::FILE* File = nullptr;
    bool Failed = false;
};
