// Playing a tournament's matches: each in a process forked from the tool
// once the races are loaded (so a match costs a fork, not a start of the
// program and a load of the races), J at a time. A match's process plays it
// as "new --seed S+i --turns T --autopilot" does, stopping early when one
// player is left, and writes its result as one line of JSON to a pipe; its
// standard output and error go to a second pipe, whose last line explains a
// failure. A process past its deadline is killed.
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
#include <exception>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/tournament.h"
#include "model/globals.h"
#include "model/new_game.h"
#include "model/records.h"

namespace qv::cli {

namespace {

using Clock = std::chrono::steady_clock;

// "m:ss" or "h:mm:ss".
std::string Duration(double seconds) {
    const long long s = static_cast<long long>(seconds + 0.5);
    char text[32];
    if (s >= 3600) std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    else std::snprintf(text, sizeof text, "%lld:%02lld", s / 60, s % 60);
    return text;
}

// "matches 37/400 [===>    ] 0:12 elapsed, about 1:58 left" on standard
// error while the matches run, only when it is a terminal; wiped at the end.
class MatchProgress {
public:
    explicit MatchProgress(int total) : total_(total), on_(total > 0 && isatty(fileno(stderr)) == 1) {}
    MatchProgress(const MatchProgress&) = delete;
    MatchProgress& operator=(const MatchProgress&) = delete;

    ~MatchProgress() {
        if (!shownWidth_) return;
        std::fprintf(stderr, "\r%*s\r", static_cast<int>(shownWidth_), "");
        std::fflush(stderr);
    }

    void show(int done) {
        if (!on_) return;
        const auto now = Clock::now();
        if (done != total_ && shownWidth_ && now - last_ < std::chrono::milliseconds(200)) return;
        last_ = now;
        constexpr int kWidth = 30;
        const int filled = static_cast<int>(static_cast<long long>(done) * kWidth / total_);
        std::string bar(static_cast<std::size_t>(filled), '=');
        if (filled < kWidth) bar += '>';
        bar.resize(kWidth, ' ');
        const double elapsed = std::chrono::duration<double>(now - start_).count();
        std::string line = "\rmatches " + std::to_string(done) + "/" + std::to_string(total_) + " [" + bar + "] " +
                           Duration(elapsed) + " elapsed";
        if (done > 0 && done < total_) line += ", about " + Duration(elapsed / done * (total_ - done)) + " left";
        const std::size_t width = line.size() - 1;
        if (width < shownWidth_) line.append(shownWidth_ - width, ' ');
        std::fputs(line.c_str(), stderr);
        std::fflush(stderr);
        shownWidth_ = std::max(shownWidth_, width);
    }

private:
    int total_;
    bool on_;
    std::size_t shownWidth_ = 0;
    Clock::time_point start_ = Clock::now();
    Clock::time_point last_{};
};

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

// In the match's process: plays it and writes its line; never returns.
[[noreturn]] void PlayMatchHere(const TournamentSetup& setup, int match, std::uint32_t seed, int resultFd) {
    int code = 0;
    try {
        ActOnTestFault(seed);
        NewGameOptions documentOptions;
        if (!StartNewGame(documentOptions, setup.game, seed)) _exit(3);  // the game said why
        MatchResult result;
        result.match = match;
        result.seed = seed;
        const TurnRequest oneTurn{true, 1, true, false};
        while (result.turns < setup.turns && PlayersLeft() > 1) {
            PlayTurns(oneTurn);
            ++result.turns;
        }
        for (const Player* p = g_players; p; p = p->next) {
            if (IsNeutral(p)) continue;
            int race = 1;
            for (const Race* r = g_races; r && r != p->race; r = r->next) ++race;
            result.players.push_back({race, p->planetCount, p->shipCount, p->gold, PlayerPower(*p),
                                      p->planetCount == 0 && p->shipCount == 0});
            // The history holds turn t at index t; the game began at turn 1.
            const auto first = p->power.begin() + std::min<std::ptrdiff_t>(1, std::ssize(p->power));
            result.history.emplace_back(first, first + std::min<std::ptrdiff_t>(result.turns, p->power.end() - first));
        }
        if (!WriteAll(resultFd, MatchLine(result))) code = 4;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        code = 5;
    }
    std::fflush(stderr);
    _exit(code);
}

struct Running {
    pid_t pid = -1;
    int match = 0;
    int resultFd = -1;
    int outputFd = -1;
    std::string result;
    std::string output;  // the match's standard output and error, its last 4 KiB
    Clock::time_point deadline;
    bool timedOut = false;
};

void CloseFd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

Running StartMatch(const TournamentSetup& setup, int match) {
    int result[2], output[2];
    if (pipe2(result, O_CLOEXEC) != 0) throw Failure(std::string("cannot make a pipe: ") + std::strerror(errno));
    if (pipe2(output, O_CLOEXEC) != 0) {
        close(result[0]);
        close(result[1]);
        throw Failure(std::string("cannot make a pipe: ") + std::strerror(errno));
    }
    // What waits in this process's buffers must not be written twice.
    std::fflush(stdout);
    std::fflush(stderr);
    const std::uint32_t seed = setup.seed + static_cast<std::uint32_t>(match);
    const pid_t pid = fork();
    if (pid == 0) {
        close(result[0]);
        close(output[0]);
        dup2(output[1], STDOUT_FILENO);
        dup2(output[1], STDERR_FILENO);
        PlayMatchHere(setup, match, seed, result[1]);
    }
    close(result[1]);
    close(output[1]);
    if (pid < 0) {
        const int error = errno;
        close(result[0]);
        close(output[0]);
        throw Failure(std::string("cannot start a process for a match: ") + std::strerror(error));
    }
    fcntl(result[0], F_SETFL, O_NONBLOCK);
    fcntl(output[0], F_SETFL, O_NONBLOCK);
    Running running;
    running.pid = pid;
    running.match = match;
    running.resultFd = result[0];
    running.outputFd = output[0];
    return running;
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
    std::size_t end = text.find_last_not_of("\r\n");
    if (end == std::string::npos) return {};
    const std::size_t start = text.find_last_of('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1,
                       end - (start == std::string::npos ? 0 : start + 1) + 1);
}

std::string SecondsText(double seconds) {
    std::string text = std::to_string(seconds);
    text.erase(text.find_last_not_of('0') + 1);
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

MatchResult Finish(const TournamentSetup& setup, const RunnerOptions& options, const Running& r, int status) {
    MatchResult failed;
    failed.match = r.match;
    failed.seed = setup.seed + static_cast<std::uint32_t>(r.match);
    const std::string said = LastLine(r.output);
    if (r.timedOut) {
        failed.failure = "timed out after " + SecondsText(options.matchTimeout) + " s";
    } else if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        const char* name = strsignal(signal);
        failed.failure = "crashed (signal " + std::to_string(signal) + (name ? ", " + std::string(name) : "") + ")";
        if (!said.empty()) failed.failure += ": " + said;
    } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        failed.failure = "failed (exit code " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + ")";
        if (!said.empty()) failed.failure += ": " + said;
    } else {
        try {
            return ReadMatchLine(r.result, setup);
        } catch (const std::exception& e) {
            failed.failure = std::string("gave no result (") + e.what() + ")";
        }
    }
    return failed;
}

}  // namespace

TournamentResults RunTournamentMatches(const TournamentSetup& setup, const RunnerOptions& options) {
    TournamentResults results;
    results.setup = setup;
    results.shardIndex = options.shardIndex;
    results.shardCount = options.shardCount;
    results.powerSums.assign(setup.races.size(), std::vector<std::int64_t>(static_cast<std::size_t>(setup.turns), 0));

    std::vector<int> todo;
    for (int i = options.shardIndex; i < setup.matches; i += options.shardCount) todo.push_back(i);
    std::vector<MatchResult> finished;
    std::vector<Running> running;
    std::size_t next = 0;
    MatchProgress progress(static_cast<int>(todo.size()));
    progress.show(0);
    try {
        while (next < todo.size() || !running.empty()) {
            while (running.size() < static_cast<std::size_t>(options.jobs) && next < todo.size()) {
                running.push_back(StartMatch(setup, todo[next++]));
                if (options.matchTimeout > 0)
                    running.back().deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                                 std::chrono::duration<double>(options.matchTimeout));
            }
            std::vector<pollfd> fds;
            for (const Running& r : running) {
                if (r.resultFd >= 0) fds.push_back({r.resultFd, POLLIN, 0});
                if (r.outputFd >= 0) fds.push_back({r.outputFd, POLLIN, 0});
            }
            auto wait = std::chrono::milliseconds(200);  // the progress bar's pace
            const auto now = Clock::now();
            for (const Running& r : running)
                if (options.matchTimeout > 0 && !r.timedOut)
                    wait = std::min(wait, std::chrono::ceil<std::chrono::milliseconds>(
                                              std::max(r.deadline - now, Clock::duration::zero())));
            if (poll(fds.data(), fds.size(), static_cast<int>(wait.count())) < 0 && errno != EINTR)
                throw Failure(std::string("cannot wait for the matches: ") + std::strerror(errno));
            for (Running& r : running) {
                if (r.resultFd >= 0) Drain(r.resultFd, r.result, 0);
                if (r.outputFd >= 0) Drain(r.outputFd, r.output, 4096);
                if (options.matchTimeout > 0 && !r.timedOut && Clock::now() >= r.deadline) {
                    kill(r.pid, SIGKILL);
                    r.timedOut = true;
                }
            }
            for (auto it = running.begin(); it != running.end();) {
                if (it->resultFd >= 0 || it->outputFd >= 0) {
                    ++it;
                    continue;
                }
                int status = 0;
                while (waitpid(it->pid, &status, 0) < 0 && errno == EINTR) {
                }
                finished.push_back(Finish(setup, options, *it, status));
                it = running.erase(it);
            }
            progress.show(static_cast<int>(finished.size()));
        }
    } catch (...) {
        for (Running& r : running) {
            kill(r.pid, SIGKILL);
            CloseFd(r.resultFd);
            CloseFd(r.outputFd);
            waitpid(r.pid, nullptr, 0);
        }
        throw;
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
