// Text pixel art for the ship pictures: parsing a source and writing the
// 24-bit Windows bitmap the game loads. Used by quorvane-make-ship-pictures
// and by the tests of the shipped pictures.
//
// A source is plain text, one line at a time:
//   # any comment                 ignored (only at the start of a line)
//   palette: c = #RRGGBB          the character c stands for that colour
//   (an empty line)               ignored
//   any other line                one row of the picture, top row first
// There must be exactly kPixelArtSize rows of exactly kPixelArtSize
// characters. Two characters are built in and cannot be redefined:
//   .  black, which the game treats as transparent
//   W  pure white, which the game repaints in the owner's colour
// A palette entry may not be pure black (#000000): it would vanish on the
// map, so dark parts of a hull use a dark grey. A picture lights at least one
// pixel and at most kPixelArtMaxLit, the most the game keeps of a ship.
#pragma once

#include <array>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace qv::art {

inline constexpr int kPixelArtSize = 30;
inline constexpr int kPixelArtMaxLit = 700;

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
    bool black() const { return r == 0 && g == 0 && b == 0; }
    bool white() const { return r == 255 && g == 255 && b == 255; }
};

// A parsed picture: kPixelArtSize x kPixelArtSize colours, rows from the top.
struct PixelArt {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Rgb at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    int litCount() const {
        int n = 0;
        for (const Rgb& p : pixels) n += p.black() ? 0 : 1;
        return n;
    }
};

namespace detail {

inline std::string Trim(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    std::size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

inline int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads "#RRGGBB"; false on anything else.
inline bool ParseHexColour(const std::string& text, Rgb& out) {
    if (text.size() != 7 || text[0] != '#') return false;
    int v[6];
    for (int i = 0; i < 6; ++i) {
        v[i] = HexDigit(text[1 + i]);
        if (v[i] < 0) return false;
    }
    out.r = static_cast<std::uint8_t>(v[0] * 16 + v[1]);
    out.g = static_cast<std::uint8_t>(v[2] * 16 + v[3]);
    out.b = static_cast<std::uint8_t>(v[4] * 16 + v[5]);
    return true;
}

}  // namespace detail

// Parses the text of a source. On failure returns false and stores a one-line
// reason naming the line ("line 12: ...") in error.
inline bool ParsePixelArt(const std::string& text, PixelArt& out, std::string& error) {
    out = PixelArt{};
    std::array<bool, 256> defined{};
    std::array<Rgb, 256> colour{};
    defined['.'] = true;
    colour['.'] = Rgb{0, 0, 0};
    defined['W'] = true;
    colour['W'] = Rgb{255, 255, 255};

    std::vector<std::string> rows;
    std::vector<int> rowLines;
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    auto fail = [&](int at, const std::string& why) {
        error = "line " + std::to_string(at) + ": " + why;
        out = PixelArt{};
        return false;
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("palette:", 0) == 0) {
            if (!rows.empty()) return fail(lineNo, "palette entries must come before the rows");
            std::string rest = line.substr(8);
            std::size_t eq = rest.find('=');
            if (eq == std::string::npos) return fail(lineNo, "expected 'palette: c = #RRGGBB'");
            std::string key = detail::Trim(rest.substr(0, eq));
            std::string value = detail::Trim(rest.substr(eq + 1));
            if (key.size() != 1) return fail(lineNo, "a palette entry names one character, not '" + key + "'");
            unsigned char c = static_cast<unsigned char>(key[0]);
            if (c == '.' || c == 'W')
                return fail(lineNo, std::string("'") + key + "' is built in and cannot be redefined");
            if (c == '#' || c <= ' ' || c >= 127)
                return fail(lineNo, "'" + key + "' cannot be a palette character");
            if (defined[c]) return fail(lineNo, "'" + key + "' is defined twice");
            Rgb rgb;
            if (!detail::ParseHexColour(value, rgb)) return fail(lineNo, "bad colour '" + value + "', expected #RRGGBB");
            if (rgb.black()) return fail(lineNo, "pure black is transparent; use '.' or a dark grey");
            defined[c] = true;
            colour[c] = rgb;
            continue;
        }
        rows.push_back(line);
        rowLines.push_back(lineNo);
    }

    if (rows.size() != static_cast<std::size_t>(kPixelArtSize))
        return fail(lineNo, "expected " + std::to_string(kPixelArtSize) + " rows, found " +
                                std::to_string(rows.size()));
    out.width = kPixelArtSize;
    out.height = kPixelArtSize;
    out.pixels.reserve(static_cast<std::size_t>(kPixelArtSize) * kPixelArtSize);
    for (std::size_t y = 0; y < rows.size(); ++y) {
        const std::string& row = rows[y];
        if (row.size() != static_cast<std::size_t>(kPixelArtSize))
            return fail(rowLines[y], "row has " + std::to_string(row.size()) + " characters, expected " +
                                         std::to_string(kPixelArtSize));
        for (std::size_t x = 0; x < row.size(); ++x) {
            unsigned char c = static_cast<unsigned char>(row[x]);
            if (!defined[c])
                return fail(rowLines[y], "unknown character '" + std::string(1, row[x]) + "' in column " +
                                             std::to_string(x + 1));
            out.pixels.push_back(colour[c]);
        }
    }
    int lit = out.litCount();
    if (lit == 0) return fail(lineNo, "no lit pixels: the ship would be invisible");
    if (lit > kPixelArtMaxLit)
        return fail(lineNo, std::to_string(lit) + " lit pixels, more than the " +
                                std::to_string(kPixelArtMaxLit) + " the game keeps");
    error.clear();
    return true;
}

// Reads and parses a source file.
inline bool LoadPixelArt(const std::string& path, PixelArt& out, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open " + path;
        out = PixelArt{};
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (!ParsePixelArt(text.str(), out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

// Encodes a picture as an uncompressed 24-bit bottom-up Windows bitmap with the
// 40-byte info header: 14 + 40 header bytes, then rows of blue-green-red
// triples from the bottom row up, each row padded to a multiple of 4 bytes.
inline std::vector<std::uint8_t> EncodeBitmap(const PixelArt& art) {
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(art.width) * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(art.height);
    const std::uint32_t offset = 14 + 40;
    const std::uint32_t fileBytes = offset + imageBytes;
    std::vector<std::uint8_t> out;
    out.reserve(fileBytes);
    auto u16 = [&](std::uint32_t v) {
        out.push_back(static_cast<std::uint8_t>(v & 0xFF));
        out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    };
    auto u32 = [&](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    // File header.
    out.push_back('B');
    out.push_back('M');
    u32(fileBytes);
    u16(0);
    u16(0);
    u32(offset);
    // Info header.
    u32(40);
    u32(static_cast<std::uint32_t>(art.width));
    u32(static_cast<std::uint32_t>(art.height));  // positive: bottom-up
    u16(1);                                       // planes
    u16(24);                                      // bits per pixel
    u32(0);                                       // no compression
    u32(imageBytes);
    u32(2835);  // 72 dots per inch, as pixels per metre
    u32(2835);
    u32(0);  // no colour table
    u32(0);
    for (int y = art.height - 1; y >= 0; --y) {
        for (int x = 0; x < art.width; ++x) {
            Rgb p = art.at(x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(art.width) * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    return out;
}

}  // namespace qv::art
