// Device identity for reconnecting: the by-id name only for an adapter with a serial number,
// else its socket (by-path), and on return the same adapter or nothing.
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "ports/PortIdentity.h"
#include "tests/support/PtyPeer.h"

namespace {

// A pseudo-terminal made to look like a USB serial adapter: sysfs with its ids under a fake
// root, and by-id and by-path links in a folder of their own.
class TFakeAdapters {
public:
    TFakeAdapters() {
        char tmpl[] = "/tmp/uego-identity-XXXXXX";
        Root = mkdtemp(tmpl);
        for (const char* dir : {"/sys", "/sys/dev", "/sys/dev/char", "/links", "/links/by-id",
                                "/links/by-path", "/no-ports"}) {
            mkdir((Root + dir).c_str(), 0700);
        }
        Folders.PortDirectory = Root + "/no-ports";
        Folders.ById = Root + "/links/by-id";
        Folders.ByPath = Root + "/links/by-path";
        Folders.Sys = Root + "/sys";
    }
    ~TFakeAdapters() { [[maybe_unused]] int r = system(("rm -rf '" + Root + "'").c_str()); }

    // The adapter on `node` in USB socket `socket`, with `serial` (empty: none).
    void Plug(const std::string& node, const std::string& socket, const std::string& serial) {
        struct stat st {};
        ASSERT_EQ(stat(node.c_str(), &st), 0);
        const std::string usb = Root + "/sys/usb-" + socket;
        const std::string port = usb + "/" + socket + ":1.0/ttyUSB0";
        ASSERT_EQ(system(("mkdir -p '" + port + "'").c_str()), 0);
        std::ofstream(usb + "/idVendor") << "0403\n";
        std::ofstream(usb + "/idProduct") << "6001\n";
        if (!serial.empty()) {
            std::ofstream(usb + "/serial") << serial << "\n";
        }
        const std::string chr = Root + "/sys/dev/char/" + std::to_string(major(st.st_rdev)) + ":" +
                                std::to_string(minor(st.st_rdev));
        mkdir(chr.c_str(), 0700);
        unlink((chr + "/device").c_str());
        ASSERT_EQ(symlink(port.c_str(), (chr + "/device").c_str()), 0);
        Link(ByPath(socket), node);
    }
    void Link(const std::string& link, const std::string& node) {
        unlink(link.c_str());
        ASSERT_EQ(symlink(node.c_str(), link.c_str()), 0);
    }
    std::string ById() const { return Folders.ById + "/usb-Maker_Adapter-if00-port0"; }
    std::string ByPath(const std::string& socket) const {
        return Folders.ByPath + "/pci-0000:00:14.0-usb-0:" + socket + ":1.0-port0";
    }

    std::string Root;
    TPortIdentityFolders Folders;
};

int OpenNode(const TPtyPeer& peer) {
    return open(peer.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
}

} // namespace

TEST(PortIdentity, AnAdapterWithASerialNumberIsKnownByItsByIdNameAndOnlyItCounts) {
    TFakeAdapters adapters;
    TPtyPeer first, second;
    adapters.Plug(first.SlavePath(), "2", "A1B2C3");
    adapters.Link(adapters.ById(), first.SlavePath());
    const int fd = OpenNode(first);
    const TPortIdentity identity = IdentifyOpenPort(first.SlavePath(), fd, adapters.Folders);
    close(fd);
    EXPECT_EQ(identity.Kind, TPortIdentityKind::ById);
    EXPECT_EQ(identity.Path, adapters.ById());
    EXPECT_EQ(identity.Usb.Serial, "A1B2C3");
    const auto back = FindReturnedPort(identity, adapters.Folders);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->Path, adapters.ById());

    // The by-id name now leads to an adapter with another serial number: not the one.
    adapters.Plug(second.SlavePath(), "3", "Z9Y8X7");
    adapters.Link(adapters.ById(), second.SlavePath());
    EXPECT_FALSE(FindReturnedPort(identity, adapters.Folders).has_value());
}

// Two adapters of one make without serial numbers share a by-id name: after the controller's
// is unplugged that name leads to the other one. The socket is what tells them apart.
TEST(PortIdentity, AnAdapterWithoutASerialNumberIsKnownByItsSocket) {
    TFakeAdapters adapters;
    TPtyPeer controller, other;
    adapters.Plug(controller.SlavePath(), "2", "");
    adapters.Plug(other.SlavePath(), "3", "");
    adapters.Link(adapters.ById(), controller.SlavePath());
    const int fd = OpenNode(controller);
    const TPortIdentity identity = IdentifyOpenPort("/dev/ttyUSB0", fd, adapters.Folders);
    close(fd);
    EXPECT_EQ(identity.Kind, TPortIdentityKind::ByPath);
    EXPECT_EQ(identity.Path, adapters.ByPath("2"));

    // Unplugged: the shared by-id name goes to the other adapter, the socket's link goes.
    unlink(adapters.ByPath("2").c_str());
    adapters.Link(adapters.ById(), other.SlavePath());
    EXPECT_FALSE(FindReturnedPort(identity, adapters.Folders).has_value());
    // Back in the same socket, under another node.
    TPtyPeer again;
    adapters.Plug(again.SlavePath(), "2", "");
    const auto back = FindReturnedPort(identity, adapters.Folders);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->Path, adapters.ByPath("2"));
}
