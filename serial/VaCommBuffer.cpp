#include "VaCommBuffer.h"

#include <algorithm>
#include <cstring>

TVaCommBuffer::TVaCommBuffer(int capacity)
    : FData(new uint8_t[std::max(capacity, 1)]), FCapacity(std::max(capacity, 0)) {}

void TVaCommBuffer::Write(const void* buf, int count) {
    if (count <= 0) {
        return;
    }
    std::memcpy(FData.get() + FSize, buf, static_cast<size_t>(count));
    FSize += count;
}

void TVaCommBuffer::Peek(void* buf, int count) const {
    count = std::clamp(count, 0, FSize);
    std::memcpy(buf, FData.get(), static_cast<size_t>(count));
}

void TVaCommBuffer::Read(void* buf, int count) {
    Peek(buf, count);
    Remove(count);
}

void TVaCommBuffer::Remove(int count) {
    count = std::clamp(count, 0, FSize);
    std::memmove(FData.get(), FData.get() + count, static_cast<size_t>(FSize - count));
    FSize -= count;
}
