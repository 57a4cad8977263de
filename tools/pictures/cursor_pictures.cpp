// The cursor pictures: 32 x 32, two colours on transparent. Each shape is a
// set of pixels decided at the pixel centres (no smoothing); painting a shape
// makes its border pixels black and its inside white, so every cursor has a
// one-pixel black outline that reads on any background. Shapes painted later
// cover earlier ones.
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>

#include "pictures.h"

namespace qv::pictures {

namespace {

constexpr int kSize = 32;
constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kWhite = 0xFFFFFFFFu;

using Mask = std::array<std::array<bool, kSize>, kSize>;  // [y][x]

Mask MaskOf(const std::function<bool(int x, int y)>& inside) {
    Mask m{};
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) m[y][x] = inside(x, y);
    return m;
}

bool At(const Mask& m, int x, int y) { return x >= 0 && y >= 0 && x < kSize && y < kSize && m[y][x]; }

Mask Transposed(const Mask& m) { return MaskOf([&](int x, int y) { return m[x][y]; }); }
Mask FlippedX(const Mask& m) { return MaskOf([&](int x, int y) { return m[y][kSize - 1 - x]; }); }
Mask FlippedY(const Mask& m) { return MaskOf([&](int x, int y) { return m[kSize - 1 - y][x]; }); }
Mask Shifted(const Mask& m, int dx, int dy) { return MaskOf([&](int x, int y) { return At(m, x - dx, y - dy); }); }

// Border pixels (a side neighbour outside the shape or outside the picture)
// black, the rest white.
void Paint(QImage& img, const Mask& m) {
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (!m[y][x]) continue;
            const bool border = !At(m, x - 1, y) || !At(m, x + 1, y) || !At(m, x, y - 1) || !At(m, x, y + 1);
            img.setPixel(x, y, border ? kBlack : kWhite);
        }
    }
}

// ------------------------------------------------------------------ arrows

// Pointing up, tip at (15, 0), symmetric about column 15.
Mask ArrowUp() {
    return MaskOf([](int x, int y) {
        const int off = std::abs(x - 15);
        if (y <= 10) return off <= y;  // the head, 45 degree sides
        return y <= 25 && off <= 3;    // the shaft
    });
}

// Pointing up and left, tip at (0, 0).
Mask ArrowUpLeft() {
    return MaskOf([](int x, int y) {
        if (x + y <= 15) return true;                  // the head along both edges
        return std::abs(x - y) <= 2 && x + y <= 40;    // the shaft along the diagonal
    });
}

// --------------------------------------------------------------- lettering

// A small capital font, 5 rows high, for the words on the move cursors.
struct Glyph {
    char c;
    std::array<const char*, 5> rows;
};
constexpr Glyph kGlyphs[] = {
    {'A', {".XX.", "X..X", "XXXX", "X..X", "X..X"}}, {'D', {"XXX.", "X..X", "X..X", "X..X", "XXX."}},
    {'E', {"XXX", "X..", "XX.", "X..", "XXX"}},      {'J', {"..X", "..X", "..X", "X.X", ".X."}},
    {'L', {"X..", "X..", "X..", "X..", "XXX"}},      {'M', {"X...X", "XX.XX", "X.X.X", "X...X", "X...X"}},
    {'N', {"X..X", "XX.X", "X.XX", "X..X", "X..X"}}, {'O', {".XX.", "X..X", "X..X", "X..X", ".XX."}},
    {'P', {"XXX.", "X..X", "XXX.", "X...", "X..."}}, {'U', {"X..X", "X..X", "X..X", "X..X", ".XX."}},
    {'V', {"X...X", "X...X", ".X.X.", ".X.X.", "..X.."}},
};

const Glyph& GlyphOf(char c) {
    for (const Glyph& g : kGlyphs)
        if (g.c == c) return g;
    throw std::invalid_argument(std::string("no cursor glyph for ") + c);
}

int WordWidth(const char* word) {
    int w = 0;
    for (const char* p = word; *p; ++p) w += static_cast<int>(std::strlen(GlyphOf(*p).rows[0])) + (p[1] ? 1 : 0);
    return w;
}

// Black letters with their top-left corner at (x, y).
void Write(QImage& img, const char* word, int x, int y) {
    for (const char* p = word; *p; ++p) {
        const Glyph& g = GlyphOf(*p);
        const int w = static_cast<int>(std::strlen(g.rows[0]));
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < w; ++col)
                if (g.rows[row][col] == 'X') img.setPixel(x + col, y + row, kBlack);
        x += w + 1;
    }
}

// ------------------------------------------------------------ other shapes

// A short arrow pointing down with its tip at (15, 14), onto an oval that
// carries a word.
void PaintArrowOnOval(QImage& img, const char* word) {
    Paint(img, MaskOf([](int x, int y) {
              const double dx = (x - 15.5) / 14.6, dy = (y - 22.0) / 7.4;
              return dx * dx + dy * dy <= 1.0;
          }));
    Paint(img, MaskOf([](int x, int y) {
              const int off = std::abs(x - 15);
              if (y >= 8 && y <= 14) return off <= 14 - y;  // the head
              return y >= 1 && y < 8 && off <= 2;           // the shaft
          }));
    const int w = WordWidth(word);
    Write(img, word, 16 - (w + 1) / 2, 20);
}

Mask Ring(double cx, double cy, double inner, double outer) {
    return MaskOf([=](int x, int y) {
        const double d = std::hypot(x - cx, y - cy);
        return d >= inner && d <= outer;
    });
}

Mask Union(const Mask& a, const Mask& b) { return MaskOf([&](int x, int y) { return a[y][x] || b[y][x]; }); }

void PaintGunSight(QImage& img) {
    const Mask cross = MaskOf([](int x, int y) {
        const int ox = std::abs(x - 15), oy = std::abs(y - 15);
        if (ox <= 1 && oy <= 1) return true;                        // the centre dot
        if (oy <= 1 && ox >= 5 && ox <= 14) return true;            // left and right hairs
        return ox <= 1 && oy >= 5 && oy <= 14;                      // upper and lower hairs
    });
    Paint(img, Union(Ring(15, 15, 8.6, 11.6), cross));
}

void PaintQuestionMark(QImage& img) {
    Paint(img, MaskOf([](int x, int y) {
              const double cx = 15.5, cy = 10.0;
              const double dx = x - cx, dy = y - cy;
              const double d = std::hypot(dx, dy);
              // The hook: a thick ring without its lower left quarter.
              if (d >= 3.6 && d <= 8.6 && !(dx < 0 && dy > 0)) return true;
              const int ox = std::abs(x - 15);
              if (ox <= 2 && y >= 15 && y <= 21) return true;  // the stem
              return ox <= 2 && y >= 24 && y <= 28;            // the dot
          }));
}

// A rocket flying up and to the right, its middle at (16, 15).
void PaintRocket(QImage& img) {
    const double c = std::cos(kPi / 4), s = std::sin(kPi / 4);
    auto rocket = [&](double flameOnly) {
        return MaskOf([&, flameOnly](int x, int y) {
            // Into the rocket's frame: u across, v along (negative v is the nose).
            const double dx = x - 16.0, dy = y - 15.0;
            const double u = dx * c + dy * s;
            const double v = -dx * s + dy * c;
            const double au = std::abs(u);
            if (flameOnly > 0) return v >= 10.5 && v <= 17.5 && au <= (17.5 - v) * 0.4 + 0.6;
            if (v >= -14.5 && v < -6.5) return au <= (v + 14.5) * 0.45 + 0.5;  // the nose
            if (v >= -6.5 && v <= 8.5) {
                if (au <= 3.4) return true;                                     // the body
                return v >= -1.5 && au <= 3.4 + (v + 1.5) * 0.48;               // swept fins
            }
            return v > 8.5 && v <= 10.5 && au <= 2.2;                           // the nozzle
        });
    };
    Paint(img, rocket(1));
    Paint(img, rocket(0));
    // A port hole.
    img.setPixel(19, 11, kBlack);
    img.setPixel(20, 11, kBlack);
    img.setPixel(19, 12, kBlack);
    img.setPixel(20, 12, kBlack);
}

void PaintHyperJump(QImage& img) {
    Paint(img, Ring(8.5, 8.5, 5.2, 8.2));  // the ring behind, hidden where the front ring passes
    const Mask front = Ring(18.0, 15.0, 0.0, 12.6);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (front[y][x]) img.setPixel(x, y, 0u);
    Paint(img, Ring(18.0, 15.0, 9.6, 12.6));  // the ring in front
    Paint(img, MaskOf([](int x, int y) {
              const int oy = std::abs(y - 15);
              if (x >= 21 && x <= 25) return oy <= 25 - x;  // the head, tip at (25, 15)
              return x >= 11 && x < 21 && oy <= 1;          // the shaft
          }));
}

}  // namespace

QImage CursorPicture(const char* role) {
    QImage img(kSize, kSize, QImage::Format_ARGB32);
    img.fill(0u);
    const std::string r = role;
    const Mask up = ArrowUp();
    const Mask upLeft = ArrowUpLeft();
    if (r == "scroll_up") Paint(img, up);
    else if (r == "scroll_down") Paint(img, Shifted(FlippedY(up), 1, 0));  // tip (16, 31)
    else if (r == "scroll_left") Paint(img, Transposed(up));               // tip (0, 15)
    else if (r == "scroll_right") Paint(img, Transposed(Shifted(FlippedY(up), 1, 0)));  // tip (31, 16)
    else if (r == "scroll_up_left") Paint(img, upLeft);
    else if (r == "scroll_up_right") Paint(img, FlippedX(upLeft));
    else if (r == "scroll_down_left") Paint(img, FlippedY(upLeft));
    else if (r == "scroll_down_right") Paint(img, FlippedX(FlippedY(upLeft)));
    else if (r == "attack") PaintGunSight(img);
    else if (r == "move") PaintArrowOnOval(img, "MOVE");
    else if (r == "jump") PaintArrowOnOval(img, "JUMP");
    else if (r == "land") PaintArrowOnOval(img, "LAND");
    else if (r == "information") PaintQuestionMark(img);
    else if (r == "missile") PaintRocket(img);
    else if (r == "hyper_jump") PaintHyperJump(img);
    else throw std::invalid_argument("no cursor picture for " + r);
    return img;
}

}  // namespace qv::pictures
