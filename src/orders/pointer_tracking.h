// The pointer over the map: the record under it (whose panel the drawing
// thread shows), the cursor that says what a click would do there, and the
// eight scroll zones along the view's edges.
#pragma once

#include "model/cursor_kinds.h"

namespace qv {

// The pointer moved to (px, py) of a view of width x height client pixels:
// sets the hover record and the scroll flags, shows the cursor through the
// platform and returns it. Game thread, game lock held.
MapCursor OnMouseMove(int px, int py, int width = 800, int height = 600);

// The pointer is over the window's frame, title or menu: no scrolling.
void OnNcMouseMove();

}  // namespace qv
