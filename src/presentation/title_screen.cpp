#include "presentation/title_screen.h"

#include <QPainter>

#include "model/globals.h"
#include "presentation/picture_set.h"
#include "presentation/text_layers.h"

namespace qv {

void DrawTitleScreen(QPainter& painter, const PictureSet& pictures) {
    painter.drawImage(QPoint(0, 0), pictures.get(PictureRole::Title));
    const TextLayers text;
    painter.setFont(text.font());
    painter.setPen(QColor(255, 255, 255));
    painter.setBackgroundMode(Qt::TransparentMode);
    text.write(painter, 340, 180, QStringLiteral("Version - 1.11"));
}

QImage TitleScreenImage(const PictureSet& pictures) {
    QImage image(kViewWidth, kViewHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    DrawTitleScreen(painter, pictures);
    return image;
}

}  // namespace qv
