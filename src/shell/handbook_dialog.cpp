#include "shell/handbook_dialog.h"

#include <QVBoxLayout>

#include "handbook.h"

namespace qv::shell {

HandbookDialog::HandbookDialog(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
    setWindowTitle(QStringLiteral("How to Play"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    browser_->setObjectName(QStringLiteral("handbook"));
    browser_->setSource(HandbookPage());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(720, 560);
}

}  // namespace qv::shell
