// quorvane-cli as scripts see it (its JSON read with Qt's reader), and the shipped races as computer players choose.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <climits>
#include <cstdio>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../support/temp_folder.h"
#include "tool_run.h"
#include "model/globals.h"
#include "model/platform.h"
#include "model/races.h"
#include "turn/computer_players.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Names = std::set<std::string>;
using testsupport::TempFolder;

const fs::path kDataOut = QUORVANE_DATA_OUT;
const std::string kData = kDataOut.string();

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

Names Words(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

using ChildResult = ToolRun;

ChildResult Cli(const std::vector<std::string>& args, const fs::path& cwd = fs::current_path()) {
    return RunTool(args, "", cwd);
}

// n bytes of v, least significant first.
std::string Le(std::int64_t v, int n) {
    std::string bytes;
    for (int i = 0; i < n; ++i) bytes += static_cast<char>(v >> (8 * i));
    return bytes;
}

QJsonValue Json(const std::string& text) {
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text));
    return doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
}

Names Keys(const QJsonValue& value) { return Words(value.toObject().keys().join(' ').toStdString()); }

// "path=value;path=low..high", a path stepping through objects and arrays by dots.
void ExpectJson(const std::string& out, const std::string& checks) {
    const QJsonValue doc = Json(out);
    std::istringstream list(checks);
    for (std::string check; std::getline(list, check, ';');) {
        const std::size_t eq = check.find('='), dots = check.find("..");
        std::istringstream steps(check.substr(0, eq));
        QJsonValue v = doc;
        for (std::string s; std::getline(steps, s, '.');)
            v = v.isArray() ? v.toArray().at(std::stoi(s)) : v.toObject().value(QString::fromStdString(s));
        const long long n = v.toInteger(-1);
        if (dots != std::string::npos)
            EXPECT_TRUE(n >= std::stoll(check.substr(eq + 1)) && n <= std::stoll(check.substr(dots + 2)))
                << check << ": " << n;
        else EXPECT_EQ(v.isString() ? v.toString().toStdString() : std::to_string(n), check.substr(eq + 1));
    }
}

// The help that the hint after a refused command line points to.
std::string HelpFor(const std::vector<std::string>& a) {
    if (a.empty() || !Names{"races", "race", "new", "play", "dump", "render"}.count(a[0])) return "quorvane-cli";
    if (a[0] == "race" && a.size() > 1 && (a[1] == "build" || a[1] == "show")) return "quorvane-cli race " + a[1];
    return "quorvane-cli " + a[0];
}

struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string says;  // in the first line of standard error, in the output, or "json:" checks of it
};

// Exit code 0 with the result on standard output; 1 for bad input with one line on standard error; 2 for wrong
// usage with a hint to the right help. A refused run prints nothing on standard output and writes no file.
TEST(CommandLine, EveryCommandTakesItsOptionsAndRefusesWhatItCannotUse) {
    TempFolder dir, races, unreadable;
    const auto path = [&](const std::string& name) { return (dir / name).string(); };
    const std::string g = path("g.zvq"), x = path("x.zvq"), png = path("x.png"), race = path("x.race");
    ASSERT_EQ(Cli({"new", "--data", kData, "--seed", "5", "--size", "tiny", "-o", g}).exitCode, 0);
    std::string game = Read(g), compact = Read(kDataOut / "compact.race");
    Write(dir / "cut.zvq", game.substr(0, game.size() / 2));
    Write(dir / "broken.zvq", game.replace(16, 4, Le(7, 4)));  // the human player claims seven ships
    Write(races / "cut.race", compact.substr(0, compact.size() - 3));
    fs::create_symlink(dir / "gone", unreadable / "a.race");  // listed, but it cannot be opened
    const std::string none = path("none"), cut = (races / "cut.race").string();
    // A new game from seed 5 as JSON, with more options.
    const auto made = [&](std::vector<std::string> more) {
        more.insert(more.begin(), {"new", "--data", kData, "--seed", "5", "--json"});
        return more;
    };

    std::vector<Case> cases = {
        {{"--help"}, 0, "Examples:\n  quorvane-cli races"},
        {{"render", "--help"}, 0, "--select <planet|asteroid|ship:N>"},
        {{}, 2, "missing command"},
        {{"conquer"}, 2, "unknown command 'conquer'"},
        {{"--json"}, 2, "unknown option '--json'"},
        {{"race"}, 2, "race: missing command"},
        {{"race", "paint", "x.race"}, 2, "race: unknown command 'paint'"},
        {{"races", "extra"}, 2, "unexpected argument 'extra'"},
        {{"race", "show"}, 2, "missing argument NAME.race"},
        {{"play", "--turns", "3", "-o", x}, 2, "missing argument FILE.zvq"},
        {{"races", "--json"}, 0, "json:0.name=Vess Swarm;3.file=compact.race"},  // the data beside the tool
        {{"races", "--data", kData}, 0, "Solar Compact  (compact.race)"},
        {{"races", "--colour"}, 2, "Unknown option 'colour'"},
        {{"races", "--data"}, 2, "Missing value after '--data'"},
        {{"races", "--data", dir.path().string()}, 1, "no race found"},
        {{"races", "--data", none, "--json"}, 1, "no such folder"},
        {{"races", "--data", unreadable.path().string()}, 1, "Unable to open data file!"},
        {{"race", "build", path("absent.json")}, 2, "missing option -o NAME.race"},
        {{"race", "build", path("absent.json"), "-o", race}, 1, "cannot read " + path("absent.json")},
        {{"race", "show", (kDataOut / "compact.race").string()}, 0, "The game loads this race."},
        {{"race", "show", cut, "--json"}, 1, "the file ends inside weapon 4"},
        {{"race", "show", path("absent.race")}, 1, "absent.race"},
        // Values in any case, each reaching the game; left out, the New Game dialog's start values.
        {made({}), 0, "json:turn=1;unstability=1;worldCount=5..7;worldSize=2000;players.0.gold=2000;players.0.race=1"},
        {made({"--size", "Tiny", "--credits", "500", "--unstability", "HIGH"}), 0,
         "json:worldSize=1000;players.0.gold=500;unstability=0"},
        {made({"--worlds", "LOTS", "--unstability", "none", "--credits", "5000"}), 0,
         "json:worldCount=8..10;unstability=3;players.0.gold=5000"},
        {made({"--worlds", "few", "--resources", "Few", "--ai", "lots"}), 0, "json:worldCount=2..4"},
        {made({"--race", "solar compact"}), 0, "json:players.0.race=4;players.0.raceName=Solar Compact"},
        {made({"--seed", "4294967295", "--size", "tiny", "--turns", "3"}), 0, "json:turn=4"},
        {{"new", "--data", kData, "--seed", "0000000000042", "--size", "tiny"}, 0, "New game from seed 42\n"},
        {{"new", "--size", "enormous", "-o", x}, 2, "--size: unknown value 'enormous'"},
        {{"new", "--worlds", "", "-o", x}, 2, "--worlds: unknown value ''"},
        {{"new", "--credits", "750", "-o", x}, 2, "--credits: unknown value '750'"},
        {{"new", "--seed", "4294967296", "-o", x}, 2, "--seed: '4294967296' is not a whole number"},
        {{"new", "--seed", "-1", "-o", x}, 2, "--seed: '-1'"},
        {{"new", "--seed", "7x", "-o", x}, 2, "--seed: '7x'"},
        {{"new", "--seed", " 7", "-o", x}, 2, "--seed: ' 7'"},
        {{"new", "--seed", "", "-o", x}, 2, "--seed: ''"},
        {{"new", "--data", kData, "--race", "Nobody", "-o", x}, 1, "unknown race 'Nobody'; the races in"},
        {{"new", "--data", kData, "--size", "tiny", "-o", path("none/g.zvq")}, 1, "cannot write " + path("none/g.zvq")},
        {{"play", g, "--data", kData, "--turns", "2", "--seed", "1", "--json"}, 0, "json:turn=3"},
        {{"play", g, "--data", kData, "--turns", "0", "--seed", "1"}, 0, "0 turns from turn 1 with seed 1"},
        {{"play", g, "-o", x}, 2, "missing option --turns N"},
        {{"play", g, "--turns", "-3", "-o", x}, 2, "--turns: '-3'"},
        {{"play", g, "--turns", "2.5", "-o", x}, 2, "--turns: '2.5'"},
        {{"play", g, "--turns", "1000001", "-o", x}, 2, "is not a whole number from 0 to 1000000"},
        {{"play", path("missing.zvq"), "--data", kData, "--turns", "3", "-o", x}, 1, "missing.zvq"},
        {{"play", path("cut.zvq"), "--data", kData, "--turns", "3", "-o", x}, 1, "cut.zvq"},
        {{"play", path("broken.zvq"), "--data", kData, "--turns", "5", "--check", "--json", "-o", x},
         1,
         "before turn 1: player 1 counts 7 ships but owns 0"},
        {{"play", g, "--data", kData, "--turns", "1", "--plot", path("none/p.png")}, 1, "quorvane-cli play: "},
        {{"dump", g, "--data", kData}, 0, "json:turn=1;currentWorld=1..7"},
        {{"render", g, "--data", kData, "--view", "0,0", "--select", "PLANET:1", "-o", path("ok.png")}, 0, ""},
        {{"render", g}, 2, "missing option -o OUT.png"},
        {{"render", g, "--data", kData, "-o", png, "--world", "two"}, 2, "--world wants a whole number, not 'two'"},
        {{"render", g, "--data", kData, "-o", png, "--view", "1"}, 2, "--view wants LEFT,TOP"},
        {{"render", g, "--data", kData, "-o", png, "--select", "moon:1"}, 2, "--select wants planet:N"},
        {{"render", g, "--data", kData, "-o", png, "--world", "99"}, 1, "no world 99"},
        {{"render", g, "--data", kData, "-o", png, "--select", "ship:5"}, 1, "no ship 5"},
    };
    // Race sources that are not races, each refused with its reason.
    const auto edit = [source = Read(fs::path(QUORVANE_SOURCE_DIR) / "data/races/compact.json")](
                          const std::string& from, const std::string& to) {
        std::string text = source;
        return text.replace(text.find(from), from.size(), to);
    };
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"[1]", "the source must be a JSON object"},
        {edit("\"survey\": 100,", "\"survey\": 100,,"), "invalid JSON at line 5, column"},
        {edit("\"hold\": 0, \"cost\": 450 ", "\"hold\": 0 "), "\"cost\" is missing in ship model 2"},
        {edit("\"speed\": 120", "\"speed\": \"120\""), "\"speed\" in ship model 1 must be a number, not a string"},
        {edit("\"cost\": 700", "\"cost\": 2147483648"), "outside the 32-bit range"},
        {edit("\"speed\": 210", "\"sped\": 1, \"speed\": 210"), "unknown key \"sped\" in ship model 2"},
        {edit("\"name\": \"Solar Compact\"", "\"encoding\": \"latin1\", \"name\": \"\\u20ac\""),
         "holds U+20AC, which Latin-1 cannot hold"},
        {edit("\"maxDamage\": 65", "\"maxDamage\": 30"), "the game would refuse this race: weapon 2 \"Rail Driver\""},
        {edit("\"Mule\"", "\"Mu\\nle\""), "the game would refuse this race: ship model 1's name holds a line-end"},
    };
    for (std::size_t i = 0; i < bad.size(); ++i) {
        Write(races / (std::to_string(i) + ".json"), bad[i].first);
        cases.push_back(
            {{"race", "build", (races / (std::to_string(i) + ".json")).string(), "-o", race}, 1, bad[i].second});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        const ChildResult r = Cli(c.args, dir.path());
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        if (c.exitCode == 0) {
            EXPECT_EQ(r.err, "");
            if (c.says.starts_with("json:")) ExpectJson(r.out, c.says.substr(5));
            else EXPECT_NE(r.out.find(c.says), std::string::npos) << r.out;
            continue;
        }
        EXPECT_EQ(r.out, "");
        EXPECT_LT(r.err.find(c.says), r.err.find('\n')) << r.err;
        if (c.exitCode == 1) EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        else EXPECT_TRUE(r.err.ends_with("\nTry '" + HelpFor(c.args) + " --help'.\n")) << r.err;
        for (const char* name : {"x.zvq", "x.png", "x.race", "none"}) EXPECT_FALSE(fs::exists(dir / name)) << name;
    }
}

// The layout of a game as `new --json`, `dump` and `play --json` print it, every owner within the players;
// returns how many ships it lists.
int ExpectGameLayout(const QJsonValue& game) {
    EXPECT_EQ(Keys(game), Words("turn worldSize worldCount doubleWorldCount playerCount asteroidTotal unstability "
                                "gameOver currentWorld view selected players worlds"));
    EXPECT_EQ(Keys(game["view"]), Words("left top right bottom"));
    EXPECT_TRUE(game["gameOver"].isBool());
    EXPECT_TRUE(game["selected"].isNull() || Keys(game["selected"]) == Words("kind world index"));
    const qsizetype players = game["players"].toArray().size();
    EXPECT_GE(players, 2);
    const qint64 world = game["currentWorld"].toInteger();
    EXPECT_TRUE(world >= 1 && world <= game["worlds"].toArray().size()) << world;
    for (const QJsonValue& p : game["players"].toArray()) {
        EXPECT_EQ(Keys(p), Words("colour gold planetCount shipCount race raceName power"));
        EXPECT_TRUE(p["raceName"].isString() && p["gold"].isDouble());
        EXPECT_EQ(p["power"].toArray().size(), game["turn"].toInteger());
    }
    const auto owned = [&](const QJsonValue& record, const char* keys, qsizetype equipSlots) {
        EXPECT_EQ(Keys(record), Words(keys));
        EXPECT_EQ(record["equip"].toArray().size(), equipSlots);
        EXPECT_TRUE(record["owner"].toInteger() >= 1 && record["owner"].toInteger() <= players)
            << record["owner"].toInteger();
    };
    int ships = 0;
    const auto shipsIn = [&](const QJsonValue& list) {
        EXPECT_TRUE(list.isArray());
        for (const QJsonValue& s : list.toArray()) {
            ++ships;
            owned(s,
                  "x y owner model modelName equip actionPoints shieldPoints viewPoints holds holdFull reserved "
                  "weapon weaponReady pixels",
                  11);
            EXPECT_TRUE(s["modelName"].isString());
        }
    };
    for (const QJsonValue& w : game["worlds"].toArray()) {
        EXPECT_EQ(Keys(w), Words("number star planets asteroids ships"));
        EXPECT_EQ(Keys(w["star"]), Words("kind x y"));
        for (const QJsonValue& p : w["planets"].toArray()) {
            owned(p,
                  "x y picture owner shieldPoints reserved orbitDirection orbitPeriod equip weapon weaponReady docks",
                  6);
            shipsIn(p["docks"]);
        }
        for (const QJsonValue& a : w["asteroids"].toArray()) {
            EXPECT_EQ(Keys(a), Words("kind x y resources motion motionRate ships"));
            shipsIn(a["ships"]);
        }
        shipsIn(w["ships"]);
    }
    return ships;
}

// A game made twice from its seed (and once from another), printed by new, dump and play in one layout;
// --events changes nothing of the game played; the turn that leaves no computer player a planet or a ship is
// named with the winner, and the turns asked for are played on.
TEST(CommandLine, TheGameOfASeedInOneLayoutPlayedToVictory) {
    TempFolder dir;
    const std::string file = (dir / "g.zvq").string(), a = (dir / "a.zvq").string(), b = (dir / "b.zvq").string();
    const auto made = [&](const std::string& seed, const std::string& out) {
        return Json(Cli({"new", "--data", kData, "--seed", seed, "--size", "tiny", "--worlds", "few", "--ai", "few",
                         "--json", "-o", out})
                        .out);
    };
    const QJsonValue fresh = made("3", file);
    ExpectGameLayout(fresh);
    EXPECT_EQ(fresh["selected"]["kind"], "planet");  // the human's home planet
    EXPECT_EQ(fresh["selected"]["world"], fresh["currentWorld"]);
    made("3", a), made("4", b);
    EXPECT_TRUE(!Read(file).empty() && Read(a) == Read(file) && Read(b) != Read(file));
    const QJsonValue loaded = Json(Cli({"dump", file, "--data", kData}).out);
    ExpectGameLayout(loaded);
    EXPECT_TRUE(loaded["selected"].isNull());  // a loaded game selects nothing
    const auto play = [&](std::vector<std::string> more) {
        more.insert(more.begin(), {"play", file, "--data", kData, "--turns", "400", "--seed", "1", "--autopilot"});
        return Cli(more).out;
    };
    const std::string text = play({"--events", "-o", b});
    play({"-o", a});
    EXPECT_TRUE(!Read(a).empty() && Read(a) == Read(b));
    EXPECT_NE(text.find("Events:\n  Turn "), std::string::npos) << text;
    EXPECT_NE(text.find("\nVictory: the winner is 1 (you), "), std::string::npos) << text;
    const QJsonValue game = Json(play({"--events", "--check", "--json"}));
    QJsonObject played = game.toObject();
    played.remove("events"), played.remove("victory");
    EXPECT_GT(ExpectGameLayout(played), 0);
    EXPECT_EQ(game["victory"]["winner"].toInteger(), 1);
    EXPECT_TRUE(game["victory"]["turn"].toInteger() > 1 && game["victory"]["turn"].toInteger() < 400);
    EXPECT_EQ(game["turn"].toInteger(), 401);
    const QJsonArray players = game["players"].toArray();
    for (qsizetype i = 1; i + 1 < players.size(); ++i)
        EXPECT_EQ(players[i]["planetCount"].toInteger() + players[i]["shipCount"].toInteger(), 0) << i;
    long long last = 0;
    for (const QJsonValue turn : game["events"].toArray()) {
        EXPECT_GT(turn["turn"].toInteger(), last);
        last = turn["turn"].toInteger();
        for (const QJsonValue e : turn["events"].toArray()) {
            EXPECT_EQ(Keys(e), Words("kind body world x y by amount toWorld toX toY model text"));
            const std::string said = e["text"].toString().toStdString();
            EXPECT_TRUE(said.starts_with("World ") && text.find(said) != std::string::npos) << said;
        }
    }
    EXPECT_GT(last, 0);
}

// The shipped race files give their sources back; any file the game takes comes back byte for byte.
TEST(CommandLine, RacesGoFromSourceToFileAndBackUnchanged) {
    const QJsonArray listed = Json(Cli({"races", "--data", kData, "--json"}).out).toArray();
    ASSERT_EQ(listed.size(), 4);
    for (const QJsonValue& race : listed) {
        const fs::path file = race["file"].toString().toStdString();
        SCOPED_TRACE(file);
        EXPECT_EQ(Keys(race), Words("file name description shipModels weapons"));
        EXPECT_EQ(Keys(race["shipModels"][0]), Words("name speed defence survey hold cost pictureFile pixels"));
        EXPECT_EQ(Keys(race["weapons"][0]), Words("name range minDamage maxDamage cost"));
        EXPECT_EQ(Cli({"race", "show", (kDataOut / file).string(), "--json"}).out,
                  Read(fs::path(QUORVANE_SOURCE_DIR) / "data/races" / fs::path(file).replace_extension(".json")));
    }
    TempFolder dir;
    const auto roundTrip = [&](const std::string& bytes) {
        Write(dir / "x.race", bytes);
        const ChildResult shown = Cli({"race", "show", (dir / "x.race").string(), "--json"});
        Write(dir / "x.json", shown.out);
        EXPECT_EQ(Cli({"race", "build", (dir / "x.json").string(), "-o", (dir / "y.race").string()}).exitCode, 0);
        EXPECT_TRUE(Read(dir / "y.race") == bytes) << shown.err << "source:\n" << shown.out;
        return Json(shown.out);
    };
    // The smallest: empty lines ending in LF, so each model takes 22 bytes and each weapon 17.
    std::string smallest = "\n\n"s + Le(1, 2) + Le(3, 2) + "\n\n" + std::string(20, '\0');
    for (int i = 0; i < 3; ++i) smallest += "\n" + Le(0, 8) + Le(1, 4) + Le(0, 4);
    roundTrip(smallest);
    // Latin-1 with quotes and controls, CR ending a line, counts above 255, extreme numbers, bytes after the end.
    std::string odd = "Une cit\xe9\nOdd Folk\r\x85"s + Le(300, 2) + Le(3, 2);
    for (int i = 0; i < 300; ++i)
        odd += "M" + std::to_string(i) + "\r\nm.bmp\r\0"s + Le(INT_MIN, 4) + Le(INT_MAX, 4) + Le(-1, 4) + Le(0, 4) +
               Le(i * 7919, 4);
    for (int i = 0; i < 3; ++i) odd += "W\xff \"\\\x01\n" + Le(-i, 4) + Le(INT_MIN, 4) + Le(INT_MAX, 4) + Le(i, 4);
    const QJsonValue source = roundTrip(odd + "\0\xff\r\nmore"s);
    EXPECT_EQ(source["encoding"], "latin1");
    EXPECT_EQ(source["description"], "Une cit\u00e9");
    EXPECT_EQ(source["weapons"][0]["name"], "W\u00ff \"\\\x01");
    EXPECT_EQ(source["trailingBytes"], "00ff0d0a6d6f7265");
    EXPECT_EQ(source["shipModels"][299]["speed"].toInteger(), INT_MIN);
}

// The warship a computer player arms, when the chosen model and weapon together cost less than the gold.
const ShipModel* ArmedWarship(Race& race, int gold) {
    ShipModel* war = ChooseWarModel(&race, gold);
    const Weapon* weapon = war ? ChooseWeapon(&race, gold, *war) : nullptr;
    return weapon && static_cast<std::int64_t>(war->cost) + weapon->cost < gold ? war : nullptr;
}

// The choice starts from the flagship and the dearest weapon (the last in the file), so a planet earning 100 gold
// a turn builds a cargo ship (with a hold, costing less than half the gold) at once and arms itself in the end.
TEST(ShippedRaces, ComputerPlayersBuildCargoShipsAtOnceAndArmThemselvesInTheEnd) {
    ResetGlobals();
    HeadlessPlatform platform;
    SetPlatform(&platform);
    EXPECT_TRUE(LoadRaces(QUORVANE_DATA_OUT));
    int races = 0;
    for (Race* r = g_races; r; r = r->next, ++races) {
        for (int start : {500, 1000, 2000, 3000, 5000}) {
            SCOPED_TRACE(r->name + " starting with " + std::to_string(start));
            int armedTurn = -1, cargoTurn = -1;
            for (int turn = 0; turn <= 80 && (armedTurn < 0 || cargoTurn < 0); ++turn) {
                const int gold = start + 100 * turn;
                const ShipModel* cargo = ChooseCargoModel(r, gold);
                if (armedTurn < 0 && ArmedWarship(*r, gold)) armedTurn = turn;
                if (cargoTurn < 0 && cargo && cargo->hold != 0 && cargo->cost < gold / 2) cargoTurn = turn;
            }
            EXPECT_TRUE(armedTurn >= 0 && armedTurn <= 60) << armedTurn;
            EXPECT_TRUE(cargoTurn >= 0 && cargoTurn <= (start >= 2000 ? 0 : 15)) << cargoTurn;
        }
        // The warship a computer player arms is never its cargo model.
        for (int gold = 500; gold <= 10000; gold += 50)
            if (const ShipModel* ship = ArmedWarship(*r, gold)) {
                EXPECT_EQ(ship->hold, 0) << r->name << " with " << gold << " gold arms " << ship->name;
            }
    }
    EXPECT_EQ(races, 4);
    SetPlatform(nullptr);
    ResetGlobals();
}

}  // namespace
}  // namespace qv
