#include "model/race_file.h"

#include "model/counted.h"

namespace qv {

namespace {

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t pos() const { return pos_; }

    // A text line up to LF or CR; after a CR exactly one more byte is
    // consumed. False when the data ends before a line end.
    bool line(std::string& text, std::string& end) {
        std::size_t start = pos_;
        while (pos_ < size_ && data_[pos_] != '\n' && data_[pos_] != '\r') ++pos_;
        text.assign(reinterpret_cast<const char*>(data_ + start), pos_ - start);
        if (pos_ >= size_) return false;
        if (data_[pos_] == '\n') {
            end = "\n";
            ++pos_;
            return true;
        }
        if (pos_ + 1 >= size_) {
            pos_ = size_;
            return false;
        }
        end.assign(reinterpret_cast<const char*>(data_ + pos_), 2);
        pos_ += 2;
        return true;
    }

    bool u16(std::int32_t& v) {
        if (size_ - pos_ < 2) return false;
        v = static_cast<std::int32_t>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return true;
    }

    bool i32(std::int32_t& v) {
        if (size_ - pos_ < 4) return false;
        std::uint32_t u = static_cast<std::uint32_t>(data_[pos_]) |
                          (static_cast<std::uint32_t>(data_[pos_ + 1]) << 8) |
                          (static_cast<std::uint32_t>(data_[pos_ + 2]) << 16) |
                          (static_cast<std::uint32_t>(data_[pos_ + 3]) << 24);
        v = static_cast<std::int32_t>(u);
        pos_ += 4;
        return true;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

void PutLine(std::vector<std::uint8_t>& out, const std::string& text, const std::string& end) {
    out.insert(out.end(), text.begin(), text.end());
    out.insert(out.end(), end.begin(), end.end());
}

void PutU16(std::vector<std::uint8_t>& out, std::size_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void PutI32(std::vector<std::uint8_t>& out, std::int32_t v) {
    auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>((u >> (8 * i)) & 0xFF));
}

bool ValidEnd(const std::string& end) {
    return end == "\n" || (end.size() == 2 && end[0] == '\r');
}

bool ValidText(const std::string& text) {
    return text.find_first_of("\r\n") == std::string::npos;
}

}  // namespace

bool ParseRaceFile(const std::uint8_t* data, std::size_t size, RaceFile& out,
                   std::string& error) {
    out = RaceFile{};
    Reader in(data, size);
    std::int32_t modelCount = 0;
    std::int32_t weaponCount = 0;
    if (!in.line(out.description, out.descriptionEnd) || !in.line(out.name, out.nameEnd) ||
        !in.u16(modelCount) || !in.u16(weaponCount)) {
        error = "the file ends before its ship model and weapon counts";
        return false;
    }
    // Each model takes at least 22 bytes (two empty lines ending in LF and
    // five numbers) and each weapon 17 (one empty line and four numbers): a
    // count the file cannot hold is found before anything is allocated for it.
    std::size_t left = size - in.pos();
    if (static_cast<std::size_t>(modelCount) * 22 + static_cast<std::size_t>(weaponCount) * 17 >
        left) {
        error = "the file ends before the " + Counted(modelCount, "ship model") + " and " +
                Counted(weaponCount, "weapon") + " it announces";
        return false;
    }
    out.models.resize(static_cast<std::size_t>(modelCount));
    for (std::size_t i = 0; i < out.models.size(); ++i) {
        RaceFileModel& m = out.models[i];
        if (!in.line(m.name, m.nameEnd) || !in.line(m.pictureFile, m.pictureFileEnd) ||
            !in.i32(m.speed) || !in.i32(m.defence) || !in.i32(m.survey) || !in.i32(m.hold) ||
            !in.i32(m.cost)) {
            error = "the file ends inside ship model " + std::to_string(i + 1);
            return false;
        }
    }
    out.weapons.resize(static_cast<std::size_t>(weaponCount));
    for (std::size_t i = 0; i < out.weapons.size(); ++i) {
        RaceFileWeapon& w = out.weapons[i];
        if (!in.line(w.name, w.nameEnd) || !in.i32(w.range) || !in.i32(w.minDamage) ||
            !in.i32(w.maxDamage) || !in.i32(w.cost)) {
            error = "the file ends inside weapon " + std::to_string(i + 1);
            return false;
        }
    }
    out.trailing.assign(reinterpret_cast<const char*>(data + in.pos()), size - in.pos());
    return true;
}

std::string ValidateRaceFile(const RaceFile& race) {
    if (race.models.empty()) return "the race has no ship model";
    if (race.weapons.size() < 3)
        return "the race has " + std::to_string(race.weapons.size()) +
               (race.weapons.size() == 1 ? " weapon" : " weapons") + ", it needs at least three";
    if (race.models.size() > 0xFFFF) return "the race has more than 65535 ship models";
    if (race.weapons.size() > 0xFFFF) return "the race has more than 65535 weapons";
    for (std::size_t i = 0; i < race.weapons.size(); ++i) {
        const RaceFileWeapon& w = race.weapons[i];
        if (w.maxDamage <= w.minDamage)
            return "weapon " + std::to_string(i + 1) + " \"" + w.name + "\" has a damage bound (" +
                   std::to_string(w.maxDamage) + ") that is not above its least damage (" +
                   std::to_string(w.minDamage) + ")";
    }
    auto checkLine = [](const std::string& text, const std::string& end,
                        const std::string& what) -> std::string {
        if (!ValidText(text)) return what + " holds a line-end character";
        if (!ValidEnd(end)) return what + " has a line end that is neither LF nor CR LF";
        return {};
    };
    std::string why = checkLine(race.description, race.descriptionEnd, "the description");
    if (why.empty()) why = checkLine(race.name, race.nameEnd, "the race name");
    for (std::size_t i = 0; why.empty() && i < race.models.size(); ++i) {
        const RaceFileModel& m = race.models[i];
        std::string what = "ship model " + std::to_string(i + 1);
        why = checkLine(m.name, m.nameEnd, what + "'s name");
        if (why.empty()) why = checkLine(m.pictureFile, m.pictureFileEnd, what + "'s picture file");
    }
    for (std::size_t i = 0; why.empty() && i < race.weapons.size(); ++i)
        why = checkLine(race.weapons[i].name, race.weapons[i].nameEnd,
                        "weapon " + std::to_string(i + 1) + "'s name");
    return why;
}

std::vector<std::uint8_t> SerializeRaceFile(const RaceFile& race) {
    std::vector<std::uint8_t> out;
    PutLine(out, race.description, race.descriptionEnd);
    PutLine(out, race.name, race.nameEnd);
    PutU16(out, race.models.size());
    PutU16(out, race.weapons.size());
    for (const RaceFileModel& m : race.models) {
        PutLine(out, m.name, m.nameEnd);
        PutLine(out, m.pictureFile, m.pictureFileEnd);
        for (std::int32_t v : {m.speed, m.defence, m.survey, m.hold, m.cost}) PutI32(out, v);
    }
    for (const RaceFileWeapon& w : race.weapons) {
        PutLine(out, w.name, w.nameEnd);
        for (std::int32_t v : {w.range, w.minDamage, w.maxDamage, w.cost}) PutI32(out, v);
    }
    out.insert(out.end(), race.trailing.begin(), race.trailing.end());
    return out;
}

}  // namespace qv
