// Ending a turn: the one moment at which time passes.
#pragma once

namespace qv {

// One whole turn, in this order: the computer players (with the human's
// side too when autopilot is on), the motion and collisions of every world,
// the instability events, the income, the renewal of action points and
// weapons, the turn counter and the test for a lost game. Does nothing
// without a game.
void OnEndTurn(bool autopilot = false);

// Income: every player, the neutral one too, earns 100 gold per planet.
void CollectIncome();

// Renewal of every world's ships and planets: action points (set, not
// added) and weapon readiness; a Global Bank System pays its owner 150.
void RenewWorlds();

}  // namespace qv
