// The painters of quorvane-make-pictures, one function per picture kind.
// Every picture is opaque (black where nothing is drawn) except the cursors,
// which are black and white on transparent, and the application icon, a
// rounded square on transparent.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>

#include "canvas.h"

namespace qv::pictures {

// Map pictures (space_pictures.cpp).
Canvas StarFieldCanvas(int width, int height, std::uint64_t seed, double nebula);
QImage StarField();               // 800 x 600, repeats seamlessly in both directions
QImage GlowingStar(bool blue);    // 163 x 158, the star's centre at (80, 80)
QImage Planet(int picture);       // 60 x 60; picture 1, 2 or 3
QImage Asteroid(bool spent);      // 34 x 34
enum class BlastKind { SmallA, SmallB, Large };
QImage Blast(BlastKind kind);     // 30 x 30 or 60 x 60

// Pictures with lettering (lettering_pictures.cpp).
QImage Title();                                        // 800 x 600
QImage AboutLettering();                               // 277 x 31
QImage ButtonCaption(QSize size, const QString& text); // dark blue on light grey

// Cursors (cursor_pictures.cpp): 32 x 32, ARGB; role as in the cursor set.
QImage CursorPicture(const char* role);

// The application icon (icon_picture.cpp): size x size, ARGB.
QImage ApplicationIcon(int size);

}  // namespace qv::pictures
