// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace FILES {
namespace {

constexpr size_t KIB = 1024;
constexpr size_t MIB = 1024 * KIB;

READ_FAULT Fault;

// Closes the descriptor on every way out.
struct DESCRIPTOR {
    int Fd = -1;
    ~DESCRIPTOR() {
        if (Fd >= 0) {
            close(Fd);
        }
    }
};

// Opens without waiting on a pipe's writer and checks that a plain file of
// at most `cap` bytes (or, when `head`, of any size) is there.
RESULT OpenRegular(const std::string& path, size_t cap, bool head, DESCRIPTOR* file, size_t* size) {
    file->Fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (file->Fd < 0) {
        return errno == ENOENT || errno == ENOTDIR ? RESULT::MISSING : RESULT::UNREADABLE;
    }
    struct stat info {};
    if (fstat(file->Fd, &info) != 0) {
        return RESULT::UNREADABLE;
    }
    if (!S_ISREG(info.st_mode)) {
        return RESULT::NOT_A_FILE;
    }
    if (!head && info.st_size > 0 && size_t(info.st_size) > cap) {
        return RESULT::TOO_LARGE;
    }
    *size = std::min(size_t(std::max<off_t>(info.st_size, 0)), cap);
    return RESULT::OK;
}

// Reads until the end of the file or `limit` bytes; a file that grows past
// `limit` while it is read is too large unless only its head is wanted.
RESULT ReadAll(const std::string& path, int fd, size_t expected, size_t limit, bool head,
               std::string* bytes) {
    constexpr size_t PIECE = 64 * KIB;
    bytes->reserve(expected);
    char buffer[PIECE];
    for (;;) {
        if (Fault && Fault(path, bytes->size())) {
            return RESULT::UNREADABLE;
        }
        // One byte past the limit tells a file that grew from one that ends.
        size_t want = std::min(PIECE, limit + 1 - bytes->size());
        ssize_t got = read(fd, buffer, want);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return RESULT::UNREADABLE;
        }
        if (got == 0) {
            return RESULT::OK;
        }
        bytes->append(buffer, size_t(got));
        if (bytes->size() > limit) {
            if (head) {
                bytes->resize(limit);
                return RESULT::OK;
            }
            return RESULT::TOO_LARGE;
        }
    }
}

RESULT ReadFile(const std::string& path, size_t limit, bool head, std::string* bytes) {
    bytes->clear();
    DESCRIPTOR file;
    size_t size = 0;
    RESULT result = OpenRegular(path, limit, head, &file, &size);
    if (result == RESULT::OK) {
        result = ReadAll(path, file.Fd, size, limit, head, bytes);
    }
    if (result != RESULT::OK) {
        bytes->clear();
        bytes->shrink_to_fit();
    }
    return result;
}

}  // namespace

size_t SizeCap(KIND kind) {
    // Each far above the largest file of its kind the game ships or writes
    // (a map is under 10 KiB, the largest picture a few MiB, a tune under
    // 2 MiB, an hour's recording a few MiB).
    switch (kind) {
        case KIND::MAP:
            return 4 * MIB;
        case KIND::PICTURE:
            return 64 * MIB;
        case KIND::SOUND:
            return 16 * MIB;
        case KIND::TUNE:
            return 64 * MIB;
        case KIND::TEXT:
            return 1 * MIB;
        case KIND::SCRIPT:
            return 64 * MIB;
        case KIND::SETTINGS:
            return 64 * KIB;
    }
    return 0;
}

RESULT Read(const std::string& path, KIND kind, std::string* bytes) {
    return ReadFile(path, SizeCap(kind), false, bytes);
}

RESULT ReadHead(const std::string& path, size_t count, std::string* bytes) {
    return ReadFile(path, count, true, bytes);
}

const char* Describe(RESULT result) {
    switch (result) {
        case RESULT::OK:
            return "read";
        case RESULT::MISSING:
            return "no such file";
        case RESULT::NOT_A_FILE:
            return "not a regular file";
        case RESULT::TOO_LARGE:
            return "too large";
        case RESULT::UNREADABLE:
            return "cannot be read";
    }
    return "cannot be read";
}

bool FinishWriting(std::FILE* file, bool failed) {
    if (!file) {
        return !failed;
    }
    bool ok = std::fflush(file) == 0 && !std::ferror(file) && !failed;
    return std::fclose(file) == 0 && ok;
}

void SetReadFault(READ_FAULT fault) {
    Fault = std::move(fault);
}

}  // namespace FILES
