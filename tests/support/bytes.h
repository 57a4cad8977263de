// Little-endian fields written into and read from a byte buffer, for tests
// that put files together byte by byte (saved games, race files, bitmaps).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv::testsupport {

inline void PutLe16(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void PutLe32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    PutLe16(bytes, value & 0xFFFF);
    PutLe16(bytes, value >> 16);
}

inline std::int32_t Le32At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | bytes.at(at + static_cast<std::size_t>(i));
    return static_cast<std::int32_t>(value);
}

inline void SetLe32At(std::vector<std::uint8_t>& bytes, std::size_t at, std::int32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes.at(at + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace qv::testsupport
