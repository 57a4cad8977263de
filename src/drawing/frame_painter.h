// What the drawing thread asks of whoever paints the frames: the Qt painter
// in the program, a recording painter in tests.
#pragma once

#include <cstdint>
#include <vector>

#include "model/records.h"

namespace qv {

enum class FrameKind {
    Idle,    // the whole frame: map, rings, explosions, every text layer
    Scroll,  // while the view moves: no rings, no explosions, only the status line
};

// A picture an idle frame drew for a one-shot request. The frame is gone
// in a sixtieth of a second, so the picture is drawn again, where it was
// first drawn, on the idle frames of the next moments (see DrawingOptions).
struct FrameEffect {
    enum class Kind { LargeBlast, SmallBlastA, SmallBlastB, Ring };
    Kind kind = Kind::LargeBlast;
    std::int64_t x = 0;  // map point of the picture's centre (a ring's centre)
    std::int64_t y = 0;
    int level = 0;  // a ring's level, 1..3
    bool operator==(const FrameEffect&) const = default;
};

// The one-shot requests an idle frame draws (null or 0 when none), and the
// pictures of earlier requests still on screen.
struct FrameRequests {
    Planet* explodingPlanet = nullptr;
    Asteroid* explodingAsteroid = nullptr;
    Ship* explodingShip = nullptr;
    int ringFirst = 0;
    int ringSecond = 0;
    std::vector<FrameEffect> afterglow;
};

class FramePainter {
public:
    virtual ~FramePainter() = default;

    // The scroll step changed (and at start): rebuild what depends on it.
    virtual void setScrollStep(int step) = 0;

    // The view moved by (dx, dy) map units: the star field's content moves
    // by (-dx, -dy), what leaves one side coming back on the other.
    virtual void shiftStars(int dx, int dy) = 0;

    // Composes a frame of the current world into the back buffer. Called on
    // the drawing thread with the game lock held: it may read every record
    // and game-wide value, and nothing else may change them meanwhile.
    virtual void compose(FrameKind kind, const FrameRequests& requests) = 0;

    // Hands the finished back buffer over for showing. Called without the
    // game lock.
    virtual void present() = 0;

    // What the last idle frame drew for its requests (not its afterglow),
    // handed over once.
    virtual std::vector<FrameEffect> takeEffectsDrawn() { return {}; }
};

}  // namespace qv
