// The bitmap decoder: pictures against ImageMagick's reading of them (tests/fixtures/bitmaps),
// files put together byte by byte, and damaged files refused with the reason.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "model/bitmap.h"
#include "model/platform.h"
#include "support/bytes.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using testsupport::PutLe16;
using testsupport::PutLe32;

const fs::path kBitmaps = fs::path(QUORVANE_TEST_FIXTURES) / "bitmaps";

Colour Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return b << 16 | g << 8 | r; }

// "WIDTH HEIGHT FNV" as pictures.txt lists them: FNV-1a of the red, green, blue bytes, top row first.
std::string Summary(const Picture& p) {
    std::uint64_t h = 14695981039346656037ull;
    for (Colour c : p.pixels)
        for (int shift : {0, 8, 16}) h = (h ^ (c >> shift & 0xFF)) * 1099511628211ull;
    char fnv[17];
    std::snprintf(fnv, sizeof fnv, "%016llx", static_cast<unsigned long long>(h));
    return std::to_string(p.width) + " " + std::to_string(p.height) + " " + fnv;
}

TEST(BitmapFixtures, DecodeAsImageMagickReadsThemAndCutCopiesAreRefused) {
    std::ifstream list(kBitmaps / "pictures.txt");
    HeadlessPlatform platform;
    SetPlatform(&platform);
    int pictures = 0;
    for (std::string line; std::getline(list, line); ++pictures) {
        const std::string name = line.substr(0, line.find(' '));
        const fs::path path = kBitmaps / (name + ".bmp");
        SCOPED_TRACE(name);
        std::ifstream file(path, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
        Picture got;
        std::string error = "left over";
        EXPECT_TRUE(DecodeBitmap(bytes, got, &error)) << error;
        EXPECT_TRUE(error.empty());
        EXPECT_EQ(Summary(got), line.substr(name.size() + 1))
            << "compare the pixels with: convert " << path.string() << " txt:-";
        Picture loaded;
        EXPECT_TRUE(LoadBitmap(path.string(), name, loaded, &error)) << error;
        EXPECT_EQ(loaded.pixels, got.pixels);
        // Cut short, refused, unless only the last row's padding or the bytes after the end mark are lost.
        int accepted = 0;
        for (std::size_t length = 0; length < bytes.size(); ++length) {
            std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(length));
            cut.shrink_to_fit();  // so that the sanitizers see any read past the end
            Picture p{1, 1, {0x123456}};
            if (DecodeBitmap(cut, p, &error)) {
                ++accepted;
                EXPECT_EQ(Summary(p), Summary(got)) << "cut to " << length;
            } else {
                EXPECT_TRUE(p.pixels.empty() && !error.empty()) << "cut to " << length;
            }
        }
        EXPECT_LE(accepted, 4);
    }
    SetPlatform(nullptr);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(pictures, 13);  // every picture in the folder
}

struct Layout {
    std::uint32_t headerSize = 40;
    std::int32_t width = 1, height = 1;
    std::uint16_t bits = 24;
    std::uint32_t compression = 0, coloursUsed = 0;
    std::vector<std::uint32_t> masks = {};  // after the first 40 bytes: inside a longer header, or after the short one
    std::vector<Colour> palette = {};
    std::size_t gap = 0;  // junk bytes between the colour table and the pixels
    std::vector<std::uint8_t> pixels = {1, 2, 3, 0};
};

std::vector<std::uint8_t> Le32s(std::initializer_list<std::uint32_t> values) {
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t v : values) PutLe32(bytes, v);
    return bytes;
}

std::vector<std::uint8_t> Build(const Layout& l) {
    std::vector<std::uint8_t> info = Le32s({l.headerSize});
    const auto width = static_cast<std::uint32_t>(l.width), height = static_cast<std::uint32_t>(l.height);
    if (l.headerSize == 12) {
        for (std::uint32_t v : {width, height, 1u, std::uint32_t{l.bits}}) PutLe16(info, v);
    } else {
        for (std::uint32_t v : {width, height, 1u | std::uint32_t{l.bits} << 16, l.compression,
                                static_cast<std::uint32_t>(l.pixels.size()), 2835u, 2835u, l.coloursUsed, 0u})
            PutLe32(info, v);
        for (std::uint32_t m : l.masks) PutLe32(info, m);
        info.resize(std::max<std::size_t>(info.size(), l.headerSize), 0);
    }
    for (Colour c : l.palette) {
        for (int shift : {16, 8, 0}) info.push_back(static_cast<std::uint8_t>(c >> shift));
        if (l.headerSize != 12) info.push_back(0);
    }
    for (std::size_t i = 0; i < l.gap; ++i) info.push_back(static_cast<std::uint8_t>(0xA5 + i));
    const auto offset = static_cast<std::uint32_t>(14 + info.size());
    std::vector<std::uint8_t> file = {'B', 'M'};  // the file size, 4 reserved bytes, the pixels' offset
    for (std::uint32_t v : {offset + static_cast<std::uint32_t>(l.pixels.size()), 0u, offset}) PutLe32(file, v);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), l.pixels.begin(), l.pixels.end());
    return file;
}

std::vector<Colour> Pixels(const Layout& l) {
    Picture p;
    std::string error;
    EXPECT_TRUE(DecodeBitmap(Build(l), p, &error)) << error;
    return p.pixels;
}

// Masks in every header that carries them, or after the 40-byte one (four with compression 6).
TEST(BitmapMasks, InsideEveryLongerHeaderOrAfterTheShortOne) {
    const std::vector<std::uint32_t> masks = {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF};  // r, g, b, alpha
    Layout l{.width = 3, .bits = 32, .masks = masks, .pixels = Le32s({0x30201077, 0xFF00FF00, 0x01FE80EE})};
    const std::vector<Colour> bitFields = {Rgb(0x10, 0x20, 0x30), Rgb(0xFF, 0, 0xFF), Rgb(0x80, 0xFE, 1)},
                              plain = {Rgb(0x20, 0x10, 0x77), Rgb(0, 0xFF, 0), Rgb(0xFE, 0x80, 0xEE)};
    for (std::uint32_t size : {40u, 52u, 56u, 108u, 124u})
        for (std::uint32_t compression : {0u, 3u, 6u}) {
            SCOPED_TRACE(std::to_string(size) + " " + std::to_string(compression));
            std::tie(l.headerSize, l.compression) = std::tuple(size, compression);
            // Without bit fields the masks mean nothing: blue, green, red, unused.
            const std::vector<Colour> want = compression ? bitFields : plain;
            EXPECT_EQ(Pixels(l), want);
        }
}

// Narrow fields repeat their bits (all ones is 255), wide ones keep their top 8; holes count.
TEST(BitmapMasks, FieldWidthsScaleToEightBits) {
    const struct {
        std::uint16_t bits;
        std::uint32_t red, green, blue, pixel;
        Colour want;
    } cases[] = {
        {16, 0x0F00, 0x00F0, 0x000F, 0x0F81, Rgb(0xFF, 0x88, 0x11)},
        {16, 0xE0, 0x1C, 0x03, 0b101'011'10, Rgb(0xB6, 0x6D, 0xAA)},
        {16, 0x4, 0x2, 0x1, 0b101, Rgb(0xFF, 0, 0xFF)},
        {32, 0x7C00, 0x03E0, 0x001F, 0x7C00 | 0x10 << 5 | 1, Rgb(0xFF, 0x84, 0x08)},
        {32, 0x3FF00000, 0xFFC00, 0x3FF, 0x3FFu << 20 | 0x203u << 10 | 0xFF, Rgb(0xFF, 0x80, 0x3F)},
        {32, 0xFFFFFFFF, 0, 0, 0xC0FFEE00, Rgb(0xC0, 0, 0)},
        {32, 0, 0, 0, 0xFFFFFFFF, 0},
        {16, 0xF0F0, 0, 0, 0xFFFF, Rgb(0xF0, 0, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        Layout l{.bits = c.bits, .compression = 3, .masks = {c.red, c.green, c.blue}};
        l.pixels = Le32s({c.pixel});  // 16-bit pixels: the low half, then padding
        EXPECT_EQ(Pixels(l), std::vector<Colour>{c.want});
    }
}

// Indices past the colour table are black; the table never outgrows the depth nor the bytes before the
// pixels, which start where the file header says; the last row's padding may be missing.
TEST(BitmapPalette, IndicesPastTheTableAreBlack) {
    const Colour red = Rgb(255, 0, 0), green = Rgb(0, 255, 0), blue = Rgb(0, 0, 255);
    const struct {
        std::uint16_t bits;
        std::uint32_t used;
        std::vector<Colour> palette;
        std::vector<std::uint8_t> pixels;
        std::vector<Colour> want;
    } cases[] = {
        {8, 3, {red, green, blue}, {2, 3, 255, 0}, {blue, 0, 0, red}},
        {4, 2, {red, green}, {0x12, 0xF0, 0, 0}, {green, 0, 0, red}},
        {1, 1, {red}, {0b0110'0000, 0, 0, 0}, {red, 0, 0, red}},
        {1, 0xFFFFFFFF, {red, green, blue}, {0b0110'0000, 0, 0, 0}, {red, green, green, red}},
        {8, 256, {red, green}, {0, 1, 2, 200}, {red, green, 0, 0}},
        {8, 0, {}, {0, 1, 2, 200}, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits, " + std::to_string(c.used) + " used");
        EXPECT_EQ(Pixels({.width = 4, .bits = c.bits, .coloursUsed = c.used, .palette = c.palette, .pixels = c.pixels}),
                  c.want);
    }
    for (std::uint32_t header : {40u, 12u})
        for (std::size_t gap : {0, 2, 3, 7}) {
            SCOPED_TRACE(std::to_string(header) + " gap " + std::to_string(gap));
            Layout l{.headerSize = header, .width = 2, .height = 2, .bits = 8, .coloursUsed = 2, .gap = gap};
            l.palette = {red, blue};
            l.pixels = {0, 1, 0, 0, 1, 1};
            EXPECT_EQ(Pixels(l), (std::vector<Colour>{blue, blue, red, blue}));
        }
}

Layout Rle(std::uint16_t bits, std::vector<std::uint8_t> data, std::int32_t width = 4, std::int32_t height = 2) {
    Layout l{.width = width, .height = height, .bits = bits, .compression = bits == 8 ? 1u : 2u, .coloursUsed = 3};
    l.palette = {Rgb(90, 90, 90), Rgb(255, 0, 0), Rgb(0, 255, 0)};  // entry 0 is not black
    l.pixels = std::move(data);
    return l;
}

// Run-length pixels nothing writes are black, as are indices past the table; a run past its line
// carries on into the next, and nothing lands past the last line.
TEST(BitmapRunLength, UnwrittenAndOutOfRangePixels) {
    const Colour red = Rgb(255, 0, 0), green = Rgb(0, 255, 0);
    // Bottom row: jump 1 right, 2 reds, end of line; top row: 1, past the table, end of picture.
    EXPECT_EQ(Pixels(Rle(8, {0, 2, 1, 0, 2, 1, 0, 0, 1, 1, 1, 9, 0, 1})),
              (std::vector<Colour>{red, 0, 0, 0, 0, red, red, 0}));
    EXPECT_EQ(Pixels(Rle(8, {2, 2, 12, 1, 0, 2, 200, 200, 5, 2, 0, 1})),
              (std::vector<Colour>{red, red, red, red, green, green, red, red}));
    // Four bits: encoded nibbles alternate; 3 literal nibbles take 2 bytes. Then both lines end, no end mark.
    EXPECT_EQ(Pixels(Rle(4, {3, 0x12, 0, 0, 0, 3, 0x21, 0xF0, 0, 1})),
              (std::vector<Colour>{green, red, 0, 0, red, green, red, 0}));
    EXPECT_EQ(Pixels(Rle(8, {4, 1, 0, 0, 4, 2, 0, 0})),
              (std::vector<Colour>{green, green, green, green, red, red, red, red}));
    // An odd literal run ends with its pad byte.
    EXPECT_EQ(Pixels(Rle(8, {0, 3, 1, 2, 1, 0, 2, 2, 0, 1})),
              (std::vector<Colour>{green, 0, 0, 0, red, green, red, green}));
    // Up to 2^20 pixels may be nothing but the end mark: all black.
    EXPECT_EQ(Pixels(Rle(8, {0, 1}, 1024, 1024)), std::vector<Colour>(1024 * 1024, 0));
}

TEST(BitmapRefusals, DamagedAndHostileFiles) {
    struct Damage {
        std::size_t keep = SIZE_MAX;  // the length the file is cut to
        std::size_t at = 0;           // the byte set to value, when there is one
        int value = -1;
    };
    const std::string early = "the run-length data ends early", large = "the picture is too large (";
    const std::string offset = "the pixel data offset ", beyond = " lies beyond the end of the file";
    const std::string rle = "the run-length data is too short for a ", header = "unsupported information header size ";
    const struct {
        Layout layout;
        Damage damage;
        std::string reason;
    } cases[] = {
        {{}, {.keep = 13}, "the file is shorter than its 14-byte header"},
        {{}, {.keep = 17}, "the information header is missing"},
        {{}, {.keep = 53}, "the information header is cut short"},
        {{}, {.at = 1, .value = 'A'}, "not a bitmap (no \"BM\" signature)"},
        {{}, {.at = 14, .value = 41}, header + "41"},
        {{.headerSize = 64}, {}, header + "64"},
        {{.width = 0}, {}, "invalid width 0"},
        {{.width = -3}, {}, "invalid width -3"},
        {{.height = 0}, {}, "invalid height 0"},
        {{.width = 16385}, {}, large + "16385 x 1)"},
        {{.height = -16385}, {}, large + "1 x 16385)"},
        {{.height = INT32_MIN}, {}, large + "1 x 2147483648)"},
        {{.width = INT32_MAX}, {}, large + "2147483647 x 1)"},
        {{.headerSize = 12, .width = 0xFFFF}, {}, large + "65535 x 1)"},
        {{.width = 16384, .height = 16384}, {}, "the pixel data ends early"},
        {{.bits = 2}, {}, "unsupported bit depth 2"},
        {{.bits = 64}, {}, "unsupported bit depth 64"},
        {{.compression = 4}, {}, "unsupported compression 4 (JPEG)"},
        {{.compression = 5}, {}, "unsupported compression 5 (PNG)"},
        {{.compression = 11}, {}, "unsupported compression 11"},
        {{.compression = 1}, {}, "compression 1 (RLE8) with 24 bits per pixel"},
        {{.bits = 4, .compression = 1}, {}, "compression 1 (RLE8) with 4 bits per pixel"},
        {{.bits = 8, .compression = 2}, {}, "compression 2 (RLE4) with 8 bits per pixel"},
        {{.compression = 3}, {}, "compression 3 (bit fields) with 24 bits per pixel"},
        {{.bits = 8, .compression = 6}, {}, "compression 6 (bit fields with alpha) with 8 bits per pixel"},
        {{.bits = 32, .compression = 3, .masks = {1, 2, 3}}, {.keep = 65}, "the colour masks are cut short"},
        {{.bits = 32, .compression = 6, .masks = {1, 2, 3}, .pixels = {}}, {}, "the colour masks are cut short"},
        {{}, {.at = 10, .value = 53}, offset + "53 points into the headers"},
        {{}, {.at = 10, .value = 0}, offset + "0 points into the headers"},
        {{}, {.at = 10, .value = 59}, offset + "59" + beyond},
        {{}, {.at = 10, .value = 58}, "the pixel data ends early"},
        {{}, {.at = 13, .value = 0xFF}, offset + "4278190134" + beyond},
        {{}, {.keep = 56}, "the pixel data ends early"},
        {Rle(8, {}), {}, early},
        {Rle(8, {3}), {}, early},
        {Rle(8, {4, 1, 0, 0}), {}, early},
        {Rle(8, {3, 1, 0, 2, 1}), {}, early},
        {Rle(8, {4, 1, 0, 0, 0, 3, 1}), {}, early},
        {Rle(8, {4, 1, 0, 0, 0, 3, 1, 0, 1}), {}, early},
        {Rle(4, {4, 0x11, 0, 0, 0, 5, 0x10, 0x10}), {}, early},
        {Rle(8, {0, 1}, 1024, 1025), {}, rle + "1024 x 1025 picture"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);  // the row
        std::vector<std::uint8_t> bytes = Build(c.layout);
        if (c.damage.value >= 0) bytes[c.damage.at] = static_cast<std::uint8_t>(c.damage.value);
        if (c.damage.keep != SIZE_MAX) bytes.resize(c.damage.keep);
        Picture p{1, 1, {0xABCDEF}};
        std::string error;
        EXPECT_FALSE(DecodeBitmap(bytes, p, &error));
        EXPECT_TRUE(p.empty() && p.pixels.empty());  // a refusal leaves the picture empty
        EXPECT_EQ(error, c.reason);
    }
    Picture p;
    std::string error;
    EXPECT_FALSE(DecodeBitmap(nullptr, 100, p, &error));  // a null pointer is an empty file
    EXPECT_EQ(error, "the file is shorter than its 14-byte header");
}

// A message only when the file cannot be opened or is shorter than its 14-byte header.
TEST(BitmapLoad, MessagesAndReasons) {
    testsupport::TempFolder dir;
    std::filesystem::create_directory(dir / "Folder.bmp");
    HeadlessPlatform platform;
    SetPlatform(&platform);
    const std::vector<std::uint8_t> good = Build({});
    const struct {
        std::string file;
        std::size_t keep;  // the bytes written; 0: nothing written there
        std::string reason;
    } cases[] = {
        {"Nothing.bmp", 0, "Unable to open bitmap file - Nothing.bmp!"},
        {"Folder.bmp", 0, "Unable to open bitmap file - Folder.bmp!"},
        {"13.bmp", 13, "Unable to open bitmap file header!"},
        {"14.bmp", 14, "14.bmp: the information header is missing"},
        {"cut.bmp", good.size() - 2, "cut.bmp: the pixel data ends early"},
        {"foreign.bmp", good.size(), "foreign.bmp is not a bitmap (no \"BM\" signature)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::string bytes(good.begin(), good.begin() + static_cast<long>(c.keep));
        if (c.file == "foreign.bmp") bytes[0] = 'P';
        if (c.keep > 0) std::ofstream(dir / c.file, std::ios::binary) << bytes;
        platform.messages.clear();
        Picture p{1, 1, {1}};
        std::string error;
        EXPECT_FALSE(LoadBitmap((dir / c.file).string(), c.file, p, &error));
        EXPECT_TRUE(p.empty() && p.pixels.empty());
        EXPECT_EQ(error, c.reason);
        EXPECT_EQ(platform.messages,
                  c.reason.starts_with("Unable") ? std::vector{c.reason} : std::vector<std::string>{});
    }
    SetPlatform(nullptr);
}

}  // namespace
}  // namespace qv
