// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <type_traits>

// The solvers try thousands of moves from one point of a level. A copy of
// the whole game made by fork() at that point costs far less than playing
// the level again from its start for each, and nothing a copy does can
// disturb the others. Answers come back through a pipe as plain bytes.

struct COPY {
    pid_t Pid = -1;
    int Fd = -1;  // where the copy's answers are read
};

// Starts a copy that runs `work(fd)`, writing its answers to `fd`, and then
// ends. Pid is -1 when no copy could be made.
template <typename F>
COPY StartCopy(F work) {
    int p[2];
    if (pipe(p) != 0) {
        return {};
    }
    pid_t pid = fork();
    if (pid == 0) {
        close(p[0]);
        work(p[1]);
        _exit(0);
    }
    close(p[1]);
    if (pid < 0) {
        close(p[0]);
        return {};
    }
    return {pid, p[0]};
}

// Reads one answer; false when the copy gave none (it died, or never was).
template <typename T>
bool ReadAnswer(const COPY& copy, T* answer) {
    static_assert(std::is_trivially_copyable_v<T>);
    T got;
    if (copy.Fd < 0 || read(copy.Fd, &got, sizeof got) != ssize_t(sizeof got)) {
        return false;
    }
    *answer = got;
    return true;
}

template <typename T>
bool WriteAnswer(int fd, const T& answer) {
    static_assert(std::is_trivially_copyable_v<T>);
    return write(fd, &answer, sizeof answer) == ssize_t(sizeof answer);
}

// Waits for the copy to end.
inline void EndCopy(const COPY& copy) {
    if (copy.Fd >= 0) {
        close(copy.Fd);
    }
    if (copy.Pid > 0) {
        waitpid(copy.Pid, nullptr, 0);
    }
}

// `work()` played in a copy, and its answer; `fallback` when the copy gave none.
template <typename T, typename F>
T InCopy(F work, T fallback) {
    COPY copy = StartCopy([&](int fd) { WriteAnswer(fd, work()); });
    ReadAnswer(copy, &fallback);
    EndCopy(copy);
    return fallback;
}
