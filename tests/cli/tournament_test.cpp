// quorvane-cli tournament on a data folder of two crafted races: Mighty, plainly the stronger, and Feeble.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../support/temp_folder.h"
#include "tool_run.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using testsupport::TempFolder;
using Args = std::vector<std::string>;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The tool with args; env is put before it ("NAME=value ...").
ToolRun Tool(const Args& args, const std::string& env = "") { return RunTool(args, env); }

QJsonObject Json(const std::string& text) { return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object(); }

class Tournament : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* picture : {"compact_mule.bmp", "compact_lancer.bmp"})
            fs::copy_file(fs::path(QUORVANE_DATA_OUT) / picture, data / picture);
        for (const std::string race : {"mighty", "feeble"}) {
            const Args build = {"race", "build", QUORVANE_TEST_FIXTURES "/tournament/" + race + ".json", "-o",
                                (data / (race + ".race")).string()};
            ASSERT_EQ(Tool(build).exitCode, 0);
        }
    }

    // A tournament of nine small games on the folder, or with "new" a game as its matches are. Feeble leads
    // player 1, who moves first: the seat is not what wins.
    Args Run(Args more, const std::string& command = "tournament") const {
        Args args = {command, "--data", data.path().string(), "--worlds", "few", "--size", "tiny", "--ai", "few"};
        args.insert(args.end(), {"--race", "Feeble", "--turns", "30"});
        if (command == "tournament") args.insert(args.end(), {"--seed", "51", "--matches", "9"});
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }

    TempFolder data, out;
};

// The same report at 1 and 3 jobs (match 0 finishing last) and merged from shards, refusing shards that do not
// belong together; the stronger race wins; each match is the game "new --seed --autopilot" plays, won by the rules.
TEST_F(Tournament, SameReportWhateverTheJobsAndShardsAndEachMatchIsTheGameNewPlays) {
    const std::string full = (out / "full.json").string();
    const ToolRun one = Tool(Run({"--jobs", "1", "-o", full, "--plot", (out / "power.png").string()}));
    ASSERT_EQ(one.exitCode, 0) << one.err;
    EXPECT_EQ(one.err, "");
    EXPECT_EQ(Tool(Run({"--jobs", "3", "--json"}), "QUORVANE_TOURNAMENT_TEST_FAULT=slow:51").out, ReadText(full));
    Args merge = {"tournament", "merge"};
    for (const std::string shard : {"0", "1", "2"}) {
        merge.push_back((out / (shard + ".json")).string());
        ASSERT_EQ(Tool(Run({"--shard", shard + "/3", "--jobs", "2", "-o", merge.back()})).exitCode, 0);
    }
    const ToolRun merged = Tool(merge);
    EXPECT_EQ(merged.exitCode, 0) << merged.err;
    EXPECT_EQ(merged.out, one.out);
    merge.push_back("--json");
    EXPECT_EQ(Tool(merge).out, ReadText(full));
    merge.back() = "--csv";
    EXPECT_EQ(Tool(merge).out, Tool(Run({"--csv"})).out);
    // The graph is 470 pixels wide as the Statistics dialog (the PNG header's width).
    EXPECT_EQ(ReadText(out / "power.png").substr(16, 4), std::string("\0\0\x01\xd6", 4));

    // The stronger race wins clearly more often.
    const QJsonArray summary = Json(ReadText(full))["summary"].toArray();
    const QJsonValue mighty = summary[0], feeble = summary[1];
    ASSERT_EQ(mighty["race"].toString(), "Mighty");  // the last file name heads the list
    EXPECT_EQ(feeble["matches"].toInt(), 9);
    EXPECT_GE(mighty["matches"].toInt(), 5);
    EXPECT_GE(mighty["winRate"].toDouble(), 0.9);
    EXPECT_GT(mighty["winRate"].toDouble(), feeble["winRate"].toDouble() + 0.3);
    EXPECT_GT(feeble["eliminatedRate"].toDouble(), mighty["eliminatedRate"].toDouble());
    const QJsonArray results = Json(ReadText(full))["results"].toArray();
    ASSERT_EQ(results.size(), 9);
    int wentAllTurns = 0, endedEarly = 0;
    for (const QJsonValue match : results) {
        SCOPED_TRACE("match " + std::to_string(match["match"].toInt()));
        EXPECT_EQ(match["seed"].toInt(), 51 + match["match"].toInt());
        // The last one standing wins, else the most power among those standing (or all); a tie shares the win.
        const QJsonArray players = match["players"].toArray();
        int standing = 0, winners = 0;
        for (const QJsonValue p : players) standing += !p["eliminated"].toBool();
        const auto power = [&](const QJsonValue& p) {
            return standing && p["eliminated"].toBool() ? LLONG_MIN : p["power"].toInteger();
        };
        qint64 best = LLONG_MIN;
        for (const QJsonValue p : players) best = std::max(best, power(p));
        for (const QJsonValue p : players) winners += power(p) == best;
        for (const QJsonValue p : players) EXPECT_NEAR(p["win"].toDouble(), power(p) == best ? 1.0 / winners : 0, 1e-4);
        if (match["turns"].toInt() < 30) {
            EXPECT_LE(standing, 1) << "a match stopped while players were left";
            ++endedEarly;
        } else if (!wentAllTurns++) {  // the first that went all its turns, played again by "new"
            const Args replay = Run({"--seed", std::to_string(match["seed"].toInt()), "--autopilot", "--json"}, "new");
            const QJsonArray again = Json(Tool(replay).out)["players"].toArray();
            ASSERT_EQ(again.size(), players.size() + 1);  // and the neutral player
            for (qsizetype i = 0; i < players.size(); ++i)
                for (const auto& [here, there] :
                     {std::pair{"planets", "planetCount"}, std::pair{"ships", "shipCount"}, std::pair{"gold", "gold"}})
                    EXPECT_EQ(players[i][here].toInteger(), again[i][there].toInteger()) << "player " << i + 1 << here;
        }
    }
    EXPECT_GT(wentAllTurns, 0);
    EXPECT_GT(endedEarly, 0);  // Mighty wipes Feeble out: those matches stop with one player left

    const std::string a = merge[2], seed = (out / "seed.json").string(), races = (out / "races.json").string();
    ASSERT_EQ(Tool(Run({"--shard", "0/3", "--seed", "52", "-o", seed})).exitCode, 0);
    std::ofstream(data / "feeble.race", std::ios::app) << "x";  // the same names, other bytes
    ASSERT_EQ(Tool(Run({"--shard", "0/3", "-o", races})).exitCode, 0);
    std::ofstream(out / "not.json") << "{\"matches\": 9}";
    const std::pair<Args, std::string> refused[] = {
        {Run({"--worlds", "many"}), "--worlds: unknown value 'many'"},
        {Run({"--shard", "3/2"}), "--shard: '3/2' is not I/N"},
        {Run({"--jobs", "0"}), "--jobs: '0' is not a whole number"},
        {Run({"--match-timeout", "soon"}), "--match-timeout: 'soon'"},
        {Run({"--json", "--csv"}), "cannot be given together"},
        {{"tournament", "merge", a, seed}, "are results of different options"},
        {{"tournament", "merge", a, races}, "are results of different races"},
        {{"tournament", "merge", a, a}, "match 0 is in both"},
        {{"tournament", "merge", a}, "the files hold 3 of the 9 matches (match 1 is missing)"},
        {{"tournament", "merge", (out / "not.json").string()}, "not the results of a tournament"},
    };
    for (const auto& [args, says] : refused) {
        const ToolRun run = Tool(args);
        EXPECT_EQ(run.exitCode, 1) << says;
        EXPECT_EQ(run.out, "") << says;
        EXPECT_NE(run.err.find(says), std::string::npos) << run.err;
    }
}

TEST_F(Tournament, CrashedAndHungMatchesAreReportedWithTheirSeedsWhileTheOthersFinish) {
    const std::string file = (out / "r.json").string();
    const ToolRun run = Tool(Run({"--jobs", "3", "--match-timeout", "2", "-o", file}),
                             "QUORVANE_TOURNAMENT_TEST_FAULT=abort:53,hang:56");
    EXPECT_EQ(run.exitCode, 1);
    for (const char* line :
         {"match 2, seed 53: crashed (signal 6", "match 5, seed 56: timed out after 2 s", "7 of 9 matches played"})
        EXPECT_NE(run.out.find(line), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("2 of 9 matches failed: match 2 (seed 53), match 5 (seed 56)"), std::string::npos)
        << run.err;
    EXPECT_EQ(Json(ReadText(file))["results"].toArray().size(), 7);
    EXPECT_EQ(Json(ReadText(file))["failures"].toArray().size(), 2);
}

}  // namespace
}  // namespace qv
