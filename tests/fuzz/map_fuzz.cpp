// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// libFuzzer entry: any bytes as a map file must read and lay out without
// touching memory outside the grid.

#include <cstdlib>

#include "tests/fuzz/map_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!CheckMapBytes(data, size).empty()) {
        std::abort();
    }
    return 0;
}
