// A game built record by record: three races without stock (tests add
// models and weapons), a human, two computer players, the neutral player and
// two worlds; the platform notes cues, explosions and (when asked) frames.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model/globals.h"
#include "model/lists.h"
#include "model/platform.h"
#include "model/random.h"
#include "model/records.h"

namespace qv::testing {

// Notes cues and explosions in order; with logFrames, frames and idle waits
// too, and where the watched ship is at each frame.
class RecordingPlatform : public HeadlessPlatform {
public:
    void playCue(const std::string& f) override {
        HeadlessPlatform::playCue(f);
        log.push_back("cue " + f);
    }
    void showExplosion(Planet* p) override {
        HeadlessPlatform::showExplosion(p);
        log.push_back("explode planet");
    }
    void showExplosion(Asteroid* a) override {
        HeadlessPlatform::showExplosion(a);
        log.push_back("explode asteroid");
    }
    void showExplosion(Ship* s) override {
        HeadlessPlatform::showExplosion(s);
        log.push_back("explode ship");
    }
    void waitForFrame() override {
        HeadlessPlatform::waitForFrame();
        if (logFrames) log.push_back("frame");
        if (watched) places.emplace_back(watched->x, watched->y);
    }
    void waitFrameIdle() override {
        HeadlessPlatform::waitFrameIdle();
        if (logFrames) log.push_back("idle");
    }
    std::vector<std::string> log;
    bool logFrames = false;
    const Ship* watched = nullptr;
    std::vector<std::pair<int, int>> places;
};

// Frees a world's planets with their docked ships (counters untouched).
inline void ClearPlanets(World* w) {
    for (Planet* p = w->planets; p; p = p->next) FreeList(p->docks);
    FreeList(w->planets);
}

// Puts the record at the end of the list.
template <typename T>
T* Append(T*& head, T* rec) {
    if (!head) {
        InsertAtHead(head, rec);
    } else {
        T* last = LastOf(head);
        last->next = rec;
        rec->prev = last;
        rec->next = nullptr;
    }
    return rec;
}

class HandBuiltGameTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        SetPlatform(&platform);
        red = AddRace("Red");
        blue = AddRace("Blue");
        human = AddPlayer(AddRace("Green"));
        computer = AddPlayer(red);
        rival = AddPlayer(blue);
        neutral = AddPlayer(nullptr);
        neutral->colour = kNeutralColour;
        world = AddWorld();
        other = AddWorld();
        g_currentWorld = world;
        g_turn = 5;
        g_unstability = 1;
        SeedRand(seed);
    }
    void TearDown() override {
        SetPlatform(nullptr);
        ResetGlobals();
    }

    static Race* AddRace(const std::string& name) {
        auto* race = new Race;
        race->name = name;
        return Append(g_races, race);
    }
    static ShipModel* AddModel(Race* race, int speed, int defence, int survey, int hold, int cost) {
        auto* m = new ShipModel;
        m->speed = speed;
        m->defence = defence;
        m->survey = survey;
        m->hold = hold;
        m->cost = cost;
        m->pixels[0] = Pixel{3, 4, 0x123456};
        ++race->shipModelCount;
        return Append(race->shipModels, m);
    }
    static Weapon* AddWeapon(Race* race, int range, int minDamage, int maxDamage, int cost) {
        ++race->weaponCount;
        return Append(
            race->weapons,
            new Weapon{.name = {}, .range = range, .minDamage = minDamage, .maxDamage = maxDamage, .cost = cost});
    }
    static Player* AddPlayer(Race* race) { return Append(g_players, new Player{.race = race}); }
    static World* AddWorld() {
        auto* w = Append(g_worlds, new World{.star = new Star{1000, 1000, 1}});
        g_lastWorld = w;
        w->number = static_cast<std::uint16_t>(CountOf(g_worlds));
        return w;
    }
    static Planet* AddPlanet(World* w, Player* owner, int x, int y, Weapon* weapon = nullptr) {
        if (owner) ++owner->planetCount;
        return Append(w->planets, new Planet{.x = x, .y = y, .owner = owner, .weapon = weapon});
    }
    static Asteroid* AddAsteroid(World* w, int x, int y, int resources) {
        return Append(w->asteroids, new Asteroid{.x = x, .y = y, .resources = resources});
    }
    // A ship of the model with its figures, counted for its owner.
    static Ship* NewShip(Player* owner, ShipModel* model, int x, int y) {
        ++owner->shipCount;
        auto* s = new Ship{.x = x, .y = y, .owner = owner, .model = model, .actionPoints = model->speed};
        s->shieldPoints = model->defence;
        s->viewPoints = model->survey;
        s->holds = model->hold;
        return s;
    }
    // In open space, armed and ready when a weapon is given, with a sprite.
    static Ship* AddShip(World* w, Player* owner, ShipModel* model, int x, int y, Weapon* weapon = nullptr) {
        Ship* s = Append(w->ships, NewShip(owner, model, x, y));
        s->weapon = weapon;
        s->weaponReady = weapon != nullptr;
        s->pixels[0] = Pixel{1, 2, 0xABCDEF};
        return s;
    }
    static Ship* Dock(Planet* p, Player* owner, ShipModel* model) {
        return Append(p->docks, NewShip(owner, model, 0, 0));
    }
    static Ship* Land(Asteroid* a, Player* owner, ShipModel* model) {
        return Append(a->ships, NewShip(owner, model, 0, 0));
    }

    RecordingPlatform platform;
    std::uint32_t seed = 4242;
    Race* red = nullptr;
    Race* blue = nullptr;
    Player* human = nullptr;
    Player* computer = nullptr;
    Player* rival = nullptr;
    Player* neutral = nullptr;
    World* world = nullptr;
    World* other = nullptr;
};

}  // namespace qv::testing
