#include "GameRun.h"

#include <errno.h>
#include <signal.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace {

volatile sig_atomic_t child = 0;
volatile sig_atomic_t stopAsked = 0;

void passOn(int)
{
    stopAsked = 1;
    if (child > 0)
        kill(child, SIGTERM);
}

}

GameRun::GameRun(const std::string& program) : launcher(program) {}

GameRun::~GameRun() {}

int GameRun::play(const std::string& levelDirectory)
{
    if (access(launcher.c_str(), X_OK) != 0) {
        fprintf(stderr, "skiff-level: the game cannot be started: %s: %s\n", launcher.c_str(), strerror(errno));
        return -1;
    }
    const int stops[] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction ours = {};
    struct sigaction before[3];
    ours.sa_handler = passOn;
    sigemptyset(&ours.sa_mask);
    for (int i = 0; i < 3; ++i)
        sigaction(stops[i], &ours, &before[i]);
    stopAsked = 0;

    pid_t started = fork();
    if (started == 0) {
        const char* arguments[] = {launcher.c_str(), "--level", levelDirectory.c_str(), nullptr};
        execv(launcher.c_str(), const_cast<char* const*>(arguments));
        fprintf(stderr, "skiff-level: %s cannot be started: %s\n", launcher.c_str(), strerror(errno));
        _exit(127);
    }
    int status = -1;
    if (started < 0) {
        fprintf(stderr, "skiff-level: the game cannot be started: %s\n", strerror(errno));
    } else {
        child = started;
        // A stop asked for before the child was known is passed on now.
        if (stopAsked)
            kill(started, SIGTERM);
        int code = 0;
        pid_t ended;
        while ((ended = waitpid(started, &code, 0)) < 0 && errno == EINTR)
            ;
        child = 0;
        if (ended == started)
            status = WIFEXITED(code) ? WEXITSTATUS(code) : 128 + WTERMSIG(code);
    }
    for (int i = 0; i < 3; ++i)
        sigaction(stops[i], &before[i], nullptr);
    return status;
}
