#include "QuitOnSignal.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
int SignalPipe[2] = {-1, -1};

void OnSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(SignalPipe[1], &byte, 1);
    errno = saved;
}

bool IgnoredAtStart(int sig) {
    struct sigaction current {};
    return ::sigaction(sig, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}
} // namespace

void InstallTerminationHandlers() {
    if (SignalPipe[0] >= 0 || ::pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        if (!IgnoredAtStart(sig)) {
            ::sigaction(sig, &sa, nullptr);
        }
    }
}

void CloseWindowOnTermination(QWidget* window) {
    InstallTerminationHandlers();
    if (SignalPipe[0] < 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, window);
    QPointer<QWidget> target(window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [target] {
        char buffer[16];
        while (::read(SignalPipe[0], buffer, sizeof buffer) > 0) {
        }
        if (target) {
            target->close();
        }
        // Also the loops of modal boxes and dialogs, which would otherwise wait for a click.
        QCoreApplication::exit(0);
    });
}
