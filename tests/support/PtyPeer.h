#pragma once
// The far end of a serial line in tests: a pseudo-terminal whose master side the test
// drives. The peer keeps a descriptor of the slave open as well, so the master never sits
// in a hang-up state between the component's close and re-open.
#include <atomic>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

class TPtyPeer {
public:
    TPtyPeer();
    ~TPtyPeer();
    TPtyPeer(const TPtyPeer&) = delete;
    TPtyPeer& operator=(const TPtyPeer&) = delete;

    int Master() const { return FMaster; }
    const std::string& SlavePath() const { return FSlavePath; }
    void Send(std::string_view bytes);
    // Reads until `count` bytes came or `timeoutMs` passed.
    std::string Receive(size_t count, int timeoutMs = 2000);
    // Whatever arrives within `timeoutMs`.
    std::string ReceiveAll(int timeoutMs);
    // Unplugs the line: closes both descriptors of the peer.
    void Unplug();

private:
    int FMaster = -1;
    int FSlave = -1;
    std::string FSlavePath;
};

// Reads the master side of a peer on a thread of its own and keeps everything: a device
// that takes at most `chunk` bytes per read and pauses `pauseUs` after each (a slow reader).
class TPeerReader {
public:
    explicit TPeerReader(int master, size_t chunk = 4096, int pauseUs = 0);
    ~TPeerReader();
    TPeerReader(const TPeerReader&) = delete;
    TPeerReader& operator=(const TPeerReader&) = delete;
    std::string Received() const;
    size_t Size() const;

private:
    mutable std::mutex FLock;
    std::string FReceived;
    std::atomic<bool> FStop{false};
    std::thread FThread;
};

// A temporary port directory in which pseudo-terminals are published under COM names.
class TPortFolder {
public:
    TPortFolder();
    ~TPortFolder();
    const std::string& Path() const { return FPath; }
    void Publish(const std::string& name, const std::string& device);
    void Withdraw(const std::string& name);

private:
    std::string FPath;
};
