#include "cli/plain_text.h"

#include <algorithm>

#include "cli/race_json.h"

namespace qv::cli {

namespace {

// Characters on screen: UTF-8 lead bytes only.
std::size_t Width(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

std::string DisplayText(std::string_view bytes) {
    std::string text = TextAsUtf8(bytes);
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) {
            out += '?';
        } else if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
            out += '?';  // U+0080..U+009F
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string TextTable::render(const std::string& indent) const {
    std::vector<std::size_t> widths;
    for (const Column& column : columns_) widths.push_back(Width(column.header));
    for (const auto& row : rows_)
        for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i)
            widths[i] = std::max(widths[i], Width(row[i]));

    const auto line = [&](const std::vector<std::string>& cells) {
        std::string out = indent;
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            const std::string cell = i < cells.size() ? cells[i] : std::string();
            const std::string pad(widths[i] - Width(cell), ' ');
            if (i > 0) out += "  ";
            out += columns_[i].numeric ? pad + cell : cell + pad;
        }
        out.erase(out.find_last_not_of(' ') + 1);
        return out + "\n";
    };

    std::vector<std::string> headers;
    for (const Column& column : columns_) headers.push_back(column.header);
    std::string out = line(headers);
    for (const auto& row : rows_) out += line(row);
    return out;
}

}  // namespace qv::cli
