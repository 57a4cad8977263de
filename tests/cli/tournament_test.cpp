// quorvane-cli tournament on a data folder of two crafted races (Mighty,
// plainly the stronger, and Feeble): the report does not depend on --jobs or
// on the sharding, a match is the game "new --seed --turns --autopilot"
// plays, the stronger race wins, failed matches are reported with their
// seeds while the others finish, and bad input is refused.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <sys/wait.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../support/temp_folder.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using testsupport::TempFolder;

const fs::path kDataOut = QUORVANE_DATA_OUT;
const fs::path kSources = fs::path(QUORVANE_TEST_FIXTURES) / "tournament";

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct ToolRun {
    int exitCode;
    std::string out, err;
};

// The tool with args; env is put before it ("NAME=value ...").
ToolRun Tool(const std::vector<std::string>& args, const std::string& env = "") {
    TempFolder io;
    std::string command = "exec env -u QUORVANE_DATA_DIR " + env + " '" QUORVANE_CLI "'";
    for (const std::string& a : args) command += " '" + a + "'";
    FILE* pipe = popen((command + " </dev/null 2>'" + (io / "err").string() + "'").c_str(), "r");
    std::string out;
    char buffer[4096];
    for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    const int status = pipe ? pclose(pipe) : -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, ReadText(io / "err")};
}

QJsonObject Json(const std::string& text) { return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object(); }

// A data folder with the two races, built from their sources.
class Tournament : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* picture : {"compact_mule.bmp", "compact_lancer.bmp"})
            fs::copy_file(kDataOut / picture, data / picture);
        for (const char* race : {"mighty", "feeble"})
            ASSERT_EQ(Tool({"race", "build", (kSources / (std::string(race) + ".json")).string(), "-o",
                            (data / (std::string(race) + ".race")).string()})
                          .exitCode,
                      0);
    }

    // A tournament of small games on the folder, with more options.
    std::vector<std::string> Args(std::vector<std::string> more) const {
        std::vector<std::string> args = {"tournament", "--data",    data.path().string(),
                                         "--worlds",   "few",       "--size",
                                         "tiny",       "--ai",      "few",
                                         "--turns",    "30",        "--seed",
                                         "51",         "--matches", "9"};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }

    TempFolder data, out;
};

TEST_F(Tournament, SameReportWhateverTheJobsAndShardsAndEachMatchIsTheGameNewPlays) {
    const std::string full = (out / "full.json").string();
    const ToolRun one = Tool(Args({"--jobs", "1", "-o", full, "--plot", (out / "power.png").string()}));
    ASSERT_EQ(one.exitCode, 0) << one.err;
    EXPECT_EQ(one.err, "");
    // Match 0 finishing last changes nothing.
    const ToolRun three = Tool(Args({"--jobs", "3", "--json"}), "QUORVANE_TOURNAMENT_TEST_FAULT=slow:51");
    EXPECT_EQ(three.out, ReadText(full));
    std::vector<std::string> merge = {"tournament", "merge"};
    for (const char* shard : {"0/3", "1/3", "2/3"}) {
        merge.push_back((out / (std::string(1, shard[0]) + ".json")).string());
        ASSERT_EQ(Tool(Args({"--shard", shard, "--jobs", "2", "-o", merge.back()})).exitCode, 0);
    }
    const ToolRun merged = Tool(merge);
    EXPECT_EQ(merged.exitCode, 0) << merged.err;
    EXPECT_EQ(merged.out, one.out);
    merge.push_back("--json");
    EXPECT_EQ(Tool(merge).out, ReadText(full));
    merge.back() = "--csv";
    EXPECT_EQ(Tool(merge).out, Tool(Args({"--csv"})).out);
    // The graph, 470 pixels wide as the Statistics dialog (the PNG header's width).
    EXPECT_EQ(ReadText(out / "power.png").substr(16, 4), std::string("\0\0\x01\xd6", 4));

    const QJsonArray results = Json(ReadText(full)).value("results").toArray();
    ASSERT_EQ(results.size(), 9);
    int wentAllTurns = 0, endedEarly = 0;
    for (const QJsonValue& r : results) {
        const QJsonObject match = r.toObject();
        EXPECT_EQ(match.value("seed").toInt(), 51 + match.value("match").toInt());
        // The last player standing wins, else the highest power among the
        // players standing (among all when none is); a tie shares the win.
        const QJsonArray players = match.value("players").toArray();
        int standing = 0;
        for (const QJsonValue& p : players) standing += !p.toObject().value("eliminated").toBool();
        const auto counts = [&](const QJsonValue& p) {
            return !standing || !p.toObject().value("eliminated").toBool();
        };
        qint64 best = LLONG_MIN;
        for (const QJsonValue& p : players)
            if (counts(p)) best = std::max(best, p.toObject().value("power").toInteger());
        int winners = 0;
        for (const QJsonValue& p : players) winners += counts(p) && p.toObject().value("power").toInteger() == best;
        for (const QJsonValue& p : players)
            EXPECT_NEAR(p.toObject().value("win").toDouble(),
                        counts(p) && p.toObject().value("power").toInteger() == best ? 1.0 / winners : 0.0, 1e-4)
                << "match " << match.value("match").toInt();
        const int turns = match.value("turns").toInt();
        if (turns < 30) {
            EXPECT_LE(standing, 1) << "a match stopped while players were left";
            ++endedEarly;
            continue;
        }
        if (wentAllTurns++) continue;
        // The first match that went all its turns, played again by "new".
        const QJsonArray replayed =
            Json(Tool({"new", "--data", data.path().string(), "--worlds", "few", "--size", "tiny", "--ai", "few",
                       "--seed", std::to_string(match.value("seed").toInt()), "--turns", "30", "--autopilot", "--json"})
                     .out)
                .value("players")
                .toArray();
        ASSERT_EQ(replayed.size(), players.size() + 1);  // and the neutral player
        for (qsizetype i = 0; i < players.size(); ++i)
            for (const char* key : {"planets:planetCount", "ships:shipCount", "gold:gold"}) {
                const std::string pair = key;
                const QString here = QString::fromStdString(pair.substr(0, pair.find(':')));
                const QString there = QString::fromStdString(pair.substr(pair.find(':') + 1));
                EXPECT_EQ(players[i].toObject().value(here).toInteger(),
                          replayed[i].toObject().value(there).toInteger())
                    << "match " << match.value("match").toInt() << " player " << i + 1 << " " << pair;
            }
    }
    EXPECT_GT(wentAllTurns, 0);
    EXPECT_GT(endedEarly, 0);  // Mighty wipes Feeble out: those matches stop with one player left
}

TEST_F(Tournament, TheStrongerRaceWinsClearlyMoreOften) {
    // Feeble leads player 1, who moves first: the seat is not what wins.
    const ToolRun run = Tool(Args({"--matches", "16", "--race", "Feeble", "--json"}));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QJsonArray summary = Json(run.out).value("summary").toArray();
    ASSERT_EQ(summary.size(), 2);
    const QJsonObject mighty = summary[0].toObject(), feeble = summary[1].toObject();
    ASSERT_EQ(mighty.value("race").toString(), "Mighty");  // the last file name heads the list
    EXPECT_EQ(feeble.value("matches").toInt(), 16);
    EXPECT_GE(mighty.value("matches").toInt(), 5);
    EXPECT_GE(mighty.value("winRate").toDouble(), 0.9);
    EXPECT_GT(mighty.value("winRate").toDouble(), feeble.value("winRate").toDouble() + 0.3);
    EXPECT_GT(feeble.value("eliminatedRate").toDouble(), mighty.value("eliminatedRate").toDouble());
}

TEST_F(Tournament, CrashedAndHungMatchesAreReportedWithTheirSeedsWhileTheOthersFinish) {
    const std::string file = (out / "r.json").string();
    const ToolRun run = Tool(Args({"--jobs", "3", "--match-timeout", "2", "-o", file}),
                             "QUORVANE_TOURNAMENT_TEST_FAULT=abort:53,hang:56");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("match 2, seed 53: crashed (signal 6"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("match 5, seed 56: timed out after 2 s"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("7 of 9 matches played"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("2 of 9 matches failed: match 2 (seed 53), match 5 (seed 56)"), std::string::npos)
        << run.err;
    const QJsonObject json = Json(ReadText(file));
    EXPECT_EQ(json.value("results").toArray().size(), 7);
    EXPECT_EQ(json.value("failures").toArray().size(), 2);
}

TEST_F(Tournament, BadInputIsRefusedWithExitCode1) {
    const auto shard = [&](const std::string& name, std::vector<std::string> more) {
        more.insert(more.end(), {"--shard", "0/2", "-o", (out / name).string()});
        EXPECT_EQ(Tool(Args(more)).exitCode, 0) << name;
        return (out / name).string();
    };
    const std::string a = shard("a.json", {}), seed = shard("seed.json", {"--seed", "52"});
    std::ofstream(data / "feeble.race", std::ios::app) << "x";  // the same names, other bytes
    const std::string races = shard("races.json", {});
    std::ofstream(out / "not.json") << "{\"matches\": 9}";
    const struct {
        std::vector<std::string> args;
        std::string says;
    } cases[] = {
        {Args({"--worlds", "many"}), "--worlds: unknown value 'many'"},
        {Args({"--shard", "3/2"}), "--shard: '3/2' is not I/N"},
        {Args({"--jobs", "0"}), "--jobs: '0' is not a whole number"},
        {Args({"--match-timeout", "soon"}), "--match-timeout: 'soon'"},
        {Args({"--json", "--csv"}), "cannot be given together"},
        {{"tournament", "merge", a, seed}, "are results of different options"},
        {{"tournament", "merge", a, races}, "are results of different races"},
        {{"tournament", "merge", a, a}, "match 0 is in both"},
        {{"tournament", "merge", a}, "the files hold 5 of the 9 matches (match 1 is missing)"},
        {{"tournament", "merge", (out / "not.json").string()}, "not the results of a tournament"},
    };
    for (const auto& c : cases) {
        const ToolRun run = Tool(c.args);
        EXPECT_EQ(run.exitCode, 1) << c.says;
        EXPECT_EQ(run.out, "") << c.says;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace qv
