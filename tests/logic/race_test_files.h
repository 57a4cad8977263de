// Helpers for tests that need race files and ship pictures on disk.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "model/records.h"
#include "support/bytes.h"

namespace qv::testing {

// A fresh empty folder under the system's temporary folder, removed again
// when the object goes.
class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("quorvane-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Builds the bytes of a race file field by field.
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
    RaceBytes& model(const std::string& name, const std::string& picture, std::int32_t speed,
                     std::int32_t defence, std::int32_t survey, std::int32_t hold,
                     std::int32_t cost, const std::string& end = "\r\n") {
        line(name, end).line(picture, end);
        return i32(speed).i32(defence).i32(survey).i32(hold).i32(cost);
    }
    RaceBytes& weapon(const std::string& name, std::int32_t range, std::int32_t minDamage,
                      std::int32_t maxDamage, std::int32_t cost, const std::string& end = "\r\n") {
        line(name, end);
        return i32(range).i32(minDamage).i32(maxDamage).i32(cost);
    }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

// A sound race: header, `models` ship models and `weapons` weapons, named so
// that file order can be checked ("M1", "M2"..., "W1", "W2"...).
inline std::vector<std::uint8_t> SimpleRace(const std::string& name, int models = 2,
                                            int weapons = 3,
                                            const std::string& picture = "none.bmp") {
    RaceBytes r;
    r.line("About " + name).line(name).u16(static_cast<unsigned>(models)).u16(static_cast<unsigned>(weapons));
    for (int i = 1; i <= models; ++i)
        r.model("M" + std::to_string(i), picture, 100 + i, 200 + i, 300 + i, i - 1, 1000 * i);
    for (int i = 1; i <= weapons; ++i) r.weapon("W" + std::to_string(i), 50 * i, 10 * i, 10 * i + 25, 400 * i);
    return r.bytes();
}

// A 24-bit bottom-up Windows bitmap (40-byte header) of the given picture.
inline std::vector<std::uint8_t> Bitmap24(const Picture& pic) {
    const int rowBytes = (pic.width * 3 + 3) & ~3;
    const std::uint32_t dataSize = static_cast<std::uint32_t>(rowBytes * pic.height);
    std::vector<std::uint8_t> b;
    auto u16 = [&](unsigned v) {
        b.push_back(static_cast<std::uint8_t>(v));
        b.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    b.push_back('B');
    b.push_back('M');
    u32(54 + dataSize);
    u32(0);
    u32(54);
    u32(40);
    u32(static_cast<std::uint32_t>(pic.width));
    u32(static_cast<std::uint32_t>(pic.height));
    u16(1);
    u16(24);
    u32(0);
    u32(dataSize);
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    for (int y = pic.height - 1; y >= 0; --y) {
        int written = 0;
        for (int x = 0; x < pic.width; ++x) {
            Colour c = pic.at(x, y);
            b.push_back(static_cast<std::uint8_t>(c >> 16));  // blue
            b.push_back(static_cast<std::uint8_t>(c >> 8));   // green
            b.push_back(static_cast<std::uint8_t>(c));        // red
            written += 3;
        }
        for (; written < rowBytes; ++written) b.push_back(0);
    }
    return b;
}

inline Picture BlankPicture(int width, int height) {
    Picture p;
    p.width = width;
    p.height = height;
    p.pixels.assign(static_cast<std::size_t>(width) * height, 0);
    return p;
}

inline void Set(Picture& p, int x, int y, Colour c) {
    p.pixels[static_cast<std::size_t>(y) * p.width + x] = c;
}

}  // namespace qv::testing
