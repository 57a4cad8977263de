#include "model/globals.h"

#include "model/lists.h"
#include "model/random.h"
#include "model/races.h"

namespace qv {

World* g_worlds = nullptr;
World* g_lastWorld = nullptr;
World* g_currentWorld = nullptr;
Player* g_players = nullptr;
Race* g_races = nullptr;

std::int32_t g_worldCount = 0;
std::int32_t g_doubleWorldCount = 0;
std::int32_t g_playerCount = 0;
std::int32_t g_asteroidTotal = 0;
std::int32_t g_worldSize = kDefaultWorldSize;
std::int32_t g_startGold = 0;
std::int32_t g_turn = 0;
std::int32_t g_unstability = 0;
std::int32_t g_newDocCount = 0;

std::int32_t g_viewLeft = 0;
std::int32_t g_viewTop = 0;
std::int32_t g_viewRight = kViewWidth;
std::int32_t g_viewBottom = kViewHeight;

Planet* g_selPlanet = nullptr;
Ship* g_selShip = nullptr;
Asteroid* g_selAsteroid = nullptr;
Planet* g_hoverPlanet = nullptr;
Ship* g_hoverShip = nullptr;
Asteroid* g_hoverAsteroid = nullptr;

Ship* g_dockSelection = nullptr;
std::int32_t g_listSelection = 0;
std::int32_t g_payAmount = 0;

std::int32_t g_eventX = 0;
std::int32_t g_eventY = 0;
std::int32_t g_eventDestX = 0;
std::int32_t g_eventDestY = 0;

std::uint8_t g_rocketMode = 0;
std::uint8_t g_jumpMode = 0;
std::uint8_t g_computerMove = 0;
std::uint8_t g_gameOver = 0;
std::uint8_t g_victory = 0;
std::uint32_t g_gameNumber = 0;

Random& GameRandom() {
    static Random random;
    return random;
}

void FreeGameRecords(World*& worlds, Player*& players) {
    while (World* world = worlds) {
        worlds = world->next;
        delete world->star;
        while (Planet* planet = world->planets) {
            world->planets = planet->next;
            FreeList(planet->docks);
            delete planet;
        }
        while (Asteroid* asteroid = world->asteroids) {
            world->asteroids = asteroid->next;
            FreeList(asteroid->ships);
            delete asteroid;
        }
        FreeList(world->ships);
        delete world;
    }
    FreeList(players);
}

void DestroyGame() {
    g_currentWorld = nullptr;
    FreeGameRecords(g_worlds, g_players);
    g_lastWorld = nullptr;
    g_selPlanet = nullptr;
    g_selShip = nullptr;
    g_selAsteroid = nullptr;
    g_dockSelection = nullptr;
    g_hoverPlanet = nullptr;
    g_hoverShip = nullptr;
    g_hoverAsteroid = nullptr;
}

std::string OwnerLabel(const Player* owner) {
    if (!owner) return "Neutral";
    if (owner == g_players) return "Yours";
    if (!owner->next) return "Neutral";
    int n = 0;
    for (const Player* p = g_players; p && p != owner; p = p->next) ++n;
    return "Computer " + std::to_string(n);
}

void DestroyRaces() {
    while (Race* race = g_races) {
        g_races = race->next;
        FreeRace(race);
    }
}

void ResetGlobals() {
    DestroyGame();
    DestroyRaces();
    g_worldCount = 0;
    g_doubleWorldCount = 0;
    g_playerCount = 0;
    g_asteroidTotal = 0;
    g_worldSize = kDefaultWorldSize;
    g_startGold = 0;
    g_turn = 0;
    g_unstability = 0;
    g_newDocCount = 0;
    g_viewLeft = 0;
    g_viewTop = 0;
    g_viewRight = kViewWidth;
    g_viewBottom = kViewHeight;
    g_listSelection = 0;
    g_payAmount = 0;
    g_eventX = g_eventY = g_eventDestX = g_eventDestY = 0;
    g_rocketMode = 0;
    g_jumpMode = 0;
    g_computerMove = 0;
    g_gameOver = 0;
    g_victory = 0;
    g_gameNumber = 0;
    GameRandom().seed(1);
}

}  // namespace qv
