#include "LineRecord.h"

#include <cerrno>
#include <system_error>

TLineRecord::~TLineRecord() {
    if (FFile != nullptr) {
        std::fclose(FFile);
    }
}

void TLineRecord::Open(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        throw std::system_error(errno, std::generic_category(), "cannot create " + path);
    }
    std::lock_guard<std::mutex> guard(FLock);
    if (FFile != nullptr) {
        std::fclose(FFile);
    }
    FFile = file;
    FStart = std::chrono::steady_clock::now();
}

void TLineRecord::Request(const std::vector<uint8_t>& frame) {
    Put("request " + HexBytes(frame));
}

void TLineRecord::Reply(const std::vector<uint8_t>& reply) {
    Put("reply " + HexBytes(reply));
}

void TLineRecord::Note(const std::string& text) {
    Put(text);
}

void TLineRecord::Put(const std::string& text) {
    std::lock_guard<std::mutex> guard(FLock);
    if (FFile == nullptr) {
        return;
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - FStart)
                        .count();
    std::fprintf(FFile, "%lld %s\n", static_cast<long long>(ms), text.c_str());
    std::fflush(FFile);
}

std::string HexBytes(const std::vector<uint8_t>& bytes) {
    static const char Digits[] = "0123456789abcdef";
    std::string text;
    for (uint8_t b : bytes) {
        if (!text.empty()) {
            text += ' ';
        }
        text += Digits[b >> 4];
        text += Digits[b & 0x0F];
    }
    return text;
}
