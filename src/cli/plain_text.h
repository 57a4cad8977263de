// Readable output of the commands: text made safe for a terminal and
// aligned tables.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv::cli {

// Text of a race file for a terminal: UTF-8 text as it is, other bytes read
// as Latin-1; control characters shown as '?'.
std::string DisplayText(std::string_view bytes);

// Columns separated by two spaces, each as wide as its widest cell; numeric
// columns aligned to the right.
class TextTable {
public:
    struct Column {
        std::string header;
        bool numeric = false;
    };

    explicit TextTable(std::vector<Column> columns) : columns_(std::move(columns)) {}

    void addRow(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }

    // Every line starts with indent and ends with a line feed; trailing
    // spaces are trimmed.
    std::string render(const std::string& indent) const;

private:
    std::vector<Column> columns_;
    std::vector<std::vector<std::string>> rows_;
};

}  // namespace qv::cli
