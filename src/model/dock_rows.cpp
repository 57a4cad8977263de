#include "model/dock_rows.h"

namespace qv {

std::vector<DockRow> DockRowsOf(const Ship* head) {
    std::vector<DockRow> rows;
    int dock = 1;
    for (const Ship* s = head; s; s = s->next, ++dock)
        rows.push_back({std::to_string(dock), s->model ? s->model->name : std::string()});
    return rows;
}

}  // namespace qv
