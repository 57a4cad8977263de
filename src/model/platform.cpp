#include "model/platform.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace qv {

namespace {
HeadlessPlatform& DefaultPlatform() {
    static HeadlessPlatform platform(true);
    return platform;
}
Platform* g_platform = nullptr;
}  // namespace

Platform& CurrentPlatform() { return g_platform ? *g_platform : DefaultPlatform(); }

void SetPlatform(Platform* platform) { g_platform = platform; }

void HeadlessPlatform::messageBox(const std::string& text) {
    messages.push_back(text);
    if (print_) std::fprintf(stderr, "%s\n", text.c_str());
}

bool HeadlessPlatform::askYesNo(const std::string& text) {
    questions.push_back(text);
    return answerYes;
}

void HeadlessPlatform::playCue(const std::string& fileName) { cues.push_back(fileName); }

void HeadlessPlatform::setCursor(int c) { cursor = c; }

std::int64_t HeadlessPlatform::now() {
    if (fixedNow != 0) return fixedNow;
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void HeadlessPlatform::endProcess(int code) {
    exitCode = code;
    if (exitForReal) {
        std::fflush(nullptr);
        std::_Exit(code);
    }
}

}  // namespace qv
