// The Ship Options and Asteroid Options panels in the window: what they
// write and list, what their buttons do, and running them modally with the
// game lock lent out.
#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <functional>
#include <iterator>
#include <utility>

#include "model/lists.h"
#include "shell/asteroid_options_dialog.h"
#include "shell/picture_button.h"
#include "shell/ship_options_dialog.h"
#include "shell_fixture.h"

namespace qv::shell::test {
namespace {

// Runs act on the dialog of type T once it is the open modal window.
template <typename T>
void WhenOpen(std::function<void(T*)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog) {
            WhenOpen<T>(act);  // not open yet
            return;
        }
        act(dialog);
    });
}

class ShipAsteroidPanelsTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_TRUE(started_);
        ASSERT_TRUE(NewGame());
        GameLockGuard lock;
        human = g_players;
        computer = g_players->next;
        world = g_currentWorld;
        asteroid = world->asteroids;
        ASSERT_NE(asteroid, nullptr);
        FreeList(asteroid->ships);
        g_selPlanet = nullptr;
    }

    // A ship of the owner's race, model n, carrying its race's first weapon;
    // the caller holds the game lock.
    static Ship* NewShip(Player* owner, int model) {
        auto* s = new Ship;
        s->owner = owner;
        s->model = RecordAt(owner->race->shipModels, model);
        s->weapon = owner->race->weapons;
        s->actionPoints = 60;
        s->shieldPoints = 140;
        s->viewPoints = 90;
        s->weaponReady = 1;
        ++owner->shipCount;
        return s;
    }

    Ship* SelectShipInSpace() {
        GameLockGuard lock;
        Ship* s = NewShip(human, 1);
        s->x = g_viewLeft + 300;
        s->y = g_viewTop + 300;
        InsertAtHead(world->ships, s);
        g_selShip = s;
        return s;
    }

    Ship* Land(Player* owner, int model, int actionPoints, int holds, std::uint8_t holdFull = 0) {
        GameLockGuard lock;
        Ship* s = NewShip(owner, model);
        s->actionPoints = actionPoints;
        s->holds = holds;
        s->holdFull = holdFull;
        InsertAtHead(asteroid->ships, s);
        return s;
    }

    // The rows the list shows: "Dock #" and "Space Ship" of each.
    static std::vector<DockRow> Rows(const QTreeWidget* list) {
        std::vector<DockRow> rows;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            rows.push_back({list->topLevelItem(i)->text(0).toStdString(), list->topLevelItem(i)->text(1).toStdString()});
        return rows;
    }

    // The texts a fresh paint of the dialog writes.
    template <typename Dialog>
    static std::vector<PanelText> Painted(Dialog& dialog) {
        dialog.grab();
        return dialog.paintedTexts();
    }

    static bool Has(const std::vector<PanelText>& texts, const PanelText& t) {
        return std::find(texts.begin(), texts.end(), t) != texts.end();
    }

    Player* human = nullptr;
    Player* computer = nullptr;
    World* world = nullptr;
    Asteroid* asteroid = nullptr;
};

// --- Ship Options -------------------------------------------------------

TEST_F(ShipAsteroidPanelsTest, ShipOptionsWritesTheFiguresBesideTheirLabelsAndEveryEquipmentLine) {
    Ship* s = SelectShipInSpace();
    {
        GameLockGuard lock;
        std::fill(std::begin(s->equip), std::end(s->equip), 1);
        s->holds = 3;
        s->holdFull = 1;
    }
    CShipOptionsDlg dialog(&frame());
    EXPECT_EQ(dialog.windowTitle(), "Ship Options");
    for (QPushButton* b : {dialog.okButton(), dialog.hyperJumpButton(), dialog.startRocketButton()}) {
        EXPECT_FALSE(b->icon().isNull()) << b->objectName().toStdString();
        EXPECT_TRUE(dialog.rect().contains(b->geometry())) << b->objectName().toStdString();
    }
    EXPECT_EQ(dialog.okButton()->iconSize(), ShellPictures().get(PictureRole::ButtonOk).size());
    EXPECT_EQ(dialog.hyperJumpButton()->iconSize(), ShellPictures().get(PictureRole::ButtonHyperJump).size());
    EXPECT_EQ(dialog.startRocketButton()->iconSize(), ShellPictures().get(PictureRole::ButtonStartMissile).size());
    EXPECT_TRUE(dialog.okButton()->isDefault());

    const std::vector<PanelText> texts = Painted(dialog);
    const std::string model = s->model->name;
    const std::string weapon = s->weapon->name;
    EXPECT_TRUE(Has(texts, {90, 10, model}));
    EXPECT_TRUE(Has(texts, {90, 30, "60"}));
    EXPECT_TRUE(Has(texts, {90, 50, "140"}));
    EXPECT_TRUE(Has(texts, {90, 69, "90"}));
    EXPECT_TRUE(Has(texts, {90, 88, "3"}));
    EXPECT_TRUE(Has(texts, {120, 88, "(full)"}));
    // One equipment line per slot, from (20, 125) down, 15 pixels apart.
    const std::string equipment[] = {
        "Accelerator",  "Space Scanner",     "Additional Hold", "Hyper Modul",
        "Hyper Jumper", "Protective Screen", "Power reactor",   "Destructive Nuclear Missile",
        weapon,         weapon,              weapon,
    };
    for (int i = 0; i < 11; ++i) EXPECT_TRUE(Has(texts, {20, 125 + 15 * i, equipment[i]})) << i;
    EXPECT_EQ(texts.size(), 6u + 6u + 11u);

    // The labels stand on their figures' lines ("Equipment:" above the first
    // equipment line), share one left edge and end before the figures; the
    // eleventh equipment line still fits in the panel.
    const QFontMetrics metrics(dialog.font());
    const std::pair<const char*, int> labels[] = {{"Ship Type:", 10},  {"Action Points:", 30}, {"Shield Points:", 50},
                                                  {"View Points:", 69}, {"Holds:", 88},         {"Equipment:", 106}};
    for (const auto& [label, y] : labels) {
        const auto at = std::find_if(texts.begin(), texts.end(), [&](const PanelText& t) { return t.text == label; });
        ASSERT_NE(at, texts.end()) << label;
        EXPECT_EQ(at->y, y) << label;
        EXPECT_EQ(at->x, texts.front().x) << label;
        EXPECT_LT(at->x + metrics.horizontalAdvance(QString::fromUtf8(label)), 90) << label;
        EXPECT_GE(at->x, 0) << label;
        EXPECT_LE(at->x, 10) << label;
    }
    EXPECT_LE(275 + metrics.height(), dialog.height());

    // The figures follow the record at the next paint.
    {
        GameLockGuard lock;
        s->holdFull = 0;
        s->actionPoints = 7;
    }
    const std::vector<PanelText> again = Painted(dialog);
    EXPECT_TRUE(Has(again, {120, 88, "(empty)"}));
    EXPECT_TRUE(Has(again, {90, 30, "7"}));
    EXPECT_FALSE(Has(again, {90, 30, "60"}));
}

TEST_F(ShipAsteroidPanelsTest, ShmAndStartRocketCloseThePanelOnlyWhenTheirDeviceIsThere) {
    Ship* s = SelectShipInSpace();
    {
        CShipOptionsDlg dialog(&frame());
        dialog.show();
        dialog.hyperJumpButton()->click();
        dialog.startRocketButton()->click();
        EXPECT_TRUE(dialog.isVisible());  // neither device: the panel stays open
        EXPECT_EQ(g_jumpMode, 0);
        EXPECT_EQ(g_rocketMode, 0);
        EXPECT_TRUE(platform().messages.empty());
        dialog.okButton()->click();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(g_jumpMode, 0);
    }
    {
        GameLockGuard lock;
        s->equip[kHyperJumper] = 1;
    }
    {
        CShipOptionsDlg dialog(&frame());
        dialog.show();
        dialog.startRocketButton()->click();
        EXPECT_TRUE(dialog.isVisible());
        dialog.hyperJumpButton()->click();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(g_jumpMode, 1);
        EXPECT_EQ(g_rocketMode, 0);
    }
    {
        GameLockGuard lock;
        g_jumpMode = 0;
        s->equip[kNuclearMissile] = 1;
    }
    {
        CShipOptionsDlg dialog(&frame());
        dialog.show();
        dialog.startRocketButton()->click();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(g_rocketMode, 1);
        EXPECT_EQ(g_jumpMode, 0);
        EXPECT_EQ(s->equip[kNuclearMissile], 1);  // spent by the launch, not by arming
    }
}

TEST_F(ShipAsteroidPanelsTest, RunShipOptionsIsModalWithTheLockLentAndNeedsASelectedShip) {
    {
        GameLockGuard lock;
        g_selShip = nullptr;
        EXPECT_EQ(RunShipOptions(&frame()), QDialog::Rejected);
    }
    Ship* s = SelectShipInSpace();
    {
        GameLockGuard lock;
        s->equip[kHyperJumper] = 1;
    }
    bool found = false, lockLent = false;
    QString title;
    WhenOpen<CShipOptionsDlg>([&](CShipOptionsDlg* dialog) {
        found = true;
        title = dialog->windowTitle();
        lockLent = !GameLock().heldByThisThread();
        dialog->hyperJumpButton()->click();
    });
    int answer = -1;
    {
        GameLockGuard lock;  // the map's click handler holds it
        answer = RunShipOptions(&frame());
        EXPECT_TRUE(GameLock().heldByThisThread());
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(title, "Ship Options");
    EXPECT_TRUE(lockLent);
    EXPECT_EQ(answer, QDialog::Accepted);
    EXPECT_EQ(g_jumpMode, 1);
}

// --- Asteroid Options -----------------------------------------------------

TEST_F(ShipAsteroidPanelsTest, AsteroidOptionsListsTheLandedShipsAndKeepsTheRowLastReported) {
    Ship* c = Land(human, 1, 10, 0);
    Ship* b = Land(computer, 1, 10, 0);
    Ship* a = Land(human, 2, 10, 0);
    {
        GameLockGuard lock;
        g_selAsteroid = asteroid;
        asteroid->resources = 47;
        g_listSelection = 2;  // left by another list
    }
    CAsteroidOptionsDlg dialog(&frame());
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Asteroid Options");
    QTreeWidget* list = dialog.shipList();
    EXPECT_EQ(list->columnCount(), 2);
    EXPECT_EQ(list->headerItem()->text(0), "Dock #");
    EXPECT_EQ(list->headerItem()->text(1), "Space Ship");
    EXPECT_EQ(list->columnWidth(0), 50);
    EXPECT_EQ(list->columnWidth(1), 80);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    for (QPushButton* button : {dialog.okButton(), dialog.startShipButton(), dialog.loadHoldButton()})
        EXPECT_FALSE(button->icon().isNull());
    EXPECT_EQ(dialog.startShipButton()->iconSize(), ShellPictures().get(PictureRole::ButtonStartShip).size());
    EXPECT_EQ(dialog.loadHoldButton()->iconSize(), ShellPictures().get(PictureRole::ButtonLoadShip).size());

    const std::vector<DockRow> expected = {{"1", a->model->name}, {"2", b->model->name}, {"3", c->model->name}};
    EXPECT_EQ(Rows(list), expected);
    const std::vector<PanelText> texts = Painted(dialog);
    EXPECT_TRUE(Has(texts, {70, 10, "47"}));
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front().text, "Resources:");
    EXPECT_EQ(texts.front().y, 10);
    EXPECT_LT(texts.front().x + QFontMetrics(dialog.font()).horizontalAdvance("Resources:"), 70);
    // Opening and painting leave the row reported before.
    QApplication::processEvents();
    EXPECT_EQ(g_listSelection, 2);

    // Choosing a row reports it.
    list->setCurrentItem(list->topLevelItem(1));
    EXPECT_EQ(g_listSelection, 1);
    list->setCurrentItem(list->topLevelItem(0));
    EXPECT_EQ(g_listSelection, 0);

    // The rows follow the records at the next paint, without a report.
    Land(human, 1, 10, 0);
    Painted(dialog);
    ASSERT_EQ(list->topLevelItemCount(), 4);
    EXPECT_EQ(list->topLevelItem(3)->text(0), "4");
    EXPECT_EQ(g_listSelection, 0);
}

TEST_F(ShipAsteroidPanelsTest, StartShipLaunchesTheChosenRowAndTheNextPressTheOther) {
    Ship* other = Land(human, 1, 25, 0);
    Land(human, 2, 25, 0);
    int inSpace = 0;
    {
        GameLockGuard lock;
        g_selAsteroid = asteroid;
        g_listSelection = 1;
        inSpace = CountOf(world->ships);
    }
    CAsteroidOptionsDlg dialog(&frame());
    dialog.show();
    QTreeWidget* list = dialog.shipList();
    list->setCurrentItem(list->topLevelItem(0));
    ASSERT_EQ(g_listSelection, 0);
    platform().cues.clear();

    dialog.startShipButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "1");
    EXPECT_EQ(list->topLevelItem(0)->text(1).toStdString(), other->model->name);
    EXPECT_EQ(g_listSelection, 0);
    {
        GameLockGuard lock;
        EXPECT_EQ(asteroid->ships, other);
        EXPECT_EQ(CountOf(world->ships), inSpace + 1);
        EXPECT_EQ(world->ships->actionPoints, 0);
        EXPECT_EQ(g_selAsteroid, asteroid);
        EXPECT_EQ(g_selShip, nullptr);
    }
    EXPECT_EQ(platform().cues, std::vector<std::string>{"Landing.wav"});

    dialog.startShipButton()->click();
    EXPECT_EQ(list->topLevelItemCount(), 0);
    {
        GameLockGuard lock;
        EXPECT_EQ(asteroid->ships, nullptr);
        EXPECT_EQ(CountOf(world->ships), inSpace + 2);
    }
    // Nothing left to launch.
    dialog.startShipButton()->click();
    EXPECT_EQ(platform().cues.size(), 2u);
    EXPECT_TRUE(platform().messages.empty());
}

TEST_F(ShipAsteroidPanelsTest, LoadHoldFillsTheHoldsOrSaysWhyNot) {
    Ship* big = Land(human, 1, 10, 10);
    Ship* none = Land(human, 2, 10, 0);
    {
        GameLockGuard lock;
        g_selAsteroid = asteroid;
        asteroid->resources = 5;
        g_listSelection = 0;
    }
    CAsteroidOptionsDlg dialog(&frame());
    dialog.show();
    QTreeWidget* list = dialog.shipList();
    platform().messages.clear();

    dialog.loadHoldButton()->click();  // row 0: no holds
    EXPECT_EQ(platform().messages, std::vector<std::string>{"This ship hasn't holds!"});
    list->setCurrentItem(list->topLevelItem(1));
    dialog.loadHoldButton()->click();
    EXPECT_EQ(platform().messages.size(), 1u);
    {
        GameLockGuard lock;
        EXPECT_EQ(big->holdFull, 1);
        EXPECT_EQ(none->holdFull, 0);
        EXPECT_EQ(asteroid->resources, -5);
    }
    EXPECT_TRUE(Has(Painted(dialog), {70, 10, "-5"}));

    // A spent asteroid gives nothing and says nothing; with ore again, full
    // holds are refused with a message.
    dialog.loadHoldButton()->click();
    EXPECT_EQ(platform().messages.size(), 1u);
    {
        GameLockGuard lock;
        asteroid->resources = 20;
    }
    dialog.loadHoldButton()->click();
    EXPECT_EQ(platform().messages,
              (std::vector<std::string>{"This ship hasn't holds!", "This ship has full holds!"}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(Has(Painted(dialog), {70, 10, "20"}));
    EXPECT_EQ(list->topLevelItemCount(), 2);
}

TEST_F(ShipAsteroidPanelsTest, RunAsteroidOptionsIsModalAndNeedsASelectedAsteroid) {
    {
        GameLockGuard lock;
        g_selAsteroid = nullptr;
        EXPECT_EQ(RunAsteroidOptions(&frame()), QDialog::Rejected);
    }
    Land(human, 1, 30, 0);
    {
        GameLockGuard lock;
        g_selAsteroid = asteroid;
        g_listSelection = 0;
    }
    bool lockLent = false;
    int rowsShown = -1;
    WhenOpen<CAsteroidOptionsDlg>([&](CAsteroidOptionsDlg* dialog) {
        lockLent = !GameLock().heldByThisThread();
        dialog->startShipButton()->click();
        rowsShown = dialog->shipList()->topLevelItemCount();
        dialog->okButton()->click();
    });
    int answer = -1;
    {
        GameLockGuard lock;
        answer = RunAsteroidOptions(&frame());
    }
    EXPECT_EQ(answer, QDialog::Accepted);
    EXPECT_TRUE(lockLent);
    EXPECT_EQ(rowsShown, 0);
    GameLockGuard lock;
    EXPECT_EQ(asteroid->ships, nullptr);
    EXPECT_EQ(g_selAsteroid, asteroid);
}

}  // namespace
}  // namespace qv::shell::test
