#include "orders/asteroid_panel.h"

#include "model/globals.h"
#include "model/lists.h"
#include "model/platform.h"
#include "model/sound_cues.h"
#include "turn/removal.h"

namespace qv {

namespace {

// The world whose asteroid list holds the asteroid, or null.
World* WorldOf(const Asteroid* asteroid) {
    for (World* w = g_worlds; w; w = w->next)
        if (IndexOf(w->asteroids, asteroid) != 0) return w;
    return nullptr;
}

}  // namespace

std::optional<std::int32_t> SelectedAsteroidResources() {
    if (!g_selAsteroid) return std::nullopt;
    return g_selAsteroid->resources;
}

std::vector<DockRow> SelectedAsteroidDockRows() {
    if (!g_selAsteroid) return {};
    return DockRowsOf(g_selAsteroid->ships);
}

Ship* ChosenLandedShip() {
    if (!g_selAsteroid || g_listSelection < 0) return nullptr;
    Ship* s = g_selAsteroid->ships;
    for (int row = 0; s && row < g_listSelection; ++row) s = s->next;
    return s;
}

bool StartShipFromAsteroid() {
    Asteroid* asteroid = g_selAsteroid;
    Ship* landed = ChosenLandedShip();
    if (!landed || landed->actionPoints == 0 || !g_players || landed->owner != g_players) return false;
    // The asteroid is on the map shown; its world's open space takes the ship.
    World* world = WorldOf(asteroid);
    if (!world) return false;
    // The player's ship keeps its equipment and readiness when it takes off.
    TakeOffShipEquipped(world, landed, asteroid->ships, asteroid->x, asteroid->y);
    CurrentPlatform().playCue(kCueLanding);
    return true;
}

LoadHoldResult LoadHold() {
    Asteroid* asteroid = g_selAsteroid;
    if (!asteroid || asteroid->resources <= 0) return LoadHoldResult::Nothing;
    Ship* ship = ChosenLandedShip();
    if (!ship || !g_players || ship->owner != g_players) return LoadHoldResult::Nothing;
    if (ship->holds == 0) {
        CurrentPlatform().messageBox("This ship hasn't holds!");
        return LoadHoldResult::NoHolds;
    }
    if (ship->holdFull != 1) {
        ship->holdFull = 1;
        asteroid->resources -= ship->holds;
        return LoadHoldResult::Loaded;
    }
    CurrentPlatform().messageBox("This ship has full holds!");
    return LoadHoldResult::FullHolds;
}

}  // namespace qv
