// The turn report: what the last End Turn did to the human player (ships
// lost and hit, planets lost, destroyed or taken, bodies thrown elsewhere,
// ore unloaded). It only watches: recording draws nothing from the
// random generator and changes no record, so a turn plays the same with or
// without anyone reading the report.
#pragma once

#include <string>
#include <vector>

#include "model/records.h"

namespace qv {

enum class TurnEventKind {
    ShipDestroyed,    // a ship of the human's shot down (by: the shooter's owner)
    ShipDamaged,      // hit and still flying (amount: shield points lost)
    PlanetLost,       // captured by another player (by)
    PlanetDestroyed,  // shot to pieces (by; amount: docked ships lost with it)
    PlanetCaptured,   // taken by one of the human's ships (by: its former owner, 0 neutral)
    BodyMoved,        // thrown by instability (body; world to toWorld at toX, toY)
    Collision,        // the human's planet, or an asteroid with the human's ships, destroyed
                      // in a collision (body; amount: the human's ships lost with it)
    OreUnloaded,      // a hold emptied at a planet of the human's (amount: gold earned)
};

enum class BodyKind { Ship, Planet, Asteroid };

struct TurnEvent {
    TurnEventKind kind = TurnEventKind::ShipDestroyed;
    BodyKind body = BodyKind::Ship;
    int world = 0;  // the world's number where it happened
    int x = 0;
    int y = 0;
    int by = 0;      // the other player's position in the player list (1 = the human), 0 none
    int amount = 0;  // see the kinds
    int toWorld = 0;
    int toX = 0;
    int toY = 0;
    std::string model;  // the human's ship's model name, when a ship is concerned

    bool operator==(const TurnEvent&) const = default;
};

// The events of the last End Turn, in the order they happened; none once
// another game was started or opened.
const std::vector<TurnEvent>& LastTurnEvents();

// Starts a new report (the old one is dropped) and records until it is
// closed; OnEndTurn opens it before the computer players move and closes
// it at the end of the turn. Outside a turn nothing is recorded.
void OpenTurnReport();
void CloseTurnReport();
// Drops the report (a new or loaded game).
void ClearTurnReport();

// Records an event when a report is open and it concerns the human player;
// called by the turn engine where the event happens.
void RecordShipHit(const World* world, const Ship& target, const Player* shooter, int damage);
void RecordPlanetHit(const World* world, const Planet& planet, const Player* shooter, const Player* formerOwner,
                     bool destroyed, int dockedShips);
void RecordMoved(const World* from, BodyKind body, const Player* owner, int x, int y, const World* to, int toX, int toY,
                 const std::string& model = {}, int ships = 0);
void RecordCollision(const World* world, BodyKind body, int x, int y, bool humansBody, int humanShips);
void RecordOreUnloaded(const World* world, const Planet& planet, const Ship& ship, int gold);

// The human's ships in a list (docked or landed).
int HumanShipsIn(const Ship* head);

// "you" for the human, else OwnerLabel, from a position in the player list
// (0: no player, "Neutral").
std::string PlayerLabel(int position);
// The player's position in the player list, 0 for none.
int PlayerPosition(const Player* player);

// One line of the report: "World 3: your Mule destroyed by Computer 1".
std::string DescribeEvent(const TurnEvent& event);

// The short summary the map shows: "2 ships lost, 1 planet captured"; empty
// for an empty report.
std::string SummariseEvents(const std::vector<TurnEvent>& events);

}  // namespace qv
