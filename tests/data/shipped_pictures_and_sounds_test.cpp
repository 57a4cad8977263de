// The ship pictures and sound cues the build writes into the ready data
// folder: loadable as they are, visible, owner-coloured and distinct; clean,
// short 16-bit mono waves for every cue the game plays.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "../../tools/pixel_art.h"
#include "model/bitmap.h"
#include "model/sound_cues.h"

namespace {

const std::string kDataOut = QUORVANE_DATA_OUT;

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
std::uint32_t U16(const std::vector<std::uint8_t>& b, std::size_t at) { return b[at] | std::uint32_t{b[at + 1]} << 8; }
std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

TEST(ShippedShipPictures, PlainBitmapsOfTheirSourceWithAnOwnerColouredHullAndAccents) {
    std::vector<std::vector<qv::Colour>> all;
    for (const char* ship :
         {"compact_mule", "compact_lancer", "compact_warden", "compact_bastion", "vess_gatherer", "vess_stinger",
          "vess_hornet", "vess_queen", "korrath_barge", "korrath_talon", "korrath_ironclad", "korrath_dreadnought",
          "elyssi_seed", "elyssi_whisper", "elyssi_lumen", "elyssi_cantor"}) {
        const std::string name = ship;
        const std::vector<std::uint8_t> bytes = ReadFile(kDataOut + "/" + name + ".bmp");
        SCOPED_TRACE(name);
        ASSERT_EQ(bytes.size(), 54u + 30u * 92u);  // 90 bytes a row, padded to 92
        // The classic layout: "BM", 24 bits, no compression, rows bottom-up.
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 2), "BM");
        EXPECT_EQ((std::vector<std::uint32_t>{U32(bytes, 2), U32(bytes, 10), U32(bytes, 14), U32(bytes, 18),
                                              U32(bytes, 22), U16(bytes, 26), U16(bytes, 28), U32(bytes, 30)}),
                  (std::vector<std::uint32_t>{54 + 30 * 92, 54, 40, 30, 30, 1, 24, 0}));
        qv::Picture picture;
        std::string error;
        ASSERT_TRUE(qv::LoadBitmap(kDataOut + "/" + name + ".bmp", name + ".bmp", picture, &error)) << error;
        qv::art::PixelArt art;
        ASSERT_TRUE(qv::art::LoadPixelArt(QUORVANE_SOURCE_DIR "/data/ships/" + name + ".txt", art, error)) << error;
        ASSERT_TRUE(picture.width == art.width && picture.height == art.height);
        for (int y = 0; y < art.height; ++y)
            for (int x = 0; x < art.width; ++x) {
                const qv::art::Rgb c = art.at(x, y);
                ASSERT_EQ(picture.at(x, y), c.r | c.g << 8 | c.b << 16) << x << "," << y;
            }
        const auto lit = std::count_if(picture.pixels.begin(), picture.pixels.end(), [](auto c) { return c != 0; });
        const auto white = std::count(picture.pixels.begin(), picture.pixels.end(), 0xFFFFFFu);
        const std::set<qv::Colour> colours(picture.pixels.begin(), picture.pixels.end());
        // Readable on the map within the pixels the game keeps; white, which
        // takes the owner's colour, shows without drowning the race's own.
        EXPECT_GE(lit, 80);
        EXPECT_LE(lit, qv::kPixelListSize);
        EXPECT_TRUE(white * 100 >= lit * 15 && white * 100 <= lit * 70) << white << " white of " << lit;
        EXPECT_GE(colours.size(), 5u) << "black, white and three accents";
        for (const auto& other : all) {
            int differing = 0;
            for (std::size_t i = 0; i < other.size(); ++i) differing += other[i] != picture.pixels[i];
            EXPECT_GE(differing, 60) << "far more than a recoloured or nudged copy";
        }
        all.push_back(picture.pixels);
    }
    EXPECT_EQ(all.size(), 16u);
}

TEST(PixelArtSource, ReadsCommentsPaletteAndRowsFromTheTop) {
    std::string rows;
    for (int y = 0; y < 30; ++y) {
        std::string row(30, '.');
        row[0] = y == 0 ? 'a' : '.';
        row[3] = y == 10 ? 'b' : '.';
        row[29] = y == 29 ? 'W' : '.';
        rows += row + "\r\n";  // sources edited on Windows still read
    }
    qv::art::PixelArt art;
    std::string error;
    ASSERT_TRUE(
        qv::art::ParsePixelArt("# a comment\r\n\r\npalette: a = #102030\r\npalette:b=#a0B0c0\r\n" + rows, art, error))
        << error;
    ASSERT_EQ(art.width * art.height, 900);
    EXPECT_EQ(art.at(0, 0), (qv::art::Rgb{0x10, 0x20, 0x30}));
    EXPECT_EQ(art.at(3, 10), (qv::art::Rgb{0xA0, 0xB0, 0xC0}));
    EXPECT_EQ(art.at(29, 29), (qv::art::Rgb{255, 255, 255}));
    EXPECT_EQ(art.litCount(), 3);
}

TEST(ShippedSoundCues, EachCueIsAShortCleanSixteenBitMonoWave) {
    std::set<std::vector<std::uint8_t>> sounds;
    for (const char* cue : {qv::kCueShot, qv::kCueMissile, qv::kCueCapture, qv::kCueLanding, qv::kCueCollision,
                            qv::kCueShipBuilt, qv::kCueStepOpens, qv::kCueStepCloses}) {
        SCOPED_TRACE(cue);
        const std::vector<std::uint8_t> b = ReadFile(kDataOut + "/" + cue);
        ASSERT_GE(b.size(), 12u);
        ASSERT_EQ(std::string(b.begin(), b.begin() + 4) + std::string(b.begin() + 8, b.begin() + 12), "RIFFWAVE");
        ASSERT_EQ(U32(b, 4), b.size() - 8);
        std::vector<std::uint32_t> format;  // PCM, channels, rate, byte rate, block align, bits
        std::vector<std::int16_t> samples;
        for (std::size_t at = 12; at + 8 <= b.size();) {
            const std::string id(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at) + 4);
            const std::size_t size = U32(b, at + 4);
            ASSERT_LE(at + 8 + size, b.size()) << id << " runs past the end";
            if (id == "fmt ")
                format = {U16(b, at + 8),  U16(b, at + 10), U32(b, at + 12),
                          U32(b, at + 16), U16(b, at + 20), U16(b, at + 22)};
            if (id == "data") {
                ASSERT_EQ(format.size(), 6u) << "data before fmt";
                for (std::size_t i = 0; i + 1 < size; i += 2)
                    samples.push_back(static_cast<std::int16_t>(U16(b, at + 8 + i)));
            }
            at += 8 + size + (size & 1);
        }
        ASSERT_EQ(format.size(), 6u);
        const std::uint32_t rate = format[2];
        EXPECT_TRUE(rate == 22050 || rate == 44100) << rate;
        EXPECT_EQ(format, (std::vector<std::uint32_t>{1, 1, rate, rate * 2, 2, 16}));
        EXPECT_GE(samples.size(), rate / 20) << "at least 0.05 s";
        EXPECT_LE(samples.size(), rate * 2) << "at most 2 s";
        ASSERT_GE(samples.size(), 2u);
        int peak = 0;
        double energy = 0;
        for (const std::int16_t s : samples) {
            peak = std::max(peak, std::abs(int{s}));
            energy += static_cast<double>(s) * s;
        }
        // Audible, yet never at full scale, so never clipped; no click at the ends.
        EXPECT_TRUE(peak >= 32767 / 5 && peak <= 32767 * 95 / 100) << peak;
        EXPECT_GE(energy / static_cast<double>(samples.size()), 500.0 * 500.0) << "too quiet overall";
        EXPECT_LE(std::abs(int{samples.front()}), 1000);
        EXPECT_LE(std::abs(int{samples.back()}), 1000);
        EXPECT_TRUE(sounds.insert(b).second) << "the same sound as another cue";
    }
}

}  // namespace
