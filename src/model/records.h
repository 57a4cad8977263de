// The game records: plain structs linked into doubly linked lists through
// their own next/prev fields. A record is created zeroed with its defaults
// (a planet starts with 500 shield points) and freed on its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// 24-bit colour held as 0x00BBGGRR (blue in the high byte).
using Colour = std::uint32_t;

inline constexpr Colour kNeutralColour = 0xFFFFFF;
inline constexpr int kPixelListSize = 700;
inline constexpr int kPowerHistory = 400;
inline constexpr int kPlanetEquipSlots = 6;
inline constexpr int kShipEquipSlots = 11;

struct Player;
struct Race;
struct ShipModel;
struct Weapon;

// One pixel of a ship picture, relative to the top-left corner of the 30 x 30
// box centred on the ship. In a pixel list the first entry whose colour is 0
// ends the list.
struct Pixel {
    std::int32_t x = 0;
    std::int32_t y = 0;
    Colour colour = 0;
};

// A decoded picture: width x height colours, row by row from the top,
// each 0x00BBGGRR.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Colour> pixels;

    bool empty() const { return width <= 0 || height <= 0; }
    Colour at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

struct Star {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t kind = 0;  // 1 or 2: which star picture is drawn
};

struct Ship {
    std::int32_t x = 0;
    std::int32_t y = 0;
    Player* owner = nullptr;
    ShipModel* model = nullptr;
    std::int32_t equip[kShipEquipSlots] = {};
    std::int32_t actionPoints = 0;
    std::int32_t shieldPoints = 0;
    std::int32_t viewPoints = 0;
    std::int32_t holds = 0;
    std::uint8_t holdFull = 0;
    std::int32_t reserved = 0;
    Weapon* weapon = nullptr;
    std::uint8_t weaponReady = 0;
    Pixel pixels[kPixelListSize] = {};
    Ship* next = nullptr;
    Ship* prev = nullptr;
};

// Ship equipment slots.
enum ShipSlot : int {
    kAccelerator = 0,
    kSpaceScanner = 1,
    kAdditionalHold = 2,
    kHyperModule = 3,
    kHyperJumper = 4,
    kProtectiveScreen = 5,
    kPowerReactor = 6,
    kNuclearMissile = 7,
    kShipRaceWeapon1 = 8,
    kShipRaceWeapon2 = 9,
    kShipRaceWeapon3 = 10,
};

struct Planet {
    std::int32_t shieldPoints = 500;
    std::int32_t picture = 0;  // 1..3
    std::int32_t x = 0;
    std::int32_t y = 0;
    Player* owner = nullptr;
    std::int32_t reserved = 0;
    std::int32_t orbitDirection = 0;  // 0 or 1
    std::int32_t orbitPeriod = 0;     // 1..3
    std::int32_t equip[kPlanetEquipSlots] = {};
    Weapon* weapon = nullptr;
    std::uint8_t weaponReady = 0;
    Ship* docks = nullptr;
    Planet* next = nullptr;
    Planet* prev = nullptr;
};

// Planet equipment slots.
enum PlanetSlot : int {
    kHyperStabilizer = 0,
    kProtectiveShield = 1,
    kGlobalBankSystem = 2,
    kPlanetRaceWeapon1 = 3,
    kPlanetRaceWeapon2 = 4,
    kPlanetRaceWeapon3 = 5,
};

struct Asteroid {
    std::int32_t kind = 0;  // 1 or 2
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t resources = 0;
    std::int32_t motion = 0;      // 0 fixed, 1 circles the star, 2..9 drifts
    std::int32_t motionRate = 0;  // 1..3
    Ship* ships = nullptr;        // ships landed on the asteroid
    Asteroid* next = nullptr;
    Asteroid* prev = nullptr;
};

struct World {
    Star* star = nullptr;  // owned by the world
    Planet* planets = nullptr;
    Asteroid* asteroids = nullptr;
    Ship* ships = nullptr;  // ships in open space
    std::uint16_t number = 0;
    World* next = nullptr;
    World* prev = nullptr;
};

struct Player {
    std::int32_t planetCount = 0;
    std::int32_t shipCount = 0;
    std::int32_t gold = 0;
    Race* race = nullptr;
    Colour colour = 0;
    // power[t] = PlayerPower(player) recorded for turn t; room for turns
    // 0..399 at first, grown as a long game goes on.
    std::vector<std::int32_t> power = std::vector<std::int32_t>(kPowerHistory, 0);
    Player* next = nullptr;
    Player* prev = nullptr;
};

// A player's power, as the statistics show it: 1000 a planet, 100 a ship,
// and the gold (summed wide; the history keeps it as a 32-bit value).
inline std::int64_t PlayerPower(const Player& player) {
    return static_cast<std::int64_t>(player.planetCount) * 1000 + static_cast<std::int64_t>(player.shipCount) * 100 +
           player.gold;
}

struct Weapon {
    std::string name;
    std::int32_t range = 0;
    std::int32_t minDamage = 0;
    std::int32_t maxDamage = 0;
    std::int32_t cost = 0;
    Weapon* next = nullptr;
    Weapon* prev = nullptr;
};

struct ShipModel {
    std::string name;
    std::int32_t speed = 0;
    std::int32_t defence = 0;
    std::int32_t survey = 0;
    std::int32_t hold = 0;
    std::int32_t cost = 0;
    std::string pictureFile;
    Picture picture;  // empty when the picture could not be loaded
    Pixel pixels[kPixelListSize] = {};
    ShipModel* next = nullptr;
    ShipModel* prev = nullptr;
};

struct Race {
    std::string name;
    std::string description;
    std::int32_t shipModelCount = 0;
    std::int32_t weaponCount = 0;
    ShipModel* shipModels = nullptr;
    Weapon* weapons = nullptr;
    std::string fileName;  // the race file it was read from (no folder)
    Race* next = nullptr;
    Race* prev = nullptr;
};

}  // namespace qv
