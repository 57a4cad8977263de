// Destroying planets, asteroids and ships, and moving records between lists
// (landing, taking off on the launch circle, instability transfers,
// captures): counters, carried fields, pointers, explosions; the damage roll
// and the power history.
#include "game_fixture.h"
#include "model/random.h"
#include "turn/removal.h"

namespace qv {
namespace {

class RemovalTest : public testing::GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        NewGameOptions chosen;
        chosen.worldsQuantityOption = 2;
        chosen.worldsSizeOption = 4;
        chosen.aiPlayersOption = 2;
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

TEST_F(RemovalTest, DestroyingCountsOffEachShipsOwnerAndForgetsThePointers) {
    for (int i = 0; i < 3; ++i) InsertAtHead(planet->docks, MakeShip(human, 1, 0, 0, 0));
    g_hoverPlanet = planet;
    g_dockSelection = planet->docks;
    const int planets = CountOf(world->planets);
    DestroyPlanet(world, planet);
    EXPECT_EQ(human->shipCount + human->planetCount, 0);
    EXPECT_EQ(CountOf(world->planets), planets - 1);
    EXPECT_TRUE(!g_selPlanet && !g_hoverPlanet && !g_dockSelection);
    EXPECT_EQ(platform.explosions, 2);

    Asteroid* a = world->asteroids;
    InsertAtHead(a->ships, MakeShip(human, 1, 0, 0, 0));
    InsertAtHead(a->ships, MakeShip(computer, 1, 0, 0, 0));
    g_selAsteroid = g_hoverAsteroid = a;
    DestroyAsteroid(world, a);
    EXPECT_EQ(human->shipCount + computer->shipCount, 0);
    EXPECT_TRUE(!g_selAsteroid && !g_hoverAsteroid);
    EXPECT_EQ(platform.explosions, 4);
    DestroyAsteroid(other, other->asteroids);  // on a world not shown nothing is drawn
    EXPECT_EQ(platform.explosions, 4);

    Ship* s = MakeShip(computer, 2, 1, 300, 300);
    InsertAtHead(world->ships, MakeShip(human, 1, 0, 10, 10));
    InsertAtHead(world->ships, s);
    g_selShip = g_hoverShip = s;
    DestroyShip(world, s);
    EXPECT_EQ(computer->shipCount, 0);
    EXPECT_EQ(CountOf(world->ships), 1);
    EXPECT_TRUE(!g_selShip && !g_hoverShip);
    EXPECT_EQ(platform.explosions, 4);  // the fight that hit it shows it
}

TEST_F(RemovalTest, LandingKeepsTheShipButNotItsPlaceOrSprite) {
    Ship* s = MakeShip(human, 2, 3, 401, 450);
    InsertAtHead(world->ships, s);
    g_selShip = s;
    const Ship before = *s;
    Ship* landed = LandShip(world, s, world->asteroids->ships);
    EXPECT_EQ(world->ships, nullptr);
    ASSERT_EQ(world->asteroids->ships, landed);
    EXPECT_EQ(landed->owner, before.owner);
    EXPECT_EQ(landed->model, before.model);
    EXPECT_EQ(landed->weapon, before.weapon);
    EXPECT_EQ(std::vector<int>({landed->weaponReady, landed->shieldPoints, landed->viewPoints, landed->holds,
                                landed->holdFull, landed->actionPoints, landed->x, landed->y}),
              std::vector<int>({1, 102, 53, 2, 0, 0, 0, 0}));
    EXPECT_TRUE(std::equal(std::begin(landed->equip), std::end(landed->equip), std::begin(before.equip)));
    EXPECT_EQ(landed->pixels[0].colour, 0u);
    EXPECT_EQ(g_selShip, nullptr);
    EXPECT_EQ(human->shipCount, 1);  // moving changes no counter
}

// A seed whose first draw is odd (sign +1) or even (-1) and whose second
// draw is k modulo 100.
std::uint32_t SeedFor(int sign, int k) {
    for (std::uint32_t seed = 1;; ++seed) {
        Random r(seed);
        if ((r.next() % 2 == 0 ? -1 : 1) == sign && r.next() % 100 == k) return seed;
    }
}

TEST_F(RemovalTest, TakingOffPutsTheShipOnTheLaunchCircleWithTheModelsSprite) {
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
        EXPECT_EQ(up->actionPoints, 0);
        EXPECT_EQ(up->weaponReady, c.equipped ? 1 : 0);
        EXPECT_NE(up->weapon, nullptr);  // kept, ready only when equipped
        EXPECT_EQ(up->equip[0], c.equipped ? 1 : 0);
        EXPECT_EQ(up->shieldPoints, 101);
        for (int i = 0; i < kPixelListSize; ++i) ASSERT_EQ(up->pixels[i].colour, up->model->pixels[i].colour);
    }
    EXPECT_EQ(planet->docks, nullptr);
}

TEST_F(RemovalTest, InstabilityTransfersKeepEverythingButThePlace) {
    InsertAtHead(planet->docks, MakeShip(human, 1, 0, 0, 0));
    Ship* docked = planet->docks;
    planet->equip[kProtectiveShield] = 1;
    planet->reserved = 2;
    planet->weapon = human->race->weapons;
    planet->weaponReady = 1;
    planet->shieldPoints = 640;
    g_hoverPlanet = planet;
    const Planet p = *planet;
    Planet* moved = TransferPlanet(world, planet, other, 222, 333);
    EXPECT_EQ(other->planets, moved);
    EXPECT_EQ(
        std::vector<int>({moved->x, moved->y, moved->reserved, moved->shieldPoints, moved->picture, moved->orbitPeriod,
                          moved->orbitDirection, moved->equip[kProtectiveShield], moved->weaponReady}),
        std::vector<int>({222, 333, 0, 640, p.picture, p.orbitPeriod, p.orbitDirection, 1, 1}));
    EXPECT_EQ(moved->docks, docked);
    EXPECT_EQ(moved->owner, human);
    EXPECT_EQ(moved->weapon, p.weapon);
    EXPECT_TRUE(!g_selPlanet && !g_hoverPlanet);  // redirecting them is the caller's choice
    EXPECT_EQ(human->planetCount, 1);

    Asteroid* a = world->asteroids;
    InsertAtHead(a->ships, MakeShip(computer, 1, 0, 0, 0));
    const Asteroid ac = *a;
    Asteroid* ma = TransferAsteroid(world, a, other, 50, 60);
    EXPECT_EQ(other->asteroids, ma);
    EXPECT_EQ(ma->ships, ac.ships);
    EXPECT_EQ(std::vector<int>({ma->x, ma->y, ma->resources, ma->motion, ma->motionRate, ma->kind}),
              std::vector<int>({50, 60, ac.resources, ac.motion, ac.motionRate, ac.kind}));

    Ship* s = MakeShip(computer, 2, 1, 11, 20);
    s->actionPoints = 77;
    InsertAtHead(world->ships, s);
    const Ship sc = *s;
    Ship* ms = TransferShipInSpace(world, s, other, 70, 80);
    EXPECT_EQ(world->ships, nullptr);
    EXPECT_EQ(std::vector<int>({ms->x, ms->y, ms->actionPoints, ms->weaponReady}), std::vector<int>({70, 80, 77, 1}));
    EXPECT_EQ(ms->weapon, sc.weapon);
    EXPECT_TRUE(std::equal(std::begin(ms->equip), std::end(ms->equip), std::begin(sc.equip)));
    EXPECT_EQ(ms->pixels[699].colour, sc.pixels[699].colour);
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
    EXPECT_EQ(planet->owner, computer);
    EXPECT_EQ(human->planetCount + human->shipCount, 0);
    EXPECT_EQ(computer->planetCount, computerPlanets + 1);
    EXPECT_EQ(computer->shipCount, 3);
    EXPECT_EQ(planet->weapon, RecordAt(beta->weapons, 3));
    const std::pair<int, int> expected[] = {{2, 0}, {1, 2}, {2, 3}};  // model, weapon
    Ship* s = planet->docks;
    for (const auto& [model, weapon] : expected) {
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
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
        SeedRand(seed);
        seen.insert(DamageRoll(w));
    }
    EXPECT_EQ(seen, (std::set<int>{50, 51, 52, 53, 54, 55, 56, 57, 58, 59}));
    const std::uint32_t state = GameRandom().state();
    for (int most : {50, 20}) {
        w.maxDamage = most;
        EXPECT_EQ(DamageRoll(w), 50);
    }
    EXPECT_EQ(GameRandom().state(), state) << "no draw for a weapon without a span";
}

TEST(PowerHistory, IsAThousandAPlanetAHundredAShipAndTheGoldAndGrowsPastItsFirstRoom) {
    Player p;
    p.planetCount = 3;
    p.shipCount = 4;
    p.gold = 250;
    for (int turn : {0, 399, 400, 1234}) RecordPower(p, turn);
    ASSERT_GT(p.power.size(), 1234u);
    for (int turn : {0, 399, 400, 1234}) EXPECT_EQ(p.power[static_cast<std::size_t>(turn)], 3650);
    EXPECT_EQ(p.power[1000], 0);
}

}  // namespace
}  // namespace qv
