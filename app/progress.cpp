#include "app/progress.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>

#include "platform/platform.h"

int LoadProgress(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return 0;
    }
    char bytes[4] = {};
    in.read(bytes, sizeof bytes);
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    }
    int level = static_cast<int32_t>(value);
    return level < 0 ? 0 : level;
}

void SaveProgress(const std::string& path, int level) {
    if (path.empty() || level <= LoadProgress(path)) {
        return;
    }
    std::string temporary = path + ".new";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        return;
    }
    uint32_t value = static_cast<uint32_t>(level);
    unsigned char bytes[4];
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    }
    // Only a complete file that reached the disk may take the old one's place.
    bool written = std::fwrite(bytes, 1, sizeof bytes, file) == sizeof bytes &&
                   std::fflush(file) == 0 && fsync(fileno(file)) == 0;
    written = std::fclose(file) == 0 && written;
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
    }
}

std::string ProgressPath() {
    return PLATFORM::UserPath("settings.bin");
}

int LoadProgress() {
    return LoadProgress(ProgressPath());
}

void SaveProgress(int level) {
    SaveProgress(ProgressPath(), level);
}
