// Logic test fixtures: race files and bitmaps written byte by byte; GameTest,
// a game generated from three test races; HandBuiltGameTest, a game built
// record by record on a platform that notes cues, explosions and frames.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "model/globals.h"
#include "model/lists.h"
#include "model/new_game.h"
#include "model/platform.h"
#include "model/races.h"
#include "model/random.h"
#include "model/records.h"
#include "support/bytes.h"
#include "support/temp_folder.h"

namespace qv::testing {

using TempDir = testsupport::TempFolder;

inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The bytes of a race file, field by field.
class RaceBytes {
public:
    RaceBytes& line(const std::string& text, const std::string& end = "\r\n") {
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        bytes_.insert(bytes_.end(), end.begin(), end.end());
        return *this;
    }
    RaceBytes& u16(unsigned v) { return testsupport::PutLe16(bytes_, v & 0xFFFF), *this; }
    RaceBytes& i32(std::int32_t v) { return testsupport::PutLe32(bytes_, static_cast<std::uint32_t>(v)), *this; }
    RaceBytes& model(const std::string& name, const std::string& picture, std::int32_t speed, std::int32_t defence,
                     std::int32_t survey, std::int32_t hold, std::int32_t cost, const std::string& end = "\r\n") {
        line(name, end).line(picture, end);
        return i32(speed).i32(defence).i32(survey).i32(hold).i32(cost);
    }
    RaceBytes& weapon(const std::string& name, std::int32_t range, std::int32_t minDamage, std::int32_t maxDamage,
                      std::int32_t cost, const std::string& end = "\r\n") {
        return line(name, end).i32(range).i32(minDamage).i32(maxDamage).i32(cost);
    }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

// A sound race of models "M1".. and weapons "W1".., in file order.
inline std::vector<std::uint8_t> SimpleRace(const std::string& name, int models = 2, int weapons = 3,
                                            const std::string& picture = "none.bmp") {
    RaceBytes r;
    r.line("About " + name).line(name).u16(static_cast<unsigned>(models)).u16(static_cast<unsigned>(weapons));
    for (int i = 1; i <= models; ++i)
        r.model("M" + std::to_string(i), picture, 100 + i, 200 + i, 300 + i, i - 1, 1000 * i);
    for (int i = 1; i <= weapons; ++i) r.weapon("W" + std::to_string(i), 50 * i, 10 * i, 10 * i + 25, 400 * i);
    return r.bytes();
}

class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        SetPlatform(&platform);
        // Distinct stock sizes, so that a lookup in the wrong race shows.
        WriteBytes(dir / "alpha.race", SimpleRace("Alpha", 3, 3));
        WriteBytes(dir / "beta.race", SimpleRace("Beta", 2, 4));
        WriteBytes(dir / "gamma.race", SimpleRace("Gamma", 4, 3));
        ASSERT_TRUE(StartUp(dir.path()));
        platform.messages.clear();  // the pictures of the test races do not exist
    }
    void TearDown() override {
        SetPlatform(nullptr);
        ResetGlobals();
    }

    void NewGame(const NewGameOptions& chosen, std::uint32_t seed) { ASSERT_TRUE(StartNewGame(options, chosen, seed)); }

    // A ship of the owner's race: model n (1-based), weapon w (0 = none), its
    // fields and picture's pixel list filled with values derived from them.
    static Ship* MakeShip(Player* owner, int model, int weapon, int x, int y) {
        auto* s = new Ship{.x = x, .y = y, .owner = owner, .model = RecordAt(owner->race->shipModels, model)};
        s->weapon = weapon ? RecordAt(owner->race->weapons, weapon) : nullptr;
        s->actionPoints = 7 * x % 300;
        s->shieldPoints = 100 + model;
        s->viewPoints = 50 + weapon;
        s->holds = model;
        s->holdFull = static_cast<std::uint8_t>(model % 2);
        s->weaponReady = static_cast<std::uint8_t>(weapon > 0);
        for (int k = 0; k < kShipEquipSlots; ++k) s->equip[k] = (k + x) % 2;
        for (int i = 0; i < kPixelListSize; ++i)
            s->pixels[i] = Pixel{i % 30, i / 30, static_cast<Colour>(0x10000 + i + x)};
        ++owner->shipCount;
        return s;
    }

    HeadlessPlatform platform;
    TempDir dir;
    NewGameOptions options;
};

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
    T* last = LastOf(head);
    (last ? last->next : head) = rec;
    rec->prev = last;
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
    static Ship* Dock(Planet* p, Player* owner, ShipModel* m) { return Append(p->docks, NewShip(owner, m, 0, 0)); }
    static Ship* Land(Asteroid* a, Player* owner, ShipModel* m) { return Append(a->ships, NewShip(owner, m, 0, 0)); }

    RecordingPlatform platform;
    std::uint32_t seed = 4242;
    Race *red = nullptr, *blue = nullptr;
    Player *human = nullptr, *computer = nullptr, *rival = nullptr, *neutral = nullptr;
    World *world = nullptr, *other = nullptr;
};

}  // namespace qv::testing
