// Windows bitmap decoder. Reads every header size in use (the 12-byte OS/2
// core header, 40, 52, 56, 108 and 124 bytes), 1/4/8/16/24/32 bits per pixel,
// uncompressed, bit-field and run-length (RLE8/RLE4) pixel data. Every size,
// offset and count in the file is checked before it is used: a damaged or
// hostile file is refused with a one-line reason, never read out of bounds.
#include "model/bitmap.h"

#include <algorithm>
#include <bit>
#include <fstream>

#include "model/platform.h"

namespace qv {

namespace {

// Largest width or height we accept.
constexpr std::int64_t kMaxSide = 16384;
// A run-length picture may always hold this many pixels; a larger one needs
// at least one byte of run-length data for every kRlePixelsPerByte pixels, so
// a few bytes cannot make us allocate a gigabyte of black.
constexpr std::uint64_t kRleFreePixels = std::uint64_t{1} << 20;
constexpr std::uint64_t kRlePixelsPerByte = 1024;
// Files larger than the largest picture we accept, plus room for headers, are
// not read into memory at all.
constexpr std::uint64_t kMaxFileBytes =
    static_cast<std::uint64_t>(kMaxSide) * kMaxSide * 4 + (std::uint64_t{1} << 20);

constexpr std::size_t kFileHeaderSize = 14;

enum Compression : std::uint32_t {
    kRgb = 0,
    kRle8 = 1,
    kRle4 = 2,
    kBitFields = 3,
    kJpeg = 4,
    kPng = 5,
    kAlphaBitFields = 6,
};

std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::int32_t LeSigned32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(Le32(p));
}

Colour MakeColour(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return (b << 16) | (g << 8) | r;
}

// One colour channel of a 16- or 32-bit pixel, described by its mask and
// widened or narrowed to 8 bits. Narrow fields repeat their bits downwards so
// that the largest value becomes 255 (5 bits: v << 3 | v >> 2); wide fields
// keep their top 8 bits. A zero mask reads as 0.
class Channel {
public:
    explicit Channel(std::uint32_t mask) : mask_(mask) {
        if (mask == 0) return;
        shift_ = std::countr_zero(mask);
        // Holes inside a mask count as part of the field.
        width_ = std::bit_width(mask >> shift_);
    }

    std::uint32_t operator()(std::uint32_t pixel) const {
        if (mask_ == 0) return 0;
        std::uint32_t v = (pixel & mask_) >> shift_;
        if (width_ >= 8) return v >> (width_ - 8);
        std::uint32_t out = 0;
        int filled = 0;
        while (filled < 8) {
            int up = 8 - width_ - filled;  // where this copy's lowest bit goes
            out |= up >= 0 ? v << up : v >> -up;
            filled += width_;
        }
        return out & 0xFF;
    }

private:
    std::uint32_t mask_ = 0;
    int shift_ = 0;
    int width_ = 0;
};

// What the headers say, once checked.
struct Layout {
    std::int64_t width = 0;
    std::int64_t height = 0;  // always positive
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t masks[3] = {0, 0, 0};  // red, green, blue
    std::vector<Colour> palette;
    std::size_t dataOffset = 0;
};

std::string CompressionName(std::uint32_t c) {
    switch (c) {
        case kRgb: return "0 (uncompressed)";
        case kRle8: return "1 (RLE8)";
        case kRle4: return "2 (RLE4)";
        case kBitFields: return "3 (bit fields)";
        case kJpeg: return "4 (JPEG)";
        case kPng: return "5 (PNG)";
        case kAlphaBitFields: return "6 (bit fields with alpha)";
        default: return std::to_string(c);
    }
}

// Reads and checks the headers and the colour table. Returns an empty string
// on success, otherwise the reason.
std::string ReadLayout(const std::uint8_t* data, std::size_t size, Layout& lay) {
    if (size < kFileHeaderSize) return "the file is shorter than its 14-byte header";
    if (data[0] != 'B' || data[1] != 'M') return "not a bitmap (no \"BM\" signature)";
    const std::uint32_t dataOffset = Le32(data + 10);

    if (size < kFileHeaderSize + 4) return "the information header is missing";
    const std::uint32_t infoSize = Le32(data + kFileHeaderSize);
    if (infoSize != 12 && infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 &&
        infoSize != 124)
        return "unsupported information header size " + std::to_string(infoSize);
    if (size - kFileHeaderSize < infoSize) return "the information header is cut short";
    const std::uint8_t* info = data + kFileHeaderSize;
    std::size_t afterHeaders = kFileHeaderSize + infoSize;
    std::size_t paletteEntrySize = 4;
    std::uint32_t coloursUsed = 0;

    if (infoSize == 12) {
        // OS/2 core header: unsigned 16-bit sizes, always bottom-up, no
        // compression, three-byte colour table entries.
        lay.width = Le16(info + 4);
        lay.height = Le16(info + 6);
        lay.bitsPerPixel = Le16(info + 10);
        lay.compression = kRgb;
        paletteEntrySize = 3;
    } else {
        lay.width = LeSigned32(info + 4);
        std::int64_t h = LeSigned32(info + 8);
        lay.topDown = h < 0;
        lay.height = h < 0 ? -h : h;
        lay.bitsPerPixel = Le16(info + 14);
        lay.compression = Le32(info + 16);
        coloursUsed = Le32(info + 32);
    }

    if (lay.width <= 0) return "invalid width " + std::to_string(lay.width);
    if (lay.height == 0) return "invalid height 0";
    if (lay.width > kMaxSide || lay.height > kMaxSide)
        return "the picture is too large (" + std::to_string(lay.width) + " x " +
               std::to_string(lay.height) + ")";

    const int bpp = lay.bitsPerPixel;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return "unsupported bit depth " + std::to_string(bpp);

    switch (lay.compression) {
        case kRgb: break;
        case kRle8:
            if (bpp != 8)
                return "compression 1 (RLE8) with " + std::to_string(bpp) + " bits per pixel";
            break;
        case kRle4:
            if (bpp != 4)
                return "compression 2 (RLE4) with " + std::to_string(bpp) + " bits per pixel";
            break;
        case kBitFields:
        case kAlphaBitFields:
            if (bpp != 16 && bpp != 32)
                return "compression " + CompressionName(lay.compression) + " with " +
                       std::to_string(bpp) + " bits per pixel";
            break;
        default: return "unsupported compression " + CompressionName(lay.compression);
    }

    // Colour masks.
    if (lay.compression == kBitFields || lay.compression == kAlphaBitFields) {
        const std::uint8_t* masks = info + 40;
        if (infoSize == 40) {
            // The masks follow a 40-byte header (a fourth, alpha, with
            // compression 6); they are inside every longer header.
            std::size_t maskBytes = lay.compression == kAlphaBitFields ? 16 : 12;
            if (size - afterHeaders < maskBytes) return "the colour masks are cut short";
            afterHeaders += maskBytes;
        }
        for (int i = 0; i < 3; ++i) lay.masks[i] = Le32(masks + 4 * i);
    } else if (bpp == 16) {
        lay.masks[0] = 0x7C00;
        lay.masks[1] = 0x03E0;
        lay.masks[2] = 0x001F;
    } else if (bpp == 32) {
        lay.masks[0] = 0x00FF0000;
        lay.masks[1] = 0x0000FF00;
        lay.masks[2] = 0x000000FF;
    }

    // The pixel data starts where the file header says, which may leave a
    // gap after the colour table, but never inside the headers.
    if (dataOffset < kFileHeaderSize + infoSize)
        return "the pixel data offset " + std::to_string(dataOffset) + " points into the headers";
    if (dataOffset > size)
        return "the pixel data offset " + std::to_string(dataOffset) +
               " lies beyond the end of the file";
    lay.dataOffset = dataOffset;

    // Colour table: the used-colour count, or every colour the depth can
    // index when it is 0; never more than that, and never more than fit
    // before the pixel data. Indices past its end read as black.
    if (bpp <= 8) {
        std::size_t entries = std::size_t{1} << bpp;
        if (coloursUsed != 0 && coloursUsed < entries) entries = coloursUsed;
        std::size_t room = dataOffset > afterHeaders ? dataOffset - afterHeaders : 0;
        entries = std::min(entries, room / paletteEntrySize);
        lay.palette.resize(entries);
        const std::uint8_t* p = data + afterHeaders;
        for (std::size_t i = 0; i < entries; ++i, p += paletteEntrySize)
            lay.palette[i] = MakeColour(p[2], p[1], p[0]);
    }
    return {};
}

// The row of the picture that the n-th row stored in the file becomes.
std::size_t PictureRow(const Layout& lay, std::int64_t fileRow) {
    return static_cast<std::size_t>(lay.topDown ? fileRow : lay.height - 1 - fileRow);
}

std::string DecodeUncompressed(const std::uint8_t* data, std::size_t size, const Layout& lay,
                               std::vector<Colour>& pixels) {
    const std::uint64_t width = static_cast<std::uint64_t>(lay.width);
    const std::uint64_t height = static_cast<std::uint64_t>(lay.height);
    const std::uint64_t usedBytes = (width * lay.bitsPerPixel + 7) / 8;
    const std::uint64_t stride = (width * lay.bitsPerPixel + 31) / 32 * 4;
    // The padding after the last row may be missing; the pixels may not.
    const std::uint64_t needed = (height - 1) * stride + usedBytes;
    if (needed > size - lay.dataOffset) return "the pixel data ends early";

    pixels.assign(static_cast<std::size_t>(width * height), 0);
    const std::size_t paletteSize = lay.palette.size();
    auto lookUp = [&](std::uint32_t index) -> Colour {
        return index < paletteSize ? lay.palette[index] : 0;
    };
    const Channel red(lay.masks[0]), green(lay.masks[1]), blue(lay.masks[2]);
    const int bpp = lay.bitsPerPixel;

    for (std::uint64_t r = 0; r < height; ++r) {
        const std::uint8_t* row = data + lay.dataOffset + r * stride;
        Colour* out = pixels.data() + PictureRow(lay, static_cast<std::int64_t>(r)) * width;
        for (std::uint64_t x = 0; x < width; ++x) {
            switch (bpp) {
                case 1: out[x] = lookUp((row[x >> 3] >> (7 - (x & 7))) & 1); break;
                case 4: out[x] = lookUp((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF); break;
                case 8: out[x] = lookUp(row[x]); break;
                case 24: {
                    const std::uint8_t* p = row + 3 * x;
                    out[x] = MakeColour(p[2], p[1], p[0]);
                    break;
                }
                case 16:
                case 32: {
                    std::uint32_t v = bpp == 16 ? Le16(row + 2 * x) : Le32(row + 4 * x);
                    out[x] = MakeColour(red(v), green(v), blue(v));
                    break;
                }
            }
        }
    }
    return {};
}

// Run-length data: pairs of (count, value) runs, and escapes after a zero
// count: 0 ends the line, 1 ends the picture, 2 moves right and up by the two
// following bytes, 3..255 start that many literal pixels padded to a 16-bit
// boundary. Runs that go past the end of a line carry on into the next one,
// as ImageMagick reads them; pixels nothing writes stay black.
std::string DecodeRunLength(const std::uint8_t* data, std::size_t size, const Layout& lay,
                            std::vector<Colour>& pixels) {
    const std::uint64_t width = static_cast<std::uint64_t>(lay.width);
    const std::uint64_t height = static_cast<std::uint64_t>(lay.height);
    const std::uint64_t total = width * height;
    const std::uint64_t available = size - lay.dataOffset;
    if (total > kRleFreePixels && total / kRlePixelsPerByte > available)
        return "the run-length data is too short for a " + std::to_string(width) + " x " +
               std::to_string(height) + " picture";

    pixels.assign(static_cast<std::size_t>(total), 0);
    const std::uint8_t* p = data + lay.dataOffset;
    const std::uint8_t* const end = data + size;
    const bool four = lay.compression == kRle4;
    const std::size_t paletteSize = lay.palette.size();
    std::uint64_t x = 0, y = 0;
    auto put = [&](unsigned index) {
        // x may run past the line (see above) but nothing lands past the
        // last line.
        const std::uint64_t at = y * width + x++;
        if (at >= total || index >= paletteSize) return;
        const std::uint64_t row = at / width, column = at % width;
        pixels[PictureRow(lay, static_cast<std::int64_t>(row)) * width + column] =
            lay.palette[index];
    };

    bool finished = false;
    while (!finished && y < height) {
        if (end - p < 2) return "the run-length data ends early";
        const unsigned count = p[0];
        const unsigned value = p[1];
        p += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i)
                put(four ? ((i & 1) ? value & 0xF : value >> 4) : value);
            continue;
        }
        switch (value) {
            case 0:  // end of line
                x = 0;
                ++y;
                break;
            case 1:  // end of picture
                finished = true;
                break;
            case 2:  // delta
                if (end - p < 2) return "the run-length data ends early";
                x += p[0];
                y += p[1];
                p += 2;
                break;
            default: {  // literal pixels
                const unsigned n = value;
                // The bytes of a literal run are padded to an even count.
                const std::size_t used = four ? (n + 1) / 2 : n;
                if (static_cast<std::size_t>(end - p) < used + (used & 1))
                    return "the run-length data ends early";
                for (unsigned i = 0; i < n; ++i)
                    put(four ? ((i & 1) ? p[i / 2] & 0xF : p[i / 2] >> 4) : p[i]);
                p += used + (used & 1);
                break;
            }
        }
    }

    return {};
}

bool Fail(Picture& out, std::string* error, const std::string& reason) {
    out = Picture{};
    if (error) *error = reason;
    return false;
}

}  // namespace

bool DecodeBitmap(const std::uint8_t* data, std::size_t size, Picture& out, std::string* error) {
    out = Picture{};
    if (data == nullptr) size = 0;

    Layout lay;
    std::string reason = ReadLayout(data, size, lay);
    if (!reason.empty()) return Fail(out, error, reason);

    std::vector<Colour> pixels;
    reason = lay.compression == kRle8 || lay.compression == kRle4
                 ? DecodeRunLength(data, size, lay, pixels)
                 : DecodeUncompressed(data, size, lay, pixels);
    if (!reason.empty()) return Fail(out, error, reason);

    out.width = static_cast<int>(lay.width);
    out.height = static_cast<int>(lay.height);
    out.pixels = std::move(pixels);
    if (error) error->clear();
    return true;
}

bool LoadBitmap(const std::string& path, const std::string& shownName, Picture& out,
                std::string* error) {
    out = Picture{};
    auto cannotOpen = [&] {
        std::string text = "Unable to open bitmap file - " + shownName + "!";
        CurrentPlatform().messageBox(text);
        return Fail(out, error, text);
    };
    std::ifstream file(path, std::ios::binary);
    if (!file) return cannotOpen();

    std::vector<std::uint8_t> bytes(kFileHeaderSize);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    // A path that opens but cannot be read at all (a folder) is not a file.
    if (file.bad() && file.gcount() == 0) return cannotOpen();
    if (file.gcount() != static_cast<std::streamsize>(kFileHeaderSize)) {
        std::string text = "Unable to open bitmap file header!";
        CurrentPlatform().messageBox(text);
        return Fail(out, error, text);
    }
    if (bytes[0] != 'B' || bytes[1] != 'M')
        return Fail(out, error, shownName + " is not a bitmap (no \"BM\" signature)");

    // The rest in pieces, stopping at the size limit: a huge file is refused
    // rather than read whole.
    char chunk[1 << 16];
    while (file) {
        file.read(chunk, sizeof chunk);
        std::size_t got = static_cast<std::size_t>(file.gcount());
        if (bytes.size() + got > kMaxFileBytes)
            return Fail(out, error, shownName + " is too large");
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    if (file.bad()) return Fail(out, error, "reading " + shownName + " failed");

    std::string reason;
    if (!DecodeBitmap(bytes, out, &reason)) return Fail(out, error, shownName + ": " + reason);
    if (error) error->clear();
    return true;
}

}  // namespace qv
