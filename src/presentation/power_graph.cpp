#include "presentation/power_graph.h"

#include <QPainter>
#include <QPen>
#include <QString>

#include <algorithm>

#include "model/globals.h"
#include "presentation/raster.h"
#include "presentation/text_layers.h"

namespace qv {

namespace {

constexpr int kAxisLeft = 10;
constexpr int kAxisTop = 20;
constexpr int kAxisBottom = 220;
constexpr int kAxisRight = 410;
constexpr int kGraphWidth = 400;  // pixels the whole history spans
constexpr int kLineStartX = 11;
constexpr int kLineStartY = 219;

std::int32_t PowerAt(const PowerLine& line, std::int64_t turn) {
    return turn >= 0 && turn < static_cast<std::int64_t>(line.power.size()) ? line.power[static_cast<std::size_t>(turn)]
                                                                              : 0;
}

// Writes text with its top-left corner at (x, y).
void WriteAt(QPainter& painter, int x, int y, const QString& text) {
    painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), text);
}

// One player's line. Up to 400 turns every segment is drawn as it is. In a
// longer game several turns fall into one pixel column: the segments inside
// a column only go up and down it, so the column is drawn as one stroke from
// its lowest to its highest point, and the segment into the next column
// from the column's last point. The picture is the one every segment would
// give, at a cost of one stroke per column.
void DrawLine(QPainter& painter, const PowerLine& line, std::int32_t turns) {
    painter.setPen(QPen(QColor(raster::ToRgb(line.colour)), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    int columnX = kLineStartX;
    int lastY = kLineStartY;
    int lowY = lastY;
    int highY = lastY;
    for (std::int64_t i = 1; i <= turns; ++i) {
        const int x = PowerGraphX(i, turns);
        const int y = PowerGraphY(PowerAt(line, i - 1));
        if (x == columnX) {
            lowY = std::min(lowY, y);
            highY = std::max(highY, y);
            lastY = y;
            continue;
        }
        if (lowY != highY) painter.drawLine(columnX, lowY, columnX, highY);
        painter.drawLine(columnX, lastY, x, y);
        columnX = x;
        lastY = lowY = highY = y;
    }
    if (lowY != highY) painter.drawLine(columnX, lowY, columnX, highY);
}

}  // namespace

PowerGraphData CollectPowerGraph() {
    PowerGraphData data;
    data.turn = g_turn;
    const auto wanted = static_cast<std::size_t>(std::max<std::int32_t>(g_turn, 0));
    // The last record is the neutral player: it has no line.
    for (const Player* p = g_players; p && p->next; p = p->next) {
        PowerLine line;
        line.colour = p->colour;
        const std::size_t n = std::min(wanted, p->power.size());
        line.power.assign(p->power.begin(), p->power.begin() + static_cast<std::ptrdiff_t>(n));
        data.lines.push_back(std::move(line));
    }
    return data;
}

int PowerGraphX(std::int64_t segments, std::int32_t turns) {
    if (turns <= 0) return kLineStartX;
    if (turns <= kGraphWidth) return kLineStartX + static_cast<int>(segments * (kGraphWidth / turns));
    return kLineStartX + static_cast<int>(segments * kGraphWidth / turns);
}

int PowerGraphY(std::int32_t power) { return kAxisBottom - power / 50; }

void DrawPowerGraph(QPainter& painter, const PowerGraphData& data) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(kAxisLeft, kAxisTop, kAxisLeft, kAxisBottom);
    painter.drawLine(kAxisLeft, kAxisBottom, kAxisRight, kAxisBottom);
    painter.setFont(MapFont());
    painter.setBackgroundMode(Qt::TransparentMode);
    WriteAt(painter, 4, 4, QStringLiteral("Power"));
    WriteAt(painter, 415, 215, QStringLiteral("Turn"));
    if (data.turn > 0)
        for (const PowerLine& line : data.lines) DrawLine(painter, line, data.turn);
    painter.restore();
}

std::vector<PowerLegendEntry> CollectPowerLegend() {
    std::vector<PowerLegendEntry> entries;
    for (const Player* p = g_players; p && p->next; p = p->next) {
        QString text = p == g_players ? QStringLiteral("You") : QString::fromStdString(OwnerLabel(p));
        // Before the race's name, which a narrow column may cut short.
        if (p->planetCount == 0 && p->shipCount == 0) text += QStringLiteral(" (out)");
        if (p->race) text += QStringLiteral(": ") + GameText(p->race->name);
        entries.push_back({p->colour, text});
    }
    return entries;
}

namespace {
constexpr int kLegendRow = 18;
constexpr int kLegendColumn = 230;
constexpr int kLegendSwatch = 10;
}  // namespace

int PowerLegendHeight(std::size_t entries) { return static_cast<int>((entries + 1) / 2) * kLegendRow; }

void DrawPowerLegend(QPainter& painter, const std::vector<PowerLegendEntry>& entries, int top) {
    painter.save();
    painter.setFont(MapFont());
    const QFontMetrics metrics = painter.fontMetrics();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int x = kAxisLeft + static_cast<int>(i % 2) * kLegendColumn;
        const int y = top + static_cast<int>(i / 2) * kLegendRow;
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(QColor::fromRgb(raster::ToRgb(entries[i].colour)));
        painter.drawRect(x, y + 3, kLegendSwatch, kLegendSwatch);
        painter.setBrush(Qt::NoBrush);
        const int textX = x + kLegendSwatch + 6;
        WriteAt(painter, textX, y, metrics.elidedText(entries[i].text, Qt::ElideRight, kLegendColumn - 24));
    }
    painter.restore();
}

QImage PowerGraphImage(const PowerGraphData& data, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kStatisticsBackground);
    QPainter painter(&image);
    DrawPowerGraph(painter, data);
    return image;
}

}  // namespace qv
