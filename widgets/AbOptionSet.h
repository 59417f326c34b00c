#pragma once
// A small set of enumeration values (at most eight), one bit per value.
#include <cstdint>
#include <initializer_list>

template <class E> class TAbOptionSet {
public:
    constexpr TAbOptionSet() = default;
    constexpr TAbOptionSet(std::initializer_list<E> options) {
        for (E o : options)
            FBits |= Bit(o);
    }
    static constexpr TAbOptionSet All() { return FromBits(0xFF); }
    static constexpr TAbOptionSet FromBits(uint8_t bits) {
        TAbOptionSet o;
        o.FBits = bits;
        return o;
    }
    constexpr bool Contains(E o) const { return (FBits & Bit(o)) != 0; }
    constexpr uint8_t Bits() const { return FBits; }
    constexpr bool operator==(const TAbOptionSet&) const = default;

private:
    static constexpr uint8_t Bit(E o) { return static_cast<uint8_t>(1u << static_cast<int>(o)); }
    uint8_t FBits = 0;
};
