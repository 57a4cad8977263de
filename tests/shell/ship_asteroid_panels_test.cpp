// The Ship Options and Asteroid Options panels: run modally with the game
// lock lent out for the selected record only, what they write and list, and
// their buttons reaching the game (the arming, launching and loading rules
// are the logic's own tests).
#include <QApplication>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>

#include "model/lists.h"
#include "shell/asteroid_options_dialog.h"
#include "shell/ship_options_dialog.h"
#include "shell_fixture.h"

namespace qv::shell::test {
namespace {

bool Has(const std::vector<PanelText>& texts, const PanelText& t) {
    return std::find(texts.begin(), texts.end(), t) != texts.end();
}

class ShipAsteroidPanelsTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_TRUE(started_);
        ASSERT_TRUE(NewGame());
        GameLockGuard lock;
        human = g_players;
        world = g_currentWorld;
        asteroid = world->asteroids;
        ASSERT_NE(asteroid, nullptr);
        FreeList(asteroid->ships);
        g_selPlanet = nullptr;
    }

    // A ship of the human's race, model n; the caller holds the game lock.
    Ship* NewShip(int model) {
        auto* s = new Ship;
        s->owner = human;
        s->model = RecordAt(human->race->shipModels, model);
        s->weapon = human->race->weapons;
        s->actionPoints = 60;
        s->shieldPoints = 140;
        ++human->shipCount;
        return s;
    }

    Ship* SelectShipInSpace() {
        GameLockGuard lock;
        Ship* s = NewShip(1);
        s->x = g_viewLeft + 300;
        s->y = g_viewTop + 300;
        InsertAtHead(world->ships, s);
        g_selShip = s;
        return s;
    }

    Ship* Land(int model, int holds) {
        GameLockGuard lock;
        Ship* s = NewShip(model);
        s->holds = holds;
        InsertAtHead(asteroid->ships, s);
        return s;
    }

    Player* human = nullptr;
    World* world = nullptr;
    Asteroid* asteroid = nullptr;
};

TEST_F(ShipAsteroidPanelsTest, BothPanelsNeedTheirSelectedRecordAndAreModalWithTheLockLent) {
    {
        GameLockGuard lock;
        g_selShip = nullptr;
        g_selAsteroid = nullptr;
        EXPECT_EQ(RunShipOptions(&frame()), QDialog::Rejected);
        EXPECT_EQ(RunAsteroidOptions(&frame()), QDialog::Rejected);
    }
    Ship* s = SelectShipInSpace();
    bool lockLent = false;
    std::vector<PanelText> texts;
    ModalDialog panel;
    panel.whenOpen<CShipOptionsDlg>([&](CShipOptionsDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Ship Options");
        lockLent = !GameLock().heldByThisThread();
        dialog.grab();
        texts = dialog.paintedTexts();
        dialog.okButton()->click();
    });
    int answer = -1;
    {
        GameLockGuard lock;  // the map's click handler holds it
        answer = RunShipOptions(&frame());
    }
    EXPECT_EQ(panel.acted(), 1);
    EXPECT_EQ(answer, QDialog::Accepted);
    EXPECT_TRUE(lockLent);
    EXPECT_TRUE(Has(texts, {90, 10, s->model->name}));
    EXPECT_TRUE(Has(texts, {90, 30, "60"}));

    {
        GameLockGuard lock;
        g_selShip = nullptr;
        g_selAsteroid = asteroid;
    }
    panel.whenOpen<CAsteroidOptionsDlg>([&](CAsteroidOptionsDlg& dialog) {
        lockLent = !GameLock().heldByThisThread();
        dialog.okButton()->click();
    });
    lockLent = false;
    {
        GameLockGuard lock;
        answer = RunAsteroidOptions(&frame());
    }
    EXPECT_EQ(panel.acted(), 2);
    EXPECT_EQ(answer, QDialog::Accepted);
    EXPECT_TRUE(lockLent);
}

TEST_F(ShipAsteroidPanelsTest, ShmAndStartRocketCloseThePanelOnlyWhenTheirDeviceArmed) {
    Ship* s = SelectShipInSpace();
    {
        CShipOptionsDlg dialog(&frame());
        dialog.show();
        dialog.hyperJumpButton()->click();
        dialog.startRocketButton()->click();
        EXPECT_TRUE(dialog.isVisible());  // neither device: the panel stays open
        EXPECT_EQ(g_jumpMode + g_rocketMode, 0);
    }
    {
        GameLockGuard lock;
        s->equip[kHyperJumper] = 1;
        s->equip[kNuclearMissile] = 1;
    }
    {
        CShipOptionsDlg dialog(&frame());
        dialog.show();
        dialog.hyperJumpButton()->click();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(g_jumpMode, 1);
    }
    {
        CShipOptionsDlg dialog(&frame());
        dialog.show();
        dialog.startRocketButton()->click();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(g_rocketMode, 1);
    }
}

TEST_F(ShipAsteroidPanelsTest, AsteroidOptionsListsTheLandedShipsAndItsButtonsActOnTheChosenRow) {
    Ship* holds = Land(1, 10);
    Ship* none = Land(2, 0);
    {
        GameLockGuard lock;
        g_selAsteroid = asteroid;
        asteroid->resources = 47;
        g_listSelection = 0;
    }
    CAsteroidOptionsDlg dialog(&frame());
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Asteroid Options");
    QTreeWidget* list = dialog.shipList();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(1).toStdString(), none->model->name);
    dialog.grab();
    EXPECT_TRUE(Has(dialog.paintedTexts(), {70, 10, "47"}));

    // Load Hold on the chosen row: the first has no holds, the second loads.
    dialog.loadHoldButton()->click();
    EXPECT_EQ(platform().messages, std::vector<std::string>{"This ship hasn't holds!"});
    list->setCurrentItem(list->topLevelItem(1));
    EXPECT_EQ(g_listSelection, 1);
    dialog.loadHoldButton()->click();
    EXPECT_EQ(holds->holdFull, 1);
    dialog.grab();
    EXPECT_FALSE(Has(dialog.paintedTexts(), {70, 10, "47"}));  // the ore went into the hold

    // Start Ship launches the chosen row and the list follows.
    const int inSpace = CountOf(world->ships);
    dialog.startShipButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(1).toStdString(), none->model->name);
    EXPECT_EQ(asteroid->ships, none);
    ASSERT_EQ(CountOf(world->ships), inSpace + 1);
    EXPECT_EQ(world->ships->holdFull, 1);  // the loaded one
}

}  // namespace
}  // namespace qv::shell::test
