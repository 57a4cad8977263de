// Instability events: at the end of every turn a few regions of space are
// torn out of one world and thrown into a region of another (or the same)
// world, with every planet, asteroid and ship in them.
#pragma once

namespace qv {

struct InstabilityLevel {
    int events;      // events per turn
    int radius;      // radius of the regions
    int margin;      // a region's centre keeps this far from the map's edges
    int ringLevel;   // size of the rings drawn (1..3)
};

// Level 0 "High", 1 "Medium", 2 "Low", 3 "None".
InstabilityLevel LevelOf(int unstability);

// A planet never lands closer than this to the star, an asteroid never
// closer than kAsteroidStarMargin.
inline constexpr int kPlanetStarMargin = 150;
inline constexpr int kAsteroidStarMargin = 100;

// Whether some place of the landing square around (tx, ty) (radius - 1 on
// each axis) lies at least starMargin from the star: its farthest corner
// tells. A small target region right at the star may hold none, and drawing
// places there would never end; then the planets stay where they are.
bool LandingPossible(int tx, int ty, int radius, int starMargin);

// The events of one end of turn at the level.
void InstabilityEvents(int unstability);

}  // namespace qv
