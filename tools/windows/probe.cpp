// A stand-in for a test program, run under Wine by the suite to show that
// wine-run.sh fails the runs that must fail: a crash after the summary
// line, and status 0 without gtest's summary.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    const bool crash = argc > 1 && std::strcmp(argv[1], "crash") == 0;
    const bool silent = argc > 1 && std::strcmp(argv[1], "silent") == 0;
    if (silent)
        return 0;
    std::printf("[  PASSED  ] 1 test.\n");
    std::fflush(stdout);
    if (crash) {
        volatile int* nowhere = nullptr;
        *nowhere = 1;
    }
    return 0;
}
