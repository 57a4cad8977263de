// Game-wide state of the one running game, and the races that outlive games.
#pragma once

#include <cstdint>
#include <string>

#include "model/records.h"

namespace qv {

// Worlds, players and races.
extern World* g_worlds;        // head of the world list (world number 1)
extern World* g_lastWorld;     // tail of the world list
extern World* g_currentWorld;  // the world shown; null when no game exists
extern Player* g_players;      // head = the human player, tail = the neutral player
extern Race* g_races;          // head of the race list

extern std::int32_t g_worldCount;
extern std::int32_t g_doubleWorldCount;
extern std::int32_t g_playerCount;    // human included, neutral excluded
extern std::int32_t g_asteroidTotal;  // asked for at generation, all worlds
extern std::int32_t g_worldSize;      // side of every world's map
extern std::int32_t g_startGold;
extern std::int32_t g_turn;
extern std::int32_t g_unstability;  // 0 High, 1 Medium, 2 Low, 3 None
extern std::int32_t g_newDocCount;  // 0 before start-up, 1 title screen, 2+ a game exists

// The part of the current world shown: right = left + 800, bottom = top + 600.
extern std::int32_t g_viewLeft;
extern std::int32_t g_viewTop;
extern std::int32_t g_viewRight;
extern std::int32_t g_viewBottom;

// Selection and hover pointers (at most one hover pointer is set).
extern Planet* g_selPlanet;
extern Ship* g_selShip;
extern Asteroid* g_selAsteroid;
extern Planet* g_hoverPlanet;
extern Ship* g_hoverShip;
extern Asteroid* g_hoverAsteroid;

extern Ship* g_dockSelection;       // ship chosen in the open dialog's list
extern std::int32_t g_listSelection;  // row last reported by the open dialog's list
extern std::int32_t g_payAmount;

// Centres of the last instability event's source and target regions.
extern std::int32_t g_eventX;
extern std::int32_t g_eventY;
extern std::int32_t g_eventDestX;
extern std::int32_t g_eventDestY;

extern std::uint8_t g_rocketMode;
extern std::uint8_t g_jumpMode;
extern std::uint8_t g_computerMove;
extern std::uint8_t g_gameOver;
// Every computer player is out of the game; found at the end of each turn,
// never saved.
extern std::uint8_t g_victory;
// Counts the games started or opened (a save leaves it), never saved.
extern std::uint32_t g_gameNumber;

inline constexpr int kViewWidth = 800;
inline constexpr int kViewHeight = 600;
inline constexpr int kDefaultWorldSize = 2000;
inline constexpr int kDefaultScrollStep = 30;

// The options of the last New Game dialog, kept by the document between
// games. Each is the 0-based index of the chosen list entry.
struct NewGameOptions {
    std::int32_t worldsQuantityOption = 1;  // "Several"
    std::int32_t worldsSizeOption = 2;      // "Medium"
    std::int32_t resourcesOption = 1;       // "Several"
    std::int32_t unstabilityOption = 1;     // "Medium"
    std::int32_t aiPlayersOption = 1;       // "Several"
    std::int32_t creditsOption = 2;         // "2000"
    std::int32_t raceOption = 0;            // -1 = nothing chosen: the first race
    std::int32_t scrollSpeedOption = kDefaultScrollStep;
};

// Whose a planet or ship is, to the human player: "Yours", "Computer N" for
// the Nth computer player (the second player record is Computer 1), or
// "Neutral" for the last record and for no owner.
std::string OwnerLabel(const Player* owner);

// Frees every world with its star, planets, asteroids and ships, then every
// player; clears the selection and hover pointers. Races stay loaded.
void DestroyGame();

// Frees the worlds (with everything in them) and the players of a game that
// is not the running one, and leaves both lists empty.
void FreeGameRecords(World*& worlds, Player*& players);

// Frees every race with its ship models and weapons.
void DestroyRaces();

// Destroys the game and the races and puts every game-wide variable back to
// its start-up value (tests start from here).
void ResetGlobals();

}  // namespace qv
