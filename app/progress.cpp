// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/progress.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/data_file.h"
#include "platform/log.h"
#include "platform/platform.h"

namespace {

constexpr size_t VALUE_BYTES = 4;
constexpr const char* TEMPORARY_TAIL = ".tmp";
constexpr int MAX_LINKS = 40;  // as many as the system itself follows

// The stored level; false when a file is there that cannot be read (no
// permission, a failing disk, a directory), which must never be replaced.
bool ReadStored(const std::string& path, int* level) {
    std::string bytes;
    FILES::RESULT read = FILES::ReadHead(path, VALUE_BYTES, &bytes);
    *level = 0;
    if (read == FILES::RESULT::MISSING) {
        return true;
    }
    if (read != FILES::RESULT::OK) {
        return false;
    }
    uint32_t value = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        value |= uint32_t(static_cast<unsigned char>(bytes[i])) << (8 * i);
    }
    *level = std::max(static_cast<int32_t>(value), 0);
    return true;
}

void Complain(const std::string& why) {
    std::string line = "Progress not saved: " + why;
    LOG().WriteLine(line.c_str());
    std::fprintf(stderr, "vortigan: %s\n", line.c_str());
}

std::string Folder(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string Name(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Where the file really lives: symbolic links are followed to the file they
// name, which need not exist yet.
std::string FollowLinks(std::string path) {
    for (int i = 0; i < MAX_LINKS; ++i) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        std::vector<char> target(size_t(std::max<off_t>(info.st_size, 255)) + 1);
        ssize_t n = readlink(path.c_str(), target.data(), target.size() - 1);
        if (n < 0) {
            return path;
        }
        std::string next(target.data(), size_t(n));
        path = next[0] == '/' ? next : Folder(path) + "/" + next;
    }
    return path;  // a loop: the read below fails and nothing is replaced
}

// Temporary files of earlier saves that never got renamed: a kill, a full
// disk. Only called under the lock, so none of them is being written now.
void RemoveStrays(int folder, const std::string& name) {
    int fd = dup(folder);
    DIR* dir = fd >= 0 ? fdopendir(fd) : nullptr;
    if (!dir) {
        if (fd >= 0) {
            close(fd);
        }
        return;
    }
    const std::string head = name + ".";
    const std::string tail = TEMPORARY_TAIL;
    while (dirent* entry = readdir(dir)) {
        std::string n = entry->d_name;
        bool ours = n.size() > head.size() + tail.size() && n.rfind(head, 0) == 0 &&
                    n.compare(n.size() - tail.size(), tail.size(), tail) == 0;
        if (ours || n == name + ".new") {  // ".new": the name older versions used
            unlinkat(folder, n.c_str(), 0);
        }
    }
    closedir(dir);
}

// Writes the four bytes under a name of its own beside the file and renames
// it over the file. False, with the reason in *why, when that failed.
bool Replace(int folder, const std::string& path, int level, mode_t mode, std::string* why) {
    std::string temporary = path + ".XXXXXX" + TEMPORARY_TAIL;
    std::vector<char> name(temporary.begin(), temporary.end());
    name.push_back('\0');
    int fd = mkstemps(name.data(), int(std::strlen(TEMPORARY_TAIL)));
    if (fd < 0) {
        *why = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    uint32_t value = static_cast<uint32_t>(level);
    unsigned char bytes[VALUE_BYTES];
    for (size_t i = 0; i < VALUE_BYTES; ++i) {
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    }
    // Only a complete file that reached the disk may take the old one's place.
    bool ok = fchmod(fd, mode) == 0;
    if (ok) {
        ssize_t written = write(fd, bytes, VALUE_BYTES);
        if (written >= 0 && written < ssize_t(VALUE_BYTES)) {
            errno = ENOSPC;  // a short write: the disk filled up
        }
        ok = written == ssize_t(VALUE_BYTES) && fsync(fd) == 0;
    }
    int error = errno;
    ok = close(fd) == 0 && ok;
    if (ok && rename(name.data(), path.c_str()) == 0) {
        fsync(folder);
        return true;
    }
    error = ok ? errno : error;
    unlink(name.data());
    *why = "cannot write " + path + ": " + std::strerror(error);
    return false;
}

// The mode a new file gets: readable and writable as the player's umask
// allows, as any file the game makes.
mode_t NewFileMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

int LoadProgress(const std::string& path) {
    int level = 0;
    ReadStored(path, &level);
    return level;
}

bool SaveProgress(const std::string& path, int level) {
    if (path.empty()) {
        return false;
    }
    const std::string target = FollowLinks(path);
    int folder = open(Folder(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        Complain("cannot open the folder of " + target + ": " + std::strerror(errno));
        return false;
    }
    // Held until the folder closes; a killed game lets go of it too.
    while (flock(folder, LOCK_EX) != 0 && errno == EINTR) {
    }
    RemoveStrays(folder, Name(target));
    int stored = 0;
    bool saved = true;
    std::string why;
    struct stat info {};
    const bool exists = stat(target.c_str(), &info) == 0;
    if (!ReadStored(target, &stored)) {
        why = target + " is there but cannot be read";
        saved = false;
    } else if (level <= stored) {
        saved = true;
    } else if (exists && (info.st_mode & S_IWUSR) == 0) {
        why = target + " is read-only";
        saved = false;
    } else {
        saved = Replace(folder, target, level, exists ? info.st_mode & 07777 : NewFileMode(), &why);
    }
    close(folder);
    if (!saved) {
        Complain(why);
    }
    return saved;
}

std::string ProgressPath() {
    return PLATFORM::UserPath("settings.bin");
}

int LoadProgress() {
    return LoadProgress(ProgressPath());
}

bool SaveProgress(int level) {
    return SaveProgress(ProgressPath(), level);
}
