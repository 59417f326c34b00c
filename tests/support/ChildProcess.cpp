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

namespace {
// Shrinks the pipe to one page and fills it, so the next write blocks.
void FillPipe(int writeEnd) {
    ::fcntl(writeEnd, F_SETPIPE_SZ, 4096);
    const int flags = ::fcntl(writeEnd, F_GETFL);
    ::fcntl(writeEnd, F_SETFL, flags | O_NONBLOCK);
    const char filler[256] = {};
    while (::write(writeEnd, filler, sizeof filler) > 0) {
    }
    ::fcntl(writeEnd, F_SETFL, flags);
}
} // namespace

TChildProcess::TChildProcess(const std::string& program, const std::vector<std::string>& args,
                             const std::vector<std::string>& environment,
                             const TChildOptions& options) {
    int out[2];
    int err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
        return;
    }
    using TStdout = TChildOptions::TStdout;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (options.Stdout == TStdout::FullPipe) {
        FillPipe(out[1]);
    }
    if (options.Stdout == TStdout::Closed) {
        posix_spawn_file_actions_addclose(&actions, 1);
    } else if (options.Stdout == TStdout::File) {
        posix_spawn_file_actions_addopen(&actions, 1, options.StdoutFile.c_str(), O_WRONLY, 0);
    } else {
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    }
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    // Dispositions set to "ignore" are kept across exec; the test's own are put back below.
    std::vector<struct sigaction> kept(options.IgnoredSignals.size());
    for (size_t i = 0; i < options.IgnoredSignals.size(); ++i) {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(options.IgnoredSignals[i], &ignore, &kept[i]);
    }
    std::vector<std::string> argTexts = {program};
    argTexts.insert(argTexts.end(), args.begin(), args.end());
    std::vector<std::string> envTexts = MergedEnvironment(environment);
    std::vector<char*> argv = Pointers(argTexts);
    std::vector<char*> envp = Pointers(envTexts);
    if (posix_spawn(&FPid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) {
        FPid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    for (size_t i = 0; i < options.IgnoredSignals.size(); ++i) {
        ::sigaction(options.IgnoredSignals[i], &kept[i], nullptr);
    }
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
