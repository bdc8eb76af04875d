// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/records.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>

#include "platform/data_file.h"
#include "platform/log.h"

namespace {

// Removes what a write killed half-way left beside the records: a
// "records.txt.tmp" followed by the writer's process id.
void RemoveStrays(const std::string& path) {
    size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string head = path.substr(slash == std::string::npos ? 0 : slash + 1) + ".tmp";
    DIR* dir = opendir(folder.c_str());
    if (!dir) {
        return;
    }
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.rfind(head, 0) == 0) {
            std::remove((folder + name).c_str());
        }
    }
    closedir(dir);
}

}  // namespace

void RECORDS::Load(const std::string& path) {
    Path = path;
    RemoveStrays(path);
    std::string text;
    FILES::Read(path, FILES::KIND::SETTINGS, &text);
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        int level = -1;
        float time = 0.0f;
        int score = 0;
        if (words >> level >> time >> score && level >= 0 && level < LEVEL_COUNT && time >= 0.0f &&
            score >= 0) {
            Levels[level] = {time, score};
        }
    }
}

bool RECORDS::Finish(int level, float time, int score) {
    if (level < 0 || level >= LEVEL_COUNT) {
        return true;
    }
    LEVEL_RECORD& r = Levels[level];
    bool faster = r.Time <= 0.0f || time < r.Time;
    bool higher = score > r.Score;
    if (!faster && !higher) {
        return true;
    }
    if (faster) {
        r.Time = time;
    }
    if (higher) {
        r.Score = score;
    }
    return Save();
}

const LEVEL_RECORD& RECORDS::Of(int level) const {
    static const LEVEL_RECORD NONE;
    return level >= 0 && level < LEVEL_COUNT ? Levels[level] : NONE;
}

// Written whole under a name of its own, flushed to the disk and renamed
// over the old file, so a crash or a kill leaves the old records or the new.
bool RECORDS::Save() const {
    if (Path.empty()) {
        return false;
    }
    std::ostringstream text;
    for (int level = 0; level < LEVEL_COUNT; ++level) {
        if (Levels[level].Time > 0.0f || Levels[level].Score > 0) {
            text << level << ' ' << Levels[level].Time << ' ' << Levels[level].Score << '\n';
        }
    }
    std::string bytes = text.str();
    RemoveStrays(Path);
    std::string temp = Path + ".tmp" + std::to_string(getpid());
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    bool ok = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = file && std::fflush(file) == 0 && fsync(fileno(file)) == 0 && ok;
    ok = file && std::fclose(file) == 0 && ok;
    ok = ok && std::rename(temp.c_str(), Path.c_str()) == 0;
    if (!ok) {
        std::remove(temp.c_str());
        LOG().WriteLine(("Cannot write the best times to " + Path).c_str());
        std::fprintf(stderr, "vortigan: cannot write the best times to %s\n", Path.c_str());
    }
    return ok;
}

std::string TimeText(float seconds) {
    int tenths = static_cast<int>(seconds * 10.0f);
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d.%d", tenths / 600, tenths / 10 % 60, tenths % 10);
    return text;
}
