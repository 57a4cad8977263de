#include "drawing/scroll.h"

#include <algorithm>

#include "drawing/drawing_flags.h"

namespace qv {

namespace {

// One axis of the view spans [low, high]; sign -1 moves it towards 0, +1
// towards worldSize. The move is impossible once the span touches that edge.
bool CanMove(int low, int high, int sign, int worldSize) { return sign < 0 ? low != 0 : high != worldSize; }

bool FullStepFits(int low, int high, int sign, int step, int worldSize) {
    return sign < 0 ? low - step >= 0 : high + step <= worldSize;
}

// Distance to the edge, signed in the direction of the move.
int ToEdge(int low, int high, int sign, int worldSize) { return sign < 0 ? -low : worldSize - high; }

struct Axes {
    int sx;  // -1 left, +1 right, 0 none
    int sy;  // -1 up, +1 down, 0 none
};

Axes AxesOf(ScrollDirection direction) {
    switch (direction) {
        case ScrollDirection::Up: return {0, -1};
        case ScrollDirection::Down: return {0, 1};
        case ScrollDirection::Left: return {-1, 0};
        case ScrollDirection::Right: return {1, 0};
        case ScrollDirection::UpRight: return {1, -1};
        case ScrollDirection::DownRight: return {1, 1};
        case ScrollDirection::UpLeft: return {-1, -1};
        case ScrollDirection::DownLeft: return {-1, 1};
    }
    return {0, 0};
}

}  // namespace

ScrollMove ApplyScrollMove(ViewRect& view, ScrollDirection direction, int step, int worldSize) {
    step = std::max(step, 0);
    const Axes a = AxesOf(direction);
    const bool useX = a.sx != 0;
    const bool useY = a.sy != 0;

    if ((useX && !CanMove(view.left, view.right, a.sx, worldSize)) ||
        (useY && !CanMove(view.top, view.bottom, a.sy, worldSize)))
        return {};

    // A straight move falls back to the edge on its own axis; a diagonal
    // takes the full step only when both axes can, and otherwise sends both
    // axes to their edges.
    const bool fullX = !useX || FullStepFits(view.left, view.right, a.sx, step, worldSize);
    const bool fullY = !useY || FullStepFits(view.top, view.bottom, a.sy, step, worldSize);
    const bool full = fullX && fullY;

    ScrollMove move{true, 0, 0};
    if (useX) move.dx = full ? a.sx * step : ToEdge(view.left, view.right, a.sx, worldSize);
    if (useY) move.dy = full ? a.sy * step : ToEdge(view.top, view.bottom, a.sy, worldSize);
    view.left += move.dx;
    view.right += move.dx;
    view.top += move.dy;
    view.bottom += move.dy;
    return move;
}

int ScrollDistance(int step, std::chrono::microseconds elapsed, std::int64_t& carry) {
    constexpr std::int64_t kMillionths = 1'000'000;
    const std::int64_t us = std::clamp<std::int64_t>(
        elapsed.count(), 0, std::chrono::duration_cast<std::chrono::microseconds>(kLongestScrollGap).count());
    const std::int64_t total = carry + std::int64_t{std::max(step, 0)} * kScrollUnitsPerSecondPerStep * us;
    carry = total % kMillionths;
    return static_cast<int>(total / kMillionths);
}

std::atomic<int>& ScrollFlag(ScrollDirection direction) {
    switch (direction) {
        case ScrollDirection::Up: return g_scrollUp;
        case ScrollDirection::Down: return g_scrollDown;
        case ScrollDirection::Left: return g_scrollLeft;
        case ScrollDirection::Right: return g_scrollRight;
        case ScrollDirection::UpRight: return g_scrollUpRight;
        case ScrollDirection::DownRight: return g_scrollDownRight;
        case ScrollDirection::UpLeft: return g_scrollUpLeft;
        case ScrollDirection::DownLeft: return g_scrollDownLeft;
    }
    return g_scrollUp;
}

std::optional<ScrollDirection> FirstScrollFlag() {
    for (ScrollDirection d : kScrollTestOrder)
        if (ScrollFlag(d).load() != 0) return d;
    return std::nullopt;
}

namespace {

bool IsCorner(ScrollDirection d) {
    return d == ScrollDirection::UpRight || d == ScrollDirection::DownRight || d == ScrollDirection::UpLeft ||
           d == ScrollDirection::DownLeft;
}

}  // namespace

void StartScrolling(ScrollDirection direction) {
    ScrollFlag(direction) = 1;
    for (ScrollDirection d : kScrollTestOrder)
        if (IsCorner(d) != IsCorner(direction)) ScrollFlag(d) = 0;
    NotifyDrawingFlags();
}

void StopScrolling() {
    for (ScrollDirection d : kScrollTestOrder) ScrollFlag(d) = 0;
    NotifyDrawingFlags();
}

}  // namespace qv
