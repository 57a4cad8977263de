// The Statistics dialog: its title, its one OK button and its size, the
// graph it paints from the players as they are at each paint, and the
// command that shows it modally while the map goes on being drawn.
#include <QPushButton>
#include <QTimer>

#include <functional>

#include "presentation/power_graph.h"
#include "presentation/raster.h"
#include "shell/statistics_dialog.h"
#include "shell_fixture.h"

namespace qv::shell::test {
namespace {

// The part of the client area the graph and its labels take (the OK button
// lies below it).
const QRect kGraphArea(0, 0, 470, 240);

QImage Grab(QWidget& widget) { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// Runs then on the modal dialog once it is open.
void WithOpenDialog(const std::function<void(CStatisticsDlg&)>& then) {
    QTimer::singleShot(0, [then] {
        auto* dialog = qobject_cast<CStatisticsDlg*>(QApplication::activeModalWidget());
        if (!dialog) {
            WithOpenDialog(then);  // not open yet
            return;
        }
        then(*dialog);
    });
}

using Statistics = ShellTest;

TEST_F(Statistics, HasItsTitleOneOkButtonAndRoomForTheGraph) {
    CStatisticsDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), "Statistics");
    const QList<QPushButton*> buttons = dialog.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), "OK");
    EXPECT_EQ(buttons[0], dialog.okButton());
    EXPECT_EQ(dialog.size(), kStatisticsClientSize);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_FALSE(buttons[0]->geometry().intersects(kGraphArea)) << "the button stays clear of the graph";
    EXPECT_TRUE(dialog.rect().contains(buttons[0]->geometry()));

    dialog.show();
    buttons[0]->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(Statistics, PaintsTheGraphOfThePlayersAsTheyAreNow) {
    ASSERT_TRUE(started_);
    ASSERT_TRUE(NewGame());
    {
        GameLockGuard lock;
        g_turn = 4;
        int k = 0;
        for (Player* p = g_players; p; p = p->next, ++k)
            for (int t = 0; t < 4; ++t) p->power[static_cast<std::size_t>(t)] = 1000 * (k + 1) + 500 * t;
    }
    CStatisticsDlg dialog(&frame());
    dialog.show();
    QImage expected;
    {
        GameLockGuard lock;
        expected = PowerGraphImage(CollectPowerGraph());
    }
    QImage shown = Grab(dialog);
    EXPECT_EQ(shown.copy(kGraphArea), expected.copy(kGraphArea));
    // The human player's line ends at (411, 220 - 2500 / 50).
    const QRgb human = raster::ToRgb(g_players->colour);
    EXPECT_EQ(shown.pixel(411, 170), human);

    // The dialog keeps nothing: the next paint shows the game as it is then.
    {
        GameLockGuard lock;
        g_players->power[3] = 9000;
    }
    shown = Grab(dialog);
    EXPECT_EQ(shown.pixel(411, 40), human);
    EXPECT_NE(shown.pixel(411, 170), human);
}

TEST_F(Statistics, ShowStatisticsIsModalAndTheMapGoesOnBeingDrawn) {
    ASSERT_TRUE(started_);
    ASSERT_TRUE(NewGame());
    bool opened = false;
    bool drawnBehind = false;
    QString title;
    WithOpenDialog([&](CStatisticsDlg& dialog) {
        opened = true;
        title = dialog.windowTitle();
        // The lock is lent out: the drawing thread finishes new frames.
        const std::uint64_t before = view().frameSerial();
        drawnBehind = SpinUntil([&] { return view().frameSerial() > before + 2; });
        dialog.okButton()->click();
    });
    {
        // As the menu command runs it: with the game lock held.
        GameLockGuard lock;
        ShowStatistics(&frame());
    }
    EXPECT_TRUE(opened);
    EXPECT_EQ(title, "Statistics");
    EXPECT_TRUE(drawnBehind);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace qv::shell::test
