// Feeds arbitrary bytes to the bitmap decoder: it must refuse or decode,
// never read out of bounds, overflow or allocate without limit; a decoded
// picture must be as large as it says.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qv::Picture picture;
    std::string error;
    if (qv::DecodeBitmap(data, size, picture, &error)) {
        if (picture.width <= 0 || picture.height <= 0 ||
            picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height ||
            !error.empty())
            std::abort();
        // Colours are 0x00BBGGRR: nothing above 24 bits.
        for (qv::Colour c : picture.pixels)
            if (c > 0xFFFFFF) std::abort();
    } else if (!picture.empty() || !picture.pixels.empty() || error.empty()) {
        std::abort();
    }
    return 0;
}
