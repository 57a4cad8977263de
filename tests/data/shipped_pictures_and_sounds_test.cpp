// The ship pictures and sound cues the build writes into the ready data
// folder: plain bitmaps of their sources, visible and owner-coloured;
// distinct, clean, short 16-bit mono waves for every cue the game plays.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

#include "../../tools/pixel_art.h"
#include "model/bitmap.h"
#include "model/sound_cues.h"

namespace {

std::vector<std::uint8_t> ReadFile(const std::string& name) {
    std::ifstream in(QUORVANE_DATA_OUT "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
std::uint32_t U16(const std::vector<std::uint8_t>& b, std::size_t at) { return b[at] | std::uint32_t{b[at + 1]} << 8; }
std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

TEST(ShippedShipPictures, PlainBitmapsOfTheirSourceWithAnOwnerColouredHullAndAccents) {
    for (const std::string name :
         {"compact_mule", "compact_lancer", "compact_warden", "compact_bastion", "vess_gatherer", "vess_stinger",
          "vess_hornet", "vess_queen", "korrath_barge", "korrath_talon", "korrath_ironclad", "korrath_dreadnought",
          "elyssi_seed", "elyssi_whisper", "elyssi_lumen", "elyssi_cantor"}) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> b = ReadFile(name + ".bmp");
        // The classic layout: 24 bits, no compression, 92-byte rows bottom-up.
        ASSERT_EQ(b.size(), 54u + 30u * 92u);
        EXPECT_EQ((std::vector<std::uint32_t>{U16(b, 0), U32(b, 2), U32(b, 10), U32(b, 14), U32(b, 18), U32(b, 22),
                                              U16(b, 26), U16(b, 28), U32(b, 30)}),
                  (std::vector<std::uint32_t>{0x4D42, 54 + 30 * 92, 54, 40, 30, 30, 1, 24, 0}));
        qv::Picture picture;
        qv::art::PixelArt art;
        std::string error;
        ASSERT_TRUE(qv::LoadBitmap(QUORVANE_DATA_OUT "/" + name + ".bmp", name, picture, &error)) << error;
        ASSERT_TRUE(qv::art::LoadPixelArt(QUORVANE_SOURCE_DIR "/data/ships/" + name + ".txt", art, error)) << error;
        std::vector<qv::Colour> source;
        for (const qv::art::Rgb c : art.pixels) source.push_back(c.r | c.g << 8 | c.b << 16);
        EXPECT_TRUE(picture.width == art.width && picture.pixels == source) << "not the picture its source draws";
        // Readable on the map within the pixels the game keeps; white, which
        // takes the owner's colour, shows without drowning the race's own.
        const auto lit = std::count_if(picture.pixels.begin(), picture.pixels.end(), [](auto c) { return c != 0; });
        const auto white = std::count(picture.pixels.begin(), picture.pixels.end(), 0xFFFFFFu);
        EXPECT_TRUE(lit >= 80 && lit <= qv::kPixelListSize) << lit;
        EXPECT_TRUE(white * 100 >= lit * 15 && white * 100 <= lit * 70) << white << " white of " << lit;
        EXPECT_GE(std::set<qv::Colour>(picture.pixels.begin(), picture.pixels.end()).size(), 5u) << "three accents";
    }
}

TEST(ShippedSoundCues, EachCueIsAShortCleanSixteenBitMonoWave) {
    std::set<std::vector<std::uint8_t>> sounds;
    for (const char* cue : {qv::kCueShot, qv::kCueMissile, qv::kCueCapture, qv::kCueLanding, qv::kCueCollision,
                            qv::kCueShipBuilt, qv::kCueStepOpens, qv::kCueStepCloses}) {
        SCOPED_TRACE(cue);
        const std::vector<std::uint8_t> b = ReadFile(cue);
        // The plain 44-byte header: RIFF/WAVE, a 16-byte fmt chunk of PCM,
        // one channel, 22050 or 44100 Hz, 16 bits; then the data chunk.
        ASSERT_GE(b.size(), 44u);
        EXPECT_EQ(std::string(b.begin(), b.begin() + 4) + std::string(b.begin() + 8, b.begin() + 16) +
                      std::string(b.begin() + 36, b.begin() + 40),
                  "RIFFWAVEfmt data");
        const auto size = static_cast<std::uint32_t>(b.size()), rate = U32(b, 24);
        EXPECT_TRUE(rate == 22050 || rate == 44100) << rate;
        EXPECT_EQ((std::vector<std::uint32_t>{U32(b, 4), U32(b, 16), U16(b, 20), U16(b, 22), U32(b, 28), U16(b, 32),
                                              U16(b, 34), U32(b, 40)}),
                  (std::vector<std::uint32_t>{size - 8, 16, 1, 1, rate * 2, 2, 16, size - 44}));
        std::vector<std::int16_t> samples;
        for (std::size_t at = 44; at + 1 < b.size(); at += 2) samples.push_back(static_cast<std::int16_t>(U16(b, at)));
        ASSERT_TRUE(samples.size() >= rate / 20 && samples.size() <= rate * 2) << "0.05 to 2 s";
        int peak = 0;
        for (const std::int16_t s : samples) peak = std::max(peak, std::abs(int{s}));
        // Audible, yet never at full scale, so never clipped; no click at the ends.
        EXPECT_TRUE(peak >= 32767 / 5 && peak <= 32767 * 95 / 100) << peak;
        EXPECT_LE(std::max(std::abs(int{samples.front()}), std::abs(int{samples.back()})), 1000);
        EXPECT_TRUE(sounds.insert(b).second) << "the same sound as another cue";
    }
}

}  // namespace
