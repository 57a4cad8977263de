// Destroying and moving records between lists: counters, carried fields,
// pointers, explosions; captures; the damage roll.
#include <cmath>
#include <set>
#include <tuple>

#include "game_fixture.h"
#include "turn/removal.h"

namespace qv {
namespace {

class RemovalTest : public testing::GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        NewGame({2, 4, 1, 1, 2}, 21);  // few tiny worlds, few players
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

TEST_F(RemovalTest, DestroyingAPlanetCountsItsDockedShipsOffItsOwnerAndForgetsThePointers) {
    for (int i = 0; i < 3; ++i) InsertAtHead(planet->docks, MakeShip(human, 1, 0, 0, 0));
    g_hoverPlanet = planet;
    g_dockSelection = planet->docks;
    const int planets = CountOf(world->planets);
    DestroyPlanet(world, planet);
    EXPECT_EQ(std::vector<int>({human->shipCount, human->planetCount, CountOf(world->planets), platform.explosions}),
              std::vector<int>({0, 0, planets - 1, 2}));
    EXPECT_TRUE(!g_selPlanet && !g_hoverPlanet && !g_dockSelection);
}

TEST_F(RemovalTest, MovedShipsKeepTheirFieldsButTakingOffAndLandingSpendTheActionPoints) {
    // Taking off: 50 from the base, with the model's sprite; equipment and
    // readiness only when equipped (from a planet's or an asteroid's panel).
    for (bool equipped : {false, true}) {
        Ship* s = MakeShip(human, 1, 2, 1, 0);  // slots 0, 2, 4... fitted
        InsertAtHead(planet->docks, s);
        Ship* up = (equipped ? TakeOffShipEquipped : TakeOffShip)(world, s, planet->docks, planet->x, planet->y);
        EXPECT_EQ(world->ships, up);
        EXPECT_NEAR(std::hypot(up->x - planet->x, up->y - planet->y), 50.0, 1.0);
        EXPECT_EQ(std::vector<int>({up->actionPoints, up->weaponReady, up->equip[0], up->shieldPoints}),
                  std::vector<int>({0, equipped, equipped, 101}));
        EXPECT_NE(up->weapon, nullptr);
        for (int i = 0; i < kPixelListSize; ++i) ASSERT_EQ(up->pixels[i].colour, up->model->pixels[i].colour);
    }
    // Landing keeps all but the place, the action points and the sprite.
    g_selShip = world->ships;
    Ship* landed = LandShip(world, world->ships, world->asteroids->ships);
    EXPECT_EQ(world->asteroids->ships, landed);
    EXPECT_EQ(std::vector<int>({landed->x, landed->y, landed->actionPoints, landed->weaponReady, landed->equip[0],
                                landed->shieldPoints, landed->viewPoints, landed->holds, landed->holdFull,
                                static_cast<int>(landed->pixels[0].colour), human->shipCount}),
              std::vector<int>({0, 0, 0, 1, 1, 101, 52, 1, 1, 0, 2}));  // moving changes no counter
    EXPECT_EQ(g_selShip, nullptr);
    // Thrown into another world by instability: all but the place.
    Ship* s = MakeShip(computer, 2, 1, 11, 20);  // 77 action points, slots 0, 2, 4... fitted
    InsertAtHead(world->ships, s);
    const Colour last = s->pixels[699].colour;
    Ship* ms = TransferShipInSpace(world, s, other, 70, 80);
    EXPECT_EQ(std::vector<int>({ms->x, ms->y, ms->actionPoints, ms->weaponReady, ms->equip[0], ms->equip[1]}),
              std::vector<int>({70, 80, 77, 1, 1, 0}));
    EXPECT_TRUE(ms->weapon == RecordAt(computer->race->weapons, 1) && ms->pixels[699].colour == last);
    // A planet moved keeps its docked ships; the pointers to it are cleared.
    Ship* docked = MakeShip(human, 1, 0, 0, 0);
    InsertAtHead(planet->docks, docked);
    g_hoverPlanet = planet;
    Planet* moved = TransferPlanet(world, planet, other, 222, 333);
    EXPECT_TRUE(moved->docks == docked && moved->owner == human && moved->x == 222 && moved->y == 333);
    EXPECT_TRUE(!g_selPlanet && !g_hoverPlanet);  // redirecting them is the caller's choice
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

// Forgetting a record clears the pointers that hold it and only those.
TEST(Forget, ClearsThePointersToTheRecordOnly) {
    Planet p, q;
    Asteroid a, b;
    Ship s, t;
    std::tie(g_selPlanet, g_hoverPlanet, g_selAsteroid, g_hoverAsteroid) = std::tuple(&p, &p, &a, &a);
    std::tie(g_selShip, g_hoverShip, g_dockSelection) = std::tuple(&s, &s, &s);
    ForgetPlanet(&q), ForgetAsteroid(&b), ForgetShip(&t);
    EXPECT_EQ(std::tuple(g_selPlanet, g_hoverPlanet, g_selAsteroid, g_hoverAsteroid), std::tuple(&p, &p, &a, &a));
    EXPECT_EQ(std::tuple(g_selShip, g_hoverShip, g_dockSelection), std::tuple(&s, &s, &s));
    ForgetPlanet(&p), ForgetAsteroid(&a), ForgetShip(&s);
    for (const void* left :
         {(const void*)g_selPlanet, (const void*)g_hoverPlanet, (const void*)g_selAsteroid,
          (const void*)g_hoverAsteroid, (const void*)g_selShip, (const void*)g_hoverShip, (const void*)g_dockSelection})
        EXPECT_EQ(left, nullptr);
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

}  // namespace
}  // namespace qv
