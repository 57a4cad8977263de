#include "model/world_generation.h"

#include <cmath>
#include <cstdlib>

#include "model/lists.h"
#include "model/platform.h"
#include "model/random.h"

namespace qv {

const Colour kPlayerColours[kColourCount] = {
    0x80FF00, 0xFF8080, 0x804040, 0xFF8040, 0x008080, 0x00FFFF, 0x8080FF,
    0x8080C0, 0xFF80FF, 0xFF0080, 0x008000, 0x808040, 0x808080, 0x860F26,
    0xC0C0C0, 0x800080, 0xFFFF00, 0xBA8CB4, 0xA885A8, 0xD2C0DD,
};

namespace {

// a + (rand() mod (b - a + 1))
int RandomIn(int a, int b) { return a + Rand() % (b - a + 1); }

// -1 when the draw is even, +1 otherwise.
int RandomSign() { return Rand() % 2 == 0 ? -1 : 1; }

// An option index outside its table takes the table's nearest entry.
int Clamp(int index, int last) { return index < 0 ? 0 : (index > last ? last : index); }

void AddPlanets(World& world, int count, int centre) {
    const int reach = centre - 350;  // 150, 400, 650, 900 or 1150
    for (int d = 0; d < count; ++d) {
        auto* planet = new Planet;
        const int xSign = RandomSign();
        const int dx = d * (reach / 3) + (d + 1) * 100 + Rand() % (reach / 3);
        planet->x = centre + xSign * dx;
        // The planet lies on its orbit circle of radius rho around the star.
        const long long rho = (d + 1) * 100 + ((d + 1) * reach) / 3;
        const long long off = planet->x - centre;
        const int ySign = RandomSign();
        planet->y = centre + ySign * static_cast<int>(std::sqrt(static_cast<double>(rho * rho - off * off)));
        planet->reserved = RandomIn(0, 2);
        planet->orbitPeriod = RandomIn(1, 3);
        planet->orbitDirection = Rand() % 2;
        planet->picture = RandomIn(1, 3);
        planet->shieldPoints = 500;
        planet->owner = LastOf(g_players);  // the neutral player
        InsertAtHead(world.planets, planet);
    }
}

// An asteroid keeps off the map's border, the star, the planets and the
// asteroids placed before it, and stays within half the map of the star.
bool AsteroidPlaceIsFree(const World& world, int x, int y, int size, int centre) {
    if (x < 25 || y < 25 || x > size - 25 || y > size - 25) return false;
    if (std::abs(x - centre) < 100 && std::abs(y - centre) < 100) return false;
    const long long sx = world.star->x - x;
    const long long sy = world.star->y - y;
    if (static_cast<int>(std::sqrt(static_cast<double>(sx * sx + sy * sy))) > centre) return false;
    for (const Planet* p = world.planets; p; p = p->next)
        if (std::abs(x - p->x) < 50 && std::abs(y - p->y) < 50) return false;
    for (const Asteroid* a = world.asteroids; a; a = a->next)
        if (std::abs(x - a->x) < 30 && std::abs(y - a->y) < 30) return false;
    return true;
}

void AddAsteroids(World& world, int count, int size, int centre) {
    for (int i = 0; i < count; ++i) {
        int x, y;
        do {
            x = Rand() % size;
            y = Rand() % size;
        } while (!AsteroidPlaceIsFree(world, x, y, size, centre));
        auto* asteroid = new Asteroid;
        asteroid->x = x;
        asteroid->y = y;
        asteroid->kind = RandomIn(1, 2);
        asteroid->motion = Rand() % 10;
        asteroid->motionRate = RandomIn(1, 3);
        asteroid->resources = RandomIn(20, 99);
        InsertAtHead(world.asteroids, asteroid);
    }
}

}  // namespace

std::int32_t StartGoldFor(std::int32_t creditsOption) {
    static const std::int32_t gold[] = {5000, 3000, 2000, 1000, 500};
    return gold[Clamp(creditsOption, 4)];
}

std::int32_t WorldSizeFor(std::int32_t worldsSizeOption) {
    static const std::int32_t size[] = {3000, 2500, 2000, 1500, 1000};
    return size[Clamp(worldsSizeOption, 4)];
}

void CentreViewOn(int x, int y) {
    g_viewLeft = x - kViewWidth / 2;
    g_viewRight = x + kViewWidth / 2;
    g_viewTop = y - kViewHeight / 2;
    g_viewBottom = y + kViewHeight / 2;
    if (g_viewLeft < 0) {
        g_viewLeft = 0;
        g_viewRight = kViewWidth;
    }
    if (g_viewTop < 0) {
        g_viewTop = 0;
        g_viewBottom = kViewHeight;
    }
    if (g_viewRight > g_worldSize) {
        g_viewRight = g_worldSize;
        g_viewLeft = g_worldSize - kViewWidth;
    }
    if (g_viewBottom > g_worldSize) {
        g_viewBottom = g_worldSize;
        g_viewTop = g_worldSize - kViewHeight;
    }
}

bool GenerateWorld(const NewGameOptions& options, std::optional<std::uint32_t> seed) {
    const int raceCount = CountOf(g_races);
    if (raceCount == 0) return false;

    // 1. Seed, then the game-wide sizes in this order.
    SeedRand(seed ? *seed : static_cast<std::uint32_t>(CurrentPlatform().now()));
    g_startGold = StartGoldFor(options.creditsOption);
    g_worldSize = WorldSizeFor(options.worldsSizeOption);
    static const int baseWorlds[] = {8, 5, 2};
    const int w = baseWorlds[Clamp(options.worldsQuantityOption, 2)] + Rand() % 3;
    g_worldCount = w;
    g_doubleWorldCount = 2 * w;
    const int r = Rand();
    const int d = (2 * w) / 3;
    const int e = (4 * w) / 3;
    switch (Clamp(options.aiPlayersOption, 2)) {
        case 0: g_playerCount = 2 * w - r % d; break;
        case 1: g_playerCount = 2 * w + 1 - (d + r % d); break;
        default: g_playerCount = 2 * w + 1 - (e + r % d); break;
    }
    static const int asteroidsPerWorldPair[] = {7, 5, 3};
    g_asteroidTotal = 2 * w * asteroidsPerWorldPair[Clamp(options.resourcesOption, 2)];

    // 2. The neutral player, which stays the last record.
    auto* neutral = new Player;
    neutral->colour = kNeutralColour;
    InsertAtHead(g_players, neutral);

    // 3. The worlds, from the last to world 1, each to the head of the list.
    const int size = g_worldSize;
    const int centre = size / 2;
    int pair = 0;
    for (int k = w; k >= 1; --k) {
        auto* world = new World;
        world->star = new Star;
        world->star->kind = RandomIn(1, 2);
        world->star->x = centre;
        world->star->y = centre;
        world->number = static_cast<std::uint16_t>(k);
        InsertAtHead(g_worlds, world);
        // Worlds come in pairs holding four planets between them; world 1
        // always has three.
        int planets;
        if (pair == 0) {
            pair = RandomIn(1, 3);
            planets = pair;
        } else {
            planets = 4 - pair;
            pair = 0;
        }
        if (k == 1) planets = 3;
        AddPlanets(*world, planets, centre);
        AddAsteroids(*world, g_asteroidTotal / w, size, centre);
    }

    // 4.
    g_lastWorld = LastOf(g_worlds);

    // 5. The players, each with a colour nobody else has.
    bool taken[kColourCount] = {};
    for (int i = 0; i < g_playerCount; ++i) {
        auto* player = new Player;
        int c;
        do {
            c = Rand() % kColourCount;
        } while (taken[c]);
        taken[c] = true;
        player->colour = kPlayerColours[c];
        player->gold = g_startGold;
        player->planetCount = 1;
        player->power[0] = static_cast<std::int32_t>(PlayerPower(*player));
        InsertAtHead(g_players, player);
    }

    // 6. Races of the computer players and the neutral player.
    for (Player* p = g_players->next; p; p = p->next) p->race = RecordAt(g_races, Rand() % raceCount + 1);

    // 7. Home planets: a free planet of a random world for every player but
    // the neutral one.
    for (Player* p = g_players; p && p->next; p = p->next) {
        World* home = nullptr;
        Planet* planet = nullptr;
        while (!planet) {
            home = RecordAt(g_worlds, Rand() % w + 1);
            for (Planet* q = home->planets; q; q = q->next) {
                if (q->owner->colour == kNeutralColour) {
                    planet = q;
                    break;
                }
            }
        }
        planet->owner = p;
        if (p == g_players) {
            g_currentWorld = home;
            g_selPlanet = planet;
            CentreViewOn(planet->x, planet->y);
        }
    }

    // 8. The human player's race; an index past the list also gives the first.
    Race* race = options.raceOption > 0 ? RecordAt(g_races, options.raceOption + 1) : nullptr;
    g_players->race = race ? race : g_races;
    return true;
}

}  // namespace qv
