// Placeholder until the decoder lands.
#include "model/bitmap.h"
namespace qv {
bool DecodeBitmap(const std::uint8_t*, std::size_t, Picture& out, std::string* error) {
    out = Picture{};
    if (error) *error = "not decoded";
    return false;
}
bool LoadBitmap(const std::string&, const std::string&, Picture& out, std::string* error) {
    out = Picture{};
    if (error) *error = "not decoded";
    return false;
}
}  // namespace qv
