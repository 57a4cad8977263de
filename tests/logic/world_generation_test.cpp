// Generating a new game: sizes, player counts, planets on their orbits,
// asteroid placement, colours, races, home planets and the first view.
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>

#include "game_fixture.h"
#include "model/random.h"
#include "model/saved_game.h"
#include "model/world_generation.h"

namespace qv {
namespace {

using testing::GameTest;

NewGameOptions Options(int worlds, int size, int resources, int ai, int credits = 2, int race = 0) {
    NewGameOptions o;
    o.worldsQuantityOption = worlds;
    o.worldsSizeOption = size;
    o.resourcesOption = resources;
    o.aiPlayersOption = ai;
    o.creditsOption = credits;
    o.raceOption = race;
    return o;
}

using WorldGenerationTest = GameTest;

TEST_F(WorldGenerationTest, PlayerCountsCoverTheTableForEveryWorldCount) {
    // {worlds option: {W: {ai option: [least, most]}}} of the table.
    const std::map<int, std::array<std::pair<int, int>, 3>> table = {
        {2, {{{4, 4}, {4, 4}, {3, 3}}}},    {3, {{{5, 6}, {4, 5}, {2, 3}}}},
        {4, {{{7, 8}, {6, 7}, {3, 4}}}},    {5, {{{8, 10}, {6, 8}, {3, 5}}}},
        {6, {{{9, 12}, {6, 9}, {2, 5}}}},   {7, {{{11, 14}, {8, 11}, {3, 6}}}},
        {8, {{{12, 16}, {8, 12}, {3, 7}}}}, {9, {{{13, 18}, {8, 13}, {2, 7}}}},
        {10, {{{15, 20}, {10, 15}, {3, 8}}}},
    };
    std::map<std::pair<int, int>, std::set<int>> seen;  // (W, ai) -> P values
    for (int worlds = 0; worlds < 3; ++worlds) {
        for (int ai = 0; ai < 3; ++ai) {
            for (std::uint32_t seed = 1; seed <= 150; ++seed) {
                DestroyGame();
                ASSERT_TRUE(GenerateWorld(Options(worlds, 4, 2, ai), seed));
                seen[{g_worldCount, ai}].insert(g_playerCount);
                EXPECT_EQ(g_doubleWorldCount, 2 * g_worldCount);
                EXPECT_EQ(CountOf(g_players), g_playerCount + 1);
                EXPECT_EQ(CountOf(g_worlds), g_worldCount);
            }
        }
    }
    for (const auto& [key, values] : seen) {
        const auto [least, most] = table.at(key.first)[static_cast<std::size_t>(key.second)];
        std::set<int> expected;
        for (int p = least; p <= most; ++p) expected.insert(p);
        EXPECT_EQ(values, expected) << "W=" << key.first << " ai=" << key.second;
    }
    EXPECT_EQ(seen.size(), 27u);  // every W of every worlds option was drawn
}

TEST_F(WorldGenerationTest, SizesGoldAndAsteroidTotalsFollowTheOptions) {
    const int sizes[] = {3000, 2500, 2000, 1500, 1000};
    const int gold[] = {5000, 3000, 2000, 1000, 500};
    const int perPair[] = {7, 5, 3};
    for (int i = 0; i < 5; ++i) {
        DestroyGame();
        ASSERT_TRUE(GenerateWorld(Options(i % 3, i, i % 3, 1, i), 100 + i));
        EXPECT_EQ(g_worldSize, sizes[i]);
        EXPECT_EQ(g_startGold, gold[i]);
        EXPECT_EQ(g_asteroidTotal, 2 * g_worldCount * perPair[i % 3]);
        for (World* w = g_worlds; w; w = w->next) {
            EXPECT_EQ(CountOf(w->asteroids), g_asteroidTotal / g_worldCount);
            EXPECT_EQ(w->star->x, sizes[i] / 2);
            EXPECT_EQ(w->star->y, sizes[i] / 2);
            EXPECT_TRUE(w->star->kind == 1 || w->star->kind == 2);
        }
    }
}

TEST_F(WorldGenerationTest, PlanetsComeInPairsOfWorldsAndLieOnTheirOrbits) {
    for (int size = 0; size < 5; ++size) {
        for (std::uint32_t seed = 1; seed <= 20; ++seed) {
            DestroyGame();
            ASSERT_TRUE(GenerateWorld(Options(static_cast<int>(seed % 3), size, 1, 1), seed));
            const int m = g_worldSize / 2;
            const int reach = m - 350;
            std::vector<int> counts;  // by world number
            int number = 1;
            for (World* w = g_worlds; w; w = w->next, ++number) {
                ASSERT_EQ(w->number, number);
                const int n = CountOf(w->planets);
                counts.push_back(n);
                // The head is the last planet made: d = n - 1.
                int d = n - 1;
                for (Planet* p = w->planets; p; p = p->next, --d) {
                    const int dx = std::abs(p->x - m);
                    EXPECT_GE(dx, d * (reach / 3) + (d + 1) * 100);
                    EXPECT_LT(dx, (d + 1) * (reach / 3) + (d + 1) * 100);
                    const double rho = (d + 1) * 100 + ((d + 1) * reach) / 3;
                    const double dist = std::hypot(p->x - m, p->y - m);
                    EXPECT_LE(dist, rho + 1e-9);
                    EXPECT_GT(dist, rho - 1.5);  // y is truncated
                    EXPECT_EQ(p->shieldPoints, 500);
                    EXPECT_GE(p->picture, 1);
                    EXPECT_LE(p->picture, 3);
                    EXPECT_GE(p->orbitPeriod, 1);
                    EXPECT_LE(p->orbitPeriod, 3);
                    EXPECT_TRUE(p->orbitDirection == 0 || p->orbitDirection == 1);
                    EXPECT_GE(p->reserved, 0);
                    EXPECT_LE(p->reserved, 2);
                    EXPECT_EQ(p->weapon, nullptr);
                    EXPECT_EQ(p->docks, nullptr);
                }
            }
            EXPECT_EQ(counts[0], 3);
            // Worlds W and W-1, W-2 and W-3 ... share four planets, except
            // the pair that holds world 1.
            for (int k = g_worldCount; k - 1 >= 2; k -= 2) EXPECT_EQ(counts[k - 1] + counts[k - 2], 4);
            for (int n : counts) {
                EXPECT_GE(n, 1);
                EXPECT_LE(n, 3);
            }
        }
    }
}

TEST_F(WorldGenerationTest, AsteroidsKeepClearOfEdgesStarPlanetsAndEachOther) {
    for (int size = 0; size < 5; ++size) {
        for (std::uint32_t seed = 1; seed <= 10; ++seed) {
            DestroyGame();
            ASSERT_TRUE(GenerateWorld(Options(0, size, 0, 0), seed * 31));
            const int s = g_worldSize, m = s / 2;
            for (World* w = g_worlds; w; w = w->next) {
                for (Asteroid* a = w->asteroids; a; a = a->next) {
                    EXPECT_GE(a->x, 25);
                    EXPECT_GE(a->y, 25);
                    EXPECT_LE(a->x, s - 25);
                    EXPECT_LE(a->y, s - 25);
                    EXPECT_FALSE(std::abs(a->x - m) < 100 && std::abs(a->y - m) < 100);
                    EXPECT_LE(static_cast<int>(std::hypot(a->x - m, a->y - m)), m);
                    for (Planet* p = w->planets; p; p = p->next)
                        EXPECT_FALSE(std::abs(a->x - p->x) < 50 && std::abs(a->y - p->y) < 50);
                    for (Asteroid* b = a->next; b; b = b->next)
                        EXPECT_FALSE(std::abs(a->x - b->x) < 30 && std::abs(a->y - b->y) < 30);
                    EXPECT_GE(a->resources, 20);
                    EXPECT_LE(a->resources, 99);
                    EXPECT_GE(a->motion, 0);
                    EXPECT_LE(a->motion, 9);
                    EXPECT_GE(a->motionRate, 1);
                    EXPECT_LE(a->motionRate, 3);
                    EXPECT_TRUE(a->kind == 1 || a->kind == 2);
                }
            }
        }
    }
}

TEST_F(WorldGenerationTest, PlayersColoursRacesAndHomePlanets) {
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        DestroyGame();
        ASSERT_TRUE(GenerateWorld(Options(static_cast<int>(seed % 3), 2, 1, static_cast<int>(seed % 3), 3), seed));
        std::set<Colour> colours;
        std::map<const Player*, int> homes;
        for (World* w = g_worlds; w; w = w->next)
            for (Planet* p = w->planets; p; p = p->next) ++homes[p->owner];
        Player* neutral = LastOf(g_players);
        for (Player* p = g_players; p != neutral; p = p->next) {
            EXPECT_TRUE(colours.insert(p->colour).second) << "colour used twice";
            EXPECT_NE(std::find(std::begin(kPlayerColours), std::end(kPlayerColours), p->colour),
                      std::end(kPlayerColours));
            EXPECT_EQ(p->gold, 1000);
            EXPECT_EQ(p->planetCount, 1);
            EXPECT_EQ(p->shipCount, 0);
            EXPECT_EQ(p->power[0], 2000);
            EXPECT_EQ(homes[p], 1) << "every player has one home planet";
            EXPECT_NE(p->race, nullptr);
        }
        EXPECT_EQ(neutral->colour, kNeutralColour);
        EXPECT_EQ(neutral->gold, 0);
        EXPECT_EQ(neutral->planetCount, 0);
        EXPECT_EQ(neutral->power[0], 0);
        EXPECT_NE(neutral->race, nullptr);
        EXPECT_EQ(neutral->next, nullptr);
        int planets = 0;
        for (World* w = g_worlds; w; w = w->next) planets += CountOf(w->planets);
        EXPECT_EQ(homes[neutral], planets - g_playerCount);
        EXPECT_EQ(g_lastWorld, LastOf(g_worlds));
    }
}

TEST_F(WorldGenerationTest, TwentyPlayersUseAllTwentyColours) {
    bool found = false;
    for (std::uint32_t seed = 1; seed < 2000 && !found; ++seed) {
        DestroyGame();
        ASSERT_TRUE(GenerateWorld(Options(0, 0, 2, 0), seed));
        if (g_playerCount != 20) continue;
        found = true;
        std::set<Colour> colours;
        for (Player* p = g_players; p->next; p = p->next) colours.insert(p->colour);
        EXPECT_EQ(colours, std::set<Colour>(std::begin(kPlayerColours), std::end(kPlayerColours)));
    }
    EXPECT_TRUE(found) << "no seed gave 10 worlds and 20 players";
}

TEST_F(WorldGenerationTest, TheHumanSeesItsHomePlanetInAViewInsideTheMap) {
    for (int size = 0; size < 5; ++size) {
        for (std::uint32_t seed = 1; seed <= 40; ++seed) {
            DestroyGame();
            ASSERT_TRUE(GenerateWorld(Options(1, size, 1, 1), seed));
            ASSERT_NE(g_currentWorld, nullptr);
            ASSERT_NE(g_selPlanet, nullptr);
            EXPECT_EQ(g_selPlanet->owner, g_players);
            EXPECT_EQ(IndexOf(g_currentWorld->planets, g_selPlanet) > 0, true);
            EXPECT_EQ(g_viewRight - g_viewLeft, 800);
            EXPECT_EQ(g_viewBottom - g_viewTop, 600);
            EXPECT_GE(g_viewLeft, 0);
            EXPECT_GE(g_viewTop, 0);
            EXPECT_LE(g_viewRight, g_worldSize);
            EXPECT_LE(g_viewBottom, g_worldSize);
            EXPECT_GE(g_selPlanet->x, g_viewLeft);
            EXPECT_LE(g_selPlanet->x, g_viewRight);
            EXPECT_GE(g_selPlanet->y, g_viewTop);
            EXPECT_LE(g_selPlanet->y, g_viewBottom);
            // Centred whenever the map leaves room for it.
            const int cx = g_selPlanet->x, cy = g_selPlanet->y;
            if (cx - 400 >= 0 && cx + 400 <= g_worldSize) {
                EXPECT_EQ(g_viewLeft, cx - 400);
            }
            if (cy - 300 >= 0 && cy + 300 <= g_worldSize) {
                EXPECT_EQ(g_viewTop, cy - 300);
            }
            EXPECT_EQ(g_selShip, nullptr);
            EXPECT_EQ(g_selAsteroid, nullptr);
        }
    }
}

TEST(CentreView, IsPushedInsideTheMapAtEveryEdge) {
    g_worldSize = 1500;
    struct Case { int x, y, left, top; } cases[] = {
        {750, 750, 350, 450},    // room everywhere: centred
        {100, 750, 0, 450},      // left edge
        {1450, 750, 700, 450},   // right edge
        {750, 50, 350, 0},       // top edge
        {750, 1490, 350, 900},   // bottom edge
        {0, 0, 0, 0},            // corners
        {1500, 1500, 700, 900},
    };
    for (const Case& c : cases) {
        CentreViewOn(c.x, c.y);
        EXPECT_EQ(g_viewLeft, c.left) << c.x << "," << c.y;
        EXPECT_EQ(g_viewTop, c.top) << c.x << "," << c.y;
        EXPECT_EQ(g_viewRight, c.left + 800);
        EXPECT_EQ(g_viewBottom, c.top + 600);
    }
    ResetGlobals();
}

TEST_F(WorldGenerationTest, TheHumanTakesTheChosenRace) {
    std::vector<Race*> races;
    for (Race* r = g_races; r; r = r->next) races.push_back(r);
    ASSERT_EQ(races.size(), 3u);
    for (int option : {-1, 0, 1, 2, 7}) {
        DestroyGame();
        ASSERT_TRUE(GenerateWorld(Options(2, 4, 2, 2, 2, option), 5));
        Race* expected = (option >= 1 && option <= 2) ? races[static_cast<std::size_t>(option)] : races[0];
        EXPECT_EQ(g_players->race, expected) << option;
    }
}

TEST_F(WorldGenerationTest, TheSameSeedGivesTheSameGameAndTheFirstDrawsFollowTheirOrder) {
    const NewGameOptions o = Options(0, 0, 0, 0);
    ASSERT_TRUE(GenerateWorld(o, 7));
    const auto first = SaveGameBytes(o);
    DestroyGame();
    ASSERT_TRUE(GenerateWorld(o, 7));
    EXPECT_EQ(SaveGameBytes(o), first);
    DestroyGame();
    ASSERT_TRUE(GenerateWorld(o, 8));
    EXPECT_NE(SaveGameBytes(o), first);

    // The first draws, replayed by hand: world count, player count, then the
    // last world's star and its first planet.
    DestroyGame();
    ASSERT_TRUE(GenerateWorld(o, 12345));
    Random r(12345);
    const int w = 8 + r.next() % 3;
    EXPECT_EQ(g_worldCount, w);
    const int d = 2 * w / 3;
    EXPECT_EQ(g_playerCount, 2 * w - r.next() % d);
    const int starKind = 1 + r.next() % 2;
    const int planets = 1 + r.next() % 3;
    const int xSign = r.next() % 2 == 0 ? -1 : 1;
    const int dx = 100 + r.next() % (1150 / 3);
    const int ySign = r.next() % 2 == 0 ? -1 : 1;
    const int reserved = r.next() % 3;
    const int period = 1 + r.next() % 3;
    const int direction = r.next() % 2;
    const int picture = 1 + r.next() % 3;
    World* last = g_lastWorld;
    EXPECT_EQ(last->number, w);
    EXPECT_EQ(last->star->kind, starKind);
    ASSERT_EQ(CountOf(last->planets), planets);
    Planet* firstMade = LastOf(last->planets);
    EXPECT_EQ(firstMade->x, 1500 + xSign * dx);
    const double rho = 100 + 1150 / 3;
    EXPECT_EQ(firstMade->y, 1500 + ySign * static_cast<int>(std::sqrt(rho * rho - double(dx) * dx)));
    EXPECT_EQ(firstMade->reserved, reserved);
    EXPECT_EQ(firstMade->orbitPeriod, period);
    EXPECT_EQ(firstMade->orbitDirection, direction);
    EXPECT_EQ(firstMade->picture, picture);
}

TEST_F(WorldGenerationTest, WithoutASeedTheClockSeeds) {
    platform.fixedNow = 1700000000;
    const NewGameOptions o = Options(1, 2, 1, 1);
    ASSERT_TRUE(GenerateWorld(o));
    const auto byClock = SaveGameBytes(o);
    DestroyGame();
    ASSERT_TRUE(GenerateWorld(o, 1700000000u));
    EXPECT_EQ(SaveGameBytes(o), byClock);
}

TEST_F(WorldGenerationTest, NewGameKeepsTheOptionsAndStartsAtTurnOne) {
    options.scrollSpeedOption = 55;
    NewGameOptions chosen = Options(2, 4, 2, 2, 4, 1);
    chosen.unstabilityOption = 3;
    chosen.scrollSpeedOption = 99;  // not the dialog's business
    const int docCount = g_newDocCount;
    g_turn = 12;
    g_gameOver = 1;
    NewGame(chosen, 3);
    EXPECT_EQ(options.worldsQuantityOption, 2);
    EXPECT_EQ(options.worldsSizeOption, 4);
    EXPECT_EQ(options.creditsOption, 4);
    EXPECT_EQ(options.raceOption, 1);
    EXPECT_EQ(options.unstabilityOption, 3);
    EXPECT_EQ(options.scrollSpeedOption, 55);
    EXPECT_EQ(g_turn, 1);
    EXPECT_EQ(g_unstability, 3);
    EXPECT_EQ(g_gameOver, 0);
    EXPECT_EQ(g_newDocCount, docCount + 1);
    EXPECT_EQ(platform.pauses, 1);
    EXPECT_EQ(platform.resumes, 1);
    EXPECT_EQ(g_players->race, g_races->next);
}

TEST_F(WorldGenerationTest, NoRaceMeansNoGameAndTheRunningOneStays) {
    NewGame(Options(2, 4, 2, 2), 3);
    World* worlds = g_worlds;
    Planet* selected = g_selPlanet;
    const int left = g_viewLeft, docCount = g_newDocCount;
    Race* races = g_races;
    g_races = nullptr;
    EXPECT_FALSE(StartNewGame(options, Options(0, 0, 0, 0), 4));
    EXPECT_FALSE(GenerateWorld(Options(0, 0, 0, 0), 4));
    g_races = races;
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].find("No race is loaded"), std::string::npos);
    EXPECT_EQ(g_worlds, worlds);
    EXPECT_EQ(g_selPlanet, selected);
    EXPECT_EQ(g_viewLeft, left);
    EXPECT_EQ(g_newDocCount, docCount);
    EXPECT_EQ(options.worldsQuantityOption, 2);
    EXPECT_EQ(platform.pauses, 1);  // only the first game paused drawing
}

}  // namespace
}  // namespace qv
