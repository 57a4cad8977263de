// Windows bitmap (.bmp) files: our own decoder, no platform bitmap calls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/records.h"

namespace qv {

// Decodes the bytes of a bitmap file into a picture whose colours are
// 0x00BBGGRR, rows from the top. On failure returns false, leaves out empty
// and, when error is given, stores a one-line reason.
bool DecodeBitmap(const std::uint8_t* data, std::size_t size, Picture& out,
                  std::string* error = nullptr);

inline bool DecodeBitmap(const std::vector<std::uint8_t>& bytes, Picture& out,
                         std::string* error = nullptr) {
    return DecodeBitmap(bytes.data(), bytes.size(), out, error);
}

// Reads a bitmap file into out. A file that cannot be opened shows
// "Unable to open bitmap file - NAME!", one shorter than its 14-byte header
// "Unable to open bitmap file header!"; a file that is not a bitmap, or cannot
// be decoded, returns false (the reason goes to error when given).
bool LoadBitmap(const std::string& path, const std::string& shownName, Picture& out,
                std::string* error = nullptr);

}  // namespace qv
