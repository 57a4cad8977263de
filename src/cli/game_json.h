// The running game as JSON, the form "new --json" and "dump" print for tools
// outside the project. One object, keys always in this order:
//
//   {
//     "turn", "worldSize", "worldCount", "doubleWorldCount", "playerCount",
//     "asteroidTotal", "unstability", "gameOver": bool,
//     "currentWorld": position of the shown world,
//     "view": {"left", "top", "right", "bottom"},
//     "selected": {"kind": "planet"|"asteroid"|"ship", "world", "index"} or null,
//     "players": [ {"colour", "gold", "planetCount", "shipCount", "race",
//                   "raceName", "power": [power[0] .. power[turn - 1]]} ],
//     "worlds": [ {"number", "star": {"kind", "x", "y"},
//                  "planets": [ {"x", "y", "picture", "owner", "shieldPoints",
//                                "reserved", "orbitDirection", "orbitPeriod",
//                                "equip": [6], "weapon", "weaponReady",
//                                "docks": [ships]} ],
//                  "asteroids": [ {"kind", "x", "y", "resources", "motion",
//                                  "motionRate", "ships": [ships]} ],
//                  "ships": [ships]} ]
//   }
//
//   ship: {"x", "y", "owner", "model", "modelName", "equip": [11],
//          "actionPoints", "shieldPoints", "viewPoints", "holds", "holdFull",
//          "reserved", "weapon", "weaponReady", "pixels"}
//
// Lists come head first. Every reference is a 1-based list position, 0 for
// none: players in g_players, races in g_races, worlds in g_worlds, a
// selected record in its world's planets, asteroids or ships; a ship's model
// and weapon, and a planet's weapon, in the owner's race's lists. Colours are
// 0x00BBGGRR integers; "pixels" is the number of entries of the ship's pixel
// list before the first one of colour 0. A record without an owner or race
// gives 0 and "" there.
#pragma once

#include <string>
#include <vector>

#include "turn/turn_report.h"

namespace qv::cli {

// The report of one turn played (the turn's number before it was ended).
struct TurnEvents {
    int turn = 0;
    std::vector<TurnEvent> events;
};

// The running game (nested objects indented by two spaces, short number
// lists on one line), ending with a line feed. "play" adds after "worlds",
// with events: "events": [ {"turn", "events": [ {"kind", "body", "world",
// "x", "y", "by", "amount", "toWorld", "toX", "toY", "model", "text"} ]} ]
// (by: a player position, 0 none; text: the line the game's report shows);
// and when a turn played left no computer player in the game:
// "victory": {"winner": 1, "turn"}.
std::string GameJson(const std::vector<TurnEvents>* events = nullptr, int wonOnTurn = 0);

}  // namespace qv::cli
