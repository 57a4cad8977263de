// quorvane-cli play and new --turns: turns played from a seed are the same
// on every run, a game opened and saved without turns comes back byte for
// byte, the players table agrees with the game JSON of the same run, the
// consistency check stops at a broken game, a lost game plays on, and wrong
// usage and damaged files are refused.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli_test_support.h"

extern char** environ;

namespace qv::clitest {
namespace {

const std::string kData = kDataOut.string();

RunResult New(std::vector<std::string> args) {
    args.insert(args.begin(), {"new", "--data", kData});
    return RunCli(args);
}

RunResult Play(const fs::path& file, std::vector<std::string> args) {
    args.insert(args.begin(), {"play", file.string(), "--data", kData});
    return RunCli(args);
}

// The JSON a successful run printed; fails loudly when the run failed.
Json JsonOf(const RunResult& r) {
    if (r.exitCode != 0) throw std::runtime_error("the tool failed (" + std::to_string(r.exitCode) + "): " + r.err);
    return ParseJson(r.out);
}

// A saved game made by `new --seed seed` with the default options.
void MakeGame(const fs::path& file, const std::string& seed = "5") {
    const RunResult r = New({"--seed", seed, "-o", file.string()});
    if (r.exitCode != 0) throw std::runtime_error("new failed: " + r.err);
}

// "#RRGGBB" of a 0x00BBGGRR colour, worked out here from the JSON number.
std::string Hex(long long colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", static_cast<unsigned>(colour & 0xFF),
                  static_cast<unsigned>((colour >> 8) & 0xFF), static_cast<unsigned>((colour >> 16) & 0xFF));
    return text;
}

// The cells of a table line: separated by two spaces or more.
std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells;
    std::size_t i = line.find_first_not_of(' ');
    while (i != std::string::npos && i < line.size()) {
        std::size_t end = line.find("  ", i);
        if (end == std::string::npos) end = line.size();
        cells.push_back(line.substr(i, end - i));
        i = line.find_first_not_of(' ', end);
    }
    return cells;
}

// The rows of the players table (header first): the lines after "Players:".
std::vector<std::vector<std::string>> PlayerRows(const std::string& out, std::size_t players) {
    const std::vector<std::string> lines = Lines(out);
    std::size_t at = 0;
    while (at < lines.size() && lines[at] != "Players:") ++at;
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = at + 1; i < lines.size() && rows.size() < players + 1; ++i) rows.push_back(Cells(lines[i]));
    return rows;
}

// Planets and ships of the player at 1-based position owner, counted over
// every world of the game JSON.
struct Counted {
    long long planets = 0, ships = 0;
};

Counted CountOwned(const Json& game, long long owner) {
    Counted c;
    const auto ships = [&](const Json& list) {
        for (const Json& s : list.items) c.ships += s["owner"].integer() == owner;
    };
    for (const Json& w : game["worlds"].items) {
        ships(w["ships"]);
        for (const Json& a : w["asteroids"].items) ships(a["ships"]);
        for (const Json& p : w["planets"].items) {
            c.planets += p["owner"].integer() == owner;
            ships(p["docks"]);
        }
    }
    return c;
}

// A little-endian reader and writer over the bytes of a saved game.
std::int32_t I32At(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i)));
    return static_cast<std::int32_t>(v);
}

void SetI32At(std::string& bytes, std::size_t at, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes.at(at + static_cast<std::size_t>(i)) = static_cast<char>((u >> (8 * i)) & 0xFF);
}

// A freshly generated game (no ship anywhere) whose human player has lost
// everything: its planets go to the neutral player, its planet counter to 0.
std::string HumanWithNothing(std::string bytes) {
    const std::int32_t players = I32At(bytes, 0);  // the neutral one included
    SetI32At(bytes, 4 + 8, 0);                     // the human's planet count
    std::size_t at = 4 + 20 * static_cast<std::size_t>(players);
    const std::int32_t worlds = I32At(bytes, at);
    at += 4;
    for (std::int32_t w = 0; w < worlds; ++w) {
        at += 14;  // star kind, x, y; world number
        if (I32At(bytes, at) != 0) throw std::runtime_error("the game already has ships");
        at += 4;
        const std::int32_t asteroids = I32At(bytes, at);
        at += 4 + 28 * static_cast<std::size_t>(asteroids);
        const std::int32_t planets = I32At(bytes, at);
        at += 4;
        for (std::int32_t p = 0; p < planets; ++p, at += 64)
            if (I32At(bytes, at + 52) == 1) SetI32At(bytes, at + 52, players);
    }
    return bytes;
}

TEST(NewTurns, AutopilotTurnsFromASeedAreTheSameOnEveryRunAndThingsHappen) {
    const std::vector<std::string> args = {"--seed", "5", "--turns", "30", "--autopilot", "--check", "--json"};
    const RunResult first = New(args);
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.err, "");  // no progress bar without a terminal
    const RunResult second = New(args);
    ASSERT_EQ(second.exitCode, 0) << second.err;
    EXPECT_EQ(first.out, second.out);

    const Json game = ParseJson(first.out);
    EXPECT_EQ(game["turn"].integer(), 31);
    EXPECT_FALSE(game["gameOver"].boolean);
    const Json& players = game["players"];
    ASSERT_GE(players.size(), 3u);

    long long ships = 0, goldChanged = 0, laterPower = 0;
    for (std::size_t i = 0; i + 1 < players.size(); ++i) {
        const Json& p = players[i];
        ships += p["shipCount"].integer();
        goldChanged += p["gold"].integer() != 2000;
        ASSERT_EQ(p["power"].size(), 31u);
        EXPECT_EQ(p["power"][0].integer(), 3000);  // one planet and the start gold
        for (std::size_t t = 1; t < 31; ++t) laterPower += p["power"][t].integer() != 0;
    }
    EXPECT_GT(ships, 0);
    EXPECT_GT(goldChanged, 0);
    EXPECT_GT(laterPower, 0);
    // The ships counted are on the map, the human player's among them: on
    // autopilot it builds as the computer players do.
    long long onMap = 0;
    for (std::size_t owner = 1; owner < players.size(); ++owner)
        onMap += CountOwned(game, static_cast<long long>(owner)).ships;
    EXPECT_EQ(onMap, ships);
    EXPECT_GT(players[0]["shipCount"].integer(), 0);

    // Without autopilot the human player's side does nothing: no ship, and
    // (its home planet held all along in this game) its gold is the start
    // gold plus the income of one planet.
    const Json idle = JsonOf(New({"--seed", "5", "--turns", "30", "--check", "--json"}));
    EXPECT_EQ(idle["turn"].integer(), 31);
    const Json& human = idle["players"][0];
    EXPECT_EQ(human["shipCount"].integer(), 0);
    EXPECT_EQ(human["planetCount"].integer(), 1);
    EXPECT_EQ(human["gold"].integer(), 2000 + 30 * 100);

    // No turn is no change: --turns 0 gives the game `new` alone makes.
    EXPECT_EQ(New({"--seed", "5", "--turns", "0", "--json"}).out, New({"--seed", "5", "--json"}).out);
}

TEST(PlayCommand, TheSameSeedPlaysTheSameTurnsAndAnotherSeedOthers) {
    ScratchDir dir;
    MakeGame(dir / "a.zvq");
    const std::string original = ReadBytes(dir / "a.zvq");

    const auto play = [&](const std::string& seed, const std::string& out) {
        const RunResult r = Play(dir / "a.zvq", {"--turns", "30", "--seed", seed, "-o", (dir / out).string()});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "");
        return r;
    };
    const RunResult b = play("9", "b.zvq");
    const RunResult again = play("9", "again.zvq");
    play("10", "other.zvq");
    EXPECT_EQ(ReadBytes(dir / "a.zvq"), original);  // the file played is left alone
    EXPECT_EQ(ReadBytes(dir / "b.zvq"), ReadBytes(dir / "again.zvq"));
    EXPECT_EQ(b.out, again.out);
    EXPECT_NE(ReadBytes(dir / "b.zvq"), ReadBytes(dir / "other.zvq"));
    EXPECT_NE(b.out.find("with seed 9"), std::string::npos) << b.out;

    // The saved result opens at the turn reached, with the players the JSON
    // of the same run shows (players keep their order through a load).
    const Json saved = JsonOf(RunCli({"dump", (dir / "b.zvq").string(), "--data", kData}));
    EXPECT_EQ(saved["turn"].integer(), 31);
    const Json printed = JsonOf(Play(dir / "a.zvq", {"--turns", "30", "--seed", "9", "--json"}));
    EXPECT_EQ(printed["turn"].integer(), 31);
    for (std::size_t i = 0; i < printed["players"].size(); ++i) {
        SCOPED_TRACE("player " + std::to_string(i + 1));
        for (const char* key : {"gold", "planetCount", "shipCount", "colour"})
            EXPECT_EQ(saved["players"][i][key].integer(), printed["players"][i][key].integer()) << key;
    }
}

TEST(PlayCommand, NoTurnsGivesTheGameBackByteForByteAfterTwoLoads) {
    ScratchDir dir;
    MakeGame(dir / "a.zvq", "12");
    const fs::path a = dir / "a.zvq", b = dir / "b.zvq", c = dir / "c.zvq";
    ASSERT_EQ(Play(a, {"--turns", "0", "-o", b.string()}).exitCode, 0);
    ASSERT_EQ(Play(b, {"--turns", "0", "-o", c.string()}).exitCode, 0);
    // One load reverses the lists inside every world, the second restores them.
    EXPECT_EQ(ReadBytes(b).size(), ReadBytes(a).size());
    EXPECT_NE(ReadBytes(b), ReadBytes(a));
    EXPECT_EQ(ReadBytes(c), ReadBytes(a));
    // With no turn, the JSON is what dump prints of the same file.
    const RunResult json = Play(a, {"--turns", "0", "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(json.out, RunCli({"dump", a.string(), "--data", kData}).out);
}

TEST(PlayCommand, TheTableShowsEveryPlayerAsTheJsonOfTheSameRun) {
    ScratchDir dir;
    MakeGame(dir / "a.zvq", "21");
    const std::vector<std::string> args = {"--turns", "30", "--seed", "4", "--autopilot", "--check"};
    const RunResult table = Play(dir / "a.zvq", args);
    ASSERT_EQ(table.exitCode, 0) << table.err;
    std::vector<std::string> jsonArgs = args;
    jsonArgs.push_back("--json");
    const Json game = JsonOf(Play(dir / "a.zvq", jsonArgs));
    EXPECT_NE(table.out.find("turn 31"), std::string::npos) << table.out;

    const Json& players = game["players"];
    const auto rows = PlayerRows(table.out, players.size());
    ASSERT_EQ(rows.size(), players.size() + 1) << table.out;
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Player", "Colour", "Race", "Planets", "Ships", "Gold", "Power"}));
    long long power = 0;
    for (std::size_t i = 0; i < players.size(); ++i) {
        SCOPED_TRACE(table.out + "\nrow " + std::to_string(i + 1));
        const Json& p = players[i];
        const std::vector<std::string>& row = rows[i + 1];
        ASSERT_EQ(row.size(), 7u);
        EXPECT_EQ(row[1], Hex(p["colour"].integer()));
        EXPECT_EQ(row[2], p["raceName"].string);
        if (i + 1 == players.size()) {
            // The neutral player, last: what it holds on the map.
            const Counted held = CountOwned(game, static_cast<long long>(i + 1));
            EXPECT_EQ(row[0], "neutral");
            EXPECT_EQ(row[3], std::to_string(held.planets));
            EXPECT_EQ(row[4], std::to_string(held.ships));
            EXPECT_EQ(row[5], "-");
            EXPECT_EQ(row[6], "-");
            continue;
        }
        EXPECT_EQ(row[0], i == 0 ? "1 (you)" : std::to_string(i + 1));
        EXPECT_EQ(row[3], std::to_string(p["planetCount"].integer()));
        EXPECT_EQ(row[4], std::to_string(p["shipCount"].integer()));
        EXPECT_EQ(row[5], std::to_string(p["gold"].integer()));
        const long long expected =
            p["planetCount"].integer() * 1000 + p["shipCount"].integer() * 100 + p["gold"].integer();
        EXPECT_EQ(row[6], std::to_string(expected));
        power += expected;
    }
    EXPECT_GT(power, 0);
}

TEST(PlayCommand, TheCheckStopsAtABrokenGameAndNothingIsSaved) {
    ScratchDir dir;
    MakeGame(dir / "a.zvq");
    std::string bytes = ReadBytes(dir / "a.zvq");
    SetI32At(bytes, 4 + 12, 7);  // the human player claims seven ships
    WriteBytes(dir / "broken.zvq", bytes);

    const fs::path out = dir / "out.zvq";
    for (const char* json : {"", "--json"}) {
        std::vector<std::string> args = {"--turns", "5", "--check", "-o", out.string()};
        if (*json) args.push_back(json);
        const RunResult r = Play(dir / "broken.zvq", args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(Lines(r.err).size(), 1u) << r.err;
        EXPECT_NE(r.err.find("before turn 1: player 1 counts 7 ships but owns 0"), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(out));
    }
    // Unchecked, the same game plays.
    const RunResult unchecked = Play(dir / "broken.zvq", {"--turns", "5", "--seed", "1"});
    EXPECT_EQ(unchecked.exitCode, 0) << unchecked.err;
    EXPECT_NE(unchecked.out.find("turn 6"), std::string::npos) << unchecked.out;
}

TEST(PlayCommand, AfterTheHumanPlayerLosesTheOthersPlayOn) {
    ScratchDir dir;
    MakeGame(dir / "a.zvq");
    WriteBytes(dir / "lost.zvq", HumanWithNothing(ReadBytes(dir / "a.zvq")));

    const RunResult table = Play(dir / "lost.zvq", {"--turns", "6", "--seed", "2", "--check"});
    ASSERT_EQ(table.exitCode, 0) << table.err;
    EXPECT_NE(table.out.find("\nThe human player has lost (turn 1)"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("turn 7"), std::string::npos) << table.out;

    const Json game = JsonOf(Play(dir / "lost.zvq", {"--turns", "6", "--seed", "2", "--check", "--json"}));
    EXPECT_TRUE(game["gameOver"].boolean);
    EXPECT_EQ(game["turn"].integer(), 7);
    EXPECT_EQ(game["players"][0]["planetCount"].integer(), 0);
    long long computerPower = 0;
    for (std::size_t i = 1; i + 1 < game["players"].size(); ++i)
        computerPower += game["players"][i]["power"][6].integer();
    EXPECT_GT(computerPower, 0);  // recorded on the last turn: they went on

    // A game still won is not reported lost.
    const RunResult fine = Play(dir / "a.zvq", {"--turns", "6", "--seed", "2"});
    ASSERT_EQ(fine.exitCode, 0) << fine.err;
    EXPECT_EQ(fine.out.find("has lost"), std::string::npos) << fine.out;
}

TEST(PlayCommand, WrongUsageExitsWithTwoAndPointsToTheHelp) {
    ScratchDir dir;
    MakeGame(dir / "a.zvq");
    const std::string a = (dir / "a.zvq").string();
    const std::vector<std::vector<std::string>> cases = {
        {"play", a},
        {"play", a, "--turns"},
        {"play", a, "--turns", "-3"},
        {"play", a, "--turns", "ten"},
        {"play", a, "--turns", "2.5"},
        {"play", a, "--turns", ""},
        {"play", a, "--turns", "1000001"},
        {"play", a, "--turns", "99999999999"},
        {"play", a, "--turns", "3", "--seed", "-1"},
        {"play", a, "--turns", "3", "--seed", "4294967296"},
        {"play", "--turns", "3"},
        {"play", a, a, "--turns", "3"},
        {"play", a, "--turns", "3", "--fast"},
        {"new", "--turns", "-1"},
        {"new", "--turns", "x"},
    };
    for (const auto& args : cases) {
        std::string joined;
        for (const std::string& arg : args) joined += " " + arg;
        SCOPED_TRACE(joined);
        std::vector<std::string> withData = args;
        withData.insert(withData.end(), {"--data", kData, "-o", (dir / "x.zvq").string()});
        const RunResult r = RunCli(withData);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("Try 'quorvane-cli " + args[0] + " --help'."), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(dir / "x.zvq"));
    }
    // The help names every option.
    const RunResult help = RunCli({"play", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: quorvane-cli play FILE.zvq --turns N", 0), 0u) << help.out;
    for (const char* option : {"--seed", "--data", "-o, --output", "--json", "--autopilot", "--check"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
}

TEST(PlayCommand, ADamagedOrMissingFileIsRefusedNamingIt) {
    ScratchDir dir;
    MakeGame(dir / "a.zvq");
    const std::string good = ReadBytes(dir / "a.zvq");
    const std::vector<std::pair<std::string, std::string>> files = {
        {"empty.zvq", ""},
        {"cut.zvq", good.substr(0, good.size() / 2)},
        {"longer.zvq", good + "x"},
        {"no-such-race.zvq", [&] {
             std::string b = good;
             SetI32At(b, 4 + 20 + 16, 99);  // the second player's race
             return b;
         }()},
    };
    const fs::path out = dir / "out.zvq";
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        WriteBytes(dir / name, bytes);
        const RunResult r = Play(dir / name, {"--turns", "3", "-o", out.string()});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(Lines(r.err).size(), 1u) << r.err;
        EXPECT_NE(r.err.find(name), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(out));
    }
    const RunResult missing = Play(dir / "missing.zvq", {"--turns", "3"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("missing.zvq"), std::string::npos) << missing.err;

    // A turn counter no game reaches is refused when the file is read.
    std::string far = good;
    SetI32At(far, good.size() - 48 + 4 * 9, 2000000000);  // the turn, among the closing game values
    WriteBytes(dir / "far.zvq", far);
    EXPECT_EQ(RunCli({"dump", (dir / "far.zvq").string(), "--data", kData}).exitCode, 1);
    const RunResult farRun = Play(dir / "far.zvq", {"--turns", "1", "-o", out.string()});
    EXPECT_EQ(farRun.exitCode, 1);
    EXPECT_NE(farRun.err.find("2000000000"), std::string::npos) << farRun.err;
    EXPECT_FALSE(fs::exists(out));
}

// Runs the tool with standard error on a new pseudo-terminal (standard
// output to a file) and returns what the terminal received; false when the
// system has no pseudo-terminal to give.
bool TerminalErrorOf(const std::vector<std::string>& args, const fs::path& outFile, int& exitCode,
                     std::string& received) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) return false;
    if (grantpt(master) != 0 || unlockpt(master) != 0 || !ptsname(master)) {
        close(master);
        return false;
    }
    const std::string slave = ptsname(master);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, slave.c_str(), O_RDWR | O_NOCTTY, 0);
    posix_spawn_file_actions_addclose(&actions, master);
    std::vector<char*> argv = {const_cast<char*>(kCli.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, kCli.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        close(master);
        throw std::runtime_error("cannot run the tool");
    }
    // Read until the child's side closes (EIO) so it never blocks on a full
    // terminal buffer.
    char buffer[4096];
    for (;;) {
        pollfd fd{master, POLLIN, 0};
        if (poll(&fd, 1, 30000) <= 0) break;
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n > 0) {
            received.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            break;
        }
    }
    close(master);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) throw std::runtime_error("waitpid failed");
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
}

TEST(PlayCommand, AProgressBarIsShownOnlyOnATerminal) {
    ScratchDir dir;
    MakeGame(dir / "a.zvq");
    const std::vector<std::string> args = {"play", (dir / "a.zvq").string(), "--data", kData, "--turns", "30",
                                           "--seed", "3"};
    // Not a terminal: nothing at all.
    EXPECT_EQ(RunCli(args).err, "");

    int code = -1;
    std::string terminal;
    if (!TerminalErrorOf(args, dir / "out.txt", code, terminal)) GTEST_SKIP() << "no pseudo-terminal here";
    EXPECT_EQ(code, 0);
    EXPECT_NE(terminal.find("\rturn 1/30 [=>"), std::string::npos) << terminal;
    EXPECT_NE(terminal.find("\rturn 30/30 [" + std::string(30, '=') + "]"), std::string::npos) << terminal;
    // The bar is wiped at the end; the table went to standard output alone.
    ASSERT_FALSE(terminal.empty());
    EXPECT_EQ(terminal.back(), '\r');
    const std::string table = ReadBytes(dir / "out.txt");
    EXPECT_EQ(table, RunCli(args).out);
    EXPECT_EQ(table.find("turn 30/30"), std::string::npos);
}

}  // namespace
}  // namespace qv::clitest
