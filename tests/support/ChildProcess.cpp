#include "ChildProcess.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {
std::vector<std::string> MergedEnvironment(const std::vector<std::string>& changes) {
    std::vector<std::string> all;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('=') + 1);
        bool replaced = false;
        for (const std::string& change : changes) {
            replaced = replaced || change.compare(0, name.size(), name) == 0;
        }
        if (!replaced) {
            all.push_back(text);
        }
    }
    all.insert(all.end(), changes.begin(), changes.end());
    return all;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}
} // namespace

TChildProcess::TChildProcess(const std::string& program, const std::vector<std::string>& args,
                             const std::vector<std::string>& environment) {
    int out[2];
    int err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    std::vector<std::string> argTexts = {program};
    argTexts.insert(argTexts.end(), args.begin(), args.end());
    std::vector<std::string> envTexts = MergedEnvironment(environment);
    std::vector<char*> argv = Pointers(argTexts);
    std::vector<char*> envp = Pointers(envTexts);
    if (posix_spawn(&FPid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) {
        FPid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    FOut = out[0];
    FErr = err[0];
}

TChildProcess::~TChildProcess() {
    if (FPid > 0) {
        ::kill(FPid, SIGKILL);
        ::waitpid(FPid, nullptr, 0);
    }
    ::close(FOut);
    ::close(FErr);
}

std::string TChildProcess::ReadLine(int fd, int timeoutMs) {
    std::string text;
    while (text.empty() || text.back() != '\n') {
        pollfd p{fd, POLLIN, 0};
        char c = 0;
        if (::poll(&p, 1, timeoutMs) <= 0 || ::read(fd, &c, 1) != 1) {
            break;
        }
        text += c;
    }
    return text;
}

std::string TChildProcess::ReadAll(int fd, int quietMs) {
    std::string text;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        char buffer[4096];
        if (::poll(&p, 1, quietMs) <= 0) {
            break;
        }
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        text.append(buffer, static_cast<size_t>(n));
    }
    return text;
}

void TChildProcess::Signal(int sig) {
    ::kill(FPid, sig);
}

int TChildProcess::Wait(int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 10) {
        int status = 0;
        if (::waitpid(FPid, &status, WNOHANG) == FPid) {
            FPid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        ::usleep(10000);
    }
    return -1;
}
