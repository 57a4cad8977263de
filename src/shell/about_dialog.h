// The About box: the title lettering, the version and OK.
#pragma once

#include <QDialog>

namespace qv::shell {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace qv::shell
