// File ▸ New: the dialog's lists, the options it remembers between games,
// the race list that opens empty, and Cancel changing nothing.
#include <QComboBox>

#include "model/lists.h"
#include "shell_fixture.h"

namespace qv::shell::test {
namespace {

QStringList Entries(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    return out;
}

using NewGameDialogTest = ShellTest;

TEST_F(NewGameDialogTest, FirstDialogShowsTheStartOptionsAndAnEmptyRaceList) {
    ASSERT_TRUE(started_);
    ASSERT_EQ(g_newDocCount, 1);  // the title screen
    ASSERT_NE(g_races, nullptr);
    QStringList shown[NewGameDialog::kListCount];
    int chosen[NewGameDialog::kListCount] = {};
    NewGame([&](NewGameDialog& d) {
        for (int i = 0; i < NewGameDialog::kListCount; ++i) {
            const auto which = static_cast<NewGameDialog::List>(i);
            shown[i] = Entries(d.list(which));
            chosen[i] = d.list(which)->currentIndex();
        }
        EXPECT_EQ(d.windowTitle(), "New Game");
    }, QDialog::Rejected);

    EXPECT_EQ(shown[NewGameDialog::WorldsQuantity], QStringList({"Lots", "Several", "Few"}));
    EXPECT_EQ(shown[NewGameDialog::WorldsSize], QStringList({"Huge", "Large", "Medium", "Small", "Tiny"}));
    EXPECT_EQ(shown[NewGameDialog::Resources], QStringList({"Lots", "Several", "Few"}));
    EXPECT_EQ(shown[NewGameDialog::Unstability], QStringList({"High", "Medium", "Low", "None"}));
    EXPECT_EQ(shown[NewGameDialog::AiPlayers], QStringList({"Lots", "Several", "Few"}));
    EXPECT_EQ(shown[NewGameDialog::Credits], QStringList({"5000", "3000", "2000", "1000", "500"}));
    // "Several", "Medium", "Several", "Medium", "Several", "2000", nothing.
    const int expected[] = {1, 2, 1, 1, 1, 2, -1};
    for (int i = 0; i < NewGameDialog::kListCount; ++i) EXPECT_EQ(chosen[i], expected[i]) << NewGameDialog::Label(static_cast<NewGameDialog::List>(i));
    // The races in the order of the race list, head first.
    QStringList races;
    for (const Race* r = g_races; r; r = r->next) races << QString::fromStdString(r->name);
    EXPECT_EQ(shown[NewGameDialog::RaceType], races);

    // Cancel on the first New leaves the title screen.
    EXPECT_EQ(g_newDocCount, 1);
    EXPECT_EQ(g_currentWorld, nullptr);
}

TEST_F(NewGameDialogTest, TheSecondDialogRemembersTheFirstChoicesButNotTheRace) {
    ASSERT_TRUE(NewGame([](NewGameDialog& d) {
        d.list(NewGameDialog::WorldsQuantity)->setCurrentIndex(2);  // Few
        d.list(NewGameDialog::WorldsSize)->setCurrentIndex(4);      // Tiny
        d.list(NewGameDialog::Resources)->setCurrentIndex(0);
        d.list(NewGameDialog::Unstability)->setCurrentIndex(3);     // None
        d.list(NewGameDialog::AiPlayers)->setCurrentIndex(2);
        d.list(NewGameDialog::Credits)->setCurrentIndex(0);         // 5000
        d.list(NewGameDialog::RaceType)->setCurrentIndex(2);
    }));
    // The choices reach the game made.
    EXPECT_EQ(g_newDocCount, 2);
    EXPECT_EQ(g_unstability, 3);
    EXPECT_EQ(g_players->gold, 5000);
    EXPECT_EQ(g_players->race, RecordAt(g_races, 3));  // the third race listed

    int chosen[NewGameDialog::kListCount] = {};
    NewGame([&](NewGameDialog& d) {
        for (int i = 0; i < NewGameDialog::kListCount; ++i)
            chosen[i] = d.list(static_cast<NewGameDialog::List>(i))->currentIndex();
    }, QDialog::Rejected);
    const int expected[] = {2, 4, 0, 3, 2, 0, -1};
    for (int i = 0; i < NewGameDialog::kListCount; ++i) EXPECT_EQ(chosen[i], expected[i]);
}

TEST_F(NewGameDialogTest, AnEmptyRaceChoicePlaysTheFirstRaceAndCancelKeepsTheRunningGame) {
    ASSERT_TRUE(NewGame());
    EXPECT_EQ(doc().options().raceOption, -1);
    EXPECT_EQ(g_players->race, g_races);
    EXPECT_NE(g_currentWorld, nullptr);
    // The window is titled for the game once it has been drawn.
    EXPECT_TRUE(SpinUntil([&] { return frame().windowTitle() == "Quorvane"; }));

    const std::vector<std::uint8_t> before = Snapshot(doc().options());
    World* const world = g_currentWorld;
    const int count = g_newDocCount;
    EXPECT_FALSE(NewGame([](NewGameDialog& d) { d.list(NewGameDialog::Credits)->setCurrentIndex(4); },
                         QDialog::Rejected));
    EXPECT_EQ(g_currentWorld, world);
    EXPECT_EQ(g_newDocCount, count);
    EXPECT_EQ(doc().options().creditsOption, 2);
    EXPECT_EQ(Snapshot(doc().options()), before);
}

// With no race file anywhere the program still starts; New says why no game
// can be made instead of failing.
TEST(NoRaces, NewSaysSoAndTheTitleScreenStays) {
    ResetGlobals();
    ResetDrawingFlags();
    QTemporaryDir empty;
    {
        CZarvonApp app;
        app.platform().setAutoAnswer(true);
        StartOptions options;
        options.dataDir = empty.path();
        options.show = false;
        ASSERT_TRUE(app.InitInstance(options));
        EXPECT_EQ(g_races, nullptr);
        EXPECT_EQ(g_newDocCount, 1);
        app.doc().runNewGameDialog = [](NewGameDialog& d) {
            EXPECT_EQ(d.list(NewGameDialog::RaceType)->count(), 0);
            return int(QDialog::Accepted);
        };
        EXPECT_FALSE(app.doc().OnNewDocument());
        ASSERT_EQ(app.platform().messages.size(), 1u);
        EXPECT_NE(app.platform().messages[0].find("race"), std::string::npos);
        EXPECT_EQ(g_currentWorld, nullptr);
        EXPECT_EQ(g_newDocCount, 1);
        EXPECT_FALSE(app.frame().action(Command::EndTurn)->isEnabled());
    }
    ResetGlobals();
    ResetDrawingFlags();
}

}  // namespace
}  // namespace qv::shell::test
