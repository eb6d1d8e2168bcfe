#include "cli/cli.h"

#include <iostream>
#include <malloc.h>

int main(int argc, char** argv) {
    // A short run that makes and frees large buffers again and again (a
    // build's maps, a picture's rows): memory handed back to the system is
    // faulted in afresh each time, which costs more than the work itself.
    // Keep what was freed for the next one until the process ends.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    return tessra::RunCli(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
