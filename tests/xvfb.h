// A private X server for the tests that open real windows. Xvfb picks a
// free display itself and names it on a pipe once it takes connections, so
// parallel tests never race for one. Without -noreset it would start afresh
// whenever its last client leaves, and refuse a program connecting just
// then.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

extern char** environ;

struct XServer {
    pid_t pid = -1;
    std::string display;  // ":N"; empty when it did not start

    // Xvfb and xdotool, which drives the windows, are on the PATH.
    static bool toolsPresent()
    {
        return std::system("command -v Xvfb >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1") == 0;
    }

    // `screen` as Xvfb takes it ("800x700x24"); its messages go to `log`.
    void start(const char* screen, const std::string& log)
    {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
        posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const char* argv[] = {"Xvfb", "-displayfd", "3", "-screen", "0", screen, "-nolisten", "tcp", "-noreset",
                              nullptr};
        if (posix_spawnp(&pid, "Xvfb", &actions, nullptr, const_cast<char**>(argv), environ) != 0)
            pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        std::string number;
        char c;
        for (;;) {
            pollfd ready = {fds[0], POLLIN, 0};
            if (poll(&ready, 1, 20000) <= 0 || read(fds[0], &c, 1) != 1 || c == '\n')
                break;
            number += c;
        }
        close(fds[0]);
        if (!number.empty())
            display = ":" + number;
    }

    void stop()
    {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
        pid = -1;
    }
};
