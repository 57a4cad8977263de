// Telling the player what happened: the summary after End Turn and the Turn Report, the Statistics legend, the
// hover panels' owner line, VICTORY, and why a click did nothing.
#include <QFontMetrics>
#include <QListWidget>
#include <QMouseEvent>

#include "presentation/power_graph.h"
#include "presentation/raster.h"
#include "presentation/text_layers.h"
#include "shell/statistics_dialog.h"
#include "shell/turn_report_dialog.h"
#include "model/world_generation.h"
#include "shell_fixture.h"

namespace qv::shell::test {
namespace {

using TurnReportWindow = ShellTest;

template <typename F>
void Locked(F change) {
    GameLockGuard lock;
    change();
}

QRgb Rgb(Colour colour) { return raster::ToRgb(colour) | 0xFF000000u; }

bool HasColour(const QImage& image, const QRect& r, QRgb colour) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if ((image.pixel(x, y) | 0xFF000000u) == colour) return true;
    return false;
}

TEST_F(TurnReportWindow, AShipLostInTheTurnIsSummedUpListedAndShownAndTheLegendKeysEveryLine) {
    EXPECT_EQ(frame().action(Command::TurnReport)->shortcut(), QKeySequence("Ctrl+R"));
    Ship* mine = AddShip(g_currentWorld->ships);
    Player *computer = nullptr, *last = nullptr;
    int x = 0, y = 0;
    Locked([&] {  // across the star from the home planet, a ready armed planet of computer 1 and a frail ship
        computer = g_players->next;
        World* w = g_currentWorld;
        auto* fort = new Planet{.picture = 1, .owner = computer, .orbitPeriod = 3};
        fort->x = mine->x = x = 2 * w->star->x - g_selPlanet->x;
        fort->y = mine->y = y = 2 * w->star->y - g_selPlanet->y;
        std::tie(fort->weapon, fort->weaponReady, mine->shieldPoints) = std::tuple(computer->race->weapons, 1, 1);
        InsertAtHead(w->planets, fort);
        ++computer->planetCount;
    });
    const QString model = QString::fromStdString(mine->model->name);
    frame().action(Command::EndTurn)->trigger();
    EXPECT_TRUE(view().notice().startsWith("1 ship lost")) << view().notice().toStdString();
    EXPECT_TRUE(view().notice().endsWith(QStringLiteral(" \u2014 Ctrl+R")));
    // Drawn over the map, under the status line.
    EXPECT_NE(view().grab().toImage().copy(5, 25, 100, 16).convertToFormat(QImage::Format_RGB32),
              view().currentFrame().copy(5, 25, 100, 16).convertToFormat(QImage::Format_RGB32));

    // The report's line, and a click on it shows the place.
    Locked([&] { CentreViewOn(x < g_worldSize / 2 ? g_worldSize : 0, y < g_worldSize / 2 ? g_worldSize : 0); });
    ModalDialog modal;
    QString first;
    modal.whenOpen<TurnReportDialog>([&](TurnReportDialog& d) {
        QListWidgetItem* item = d.list()->item(0);
        if (item) first = item->text(), emit d.list()->itemClicked(item);
        d.accept();
    });
    frame().action(Command::TurnReport)->trigger();
    EXPECT_EQ(first, QString("World %1: your %2 destroyed by Computer 1").arg(g_currentWorld->number).arg(model));
    EXPECT_EQ(std::pair(g_viewLeft, g_viewTop),
              std::pair(std::clamp(x - 400, 0, g_worldSize - 800), std::clamp(y - 300, 0, g_worldSize - 600)));

    // The Statistics legend: every line's colour and whose it is, a player out of the game marked so.
    Locked([&] {
        for (Player* p = g_players->next; p->next; p = p->next) last = p;
        last->planetCount = last->shipCount = 0;
    });
    QImage shown;
    modal.whenOpen<CStatisticsDlg>([&](CStatisticsDlg& d) {
        shown = d.grab().toImage();
        d.accept();
    });
    frame().action(Command::Statistics)->trigger();
    std::vector<PowerLegendEntry> legend;
    Locked([&] { legend = CollectPowerLegend(); });
    ASSERT_EQ(legend.size(), static_cast<std::size_t>(g_playerCount));
    EXPECT_EQ(legend[0].text, "You: " + GameText(g_players->race->name));
    EXPECT_EQ(legend[1].text, "Computer 1: " + GameText(computer->race->name));
    EXPECT_EQ(legend.back().text,
              QString("Computer %1 (out): %2").arg(g_playerCount - 1).arg(GameText(last->race->name)));
    EXPECT_EQ(shown.height(), 290 + 4 + 18 * ((g_playerCount + 1) / 2));
    EXPECT_EQ(shown.pixel(15, CStatisticsDlg::kLegendTop + 8) | 0xFF000000u, Rgb(g_players->colour));
    EXPECT_EQ(shown.pixel(245, CStatisticsDlg::kLegendTop + 8) | 0xFF000000u, Rgb(computer->colour));
}

TEST_F(TurnReportWindow, HoverPanelsSayWhoseTheBodyIsTheMapSaysVictoryAndAClickThatDidNothingSaysWhy) {
    Ship* theirs = AddShip(g_currentWorld->ships, 400, 200);
    // The owner's square after the four lines of the ship's panel, at 600 or moved left with the panel.
    const QRect square(560, 180 + 80 + QFontMetrics(MapFont()).ascent() - 8, 50, 6);
    for (Ship* hover : {theirs, static_cast<Ship*>(nullptr)}) {
        Locked([&] { theirs->owner = g_players->next, g_hoverShip = hover; });
        ASSERT_TRUE(Drawn() && Drawn());  // a frame composed wholly after the change, not one under way then
        EXPECT_EQ(HasColour(view().currentFrame(), square, Rgb(theirs->owner->colour)), hover != nullptr);
    }

    // VICTORY where GAME OVER stands.
    auto text = [&](int over, int won) {
        Locked([&] { std::tie(g_gameOver, g_victory) = std::tuple(over, won); });
        EXPECT_TRUE(Drawn() && Drawn());
        return view().currentFrame().copy(95, 295, 120, 25);
    };
    const QImage none = text(0, 0), lost = text(1, 0), won = text(0, 1);
    EXPECT_NE(won, none);
    EXPECT_NE(won, lost);
    text(0, 0);

    // A ship with no action points left asked to fly to a place with nothing on it, away from the overview map: the
    // reason; with action points, a move and nothing said.
    Ship* mine = AddShip(g_currentWorld->ships, 100, 500);
    Locked([&] { std::tie(g_selShip, g_selPlanet, mine->actionPoints) = std::tuple(mine, nullptr, 0); });
    auto clear = [](auto* head, double reach, QPointF at) {
        for (auto* b = head; b; b = b->next)
            if (std::hypot(b->x - g_viewLeft - at.x(), b->y - g_viewTop - at.y()) <= reach) return false;
        return true;
    };
    QPointF empty;
    for (int py = 350; py < 600 && empty.isNull(); py += 20)
        for (QPointF at(150, py); at.x() < 400 && empty.isNull(); at.rx() += 20)
            if (clear(g_currentWorld->ships, 40, at) && clear(g_currentWorld->planets, 60, at) &&
                clear(g_currentWorld->asteroids, 40, at))
                empty = at;
    ASSERT_FALSE(empty.isNull());
    auto click = [&] {
        QMouseEvent press(QEvent::MouseButtonPress, empty, view().mapToGlobal(empty), Qt::LeftButton, Qt::LeftButton,
                          {});
        QApplication::sendEvent(&view(), &press);
    };
    click();
    EXPECT_EQ(view().notice(), "No action points left this turn.");
    EXPECT_EQ(g_selShip, mine);
    EXPECT_TRUE(SpinUntil([&] { return view().notice().isEmpty(); }));  // for a few seconds
    Locked([&] { mine->actionPoints = 1000; });
    click();
    EXPECT_EQ(view().notice(), "");
    EXPECT_EQ(QPointF(mine->x - g_viewLeft, mine->y - g_viewTop), empty);
}

}  // namespace
}  // namespace qv::shell::test
