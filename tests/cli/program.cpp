#include "program.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace cli::testing {

namespace {

struct Pipe {
    int read = -1;
    int write = -1;

    Pipe() {
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) == 0) {
            read = ends[0];
            write = ends[1];
        }
    }
    ~Pipe() {
        closeEnd(read);
        closeEnd(write);
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    static void closeEnd(int& end) {
        if (end >= 0) {
            close(end);
            end = -1;
        }
    }
};

// Reads both pipes until both are closed: reading one to its end first could block the program on a full
// other pipe.
void drain(Pipe& outPipe, Pipe& errPipe, ProgramResult& result) {
    std::array<pollfd, 2> ends{pollfd{outPipe.read, POLLIN, 0}, pollfd{errPipe.read, POLLIN, 0}};
    std::array<std::string*, 2> texts{&result.out, &result.err};
    int open = 2;
    while (open > 0) {
        if (poll(ends.data(), ends.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            ADD_FAILURE() << "poll failed";
            return;
        }
        for (std::size_t i = 0; i < ends.size(); ++i) {
            if (ends[i].fd < 0 || ends[i].revents == 0) {
                continue;
            }
            char buffer[65536];
            const ssize_t got = read(ends[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                texts[i]->append(buffer, static_cast<std::size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                ends[i].fd = -1;
                --open;
            }
        }
    }
}

} // namespace

ProgramResult runProgram(const std::vector<std::string>& arguments) {
    ProgramResult result;
    std::vector<char*> argv;
    std::string program = CORVALEN_CALC_PROGRAM;
    argv.push_back(program.data());
    std::vector<std::string> copies(arguments);
    for (std::string& argument : copies) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    Pipe outPipe;
    Pipe errPipe;
    if (outPipe.read < 0 || errPipe.read < 0) {
        ADD_FAILURE() << "cannot make pipes";
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe.write, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe.write, STDERR_FILENO);
    pid_t child = -1;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot run " << program;
        return result;
    }
    Pipe::closeEnd(outPipe.write);
    Pipe::closeEnd(errPipe.write);
    drain(outPipe, errPipe, result);

    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

} // namespace cli::testing
