// Writing JSON as it goes, in the layout of the tool's JSON output: the game
// (game_json.cpp) and the tournament results (tournament_report.cpp).
#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/race_json.h"

namespace qv::cli {

// value with `decimals` digits after the point ("0.5000"), whatever the
// locale; -0 is written as 0.
inline std::string FixedText(double value, int decimals) {
    char text[64];
    const auto [end, error] =
        std::to_chars(text, text + sizeof text, value == 0 ? 0.0 : value, std::chars_format::fixed, decimals);
    return error == std::errc() ? std::string(text, end) : std::string("0");
}

// Writes JSON as it goes. Containers opened compact, and everything inside
// them, stay on one line; the others put each member on a line of its own,
// indented by two spaces per level.
class JsonWriter {
public:
    JsonWriter& beginObject(bool compact = false) { return open('{', compact); }
    JsonWriter& endObject() { return close('}'); }
    JsonWriter& beginArray(bool compact = false) { return open('[', compact); }
    JsonWriter& endArray() { return close(']'); }

    JsonWriter& key(std::string_view name) {
        separate();
        out_ += '"';
        out_ += name;
        out_ += "\": ";
        afterKey_ = true;
        return *this;
    }

    JsonWriter& number(long long value) {
        separate();
        out_ += std::to_string(value);
        return *this;
    }

    // A number with a fixed count of decimals, the same on every machine and
    // in every locale.
    JsonWriter& real(double value, int decimals) {
        separate();
        out_ += FixedText(value, decimals);
        return *this;
    }

    JsonWriter& boolean(bool value) {
        separate();
        out_ += value ? "true" : "false";
        return *this;
    }

    JsonWriter& null() {
        separate();
        out_ += "null";
        return *this;
    }

    // Text of the records, UTF-8 or else read as Latin-1.
    JsonWriter& text(std::string_view bytes) {
        separate();
        out_ += JsonString(TextAsUtf8(bytes));
        return *this;
    }

    JsonWriter& field(std::string_view name, long long value) { return key(name).number(value); }

    JsonWriter& numbers(std::string_view name, const std::int32_t* values, int count) {
        key(name).beginArray(true);
        for (int i = 0; i < count; ++i) number(values[i]);
        return endArray();
    }

    std::string finish() {
        out_ += '\n';
        return std::move(out_);
    }

private:
    struct Level {
        bool compact = false;
        int items = 0;
    };

    // What comes before a value or a key: nothing after a key, else the comma
    // and the line break or space of the container.
    void separate() {
        if (afterKey_) {
            afterKey_ = false;
            return;
        }
        if (levels_.empty()) return;
        Level& level = levels_.back();
        if (level.items++ > 0) out_ += ',';
        if (level.compact) {
            if (level.items > 1) out_ += ' ';
        } else {
            newLine(levels_.size());
        }
    }

    JsonWriter& open(char bracket, bool compact) {
        separate();
        out_ += bracket;
        levels_.push_back({compact || (!levels_.empty() && levels_.back().compact), 0});
        return *this;
    }

    JsonWriter& close(char bracket) {
        const Level level = levels_.back();
        levels_.pop_back();
        if (level.items > 0 && !level.compact) newLine(levels_.size());
        out_ += bracket;
        return *this;
    }

    void newLine(std::size_t depth) {
        out_ += '\n';
        out_.append(2 * depth, ' ');
    }

    std::string out_;
    std::vector<Level> levels_;
    bool afterKey_ = false;
};

}  // namespace qv::cli
