// Scrolling the view: one move of the 800 x 600 view rectangle in one of
// eight directions, and the order in which the drawing thread tests the
// scroll flags.
#pragma once

#include <array>
#include <atomic>
#include <optional>

namespace qv {

enum class ScrollDirection { Up, Down, Left, Right, UpRight, DownRight, UpLeft, DownLeft };

// The order in which the drawing thread tests the flags; the first one set
// wins.
inline constexpr std::array<ScrollDirection, 8> kScrollTestOrder = {
    ScrollDirection::Up,        ScrollDirection::Down,        ScrollDirection::Left,
    ScrollDirection::Right,     ScrollDirection::UpRight,     ScrollDirection::DownRight,
    ScrollDirection::UpLeft,    ScrollDirection::DownLeft,
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
