// quorvane-cli tournament and tournament merge: the options, and the report
// written to standard output and the files asked for. Every bad option
// value or file is bad input (exit code 1, one line saying why).
#include <QRegularExpression>
#include <QString>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/race_json.h"
#include "cli/tournament.h"
#include "model/globals.h"
#include "model/records.h"

namespace qv::cli {

namespace {

int WholeOption(const QCommandLineParser& args, const QString& name, int low, int high, int fallback) {
    if (!args.isSet(name)) return fallback;
    const QString text = args.value(name);
    bool digits = !text.isEmpty() && text.size() <= 9;
    for (const QChar c : text) digits = digits && c >= u'0' && c <= u'9';
    const int value = digits ? text.toInt() : -1;
    if (value < low || value > high)
        throw Failure(("--" + name + ": '" + text + "' is not a whole number from " + QString::number(low) + " to " +
                       QString::number(high))
                          .toStdString());
    return value;
}

double TimeoutOption(const QCommandLineParser& args) {
    if (!args.isSet("match-timeout")) return 0;
    const QString text = args.value("match-timeout");
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || seconds <= 0 || seconds > 1e6)
        throw Failure(
            ("--match-timeout: '" + text + "' is not a number of seconds above 0 (up to 1000000)").toStdString());
    return seconds;
}

// --shard I/N: the matches i with i mod N = I.
void ShardOption(const QCommandLineParser& args, RunnerOptions& options) {
    if (!args.isSet("shard")) return;
    const QString text = args.value("shard");
    const QRegularExpressionMatch m = QRegularExpression("^(\\d{1,9})/(\\d{1,9})$").match(text);
    const int index = m.hasMatch() ? m.captured(1).toInt() : -1;
    const int count = m.hasMatch() ? m.captured(2).toInt() : 0;
    if (count < 1 || index < 0 || index >= count)
        throw Failure(("--shard: '" + text + "' is not I/N with N at least 1 and I from 0 to N - 1").toStdString());
    options.shardIndex = index;
    options.shardCount = count;
}

void CheckFormats(const QCommandLineParser& args) {
    if (args.isSet("json") && args.isSet("csv")) throw Failure("--json and --csv cannot be given together");
}

// The report on standard output (text, JSON or CSV), the JSON in -o, the
// graph in --plot; then a line and exit code 1 when matches failed.
int Report(const QCommandLineParser& args, const TournamentResults& results) {
    const std::string out = args.isSet("json")  ? ReportJson(results)
                            : args.isSet("csv") ? ReportCsv(results)
                                                : ReportText(results);
    if (args.isSet("output")) {
        const std::string json = ReportJson(results);
        WriteFileAtomically(args.value("output"), std::vector<std::uint8_t>(json.begin(), json.end()));
    }
    if (args.isSet("plot")) WriteFileAtomically(args.value("plot"), ReportPlot(results));
    WriteOut(out);
    std::string failed;
    int count = 0;
    for (const MatchResult& m : results.matches)
        if (!m.ok() && ++count <= 5)
            failed += (failed.empty() ? "" : ", ") + std::string("match ") + std::to_string(m.match) + " (seed " +
                      std::to_string(m.seed) + ")";
    if (count)
        throw Failure(std::to_string(count) + " of " + std::to_string(results.matches.size()) +
                      " matches failed: " + failed + (count > 5 ? ", ..." : "") + "; the report leaves them out");
    return kExitOk;
}

}  // namespace

int RunTournament(const QCommandLineParser& args) {
    TournamentSetup setup;
    RunnerOptions runner;
    try {
        setup.matches = WholeOption(args, "matches", 1, kMaxTournamentMatches, setup.matches);
        setup.turns = WholeOption(args, "turns", 1, kMaxTournamentTurns, setup.turns);
        setup.seed = SeedOption(args).value_or(1);
        setup.game = NewGameChoice(args);
        runner.jobs = WholeOption(args, "jobs", 1, 4096, ProcessorCount());
        runner.matchTimeout = TimeoutOption(args);
        ShardOption(args, runner);
        CheckFormats(args);
    } catch (const UsageError& e) {
        throw Failure(e.what());  // a bad value, not a bad command line
    }
    GameScope scope;
    const std::filesystem::path dir = StartWithRaces(args);
    setup.game.raceOption = RaceOption(args, dir);
    for (const Race* r = g_races; r; r = r->next) setup.races.push_back(TextAsUtf8(r->name));
    setup.fingerprint = RaceFingerprint(dir);
    return Report(args, RunTournamentMatches(setup, runner));
}

int RunTournamentMerge(const QCommandLineParser& args) {
    CheckFormats(args);
    std::vector<QString> names;
    std::vector<TournamentResults> shards;
    for (const QString& name : args.positionalArguments()) {
        names.push_back(name);
        shards.push_back(ReadResultsFile(name));
    }
    return Report(args, MergeResults(shards, names));
}

}  // namespace qv::cli
