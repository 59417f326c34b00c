#pragma once
// Pending-output store: a linear first-in-first-out block whose data always begins at the
// start (compacted on every removal). The caller guarantees room before writing.
#include <cstdint>
#include <memory>

class TVaCommBuffer {
public:
    explicit TVaCommBuffer(int capacity);
    const uint8_t* DataPtr() const { return FData.get(); }
    int Size() const { return FSize; }
    int Capacity() const { return FCapacity; }
    void Clear() { FSize = 0; }
    void Write(const void* buf, int count);
    void Peek(void* buf, int count) const;
    void Read(void* buf, int count);
    void Remove(int count);

private:
    std::unique_ptr<uint8_t[]> FData;
    int FCapacity = 0;
    int FSize = 0;
};
