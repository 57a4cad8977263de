// The rows of a list of ships kept in a dock: a planet's docks or the ships
// landed on an asteroid, as the panels' "Dock #" / "Space Ship" lists show
// them.
#pragma once

#include <string>
#include <vector>

#include "model/records.h"

namespace qv {

// One row: "Dock #" (1, 2, ... from the head) and "Space Ship" (the ship's
// model name, empty for a ship without a model).
struct DockRow {
    std::string dock;
    std::string ship;

    bool operator==(const DockRow&) const = default;
};

// The rows of the ship list starting at head, head first; none for an empty
// list.
std::vector<DockRow> DockRowsOf(const Ship* head);

}  // namespace qv
