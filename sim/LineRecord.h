#pragma once
// A written record of what happened on the simulated line, one event a line, for scripts that
// compare it with what the utility made of it afterwards:
//   <ms> request <hex bytes>   a valid request frame received
//   <ms> reply <hex bytes>     a reply written whole to the line (stray bytes not included)
//   <ms> <note>                anything else: phase changes, disconnect, reappearance
// <ms> counts milliseconds from the opening of the record. Each line reaches the file at once.
// Thread-safe; without an open file every call does nothing.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

class TLineRecord {
public:
    TLineRecord() = default;
    ~TLineRecord();
    TLineRecord(const TLineRecord&) = delete;
    TLineRecord& operator=(const TLineRecord&) = delete;

    // Creates (or empties) `path`. Throws std::system_error when it cannot.
    void Open(const std::string& path);
    void Request(const std::vector<uint8_t>& frame);
    void Reply(const std::vector<uint8_t>& reply);
    void Note(const std::string& text);

private:
    void Put(const std::string& text);

    std::mutex FLock;
    std::FILE* FFile = nullptr;
    std::chrono::steady_clock::time_point FStart;
};

// "c0 04 26 15"
std::string HexBytes(const std::vector<uint8_t>& bytes);
