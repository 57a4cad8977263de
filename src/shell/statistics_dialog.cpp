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
    std::size_t players = 0;
    {
        GameLockGuard lock;
        players = CollectPowerLegend().size();
    }
    const int legend = PowerLegendHeight(players);
    setFixedSize(client + QSize(0, legend ? legend + 4 : 0));
}

void CStatisticsDlg::paintEvent(QPaintEvent*) {
    PowerGraphData data;
    std::vector<PowerLegendEntry> legend;
    {
        GameLockGuard lock;
        data = CollectPowerGraph();
        legend = CollectPowerLegend();
    }
    QPainter painter(this);
    DrawPowerGraph(painter, data);
    DrawPowerLegend(painter, legend, kLegendTop);
}

void ShowStatistics(QWidget* parent) {
    CStatisticsDlg dialog(parent);
    RunModal(dialog);
}

}  // namespace qv::shell
