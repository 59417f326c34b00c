// The yardstick for the program's own cost: the least a Qt Widgets program can do to poll the
// controller ten times a second. It opens the device, writes the live-data request every
// 100 ms, reads the 8-byte reply when a socket notifier says bytes came, and shows lambda in
// a label. No dial, no history, no log: what the program costs beyond this is its own.
//
// Usage: bench_minimal_poller DEVICE     (a port-folder link or a device node)
#include <QApplication>
#include <QLabel>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr unsigned char LiveDataRequest[] = {0xC0, 0x04, 0x26, 0x15};
constexpr int ReplyLength = 8;

// Raw 19200 8N1, as the program sets the line.
int OpenLine(const char* path) {
    const int fd = ::open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    termios settings{};
    if (::tcgetattr(fd, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::cfsetispeed(&settings, B19200);
        ::cfsetospeed(&settings, B19200);
        ::tcsetattr(fd, TCSANOW, &settings);
    }
    return fd;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DEVICE\n", argv[0]);
        return 2;
    }
    const int fd = OpenLine(argv[1]);
    if (fd < 0) {
        std::fprintf(stderr, "cannot open %s: %s\n", argv[1], std::strerror(errno));
        return 1;
    }
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QLabel label("-.---");
    label.setWindowTitle("Minimal poller");
    label.setMinimumSize(160, 60);
    label.setAlignment(Qt::AlignCenter);
    label.show();

    unsigned char reply[ReplyLength];
    int received = 0;
    QSocketNotifier readable(fd, QSocketNotifier::Read);
    QObject::connect(&readable, &QSocketNotifier::activated, &label, [&] {
        const ssize_t got = ::read(fd, reply + received, sizeof reply - received);
        if (got <= 0) {
            return;
        }
        received += static_cast<int>(got);
        if (received < ReplyLength) {
            return;
        }
        received = 0;
        const double lambda = (reply[4] * 256 + reply[3]) / 1000.0;
        label.setText(QString::number(lambda, 'f', 3));
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &label, [&] {
        received = 0; // a reply not complete by the next request is dropped
        if (::write(fd, LiveDataRequest, sizeof LiveDataRequest) < 0) {
            label.setText("write failed");
        }
    });
    poll.start(100);
    const int result = QApplication::exec();
    ::close(fd);
    return result;
}
