#pragma once

// Runs a piece of a test in a child process with a time limit and a memory
// cap, so that a reader which blocks or grows without end fails the test
// instead of hanging or sinking it.

#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// AddressSanitizer reserves terabytes of address space: no memory cap under it.
#if defined(__SANITIZE_ADDRESS__)
#define TESSRA_TEST_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSRA_TEST_ADDRESS_SANITIZER 1
#endif
#endif

// What `work` returned in the child, or "<killed by signal N>" (14 when it
// ran out of time, 6 when out of memory). The time is a guard against a read
// that never ends, not a measure of speed: reading 256 MiB of endless input
// takes more than 10 seconds on a loaded machine.
template <class Work>
std::string RunBounded(const Work& work, unsigned seconds = 60, rlim_t memory = rlim_t{1} << 30) {
    int channel[2];
    if (::pipe(channel) != 0) {
        return "<no pipe>";
    }
    const pid_t child = ::fork();
    if (child == 0) {
#ifndef TESSRA_TEST_ADDRESS_SANITIZER
        const rlimit cap{memory, memory};
        ::setrlimit(RLIMIT_AS, &cap);
#else
        (void)memory;
#endif
        ::alarm(seconds);
        const std::string said = work();
        (void)!::write(channel[1], said.data(), said.size());
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string said;
    char buffer[4096];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;) {
        said.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status) ? "<killed by signal " + std::to_string(WTERMSIG(status)) + ">"
                               : said;
}
