#include "handbook.h"

namespace qv {

QUrl HandbookPage() { return QUrl(QStringLiteral("qrc:/handbook/handbook.html")); }

}  // namespace qv
