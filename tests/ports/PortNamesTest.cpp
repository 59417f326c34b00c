// Port-name mapping: paths, published names, and COMn over the devices present.
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ports/PortDirectory.h"
#include "ports/PortNames.h"
#include "tests/support/PtyPeer.h"

namespace {

// A fake sysfs tty class folder and device folder.
class FakeTree {
public:
    FakeTree() {
        char tmpl[] = "/tmp/uego-ports-XXXXXX";
        Root = mkdtemp(tmpl);
        mkdir((Root + "/sys").c_str(), 0700);
        mkdir((Root + "/dev").c_str(), 0700);
    }
    ~FakeTree() { [[maybe_unused]] int r = system(("rm -rf " + Root).c_str()); }
    // A tty; `hardware` gives it a device link, `type` a UART type file (-1: none).
    void Add(const std::string& name, bool hardware, int type = -1) {
        const std::string dir = Root + "/sys/" + name;
        mkdir(dir.c_str(), 0700);
        if (hardware) {
            mkdir((dir + "/device").c_str(), 0700);
        }
        if (type >= 0) {
            std::ofstream(dir + "/type") << type << "\n";
        }
        std::ofstream(Root + "/dev/" + name);
    }
    std::string Sys() const { return Root + "/sys"; }
    std::string Dev() const { return Root + "/dev"; }
    std::string Root;
};

} // namespace

TEST(PortNames, PresentDevicesInGroupAndNumericOrderWithHardwareOnly) {
    FakeTree tree;
    tree.Add("ttyS1", true, 4);
    tree.Add("ttyS0", true, 0); // reserved slot without a chip
    tree.Add("ttyS2", false);
    tree.Add("ttyUSB10", true);
    tree.Add("ttyUSB2", true);
    tree.Add("ttyACM0", true);
    tree.Add("tty1", true);
    tree.Add("ttyUSBx", true);
    const auto found = PresentSerialDevices(tree.Sys(), tree.Dev());
    const std::vector<std::string> expected = {tree.Dev() + "/ttyUSB2", tree.Dev() + "/ttyUSB10",
                                               tree.Dev() + "/ttyACM0", tree.Dev() + "/ttyS1"};
    EXPECT_EQ(found, expected);
}

TEST(PortNames, ComNumberParsing) {
    EXPECT_EQ(ComPortNumber("COM1"), 1);
    EXPECT_EQ(ComPortNumber("COM12"), 12);
    EXPECT_EQ(ComPortNumber("COM0"), 0);
    EXPECT_EQ(ComPortNumber("COM"), 0);
    EXPECT_EQ(ComPortNumber("COM1a"), 0);
    EXPECT_EQ(ComPortNumber("LPT1"), 0);
}

TEST(PortNames, PathPublishedNameAndMissingName) {
    TPortFolder ports;
    TPtyPeer peer;
    std::string path;
    EXPECT_EQ(ResolvePortName("/dev/ttyUSB7", path), 0);
    EXPECT_EQ(path, "/dev/ttyUSB7");

    ports.Publish("COM3", peer.SlavePath());
    ASSERT_EQ(ResolvePortName("COM3", path), 0);
    EXPECT_EQ(path, ports.Path() + "/COM3");

    EXPECT_EQ(ResolvePortName("COM999", path), ENOENT);
    EXPECT_EQ(ResolvePortName("", path), ENOENT);
    EXPECT_EQ(ResolvePortName("../COM3", path), ENOENT);
}

// Whoever can write to the port folder decides what COM3 opens.
TEST(PortNames, AnUnsafePortFolderIsNotFollowed) {
    TPortFolder ports;
    TPtyPeer peer;
    ports.Publish("COM3", peer.SlavePath());
    const auto followed = [](const std::string& folder) {
        std::string path;
        return ResolvePortName("COM3", path) == 0 && path == folder + "/COM3";
    };
    ASSERT_TRUE(followed(ports.Path()));
    chmod(ports.Path().c_str(), 0770);
    EXPECT_FALSE(followed(ports.Path())) << "group-writable";
    chmod(ports.Path().c_str(), 0702);
    EXPECT_FALSE(followed(ports.Path())) << "writable by others";
    chmod(ports.Path().c_str(), 0700);
    const std::string link = ports.Path() + "-link";
    ASSERT_EQ(symlink(ports.Path().c_str(), link.c_str()), 0);
    SetPortDirectory(link);
    EXPECT_FALSE(followed(link)) << "a link to a safe folder";
    unlink(link.c_str());
    SetPortDirectory(ports.Path());
    EXPECT_TRUE(followed(ports.Path()));

    // Every step of the fallback counts, and the owner must be the user.
    mkdir((ports.Path() + "/uego4100-7").c_str(), 0700);
    mkdir((ports.Path() + "/uego4100-7/ports").c_str(), 0700);
    const uid_t me = geteuid();
    EXPECT_TRUE(CheckFolderSteps(ports.Path(), "uego4100-7/ports", me).Safe());
    EXPECT_EQ(CheckFolderSteps(ports.Path(), "uego4100-7/ports", me + 1).Reason,
              "another user owns it");
    chmod((ports.Path() + "/uego4100-7").c_str(), 0720);
    EXPECT_EQ(CheckFolderSteps(ports.Path(), "uego4100-7/ports", me).Step,
              ports.Path() + "/uego4100-7");
    rmdir((ports.Path() + "/uego4100-7/ports").c_str());
    rmdir((ports.Path() + "/uego4100-7").c_str());
}

// A refused folder is said, with its reason, for every COM name; it never lets COM1 fall
// through to the first device present, which the user did not publish.
TEST(PortNames, ARefusedFolderMapsNoComNameAndSaysWhy) {
    TPortFolder ports;
    TPtyPeer peer;
    ports.Publish("COM1", peer.SlavePath());
    chmod(ports.Path().c_str(), 0770); // mkdir -p under umask 002
    for (const char* name : {"COM1", "COM2"}) {
        TPortLocation where;
        EXPECT_EQ(LocatePort(name, where), EPERM) << name;
        EXPECT_EQ(where.Path, "") << name;
        EXPECT_EQ(where.Refusal, std::string(name) + ": port folder " + ports.Path() +
                                     " ignored: others can write to it");
    }
    // A path is the user's own choice and is not the folder's to refuse.
    std::string path;
    EXPECT_EQ(ResolvePortName(peer.SlavePath(), path), 0);
    chmod(ports.Path().c_str(), 0700);
}

TEST(PortNames, TheActiveSystemConsoleIsNeverNumbered) {
    FakeTree tree;
    tree.Add("ttyS0", true, 4);
    tree.Add("ttyS1", true, 4);
    tree.Add("ttyUSB0", true);
    mkdir((tree.Sys() + "/console").c_str(), 0700);
    std::ofstream(tree.Sys() + "/console/active") << "tty0 ttyS0\n";
    EXPECT_EQ(PresentSerialDevices(tree.Sys(), tree.Dev()),
              (std::vector<std::string>{tree.Dev() + "/ttyUSB0", tree.Dev() + "/ttyS1"}));
    EXPECT_EQ(PresentUsbSerialDevices(tree.Sys(), tree.Dev()),
              (std::vector<std::string>{tree.Dev() + "/ttyUSB0"}));
}

// The entry is reached through the folder as it was checked: a folder swapped in its place
// afterwards (by whoever could create the missing step) is not followed.
TEST(PortNames, AnEntryIsOpenedThroughTheFolderCheckedNotByItsPathAgain) {
    TPortFolder ports;
    TPtyPeer mine;
    TPtyPeer theirs;
    ports.Publish("COM1", mine.SlavePath());
    TPortLocation where;
    ASSERT_EQ(LocatePort("COM1", where), 0);
    const std::string moved = ports.Path() + ".moved";
    ASSERT_EQ(rename(ports.Path().c_str(), moved.c_str()), 0);
    ASSERT_EQ(mkdir(ports.Path().c_str(), 0700), 0);
    ASSERT_EQ(symlink(theirs.SlavePath().c_str(), (ports.Path() + "/COM1").c_str()), 0);

    const int fd = OpenPortLocation(where, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(fd, 0) << strerror(errno);
    EXPECT_EQ(std::string(ttyname(fd)), mine.SlavePath());
    close(fd);
    unlink((moved + "/COM1").c_str());
    rmdir(moved.c_str());
}
