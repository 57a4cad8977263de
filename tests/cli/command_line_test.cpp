// quorvane-cli as scripts see it: every command's options, valid and not,
// in one table. Exit code 0 with the result on standard output; 1 for bad
// input with one line on standard error; 2 for wrong usage, with a hint to
// the right help and nothing on standard output. A refused run writes no file.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>

#include "cli_test_support.h"

namespace qv::clitest {
namespace {

struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string says;  // part of standard error (codes 1 and 2) or output (0)
    // With exit code 0 and JSON out: "path=value; path=low..high", the path
    // through objects and arrays separated by dots.
    std::string json = {};
};

// The help the hint of a refused command line points to.
std::string HelpFor(const std::vector<std::string>& args) {
    if (args.empty()) return "quorvane-cli";
    for (const char* command : {"races", "new", "play", "dump", "render"})
        if (args[0] == command) return "quorvane-cli " + args[0];
    if (args[0] != "race") return "quorvane-cli";
    if (args.size() > 1 && (args[1] == "build" || args[1] == "show")) return "quorvane-cli race " + args[1];
    return "quorvane-cli race";
}

QJsonValue At(QJsonValue value, const std::string& path) {
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('.', start);
        if (end == std::string::npos) end = path.size();
        const std::string step = path.substr(start, end - start);
        if (value.isArray()) value = value.toArray().at(std::stoi(step));
        else value = value.toObject().value(QString::fromStdString(step));
        start = end + 1;
    }
    return value;
}

void ExpectJson(const std::string& out, const std::string& checks) {
    const QJsonValue document = ParseJson(out);
    for (std::size_t start = 0; start < checks.size();) {
        std::size_t end = checks.find("; ", start);
        if (end == std::string::npos) end = checks.size();
        const std::string check = checks.substr(start, end - start);
        start = end + 2;
        const std::size_t eq = check.find('=');
        const QJsonValue value = At(document, check.substr(0, eq));
        const std::string expected = check.substr(eq + 1);
        if (const std::size_t dots = expected.find(".."); dots != std::string::npos) {
            EXPECT_GE(value.toInteger(-1), std::stoll(expected.substr(0, dots))) << check;
            EXPECT_LE(value.toInteger(-1), std::stoll(expected.substr(dots + 2))) << check;
        } else if (value.isString()) {
            EXPECT_EQ(Text(value), expected) << check;
        } else {
            EXPECT_TRUE(value.isDouble()) << check;
            EXPECT_EQ(std::to_string(value.toInteger()), expected) << check;
        }
    }
}

void SetI32At(std::string& bytes, std::size_t at, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes.at(at + static_cast<std::size_t>(i)) = static_cast<char>((u >> (8 * i)) & 0xFF);
}

TEST(CommandLine, EveryCommandTakesItsOptionsAndRefusesWhatItCannotUse) {
    ScratchDir dir, races, empty, unreadable;
    const auto path = [&](const std::string& name) { return (dir / name).string(); };
    const std::string g = path("g.zvq");
    ASSERT_EQ(RunCli({"new", "--data", kData, "--seed", "5", "--size", "tiny", "-o", g}).exitCode, 0);
    const std::string game = ReadBytes(g);
    std::string broken = game, far = game;
    SetI32At(broken, 4 + 12, 7);                             // the human player claims seven ships
    SetI32At(far, game.size() - 48 + 4 * 9, 2000000000);     // the turn, among the closing game values
    WriteBytes(dir / "broken.zvq", broken);
    WriteBytes(dir / "far.zvq", far);
    WriteBytes(dir / "cut.zvq", game.substr(0, game.size() / 2));
    WriteBytes(dir / "empty.zvq", "");
    const std::string race = GoodRace("Cut Short");
    WriteBytes(races / "cut.race", race.substr(0, race.size() - 3));  // not where the games are
    WriteBytes(dir / "src.json", "{}");
    fs::create_symlink(dir / "gone.txt", unreadable / "a.race");  // listed, but it cannot be opened
    const std::string none = path("none");
    const std::string compact = (kDataOut / "compact.race").string();
    const std::vector<std::string> written = {"x.zvq", "x.png", "x.race", "none"};
    const std::string x = path("x.zvq"), png = path("x.png");

    const std::vector<Case> cases = {
        // Help.
        {{"--help"}, 0, "Examples:\n  quorvane-cli races"},
        {{"race", "--help"}, 0, "  race show "},
        {{"race", "show", "-h"}, 0, "Usage: quorvane-cli race show NAME.race [--json]"},
        {{"play", "--help"}, 0, "Usage: quorvane-cli play FILE.zvq --turns N"},
        {{"render", "--help"}, 0, "--select <planet|asteroid|ship:N>"},
        // Commands and arguments.
        {{}, 2, "missing command"},
        {{"conquer"}, 2, "unknown command 'conquer'"},
        {{"--json"}, 2, "unknown option '--json'"},
        {{"race"}, 2, "race: missing command"},
        {{"race", "paint", "x.race"}, 2, "race: unknown command 'paint'"},
        {{"races", "extra"}, 2, "unexpected argument 'extra'"},
        {{"race", "build", "-o", path("x.race")}, 2, "missing argument SRC.json"},
        {{"race", "show"}, 2, "missing argument NAME.race"},
        {{"play", "--turns", "3", "-o", x}, 2, "missing argument FILE.zvq"},
        {{"play", g, g, "--turns", "3", "-o", x}, 2, "unexpected argument"},
        {{"dump"}, 2, "missing argument FILE.zvq"},
        // races
        {{"races", "--data", kData, "--json"}, 0, "", "0.name=Vess Swarm; 3.file=compact.race"},
        {{"races", "--data", kData}, 0, "Solar Compact  (compact.race)"},
        {{"races", "--colour"}, 2, "Unknown option 'colour'"},
        {{"races", "--data"}, 2, "Missing value after '--data'"},
        {{"races", "--data", empty.path().string()}, 1, "no race found"},
        {{"races", "--data", none, "--json"}, 1, "no such folder"},
        {{"races", "--data", unreadable.path().string()}, 1, "Unable to open data file!"},
        // race build, race show
        {{"race", "build", path("src.json")}, 2, "missing option -o NAME.race"},
        {{"race", "build", path("absent.json"), "-o", path("x.race")}, 1, "cannot read " + path("absent.json")},
        {{"race", "build", path("src.json"), "-o", path("x.race")}, 1, "\"name\" is missing at the top level"},
        {{"race", "show", compact}, 0, "The game loads this race."},
        {{"race", "show", compact, "--json"}, 0, "", "name=Solar Compact; shipModels.0.pictureFile=compact_mule.bmp"},
        {{"race", "show", (races / "cut.race").string(), "--yaml"}, 2, "Unknown option 'yaml'"},
        {{"race", "show", (races / "cut.race").string(), "--json"}, 1, "inside weapon 3"},
        {{"race", "show", path("absent.race")}, 1, "absent.race"},
        // new: values in any case, each reaching the game; left out, the New Game dialog's start values.
        {{"new", "--data", kData, "--seed", "5", "--json"}, 0, "",
         "turn=1; unstability=1; worldCount=5..7; players.0.gold=2000; players.0.race=1"},
        {{"new", "--data", kData, "--seed", "5", "--size", "Tiny", "--credits", "500", "--unstability", "HIGH",
          "--json"}, 0, "", "worldSize=1000; players.0.gold=500; unstability=0"},
        {{"new", "--data", kData, "--seed", "5", "--size", "tiny", "--worlds", "LOTS", "--unstability", "none",
          "--credits", "5000", "--json"}, 0, "", "worldCount=8..10; unstability=3; players.0.gold=5000"},
        {{"new", "--data", kData, "--seed", "5", "--size", "tiny", "--worlds", "few", "--resources", "Few", "--ai",
          "lots", "--json"}, 0, "", "worldCount=2..4"},
        {{"new", "--data", kData, "--seed", "5", "--size", "tiny", "--race", "solar compact", "--json"}, 0, "",
         "players.0.race=4; players.0.raceName=Solar Compact"},
        {{"new", "--data", kData, "--seed", "0000000000042", "--size", "tiny"}, 0, "New game from seed 42\n"},
        {{"new", "--data", kData, "--seed", "4294967295", "--size", "tiny", "--turns", "3", "--json"}, 0, "",
         "turn=4"},
        {{"new", "--size", "enormous", "-o", x}, 2, "--size: unknown value 'enormous'"},
        {{"new", "--worlds", "", "-o", x}, 2, "--worlds: unknown value ''"},
        {{"new", "--credits", "750", "-o", x}, 2, "--credits: unknown value '750'"},
        {{"new", "--unstability", "some", "-o", x}, 2, "--unstability: unknown value"},
        {{"new", "--ai", "2", "-o", x}, 2, "--ai: unknown value"},
        {{"new", "--resources", "many", "-o", x}, 2, "--resources: unknown value"},
        {{"new", "--seed", "4294967296", "-o", x}, 2, "--seed: '4294967296' is not a whole number"},
        {{"new", "--seed", "-1", "-o", x}, 2, "--seed: '-1'"},
        {{"new", "--seed", "7x", "-o", x}, 2, "--seed: '7x'"},
        {{"new", "--seed", " 7", "-o", x}, 2, "--seed: ' 7'"},
        {{"new", "--seed", "", "-o", x}, 2, "--seed: ''"},
        {{"new", "--seed", "99999999999999999999999", "-o", x}, 2, "--seed"},
        {{"new", "--seed"}, 2, "Missing value after '--seed'"},
        {{"new", "--turns", "-1", "-o", x}, 2, "--turns: '-1'"},
        {{"new", "--turns", "x", "-o", x}, 2, "--turns: 'x'"},
        {{"new", "--data", kData, "--race", "Nobody", "-o", x}, 1, "unknown race 'Nobody'; the races in"},
        {{"new", "--data", none, "-o", x}, 1, "no such folder"},
        {{"new", "--data", kData, "--size", "tiny", "-o", path("none/g.zvq")}, 1, "cannot write " + path("none/g.zvq")},
        // play, dump
        {{"play", g, "--data", kData, "--turns", "2", "--seed", "1", "--json"}, 0, "", "turn=3"},
        {{"play", g, "--data", kData, "--turns", "0", "--seed", "1"}, 0, "0 turns from turn 1 with seed 1"},
        {{"play", g, "-o", x}, 2, "missing option --turns N"},
        {{"play", g, "--turns", "-3", "-o", x}, 2, "--turns: '-3'"},
        {{"play", g, "--turns", "ten", "-o", x}, 2, "--turns: 'ten'"},
        {{"play", g, "--turns", "2.5", "-o", x}, 2, "--turns: '2.5'"},
        {{"play", g, "--turns", "", "-o", x}, 2, "--turns: ''"},
        {{"play", g, "--turns", "1000001", "-o", x}, 2, "is not a whole number from 0 to 1000000"},
        {{"play", g, "--turns", "99999999999", "-o", x}, 2, "--turns: '99999999999'"},
        {{"play", g, "--turns", "3", "--seed", "4294967296", "-o", x}, 2, "--seed"},
        {{"play", g, "--turns", "3", "--fast", "-o", x}, 2, "Unknown option 'fast'"},
        {{"play", g, "--turns", "1", "--plot"}, 2, "Missing value after '--plot'"},
        {{"play", path("missing.zvq"), "--data", kData, "--turns", "3", "-o", x}, 1, "missing.zvq"},
        {{"play", path("cut.zvq"), "--data", kData, "--turns", "3", "-o", x}, 1, "cut.zvq"},
        {{"play", path("far.zvq"), "--data", kData, "--turns", "1", "-o", x}, 1, "2000000000"},
        {{"play", path("broken.zvq"), "--data", kData, "--turns", "5", "--check", "--json", "-o", x}, 1,
         "before turn 1: player 1 counts 7 ships but owns 0"},
        {{"play", g, "--data", kData, "--turns", "1", "--plot", path("none/p.png")}, 1, "quorvane-cli play: "},
        {{"dump", g, "--data", kData}, 0, "", "turn=1; currentWorld=1..7"},
        {{"dump", path("empty.zvq"), "--data", kData}, 1, "empty.zvq"},
        {{"dump", dir.path().string(), "--data", kData}, 1, dir.path().string()},
        // render
        {{"render", g, "--data", kData, "--world", "1", "--view", "0,0", "--select", "PLANET:1", "--hover",
          "planet:1", "-o", path("ok.png")}, 0, ""},
        {{"render", g}, 2, "missing option -o OUT.png"},
        {{"render", g, g, "-o", png}, 2, "unexpected argument"},
        {{"render", g, "--data", kData, "-o", png, "--world", "two"}, 2, "--world wants a whole number, not 'two'"},
        {{"render", g, "--data", kData, "-o", png, "--view", "1"}, 2, "--view wants LEFT,TOP"},
        {{"render", g, "--data", kData, "-o", png, "--view", "1,y"}, 2, "--view wants a whole number"},
        {{"render", g, "--data", kData, "-o", png, "--select", "moon:1"}, 2, "--select wants planet:N, asteroid:N or ship:N"},
        {{"render", g, "--data", kData, "-o", png, "--hover", "ship:x"}, 2, "--hover wants a whole number"},
        {{"render", g, "--data", kData, "-o", png, "--world", "99"}, 1, "no world 99"},
        {{"render", g, "--data", kData, "-o", png, "--select", "ship:5"}, 1, "no ship 5"},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const std::string& a : c.args) joined += " [" + a + "]";
        SCOPED_TRACE("quorvane-cli" + joined);
        const RunResult r = RunCli(c.args, dir.path());
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        if (c.exitCode == 0) {
            EXPECT_EQ(r.err, "");
            EXPECT_NE(r.out.find(c.says), std::string::npos) << r.out;
            if (!c.json.empty()) ExpectJson(r.out, c.json);
            continue;
        }
        EXPECT_EQ(r.out, "");
        const std::vector<std::string> lines = Lines(r.err);
        ASSERT_FALSE(lines.empty());
        EXPECT_NE(lines.front().find(c.says), std::string::npos) << r.err;
        if (c.exitCode == 1) EXPECT_EQ(lines.size(), 1u) << r.err;
        else EXPECT_EQ(lines.back(), "Try '" + HelpFor(c.args) + " --help'.") << r.err;
        for (const std::string& name : written) EXPECT_FALSE(fs::exists(dir / name)) << name;
    }
}

}  // namespace
}  // namespace qv::clitest
