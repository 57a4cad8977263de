// Scrolling the view: one move of the 800 x 600 view rectangle in one of
// eight directions, and the order in which the drawing thread tests the
// scroll flags.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>

namespace qv {

enum class ScrollDirection { Up, Down, Left, Right, UpRight, DownRight, UpLeft, DownLeft };

// The order in which the drawing thread tests the flags; the first one set
// wins.
inline constexpr std::array<ScrollDirection, 8> kScrollTestOrder = {
    ScrollDirection::Up,      ScrollDirection::Down,      ScrollDirection::Left,   ScrollDirection::Right,
    ScrollDirection::UpRight, ScrollDirection::DownRight, ScrollDirection::UpLeft, ScrollDirection::DownLeft,
};

// A view rectangle in map units.
struct ViewRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const ViewRect&) const = default;
};

// What a move did: possible is false when the view already touches the edge
// it moves towards (for a diagonal: either of its two edges) and nothing
// changed; otherwise the view moved by (dx, dy), which may be (0, 0) with a
// step of 0.
struct ScrollMove {
    bool possible = false;
    int dx = 0;
    int dy = 0;
    bool operator==(const ScrollMove&) const = default;
};

// Applies one move with step `step` inside a world of side `worldSize`.
// A straight move takes a full step when it fits and otherwise stops at the
// edge. A diagonal takes a full step on both axes when both fit; otherwise
// both axes go to their edges at once, each by its own remaining distance.
// A negative step counts as 0.
ScrollMove ApplyScrollMove(ViewRect& view, ScrollDirection direction, int step, int worldSize);

// The scroll step (the Game Options slider, 0 to 100) is a speed: the view
// moves 18 map units a second per unit of step, whatever the frame rate. The
// default step 30 crosses 540 units a second, the fastest 1,800.
inline constexpr int kScrollUnitsPerSecondPerStep = 18;

// The longest time one scroll frame makes up for: when the game held the
// drawing thread up for longer, the view goes on from where it was instead
// of jumping.
inline constexpr std::chrono::milliseconds kLongestScrollGap{100};

// How far the view moves in `elapsed` at scroll step `step` (a negative step
// counts as 0). `carry` keeps the fraction of a unit (in millionths) left
// over from earlier frames, so that many short frames add up to the same
// distance as one long one.
int ScrollDistance(int step, std::chrono::microseconds elapsed, std::int64_t& carry);

// The scroll flag of a direction.
std::atomic<int>& ScrollFlag(ScrollDirection direction);

// The first direction, in the test order, whose flag is set.
std::optional<ScrollDirection> FirstScrollFlag();

// How the pointer at the view's edges and the arrow keys ask for scrolling:
// the direction's flag is raised and the flags of the other kind are lowered
// (the four corners for an edge, the four edges for a corner); the others of
// the same kind stay as they are. The drawing thread scrolls while a flag is
// raised.
void StartScrolling(ScrollDirection direction);
// Every scroll flag lowered.
void StopScrolling();

}  // namespace qv
