#pragma once
// Little-endian integers and doubles in binary records, written and read
// byte by byte so the layout never depends on the host or on struct packing.

#include <bit>
#include <cstdint>
#include <type_traits>

namespace rtl
{

template <typename T> void StoreLE(uint8_t* dst, T value)
{
    static_assert(std::is_arithmetic_v<T>);
    using U = std::conditional_t<sizeof(T) == 1, uint8_t,
        std::conditional_t<sizeof(T) == 2, uint16_t, std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>>>;
    const auto bits = std::bit_cast<U>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        dst[i] = static_cast<uint8_t>(bits >> (8 * i));
}

template <typename T> T LoadLE(const uint8_t* src)
{
    static_assert(std::is_arithmetic_v<T>);
    using U = std::conditional_t<sizeof(T) == 1, uint8_t,
        std::conditional_t<sizeof(T) == 2, uint16_t, std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>>>;
    U bits = 0;
    for (std::size_t i = sizeof(T); i-- > 0;)
        bits = static_cast<U>((static_cast<uint64_t>(bits) << 8) | src[i]);
    return std::bit_cast<T>(bits);
}

} // namespace rtl
