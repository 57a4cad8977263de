// Playing a tournament's matches in J worker processes forked from the tool
// once the races are loaded, so that a match costs neither a start of the
// program nor a load of the races. A worker is given match numbers one at a
// time on a pipe; it plays each as "new --seed S+i --turns T --autopilot"
// does (generating the game anew, as File > New does in the game), stopping
// early when one player is left, and writes the result as one line of JSON
// to a second pipe; its standard output and error go to a third, whose last
// line explains a failure. A worker that crashes takes only its match with
// it, one past its match's deadline is killed, and a new worker takes over.
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <exception>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/progress_bar.h"
#include "cli/tournament.h"
#include "model/globals.h"
#include "model/new_game.h"
#include "model/platform.h"
#include "model/records.h"
#include "turn/end_turn.h"

namespace qv::cli {

namespace {

using Clock = std::chrono::steady_clock;

bool IsNeutral(const Player* p) { return !p->next && p != g_players; }

int PlayersLeft() {
    int left = 0;
    for (const Player* p = g_players; p; p = p->next)
        if (!IsNeutral(p) && (p->planetCount > 0 || p->shipCount > 0)) ++left;
    return left;
}

// The test hook: "abort:SEED" ends the match's process with abort(), "hang:SEED"
// makes it wait for ever, "slow:SEED" makes it finish 0.3 s late.
void ActOnTestFault(std::uint32_t seed) {
    const char* value = std::getenv(kTournamentFaultVariable);
    if (!value) return;
    const std::string list = value;
    std::size_t at = 0;
    while (at <= list.size()) {
        const std::size_t comma = std::min(list.find(',', at), list.size());
        const std::string item = list.substr(at, comma - at);
        const std::size_t colon = item.find(':');
        if (colon != std::string::npos && item.substr(colon + 1) == std::to_string(seed)) {
            if (item.compare(0, colon, "abort") == 0) std::abort();
            if (item.compare(0, colon, "hang") == 0)
                for (;;) pause();
            if (item.compare(0, colon, "slow") == 0) usleep(300000);
        }
        at = comma + 1;
    }
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Plays one match in this process and gives its result.
MatchResult PlayMatch(const TournamentSetup& setup, int match) {
    MatchResult result;
    result.match = match;
    result.seed = setup.seed + static_cast<std::uint32_t>(match);
    ActOnTestFault(result.seed);
    NewGameOptions documentOptions;
    if (!StartNewGame(documentOptions, setup.game, result.seed)) throw Failure("the game could not be generated");
    // End Turn with every side on autopilot, as "new --turns --autopilot"
    // plays it; the turns are well below the power history's bound.
    while (result.turns < setup.turns && PlayersLeft() > 1) {
        OnEndTurn(true);
        ++result.turns;
    }
    for (const Player* p = g_players; p; p = p->next) {
        if (IsNeutral(p)) continue;
        int race = 1;
        for (const Race* r = g_races; r && r != p->race; r = r->next) ++race;
        result.players.push_back(
            {race, p->planetCount, p->shipCount, p->gold, PlayerPower(*p), p->planetCount == 0 && p->shipCount == 0});
        // The history holds turn t at index t; the game began at turn 1.
        const auto first = p->power.begin() + std::min<std::ptrdiff_t>(1, std::ssize(p->power));
        result.history.emplace_back(first, first + std::min<std::ptrdiff_t>(result.turns, p->power.end() - first));
    }
    return result;
}

// The platform of a worker: the messages go to its standard error as in the
// tool, and nothing is kept (the tool's platform keeps every sound cue,
// which would pile up over thousands of matches).
class WorkerPlatform : public HeadlessPlatform {
public:
    WorkerPlatform() : HeadlessPlatform(true) { exitForReal = true; }
    void messageBox(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    bool askYesNo(const std::string&) override { return answerYes; }
    void playCue(const std::string&) override {}
};

// A worker: reads match numbers, one a line, from commands and writes each
// match's result line to results, until commands end; never returns.
[[noreturn]] void Work(const TournamentSetup& setup, int commands, int results) {
    static WorkerPlatform platform;
    SetPlatform(&platform);
    int code = 0;
    try {
        std::string pending;
        char buffer[256];
        for (;;) {
            const std::size_t line = pending.find('\n');
            if (line == std::string::npos) {
                const ssize_t n = read(commands, buffer, sizeof buffer);
                if (n < 0 && errno == EINTR) continue;
                if (n <= 0) break;
                pending.append(buffer, static_cast<std::size_t>(n));
                continue;
            }
            const int match = std::stoi(pending.substr(0, line));
            pending.erase(0, line + 1);
            if (!WriteAll(results, MatchLine(PlayMatch(setup, match)))) {
                code = 4;
                break;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        code = 5;
    }
    std::fflush(stderr);
    _exit(code);
}

struct Worker {
    pid_t pid = -1;
    int commandFd = -1;  // match numbers to it
    int resultFd = -1;   // result lines from it
    int outputFd = -1;   // its standard output and error
    // The matches sent to it, in order: it plays the first, and has the
    // next at hand so that it need not wait for this process between two.
    std::deque<int> matches;
    std::string result;
    std::string output;          // what it printed during its current match, the last 4 KiB
    Clock::time_point deadline;  // of its current match
    bool timedOut = false;

    int match() const { return matches.empty() ? -1 : matches.front(); }
};

void CloseFd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

void ClosePipe(int (&fds)[2]) {
    CloseFd(fds[0]);
    CloseFd(fds[1]);
}

// A worker forked from this process, which has the races loaded: it plays
// the matches without starting the program or loading the races again.
Worker StartWorker(const TournamentSetup& setup, std::vector<Worker>& others) {
    int command[2] = {-1, -1}, result[2] = {-1, -1}, output[2] = {-1, -1};
    if (pipe2(command, O_CLOEXEC) != 0 || pipe2(result, O_CLOEXEC) != 0 || pipe2(output, O_CLOEXEC) != 0) {
        const int error = errno;
        ClosePipe(command);
        ClosePipe(result);
        ClosePipe(output);
        throw Failure(std::string("cannot make a pipe: ") + std::strerror(error));
    }
    // What waits in this process's buffers must not be written twice.
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    if (pid == 0) {
        for (Worker& w : others) {
            CloseFd(w.commandFd);
            CloseFd(w.resultFd);
            CloseFd(w.outputFd);
        }
        CloseFd(command[1]);
        CloseFd(result[0]);
        CloseFd(output[0]);
        dup2(output[1], STDOUT_FILENO);
        dup2(output[1], STDERR_FILENO);
        Work(setup, command[0], result[1]);
    }
    const int error = errno;
    CloseFd(command[0]);
    CloseFd(result[1]);
    CloseFd(output[1]);
    if (pid < 0) {
        ClosePipe(command);
        ClosePipe(result);
        ClosePipe(output);
        throw Failure(std::string("cannot start a process for the matches: ") + std::strerror(error));
    }
    fcntl(result[0], F_SETFL, O_NONBLOCK);
    fcntl(output[0], F_SETFL, O_NONBLOCK);
    Worker worker;
    worker.pid = pid;
    worker.commandFd = command[1];
    worker.resultFd = result[0];
    worker.outputFd = output[0];
    return worker;
}

// Reads what is there; closes the descriptor at its end.
void Drain(int& fd, std::string& into, std::size_t keepLast) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            into.append(buffer, static_cast<std::size_t>(n));
            if (keepLast && into.size() > keepLast) into.erase(0, into.size() - keepLast);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        CloseFd(fd);  // end of file, or an error
        return;
    }
}

std::string LastLine(const std::string& text) {
    const std::size_t end = text.find_last_not_of("\r\n");
    if (end == std::string::npos) return {};
    const std::size_t newline = text.find_last_of('\n', end);
    const std::size_t start = newline == std::string::npos ? 0 : newline + 1;
    return text.substr(start, end - start + 1);
}

std::string SecondsText(double seconds) {
    std::string text = std::to_string(seconds);
    text.erase(text.find_last_not_of('0') + 1);
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

// The failure of the match a worker was playing when it ended.
MatchResult Failed(const TournamentSetup& setup, const RunnerOptions& options, const Worker& w, int status) {
    MatchResult failed;
    failed.match = w.match();
    failed.seed = setup.seed + static_cast<std::uint32_t>(failed.match);
    const std::string said = LastLine(w.output);
    if (w.timedOut) {
        failed.failure = "timed out after " + SecondsText(options.matchTimeout) + " s";
    } else if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        const char* name = strsignal(signal);
        failed.failure = "crashed (signal " + std::to_string(signal) + (name ? ", " + std::string(name) : "") + ")";
    } else {
        failed.failure = "failed (exit code " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + ")";
    }
    if (!w.timedOut && !said.empty()) failed.failure += ": " + said;
    return failed;
}

// SIGPIPE ignored while the workers run: a worker that ended shows as a
// failed write to it, not as the end of this process.
class IgnoreBrokenPipes {
public:
    IgnoreBrokenPipes() {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGPIPE, &ignore, &old_);
    }
    ~IgnoreBrokenPipes() { sigaction(SIGPIPE, &old_, nullptr); }
    IgnoreBrokenPipes(const IgnoreBrokenPipes&) = delete;
    IgnoreBrokenPipes& operator=(const IgnoreBrokenPipes&) = delete;

private:
    struct sigaction old_ {};
};

}  // namespace

TournamentResults RunTournamentMatches(const TournamentSetup& setup, const RunnerOptions& options) {
    TournamentResults results;
    results.setup = setup;
    results.shardIndex = options.shardIndex;
    results.shardCount = options.shardCount;
    results.powerSums.assign(setup.races.size(), std::vector<std::int64_t>(static_cast<std::size_t>(setup.turns), 0));

    std::deque<int> pending;  // matches not yet sent to a worker
    for (int i = options.shardIndex; i < setup.matches; i += options.shardCount) pending.push_back(i);
    const std::size_t total = pending.size();
    const std::size_t jobs = std::min<std::size_t>(static_cast<std::size_t>(options.jobs), total);
    std::vector<MatchResult> finished;
    std::vector<Worker> workers;
    const IgnoreBrokenPipes ignoreBrokenPipes;
    ProgressBar progress("matches", static_cast<int>(total), true);
    progress.show(0);
    const auto timeout =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(options.matchTimeout));
    const auto begin = [&](Worker& w) {  // w starts the first of its matches
        w.output.clear();
        w.timedOut = false;
        w.deadline = Clock::now() + timeout;
    };
    try {
        while (finished.size() < total) {
            // Every worker busy while matches are left; a worker that ended
            // (with its match) is replaced.
            while (workers.size() < jobs && !pending.empty()) workers.push_back(StartWorker(setup, workers));
            for (Worker& w : workers) {
                // A second match at hand only while there are enough for
                // every worker, so that none idles at the end.
                const std::size_t depth = pending.size() > workers.size() ? 2 : 1;
                while (w.commandFd >= 0 && !pending.empty() && w.matches.size() < depth) {
                    const int match = pending.front();
                    pending.pop_front();
                    w.matches.push_back(match);
                    if (w.matches.size() == 1) begin(w);
                    if (!WriteAll(w.commandFd, std::to_string(match) + "\n")) CloseFd(w.commandFd);  // it ended
                }
            }
            std::vector<pollfd> fds;
            for (const Worker& w : workers) {
                if (w.resultFd >= 0) fds.push_back({w.resultFd, POLLIN, 0});
                if (w.outputFd >= 0) fds.push_back({w.outputFd, POLLIN, 0});
            }
            auto wait = std::chrono::milliseconds(200);  // the progress bar's pace
            const auto now = Clock::now();
            for (const Worker& w : workers)
                if (options.matchTimeout > 0 && !w.matches.empty() && !w.timedOut)
                    wait = std::min(wait, std::chrono::ceil<std::chrono::milliseconds>(
                                              std::max(w.deadline - now, Clock::duration::zero())));
            if (poll(fds.data(), fds.size(), static_cast<int>(wait.count())) < 0 && errno != EINTR)
                throw Failure(std::string("cannot wait for the matches: ") + std::strerror(errno));
            for (Worker& w : workers) {
                if (w.resultFd >= 0) Drain(w.resultFd, w.result, 0);
                if (w.outputFd >= 0) Drain(w.outputFd, w.output, 4096);
                for (std::size_t line; !w.matches.empty() && (line = w.result.find('\n')) != std::string::npos;) {
                    MatchResult got;
                    std::string wrong;
                    try {
                        got = ReadMatchLine(w.result.substr(0, line), setup);
                        if (got.match != w.match()) wrong = "the result of match " + std::to_string(got.match);
                    } catch (const std::exception& e) {
                        wrong = e.what();
                    }
                    if (!wrong.empty()) {
                        got = MatchResult();
                        got.match = w.match();
                        got.seed = setup.seed + static_cast<std::uint32_t>(got.match);
                        got.failure = "gave no result (" + wrong + ")";
                    }
                    finished.push_back(std::move(got));
                    w.result.erase(0, line + 1);
                    w.matches.pop_front();
                    if (!w.matches.empty()) begin(w);
                }
                if (options.matchTimeout > 0 && !w.matches.empty() && !w.timedOut && Clock::now() >= w.deadline) {
                    kill(w.pid, SIGKILL);
                    w.timedOut = true;
                }
            }
            for (auto it = workers.begin(); it != workers.end();) {
                if (it->resultFd >= 0 || it->outputFd >= 0) {
                    ++it;
                    continue;
                }
                // The worker ended: its current match, if it had one,
                // failed; the one at hand goes to another worker.
                int status = 0;
                while (waitpid(it->pid, &status, 0) < 0 && errno == EINTR) {
                }
                CloseFd(it->commandFd);
                if (!it->matches.empty()) {
                    finished.push_back(Failed(setup, options, *it, status));
                    for (auto m = it->matches.rbegin(); m + 1 != it->matches.rend(); ++m) pending.push_front(*m);
                }
                it = workers.erase(it);
            }
            progress.show(static_cast<int>(finished.size()));
        }
    } catch (...) {
        for (Worker& w : workers) kill(w.pid, SIGKILL);
        for (Worker& w : workers) {
            CloseFd(w.commandFd);
            CloseFd(w.resultFd);
            CloseFd(w.outputFd);
            waitpid(w.pid, nullptr, 0);
        }
        throw;
    }
    // The workers are idle: the end of their commands ends them.
    for (Worker& w : workers) CloseFd(w.commandFd);
    for (Worker& w : workers) {
        CloseFd(w.resultFd);
        CloseFd(w.outputFd);
        while (waitpid(w.pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    std::sort(finished.begin(), finished.end(),
              [](const MatchResult& a, const MatchResult& b) { return a.match < b.match; });
    for (MatchResult& match : finished) results.add(std::move(match));
    return results;
}

// The number of processors this process may run on.
int ProcessorCount() {
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0) return std::max(1, CPU_COUNT(&set));
    return static_cast<int>(std::max(1L, sysconf(_SC_NPROCESSORS_ONLN)));
}

}  // namespace qv::cli
