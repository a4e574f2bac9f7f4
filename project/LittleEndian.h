#pragma once

#include <QtEndian>
#include <cstdint>
#include <cstring>

// Fixed-layout file fields, read and written one at a time in little-endian byte order whatever
// the host, so the layout never depends on the compiler's packing or the machine.
namespace LittleEndian {

inline void putInt32(char *at, std::int32_t value) { qToLittleEndian<std::int32_t>(value, at); }
inline std::int32_t int32At(const char *at) { return qFromLittleEndian<std::int32_t>(at); }

inline void putFloat(char *at, float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    qToLittleEndian<std::uint32_t>(bits, at);
}

inline float floatAt(const char *at)
{
    const std::uint32_t bits = qFromLittleEndian<std::uint32_t>(at);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline void putDouble(char *at, double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    qToLittleEndian<std::uint64_t>(bits, at);
}

inline double doubleAt(const char *at)
{
    const std::uint64_t bits = qFromLittleEndian<std::uint64_t>(at);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace LittleEndian
