#include "shell/panel_text.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <algorithm>

namespace qv::shell {

int LabelLeft(const QFontMetrics& metrics, const PanelText& label, int figureX) {
    return std::max(2, std::min(label.x, figureX - 4 - metrics.horizontalAdvance(QString::fromStdString(label.text))));
}

int FigureLeft(const QFontMetrics& metrics, const PanelText& label, int figureX) {
    return std::max(figureX, label.x + metrics.horizontalAdvance(QString::fromStdString(label.text)) + 4);
}

void DrawPanelTexts(QPainter& painter, const QFontMetrics& metrics, const std::vector<PanelText>& texts) {
    for (const PanelText& t : texts)
        painter.drawText(QPoint(t.x, t.y + metrics.ascent()), QString::fromStdString(t.text));
}

}  // namespace qv::shell
