#pragma once
// Sets a flag for as long as a block runs and clears it however the block is left, also by an
// exception, so a "busy" mark can never stay behind.
class TScopedFlag {
public:
    explicit TScopedFlag(bool& flag) : FFlag(flag) { FFlag = true; }
    ~TScopedFlag() { FFlag = false; }
    TScopedFlag(const TScopedFlag&) = delete;
    TScopedFlag& operator=(const TScopedFlag&) = delete;

private:
    bool& FFlag;
};
