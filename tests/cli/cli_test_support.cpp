#include "cli_test_support.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace qv::clitest {

RunResult RunCli(const std::vector<std::string>& args, const fs::path& cwd) {
    return testsupport::RunChild(kCli, args, {cwd, {"QUORVANE_DATA_DIR"}});
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

QJsonValue ParseJson(const std::string& text) {
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray(text.data(), static_cast<qsizetype>(text.size())), &error);
    if (error.error != QJsonParseError::NoError)
        throw std::runtime_error("not JSON at offset " + std::to_string(error.offset) + ": " +
                                 error.errorString().toStdString());
    if (document.isArray()) return document.array();
    return document.object();
}

std::set<std::string> Keys(const QJsonObject& object) {
    std::set<std::string> keys;
    for (const QString& key : object.keys()) keys.insert(key.toStdString());
    return keys;
}

std::string Text(const QJsonValue& value) { return value.toString().toStdString(); }

RaceBytes& RaceBytes::line(std::string_view text, std::string_view end) {
    bytes_.append(text);
    bytes_.append(end);
    return *this;
}

RaceBytes& RaceBytes::u16(std::uint16_t v) {
    bytes_ += static_cast<char>(v & 0xFF);
    bytes_ += static_cast<char>(v >> 8);
    return *this;
}

RaceBytes& RaceBytes::i32(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8) bytes_ += static_cast<char>((u >> shift) & 0xFF);
    return *this;
}

RaceBytes& RaceBytes::raw(std::string_view bytes) {
    bytes_.append(bytes);
    return *this;
}

RaceBytes& RaceBytes::model(std::string_view name, std::string_view picture, std::int32_t speed,
                            std::int32_t defence, std::int32_t survey, std::int32_t hold, std::int32_t cost,
                            std::string_view nameEnd, std::string_view pictureEnd) {
    line(name, nameEnd).line(picture, pictureEnd);
    return i32(speed).i32(defence).i32(survey).i32(hold).i32(cost);
}

RaceBytes& RaceBytes::weapon(std::string_view name, std::int32_t range, std::int32_t minDamage,
                             std::int32_t maxDamage, std::int32_t cost, std::string_view nameEnd) {
    line(name, nameEnd);
    return i32(range).i32(minDamage).i32(maxDamage).i32(cost);
}

std::string GoodRace(const std::string& name) {
    RaceBytes r;
    r.line("Made for the tests").line(name).u16(2).u16(3);
    r.model("Hauler", "hauler.bmp", 100, 120, 90, 2, 500);
    r.model("Raider", "raider.bmp", 200, 90, 120, 0, 700);
    r.weapon("Gun", 100, 10, 30, 300).weapon("Cannon", 80, 40, 70, 800).weapon("Beam", 200, 20, 35, 1200);
    return r.bytes();
}

}  // namespace qv::clitest
