// The Statistics graph: every race's power over the turns, one line per
// player in its colour, drawn in the Statistics dialog and by
// `quorvane-cli play --plot`.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

#include <cstdint>
#include <vector>

#include "model/records.h"

class QPainter;

namespace qv {

// The Statistics dialog's client area, which holds the graph and its OK
// button below it.
inline constexpr QSize kStatisticsClientSize{470, 290};

// Behind the graph: the grey of a dialog's face.
inline const QColor kStatisticsBackground{0xF0, 0xF0, 0xF0};

// What the graph shows, taken from the game at one moment.
struct PowerLine {
    Colour colour = 0;                // 0x00BBGGRR
    std::vector<std::int32_t> power;  // one entry per turn, from turn 0
};

struct PowerGraphData {
    std::int32_t turn = 0;  // g_turn: the line has this many segments
    std::vector<PowerLine> lines;
};

// Every player's line but the neutral player's (the last record), in player
// order, with turn = g_turn. The caller holds the game lock.
PowerGraphData CollectPowerGraph();

// The x of the line's point after `segments` segments of a game of `turns`
// turns. Up to 400 turns each segment is 400 / turns pixels wide (the last
// ones may end short of the axis' end); a longer game is squeezed so that
// its whole history spans the 400 pixels, point i at 11 + i * 400 / turns,
// several turns then sharing one pixel column.
int PowerGraphX(std::int64_t segments, std::int32_t turns);

// The y of a power: 220 - power / 50 (higher power is higher up; above 11000
// it leaves the top of the dialog).
int PowerGraphY(std::int32_t power);

// Draws the graph with painter on a surface of the dialog's client area:
// the axes from (10, 20) down to (10, 220) and on to (410, 220) in black,
// "Power" at (4, 4) and "Turn" at (415, 215) on a transparent background,
// and each line from (11, 219) through the powers of turns 0 .. turn - 1,
// one segment per turn, in a one-pixel pen of the player's colour. A turn
// beyond a line's history is drawn as power 0 (a loaded game starts with an
// empty history); a turn of 0 or less draws the axes only. Draws over what
// is there; fills nothing.
void DrawPowerGraph(QPainter& painter, const PowerGraphData& data);

// The key to the lines: one entry per line, in the same order, with the
// player's colour and "You" or "Computer N", " (out)" for a player that
// holds no planet and no ship, and the race's name. The caller holds the
// game lock.
struct PowerLegendEntry {
    Colour colour = 0;
    QString text;  // "Computer 2 (out): Solar Compact"
};
std::vector<PowerLegendEntry> CollectPowerLegend();

// The key's rows: two entries a row, 18 pixels high; its height for n
// entries (0 for none).
int PowerLegendHeight(std::size_t entries);

// Draws the key from top down: each entry a 10 x 10 square of its colour,
// outlined in black, and its text in black, two to a row 230 pixels apart
// from x = 10; a text too long for its column ends in "…".
void DrawPowerLegend(QPainter& painter, const std::vector<PowerLegendEntry>& entries, int top);

// The graph on the dialog's background, as a picture of the given size.
QImage PowerGraphImage(const PowerGraphData& data, QSize size = kStatisticsClientSize);

}  // namespace qv
