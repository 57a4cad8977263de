// The title screen, shown in the view before any game exists.
#pragma once

#include <QImage>

class QPainter;

namespace qv {

class PictureSet;

// The title picture at (0, 0) and "Version - 1.11" in white at (340, 180).
void DrawTitleScreen(QPainter& painter, const PictureSet& pictures);

// The title screen as an 800 x 600 Format_RGB32 image.
QImage TitleScreenImage(const PictureSet& pictures);

}  // namespace qv
