// Moving around the game: the next and previous world, the next and previous
// own ship, centring the view on the selection, the right button that
// cancels armed modes, and the arrow keys that scroll the map.
//
// All of it runs on the game thread with the game lock held by the caller.
// None of it changes a record: only the current world, the selection, the
// view rectangle and the scroll flags, which the drawing thread picks up at
// its next pass.
#pragma once

namespace qv {

// The arrow keys, which scroll the map; the view translates its own keys.
enum class ScrollKey { Left, Up, Right, Down };

// Page Up: the world after the current one, the first after the last.
// Page Down: the one before, the last before the first. Both clear the
// selected planet and asteroid, and the selected ship too unless a hyper
// jump is armed (the ship stays selected while other worlds are shown). The
// view keeps its map coordinates. Nothing happens without a game.
void NextWorld();
void PreviousWorld();

// F7: the view centred on the selected planet, asteroid or ship, moved as
// little as needed to stay inside the world. Nothing happens when nothing is
// selected.
void CenterOnSelection();

// F5: the next own ship after the selected one in the world shown (going
// round its list); failing that, the first own ship of the following worlds
// in world order, whose world is then shown; failing that, an own ship ahead
// of the selected one in the world shown. With no other own ship anywhere
// the selection stays.
//
// When the selected ship is not in the shown world's list (a hyper jump is
// armed and another world is shown), the shown world's ships are looked at
// once each, from its first ship, and the first own one is selected; else
// the other worlds follow as usual (the selected ship's own world among
// them). The view does not move and the modes stay as they are.
void NextShip();

// F6: the mirror image of NextShip: backwards through the shown world's
// list, then the worlds before it in reverse world order, each searched from
// its last ship. When the selected ship is not in the shown world's list,
// the shown world's ships are looked at once each from its last ship.
void PreviousShip();

// The right button: both armed modes (missile and hyper jump) and the whole
// selection cleared. Works also on the title screen.
void OnRButtonDown();

// An arrow key pressed sets its edge scroll flag and clears the four corner
// flags, leaving the other edge flags as they are; other keys do nothing
// (the view does not pass them on). Any key released clears all eight
// scroll flags (also those the pointer set at the view's edges).
void OnKeyDown(ScrollKey key);
void OnKeyUp();

// When the commands are enabled.
bool CanNextShip();              // a ship is selected (also Previous Ship)
bool CanPreviousShip();
bool CanCenterOnSelection();     // a planet, ship or asteroid is selected
bool GameExists();               // Next/Previous World, End Turn, Statistics, Save, Save As

}  // namespace qv
