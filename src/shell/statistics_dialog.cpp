#include "shell/statistics_dialog.h"

#include <QPainter>
#include <QPalette>
#include <QPushButton>

#include "drawing/game_lock.h"
#include "presentation/power_graph.h"
#include "shell/picture_button.h"

namespace qv::shell {

CStatisticsDlg::CStatisticsDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Statistics"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    // The graph's own background, so that the dialog shows the very picture
    // `quorvane-cli play --plot` writes.
    QPalette face = palette();
    face.setColor(QPalette::Window, kStatisticsBackground);
    setPalette(face);
    setAutoFillBackground(true);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    // Below the graph's axis, at the bottom right.
    const QSize client = kStatisticsClientSize;
    ok_->setGeometry(client.width() - 95, client.height() - 40, 80, 26);
    setFixedSize(client);
}

void CStatisticsDlg::paintEvent(QPaintEvent*) {
    PowerGraphData data;
    {
        GameLockGuard lock;
        data = CollectPowerGraph();
    }
    QPainter painter(this);
    DrawPowerGraph(painter, data);
}

void ShowStatistics(QWidget* parent) {
    CStatisticsDlg dialog(parent);
    RunModal(dialog);
}

}  // namespace qv::shell
