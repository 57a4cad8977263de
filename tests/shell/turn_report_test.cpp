// Telling the player what happened: the summary after End Turn and the Turn Report, the Statistics legend, the
// hover panels' owner line, VICTORY, and why a click did nothing.
#include <QFontMetrics>
#include <QGuiApplication>
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

class TurnReportWindow : public ShellTest {
protected:
    // A frame composed wholly after a change made now: a frame already under way when the change was made may be
    // the first one presented after it.
    bool Redrawn() { return Drawn() && Drawn(); }
};

QRgb Rgb(Colour colour) { return raster::ToRgb(colour) | 0xFF000000u; }

// Whether some pixel of the rectangle has the colour.
bool HasColour(const QImage& image, const QRect& r, QRgb colour) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if ((image.pixel(x, y) | 0xFF000000u) == colour) return true;
    return false;
}

TEST_F(TurnReportWindow, AShipLostInTheTurnIsSummedUpListedAndShownAndTheLegendKeysEveryLine) {
    EXPECT_EQ(frame().action(Command::TurnReport)->shortcut(), QKeySequence("Ctrl+R"));
    Player* computer = nullptr;
    int x = 0, y = 0;
    std::string model;
    {
        // A planet of computer 1, armed and ready, with a ship of the human's of one shield point on it.
        GameLockGuard lock;
        computer = g_players->next;
        World* w = g_currentWorld;
        auto* fort = new Planet{.picture = 1, .owner = computer, .orbitPeriod = 3};
        fort->x = x = 2 * w->star->x - g_selPlanet->x;  // across the star from the home planet
        fort->y = y = 2 * w->star->y - g_selPlanet->y;
        std::tie(fort->weapon, fort->weaponReady) = std::tuple(computer->race->weapons, 1);
        InsertAtHead(w->planets, fort);
        ++computer->planetCount;
    }
    Ship* mine = AddShip(g_currentWorld->ships);
    {
        GameLockGuard lock;
        std::tie(mine->x, mine->y, mine->shieldPoints) = std::tuple(x, y, 1);
        model = mine->model->name;
    }
    frame().action(Command::EndTurn)->trigger();
    EXPECT_TRUE(view().notice().startsWith("1 ship lost")) << view().notice().toStdString();
    EXPECT_TRUE(view().notice().endsWith(QStringLiteral(" \u2014 Ctrl+R")));
    // Drawn over the map, under the status line.
    EXPECT_NE(view().grab().toImage().copy(5, 25, 100, 16).convertToFormat(QImage::Format_RGB32),
              view().currentFrame().copy(5, 25, 100, 16).convertToFormat(QImage::Format_RGB32));

    // The report's line, and a click on it shows the place.
    {
        GameLockGuard lock;
        CentreViewOn(x < g_worldSize / 2 ? g_worldSize : 0, y < g_worldSize / 2 ? g_worldSize : 0);
    }
    ModalDialog modal;
    QStringList lines;
    modal.whenOpen<TurnReportDialog>([&](TurnReportDialog& d) {
        for (int i = 0; i < d.list()->count(); ++i) lines << d.list()->item(i)->text();
        emit d.list()->itemClicked(d.list()->item(0));
        d.accept();
    });
    frame().action(Command::TurnReport)->trigger();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines[0], QString("World %1: your %2 destroyed by Computer 1")
                            .arg(g_currentWorld->number)
                            .arg(QString::fromStdString(model)));
    EXPECT_EQ(std::pair(g_viewLeft, g_viewTop),
              std::pair(std::clamp(x - 400, 0, g_worldSize - 800), std::clamp(y - 300, 0, g_worldSize - 600)));

    // The Statistics legend: every line's colour and whose it is, a player out of the game marked so.
    Player* last = nullptr;
    {
        GameLockGuard lock;
        for (Player* p = g_players->next; p->next; p = p->next) last = p;
        last->planetCount = last->shipCount = 0;
    }
    QImage shown;
    modal.whenOpen<CStatisticsDlg>([&](CStatisticsDlg& d) {
        shown = d.grab().toImage();
        d.accept();
    });
    frame().action(Command::Statistics)->trigger();
    std::vector<PowerLegendEntry> legend;
    {
        GameLockGuard lock;
        legend = CollectPowerLegend();
    }
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
    const int ascent = QFontMetrics(MapFont()).ascent();
    {
        GameLockGuard lock;
        theirs->owner = g_players->next;
        g_hoverShip = theirs;
    }
    ASSERT_TRUE(Redrawn());
    // The owner's square after the four lines of the ship's panel, at 600 or moved left with the panel.
    const QRect square(560, 180 + 80 + ascent - 8, 50, 6);
    EXPECT_TRUE(HasColour(view().currentFrame(), square, Rgb(theirs->owner->colour)));
    {
        GameLockGuard lock;
        g_hoverShip = nullptr;
    }
    ASSERT_TRUE(Redrawn());
    EXPECT_FALSE(HasColour(view().currentFrame(), square, Rgb(theirs->owner->colour)));

    // VICTORY where GAME OVER stands.
    auto text = [&](int over, int won) {
        {
            GameLockGuard lock;
            std::tie(g_gameOver, g_victory) = std::tuple(over, won);
        }
        EXPECT_TRUE(Redrawn());
        return view().currentFrame().copy(95, 295, 120, 25);
    };
    const QImage none = text(0, 0), lost = text(1, 0), won = text(0, 1);
    EXPECT_NE(won, none);
    EXPECT_NE(won, lost);
    text(0, 0);

    // A ship with no action points left asked to fly: the reason; a move within reach: nothing said.
    Ship* mine = AddShip(g_currentWorld->ships, 100, 500);
    {
        GameLockGuard lock;
        std::tie(g_selShip, g_selPlanet, mine->actionPoints) = std::tuple(mine, nullptr, 0);
    }
    auto click = [&](int px, int py) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(px, py), view().mapToGlobal(QPointF(px, py)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&view(), &press);
    };
    // A place with nothing on it, away from the overview map.
    QPoint empty;
    for (int py = 350; py < 600 && empty.isNull(); py += 20)
        for (int px = 150; px < 400 && empty.isNull(); px += 20) {
            bool clear = true;
            for (Ship* s = g_currentWorld->ships; s; s = s->next)
                clear = clear && std::hypot(s->x - g_viewLeft - px, s->y - g_viewTop - py) > 40;
            for (Planet* p = g_currentWorld->planets; p; p = p->next)
                clear = clear && std::hypot(p->x - g_viewLeft - px, p->y - g_viewTop - py) > 60;
            for (Asteroid* a = g_currentWorld->asteroids; a; a = a->next)
                clear = clear && std::hypot(a->x - g_viewLeft - px, a->y - g_viewTop - py) > 40;
            if (clear) empty = QPoint(px, py);
        }
    ASSERT_FALSE(empty.isNull());
    click(empty.x(), empty.y());
    EXPECT_EQ(view().notice(), "No action points left this turn.");
    EXPECT_EQ(g_selShip, mine);
    EXPECT_TRUE(SpinUntil([&] { return view().notice().isEmpty(); }));  // for a few seconds
    {
        GameLockGuard lock;
        mine->actionPoints = 1000;
    }
    click(empty.x(), empty.y());
    EXPECT_EQ(view().notice(), "");
    EXPECT_EQ(std::pair(mine->x - g_viewLeft, mine->y - g_viewTop), std::pair(empty.x(), empty.y()));
}

}  // namespace
}  // namespace qv::shell::test
