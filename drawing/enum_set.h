#pragma once

#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace kw {

// A set of values of a small enumeration, as the form stream stores sets: bit i stands for
// ordinal i.
template <class E>
class TKwEnumSet {
    static_assert(std::is_enum_v<E>);

public:
    using Element = E;

    constexpr TKwEnumSet() = default;
    constexpr TKwEnumSet(std::initializer_list<E> members) {
        for (E member : members)
            Include(member);
    }
    static constexpr TKwEnumSet FromBits(std::uint64_t bits) {
        TKwEnumSet set;
        set.bits_ = bits;
        return set;
    }

    constexpr bool Contains(E member) const { return (bits_ >> Ordinal(member) & 1) != 0; }
    constexpr void Include(E member) { bits_ |= std::uint64_t{1} << Ordinal(member); }
    constexpr void Exclude(E member) { bits_ &= ~(std::uint64_t{1} << Ordinal(member)); }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr std::uint64_t Bits() const { return bits_; }

    friend constexpr bool operator==(TKwEnumSet, TKwEnumSet) = default;

private:
    static constexpr unsigned Ordinal(E member) { return static_cast<unsigned>(member); }
    std::uint64_t bits_ = 0;
};

template <class T>
inline constexpr bool kKwIsEnumSet = false;
template <class E>
inline constexpr bool kKwIsEnumSet<TKwEnumSet<E>> = true;

}  // namespace kw
