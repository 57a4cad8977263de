// The mouse cursors the game shows through the platform: the arrow, the
// hour-glass of a running turn, and the sixteen cursors of the map, which say
// what a click would do where the pointer is.
#pragma once

namespace qv {

// The map's cursors, in the order of the view's cursor set.
enum class MapCursor {
    Standard,
    ScrollUpLeft,
    ScrollDownRight,
    ScrollDownLeft,
    ScrollUp,
    ScrollDown,
    ScrollRight,
    ScrollLeft,
    ScrollUpRight,
    Attack,
    Move,
    Jump,
    Land,
    Information,
    Missile,
    HyperJump,
};

// The numbers the platform's setCursor takes: the arrow, the hour-glass,
// then the map cursors in their order.
inline constexpr int kCursorArrow = 0;
inline constexpr int kCursorWait = 1;
inline constexpr int kFirstMapCursor = 2;
inline constexpr int CursorNumber(MapCursor c) { return kFirstMapCursor + static_cast<int>(c); }

}  // namespace qv
