// The bitmap decoder: every picture in tests/fixtures/bitmaps against
// ImageMagick's reading of it (recorded by make_fixtures.sh there), then
// byte-level files for what ImageMagick does not write, and damaged or
// hostile files, which must be refused cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "model/bitmap.h"
#include "model/platform.h"
#include "support/bytes.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

const fs::path kBitmaps = fs::path(QUORVANE_TEST_FIXTURES) / "bitmaps";

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Colour Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return b << 16 | g << 8 | r;
}

// ImageMagick's "txt:" listing: a "# ImageMagick pixel enumeration: W,H,..."
// line, then "x,y: (r,g,b[,a])" or, for grey pictures, "x,y: (v[,a])".
::testing::AssertionResult ReadImageMagickListing(const fs::path& path, Picture& out) {
    std::ifstream in(path);
    if (!in) return ::testing::AssertionFailure() << "cannot open " << path;
    std::string line;
    std::getline(in, line);
    const std::string head = "# ImageMagick pixel enumeration: ";
    if (line.rfind(head, 0) != 0) return ::testing::AssertionFailure() << "no listing header";
    int maxValue = 0;
    if (std::sscanf(line.c_str() + head.size(), "%d,%d,%d", &out.width, &out.height, &maxValue) !=
            3 ||
        maxValue != 255 || out.width <= 0 || out.height <= 0)
        return ::testing::AssertionFailure() << "bad listing header: " << line;
    out.pixels.assign(static_cast<std::size_t>(out.width) * out.height, 0);
    std::vector<bool> seen(out.pixels.size(), false);
    std::size_t count = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        int x = -1, y = -1;
        unsigned v[4] = {0, 0, 0, 0};
        int got =
            std::sscanf(line.c_str(), "%d,%d: (%u,%u,%u,%u", &x, &y, &v[0], &v[1], &v[2], &v[3]);
        if (got < 3 || x < 0 || y < 0 || x >= out.width || y >= out.height)
            return ::testing::AssertionFailure() << "bad listing line: " << line;
        int values = got - 2;
        std::size_t at = static_cast<std::size_t>(y) * out.width + x;
        if (seen[at]) return ::testing::AssertionFailure() << "pixel listed twice: " << line;
        seen[at] = true;
        ++count;
        // One or two values: grey (and alpha); three or four: red, green, blue (and alpha).
        out.pixels[at] = values <= 2 ? Rgb(v[0], v[0], v[0]) : Rgb(v[0], v[1], v[2]);
    }
    if (count != out.pixels.size())
        return ::testing::AssertionFailure()
               << "listing has " << count << " pixels, not " << out.pixels.size();
    return ::testing::AssertionSuccess();
}

std::string Hex(Colour c) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%06X", c);
    return buffer;
}

// Equal pictures, or the first few differing pixels.
::testing::AssertionResult SamePicture(const Picture& got, const Picture& want) {
    if (got.width != want.width || got.height != want.height)
        return ::testing::AssertionFailure() << "size " << got.width << " x " << got.height
                                             << ", wanted " << want.width << " x " << want.height;
    if (got.pixels.size() != want.pixels.size())
        return ::testing::AssertionFailure() << "pixel count " << got.pixels.size();
    int shown = 0;
    std::ostringstream diff;
    for (int y = 0; y < want.height; ++y)
        for (int x = 0; x < want.width; ++x)
            if (got.at(x, y) != want.at(x, y) && shown++ < 8)
                diff << " (" << x << "," << y << ") got " << Hex(got.at(x, y)) << " wanted "
                     << Hex(want.at(x, y)) << ";";
    if (shown > 0) return ::testing::AssertionFailure() << shown << " pixels differ:" << diff.str();
    return ::testing::AssertionSuccess();
}

Picture MakePicture(int width, int height, std::vector<Colour> pixels) {
    Picture p;
    p.width = width;
    p.height = height;
    p.pixels = std::move(pixels);
    return p;
}

// ------------------------------------------------------------------------
// Fixtures against ImageMagick

// clang-format off
const char* const kFixtureNames[] = {
    // 40-byte header
    "bmp3-24", "bmp3-8", "bmp3-4", "bmp3-1", "bmp3-rle8", "bmp3-rle8-runs",
    // 124-byte header
    "bmp5-24", "bmp5-32", "bmp5-32-alpha", "bmp5-565", "bmp5-555", "bmp5-4", "bmp5-8",
    "bmp5-rle8",
    // 12-byte OS/2 header
    "bmp2-24", "bmp2-8", "bmp2-4", "bmp2-1",
    // put together byte by byte
    "topdown-24", "topdown-8", "rgb40-16", "rgb40-32", "bitfields40-32", "bitfields40-565",
    "rle8-jumps", "rle4",
};
// clang-format on

class BitmapFixture : public ::testing::TestWithParam<const char*> {};

TEST_P(BitmapFixture, DecodesAsImageMagickReadsIt) {
    const std::string name = GetParam();
    Picture want;
    ASSERT_TRUE(ReadImageMagickListing(kBitmaps / (name + ".txt"), want));

    std::vector<std::uint8_t> bytes = ReadBytes(kBitmaps / (name + ".bmp"));
    ASSERT_FALSE(bytes.empty());
    Picture got;
    std::string error;
    ASSERT_TRUE(DecodeBitmap(bytes, got, &error)) << error;
    EXPECT_TRUE(error.empty());
    EXPECT_TRUE(SamePicture(got, want));

    // Loading the file gives the same picture and shows nothing.
    HeadlessPlatform platform;
    SetPlatform(&platform);
    Picture loaded;
    EXPECT_TRUE(LoadBitmap((kBitmaps / (name + ".bmp")).string(), name, loaded, &error)) << error;
    SetPlatform(nullptr);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(SamePicture(loaded, want));
}

// Cutting a fixture short anywhere must be refused cleanly, except where only
// the padding after the last row or the bytes after the last line are lost:
// then the picture is the whole one.
TEST_P(BitmapFixture, EveryShortenedCopyIsRefusedOrComplete) {
    const std::string name = GetParam();
    const std::vector<std::uint8_t> bytes = ReadBytes(kBitmaps / (name + ".bmp"));
    Picture whole;
    ASSERT_TRUE(DecodeBitmap(bytes, whole));
    const std::size_t dataOffset =
        bytes[10] | bytes[11] << 8 | bytes[12] << 16 | static_cast<std::size_t>(bytes[13]) << 24;

    int accepted = 0;
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + length);
        cut.shrink_to_fit();  // so that the sanitizers see any read past the end
        Picture got = MakePicture(1, 1, {0x123456});
        std::string error;
        if (DecodeBitmap(cut, got, &error)) {
            ++accepted;
            EXPECT_GE(length, dataOffset);
            EXPECT_TRUE(SamePicture(got, whole)) << "cut to " << length << " bytes";
        } else {
            EXPECT_TRUE(got.empty()) << "cut to " << length << " bytes";
            EXPECT_TRUE(got.pixels.empty());
            EXPECT_FALSE(error.empty());
            EXPECT_EQ(error.find('\n'), std::string::npos) << error;
        }
    }
    // At most the padding of one row (3 bytes), or the end-of-picture mark
    // and the two bytes after it.
    EXPECT_LE(accepted, 4);
}

INSTANTIATE_TEST_SUITE_P(Bitmap, BitmapFixture, ::testing::ValuesIn(kFixtureNames),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string s = info.param;
                             std::replace(s.begin(), s.end(), '-', '_');
                             return s;
                         });

TEST(BitmapFixtures, EveryPictureHasAListingAndATest) {
    std::set<std::string> listed(std::begin(kFixtureNames), std::end(kFixtureNames));
    std::set<std::string> onDisk;
    for (const auto& entry : fs::directory_iterator(kBitmaps))
        if (entry.path().extension() == ".bmp") {
            onDisk.insert(entry.path().stem().string());
            EXPECT_TRUE(fs::exists(fs::path(entry.path()).replace_extension(".txt")))
                << entry.path();
        }
    EXPECT_EQ(onDisk, listed);
}

// ------------------------------------------------------------------------
// Files put together byte by byte

using testsupport::PutLe16;
using testsupport::PutLe32;

struct Layout {
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bits = 24;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    // Inside headers of 52 bytes and more (red, green, blue, alpha).
    std::uint32_t headerMasks[4] = {0, 0, 0, 0};
    // Written right after the header (bit fields after a 40-byte header).
    std::vector<std::uint32_t> masksAfter;
    std::vector<Colour> palette;  // 0x00BBGGRR
    std::size_t gap = 0;          // junk bytes between the colour table and the pixels
    std::vector<std::uint8_t> pixels;
};

std::vector<std::uint8_t> Build(const Layout& l) {
    std::vector<std::uint8_t> info;
    PutLe32(info, l.headerSize);
    if (l.headerSize == 12) {
        PutLe16(info, static_cast<std::uint32_t>(l.width));
        PutLe16(info, static_cast<std::uint32_t>(l.height));
        PutLe16(info, 1);
        PutLe16(info, l.bits);
    } else {
        PutLe32(info, static_cast<std::uint32_t>(l.width));
        PutLe32(info, static_cast<std::uint32_t>(l.height));
        PutLe16(info, 1);
        PutLe16(info, l.bits);
        PutLe32(info, l.compression);
        PutLe32(info, static_cast<std::uint32_t>(l.pixels.size()));
        PutLe32(info, 2835);
        PutLe32(info, 2835);
        PutLe32(info, l.coloursUsed);
        PutLe32(info, 0);
        for (std::uint32_t m : l.headerMasks) PutLe32(info, m);
        info.resize(l.headerSize, 0);
    }
    for (std::uint32_t m : l.masksAfter) PutLe32(info, m);
    for (Colour c : l.palette) {
        info.push_back(static_cast<std::uint8_t>(c >> 16));
        info.push_back(static_cast<std::uint8_t>(c >> 8));
        info.push_back(static_cast<std::uint8_t>(c));
        if (l.headerSize != 12) info.push_back(0);
    }
    for (std::size_t i = 0; i < l.gap; ++i) info.push_back(static_cast<std::uint8_t>(0xA5 + i));

    std::vector<std::uint8_t> file = {'B', 'M'};
    const std::uint32_t offset = static_cast<std::uint32_t>(14 + info.size());
    PutLe32(file, static_cast<std::uint32_t>(offset + l.pixels.size()));
    PutLe32(file, 0);
    PutLe32(file, offset);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), l.pixels.begin(), l.pixels.end());
    return file;
}

Picture Decode(const std::vector<std::uint8_t>& bytes) {
    Picture p;
    std::string error;
    EXPECT_TRUE(DecodeBitmap(bytes, p, &error)) << error;
    return p;
}

std::string Refusal(const std::vector<std::uint8_t>& bytes) {
    Picture p = MakePicture(1, 1, {0xABCDEF});
    std::string error;
    EXPECT_FALSE(DecodeBitmap(bytes, p, &error));
    EXPECT_TRUE(p.empty());
    EXPECT_TRUE(p.pixels.empty());
    EXPECT_EQ(error.find('\n'), std::string::npos);
    return error;
}

// Three pixels side by side, 32 bits, laid out by masks: every header length
// that carries the masks itself must give the same colours.
TEST(BitmapHeaders, MasksInsideEveryLongerHeader) {
    // red in bits 8..15, green 16..23, blue 24..31, alpha (ignored) 0..7
    const std::uint32_t masks[4] = {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF};
    std::vector<std::uint8_t> pixels;
    PutLe32(pixels, 0x30201077);  // r 10 g 20 b 30
    PutLe32(pixels, 0xFF00FF00);  // r FF g 00 b FF
    PutLe32(pixels, 0x01FE80EE);  // r 80 g FE b 01
    const Picture want =
        MakePicture(3, 1, {Rgb(0x10, 0x20, 0x30), Rgb(0xFF, 0, 0xFF), Rgb(0x80, 0xFE, 0x01)});
    for (std::uint32_t size : {52u, 56u, 108u, 124u}) {
        SCOPED_TRACE(size);
        Layout l;
        l.headerSize = size;
        l.width = 3;
        l.bits = 32;
        l.compression = 3;
        std::copy(std::begin(masks), std::end(masks), l.headerMasks);
        l.pixels = pixels;
        EXPECT_TRUE(SamePicture(Decode(Build(l)), want));

        // Without bit fields the masks in the header mean nothing: blue,
        // green, red, unused, from the low byte up.
        l.compression = 0;
        EXPECT_TRUE(SamePicture(
            Decode(Build(l)),
            MakePicture(3, 1,
                        {Rgb(0x20, 0x10, 0x77), Rgb(0x00, 0xFF, 0x00), Rgb(0xFE, 0x80, 0xEE)})));
    }

    // A 40-byte header carries the masks after it: three for compression 3,
    // four (alpha last) for compression 6.
    Layout l;
    l.width = 3;
    l.bits = 32;
    l.pixels = pixels;
    l.compression = 3;
    l.masksAfter = {masks[0], masks[1], masks[2]};
    EXPECT_TRUE(SamePicture(Decode(Build(l)), want));
    l.compression = 6;
    l.masksAfter = {masks[0], masks[1], masks[2], masks[3]};
    EXPECT_TRUE(SamePicture(Decode(Build(l)), want));
    // ... and when the file ends inside them it is refused.
    std::vector<std::uint8_t> cut = Build(l);
    cut.resize(14 + 40 + 10);
    cut[10] = static_cast<std::uint8_t>(cut.size());
    cut[11] = cut[12] = cut[13] = 0;
    EXPECT_EQ(Refusal(cut), "the colour masks are cut short");
}

// 16-bit pixels with 5-6-5 masks in a 52- and a 108-byte header, and the
// 5-5-5 layout a 16-bit file without bit fields has.
TEST(BitmapHeaders, SixteenBitLayouts) {
    std::vector<std::uint8_t> pixels;
    PutLe16(pixels, 0xFFFF);
    PutLe16(pixels, 0x8410);  // 5-6-5: 16, 32, 16; 5-5-5: 1, 0, 16 (bit 15 unused)
    PutLe16(pixels, 0x001F);
    PutLe16(pixels, 0);  // row padding
    for (std::uint32_t size : {52u, 108u}) {
        SCOPED_TRACE(size);
        Layout l;
        l.headerSize = size;
        l.width = 3;
        l.bits = 16;
        l.compression = 3;
        l.headerMasks[0] = 0xF800;
        l.headerMasks[1] = 0x07E0;
        l.headerMasks[2] = 0x001F;
        l.pixels = pixels;
        EXPECT_TRUE(SamePicture(
            Decode(Build(l)),
            MakePicture(3, 1, {Rgb(255, 255, 255), Rgb(0x84, 0x82, 0x84), Rgb(0, 0, 255)})));
        l.compression = 0;
        EXPECT_TRUE(SamePicture(
            Decode(Build(l)),
            MakePicture(3, 1, {Rgb(255, 255, 255), Rgb(0x08, 0x00, 0x84), Rgb(0, 0, 255)})));
    }
}

// Narrow fields repeat their bits so that all ones is 255; wide fields keep
// their top 8 bits. (ImageMagick 6 agrees for 5-, 6- and 8-bit fields, the
// ones real files use; for other widths in 16-bit files it leaves the low
// bits empty, 4 bits of ones giving 240, and in 32-bit files it widens any
// field that is not 8 bits without repeating it, 5 bits of ones giving 247.)
TEST(BitmapHeaders, MaskWidthsScaleToEightBits) {
    struct Case {
        const char* what;
        std::uint16_t bits;
        std::uint32_t masks[3];
        std::uint32_t pixel;
        Colour want;
    };
    // clang-format off
    const Case cases[] = {
        {"4-4-4, all ones / half", 16, {0x0F00, 0x00F0, 0x000F}, 0x0F81, Rgb(0xFF, 0x88, 0x11)},
        {"3-3-2", 16, {0xE0, 0x1C, 0x03}, 0b101'011'10, Rgb(0xB6, 0x6D, 0xAA)},
        {"1-bit fields", 16, {0x4, 0x2, 0x1}, 0b101, Rgb(0xFF, 0, 0xFF)},
        {"5-bit fields in 32 bits", 32, {0x7C00, 0x03E0, 0x001F}, 0x7C00 | 0x10 << 5 | 1,
         Rgb(0xFF, 0x84, 0x08)},
        {"10-10-10", 32, {0x3FF00000, 0x000FFC00, 0x000003FF},
         0x3FFu << 20 | 0x203u << 10 | 0x0FFu, Rgb(0xFF, 0x80, 0x3F)},
        {"a mask of all 32 bits", 32, {0xFFFFFFFF, 0, 0}, 0xC0FFEE00, Rgb(0xC0, 0, 0)},
        {"no mask at all", 32, {0, 0, 0}, 0xFFFFFFFF, Rgb(0, 0, 0)},
        // A hole counts as part of the field: 12 bits from bit 4, 0xF0F.
        {"a mask with a hole", 16, {0xF0F0, 0, 0}, 0xFFFF, Rgb(0xF0, 0, 0)},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Layout l;
        l.bits = c.bits;
        l.compression = 3;
        l.masksAfter = {c.masks[0], c.masks[1], c.masks[2]};
        PutLe32(l.pixels, c.pixel);  // 16-bit pixels: the low half, then padding
        EXPECT_TRUE(SamePicture(Decode(Build(l)), MakePicture(1, 1, {c.want})));
    }
}

// A bottom-up picture turned into a top-down one (rows reversed, height
// negated) decodes to the same picture, also with run-length rows.
TEST(BitmapHeaders, TopDownRows) {
    for (const char* name : {"bmp3-24", "bmp3-8", "bmp3-4", "bmp3-1", "rle8-jumps"}) {
        SCOPED_TRACE(name);
        std::vector<std::uint8_t> bytes = ReadBytes(kBitmaps / (std::string(name) + ".bmp"));
        Picture bottomUp = Decode(bytes);
        ASSERT_FALSE(bottomUp.empty());

        const std::size_t offset = bytes[10] | bytes[11] << 8;
        const int bits = bytes[28];
        const std::size_t height = static_cast<std::size_t>(bottomUp.height);
        std::vector<std::uint8_t> flipped = bytes;
        const std::int32_t negative = -bottomUp.height;
        std::memcpy(&flipped[22], &negative, 4);  // little-endian machine
        if (bytes[30] == 0) {
            const std::size_t stride = (bottomUp.width * bits + 31) / 32 * 4;
            for (std::size_t r = 0; r < height; ++r)
                std::copy_n(bytes.begin() + offset + r * stride, stride,
                            flipped.begin() + offset + (height - 1 - r) * stride);
        }
        // Run-length data written for bottom-up rows now fills them from
        // the top: the picture comes out upside down.
        Picture topDown = Decode(flipped);
        if (bytes[30] != 0) {
            Picture upsideDown = bottomUp;
            for (std::size_t r = 0; r < height; ++r)
                std::copy_n(bottomUp.pixels.begin() + r * bottomUp.width, bottomUp.width,
                            upsideDown.pixels.begin() + (height - 1 - r) * bottomUp.width);
            EXPECT_TRUE(SamePicture(topDown, upsideDown));
        } else {
            EXPECT_TRUE(SamePicture(topDown, bottomUp));
        }
    }
}

// The pixels start where the file header says, not right after the colour
// table; an offset into the headers or past the end is refused.
TEST(BitmapHeaders, PixelDataOffset) {
    Layout l;
    l.width = 2;
    l.height = 2;
    l.bits = 8;
    l.coloursUsed = 2;
    l.palette = {Rgb(1, 2, 3), Rgb(200, 100, 50)};
    l.pixels = {0, 1, 0, 0, 1, 1, 0, 0};
    const Picture want =
        MakePicture(2, 2, {Rgb(200, 100, 50), Rgb(200, 100, 50), Rgb(1, 2, 3), Rgb(200, 100, 50)});
    for (std::size_t gap : {0, 1, 7, 300}) {
        SCOPED_TRACE(gap);
        l.gap = gap;
        EXPECT_TRUE(SamePicture(Decode(Build(l)), want));
    }

    // The same with the OS/2 header, whose colour table has 3-byte entries
    // and no count: it runs up to the pixels (here 2 of 256 entries).
    l.headerSize = 12;
    for (std::size_t gap : {0, 2, 3}) {
        SCOPED_TRACE(gap);
        l.gap = gap;  // 3 bytes of junk read as a third entry no pixel uses
        EXPECT_TRUE(SamePicture(Decode(Build(l)), want));
    }
    l.headerSize = 40;
    l.gap = 0;

    std::vector<std::uint8_t> bytes = Build(l);
    bytes[10] = 14 + 39;
    EXPECT_EQ(Refusal(bytes), "the pixel data offset 53 points into the headers");
    bytes[10] = 0;
    EXPECT_EQ(Refusal(bytes), "the pixel data offset 0 points into the headers");
    bytes[10] = static_cast<std::uint8_t>(bytes.size() + 1);
    EXPECT_EQ(Refusal(bytes), "the pixel data offset " + std::to_string(bytes.size() + 1) +
                                  " lies beyond the end of the file");
    bytes[10] = 0xFF;
    bytes[13] = 0xFF;
    EXPECT_NE(Refusal(bytes).find("lies beyond the end of the file"), std::string::npos);
    // An offset that leaves too few bytes for the rows.
    bytes[10] = static_cast<std::uint8_t>(bytes.size() - 5);
    bytes[13] = 0;
    EXPECT_EQ(Refusal(bytes), "the pixel data ends early");
}

// Ship pictures are 30 x 30 at most; the smallest pictures, in every depth,
// with odd widths so that each row needs padding.
TEST(BitmapHeaders, SmallPictures) {
    const Colour a = Rgb(9, 8, 7), b = Rgb(250, 128, 1);
    struct Case {
        std::uint16_t bits;
        std::vector<std::uint8_t> row0, row1;  // bottom row first, padded
    };
    const Case cases[] = {
        {1, {0b10000000, 0, 0, 0}, {0b01000000, 0, 0, 0}},
        {4, {0x10, 0, 0, 0}, {0x01, 0, 0, 0}},
        {8, {1, 0, 0, 0}, {0, 1, 0, 0}},
        {24, {1, 128, 250, 7, 8, 9, 0, 0}, {7, 8, 9, 1, 128, 250, 0, 0}},
        {16, {0x00, 0x7C, 0, 0}, {0x1F, 0x00, 0xE0, 0x03}},
        {32, {1, 128, 250, 0, 7, 8, 9, 0}, {7, 8, 9, 0, 1, 128, 250, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        // 1 x 1: the first pixel of the bottom row.
        Layout one;
        one.bits = c.bits;
        if (c.bits <= 8) one.palette = {a, b};
        one.pixels.assign(c.row0.begin(), c.row0.begin() + 4);
        Picture p = Decode(Build(one));
        ASSERT_EQ(p.width, 1);
        ASSERT_EQ(p.height, 1);
        if (c.bits == 16)
            EXPECT_EQ(p.at(0, 0), Rgb(255, 0, 0));
        else
            EXPECT_EQ(p.at(0, 0), b);
    }
    // 2 x 2 in 24 and 32 bits.
    for (const Case& c : cases) {
        if (c.bits < 24) continue;
        SCOPED_TRACE(c.bits);
        Layout two;
        two.width = 2;
        two.height = 2;
        two.bits = c.bits;
        two.pixels = c.row0;
        two.pixels.insert(two.pixels.end(), c.row1.begin(), c.row1.end());
        EXPECT_TRUE(SamePicture(Decode(Build(two)), MakePicture(2, 2, {a, b, b, a})));
    }
    // 29 x 29 in one bit: rows of 4 bytes, a diagonal of the second colour.
    Layout diag;
    diag.width = 29;
    diag.height = 29;
    diag.bits = 1;
    diag.palette = {a, b};
    diag.pixels.assign(29 * 4, 0);
    for (int y = 0; y < 29; ++y) {
        int fileRow = 28 - y, x = y;
        diag.pixels[fileRow * 4 + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    Picture d = Decode(Build(diag));
    ASSERT_EQ(d.width, 29);
    ASSERT_EQ(d.height, 29);
    for (int y = 0; y < 29; ++y)
        for (int x = 0; x < 29; ++x) ASSERT_EQ(d.at(x, y), x == y ? b : a) << x << "," << y;
}

// Indices past the colour table read as black, whatever the depth; the
// table is never longer than the depth can index nor than fits before the
// pixels.
TEST(BitmapPalette, IndicesPastTheTableAreBlack) {
    const Colour red = Rgb(255, 0, 0), green = Rgb(0, 255, 0), blue = Rgb(0, 0, 255);
    Layout l;
    l.width = 4;
    l.bits = 8;
    l.coloursUsed = 3;
    l.palette = {red, green, blue};
    l.pixels = {2, 3, 255, 0};
    EXPECT_TRUE(SamePicture(Decode(Build(l)), MakePicture(4, 1, {blue, 0, 0, red})));

    l.bits = 4;
    l.coloursUsed = 2;
    l.palette = {red, green};
    l.pixels = {0x12, 0xF0, 0, 0};
    EXPECT_TRUE(SamePicture(Decode(Build(l)), MakePicture(4, 1, {green, 0, 0, red})));

    l.bits = 1;
    l.coloursUsed = 1;
    l.palette = {red};
    l.pixels = {0b0110'0000, 0, 0, 0};
    EXPECT_TRUE(SamePicture(Decode(Build(l)), MakePicture(4, 1, {red, 0, 0, red})));

    // A used-colour count beyond 2^bits, or beyond the bytes before the
    // pixels, is cut down, not read past.
    l.bits = 1;
    l.coloursUsed = 0xFFFFFFFF;
    l.palette = {red, green, blue};  // the third entry is never indexed
    l.pixels = {0b0110'0000, 0, 0, 0};
    EXPECT_TRUE(SamePicture(Decode(Build(l)), MakePicture(4, 1, {red, green, green, red})));
    l.bits = 8;
    l.coloursUsed = 256;
    l.palette = {red, green};
    l.pixels = {0, 1, 2, 200};
    EXPECT_TRUE(SamePicture(Decode(Build(l)), MakePicture(4, 1, {red, green, 0, 0})));
    // No table at all.
    l.coloursUsed = 0;
    l.palette.clear();
    EXPECT_TRUE(SamePicture(Decode(Build(l)), MakePicture(4, 1, {0, 0, 0, 0})));
}

// Run-length pixels that nothing writes (jumps, early ends of line or of
// the picture) are black, even when colour 0 of the table is not: the
// fixtures keep colour 0 black because ImageMagick 6 shows colour 0 there.
// Indices past the table are black too.
TEST(BitmapRunLength, UnwrittenAndOutOfRangePixels) {
    const Colour grey = Rgb(90, 90, 90), red = Rgb(255, 0, 0), green = Rgb(0, 255, 0);
    Layout l;
    l.width = 4;
    l.height = 2;
    l.bits = 8;
    l.compression = 1;
    l.coloursUsed = 3;
    l.palette = {grey, red, green};  // entry 0 is not black
    // Bottom row: jump 1 right, 2 reds, end of line; top row: index 1, an
    // index past the table, then end of picture.
    l.pixels = {0, 2, 1, 0, 2, 1, 0, 0, 1, 1, 1, 9, 0, 1};
    EXPECT_TRUE(SamePicture(Decode(Build(l)), MakePicture(4, 2, {red, 0, 0, 0, 0, red, red, 0})));

    // A run past the end of its line carries on into the next; past the
    // last line, and after a jump out of the picture, nothing is written.
    l.pixels = {2, 2, 12, 1, 0, 2, 200, 200, 5, 2, 0, 1};
    EXPECT_TRUE(SamePicture(Decode(Build(l)),
                            MakePicture(4, 2, {red, red, red, red, green, green, red, red})));

    // The same in four bits: encoded nibbles alternate, and a literal run of
    // 3 nibbles takes 2 bytes, padded to an even count: no pad needed.
    l.bits = 4;
    l.compression = 2;
    l.pixels = {3, 0x12, 0, 0, 0, 3, 0x21, 0xF0, 0, 1};
    EXPECT_TRUE(
        SamePicture(Decode(Build(l)), MakePicture(4, 2, {green, red, 0, 0, red, green, red, 0})));
}

TEST(BitmapRunLength, StreamsThatEndEarly) {
    Layout l;
    l.width = 3;
    l.height = 2;
    l.bits = 8;
    l.compression = 1;
    l.palette = {Rgb(1, 1, 1), Rgb(2, 2, 2)};
    l.coloursUsed = 2;
    // Complete without the end-of-picture mark: both lines ended.
    l.pixels = {3, 1, 0, 0, 3, 0, 0, 0};
    EXPECT_TRUE(
        SamePicture(Decode(Build(l)), MakePicture(3, 2,
                                                  {Rgb(1, 1, 1), Rgb(1, 1, 1), Rgb(1, 1, 1),
                                                   Rgb(2, 2, 2), Rgb(2, 2, 2), Rgb(2, 2, 2)})));
    const std::vector<std::vector<std::uint8_t>> broken = {
        {},                           // nothing
        {3},                          // half a pair
        {3, 1, 0, 0},                 // the second line never comes
        {3, 1, 0, 2, 1},              // a jump without its second byte
        {3, 1, 0, 0, 0, 3, 1},        // a literal run short of its pixels
        {3, 1, 0, 0, 0, 3, 1, 0, 1},  // ... or of its padding byte
    };
    for (const auto& data : broken) {
        l.pixels = data;
        EXPECT_EQ(Refusal(Build(l)), "the run-length data ends early");
    }
    l.compression = 2;
    l.bits = 4;
    l.pixels = {3, 0x11, 0, 0, 0, 5, 0x10, 0x10};  // 5 nibbles need 3 bytes
    EXPECT_EQ(Refusal(Build(l)), "the run-length data ends early");
}

// ------------------------------------------------------------------------
// Damaged and hostile headers

TEST(BitmapHostile, SizesAndFieldsOutOfRange) {
    Layout good;
    good.width = 1;
    good.height = 1;
    good.bits = 24;
    good.pixels = {1, 2, 3, 0};
    ASSERT_FALSE(Decode(Build(good)).empty());

    struct Case {
        const char* what;
        void (*change)(Layout&);
        const char* reason;
    };
    const Case cases[] = {
        {"zero width", [](Layout& l) { l.width = 0; }, "invalid width 0"},
        {"negative width", [](Layout& l) { l.width = -3; }, "invalid width -3"},
        {"zero height", [](Layout& l) { l.height = 0; }, "invalid height 0"},
        {"wide", [](Layout& l) { l.width = 16385; }, "the picture is too large (16385 x 1)"},
        {"tall top-down", [](Layout& l) { l.height = -16385; },
         "the picture is too large (1 x 16385)"},
        {"most negative height", [](Layout& l) { l.height = INT32_MIN; },
         "the picture is too large (1 x 2147483648)"},
        {"widest", [](Layout& l) { l.width = INT32_MAX; },
         "the picture is too large (2147483647 x 1)"},
        {"largest allowed, no data", [](Layout& l) { l.width = l.height = 16384; },
         "the pixel data ends early"},
        {"2 bits", [](Layout& l) { l.bits = 2; }, "unsupported bit depth 2"},
        {"0 bits", [](Layout& l) { l.bits = 0; }, "unsupported bit depth 0"},
        {"64 bits", [](Layout& l) { l.bits = 64; }, "unsupported bit depth 64"},
        {"JPEG", [](Layout& l) { l.compression = 4; }, "unsupported compression 4 (JPEG)"},
        {"PNG", [](Layout& l) { l.compression = 5; }, "unsupported compression 5 (PNG)"},
        {"CMYK", [](Layout& l) { l.compression = 11; }, "unsupported compression 11"},
        {"RLE8 at 24 bits", [](Layout& l) { l.compression = 1; },
         "compression 1 (RLE8) with 24 bits per pixel"},
        {"RLE4 at 24 bits", [](Layout& l) { l.compression = 2; },
         "compression 2 (RLE4) with 24 bits per pixel"},
        {"bit fields at 24 bits", [](Layout& l) { l.compression = 3; },
         "compression 3 (bit fields) with 24 bits per pixel"},
        {"64-byte OS/2 header", [](Layout& l) { l.headerSize = 64; },
         "unsupported information header size 64"},
        {"16-byte header", [](Layout& l) { l.headerSize = 16; },
         "unsupported information header size 16"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Layout l = good;
        c.change(l);
        EXPECT_EQ(Refusal(Build(l)), c.reason);
    }

    // The OS/2 header's sizes are unsigned 16-bit numbers.
    Layout os2 = good;
    os2.headerSize = 12;
    os2.width = 0xFFFF;
    EXPECT_EQ(Refusal(Build(os2)), "the picture is too large (65535 x 1)");

    // Header sizes no one writes, as a raw number in the file.
    std::vector<std::uint8_t> bytes = Build(good);
    for (std::uint32_t size : {0u, 41u, 0xFFFFFFFFu}) {
        std::memcpy(&bytes[14], &size, 4);
        EXPECT_EQ(Refusal(bytes), "unsupported information header size " + std::to_string(size));
    }
}

TEST(BitmapHostile, RunLengthCannotClaimAHugePicture) {
    // Two bytes claiming 16384 x 16384 black pixels: refused before a
    // gigabyte is set aside.
    Layout l;
    l.width = 16384;
    l.height = 16384;
    l.bits = 8;
    l.compression = 1;
    l.palette = {Rgb(1, 2, 3)};
    l.pixels = {0, 1};
    EXPECT_EQ(Refusal(Build(l)), "the run-length data is too short for a 16384 x 16384 picture");
    // A small picture may be nothing but the end mark: all black.
    l.width = 1000;
    l.height = 1000;
    Picture p = Decode(Build(l));
    ASSERT_EQ(p.pixels.size(), 1000000u);
    EXPECT_TRUE(std::all_of(p.pixels.begin(), p.pixels.end(), [](Colour c) { return c == 0; }));
}

TEST(BitmapHostile, ShortAndForeignFiles) {
    EXPECT_EQ(Refusal({}), "the file is shorter than its 14-byte header");
    EXPECT_EQ(Refusal({'B', 'M', 0, 0}), "the file is shorter than its 14-byte header");
    std::vector<std::uint8_t> bytes = ReadBytes(kBitmaps / "bmp3-24.bmp");
    bytes[1] = 'A';
    EXPECT_EQ(Refusal(bytes), "not a bitmap (no \"BM\" signature)");
    bytes[1] = 'M';
    bytes.resize(16);
    EXPECT_EQ(Refusal(bytes), "the information header is missing");
    bytes = ReadBytes(kBitmaps / "bmp3-24.bmp");
    bytes.resize(14 + 39);
    EXPECT_EQ(Refusal(bytes), "the information header is cut short");
    bytes = ReadBytes(kBitmaps / "bmp3-24.bmp");
    bytes.resize(bytes.size() - 44);
    EXPECT_EQ(Refusal(bytes), "the pixel data ends early");
    // A null pointer is an empty file.
    Picture p;
    std::string error;
    EXPECT_FALSE(DecodeBitmap(nullptr, 100, p, &error));
    EXPECT_EQ(error, "the file is shorter than its 14-byte header");
}

TEST(BitmapHostile, FailureEmptiesAPreviousPicture) {
    std::vector<std::uint8_t> good = ReadBytes(kBitmaps / "bmp3-8.bmp");
    Picture p;
    ASSERT_TRUE(DecodeBitmap(good, p));
    ASSERT_FALSE(p.empty());
    std::vector<std::uint8_t> bad = good;
    bad.resize(bad.size() / 2);
    EXPECT_FALSE(DecodeBitmap(bad, p));  // no reason asked for
    EXPECT_TRUE(p.empty());
    EXPECT_TRUE(p.pixels.empty());
    EXPECT_EQ(p.width, 0);
    EXPECT_EQ(p.height, 0);

    // A success clears an earlier reason.
    std::string error = "left over";
    ASSERT_TRUE(DecodeBitmap(good, p, &error));
    EXPECT_TRUE(error.empty());
}

// ------------------------------------------------------------------------
// LoadBitmap and its messages

class BitmapLoad : public ::testing::Test {
protected:
    void SetUp() override {
        SetPlatform(&platform);
        dir = fs::temp_directory_path() /
              ("quorvane-bitmap-" + std::to_string(std::random_device{}()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override {
        SetPlatform(nullptr);
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        fs::path path = dir / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

    HeadlessPlatform platform;
    fs::path dir;
};

TEST_F(BitmapLoad, MissingFileShowsItsName) {
    Picture p = MakePicture(1, 1, {1});
    std::string error;
    EXPECT_FALSE(LoadBitmap((dir / "nothing.bmp").string(), "ships/Nothing.bmp", p, &error));
    EXPECT_TRUE(p.empty());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0], "Unable to open bitmap file - ships/Nothing.bmp!");
    EXPECT_FALSE(error.empty());

    // A folder opens on some systems but cannot be read: the same message.
    platform.messages.clear();
    EXPECT_FALSE(LoadBitmap(dir.string(), "Folder.bmp", p));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0], "Unable to open bitmap file - Folder.bmp!");
}

TEST_F(BitmapLoad, FileShorterThanItsHeader) {
    std::vector<std::uint8_t> whole = ReadBytes(kBitmaps / "bmp3-24.bmp");
    for (std::size_t length : {0, 2, 13}) {
        SCOPED_TRACE(length);
        platform.messages.clear();
        std::string path = Write("short.bmp", {whole.begin(), whole.begin() + length});
        Picture p = MakePicture(1, 1, {1});
        EXPECT_FALSE(LoadBitmap(path, "short.bmp", p));
        EXPECT_TRUE(p.empty());
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0], "Unable to open bitmap file header!");
    }
}

TEST_F(BitmapLoad, ForeignOrDamagedFilesFailQuietly) {
    std::vector<std::uint8_t> whole = ReadBytes(kBitmaps / "bmp3-24.bmp");
    std::vector<std::uint8_t> foreign = whole;
    foreign[0] = 'P';
    std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + 14);  // just the file header
    std::vector<std::uint8_t> damaged(whole.begin(), whole.end() - 50);
    for (const auto& bytes : {foreign, cut, damaged}) {
        std::string path = Write("bad.bmp", bytes);
        Picture p = MakePicture(1, 1, {1});
        std::string error;
        EXPECT_FALSE(LoadBitmap(path, "bad.bmp", p, &error));
        EXPECT_TRUE(p.empty());
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(BitmapLoad, ReadsAWholeFile) {
    std::vector<std::uint8_t> bytes = ReadBytes(kBitmaps / "bmp5-565.bmp");
    std::string path = Write("ok.bmp", bytes);
    Picture loaded;
    std::string error = "left over";
    ASSERT_TRUE(LoadBitmap(path, "ok.bmp", loaded, &error));
    EXPECT_TRUE(error.empty());
    EXPECT_TRUE(SamePicture(loaded, Decode(bytes)));
    EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace qv
