// Ending a turn: the one moment at which time passes.
#pragma once

namespace qv {

// One whole turn, in this order: the computer players (with the human's
// side too when autopilot is on), the motion and collisions of every world,
// the instability events, the income, the renewal of action points and
// weapons, the turn counter and the tests for a lost and a won game. Its
// events that concern the human player make the turn report
// (turn/turn_report). Does nothing without a game.
void OnEndTurn(bool autopilot = false);

// Victory: there is a computer player, and none of them (the neutral player
// aside) holds a planet or a ship.
bool ComputersDefeated();

// Income: every player, the neutral one too, earns 100 gold per planet.
void CollectIncome();

// Renewal of every world's ships and planets: action points (set, not
// added) and weapon readiness; a Global Bank System pays its owner 150.
void RenewWorlds();

}  // namespace qv
