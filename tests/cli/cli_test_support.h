// Helpers for the tests of quorvane-cli: running the tool as a child process,
// scratch folders, files as bytes, race files assembled byte by byte and a
// small JSON reader (the tests do not link Qt, and must not trust the tool's
// own JSON code to check its output).
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv::clitest {

namespace fs = std::filesystem;

inline const std::string kCli = QUORVANE_CLI;
inline const fs::path kDataOut = QUORVANE_DATA_OUT;
inline const fs::path kSourceDir = QUORVANE_SOURCE_DIR;

struct RunResult {
    int exitCode = -1;  // -1 when the tool did not end by itself
    std::string out;
    std::string err;
};

// Runs quorvane-cli with args in the folder cwd (the test's folder when
// empty), without QUORVANE_DATA_DIR in its environment.
RunResult RunCli(const std::vector<std::string>& args, const fs::path& cwd = {});

// The lines of text (without their line feeds).
std::vector<std::string> Lines(const std::string& text);

// A fresh folder removed with everything in it when the object goes.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const fs::path& path() const { return path_; }
    fs::path operator/(const std::string& name) const { return path_ / name; }
    // The names of the entries, sorted.
    std::vector<std::string> entries() const;

private:
    fs::path path_;
};

std::string ReadBytes(const fs::path& path);
void WriteBytes(const fs::path& path, std::string_view bytes);

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

// A parsed JSON value; objects keep their keys in order.
struct Json {
    enum class Type { Null, Bool, Number, String, Array, Object };
    Type type = Type::Null;
    bool boolean = false;
    double number = 0;
    std::string string;  // UTF-8
    std::vector<Json> items;
    std::vector<std::pair<std::string, Json>> members;

    bool has(const std::string& key) const;
    // The member or item; throws std::out_of_range when there is none.
    const Json& operator[](const std::string& key) const;
    const Json& operator[](std::size_t index) const;
    std::size_t size() const { return type == Type::Array ? items.size() : members.size(); }
    std::vector<std::string> keys() const;
    long long integer() const;  // throws when not a whole number
};

// Parses a complete JSON text; throws std::runtime_error with the offset of
// the first error.
Json ParseJson(std::string_view text);

}  // namespace qv::clitest
