// quorvane-cli new and dump: generated games are reproducible from their
// seed, options reach the game, a saved game reads back as the game loads
// it, the JSON follows its fixed layout, and bad input is refused without
// leaving anything behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli_test_support.h"
#include "model/world_generation.h"

namespace qv::clitest {
namespace {

const std::string kData = kDataOut.string();

RunResult New(std::vector<std::string> args) {
    args.insert(args.begin(), {"new", "--data", kData});
    return RunCli(args);
}

RunResult Dump(const fs::path& file) { return RunCli({"dump", file.string(), "--data", kData}); }

// The game JSON of `new args --json`; fails the test when the tool fails.
Json NewGame(std::vector<std::string> args) {
    args.push_back("--json");
    const RunResult r = New(args);
    if (r.exitCode != 0) throw std::runtime_error("new failed (" + std::to_string(r.exitCode) + "): " + r.err);
    return ParseJson(r.out);
}

// "" when a and b are the same JSON value (object keys in the same order),
// else where they first differ.
std::string Difference(const Json& a, const Json& b, const std::string& path = "$") {
    if (a.type != b.type) return path + ": types differ";
    switch (a.type) {
        case Json::Type::Null: return "";
        case Json::Type::Bool: return a.boolean == b.boolean ? "" : path + ": " + std::to_string(a.boolean);
        case Json::Type::Number:
            return a.number == b.number ? ""
                                        : path + ": " + std::to_string(a.number) + " vs " + std::to_string(b.number);
        case Json::Type::String: return a.string == b.string ? "" : path + ": \"" + a.string + "\" vs \"" + b.string + "\"";
        case Json::Type::Array:
            if (a.items.size() != b.items.size())
                return path + ": " + std::to_string(a.items.size()) + " vs " + std::to_string(b.items.size()) + " items";
            for (std::size_t i = 0; i < a.items.size(); ++i)
                if (std::string d = Difference(a.items[i], b.items[i], path + "[" + std::to_string(i) + "]"); !d.empty())
                    return d;
            return "";
        case Json::Type::Object:
            if (a.keys() != b.keys()) return path + ": keys differ";
            for (std::size_t i = 0; i < a.members.size(); ++i)
                if (std::string d = Difference(a.members[i].second, b.members[i].second, path + "." + a.members[i].first);
                    !d.empty())
                    return d;
            return "";
    }
    return "";
}

std::vector<std::string> Keys(std::initializer_list<const char*> names) { return {names.begin(), names.end()}; }

const std::vector<std::string> kGameKeys =
    Keys({"turn", "worldSize", "worldCount", "doubleWorldCount", "playerCount", "asteroidTotal", "unstability",
          "gameOver", "currentWorld", "view", "selected", "players", "worlds"});
const std::vector<std::string> kPlayerKeys =
    Keys({"colour", "gold", "planetCount", "shipCount", "race", "raceName", "power"});
const std::vector<std::string> kWorldKeys = Keys({"number", "star", "planets", "asteroids", "ships"});
const std::vector<std::string> kPlanetKeys =
    Keys({"x", "y", "picture", "owner", "shieldPoints", "reserved", "orbitDirection", "orbitPeriod", "equip",
          "weapon", "weaponReady", "docks"});
const std::vector<std::string> kAsteroidKeys = Keys({"kind", "x", "y", "resources", "motion", "motionRate", "ships"});
const std::vector<std::string> kShipKeys =
    Keys({"x", "y", "owner", "model", "modelName", "equip", "actionPoints", "shieldPoints", "viewPoints", "holds",
          "holdFull", "reserved", "weapon", "weaponReady", "pixels"});

// Every object of the game has its keys in the fixed order, and every
// reference to a player or world is within its list.
void ExpectLayout(const Json& game) {
    ASSERT_EQ(game.keys(), kGameKeys);
    EXPECT_EQ(game["view"].keys(), Keys({"left", "top", "right", "bottom"}));
    EXPECT_EQ(game["gameOver"].type, Json::Type::Bool);
    if (game["selected"].type != Json::Type::Null) {
        EXPECT_EQ(game["selected"].keys(), Keys({"kind", "world", "index"}));
    }
    const long long players = static_cast<long long>(game["players"].size());
    EXPECT_GE(game["currentWorld"].integer(), 1);
    EXPECT_LE(game["currentWorld"].integer(), static_cast<long long>(game["worlds"].size()));
    for (const Json& p : game["players"].items) {
        EXPECT_EQ(p.keys(), kPlayerKeys);
        EXPECT_EQ(p["power"].size(), static_cast<std::size_t>(game["turn"].integer()));
    }
    const auto ships = [&](const Json& list) {
        for (const Json& s : list.items) {
            EXPECT_EQ(s.keys(), kShipKeys);
            EXPECT_EQ(s["equip"].size(), 11u);
            EXPECT_GE(s["owner"].integer(), 1);
            EXPECT_LE(s["owner"].integer(), players);
        }
    };
    for (const Json& w : game["worlds"].items) {
        ASSERT_EQ(w.keys(), kWorldKeys);
        EXPECT_EQ(w["star"].keys(), Keys({"kind", "x", "y"}));
        for (const Json& p : w["planets"].items) {
            EXPECT_EQ(p.keys(), kPlanetKeys);
            EXPECT_EQ(p["equip"].size(), 6u);
            EXPECT_GE(p["owner"].integer(), 1);
            EXPECT_LE(p["owner"].integer(), players);
            ships(p["docks"]);
        }
        for (const Json& a : w["asteroids"].items) {
            EXPECT_EQ(a.keys(), kAsteroidKeys);
            ships(a["ships"]);
        }
        ships(w["ships"]);
    }
}

// The size of the saved game the JSON describes.
std::size_t SavedSize(const Json& game) {
    std::size_t size = 4 + 20 * game["players"].size() + 4;
    for (const Json& w : game["worlds"].items) {
        std::size_t ships = w["ships"].size();
        for (const Json& a : w["asteroids"].items) ships += a["ships"].size();
        for (const Json& p : w["planets"].items) ships += p["docks"].size();
        size += 14 + 12 + w["asteroids"].size() * 28 + w["planets"].size() * 64 + ships * 8486;
    }
    return size + 48;
}

TEST(NewGame, TheSameSeedGivesTheSameGameAndAnotherSeedAnother) {
    const std::vector<std::string> options = {"--size", "small", "--worlds", "few", "--ai", "lots"};
    const auto run = [&](const std::string& seed) {
        std::vector<std::string> args = options;
        args.insert(args.end(), {"--seed", seed, "--json"});
        const RunResult r = New(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "");
        return r.out;
    };
    const std::string first = run("7");
    EXPECT_EQ(run("7"), first);
    EXPECT_NE(run("8"), first);
    ExpectLayout(ParseJson(first));

    // Saving on the way changes nothing in what is printed.
    ScratchDir dir;
    std::vector<std::string> args = options;
    args.insert(args.end(), {"--seed", "7", "--json", "-o", (dir / "g.zvq").string()});
    const RunResult saved = New(args);
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    EXPECT_EQ(saved.out, first);
}

TEST(NewGame, WithoutASeedTheSummaryNamesTheClockSeedThatGivesTheGameAgain) {
    const RunResult r = New({"--size", "tiny"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string prefix = "New game from seed ";
    ASSERT_EQ(r.out.rfind(prefix, 0), 0u) << r.out;
    const std::string seed = r.out.substr(prefix.size(), r.out.find('\n') - prefix.size());
    const RunResult again = New({"--size", "tiny", "--seed", seed});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(again.out, r.out);

    // The summary has a row per player, the neutral one last, with the
    // human's race and colour as the JSON gives them.
    const Json game = NewGame({"--size", "tiny", "--seed", seed});
    const Json& human = game["players"][0];
    char colour[8];
    const auto c = static_cast<unsigned>(human["colour"].integer());
    std::snprintf(colour, sizeof colour, "#%02X%02X%02X", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    bool humanRow = false, neutralRow = false;
    for (const std::string& line : Lines(r.out)) {
        if (line.rfind("  1 (you)", 0) == 0) {
            humanRow = true;
            EXPECT_NE(line.find(colour), std::string::npos) << line;
            EXPECT_NE(line.find(human["raceName"].string), std::string::npos) << line;
        }
        if (line.rfind("  neutral", 0) == 0) {
            neutralRow = true;
            EXPECT_NE(line.find("#FFFFFF"), std::string::npos) << line;
        }
    }
    EXPECT_TRUE(humanRow && neutralRow) << r.out;
}

TEST(NewGame, StartsAtTurnOneWithTheHumansHomePlanetSelectedAndShown) {
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{"--seed", "1"}, {"--seed", "99", "--size", "huge", "--worlds", "lots", "--ai", "lots"},
          {"--seed", "4294967295", "--size", "tiny", "--worlds", "few", "--ai", "few"}}) {
        SCOPED_TRACE(options[1]);
        const Json game = NewGame(options);
        ExpectLayout(game);
        EXPECT_EQ(game["turn"].integer(), 1);
        EXPECT_FALSE(game["gameOver"].boolean);
        EXPECT_EQ(game["worlds"].size(), static_cast<std::size_t>(game["worldCount"].integer()));
        EXPECT_EQ(game["players"].size(), static_cast<std::size_t>(game["playerCount"].integer() + 1));
        EXPECT_EQ(game["players"].items.back()["colour"].integer(), 0xFFFFFF);
        for (std::size_t i = 0; i < game["worlds"].size(); ++i)
            EXPECT_EQ(game["worlds"][i]["number"].integer(), static_cast<long long>(i + 1));

        const Json& view = game["view"];
        EXPECT_EQ(view["right"].integer() - view["left"].integer(), 800);
        EXPECT_EQ(view["bottom"].integer() - view["top"].integer(), 600);

        const Json& selected = game["selected"];
        ASSERT_EQ(selected.type, Json::Type::Object);
        EXPECT_EQ(selected["kind"].string, "planet");
        EXPECT_EQ(selected["world"].integer(), game["currentWorld"].integer());
        const Json& planets = game["worlds"][static_cast<std::size_t>(game["currentWorld"].integer() - 1)]["planets"];
        const long long index = selected["index"].integer();
        ASSERT_GE(index, 1);
        ASSERT_LE(index, static_cast<long long>(planets.size()));
        const Json& home = planets[static_cast<std::size_t>(index - 1)];
        EXPECT_EQ(home["owner"].integer(), 1);
        EXPECT_GE(home["x"].integer(), view["left"].integer());
        EXPECT_LE(home["x"].integer(), view["right"].integer());
        EXPECT_GE(home["y"].integer(), view["top"].integer());
        EXPECT_LE(home["y"].integer(), view["bottom"].integer());
    }
}

TEST(NewGame, OptionsReachTheGameWhateverTheirCase) {
    // Left out, every option takes the New Game dialog's start value.
    const Json defaults = NewGame({"--seed", "5"});
    EXPECT_EQ(defaults["worldSize"].integer(), WorldSizeFor(2));
    EXPECT_EQ(defaults["unstability"].integer(), 1);
    EXPECT_GE(defaults["worldCount"].integer(), 5);
    EXPECT_LE(defaults["worldCount"].integer(), 7);
    EXPECT_EQ(defaults["players"][0]["gold"].integer(), 2000);
    EXPECT_EQ(defaults["players"][0]["race"].integer(), 1);

    const std::vector<std::string> sizes = {"huge", "large", "medium", "small", "Tiny"};
    long long previous = 1LL << 40;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        SCOPED_TRACE(sizes[i]);
        const long long size = NewGame({"--seed", "5", "--worlds", "few", "--size", sizes[i]})["worldSize"].integer();
        EXPECT_EQ(size, WorldSizeFor(static_cast<std::int32_t>(i)));
        EXPECT_LT(size, previous);
        previous = size;
    }
    EXPECT_EQ(previous, 1000);

    for (const std::string credits : {"5000", "3000", "2000", "1000", "500"}) {
        SCOPED_TRACE(credits);
        const Json game = NewGame({"--seed", "5", "--size", "tiny", "--credits", credits});
        const std::vector<Json>& players = game["players"].items;
        for (std::size_t i = 0; i + 1 < players.size(); ++i)
            EXPECT_EQ(players[i]["gold"].integer(), std::stoll(credits)) << "player " << i + 1;
        EXPECT_EQ(players.back()["gold"].integer(), 0);
    }

    const std::vector<std::string> levels = {"HIGH", "medium", "Low", "none"};
    for (std::size_t i = 0; i < levels.size(); ++i)
        EXPECT_EQ(NewGame({"--seed", "5", "--size", "tiny", "--unstability", levels[i]})["unstability"].integer(),
                  static_cast<long long>(i))
            << levels[i];

    // Worlds: Few 2..4, Several 5..7, Lots 8..10, whatever the seed.
    struct Range {
        std::string word;
        long long low, high;
    };
    for (const Range& range : {Range{"few", 2, 4}, Range{"Several", 5, 7}, Range{"LOTS", 8, 10}}) {
        for (const char* seed : {"1", "2", "3", "4"}) {
            const long long worlds =
                NewGame({"--seed", seed, "--size", "tiny", "--worlds", range.word})["worldCount"].integer();
            EXPECT_GE(worlds, range.low) << range.word << " seed " << seed;
            EXPECT_LE(worlds, range.high) << range.word << " seed " << seed;
        }
    }

    // More resources, more asteroids in each world; more computer players
    // for Lots than for Few from the same seed.
    const auto perWorld = [](const std::string& word) {
        const Json game = NewGame({"--seed", "5", "--size", "tiny", "--resources", word});
        return static_cast<double>(game["asteroidTotal"].integer()) / static_cast<double>(game["worldCount"].integer());
    };
    EXPECT_GT(perWorld("lots"), perWorld("several"));
    EXPECT_GT(perWorld("several"), perWorld("Few"));
    EXPECT_GT(NewGame({"--seed", "5", "--size", "tiny", "--ai", "lots"})["playerCount"].integer(),
              NewGame({"--seed", "5", "--size", "tiny", "--ai", "few"})["playerCount"].integer());
}

TEST(NewGame, RaceOptionGivesTheHumanThatRace) {
    const RunResult listed = RunCli({"races", "--data", kData, "--json"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    const Json races = ParseJson(listed.out);
    ASSERT_GE(races.size(), 2u);
    for (std::size_t i = 0; i < races.size(); ++i) {
        const std::string name = races[i]["name"].string;
        SCOPED_TRACE(name);
        std::string lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        for (const std::string& given : {name, lower}) {
            const Json human = NewGame({"--seed", "11", "--size", "tiny", "--race", given})["players"][0];
            EXPECT_EQ(human["raceName"].string, name);
            EXPECT_EQ(human["race"].integer(), static_cast<long long>(i + 1));
        }
    }
    EXPECT_EQ(NewGame({"--seed", "11", "--size", "tiny"})["players"][0]["raceName"].string, races[0]["name"].string);
}

TEST(NewGame, RefusesBadOptionsWithOneLineAndWritesNothing) {
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string reason;  // part of the first line of standard error
    };
    const std::vector<Case> cases = {
        {{"--race", "Nobody"}, 1, "unknown race 'Nobody'"},
        {{"--size", "enormous"}, 2, "--size: unknown value 'enormous'"},
        {{"--worlds", ""}, 2, "--worlds: unknown value"},
        {{"--credits", "750"}, 2, "--credits: unknown value '750'"},
        {{"--unstability", "some"}, 2, "--unstability"},
        {{"--ai", "2"}, 2, "--ai"},
        {{"--resources", "many"}, 2, "--resources"},
        {{"--seed", "4294967296"}, 2, "--seed: '4294967296'"},
        {{"--seed", "-1"}, 2, "--seed: '-1'"},
        {{"--seed", "7x"}, 2, "--seed: '7x'"},
        {{"--seed", " 7"}, 2, "--seed"},
        {{"--seed", "99999999999999999999999"}, 2, "--seed"},
        {{"--seed", ""}, 2, "--seed"},
        {{"--seed"}, 2, "Missing value after '--seed'"},
        {{"extra"}, 2, "unexpected argument 'extra'"},
    };
    ScratchDir dir;
    const std::string out = (dir / "g.zvq").string();
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--json", "-o", out};
        args.insert(args.end(), c.args.begin(), c.args.end());
        std::string joined;
        for (const std::string& a : c.args) joined += " [" + a + "]";
        SCOPED_TRACE("new" + joined);
        const RunResult r = New(args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        EXPECT_EQ(r.out, "");
        const std::vector<std::string> lines = Lines(r.err);
        ASSERT_FALSE(lines.empty());
        EXPECT_NE(lines[0].find(c.reason), std::string::npos) << r.err;
        if (c.exitCode == 1) EXPECT_EQ(lines.size(), 1u) << r.err;
        else EXPECT_NE(lines.back().find("'quorvane-cli new --help'"), std::string::npos) << r.err;
    }
    EXPECT_TRUE(dir.entries().empty());

    // The refusal of a race names every race there is.
    const RunResult r = New({"--race", "Nobody"});
    const Json races = ParseJson(RunCli({"races", "--data", kData, "--json"}).out);
    for (const Json& race : races.items) EXPECT_NE(r.err.find("'" + race["name"].string + "'"), std::string::npos);

    // The two ends of the seed range are fine.
    for (const char* seed : {"0", "4294967295", "0000000000042"}) {
        const RunResult ok = New({"--seed", seed, "--size", "tiny"});
        EXPECT_EQ(ok.exitCode, 0) << seed << ": " << ok.err;
    }
    // A data folder that does not exist.
    const RunResult noData = RunCli({"new", "--data", (dir / "missing").string()});
    EXPECT_EQ(noData.exitCode, 1);
    EXPECT_NE(noData.err.find("no such folder"), std::string::npos) << noData.err;
}

TEST(NewAndDump, ASavedGameReadsBackWithEachWorldsListsReversed) {
    ScratchDir dir;
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{"--seed", "7", "--size", "tiny", "--worlds", "few"},
          {"--seed", "31337", "--size", "huge", "--worlds", "lots", "--resources", "lots", "--ai", "lots",
           "--unstability", "none", "--credits", "5000", "--race", "Solar Compact"}}) {
        SCOPED_TRACE(options[1]);
        const fs::path file = dir / ("game" + options[1] + ".zvq");
        std::vector<std::string> args = options;
        args.insert(args.end(), {"-o", file.string()});
        const Json made = NewGame(args);
        ASSERT_TRUE(fs::exists(file));
        EXPECT_EQ(fs::file_size(file), SavedSize(made));

        const RunResult r = Dump(file);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "");
        const Json loaded = ParseJson(r.out);
        ExpectLayout(loaded);

        for (const char* key : {"turn", "worldSize", "worldCount", "doubleWorldCount", "playerCount", "asteroidTotal",
                                "unstability", "gameOver", "currentWorld", "view"})
            EXPECT_EQ(Difference(loaded[key], made[key], key), "");
        EXPECT_EQ(loaded["selected"].type, Json::Type::Null);

        // Players come back in their order with every value but the power
        // history, which is all zeros.
        ASSERT_EQ(loaded["players"].size(), made["players"].size());
        for (std::size_t i = 0; i < made["players"].size(); ++i) {
            Json expected = made["players"][i];
            for (auto& [key, value] : expected.members)
                if (key == "power")
                    for (Json& entry : value.items) entry.number = 0;
            EXPECT_EQ(Difference(loaded["players"][i], expected, "players[" + std::to_string(i) + "]"), "");
        }

        // Worlds in their order, the planets, asteroids and ships inside each
        // one reversed.
        ASSERT_EQ(loaded["worlds"].size(), made["worlds"].size());
        for (std::size_t i = 0; i < made["worlds"].size(); ++i) {
            Json expected = made["worlds"][i];
            for (auto& [key, value] : expected.members)
                if (key == "planets" || key == "asteroids" || key == "ships")
                    std::reverse(value.items.begin(), value.items.end());
            EXPECT_EQ(Difference(loaded["worlds"][i], expected, "worlds[" + std::to_string(i) + "]"), "");
        }
    }
}

// ---- A saved game put together byte by byte --------------------------------

class SaveBytes {
public:
    SaveBytes& i32(std::int32_t v) {
        const auto u = static_cast<std::uint32_t>(v);
        for (int shift = 0; shift < 32; shift += 8) bytes_ += static_cast<char>((u >> shift) & 0xFF);
        return *this;
    }
    SaveBytes& u16(std::uint16_t v) {
        bytes_ += static_cast<char>(v & 0xFF);
        bytes_ += static_cast<char>(v >> 8);
        return *this;
    }
    SaveBytes& u8(std::uint8_t v) {
        bytes_ += static_cast<char>(v);
        return *this;
    }
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

struct ShipValues {
    std::int32_t x, y, actionPoints, reserved, holds;
    std::uint8_t holdFull, weaponReady;
    std::int32_t shieldPoints, viewPoints;
    std::int32_t equipBase;  // equip[i] = equipBase + i
    int pixels;              // entries of non-zero colour before the zeros
    std::int32_t model, weapon, owner;
};

void WriteShip(SaveBytes& b, const ShipValues& s) {
    b.i32(s.x).i32(s.y).i32(s.actionPoints).i32(s.reserved).i32(s.holds).u8(s.holdFull).u8(s.weaponReady);
    b.i32(s.shieldPoints).i32(s.viewPoints);
    for (int i = 0; i < 11; ++i) b.i32(s.equipBase + i);
    for (int i = 0; i < 700; ++i) {
        const bool on = i < s.pixels;
        b.i32(on ? i % 30 - 15 : 0).i32(on ? i / 30 - 15 : 0).i32(on ? 0x102030 + i : 0);
    }
    b.i32(s.model).i32(s.weapon).i32(s.owner);
}

// Two players and the neutral one; one world with two ships in space, an
// asteroid with a landed ship and two planets, the first with two ships in
// its docks. Ships in file order: A, B in space, C landed, D, E docked.
const ShipValues kShipA{100, 110, 120, 1, 2, 1, 1, 300, 150, 10, 5, 2, 3, 1};
const ShipValues kShipB{200, 210, 0, 0, 0, 0, 0, 90, 80, 20, 700, 1, 99, 2};  // weapon past the list
const ShipValues kShipC{300, 310, 50, 2, 3, 1, 0, 100, 70, 30, 0, 1, 0, 1};
const ShipValues kShipD{400, 410, 60, 0, 0, 0, 1, 110, 60, 40, 1, 3, 1, 1};
const ShipValues kShipE{500, 510, 70, 0, 1, 0, 0, 120, 50, 50, 699, 4, 4, 1};

struct GameValues {
    std::int32_t secondPlayerRace = 2;
    std::int32_t shipAModel = 2;
    std::int32_t planetOwner = 1;
    std::int32_t currentWorld = 1;
    std::int32_t worldCount = 1;
    std::string trailing;
};

std::string HandMadeGame(const GameValues& v = {});

// The hand-made game with some of its values changed.
template <typename Change>
std::string HandMadeGame(Change change) {
    GameValues values;
    change(values);
    return HandMadeGame(values);
}

std::string HandMadeGame(const GameValues& v) {
    SaveBytes b;
    b.i32(3);
    b.i32(0x0000FF).i32(100).i32(1).i32(4).i32(4);                     // the human, race 4
    b.i32(0x00FF00).i32(200).i32(1).i32(1).i32(v.secondPlayerRace);  // a computer player
    b.i32(0xFFFFFF).i32(0).i32(0).i32(0).i32(1);                       // the neutral player
    b.i32(1);
    b.i32(2).i32(500).i32(500).u16(1);  // star kind, x, y; world number
    b.i32(2);
    ShipValues a = kShipA;
    a.model = v.shipAModel;
    WriteShip(b, a);
    WriteShip(b, kShipB);
    b.i32(1);
    b.i32(1).i32(700).i32(200).i32(50).i32(3).i32(2);  // kind, x, y, resources, motion, motion rate
    b.i32(1);
    WriteShip(b, kShipC);
    b.i32(2);
    // x, y, picture, orbit direction, orbit period, shield points, reserved,
    // equip[6], owner, weapon; then the docks.
    b.i32(600).i32(650).i32(3).i32(1).i32(2).i32(450).i32(1);
    for (int i = 0; i < 6; ++i) b.i32(i + 1);
    b.i32(v.planetOwner).i32(2);
    b.i32(2);
    WriteShip(b, kShipD);
    WriteShip(b, kShipE);
    b.i32(800).i32(850).i32(1).i32(0).i32(3).i32(500).i32(0);
    for (int i = 0; i < 6; ++i) b.i32(0);
    b.i32(3).i32(0);
    b.i32(0);
    // view left, right, top, bottom; current world, world count, double
    // world count, asteroid total, player count, turn, world size, instability.
    b.i32(100).i32(900).i32(50).i32(650);
    b.i32(v.currentWorld).i32(v.worldCount).i32(2).i32(1).i32(2).i32(5).i32(1000).i32(2);
    return b.bytes() + v.trailing;
}

void ExpectShip(const Json& ship, const ShipValues& s, const std::string& modelName, long long weapon) {
    SCOPED_TRACE("ship at " + std::to_string(s.x));
    EXPECT_EQ(ship.keys(), kShipKeys);
    EXPECT_EQ(ship["x"].integer(), s.x);
    EXPECT_EQ(ship["y"].integer(), s.y);
    EXPECT_EQ(ship["owner"].integer(), s.owner);
    EXPECT_EQ(ship["model"].integer(), s.model);
    EXPECT_EQ(ship["modelName"].string, modelName);
    ASSERT_EQ(ship["equip"].size(), 11u);
    for (std::size_t i = 0; i < 11; ++i) EXPECT_EQ(ship["equip"][i].integer(), s.equipBase + static_cast<long long>(i));
    EXPECT_EQ(ship["actionPoints"].integer(), s.actionPoints);
    EXPECT_EQ(ship["shieldPoints"].integer(), s.shieldPoints);
    EXPECT_EQ(ship["viewPoints"].integer(), s.viewPoints);
    EXPECT_EQ(ship["holds"].integer(), s.holds);
    EXPECT_EQ(ship["holdFull"].integer(), s.holdFull);
    EXPECT_EQ(ship["reserved"].integer(), s.reserved);
    EXPECT_EQ(ship["weapon"].integer(), weapon);
    EXPECT_EQ(ship["weaponReady"].integer(), s.weaponReady);
    EXPECT_EQ(ship["pixels"].integer(), s.pixels);
}

TEST(Dump, PrintsEveryRecordOfASavedGameWithShips) {
    const Json races = ParseJson(RunCli({"races", "--data", kData, "--json"}).out);
    ASSERT_EQ(races.size(), 4u);
    const auto modelName = [&](int race, int model) {
        return races[static_cast<std::size_t>(race - 1)]["shipModels"][static_cast<std::size_t>(model - 1)]["name"]
            .string;
    };

    ScratchDir dir;
    WriteBytes(dir / "ships.zvq", HandMadeGame());
    const RunResult r = Dump(dir / "ships.zvq");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Json game = ParseJson(r.out);
    ExpectLayout(game);

    EXPECT_EQ(game["turn"].integer(), 5);
    EXPECT_EQ(game["worldSize"].integer(), 1000);
    EXPECT_EQ(game["worldCount"].integer(), 1);
    EXPECT_EQ(game["doubleWorldCount"].integer(), 2);
    EXPECT_EQ(game["playerCount"].integer(), 2);
    EXPECT_EQ(game["asteroidTotal"].integer(), 1);
    EXPECT_EQ(game["unstability"].integer(), 2);
    EXPECT_FALSE(game["gameOver"].boolean);
    EXPECT_EQ(game["currentWorld"].integer(), 1);
    const Json& view = game["view"];
    EXPECT_EQ(std::vector<long long>({view["left"].integer(), view["top"].integer(), view["right"].integer(),
                                      view["bottom"].integer()}),
              std::vector<long long>({100, 50, 900, 650}));
    EXPECT_EQ(game["selected"].type, Json::Type::Null);

    ASSERT_EQ(game["players"].size(), 3u);
    const Json& human = game["players"][0];
    EXPECT_EQ(human["colour"].integer(), 0x0000FF);
    EXPECT_EQ(human["gold"].integer(), 100);
    EXPECT_EQ(human["planetCount"].integer(), 1);
    EXPECT_EQ(human["shipCount"].integer(), 4);
    EXPECT_EQ(human["race"].integer(), 4);
    EXPECT_EQ(human["raceName"].string, races[3]["name"].string);
    EXPECT_EQ(Difference(human["power"], ParseJson("[0, 0, 0, 0, 0]")), "");
    EXPECT_EQ(game["players"][1]["raceName"].string, races[1]["name"].string);
    EXPECT_EQ(game["players"][2]["colour"].integer(), 0xFFFFFF);

    ASSERT_EQ(game["worlds"].size(), 1u);
    const Json& world = game["worlds"][0];
    EXPECT_EQ(world["number"].integer(), 1);
    EXPECT_EQ(Difference(world["star"], ParseJson(R"({"kind": 2, "x": 500, "y": 500})")), "");

    // Ships in space, reversed: B then A. B's weapon is past its race's list.
    ASSERT_EQ(world["ships"].size(), 2u);
    ExpectShip(world["ships"][0], kShipB, modelName(2, 1), 0);
    ExpectShip(world["ships"][1], kShipA, modelName(4, 2), 3);

    ASSERT_EQ(world["asteroids"].size(), 1u);
    const Json& asteroid = world["asteroids"][0];
    EXPECT_EQ(asteroid["kind"].integer(), 1);
    EXPECT_EQ(asteroid["x"].integer(), 700);
    EXPECT_EQ(asteroid["y"].integer(), 200);
    EXPECT_EQ(asteroid["resources"].integer(), 50);
    EXPECT_EQ(asteroid["motion"].integer(), 3);
    EXPECT_EQ(asteroid["motionRate"].integer(), 2);
    ASSERT_EQ(asteroid["ships"].size(), 1u);
    ExpectShip(asteroid["ships"][0], kShipC, modelName(4, 1), 0);

    // Planets reversed: the neutral one first; the docks reversed too.
    ASSERT_EQ(world["planets"].size(), 2u);
    const Json& neutral = world["planets"][0];
    EXPECT_EQ(neutral["owner"].integer(), 3);
    EXPECT_EQ(neutral["x"].integer(), 800);
    EXPECT_EQ(neutral["docks"].size(), 0u);
    const Json& planet = world["planets"][1];
    EXPECT_EQ(planet["x"].integer(), 600);
    EXPECT_EQ(planet["y"].integer(), 650);
    EXPECT_EQ(planet["picture"].integer(), 3);
    EXPECT_EQ(planet["owner"].integer(), 1);
    EXPECT_EQ(planet["shieldPoints"].integer(), 450);
    EXPECT_EQ(planet["reserved"].integer(), 1);
    EXPECT_EQ(planet["orbitDirection"].integer(), 1);
    EXPECT_EQ(planet["orbitPeriod"].integer(), 2);
    EXPECT_EQ(Difference(planet["equip"], ParseJson("[1, 2, 3, 4, 5, 6]")), "");
    EXPECT_EQ(planet["weapon"].integer(), 2);
    EXPECT_EQ(planet["weaponReady"].integer(), 0);
    ASSERT_EQ(planet["docks"].size(), 2u);
    ExpectShip(planet["docks"][0], kShipE, modelName(4, 4), 4);
    ExpectShip(planet["docks"][1], kShipD, modelName(4, 3), 1);
}

TEST(Dump, RefusesADamagedFileNamingIt) {
    ScratchDir dir;
    const std::string good = HandMadeGame();
    std::mt19937 random(12345);
    std::string noise(20000, '\0');
    for (char& c : noise) c = static_cast<char>(random() & 0xFF);

    std::vector<std::pair<std::string, std::string>> files = {
        {"empty.zvq", ""},
        {"noise.zvq", noise},
        {"one-byte-more.zvq", HandMadeGame([](GameValues& v) { v.trailing = "x"; })},
        {"unknown-race.zvq", HandMadeGame([](GameValues& v) { v.secondPlayerRace = 9; })},
        {"unknown-model.zvq", HandMadeGame([](GameValues& v) { v.shipAModel = 99; })},
        {"unknown-owner.zvq", HandMadeGame([](GameValues& v) { v.planetOwner = 4; })},
        {"no-such-world-shown.zvq", HandMadeGame([](GameValues& v) { v.currentWorld = 2; })},
        {"wrong-world-count.zvq", HandMadeGame([](GameValues& v) { v.worldCount = 3; })},
    };
    for (std::size_t cut : {std::size_t{3}, std::size_t{4}, std::size_t{60}, good.size() / 2, good.size() - 48,
                            good.size() - 1})
        files.emplace_back("cut-at-" + std::to_string(cut) + ".zvq", good.substr(0, cut));

    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        WriteBytes(dir / name, bytes);
        const RunResult r = Dump(dir / name);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(Lines(r.err).size(), 1u) << r.err;
        EXPECT_NE(r.err.find(name), std::string::npos) << r.err;
    }

    // A file that is not there, and a folder.
    for (const fs::path& path : {dir / "missing.zvq", dir.path()}) {
        const RunResult r = Dump(path);
        EXPECT_EQ(r.exitCode, 1) << path;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(path.string()), std::string::npos) << r.err;
    }
    // The sound file loads; the damaged ones were refused for what they are.
    WriteBytes(dir / "good.zvq", good);
    EXPECT_EQ(Dump(dir / "good.zvq").exitCode, 0);
}

TEST(NewOutput, AFailedSaveLeavesNothingAndAnOldFileIsReplacedOnlyOnSuccess) {
    ScratchDir dir;
    // Into a folder that does not exist: no file, no folder, nothing printed.
    const fs::path missing = dir / "no-such-folder" / "g.zvq";
    const RunResult r = New({"--seed", "3", "--size", "tiny", "--json", "-o", missing.string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(Lines(r.err).size(), 1u) << r.err;
    EXPECT_NE(r.err.find(missing.string()), std::string::npos) << r.err;
    EXPECT_TRUE(dir.entries().empty());

    // Onto a folder: refused, the folder left as it was.
    fs::create_directory(dir / "folder.zvq");
    EXPECT_EQ(New({"--seed", "3", "--size", "tiny", "-o", (dir / "folder.zvq").string()}).exitCode, 1);
    EXPECT_TRUE(fs::is_directory(dir / "folder.zvq"));
    EXPECT_TRUE(fs::is_empty(dir / "folder.zvq"));
    fs::remove(dir / "folder.zvq");

    // An old file: a refused game leaves it alone; a made one replaces it as
    // a new file (the old one's second name still holds the old bytes), and
    // no temporary file stays behind.
    WriteBytes(dir / "g.zvq", "old game");
    fs::create_hard_link(dir / "g.zvq", dir / "old-link.zvq");
    EXPECT_EQ(New({"--seed", "3", "--race", "Nobody", "-o", (dir / "g.zvq").string()}).exitCode, 1);
    EXPECT_EQ(New({"--seed", "3", "--size", "unknown", "-o", (dir / "g.zvq").string()}).exitCode, 2);
    EXPECT_EQ(ReadBytes(dir / "g.zvq"), "old game");

    const RunResult made = New({"--seed", "3", "--size", "tiny", "-o", (dir / "g.zvq").string()});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    EXPECT_EQ(made.out, "");  // with -o alone nothing is printed
    EXPECT_EQ(ReadBytes(dir / "old-link.zvq"), "old game");
    ASSERT_EQ(New({"--seed", "3", "--size", "tiny", "-o", (dir / "fresh.zvq").string()}).exitCode, 0);
    EXPECT_EQ(ReadBytes(dir / "g.zvq"), ReadBytes(dir / "fresh.zvq"));
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"fresh.zvq", "g.zvq", "old-link.zvq"}));
}

}  // namespace
}  // namespace qv::clitest
