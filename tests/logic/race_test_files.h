// Race files and bitmaps written byte by byte into a temporary folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/records.h"
#include "support/bytes.h"
#include "support/temp_folder.h"

namespace qv::testing {

using TempDir = testsupport::TempFolder;

inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The bytes of a race file, field by field.
class RaceBytes {
public:
    RaceBytes& line(const std::string& text, const std::string& end = "\r\n") {
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        bytes_.insert(bytes_.end(), end.begin(), end.end());
        return *this;
    }
    RaceBytes& u16(unsigned v) {
        testsupport::PutLe16(bytes_, v & 0xFFFF);
        return *this;
    }
    RaceBytes& i32(std::int32_t v) {
        testsupport::PutLe32(bytes_, static_cast<std::uint32_t>(v));
        return *this;
    }
    RaceBytes& model(const std::string& name, const std::string& picture, std::int32_t speed, std::int32_t defence,
                     std::int32_t survey, std::int32_t hold, std::int32_t cost, const std::string& end = "\r\n") {
        line(name, end).line(picture, end);
        return i32(speed).i32(defence).i32(survey).i32(hold).i32(cost);
    }
    RaceBytes& weapon(const std::string& name, std::int32_t range, std::int32_t minDamage, std::int32_t maxDamage,
                      std::int32_t cost, const std::string& end = "\r\n") {
        return line(name, end).i32(range).i32(minDamage).i32(maxDamage).i32(cost);
    }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

// A sound race of models "M1".. and weapons "W1".., in file order.
inline std::vector<std::uint8_t> SimpleRace(const std::string& name, int models = 2, int weapons = 3,
                                            const std::string& picture = "none.bmp") {
    RaceBytes r;
    r.line("About " + name).line(name).u16(static_cast<unsigned>(models)).u16(static_cast<unsigned>(weapons));
    for (int i = 1; i <= models; ++i)
        r.model("M" + std::to_string(i), picture, 100 + i, 200 + i, 300 + i, i - 1, 1000 * i);
    for (int i = 1; i <= weapons; ++i) r.weapon("W" + std::to_string(i), 50 * i, 10 * i, 10 * i + 25, 400 * i);
    return r.bytes();
}

// A 24-bit bottom-up Windows bitmap (40-byte header) of the picture.
inline std::vector<std::uint8_t> Bitmap24(const Picture& pic) {
    using testsupport::PutLe16;
    using testsupport::PutLe32;
    const int rowBytes = (pic.width * 3 + 3) & ~3;
    const auto dataSize = static_cast<std::uint32_t>(rowBytes * pic.height);
    std::vector<std::uint8_t> b{'B', 'M'};
    for (std::uint32_t v :
         {54 + dataSize, 0u, 54u, 40u, static_cast<std::uint32_t>(pic.width), static_cast<std::uint32_t>(pic.height)})
        PutLe32(b, v);
    PutLe16(b, 1);
    PutLe16(b, 24);
    for (std::uint32_t v : {0u, dataSize, 2835u, 2835u, 0u, 0u}) PutLe32(b, v);
    for (int y = pic.height - 1; y >= 0; --y) {
        for (int x = 0; x < pic.width; ++x)
            for (int shift : {16, 8, 0}) b.push_back(static_cast<std::uint8_t>(pic.at(x, y) >> shift));  // B, G, R
        b.resize(b.size() + static_cast<std::size_t>(rowBytes - pic.width * 3), 0);
    }
    return b;
}

inline Picture BlankPicture(int width, int height) {
    return Picture{width, height, std::vector<Colour>(static_cast<std::size_t>(width) * height, 0)};
}

inline void Set(Picture& p, int x, int y, Colour c) { p.pixels[static_cast<std::size_t>(y) * p.width + x] = c; }

}  // namespace qv::testing
