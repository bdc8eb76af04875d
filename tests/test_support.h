// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

class DEVICE;
class OBJECT;
class WORLD;

// Small helpers shared by the test files: temporary folders, whole-file
// reads and writes, running the game.
namespace TEST_SUPPORT {

// A fresh empty folder under the system's temporary folder, removed when
// the object goes.
class TEMP_DIR {
public:
    TEMP_DIR();
    ~TEMP_DIR();
    const std::filesystem::path& Path() const { return Dir; }
    std::string File(const std::string& name) const { return (Dir / name).string(); }

private:
    std::filesystem::path Dir;
};

std::string ReadText(const std::string& path);
// A trace written by --trace: its rows after the header, split at commas.
std::vector<std::vector<std::string>> ReadTraceRows(const std::string& path);
std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteText(const std::string& path, const std::string& text);

// Runs the game's executable with the arguments (already quoted as the
// shell needs) and returns its exit status; stdout and stderr go to
// *output when given.
int RunGame(const std::string& arguments, std::string* output = nullptr);
// The same after shell words that set the scene: "cd DIR &&", "env HOME=X".
int RunGameAfter(const std::string& setup, const std::string& arguments,
                 std::string* output = nullptr);

// Two ARGB colours whose red, green and blue each differ by at most
// `tolerance` steps (linear filtering smears edges a little).
bool ColourNear(uint32_t a, uint32_t b, int tolerance);

// Every pixel of the device's current frame as ARGB, top row first.
std::vector<uint32_t> ReadFrame(DEVICE& device);

// One play frame's drawing on a screen cleared to black: the world's
// backdrop and tiles when a world is given, then the cast, layer 0 under
// layer 1. False when the scene could not be opened.
bool DrawCast(DEVICE& device, WORLD* world, const std::vector<OBJECT*>& cast, float zoom);

// A mono 16-bit WAV of a sine tone at the mixer's own rate.
std::vector<uint8_t> ToneWav(double seconds, double hertz);

// An uncompressed 32-bit DDS file of the given ARGB pixels, top row first.
std::vector<uint8_t> MakeDds(int width, int height, const std::vector<uint32_t>& argb);

// Polls `done` every 5 ms until it holds (true) or `seconds` pass (false),
// for work the game does on threads of its own.
template <typename F>
bool WaitFor(F done, double seconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace TEST_SUPPORT
