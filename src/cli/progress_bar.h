// "turn 120/200 [=====>    ]" on standard error while long work runs, only
// when it is a terminal; the line is wiped when the bar goes, so what follows
// (a report, an error) starts on a clean line.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace qv::cli {

class ProgressBar {
public:
    // label names what is counted ("turn", "matches"); withTimes adds the
    // time gone and an estimate of the time left.
    ProgressBar(std::string label, int total, bool withTimes = false);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void show(int done);

private:
    std::string label_;
    int total_;
    bool withTimes_;
    bool on_;
    std::size_t shownWidth_ = 0;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point last_{};
};

// "m:ss", or "h:mm:ss" from an hour on.
std::string Duration(double seconds);

}  // namespace qv::cli
