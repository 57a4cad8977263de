#include "shell/turn_report_dialog.h"

#include <QListWidget>
#include <QPushButton>

#include "drawing/game_lock.h"
#include "model/globals.h"
#include "model/world_generation.h"
#include "presentation/text_layers.h"
#include "shell/picture_button.h"

namespace qv::shell {

namespace {

World* WorldNumbered(int number) {
    for (World* w = g_worlds; w; w = w->next)
        if (w->number == number) return w;
    return nullptr;
}

}  // namespace

TurnReportDialog::TurnReportDialog(QWidget* parent) : QDialog(parent), events_(LastTurnEvents()) {
    setWindowTitle(QStringLiteral("Turn Report"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    list_ = new QListWidget(this);
    list_->setGeometry(10, 10, 460, 230);
    for (const TurnEvent& e : events_) list_->addItem(GameText(DescribeEvent(e)));
    if (events_.empty()) {
        list_->addItem(QStringLiteral("Nothing happened to your side last turn."));
        list_->item(0)->setFlags(Qt::NoItemFlags);
    }
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { showPlace(list_->row(item)); });
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setDefault(true);
    ok_->setGeometry(390, 250, 80, 26);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    setFixedSize(480, 286);
}

void TurnReportDialog::showPlace(int row) {
    if (row < 0 || row >= static_cast<int>(events_.size())) return;
    const TurnEvent& e = events_[static_cast<std::size_t>(row)];
    const bool moved = e.kind == TurnEventKind::BodyMoved;
    GameLockGuard lock;
    World* world = WorldNumbered(moved ? e.toWorld : e.world);
    if (!world) return;
    g_currentWorld = world;
    CentreViewOn(moved ? e.toX : e.x, moved ? e.toY : e.y);
}

void ShowTurnReport(QWidget* parent) {
    TurnReportDialog dialog(parent);
    RunModal(dialog);
}

QString TurnSummaryLine() {
    const std::string summary = SummariseEvents(LastTurnEvents());
    return summary.empty() ? QString() : GameText(summary) + QStringLiteral(" \u2014 Ctrl+R");
}

}  // namespace qv::shell
