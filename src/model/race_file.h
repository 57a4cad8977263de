// The byte layout of a race file, independent of the game records: text
// lines (ending in LF or CR LF) mixed with little-endian numbers, read front
// to back. Used by the race loader and by the race authoring commands.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

struct RaceFileModel {
    std::string name;
    std::string pictureFile;
    std::int32_t speed = 0;
    std::int32_t defence = 0;
    std::int32_t survey = 0;
    std::int32_t hold = 0;
    std::int32_t cost = 0;
    // How each text line ended in the file: "\r\n", "\n", or "\r" followed by
    // the one byte consumed after it.
    std::string nameEnd = "\r\n";
    std::string pictureFileEnd = "\r\n";
};

struct RaceFileWeapon {
    std::string name;
    std::int32_t range = 0;
    std::int32_t minDamage = 0;
    std::int32_t maxDamage = 0;
    std::int32_t cost = 0;
    std::string nameEnd = "\r\n";
};

// A race file's contents in file order.
struct RaceFile {
    std::string description;
    std::string name;
    std::string descriptionEnd = "\r\n";
    std::string nameEnd = "\r\n";
    std::vector<RaceFileModel> models;
    std::vector<RaceFileWeapon> weapons;
    std::string trailing;  // bytes after the last weapon (ignored by the game)
};

// Reads the bytes of a race file. A file that ends before the last field its
// counts promise is refused: returns false with the reason in error.
bool ParseRaceFile(const std::uint8_t* data, std::size_t size, RaceFile& out,
                   std::string& error);
inline bool ParseRaceFile(const std::vector<std::uint8_t>& bytes, RaceFile& out,
                          std::string& error) {
    return ParseRaceFile(bytes.data(), bytes.size(), out, error);
}

// Checks what the game needs of a race: at least one ship model, at least
// three weapons, every weapon's damage bound above its least damage, and a
// layout that can be written (counts that fit 16 bits, text lines without
// line-end characters, valid line ends). Returns an empty string when the
// race is sound, else the reason.
std::string ValidateRaceFile(const RaceFile& race);

// Writes the bytes of a race file (no validation).
std::vector<std::uint8_t> SerializeRaceFile(const RaceFile& race);

}  // namespace qv
