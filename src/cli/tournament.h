// The tournament: a balance lab for race authors. Match i of a tournament is
// the game "new --seed S+i" makes with the tournament's New Game options,
// every player on autopilot (your side too, as "--autopilot" plays it), for
// T turns or until one player is left. The matches run in worker
// processes; the results of the matches, and so the report, depend only on
// the options, the seed and the race files.
//
//   tournament_runner.cpp  playing the matches: J worker processes forked
//                          once the races are loaded, a deadline per match;
//                          a progress bar
//   tournament_report.cpp  the report from the results: text, JSON (which
//                          keeps what a merge needs), CSV, the power graph
//   tournament_command.cpp the commands "tournament" and "tournament merge"
#pragma once

#include <QString>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "model/globals.h"

namespace qv::cli {

// The most matches, and turns a match, of a tournament.
inline constexpr int kMaxTournamentMatches = 10000000;
inline constexpr int kMaxTournamentTurns = 100000;

// What decides a tournament's results.
struct TournamentSetup {
    int matches = 100;
    int turns = 200;
    std::uint32_t seed = 1;          // match i is seeded with seed + i (modulo 2^32)
    NewGameOptions game;             // the six lists and the race of player 1
    std::vector<std::string> races;  // the loaded races' names (as text), in list order
    std::string fingerprint;         // of the race files, see RaceFingerprint

    bool operator==(const TournamentSetup& other) const;
};

// One player at the end of a match (the neutral player is left out).
struct PlayerResult {
    int race = 0;  // 1-based position in TournamentSetup::races
    std::int64_t planets = 0;
    std::int64_t ships = 0;
    std::int64_t gold = 0;
    std::int64_t power = 0;   // planets x 1000 + ships x 100 + gold
    bool eliminated = false;  // no planet and no ship left
};

struct MatchResult {
    int match = 0;  // 0-based
    std::uint32_t seed = 0;
    int turns = 0;                      // turns played
    std::vector<PlayerResult> players;  // player 1 (your side) first
    // Every player's power after each turn played (the game's power history
    // of turns 1 .. turns); only while the results travel from a match's
    // worker, the files keep the sums of TournamentResults.
    std::vector<std::vector<std::int32_t>> history;
    std::string failure;  // empty for a match played to its end, else what happened

    bool ok() const { return failure.empty(); }
};

struct TournamentResults {
    TournamentSetup setup;
    int shardIndex = 0;
    int shardCount = 1;
    std::vector<MatchResult> matches;  // in match order, failed ones too
    // Per race, per turn 1 .. T: the summed power of the race's players in
    // the matches played to their end, a player's last power standing for
    // the turns after its match ended. Integer sums, so that shards add up
    // exactly.
    std::vector<std::vector<std::int64_t>> powerSums;

    // Adds a match played to its end to powerSums (its history is then
    // dropped) and keeps it in matches.
    void add(MatchResult match);
};

// Shares of a win: the last player standing wins; else the players with the
// highest power at the end among those not eliminated (among all when every
// one was) share the win equally. One entry per player.
std::vector<double> WinShares(const MatchResult& match);

// FNV-1a (64 bits) of the names and bytes of the "*.race" files of dir in
// file name order, as 16 hexadecimal digits.
std::string RaceFingerprint(const std::filesystem::path& dir);

// ---- tournament_runner.cpp ----

struct RunnerOptions {
    int jobs = 1;
    double matchTimeout = 0;  // seconds, 0 for none
    int shardIndex = 0;
    int shardCount = 1;
};

// The number of processors this process may run on: --jobs without a value.
int ProcessorCount();

// Plays the matches of the shard with the races loaded, in options.jobs
// worker processes forked from this one; a progress bar goes to standard
// error when it is a terminal. A match whose worker crashes, fails or runs
// past the time-out is kept with its failure and the others go on.
TournamentResults RunTournamentMatches(const TournamentSetup& setup, const RunnerOptions& options);

// The env variable that makes the matches of the named seeds fail, to show
// how failures are reported: "abort:SEED,hang:SEED,slow:SEED,..." (slow: the
// match ends 0.3 s late, after matches started later).
inline constexpr char kTournamentFaultVariable[] = "QUORVANE_TOURNAMENT_TEST_FAULT";

// ---- tournament_report.cpp ----

std::string ReportText(const TournamentResults& results);
std::string ReportJson(const TournamentResults& results);
std::string ReportCsv(const TournamentResults& results);
// The PNG picture of every race's mean power over the turns.
std::vector<std::uint8_t> ReportPlot(const TournamentResults& results);

// A match's result as one line of JSON, with its history (what a match's
// worker sends), and read back; ReadMatchLine throws Failure when the text
// is not such a line.
std::string MatchLine(const MatchResult& match);
MatchResult ReadMatchLine(const std::string& text, const TournamentSetup& setup);

// The results a ReportJson file holds; throws Failure naming the file and
// what is wrong with it.
TournamentResults ReadResultsFile(const QString& path);

// The results of several shards of one tournament as one run gives them;
// throws Failure when they are not of the same options and races, or
// overlap, or miss matches.
TournamentResults MergeResults(const std::vector<TournamentResults>& shards, const std::vector<QString>& names);

}  // namespace qv::cli
