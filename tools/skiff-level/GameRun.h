#ifndef SKIFF_LEVEL_TOOL_GAMERUN_H
#define SKIFF_LEVEL_TOOL_GAMERUN_H

#include <string>

// The game played on a level through its launcher, a child process waited for. SIGINT, SIGTERM
// and SIGHUP that reach this process meanwhile are passed on to the launcher as SIGTERM, so that
// the caller can clean up once the game has ended.
class GameRun {
public:
    explicit GameRun(const std::string& launcher);
    virtual ~GameRun();

    // Plays levelDirectory: the launcher's exit status, 128 plus the signal that ended it, or -1
    // after a message on stderr when it cannot be started.
    int play(const std::string& levelDirectory);

private:
    std::string launcher;
};

#endif
