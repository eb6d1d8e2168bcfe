#pragma once

// Runs a piece of a test in a child process with a time limit and a memory
// cap, so that a reader which blocks or grows without end fails the test
// instead of hanging or sinking it.

#include "sanitizers.h"

#include <chrono>
#include <csignal>
#include <functional>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

struct BoundedRunLimits {
    int seconds = 10;
    rlim_t memoryBytes = rlim_t{1} << 30; // not applied under AddressSanitizer
};

// What `work` returned in the child, or "<timed out>", or "<killed by signal N>".
inline std::string RunBounded(const std::function<std::string()>& work,
                              BoundedRunLimits limits = {}) {
    int channel[2];
    if (::pipe(channel) != 0) {
        return "<no pipe>";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
#ifndef TESSRA_TEST_ADDRESS_SANITIZER
        const rlimit memory{limits.memoryBytes, limits.memoryBytes};
        ::setrlimit(RLIMIT_AS, &memory);
#endif
        ::alarm(static_cast<unsigned>(limits.seconds) + 1);
        const std::string said = work();
        (void)!::write(channel[1], said.data(), said.size());
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string said;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(limits.seconds);
    bool timedOut = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd wanted{channel[0], POLLIN, 0};
        if (left.count() <= 0 || ::poll(&wanted, 1, static_cast<int>(left.count())) == 0) {
            timedOut = true;
            ::kill(child, SIGKILL);
            break;
        }
        char buffer[4096];
        const ssize_t got = ::read(channel[0], buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        said.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (timedOut) {
        return "<timed out>";
    }
    if (WIFSIGNALED(status)) {
        return "<killed by signal " + std::to_string(WTERMSIG(status)) + ">";
    }
    return said;
}
