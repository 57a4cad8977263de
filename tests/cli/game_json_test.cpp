// The game as JSON, the one layout `new --json`, `dump` and `play --json`
// share: the keys of every object and how they nest, and every reference to
// a player or world within its list.
#include <gtest/gtest.h>

#include "cli_test_support.h"

namespace qv::clitest {
namespace {

using Names = std::set<std::string>;

const Names kGameKeys = {"turn", "worldSize", "worldCount", "doubleWorldCount", "playerCount", "asteroidTotal",
                         "unstability", "gameOver", "currentWorld", "view", "selected", "players", "worlds"};
const Names kPlayerKeys = {"colour", "gold", "planetCount", "shipCount", "race", "raceName", "power"};
const Names kWorldKeys = {"number", "star", "planets", "asteroids", "ships"};
const Names kPlanetKeys = {"x", "y", "picture", "owner", "shieldPoints", "reserved", "orbitDirection",
                           "orbitPeriod", "equip", "weapon", "weaponReady", "docks"};
const Names kAsteroidKeys = {"kind", "x", "y", "resources", "motion", "motionRate", "ships"};
const Names kShipKeys = {"x", "y", "owner", "model", "modelName", "equip", "actionPoints", "shieldPoints",
                         "viewPoints", "holds", "holdFull", "reserved", "weapon", "weaponReady", "pixels"};

// Checks the layout of a game document; returns how many ships it holds.
int ExpectGameLayout(const QJsonObject& game) {
    EXPECT_EQ(Keys(game), kGameKeys);
    EXPECT_EQ(Keys(game["view"].toObject()), (Names{"left", "top", "right", "bottom"}));
    EXPECT_TRUE(game["gameOver"].isBool());
    EXPECT_TRUE(game["selected"].isNull() || Keys(game["selected"].toObject()) == (Names{"kind", "world", "index"}));
    const QJsonArray players = game["players"].toArray(), worlds = game["worlds"].toArray();
    EXPECT_GE(players.size(), 2);
    EXPECT_GE(game["currentWorld"].toInteger(), 1);
    EXPECT_LE(game["currentWorld"].toInteger(), worlds.size());
    for (const QJsonValue& p : players) {
        EXPECT_EQ(Keys(p.toObject()), kPlayerKeys);
        EXPECT_TRUE(p["raceName"].isString());
        EXPECT_EQ(p["power"].toArray().size(), game["turn"].toInteger());
    }
    const auto owner = [&](const QJsonValue& record) {
        EXPECT_GE(record["owner"].toInteger(), 1);
        EXPECT_LE(record["owner"].toInteger(), players.size());
    };
    int shipCount = 0;
    const auto ships = [&](const QJsonValue& list) {
        EXPECT_TRUE(list.isArray());
        for (const QJsonValue& s : list.toArray()) {
            ++shipCount;
            EXPECT_EQ(Keys(s.toObject()), kShipKeys);
            EXPECT_EQ(s["equip"].toArray().size(), 11);
            EXPECT_TRUE(s["modelName"].isString());
            owner(s);
        }
    };
    for (const QJsonValue& w : worlds) {
        EXPECT_EQ(Keys(w.toObject()), kWorldKeys);
        EXPECT_EQ(Keys(w["star"].toObject()), (Names{"kind", "x", "y"}));
        for (const QJsonValue& p : w["planets"].toArray()) {
            EXPECT_EQ(Keys(p.toObject()), kPlanetKeys);
            EXPECT_EQ(p["equip"].toArray().size(), 6);
            owner(p);
            ships(p["docks"]);
        }
        for (const QJsonValue& a : w["asteroids"].toArray()) {
            EXPECT_EQ(Keys(a.toObject()), kAsteroidKeys);
            ships(a["ships"]);
        }
        ships(w["ships"]);
    }
    return shipCount;
}

TEST(GameJson, NewDumpAndPlayPrintTheSameLayout) {
    ScratchDir dir;
    const std::string file = (dir / "g.zvq").string();
    const RunResult made = RunCli({"new", "--data", kData, "--seed", "21", "--size", "tiny", "--json", "-o", file});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    const QJsonObject fresh = ParseJson(made.out).toObject();
    ExpectGameLayout(fresh);
    // A new game shows the human's home planet selected.
    EXPECT_EQ(Text(fresh["selected"]["kind"]), "planet");
    EXPECT_EQ(fresh["selected"]["world"].toInteger(), fresh["currentWorld"].toInteger());

    const RunResult dumped = RunCli({"dump", file, "--data", kData});
    ASSERT_EQ(dumped.exitCode, 0) << dumped.err;
    const QJsonObject loaded = ParseJson(dumped.out).toObject();
    ExpectGameLayout(loaded);
    EXPECT_TRUE(loaded["selected"].isNull());  // a loaded game selects nothing

    // After turns on autopilot there are ships to lay out too.
    const RunResult played =
        RunCli({"play", file, "--data", kData, "--turns", "30", "--seed", "4", "--autopilot", "--check", "--json"});
    ASSERT_EQ(played.exitCode, 0) << played.err;
    const QJsonObject later = ParseJson(played.out).toObject();
    EXPECT_GT(ExpectGameLayout(later), 0);
    EXPECT_EQ(later["turn"].toInteger(), 31);
}

}  // namespace
}  // namespace qv::clitest
