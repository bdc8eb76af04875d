// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "objects/object.h"
#include "platform/device.h"
#include "platform/sprite.h"
#include "world/world.h"

namespace {

// ctest passes only the first of the variables the test list gives it (a
// list inside a property value is split), so the test program sets both
// itself before any test runs: no test opens a real window or sound device.
[[maybe_unused]] const bool DUMMY_DEVICES = [] {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    return true;
}();

}  // namespace

namespace TEST_SUPPORT {

namespace fs = std::filesystem;

TEMP_DIR::TEMP_DIR() {
    static std::atomic<int> counter{0};
    Dir = fs::temp_directory_path() /
          ("vortigan-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(Dir);
    fs::create_directories(Dir);
}

TEMP_DIR::~TEMP_DIR() {
    std::error_code ec;
    fs::remove_all(Dir, ec);
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::vector<std::string>> ReadTraceRows(const std::string& path) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(ReadText(path));
    std::string line;
    std::getline(lines, line);  // the header
    while (std::getline(lines, line)) {
        std::vector<std::string> cells;
        std::istringstream cellsIn(line);
        std::string cell;
        while (std::getline(cellsIn, cell, ',')) {
            cells.push_back(cell);
        }
        rows.push_back(cells);
    }
    return rows;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

int RunGame(const std::string& arguments, std::string* output) {
    return RunGameAfter("", arguments, output);
}

int RunGameAfter(const std::string& setup, const std::string& arguments, std::string* output) {
    // A game that hangs is stopped, and its run fails.
    std::string command = setup + (setup.empty() ? "" : " ") + "timeout 300 '" + VORTIGAN_EXE +
                          "' " + arguments + " 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return -1;
    }
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        text.append(buffer, n);
    }
    int status = pclose(pipe);
    if (output) {
        *output = text;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool ColourNear(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        int ca = int((a >> shift) & 0xFF);
        int cb = int((b >> shift) & 0xFF);
        if (ca - cb > tolerance || cb - ca > tolerance) {
            return false;
        }
    }
    return true;
}

std::vector<uint8_t> MakeDds(int width, int height, const std::vector<uint32_t>& argb) {
    std::vector<uint8_t> out(128, 0);
    auto put = [&out](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            out[at + i] = static_cast<uint8_t>(v >> (8 * i));
        }
    };
    put(0, 0x20534444);  // "DDS "
    put(4, 124);
    put(8, 0x1 | 0x2 | 0x4 | 0x8 | 0x1000);
    put(12, static_cast<uint32_t>(height));
    put(16, static_cast<uint32_t>(width));
    put(20, static_cast<uint32_t>(width * 4));
    put(76, 32);
    put(80, 0x40 | 0x1);
    put(88, 32);
    put(92, 0x00FF0000);
    put(96, 0x0000FF00);
    put(100, 0x000000FF);
    put(104, 0xFF000000);
    put(108, 0x1000);
    for (uint32_t p : argb) {
        for (int i = 0; i < 4; ++i) {
            out.push_back(static_cast<uint8_t>(p >> (8 * i)));
        }
    }
    return out;
}

bool DrawCast(DEVICE& device, WORLD* world, const std::vector<OBJECT*>& cast, float zoom) {
    SPRITE sprite(&device);
    device.Clear(0xFF000000u);
    if (!device.BeginScene()) {
        return false;
    }
    sprite.Begin();
    if (world) {
        world->DrawWorld(&sprite, zoom);
    }
    for (uint8_t layer : {uint8_t(0), uint8_t(1)}) {
        for (OBJECT* o : cast) {
            if (o->Layer == layer) {
                o->Render(&sprite, zoom);
            }
        }
    }
    sprite.End();
    device.EndScene();
    return true;
}

std::vector<uint32_t> ReadFrame(DEVICE& device) {
    std::vector<uint32_t> pixels;
    pixels.reserve(DEVICE::WIDTH * DEVICE::HEIGHT);
    for (int y = 0; y < DEVICE::HEIGHT; ++y) {
        for (int x = 0; x < DEVICE::WIDTH; ++x) {
            pixels.push_back(device.ReadPixel(x, y));
        }
    }
    return pixels;
}

namespace {

void Put16(std::vector<uint8_t>* out, uint32_t v) {
    out->push_back(uint8_t(v));
    out->push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>* out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

// A mono 16-bit WAV of a sine tone.
std::vector<uint8_t> ToneWav(double seconds, double hertz) {
    const uint32_t rate = 44100;  // the mixer's own rate: no resampling to wait for
    uint32_t samples = uint32_t(seconds * rate);
    std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
    Put32(&out, 36 + samples * 2);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put32(&out, 16);
    Put16(&out, 1);  // PCM
    Put16(&out, 1);  // mono
    Put32(&out, rate);
    Put32(&out, rate * 2);
    Put16(&out, 2);
    Put16(&out, 16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    Put32(&out, samples * 2);
    for (uint32_t i = 0; i < samples; ++i) {
        double s = std::sin(2.0 * 3.14159265358979323846 * hertz * i / rate) * 12000.0;
        Put16(&out, uint16_t(int16_t(s)));
    }
    return out;
}

}  // namespace TEST_SUPPORT
