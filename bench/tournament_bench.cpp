// quorvane-cli tournament on the shipped races with the New Game dialog's
// start values, 200 turns a match, seeds 1 .. 16:
//
// - TournamentAtJobs/jobs:1 and /jobs:2: the whole command (its start, the
//   race loading, the matches in their forked processes, the report);
//   items per second are matches per second.
// - TwoJobsAgainstOne: the same two runs, of seeds 1 .. 96, taken in turn
//   in every iteration, so that both see the same load on a shared machine;
//   "speedUp" is the time at 1 job over the time at 2 jobs. (With 16 matches
//   the start of the command and the last match, played alone, weigh a
//   tenth of the run.)
// - MatchInThisProcess: what a match itself costs, generation and turns
//   played in this process with the tournament's rule (200 turns or until
//   one player is left), no process and no result.
// - OverheadPerMatch: a tournament of matches 0 .. 19 less one of 0 .. 3
//   at 1 job is what matches 4 .. 19 cost inside the command; less their
//   cost in this process it is the overhead beside the matches (the fork,
//   the result line written, read and added up). "overheadPercent" is that
//   overhead over the matches' own time; the command's start and race
//   loading are paid once per run and cancel out in the difference.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "model/globals.h"
#include "model/new_game.h"
#include "model/platform.h"
#include "turn/end_turn.h"

extern char** environ;

namespace {

const std::filesystem::path kData = QUORVANE_DATA_OUT;
constexpr int kTurns = 200;
constexpr int kMatches = 16;
constexpr int kSpeedUpMatches = 96;

class QuietPlatform : public qv::HeadlessPlatform {
public:
    void playCue(const std::string&) override {}
    void messageBox(const std::string&) override {}
};

struct Timing {
    double real = -1;  // seconds on the clock; negative when the tool failed
    double cpu = 0;    // seconds of processor time, the tool's and its match processes'
};

double CpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A tournament of `matches` from seed 1 by the tool, its output thrown away.
Timing Tournament(int matches, int jobs) {
    std::vector<std::string> args = {QUORVANE_CLI, "tournament",           "--data",    kData.string(),
                                     "--turns",    std::to_string(kTurns), "--matches", std::to_string(matches),
                                     "--jobs",     std::to_string(jobs)};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const double cpuBefore = CpuSeconds(RUSAGE_CHILDREN);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (error != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            CpuSeconds(RUSAGE_CHILDREN) - cpuBefore};
}

int PlayersLeft() {
    int left = 0;
    for (const qv::Player* p = qv::g_players; p && (p->next || p == qv::g_players); p = p->next)
        left += p->planetCount > 0 || p->shipCount > 0;
    return left;
}

// Matches first .. last (0-based, seed = match + 1) played here.
Timing MatchesHere(int first, int last) {
    const double cpuBefore = CpuSeconds(RUSAGE_SELF);
    const auto start = std::chrono::steady_clock::now();
    for (int match = first; match <= last; ++match) {
        qv::NewGameOptions document;
        if (!qv::StartNewGame(document, qv::NewGameOptions{}, static_cast<std::uint32_t>(match + 1))) return {};
        for (int turn = 0; turn < kTurns && PlayersLeft() > 1; ++turn) qv::OnEndTurn(true);
        benchmark::DoNotOptimize(qv::g_turn);
    }
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            CpuSeconds(RUSAGE_SELF) - cpuBefore};
}

void TournamentAtJobs(benchmark::State& state) {
    for (auto _ : state)
        if (Tournament(kMatches, static_cast<int>(state.range(0))).real < 0) {
            state.SkipWithError("quorvane-cli tournament failed");
            break;
        }
    state.SetItemsProcessed(state.iterations() * kMatches);
}
BENCHMARK(TournamentAtJobs)->ArgName("jobs")->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

void TwoJobsAgainstOne(benchmark::State& state) {
    double one = 0, two = 0;
    for (auto _ : state) {
        const double a = Tournament(kSpeedUpMatches, 1).real, b = Tournament(kSpeedUpMatches, 2).real;
        if (a < 0 || b < 0) {
            state.SkipWithError("quorvane-cli tournament failed");
            break;
        }
        one += a;
        two += b;
    }
    if (two > 0) state.counters["speedUp"] = one / two;
}
BENCHMARK(TwoJobsAgainstOne)->UseRealTime()->Unit(benchmark::kMillisecond);

// Runs body with the shipped races loaded in this process.
template <typename Body>
void WithRaces(benchmark::State& state, Body body) {
    QuietPlatform quiet;
    qv::SetPlatform(&quiet);
    qv::ResetGlobals();
    if (qv::StartUp(kData) && qv::g_races) body();
    else state.SkipWithError("no race loaded from the data folder");
    qv::ResetGlobals();
    qv::SetPlatform(nullptr);
}

void MatchInThisProcess(benchmark::State& state) {
    WithRaces(state, [&] {
        int match = 0;
        for (auto _ : state) {
            MatchesHere(match, match);
            match = (match + 1) % kMatches;
        }
        state.SetItemsProcessed(state.iterations());
    });
}
BENCHMARK(MatchInThisProcess)->Unit(benchmark::kMillisecond);

void OverheadPerMatch(benchmark::State& state) {
    WithRaces(state, [&] {
        Timing inCommand{0, 0}, here{0, 0};
        for (auto _ : state) {
            const Timing small = Tournament(4, 1), large = Tournament(20, 1), played = MatchesHere(4, 19);
            if (small.real < 0 || large.real < 0 || played.real < 0) {
                state.SkipWithError("a tournament or a match failed");
                return;
            }
            inCommand.real += large.real - small.real;
            inCommand.cpu += large.cpu - small.cpu;
            here.real += played.real;
            here.cpu += played.cpu;
        }
        if (here.real <= 0 || here.cpu <= 0) return;
        const double n = 16.0 * static_cast<double>(state.iterations());
        state.counters["matchMs"] = here.real / n * 1000;
        state.counters["overheadMs"] = (inCommand.real - here.real) / n * 1000;
        state.counters["overheadPercent"] = 100 * (inCommand.real - here.real) / here.real;
        state.counters["matchCpuMs"] = here.cpu / n * 1000;
        state.counters["overheadCpuMs"] = (inCommand.cpu - here.cpu) / n * 1000;
        state.counters["overheadCpuPercent"] = 100 * (inCommand.cpu - here.cpu) / here.cpu;
    });
}
BENCHMARK(OverheadPerMatch)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
