// Pixel-level drawing on an 800 x 600 Format_RGB32 frame, with the
// platform's shape convention: a box from (l, t) to (r, b) covers the pixels
// l .. r - 1 and t .. b - 1, and an outline lies on the box's outermost
// pixels. Every write is clipped to the frame; coordinates are 64-bit so
// that no record value can overflow on the way.
#pragma once

#include <QImage>
#include <QRgb>

#include <cstdint>

#include "model/records.h"

namespace qv::raster {

// A game colour (0x00BBGGRR) as a frame pixel.
inline QRgb ToRgb(Colour c) { return qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF)); }

enum class Stroke {
    Solid,
    Dotted,  // one pixel on, one off along the outline
};

class Surface {
public:
    // image must be Format_RGB32 and stay alive (and unshared) while the
    // surface is used.
    explicit Surface(QImage& image);

    int width() const { return width_; }
    int height() const { return height_; }

    void set(std::int64_t x, std::int64_t y, QRgb colour) {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
        row(static_cast<int>(y))[x] = colour;
    }

    // Pixels x0 .. x1 (both included) of row y.
    void fillSpan(std::int64_t y, std::int64_t x0, std::int64_t x1, QRgb colour);

    // Draws the whole picture with its top-left corner at (x, y), clipped: a
    // Format_RGB32 picture is copied, a Format_ARGB32_Premultiplied one laid
    // over the frame by its alpha.
    void blit(const QImage& picture, std::int64_t x, std::int64_t y);

    // Copies a frame-sized picture over the whole frame.
    void copyFrame(const QImage& picture);

    // The outline of the ellipse in the square box (cx - r, cy - r) to
    // (cx + r, cy + r): a circle of radius r around (cx, cy). Nothing for
    // r <= 0.
    void circle(std::int64_t cx, std::int64_t cy, std::int64_t r, QRgb colour, Stroke stroke = Stroke::Solid);

    // The same circle filled (outline included).
    void disc(std::int64_t cx, std::int64_t cy, std::int64_t r, QRgb colour);

    // The outline of the box (l, t) to (r, b). Meant for boxes of about the
    // frame's size or smaller: a dotted outline walks the whole perimeter.
    void frame(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, QRgb colour,
               Stroke stroke = Stroke::Solid);

    // The box's pixels, outline included.
    void fillBox(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, QRgb colour);

private:
    QRgb* row(int y) { return reinterpret_cast<QRgb*>(bits_ + static_cast<std::ptrdiff_t>(y) * stride_); }

    uchar* bits_;
    qsizetype stride_;
    int width_;
    int height_;
};

}  // namespace qv::raster
