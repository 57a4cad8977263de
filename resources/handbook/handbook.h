// Where the handbook built into the program is: its page, with its pictures
// beside it under the same qrc:/handbook/ folder.
#pragma once

#include <QUrl>

namespace qv {

QUrl HandbookPage();

}  // namespace qv
