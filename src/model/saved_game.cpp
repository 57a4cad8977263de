#include "model/saved_game.h"

#include "model/counted.h"
#include "model/lists.h"
#include "model/platform.h"

namespace qv {

namespace {

// Smallest entry sizes, to tell a count the rest of the file cannot hold.
constexpr std::size_t kPlayerSize = 20;
constexpr std::size_t kWorldSize = 14 + 12;  // star, number, three counts
constexpr std::size_t kAsteroidSize = 28;    // six fields and a ship count
constexpr std::size_t kPlanetSize = 64;      // fifteen fields and a ship count
constexpr std::size_t kValuesSize = 48;

// ---- Writing ---------------------------------------------------------------

// Writes into a buffer sized beforehand to the file's exact size.
class Writer {
public:
    explicit Writer(std::vector<std::uint8_t>& out) : out_(out) {}
    void i32(std::int32_t v) {
        const auto u = static_cast<std::uint32_t>(v);
        std::uint8_t* p = room(4);
        p[0] = static_cast<std::uint8_t>(u);
        p[1] = static_cast<std::uint8_t>(u >> 8);
        p[2] = static_cast<std::uint8_t>(u >> 16);
        p[3] = static_cast<std::uint8_t>(u >> 24);
    }
    void u16(std::uint16_t v) {
        std::uint8_t* p = room(2);
        p[0] = static_cast<std::uint8_t>(v);
        p[1] = static_cast<std::uint8_t>(v >> 8);
    }
    void u8(std::uint8_t v) { *room(1) = v; }

private:
    std::uint8_t* room(std::size_t n) {
        if (at_ + n > out_.size()) out_.resize(at_ + n);  // only if the size was reckoned short
        std::uint8_t* p = out_.data() + at_;
        at_ += n;
        return p;
    }
    std::vector<std::uint8_t>& out_;
    std::size_t at_ = 0;
};

Race* RaceOf(const Player* owner) { return owner ? owner->race : nullptr; }

void WriteShips(Writer& w, const Ship* head) {
    w.i32(CountOf(head));
    for (const Ship* s = head; s; s = s->next) {
        w.i32(s->x);
        w.i32(s->y);
        w.i32(s->actionPoints);
        w.i32(s->reserved);
        w.i32(s->holds);
        w.u8(s->holdFull);
        w.u8(s->weaponReady);
        w.i32(s->shieldPoints);
        w.i32(s->viewPoints);
        for (std::int32_t e : s->equip) w.i32(e);
        for (const Pixel& p : s->pixels) {
            w.i32(p.x);
            w.i32(p.y);
            w.i32(static_cast<std::int32_t>(p.colour));
        }
        const Race* race = RaceOf(s->owner);
        w.i32(race ? IndexOf(race->shipModels, s->model) : 0);
        w.i32(race ? IndexOf(race->weapons, s->weapon) : 0);
        w.i32(IndexOf(g_players, s->owner));
    }
}

// ---- Reading ---------------------------------------------------------------

// A game read from a file, not yet the running one. Frees whatever it still
// holds when it goes.
struct StagedGame {
    Player* players = nullptr;
    World* worlds = nullptr;
    std::int32_t viewLeft = 0, viewRight = 0, viewTop = 0, viewBottom = 0;
    std::int32_t currentWorld = 0;
    std::int32_t worldCount = 0, doubleWorldCount = 0, asteroidTotal = 0, playerCount = 0;
    std::int32_t turn = 0, worldSize = 0, unstability = 0;

    StagedGame() = default;
    StagedGame(const StagedGame&) = delete;
    StagedGame& operator=(const StagedGame&) = delete;
    ~StagedGame() { FreeGameRecords(worlds, players); }
};

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }
    std::size_t left() const { return size_ - pos_; }

    // The first problem found is the one reported.
    void fail(const std::string& why) {
        if (error_.empty()) error_ = why;
    }

    std::int32_t i32() {
        if (!take(4)) return 0;
        const std::uint8_t* p = data_ + pos_ - 4;
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) |
                                         (static_cast<std::uint32_t>(p[1]) << 8) |
                                         (static_cast<std::uint32_t>(p[2]) << 16) |
                                         (static_cast<std::uint32_t>(p[3]) << 24));
    }
    std::uint16_t u16() {
        if (!take(2)) return 0;
        return static_cast<std::uint16_t>(data_[pos_ - 2] | (data_[pos_ - 1] << 8));
    }
    std::uint8_t u8() { return take(1) ? data_[pos_ - 1] : 0; }

    // A count of entries of at least entrySize bytes each, which the rest of
    // the file must be able to hold.
    int count(std::size_t entrySize, std::string_view noun, const std::string& where = "") {
        const std::string what = std::string(noun) + "s" + where;
        const std::int32_t n = i32();
        if (failed()) return 0;
        if (n < 0) {
            fail("it gives a negative number of " + what + " (" + std::to_string(n) + ")");
            return 0;
        }
        if (static_cast<std::size_t>(n) > left() / entrySize) {
            fail("it announces " + Counted(n, noun) + where + ", more than the rest of the file can hold");
            return 0;
        }
        return n;
    }

    // Where the reading is, for the message about a file that ends early.
    void at(std::string where) { where_ = std::move(where); }

private:
    bool take(std::size_t n) {
        if (failed()) return false;
        if (size_ - pos_ < n) {
            fail("the file ends early, inside " + where_);
            pos_ = size_;
            return false;
        }
        pos_ += n;
        return true;
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    std::string error_;
    std::string where_ = "the players";
};

// The last turn a saved game may be at: the power history keeps an entry for
// every turn, and a turn counter near the top of its range would overflow.
constexpr std::int32_t kLastTurn = 1000000;

// Map places of a sound game lie near their map; one far outside is damage
// (and would overflow the arithmetic of motion).
constexpr std::int32_t kFarOutside = 1000000;

bool CheckPlace(Reader& in, std::int32_t x, std::int32_t y, const std::string& what) {
    if (x >= -kFarOutside && x <= kFarOutside && y >= -kFarOutside && y <= kFarOutside) return true;
    in.fail(what + " lies far outside the map, at (" + std::to_string(x) + ", " + std::to_string(y) + ")");
    return false;
}

// Orbit periods and drift rates are 1, 2 or 3.
bool CheckRate(Reader& in, std::int32_t rate, const std::string& what) {
    if (rate >= 1 && rate <= 3) return true;
    in.fail(what + " " + std::to_string(rate) + " (1 to 3 are known)");
    return false;
}

// Reads a list of ships into head (each inserted at the head, so the list
// comes back reversed).
void ReadShips(Reader& in, const StagedGame& game, int playerCount, Ship*& head, const std::string& where) {
    const int n = in.count(kSavedShipSize, "ship", " " + where);
    for (int i = 0; i < n && !in.failed(); ++i) {
        in.at("ship " + std::to_string(i + 1) + " " + where);
        auto* s = new Ship;
        InsertAtHead(head, s);
        s->x = in.i32();
        s->y = in.i32();
        s->actionPoints = in.i32();
        s->reserved = in.i32();
        s->holds = in.i32();
        s->holdFull = in.u8();
        s->weaponReady = in.u8();
        s->shieldPoints = in.i32();
        s->viewPoints = in.i32();
        for (std::int32_t& e : s->equip) e = in.i32();
        for (Pixel& p : s->pixels) {
            p.x = in.i32();
            p.y = in.i32();
            p.colour = static_cast<Colour>(in.i32());
        }
        const std::int32_t model = in.i32();
        const std::int32_t weapon = in.i32();
        const std::int32_t owner = in.i32();
        if (in.failed()) return;
        const std::string name = "ship " + std::to_string(i + 1) + " " + where;
        if (!CheckPlace(in, s->x, s->y, name)) return;
        if (owner < 1 || owner > playerCount) {
            in.fail(name + " belongs to player " + std::to_string(owner) + ", but the game has " +
                    Counted(playerCount, "player"));
            return;
        }
        s->owner = RecordAt(game.players, owner);
        Race* race = s->owner->race;
        s->model = RecordAt(race->shipModels, model);
        if (!s->model) {
            in.fail(name + " is of ship model " + std::to_string(model) + ", but the race \"" + race->name +
                    "\" has " + std::to_string(race->shipModelCount) + " ship models");
            return;
        }
        // A weapon index past the race's weapons leaves the ship unarmed.
        s->weapon = weapon > 0 ? RecordAt(race->weapons, weapon) : nullptr;
    }
}

void ReadWorld(Reader& in, StagedGame& game, int playerCount, int number) {
    const std::string of = "of world " + std::to_string(number);
    in.at("world " + std::to_string(number));
    auto* world = new World;
    InsertAtHead(game.worlds, world);
    world->star = new Star;
    world->star->kind = in.i32();
    world->star->x = in.i32();
    world->star->y = in.i32();
    world->number = in.u16();
    if (!in.failed() && !CheckPlace(in, world->star->x, world->star->y, "the star " + of)) return;

    ReadShips(in, game, playerCount, world->ships, "in the space " + of);

    in.at("the asteroids " + of);
    const int asteroids = in.count(kAsteroidSize, "asteroid", " " + of);
    for (int i = 0; i < asteroids && !in.failed(); ++i) {
        in.at("asteroid " + std::to_string(i + 1) + " " + of);
        auto* a = new Asteroid;
        InsertAtHead(world->asteroids, a);
        a->kind = in.i32();
        a->x = in.i32();
        a->y = in.i32();
        a->resources = in.i32();
        a->motion = in.i32();
        a->motionRate = in.i32();
        const std::string name = "asteroid " + std::to_string(i + 1) + " " + of;
        if (!CheckPlace(in, a->x, a->y, name) || !CheckRate(in, a->motionRate, name + " moves at rate")) return;
        ReadShips(in, game, playerCount, a->ships, "on asteroid " + std::to_string(i + 1) + " " + of);
    }

    in.at("the planets " + of);
    const int planets = in.count(kPlanetSize, "planet", " " + of);
    for (int i = 0; i < planets && !in.failed(); ++i) {
        const std::string name = "planet " + std::to_string(i + 1) + " " + of;
        in.at(name);
        auto* p = new Planet;
        InsertAtHead(world->planets, p);
        p->x = in.i32();
        p->y = in.i32();
        p->picture = in.i32();
        p->orbitDirection = in.i32();
        p->orbitPeriod = in.i32();
        p->shieldPoints = in.i32();
        p->reserved = in.i32();
        for (std::int32_t& e : p->equip) e = in.i32();
        const std::int32_t owner = in.i32();
        const std::int32_t weapon = in.i32();
        if (in.failed()) return;
        if (!CheckPlace(in, p->x, p->y, name) || !CheckRate(in, p->orbitPeriod, name + " has orbit period")) return;
        if (owner < 1 || owner > playerCount) {
            in.fail(name + " belongs to player " + std::to_string(owner) + ", but the game has " +
                    Counted(playerCount, "player"));
            return;
        }
        p->owner = RecordAt(game.players, owner);
        p->weapon = weapon > 0 ? RecordAt(p->owner->race->weapons, weapon) : nullptr;
        ReadShips(in, game, playerCount, p->docks, "docked at " + name);
    }
}

bool ReadGame(const std::uint8_t* data, std::size_t size, StagedGame& game, std::string& why) {
    Reader in(data, size);
    const int raceCount = CountOf(g_races);

    in.at("the players");
    const int players = in.count(kPlayerSize, "player");
    for (int i = 0; i < players && !in.failed(); ++i) {
        auto* p = new Player;
        InsertAtHead(game.players, p);
        p->colour = static_cast<Colour>(in.i32());
        p->gold = in.i32();
        p->planetCount = in.i32();
        p->shipCount = in.i32();
        const std::int32_t race = in.i32();
        if (in.failed()) break;
        p->race = RecordAt(g_races, race);
        if (!p->race)
            in.fail("player " + std::to_string(i + 1) + " is of race " + std::to_string(race) + ", but " +
                    std::to_string(raceCount) + (raceCount == 1 ? " race is" : " races are") + " loaded");
    }
    ReverseList(game.players);
    if (!in.failed() && players < 2) in.fail("it has " + Counted(players, "player") + "; a game has at least two");

    in.at("the worlds");
    const int worlds = in.failed() ? 0 : in.count(kWorldSize, "world");
    for (int i = 0; i < worlds && !in.failed(); ++i) ReadWorld(in, game, players, i + 1);
    ReverseList(game.worlds);

    in.at("the view and game values");
    game.viewLeft = in.i32();
    game.viewRight = in.i32();
    game.viewTop = in.i32();
    game.viewBottom = in.i32();
    game.currentWorld = in.i32();
    game.worldCount = in.i32();
    game.doubleWorldCount = in.i32();
    game.asteroidTotal = in.i32();
    game.playerCount = in.i32();
    game.turn = in.i32();
    game.worldSize = in.i32();
    game.unstability = in.i32();

    if (!in.failed()) {
        if (worlds < 1)
            in.fail("it has no world");
        else if (game.currentWorld < 1 || game.currentWorld > worlds)
            in.fail("the world shown is world " + std::to_string(game.currentWorld) + ", but the game has " +
                    Counted(worlds, "world"));
        else if (game.playerCount != players - 1)
            in.fail("it says it has " + Counted(game.playerCount, "player") + " besides the neutral one but holds " +
                    std::to_string(players - 1));
        else if (game.worldCount != worlds)
            in.fail("it says it has " + Counted(game.worldCount, "world") + " but holds " +
                    std::to_string(worlds));
        else if (game.worldSize < 1000 || game.worldSize > 3000)
            in.fail("its map size is " + std::to_string(game.worldSize) + " (1000 to 3000 are known)");
        else if (game.turn < 1 || game.turn > kLastTurn)
            in.fail("its turn is " + std::to_string(game.turn) + " (1 to " + std::to_string(kLastTurn) +
                    " are known)");
        else if (game.unstability < 0 || game.unstability > 3)
            in.fail("its instability level is " + std::to_string(game.unstability) + " (0 to 3 are known)");
        else if (in.left() != 0)
            in.fail("it has " + Counted(static_cast<std::int64_t>(in.left()), "byte") + " after the end of the game");
    }
    why = in.error();
    return !in.failed();
}

}  // namespace

std::vector<std::uint8_t> SaveGameBytes(const NewGameOptions& options) {
    ++g_newDocCount;
    std::vector<std::uint8_t> out;
    out.resize(SavedGameSize());
    Writer w(out);

    w.i32(CountOf(g_players));
    for (const Player* p = g_players; p; p = p->next) {
        w.i32(static_cast<std::int32_t>(p->colour));
        w.i32(p->gold);
        w.i32(p->planetCount);
        w.i32(p->shipCount);
        w.i32(IndexOf(g_races, p->race));
    }

    w.i32(CountOf(g_worlds));
    for (const World* world = g_worlds; world; world = world->next) {
        w.i32(world->star ? world->star->kind : 0);
        w.i32(world->star ? world->star->x : 0);
        w.i32(world->star ? world->star->y : 0);
        w.u16(world->number);
        WriteShips(w, world->ships);
        w.i32(CountOf(world->asteroids));
        for (const Asteroid* a = world->asteroids; a; a = a->next) {
            for (std::int32_t v : {a->kind, a->x, a->y, a->resources, a->motion, a->motionRate}) w.i32(v);
            WriteShips(w, a->ships);
        }
        w.i32(CountOf(world->planets));
        for (const Planet* p = world->planets; p; p = p->next) {
            for (std::int32_t v : {p->x, p->y, p->picture, p->orbitDirection, p->orbitPeriod, p->shieldPoints,
                                   p->reserved})
                w.i32(v);
            for (std::int32_t e : p->equip) w.i32(e);
            w.i32(IndexOf(g_players, p->owner));
            const Race* race = RaceOf(p->owner);
            w.i32(race ? IndexOf(race->weapons, p->weapon) : 0);
            WriteShips(w, p->docks);
        }
    }

    for (std::int32_t v : {g_viewLeft, g_viewRight, g_viewTop, g_viewBottom, IndexOf(g_worlds, g_currentWorld),
                           g_worldCount, g_doubleWorldCount, g_asteroidTotal, g_playerCount, g_turn, g_worldSize,
                           options.unstabilityOption})
        w.i32(v);
    return out;
}

std::size_t SavedGameSize() {
    std::size_t size = 4 + kPlayerSize * static_cast<std::size_t>(CountOf(g_players)) + 4;
    for (const World* world = g_worlds; world; world = world->next) {
        size += kWorldSize + kSavedShipSize * static_cast<std::size_t>(CountOf(world->ships));
        for (const Asteroid* a = world->asteroids; a; a = a->next)
            size += kAsteroidSize + kSavedShipSize * static_cast<std::size_t>(CountOf(a->ships));
        for (const Planet* p = world->planets; p; p = p->next)
            size += kPlanetSize + kSavedShipSize * static_cast<std::size_t>(CountOf(p->docks));
    }
    return size + kValuesSize;
}

bool LoadGameBytes(const std::uint8_t* data, std::size_t size, const std::string& fileName,
                   NewGameOptions& options, std::string* error) {
    StagedGame game;
    std::string why;
    if (!ReadGame(data, size, game, why)) {
        if (error) *error = why;
        CurrentPlatform().messageBox("The saved game \"" + fileName + "\" cannot be loaded: " + why + ".");
        return false;
    }
    if (error) error->clear();

    Platform& platform = CurrentPlatform();
    platform.pauseDrawing();
    DestroyGame();
    g_players = game.players;
    g_worlds = game.worlds;
    game.players = nullptr;
    game.worlds = nullptr;
    g_viewLeft = game.viewLeft;
    g_viewRight = game.viewRight;
    g_viewTop = game.viewTop;
    g_viewBottom = game.viewBottom;
    g_currentWorld = RecordAt(g_worlds, game.currentWorld);
    g_lastWorld = LastOf(g_worlds);
    g_worldCount = game.worldCount;
    g_doubleWorldCount = game.doubleWorldCount;
    g_asteroidTotal = game.asteroidTotal;
    g_playerCount = game.playerCount;
    g_turn = game.turn;
    g_worldSize = game.worldSize;
    options.unstabilityOption = game.unstability;
    g_unstability = game.unstability;
    g_gameOver = 0;
    g_victory = 0;
    ++g_gameNumber;
    platform.resumeDrawing();
    ++g_newDocCount;
    return true;
}

}  // namespace qv
