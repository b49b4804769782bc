#pragma once

#include <cstdint>

// Big-endian numbers in byte records and controller messages.
inline void PutU16BE(std::uint8_t* p, std::uint16_t value) {
    p[0] = static_cast<std::uint8_t>(value >> 8);
    p[1] = static_cast<std::uint8_t>(value);
}

inline void PutU32BE(std::uint8_t* p, std::uint32_t value) {
    PutU16BE(p, static_cast<std::uint16_t>(value >> 16));
    PutU16BE(p + 2, static_cast<std::uint16_t>(value));
}

inline std::uint16_t GetU16BE(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

inline std::uint32_t GetU32BE(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(GetU16BE(p)) << 16) | GetU16BE(p + 2);
}

// Little-endian numbers, as file formats of the original platform store them.
inline void PutU16LE(std::uint8_t* p, std::uint16_t value) {
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void PutU32LE(std::uint8_t* p, std::uint32_t value) {
    PutU16LE(p, static_cast<std::uint16_t>(value));
    PutU16LE(p + 2, static_cast<std::uint16_t>(value >> 16));
}

inline std::uint16_t GetU16LE(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t GetU32LE(const std::uint8_t* p) {
    return GetU16LE(p) | (static_cast<std::uint32_t>(GetU16LE(p + 2)) << 16);
}
