// The Statistics dialog: its one OK button clear of the graph, the graph it
// paints from the players as they are at each paint, and the command that
// shows it modally while the map goes on being drawn.
#include <QPushButton>

#include "presentation/power_graph.h"
#include "shell/statistics_dialog.h"
#include "shell_fixture.h"

namespace qv::shell::test {
namespace {

// The part of the client area the graph and its labels take.
const QRect kGraphArea(0, 0, 470, 240);

QImage Grab(QWidget& widget) { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

using Statistics = ShellTest;

TEST_F(Statistics, PaintsTheGraphOfThePlayersAsTheyAreAtEachPaint) {
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
    EXPECT_EQ(dialog.size(), kStatisticsClientSize);
    EXPECT_FALSE(dialog.okButton()->geometry().intersects(kGraphArea));
    auto graph = [] {
        GameLockGuard lock;
        return PowerGraphImage(CollectPowerGraph()).copy(kGraphArea);
    };
    const QImage first = graph();
    EXPECT_EQ(Grab(dialog).copy(kGraphArea), first);
    // Nothing is kept: the next paint shows the game as it is then.
    {
        GameLockGuard lock;
        g_players->power[3] = 9000;
    }
    const QImage second = graph();
    ASSERT_NE(second, first);
    EXPECT_EQ(Grab(dialog).copy(kGraphArea), second);
}

TEST_F(Statistics, ShowStatisticsIsModalAndTheMapGoesOnBeingDrawn) {
    ASSERT_TRUE(NewGame());
    QString title;
    bool drawnBehind = false;
    ModalDialog statistics;
    statistics.whenOpen<CStatisticsDlg>([&](CStatisticsDlg& dialog) {
        title = dialog.windowTitle();
        const std::uint64_t before = view().frameSerial();
        drawnBehind = SpinUntil([&] { return view().frameSerial() > before + 2; });
        dialog.okButton()->click();
    });
    frame().action(Command::Statistics)->trigger();
    EXPECT_EQ(statistics.acted(), 1);
    EXPECT_EQ(title, "Statistics");
    EXPECT_TRUE(drawnBehind);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace qv::shell::test
