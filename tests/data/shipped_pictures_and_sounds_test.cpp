// The ship pictures and sound cues the build generates into the ready data
// folder: the game must be able to load them and they must be usable as they
// are (visible, owner-coloured, distinct; clean 16-bit mono waves).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "../../tools/pixel_art.h"
#include "model/bitmap.h"

namespace {

const std::array<const char*, 16> kShipPictures = {
    "compact_mule",  "compact_lancer", "compact_warden",   "compact_bastion",
    "vess_gatherer", "vess_stinger",   "vess_hornet",      "vess_queen",
    "korrath_barge", "korrath_talon",  "korrath_ironclad", "korrath_dreadnought",
    "elyssi_seed",   "elyssi_whisper", "elyssi_lumen",     "elyssi_cantor",
};

const std::array<const char*, 8> kSoundCues = {
    "BldShip.wav", "Feedbk03.wav", "Feedbk04.wav", "FirstW.wav",
    "Landing.wav", "Medexpl.wav",  "PCapture.wav", "Stinger.wav",
};

const std::string kDataOut = QUORVANE_DATA_OUT;
const std::string kSourceDir = QUORVANE_SOURCE_DIR;

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8;
}
std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return U16(b, at) | U16(b, at + 2) << 16;
}

qv::Colour ToColour(qv::art::Rgb p) {
    return static_cast<qv::Colour>(p.r) | static_cast<qv::Colour>(p.g) << 8 |
           static_cast<qv::Colour>(p.b) << 16;
}

// ---------------------------------------------------------------- pictures

TEST(ShippedShipPictures, EachLoadsAs30By30WithAnOwnerColouredHullAndAccents) {
    for (const char* name : kShipPictures) {
        SCOPED_TRACE(name);
        qv::Picture picture;
        std::string error;
        ASSERT_TRUE(qv::LoadBitmap(kDataOut + "/" + name + ".bmp", std::string(name) + ".bmp", picture, &error))
            << error;
        ASSERT_EQ(picture.width, 30);
        ASSERT_EQ(picture.height, 30);

        int lit = 0, white = 0;
        std::set<qv::Colour> accents;
        for (qv::Colour c : picture.pixels) {
            if (c == 0) continue;
            ++lit;
            if (c == 0xFFFFFF) ++white;
            else accents.insert(c);
        }
        // Enough to read as a ship on the map, within the pixels the game keeps.
        EXPECT_GE(lit, 80);
        EXPECT_LE(lit, qv::kPixelListSize);
        // White is repainted in the owner's colour: it must show, without
        // drowning the race's own colours.
        EXPECT_GE(white * 100, lit * 15) << white << " white of " << lit;
        EXPECT_LE(white * 100, lit * 70) << white << " white of " << lit;
        EXPECT_GE(accents.size(), 3u);
    }
}

TEST(ShippedShipPictures, NoTwoPicturesAreAlike) {
    std::vector<qv::Picture> pictures;
    for (const char* name : kShipPictures) {
        qv::Picture picture;
        std::string error;
        ASSERT_TRUE(qv::LoadBitmap(kDataOut + "/" + name + ".bmp", name, picture, &error)) << name << ": " << error;
        pictures.push_back(picture);
    }
    for (std::size_t a = 0; a < pictures.size(); ++a) {
        for (std::size_t b = a + 1; b < pictures.size(); ++b) {
            int differing = 0;
            for (std::size_t i = 0; i < pictures[a].pixels.size(); ++i)
                differing += pictures[a].pixels[i] != pictures[b].pixels[i] ? 1 : 0;
            // Far more than a recoloured or nudged copy would differ by.
            EXPECT_GE(differing, 60) << kShipPictures[a] << " vs " << kShipPictures[b];
        }
    }
}

TEST(ShippedShipPictures, EachIsAPlain24BitBitmapOfItsSource) {
    for (const char* name : kShipPictures) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> bytes = ReadFile(kDataOut + "/" + name + ".bmp");
        ASSERT_GE(bytes.size(), 54u);
        // The classic layout every bitmap reader understands: 24 bits, no
        // compression, rows bottom-up (a positive height).
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 2), "BM");
        EXPECT_EQ(U32(bytes, 2), bytes.size());
        EXPECT_EQ(std::vector<std::uint32_t>({U32(bytes, 10), U32(bytes, 14), U32(bytes, 18), U32(bytes, 22),
                                              U16(bytes, 26), U16(bytes, 28), U32(bytes, 30)}),
                  std::vector<std::uint32_t>({54, 40, 30, 30, 1, 24, 0}));
        EXPECT_EQ(bytes.size(), 54u + 30u * 92u);  // 90 bytes a row, padded to 92

        // What the game decodes is what the source draws.
        qv::art::PixelArt art;
        std::string error;
        ASSERT_TRUE(qv::art::LoadPixelArt(kSourceDir + "/data/ships/" + name + ".txt", art, error)) << error;
        qv::Picture picture;
        ASSERT_TRUE(qv::DecodeBitmap(bytes, picture, &error)) << error;
        ASSERT_EQ(picture.width, art.width);
        ASSERT_EQ(picture.height, art.height);
        for (int y = 0; y < art.height; ++y)
            for (int x = 0; x < art.width; ++x)
                ASSERT_EQ(picture.at(x, y), ToColour(art.at(x, y))) << "at " << x << "," << y;
    }
}

// ----------------------------------------------------------- picture tool

TEST(PixelArtSource, ReadsCommentsPaletteAndRowsFromTheTop) {
    std::string rows;
    for (int y = 0; y < 30; ++y) {
        std::string row(30, '.');
        if (y == 0) row[0] = 'a';
        if (y == 29) row[29] = 'W';
        if (y == 10) row[3] = 'b';
        rows += row + "\r\n";  // sources edited on Windows still read
    }
    const std::string text = "# a comment\r\n\r\npalette: a = #102030\r\npalette:b=#a0B0c0\r\n" + rows;
    qv::art::PixelArt art;
    std::string error;
    ASSERT_TRUE(qv::art::ParsePixelArt(text, art, error)) << error;
    ASSERT_EQ(art.width, 30);
    ASSERT_EQ(art.height, 30);
    EXPECT_EQ(art.at(0, 0), (qv::art::Rgb{0x10, 0x20, 0x30}));
    EXPECT_EQ(art.at(3, 10), (qv::art::Rgb{0xA0, 0xB0, 0xC0}));
    EXPECT_EQ(art.at(29, 29), (qv::art::Rgb{255, 255, 255}));
    EXPECT_EQ(art.at(1, 0), (qv::art::Rgb{0, 0, 0}));
    EXPECT_EQ(art.litCount(), 3);
}

TEST(PixelArtSource, EncodedBitmapDecodesToTheSamePicture) {
    // Every pixel distinct, so a flipped, mirrored, shifted or channel-swapped
    // encoding cannot come back equal.
    qv::art::PixelArt art;
    art.width = art.height = 30;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            art.pixels.push_back(qv::art::Rgb{static_cast<std::uint8_t>(8 * x + 1), static_cast<std::uint8_t>(8 * y),
                                              static_cast<std::uint8_t>(255 - 4 * x - 3 * y)});
    const std::vector<std::uint8_t> bytes = qv::art::EncodeBitmap(art);
    ASSERT_EQ(bytes.size(), 2814u);
    EXPECT_EQ(U32(bytes, 34), 30u * 92u);  // image size in the info header
    // The last stored row is the top row, blue first.
    EXPECT_EQ(bytes[54 + 29 * 92], art.at(0, 0).b);
    EXPECT_EQ(bytes[54 + 29 * 92 + 2], art.at(0, 0).r);

    qv::Picture picture;
    std::string error;
    ASSERT_TRUE(qv::DecodeBitmap(bytes, picture, &error)) << error;
    ASSERT_EQ(picture.width, 30);
    ASSERT_EQ(picture.height, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) ASSERT_EQ(picture.at(x, y), ToColour(art.at(x, y))) << x << "," << y;
}

// ------------------------------------------------------------------ sounds

struct Wave {
    std::uint32_t format = 0, channels = 0, rate = 0, byteRate = 0, blockAlign = 0, bits = 0;
    std::vector<std::int16_t> samples;
};

// Walks the RIFF chunks of a wave file; false (with a reason) when the file
// is not a well-formed RIFF/WAVE with one fmt and one data chunk.
bool ReadWave(const std::vector<std::uint8_t>& b, Wave& out, std::string& why) {
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 12) != "WAVE") {
        why = "not RIFF/WAVE";
        return false;
    }
    if (U32(b, 4) != b.size() - 8) {
        why = "RIFF size " + std::to_string(U32(b, 4)) + " for a file of " + std::to_string(b.size());
        return false;
    }
    bool haveFmt = false, haveData = false;
    std::size_t at = 12;
    while (at + 8 <= b.size()) {
        const std::string id(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at) + 4);
        const std::size_t size = U32(b, at + 4);
        if (at + 8 + size > b.size()) {
            why = "chunk " + id + " runs past the end";
            return false;
        }
        if (id == "fmt ") {
            if (size < 16) {
                why = "short fmt chunk";
                return false;
            }
            out.format = U16(b, at + 8);
            out.channels = U16(b, at + 10);
            out.rate = U32(b, at + 12);
            out.byteRate = U32(b, at + 16);
            out.blockAlign = U16(b, at + 20);
            out.bits = U16(b, at + 22);
            haveFmt = true;
        } else if (id == "data") {
            if (!haveFmt || size % 2 != 0) {
                why = "data before fmt, or an odd data size";
                return false;
            }
            for (std::size_t i = 0; i < size; i += 2)
                out.samples.push_back(static_cast<std::int16_t>(U16(b, at + 8 + i)));
            haveData = true;
        }
        at += 8 + size + (size & 1);
    }
    if (!haveFmt || !haveData) {
        why = "missing fmt or data chunk";
        return false;
    }
    return true;
}

TEST(ShippedSoundCues, EachIsAShortCleanSixteenBitMonoWave) {
    for (const char* name : kSoundCues) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> bytes = ReadFile(kDataOut + "/" + name);
        ASSERT_FALSE(bytes.empty()) << "missing " << kDataOut << "/" << name;
        Wave wave;
        std::string why;
        ASSERT_TRUE(ReadWave(bytes, wave, why)) << why;
        EXPECT_EQ(wave.format, 1u);  // PCM
        EXPECT_EQ(wave.channels, 1u);
        EXPECT_TRUE(wave.rate == 22050 || wave.rate == 44100) << wave.rate;
        EXPECT_EQ(wave.bits, 16u);
        EXPECT_EQ(wave.blockAlign, 2u);
        EXPECT_EQ(wave.byteRate, wave.rate * 2);
        ASSERT_GT(wave.rate, 0u);

        const double seconds = static_cast<double>(wave.samples.size()) / wave.rate;
        EXPECT_GE(seconds, 0.05);
        EXPECT_LE(seconds, 2.0);

        int peak = 0;
        double energy = 0;
        for (std::int16_t s : wave.samples) {
            peak = std::max(peak, std::abs(static_cast<int>(s)));
            energy += static_cast<double>(s) * s;
        }
        // Audible, yet never at full scale, so never clipped.
        EXPECT_GE(peak, 32767 / 5);
        EXPECT_LE(peak, 32767 * 95 / 100);
        EXPECT_GE(energy / static_cast<double>(wave.samples.size()), 500.0 * 500.0) << "too quiet overall";
        // Starts and stops near silence: no click.
        ASSERT_GE(wave.samples.size(), 2u);
        EXPECT_LE(std::abs(static_cast<int>(wave.samples.front())), 1000);
        EXPECT_LE(std::abs(static_cast<int>(wave.samples.back())), 1000);
    }
}

TEST(ShippedSoundCues, NoTwoCuesAreTheSameSound) {
    std::vector<std::vector<std::int16_t>> all;
    for (const char* name : kSoundCues) {
        Wave wave;
        std::string why;
        ASSERT_TRUE(ReadWave(ReadFile(kDataOut + "/" + name), wave, why)) << name << ": " << why;
        all.push_back(wave.samples);
    }
    for (std::size_t a = 0; a < all.size(); ++a)
        for (std::size_t b = a + 1; b < all.size(); ++b)
            EXPECT_NE(all[a], all[b]) << kSoundCues[a] << " and " << kSoundCues[b];
}

}  // namespace
