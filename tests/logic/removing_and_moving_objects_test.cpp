// Destroying planets, asteroids and ships, and moving records between lists
// (landing, taking off on the launch circle, instability transfers,
// captures): counters, carried fields, pointers, explosions; the damage roll.
#include <set>

#include "game_fixture.h"
#include "turn/removal.h"

namespace qv {
namespace {

class RemovalTest : public testing::GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        NewGameOptions chosen;
        chosen.worldsQuantityOption = chosen.aiPlayersOption = 2;
        chosen.worldsSizeOption = 4;
        NewGame(chosen, 21);
        human = g_players;
        computer = g_players->next;
        world = g_currentWorld;
        other = world == g_worlds ? g_worlds->next : g_worlds;
        planet = g_selPlanet;
    }
    Player *human = nullptr, *computer = nullptr;
    World *world = nullptr, *other = nullptr;
    Planet* planet = nullptr;
};

TEST_F(RemovalTest, DestroyingCountsOffEachShipsOwnOwnerAndForgetsThePointers) {
    for (int i = 0; i < 3; ++i) InsertAtHead(planet->docks, MakeShip(human, 1, 0, 0, 0));
    g_hoverPlanet = planet;
    g_dockSelection = planet->docks;
    const int planets = CountOf(world->planets);
    DestroyPlanet(world, planet);
    EXPECT_EQ(std::vector<int>({human->shipCount, human->planetCount, CountOf(world->planets), platform.explosions}),
              std::vector<int>({0, 0, planets - 1, 2}));
    EXPECT_TRUE(!g_selPlanet && !g_hoverPlanet && !g_dockSelection);

    Asteroid* a = world->asteroids;
    InsertAtHead(a->ships, MakeShip(human, 1, 0, 0, 0));
    InsertAtHead(a->ships, MakeShip(computer, 1, 0, 0, 0));
    g_selAsteroid = g_hoverAsteroid = a;
    DestroyAsteroid(world, a);
    DestroyAsteroid(other, other->asteroids);  // on a world not shown nothing is drawn
    EXPECT_EQ(std::vector<int>({human->shipCount, computer->shipCount, platform.explosions}),
              std::vector<int>({0, 0, 4}));
    EXPECT_TRUE(!g_selAsteroid && !g_hoverAsteroid);

    Ship* s = MakeShip(computer, 2, 1, 300, 300);
    InsertAtHead(world->ships, MakeShip(human, 1, 0, 10, 10));
    InsertAtHead(world->ships, s);
    g_selShip = g_hoverShip = s;
    DestroyShip(world, s);
    EXPECT_EQ(std::vector<int>({computer->shipCount, CountOf(world->ships), platform.explosions}),
              std::vector<int>({0, 1, 4}));  // the fight that hit it shows it
    EXPECT_TRUE(!g_selShip && !g_hoverShip);
}

// A seed whose first draw is odd (sign +1) or even (-1) and whose second
// draw is k modulo 100.
std::uint32_t SeedFor(int sign, int k) {
    for (std::uint32_t seed = 1;; ++seed) {
        Random r(seed);
        if ((r.next() % 2 == 0 ? -1 : 1) == sign && r.next() % 100 == k) return seed;
    }
}

TEST_F(RemovalTest, TakingOffPutsTheShipOnTheLaunchCircleWithTheModelsSpriteAndLandingAtNowhere) {
    struct Case {
        int sign, k, dx, dy;
        bool equipped;
    } cases[] = {{1, 0, 0, -50, false}, {-1, 50, -50, 0, false}, {1, 50, 50, 0, true}, {-1, 80, -40, 30, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.k);
        Ship* s = MakeShip(human, 1, 2, 1, 0);  // equipment slots 0, 2, 4... fitted
        InsertAtHead(planet->docks, s);
        SeedRand(SeedFor(c.sign, c.k));
        Ship* up = (c.equipped ? TakeOffShipEquipped : TakeOffShip)(world, s, planet->docks, planet->x, planet->y);
        EXPECT_EQ(std::make_pair(up->x, up->y), std::make_pair(planet->x + c.dx, planet->y + c.dy));
        EXPECT_EQ(world->ships, up);
        EXPECT_EQ(std::vector<int>({up->actionPoints, up->weaponReady, up->equip[0], up->shieldPoints}),
                  std::vector<int>({0, c.equipped, c.equipped, 101}));
        EXPECT_NE(up->weapon, nullptr);
        for (int i = 0; i < kPixelListSize; ++i) ASSERT_EQ(up->pixels[i].colour, up->model->pixels[i].colour);
    }
    EXPECT_EQ(planet->docks, nullptr);
    // Landing keeps all but the place, the action points and the sprite.
    g_selShip = world->ships;
    Ship* landed = LandShip(world, world->ships, world->asteroids->ships);
    EXPECT_EQ(world->asteroids->ships, landed);
    EXPECT_EQ(std::vector<int>({landed->x, landed->y, landed->actionPoints, landed->weaponReady, landed->equip[0],
                                landed->shieldPoints, landed->viewPoints, landed->holds, landed->holdFull}),
              std::vector<int>({0, 0, 0, 1, 1, 101, 52, 1, 1}));
    EXPECT_EQ(landed->pixels[0].colour, 0u);
    EXPECT_EQ(g_selShip, nullptr);
    EXPECT_EQ(human->shipCount, 4);  // moving changes no counter
}

TEST_F(RemovalTest, InstabilityTransfersKeepEverythingButThePlace) {
    InsertAtHead(planet->docks, MakeShip(human, 1, 0, 0, 0));
    Ship* docked = planet->docks;
    planet->equip[kProtectiveShield] = planet->weaponReady = 1;
    planet->reserved = 2;
    planet->weapon = human->race->weapons;
    planet->shieldPoints = 640;
    g_hoverPlanet = planet;
    const Planet p = *planet;
    Planet* moved = TransferPlanet(world, planet, other, 222, 333);
    EXPECT_EQ(other->planets, moved);
    EXPECT_EQ(std::vector<int>({moved->x, moved->y, moved->reserved, moved->shieldPoints, moved->picture,
                                moved->orbitPeriod, moved->orbitDirection, moved->equip[kProtectiveShield],
                                moved->weaponReady, human->planetCount}),
              std::vector<int>({222, 333, 0, 640, p.picture, p.orbitPeriod, p.orbitDirection, 1, 1, 1}));
    EXPECT_TRUE(moved->docks == docked && moved->owner == human && moved->weapon == p.weapon);
    EXPECT_TRUE(!g_selPlanet && !g_hoverPlanet);  // redirecting them is the caller's choice

    Asteroid* a = world->asteroids;
    InsertAtHead(a->ships, MakeShip(computer, 1, 0, 0, 0));
    const Asteroid ac = *a;
    Asteroid* ma = TransferAsteroid(world, a, other, 50, 60);
    EXPECT_TRUE(other->asteroids == ma && ma->ships == ac.ships);
    EXPECT_EQ(std::vector<int>({ma->x, ma->y, ma->resources, ma->motion, ma->motionRate, ma->kind}),
              std::vector<int>({50, 60, ac.resources, ac.motion, ac.motionRate, ac.kind}));

    Ship* s = MakeShip(computer, 2, 1, 11, 20);  // 77 action points, slots 0, 2, 4... fitted
    InsertAtHead(world->ships, s);
    const Colour last = s->pixels[699].colour;
    Ship* ms = TransferShipInSpace(world, s, other, 70, 80);
    EXPECT_EQ(world->ships, nullptr);
    EXPECT_EQ(std::vector<int>({ms->x, ms->y, ms->actionPoints, ms->weaponReady, ms->equip[0], ms->equip[1]}),
              std::vector<int>({70, 80, 77, 1, 1, 0}));
    EXPECT_EQ(ms->weapon, RecordAt(computer->race->weapons, 1));
    EXPECT_EQ(ms->pixels[699].colour, last);
}

TEST_F(RemovalTest, ACaptureReexpressesDockedShipsAtTheirPlaceInTheCaptorsRace) {
    Race* alpha = LastOf(g_races);  // 3 models, 3 weapons
    Race* beta = g_races->next;     // 2 models, 4 weapons
    ASSERT_EQ(alpha->name + beta->name, "AlphaBeta");
    human->race = alpha;
    computer->race = beta;
    InsertAtHead(planet->docks, MakeShip(human, 3, 3, 0, 0));  // past Beta's models: its last
    InsertAtHead(planet->docks, MakeShip(human, 1, 2, 0, 0));
    InsertAtHead(planet->docks, MakeShip(human, 2, 0, 0, 0));
    planet->weapon = RecordAt(alpha->weapons, 3);
    const int computerPlanets = computer->planetCount;
    CapturePlanet(planet, computer);
    EXPECT_EQ(std::vector<int>({human->planetCount, human->shipCount, computer->planetCount, computer->shipCount}),
              std::vector<int>({0, 0, computerPlanets + 1, 3}));
    EXPECT_EQ(planet->owner, computer);
    EXPECT_EQ(planet->weapon, RecordAt(beta->weapons, 3));
    Ship* s = planet->docks;
    for (const auto& [model, weapon] : {std::pair{2, 0}, {1, 2}, {2, 3}}) {
        EXPECT_EQ(s->model, RecordAt(beta->shipModels, model));
        EXPECT_EQ(s->weapon, weapon ? RecordAt(beta->weapons, weapon) : nullptr);
        EXPECT_EQ(s->owner, computer);
        s = s->next;
    }
}

TEST(DamageRoll, FromTheLeastDamageToBelowTheMostOrTheLeastWithoutADraw) {
    Weapon w;
    w.minDamage = 50;
    w.maxDamage = 60;
    std::set<int> seen;
    for (std::uint32_t seed = 1; seed <= 200; ++seed) seen.insert((SeedRand(seed), DamageRoll(w)));
    EXPECT_EQ(seen, (std::set<int>{50, 51, 52, 53, 54, 55, 56, 57, 58, 59}));
    const std::uint32_t state = GameRandom().state();
    for (int most : {50, 20}) EXPECT_EQ((w.maxDamage = most, DamageRoll(w)), 50);
    EXPECT_EQ(GameRandom().state(), state) << "no draw for a weapon without a span";
}

}  // namespace
}  // namespace qv
