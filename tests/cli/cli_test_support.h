// Helpers for the tests of quorvane-cli: the tool run as a child process,
// files as bytes, race files put together byte by byte, and the tool's JSON
// read back with Qt's reader (the tool writes its JSON itself, so the reader
// is an independent check of it).
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "../support/child_process.h"
#include "../support/temp_folder.h"

namespace qv::clitest {

namespace fs = std::filesystem;
using RunResult = testsupport::ChildResult;
using ScratchDir = testsupport::TempFolder;

inline const std::string kCli = QUORVANE_CLI;
inline const fs::path kDataOut = QUORVANE_DATA_OUT;
inline const fs::path kSourceDir = QUORVANE_SOURCE_DIR;
inline const std::string kData = kDataOut.string();

// Runs quorvane-cli with args in the folder cwd (the test's folder when
// empty), without QUORVANE_DATA_DIR in its environment.
RunResult RunCli(const std::vector<std::string>& args, const fs::path& cwd = {});

// The lines of text (without their line feeds).
std::vector<std::string> Lines(const std::string& text);

std::string ReadBytes(const fs::path& path);
void WriteBytes(const fs::path& path, std::string_view bytes);

// A JSON text read by Qt: the object or array it holds; throws
// std::runtime_error with Qt's reason when it is not JSON.
QJsonValue ParseJson(const std::string& text);
std::set<std::string> Keys(const QJsonObject& object);
std::string Text(const QJsonValue& value);  // a string value as UTF-8

// A race file put together field by field.
class RaceBytes {
public:
    RaceBytes& line(std::string_view text, std::string_view end = "\r\n");
    RaceBytes& u16(std::uint16_t v);
    RaceBytes& i32(std::int32_t v);
    RaceBytes& raw(std::string_view bytes);
    RaceBytes& model(std::string_view name, std::string_view picture, std::int32_t speed, std::int32_t defence,
                     std::int32_t survey, std::int32_t hold, std::int32_t cost, std::string_view nameEnd = "\r\n",
                     std::string_view pictureEnd = "\r\n");
    RaceBytes& weapon(std::string_view name, std::int32_t range, std::int32_t minDamage, std::int32_t maxDamage,
                      std::int32_t cost, std::string_view nameEnd = "\r\n");
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

// A race the game loads: two models and three weapons, lines ending in CR LF.
std::string GoodRace(const std::string& name);

}  // namespace qv::clitest
