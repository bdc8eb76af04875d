// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/log.h"

#include <sys/stat.h>

#include <fstream>

namespace {

// Constructed before main; opened by LOG::Open once the per-user folder is
// known. An unopened stream swallows every write silently.
std::ofstream& Stream() {
    static std::ofstream stream;
    return stream;
}
[[maybe_unused]] const bool STREAM_CONSTRUCTED = (Stream(), true);

}  // namespace

bool LOG::Open(const std::string& path) {
    std::ofstream& s = Stream();
    if (s.is_open()) {
        s.close();
    }
    s.clear();
    // A pipe in the log's place would hold the game until something read
    // it, and a folder cannot be written: the log is dropped instead.
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISCHR(info.st_mode)) {
        return false;
    }
    s.open(path, std::ios::out | std::ios::trunc);
    return s.is_open();
}

void LOG::Close() {
    if (Stream().is_open()) {
        Stream().close();
    }
}

std::ostream& LOG::WriteLine(const char* text) {
    std::ofstream& s = Stream();
    s << text << '\n';
    s.flush();
    return s;
}

std::ostream& LOG::Write(const char* text) {
    return Stream() << text;
}

std::ostream& LOG::Write(int32_t value) {
    return Stream() << value;
}

std::ostream& LOG::Write(float value) {
    return Stream() << value;
}

std::ostream& LOG::WriteBool(bool value) {
    return Stream() << (value ? "True" : "False");
}

std::ostream& LOG::WriteVector(float a, float b, float c) {
    return Stream() << "x: " << a << ", y: " << b << ", z: " << c;
}

int LOG::NewLine(int count) {
    for (int i = 0; i < count; ++i) {
        Stream() << '\n';
        Stream().flush();
    }
    return count;
}
