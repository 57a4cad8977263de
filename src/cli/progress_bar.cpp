#include "cli/progress_bar.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace qv::cli {

ProgressBar::ProgressBar(std::string label, int total, bool withTimes)
    : label_(std::move(label)), total_(total), withTimes_(withTimes), on_(total > 0 && isatty(fileno(stderr)) == 1) {}

ProgressBar::~ProgressBar() {
    if (!shownWidth_) return;
    std::fprintf(stderr, "\r%*s\r", static_cast<int>(shownWidth_), "");
    std::fflush(stderr);
}

void ProgressBar::show(int done) {
    if (!on_) return;
    // A terminal is slow next to the work: redraw ten times a second, and
    // for the last step.
    const auto now = std::chrono::steady_clock::now();
    if (done != total_ && shownWidth_ && now - last_ < std::chrono::milliseconds(100)) return;
    last_ = now;
    constexpr int kWidth = 30;
    const int filled = static_cast<int>(static_cast<long long>(done) * kWidth / total_);
    std::string bar(static_cast<std::size_t>(filled), '=');
    if (filled < kWidth) bar += '>';
    bar.resize(kWidth, ' ');
    std::string line = "\r" + label_ + " " + std::to_string(done) + "/" + std::to_string(total_) + " [" + bar + "]";
    if (withTimes_) {
        const double elapsed = std::chrono::duration<double>(now - start_).count();
        line += " " + Duration(elapsed) + " elapsed";
        if (done > 0 && done < total_) line += ", about " + Duration(elapsed / done * (total_ - done)) + " left";
    }
    const std::size_t width = line.size() - 1;
    if (width < shownWidth_) line.append(shownWidth_ - width, ' ');
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    shownWidth_ = std::max(shownWidth_, width);
}

std::string Duration(double seconds) {
    const long long s = static_cast<long long>(seconds + 0.5);
    char text[32];
    if (s >= 3600) std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    else std::snprintf(text, sizeof text, "%lld:%02lld", s / 60, s % 60);
    return text;
}

}  // namespace qv::cli
