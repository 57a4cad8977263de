#include "presentation/media/cursor_set.h"

#include <QPixmap>
#include <QString>

namespace qv::media {

// The table is indexed by role; keep it in step with the enum.
static_assert([] {
    for (std::size_t i = 0; i < kCursorTable.size(); ++i)
        if (static_cast<std::size_t>(kCursorTable[i].role) != i) return false;
    return true;
}());

QCursor CursorFor(CursorRole role) {
    const CursorEntry& entry = CursorEntryFor(role);
    if (entry.resource.empty()) return QCursor(Qt::ArrowCursor);
    const QPixmap picture(QString::fromUtf8(entry.resource.data(), static_cast<qsizetype>(entry.resource.size())));
    if (picture.isNull()) return QCursor(Qt::ArrowCursor);
    return QCursor(picture, entry.hotX, entry.hotY);
}

}  // namespace qv::media
