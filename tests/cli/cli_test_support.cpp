#include "cli_test_support.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

extern char** environ;

namespace qv::clitest {

RunResult RunCli(const std::vector<std::string>& args, const fs::path& cwd) {
    ScratchDir io;
    const std::string outPath = (io / "stdout").string();
    const std::string errPath = (io / "stderr").string();

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const std::string dir = cwd.string();
    if (!dir.empty()) posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(kCli.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "QUORVANE_DATA_DIR=", 18) != 0) envp.push_back(*e);
    envp.push_back(nullptr);

    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, kCli.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot run " + kCli + ": " + std::strerror(spawned));
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) throw std::runtime_error("waitpid failed");

    RunResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadBytes(outPath);
    result.err = ReadBytes(errPath);
    return result;
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

ScratchDir::ScratchDir() {
    std::string pattern = (fs::temp_directory_path() / "quorvane-cli-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
    path_ = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::vector<std::string> ScratchDir::entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
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

// ---- RaceBytes -------------------------------------------------------------

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

// ---- Json ------------------------------------------------------------------

bool Json::has(const std::string& key) const {
    for (const auto& [k, v] : members)
        if (k == key) return true;
    return false;
}

const Json& Json::operator[](const std::string& key) const {
    for (const auto& [k, v] : members)
        if (k == key) return v;
    throw std::out_of_range("no member \"" + key + "\"");
}

const Json& Json::operator[](std::size_t index) const {
    if (type != Type::Array || index >= items.size()) throw std::out_of_range("no item " + std::to_string(index));
    return items[index];
}

std::vector<std::string> Json::keys() const {
    std::vector<std::string> names;
    for (const auto& member : members) names.push_back(member.first);
    return names;
}

long long Json::integer() const {
    if (type != Type::Number || number != std::floor(number)) throw std::runtime_error("not a whole number");
    return static_cast<long long>(number);
}

namespace {

class JsonParser {
public:
    explicit JsonParser(std::string_view text) : s_(text) {}

    Json document() {
        Json v = value();
        space();
        if (pos_ != s_.size()) fail("text after the value");
        return v;
    }

private:
    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error("JSON error at offset " + std::to_string(pos_) + ": " + what);
    }

    void space() {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\n' || s_[pos_] == '\r' || s_[pos_] == '\t'))
            ++pos_;
    }

    bool eat(char c) {
        space();
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    void expect(char c) {
        if (!eat(c)) fail(std::string("expected '") + c + "'");
    }

    bool word(std::string_view w) {
        if (s_.substr(pos_, w.size()) != w) return false;
        pos_ += w.size();
        return true;
    }

    Json value() {
        space();
        if (pos_ >= s_.size()) fail("unexpected end");
        Json v;
        const char c = s_[pos_];
        if (c == '{') {
            ++pos_;
            v.type = Json::Type::Object;
            if (eat('}')) return v;
            do {
                space();
                std::string key = string();
                expect(':');
                v.members.emplace_back(std::move(key), value());
            } while (eat(','));
            expect('}');
        } else if (c == '[') {
            ++pos_;
            v.type = Json::Type::Array;
            if (eat(']')) return v;
            do v.items.push_back(value());
            while (eat(','));
            expect(']');
        } else if (c == '"') {
            v.type = Json::Type::String;
            v.string = string();
        } else if (word("true")) {
            v.type = Json::Type::Bool;
            v.boolean = true;
        } else if (word("false")) {
            v.type = Json::Type::Bool;
        } else if (word("null")) {
            v.type = Json::Type::Null;
        } else {
            v.type = Json::Type::Number;
            v.number = number();
        }
        return v;
    }

    double number() {
        const std::size_t start = pos_;
        if (pos_ < s_.size() && s_[pos_] == '-') ++pos_;
        const auto digits = [&] {
            const std::size_t from = pos_;
            while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
            return pos_ > from;
        };
        if (!digits()) fail("bad number");
        if (pos_ < s_.size() && s_[pos_] == '.') {
            ++pos_;
            if (!digits()) fail("bad fraction");
        }
        if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
            ++pos_;
            if (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '-')) ++pos_;
            if (!digits()) fail("bad exponent");
        }
        return std::strtod(std::string(s_.substr(start, pos_ - start)).c_str(), nullptr);
    }

    unsigned hex4() {
        if (s_.size() - pos_ < 4) fail("short \\u escape");
        unsigned v = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = s_[pos_++];
            v <<= 4;
            if (c >= '0' && c <= '9') v |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f') v |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F') v |= static_cast<unsigned>(c - 'A' + 10);
            else fail("bad \\u escape");
        }
        return v;
    }

    static void utf8(std::string& out, char32_t cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    std::string string() {
        if (pos_ >= s_.size() || s_[pos_] != '"') fail("expected a string");
        ++pos_;
        std::string out;
        while (true) {
            if (pos_ >= s_.size()) fail("unterminated string");
            const char c = s_[pos_++];
            if (c == '"') return out;
            if (static_cast<unsigned char>(c) < 0x20) fail("raw control character in a string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= s_.size()) fail("unterminated escape");
            switch (s_[pos_++]) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    char32_t cp = hex4();
                    if (cp >= 0xDC00 && cp <= 0xDFFF) fail("lone low surrogate");
                    if (cp >= 0xD800 && cp <= 0xDBFF) {
                        if (!word("\\u")) fail("lone high surrogate");
                        const char32_t low = hex4();
                        if (low < 0xDC00 || low > 0xDFFF) fail("bad surrogate pair");
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    }
                    utf8(out, cp);
                    break;
                }
                default: fail("bad escape");
            }
        }
    }

    std::string_view s_;
    std::size_t pos_ = 0;
};

}  // namespace

Json ParseJson(std::string_view text) { return JsonParser(text).document(); }

}  // namespace qv::clitest
