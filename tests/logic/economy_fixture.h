// A small hand-made game for the planet economy: one world, the human
// player (first race) with one planet, a computer player, the neutral
// player; the human's planet is the selected one.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "game_fixture.h"
#include "model/globals.h"
#include "model/lists.h"
#include "model/random.h"

namespace qv::testing {

class EconomyTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        world = new World;
        world->number = 1;
        world->star = new Star{1000, 1000, 1};
        g_worlds = g_lastWorld = g_currentWorld = world;
        g_worldCount = 1;
        g_turn = 1;

        auto* neutral = new Player;
        neutral->colour = kNeutralColour;
        neutral->race = RecordAt(g_races, 3);
        computer = new Player;
        computer->colour = 0x0000FF;
        computer->race = RecordAt(g_races, 2);
        human = new Player;
        human->colour = 0x00FF00;
        human->race = g_races;
        human->gold = 20000;
        human->planetCount = 1;
        InsertAtHead(g_players, neutral);
        InsertAtHead(g_players, computer);
        InsertAtHead(g_players, human);

        planet = new Planet;
        planet->x = 700;
        planet->y = 400;
        planet->owner = human;
        InsertAtHead(world->planets, planet);
        g_selPlanet = planet;
    }

    // A ship of the human's model n docked at the head of the planet's docks.
    Ship* Dock(int model, int weapon = 0) {
        Ship* s = MakeShip(human, model, weapon, 0, 0);
        InsertAtHead(planet->docks, s);
        return s;
    }

    Race* race() const { return human->race; }
    Weapon* raceWeapon(int n) const { return RecordAt(race()->weapons, n); }

    World* world = nullptr;
    Player* human = nullptr;
    Player* computer = nullptr;
    Planet* planet = nullptr;
};

}  // namespace qv::testing
