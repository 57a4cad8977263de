// The texts the panels (Ship Options, Asteroid Options, Planet Options) write
// straight onto their client area: each label or figure at its pixel place.
#pragma once

#include <string>
#include <vector>

class QFontMetrics;
class QPainter;

namespace qv::shell {

// A text written at (x, y), in pixels of a panel's client area (the top-left
// corner of the text's line).
struct PanelText {
    int x = 0;
    int y = 0;
    std::string text;

    bool operator==(const PanelText&) const = default;
};

// Where a label meant to stand at label.x starts so that, in this font, it
// ends at least 4 pixels short of the figure written at figureX; never
// nearer the panel's edge than 2 pixels.
int LabelLeft(const QFontMetrics& metrics, const PanelText& label, int figureX);

// Where a figure meant to stand at figureX starts so that, in this font, it
// begins at least 4 pixels right of the label (which keeps its place).
int FigureLeft(const QFontMetrics& metrics, const PanelText& label, int figureX);

// Writes the texts in the painter's pen.
void DrawPanelTexts(QPainter& painter, const QFontMetrics& metrics, const std::vector<PanelText>& texts);

}  // namespace qv::shell
