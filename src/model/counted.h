// A count and its noun for messages: "1 ship", "2 ships", "0 ship models".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

inline std::string Counted(std::int64_t n, std::string_view noun) {
    return std::to_string(n) + " " + std::string(noun) + (n == 1 ? "" : "s");
}

}  // namespace qv
