// The pointer over the map: the record under it (whose panel the drawing
// thread shows), the cursor that says what a click would do there, and the
// eight scroll zones along the view's edges.
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

// The number the platform's setCursor takes for a map cursor (0 and 1 are
// the arrow and the hour-glass).
inline constexpr int kFirstMapCursor = 2;
inline constexpr int CursorNumber(MapCursor c) { return kFirstMapCursor + static_cast<int>(c); }

// The pointer moved to (px, py) of a view of width x height client pixels:
// sets the hover record and the scroll flags, shows the cursor through the
// platform and returns it. Game thread, game lock held.
MapCursor OnMouseMove(int px, int py, int width = 800, int height = 600);

// The pointer is over the window's frame, title or menu: no scrolling.
void OnNcMouseMove();

}  // namespace qv
