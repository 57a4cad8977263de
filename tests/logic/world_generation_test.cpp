// A new game: counts, sizes, gold and asteroids by option; planets on their
// orbits, asteroids kept clear, homes, the first view; what New Game keeps.
#include <map>
#include <set>

#include "game_fixture.h"
#include "model/saved_game.h"
#include "model/world_generation.h"

namespace qv {
namespace {

// New Game options are worlds quantity, worlds size, resources, instability,
// computer players, credits and race, in this order.
class WorldGenerationTest : public testing::GameTest {
protected:
    // Generates the game of each seed of [first, last] and checks it.
    template <typename Check>
    void ForSeeds(const NewGameOptions& o, std::uint32_t first, std::uint32_t last, Check check) {
        for (std::uint32_t seed = first; seed <= last; ++seed) {
            SCOPED_TRACE(::testing::Message() << "seed " << seed);
            DestroyGame();
            ASSERT_TRUE(GenerateWorld(o, seed));
            check();
        }
    }
};

TEST_F(WorldGenerationTest, PlayerCountsCoverTheirRangeForEveryWorldCount) {
    // {W: the least and most players for the computer players option 0, 1, 2}.
    const std::map<int, std::array<std::pair<int, int>, 3>> table = {
        {2, {{{4, 4}, {4, 4}, {3, 3}}}},    {3, {{{5, 6}, {4, 5}, {2, 3}}}},    {4, {{{7, 8}, {6, 7}, {3, 4}}}},
        {5, {{{8, 10}, {6, 8}, {3, 5}}}},   {6, {{{9, 12}, {6, 9}, {2, 5}}}},   {7, {{{11, 14}, {8, 11}, {3, 6}}}},
        {8, {{{12, 16}, {8, 12}, {3, 7}}}}, {9, {{{13, 18}, {8, 13}, {2, 7}}}}, {10, {{{15, 20}, {10, 15}, {3, 8}}}},
    };
    std::map<std::pair<int, int>, std::set<int>> seen;  // (W, ai) -> player counts
    for (int worlds = 0; worlds < 3; ++worlds)
        for (int ai = 0; ai < 3; ++ai)
            ForSeeds(NewGameOptions{worlds, 4, 2, 1, ai}, 1, 150, [&] {
                seen[{g_worldCount, ai}].insert(g_playerCount);
                EXPECT_TRUE(g_worldCount >= 8 - 3 * worlds && g_worldCount <= 10 - 3 * worlds);
                EXPECT_EQ(std::vector<int>({g_doubleWorldCount, CountOf(g_players), CountOf(g_worlds)}),
                          std::vector<int>({2 * g_worldCount, g_playerCount + 1, g_worldCount}));
            });
    ASSERT_EQ(seen.size(), 27u);  // every W of every worlds option was drawn
    for (const auto& [key, counts] : seen) {
        const auto [least, most] = table.at(key.first)[static_cast<std::size_t>(key.second)];
        EXPECT_EQ(std::vector<int>({*counts.begin(), *counts.rbegin(), static_cast<int>(counts.size())}),
                  std::vector<int>({least, most, most - least + 1}))
            << "W=" << key.first << " ai=" << key.second;
    }
}

TEST_F(WorldGenerationTest, SizesGoldAndAsteroidsFollowTheOptionsAndOutOfRangeOptionsTakeTheNearest) {
    struct Case {
        int size, credits, resources, worldSize, gold, perPair;
    } cases[] = {{0, 0, 0, 3000, 5000, 7}, {1, 1, 1, 2500, 3000, 5}, {2, 2, 2, 2000, 2000, 3},
                 {3, 3, 0, 1500, 1000, 7}, {4, 4, 1, 1000, 500, 5},  {-3, 9, 7, 3000, 500, 3}};
    for (const Case& c : cases)
        ForSeeds(NewGameOptions{1, c.size, c.resources, 1, 1, c.credits}, 100, 100, [&] {
            EXPECT_EQ(std::vector<int>({g_worldSize, g_startGold, g_asteroidTotal, g_players->gold}),
                      std::vector<int>({c.worldSize, c.gold, 2 * g_worldCount * c.perPair, c.gold}));
            for (World* w = g_worlds; w; w = w->next) {
                EXPECT_EQ(CountOf(w->asteroids), 2 * c.perPair);
                EXPECT_EQ(std::make_pair(w->star->x, w->star->y), std::make_pair(c.worldSize / 2, c.worldSize / 2));
            }
        });
}

TEST_F(WorldGenerationTest, PlanetsLieOnTheirOrbitsAsteroidsKeepClearAndEachPlayerHasAHome) {
    auto near = [](int x1, int y1, int x2, int y2, int d) { return std::abs(x1 - x2) < d && std::abs(y1 - y2) < d; };
    for (int size = 0; size < 5; ++size)
        ForSeeds(NewGameOptions{size % 3, size, size % 3, 1, size % 3, 3}, 1, 16, [&] {
            const int s = g_worldSize, m = s / 2, reach = m - 350;
            std::vector<int> counts;
            for (World* w = g_worlds; w; w = w->next) {
                ASSERT_EQ(w->number, counts.size() + 1);
                counts.push_back(CountOf(w->planets));
                // Planet d (0 first made, the last in the list) lies on the
                // orbit of radius (d + 1) (100 + reach / 3), its x in its band.
                int d = counts.back() - 1;
                for (Planet* p = w->planets; p; p = p->next, --d) {
                    const int dx = std::abs(p->x - m);
                    EXPECT_TRUE(dx >= d * (reach / 3) + (d + 1) * 100 && dx < (d + 1) * (reach / 3 + 100));
                    const double rho = (d + 1) * 100 + ((d + 1) * reach) / 3, dist = std::hypot(p->x - m, p->y - m);
                    EXPECT_TRUE(dist <= rho && dist > rho - 1.5) << dist << " from the star";  // y truncated
                }
                for (Asteroid* a = w->asteroids; a; a = a->next) {
                    EXPECT_TRUE(a->x >= 25 && a->y >= 25 && a->x <= s - 25 && a->y <= s - 25);
                    EXPECT_FALSE(near(a->x, a->y, m, m, 100));
                    EXPECT_LE(static_cast<int>(std::hypot(a->x - m, a->y - m)), m);
                    for (Planet* p = w->planets; p; p = p->next) EXPECT_FALSE(near(a->x, a->y, p->x, p->y, 50));
                    for (Asteroid* b = a->next; b; b = b->next) EXPECT_FALSE(near(a->x, a->y, b->x, b->y, 30));
                }
            }
            // World 1 has three; worlds W and W-1, W-2 and W-3... share four.
            EXPECT_EQ(counts[0], 3);
            for (std::size_t k = counts.size(); k >= 3; k -= 2) EXPECT_EQ(counts[k - 1] + counts[k - 2], 4);
            // Each player has its colour, one home and its start; the human's
            // home is selected on the world shown, centred in an 800 x 600
            // view pushed inside the map.
            std::set<Colour> colours;
            std::map<const Player*, int> homes;
            for (World* w = g_worlds; w; w = w->next)
                for (Planet* p = w->planets; p; p = p->next) ++homes[p->owner];
            Player* neutral = LastOf(g_players);
            for (Player* p = g_players; p != neutral; p = p->next) {
                colours.insert(p->colour);
                EXPECT_EQ(std::vector<int>({p->planetCount, p->shipCount, p->power[0], homes[p], p->race != nullptr}),
                          std::vector<int>({1, 0, 2000, 1, 1}));
            }
            EXPECT_EQ(colours.size(), static_cast<std::size_t>(g_playerCount));
            EXPECT_EQ(colours.count(kNeutralColour), 0u);
            int planets = 0;
            for (int n : counts) planets += n;
            EXPECT_EQ(std::vector<int>({neutral->gold, neutral->planetCount, homes[neutral], neutral->race != nullptr}),
                      std::vector<int>({0, 0, planets - g_playerCount, 1}));
            EXPECT_EQ(g_lastWorld, LastOf(g_worlds));
            ASSERT_NE(g_selPlanet, nullptr);
            EXPECT_TRUE(g_selPlanet->owner == g_players && IndexOf(g_currentWorld->planets, g_selPlanet) > 0);
            const int left = std::clamp(g_selPlanet->x - 400, 0, g_worldSize - 800);
            const int top = std::clamp(g_selPlanet->y - 300, 0, g_worldSize - 600);
            EXPECT_EQ(std::vector<int>({g_viewLeft, g_viewTop, g_viewRight, g_viewBottom}),
                      std::vector<int>({left, top, left + 800, top + 600}));
        });
}

TEST_F(WorldGenerationTest, TheHumanTakesTheChosenRaceAndWithoutASeedTheClockSeeds) {
    for (auto [option, index] : {std::pair{-1, 1}, {0, 1}, {1, 2}, {2, 3}, {3, 1}, {7, 1}})
        ForSeeds(NewGameOptions{2, 4, 2, 1, 2, 2, option}, 5, 5,
                 [&] { EXPECT_EQ(g_players->race, RecordAt(g_races, index)); });
    platform.fixedNow = 1700000000;
    DestroyGame();
    ASSERT_TRUE(GenerateWorld(NewGameOptions{1, 2, 1, 1, 1}));
    const auto byClock = SaveGameBytes(options);
    ForSeeds(NewGameOptions{1, 2, 1, 1, 1}, 1700000000u, 1700000000u,
             [&] { EXPECT_EQ(SaveGameBytes(options), byClock); });
}

TEST_F(WorldGenerationTest, NewGameKeepsTheOptionsButTheScrollSpeedAndWithoutARaceTheRunningGameStays) {
    options.scrollSpeedOption = 55;
    NewGameOptions chosen{2, 4, 2, 3, 2, 4, 1};
    chosen.scrollSpeedOption = 99;  // not the dialog's business
    const int docCount = g_newDocCount;
    g_turn = 12;
    g_gameOver = 1;
    NewGame(chosen, 3);
    EXPECT_EQ(std::vector<int>({options.worldsQuantityOption, options.worldsSizeOption, options.creditsOption,
                                options.raceOption, options.unstabilityOption, options.scrollSpeedOption}),
              std::vector<int>({2, 4, 4, 1, 3, 55}));
    EXPECT_EQ(std::vector<int>({g_turn, g_unstability, g_gameOver, g_newDocCount, platform.pauses, platform.resumes}),
              std::vector<int>({1, 3, 0, docCount + 1, 1, 1}));

    World* worlds = g_worlds;
    Race* races = g_races;
    g_races = nullptr;
    EXPECT_FALSE(StartNewGame(options, NewGameOptions{0, 0, 0, 1, 0}, 4));
    EXPECT_FALSE(GenerateWorld(NewGameOptions{0, 0, 0, 1, 0}, 4));
    g_races = races;
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].find("No race is loaded"), std::string::npos);
    EXPECT_TRUE(g_worlds == worlds && g_selPlanet);
    EXPECT_EQ(std::vector<int>({g_newDocCount, options.worldsQuantityOption, platform.pauses}),
              std::vector<int>({docCount + 1, 2, 1}));
}

}  // namespace
}  // namespace qv
