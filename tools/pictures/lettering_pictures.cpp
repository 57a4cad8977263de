// The pictures with lettering: the title screen, the About box lettering and
// the button captions. Text is drawn with QPainter from the DejaVu fonts.
#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

#include "pictures.h"

namespace qv::pictures {

namespace {

const char* const kTitle = "Quorvane";

QFont TitleFont(double pixelSize, double spacing) {
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setBold(true);
    font.setPixelSize(static_cast<int>(pixelSize));
    font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// The title word as an outline, centred on (cx, baseline).
QPainterPath TitlePath(const QFont& font, double cx, double baseline) {
    QPainterPath path;
    path.addText(0, 0, font, QString::fromLatin1(kTitle));
    const QRectF box = path.boundingRect();
    path.translate(cx - box.center().x(), baseline);
    return path;
}

// The outline filled white into a grey mask, then softened by three box blurs
// (nearly a Gaussian).
std::vector<double> BlurredMask(const QPainterPath& path, int w, int h, int radius) {
    QImage mask(w, h, QImage::Format_Grayscale8);
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(path, Qt::white);
    }
    std::vector<double> a(static_cast<std::size_t>(w) * h), tmp(a.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) a[static_cast<std::size_t>(y) * w + x] = mask.constScanLine(y)[x] / 255.0;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                double s = 0;
                for (int k = -radius; k <= radius; ++k) s += a[static_cast<std::size_t>(y) * w + std::clamp(x + k, 0, w - 1)];
                tmp[static_cast<std::size_t>(y) * w + x] = s / (2 * radius + 1);
            }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                double s = 0;
                for (int k = -radius; k <= radius; ++k) s += tmp[static_cast<std::size_t>(std::clamp(y + k, 0, h - 1)) * w + x];
                a[static_cast<std::size_t>(y) * w + x] = s / (2 * radius + 1);
            }
    }
    return a;
}

// Burnished gold, bright above, a dark horizon line across the middle.
QLinearGradient GoldGradient(const QRectF& box) {
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    g.setColorAt(0.00, QColor(255, 253, 238));
    g.setColorAt(0.30, QColor(255, 226, 140));
    g.setColorAt(0.50, QColor(214, 130, 30));
    g.setColorAt(0.53, QColor(120, 52, 8));
    g.setColorAt(0.62, QColor(200, 112, 28));
    g.setColorAt(0.85, QColor(255, 200, 96));
    g.setColorAt(1.00, QColor(255, 238, 180));
    return g;
}

// A soft disc or hexagon of coloured light, for the lens flare.
void FlareGhost(Canvas& c, double cx, double cy, double radius, const Rgb& colour, bool hexagon, double ring) {
    const int x0 = std::max(0, static_cast<int>(cx - radius - 2)), x1 = std::min(c.width() - 1, static_cast<int>(cx + radius + 2));
    const int y0 = std::max(0, static_cast<int>(cy - radius - 2)), y1 = std::min(c.height() - 1, static_cast<int>(cy + radius + 2));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            double d;
            if (hexagon) {
                // Distance in the hexagon's own measure (flat top and bottom).
                const double ax = std::abs(dx), ay = std::abs(dy);
                d = std::max(ay, ax * 0.8660254 + ay * 0.5) / (radius * 0.8660254);
            } else {
                d = std::hypot(dx, dy) / radius;
            }
            if (d >= 1) continue;
            const double edge = Smooth(1.0, 0.9, d);
            const double body = (1 - ring) * (0.55 + 0.45 * d * d) + ring * std::exp(-(d - 0.92) * (d - 0.92) / 0.004);
            c.add(x, y, colour * (edge * body));
        }
    }
}

}  // namespace

// ---------------------------------------------------------------- title

QImage Title() {
    const int w = 800, h = 600;
    Canvas c = StarFieldCanvas(w, h, 0x717E0001, 1.5);

    // A world's dark limb across the bottom, its air lit by a sun rising
    // behind it.
    const double pcx = 400, pcy = 1490, pr = 1010;  // top of the limb at y = 480
    const double sunX = 560, sunY = 483;
    const auto seed = 0x717E0002u;
    auto nearSun = [&](double x, double y) { return std::exp(-std::hypot(x - sunX, y - sunY) / 170); };
    c.render(2, [&](double x, double y) {
        const double above = std::hypot(x - pcx, y - pcy) - pr;
        if (above < 0) return Rgb();
        const double sun = nearSun(x, y);
        const double air = std::exp(-above / 4.0) * (0.35 + 2.2 * sun) + std::exp(-above / 22.0) * (0.1 + 0.7 * sun);
        return Rgb(70, 160, 255) * (0.5 * air) + Rgb(255, 210, 160) * (0.25 * air * sun);
    });
    // The world covers the stars behind it: night side near black with faint
    // cloud bands, lit along the limb.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            const double depth = pr - std::hypot(px - pcx, py - pcy);
            const double cover = Clamp01(depth + 0.5);
            if (cover <= 0) continue;
            const double bands = 0.5 + 0.5 * Fbm(px / 90, py / 18, 0.5, 4, seed);
            const double limb = std::exp(-std::max(0.0, depth) / 10) * (0.25 + 1.2 * nearSun(px, py));
            const Rgb ground = Rgb(4, 8, 16) * (0.6 + bands) + Rgb(60, 150, 230) * limb;
            c.at(x, y) = c.at(x, y) * (1 - cover) + ground * cover;
        }

    // The sun and its lens flare: a hot glow, a long horizontal streak, a few
    // rays, and ghosts of the lens along the line through the picture's centre.
    c.glow(sunX, sunY, 5, Rgb(255, 255, 250) * 3.0);
    c.glow(sunX, sunY, 18, Rgb(255, 220, 170) * 0.9);
    c.glow(sunX, sunY, 60, Rgb(255, 170, 110) * 0.28);
    c.glow(sunX, sunY, 150, Rgb(120, 120, 200) * 0.07);
    for (int x = 0; x < w; ++x) {
        const double fall = std::exp(-std::abs(x + 0.5 - sunX) / 190);
        for (int dy = -3; dy <= 3; ++dy) c.add(x, static_cast<int>(sunY) + dy, Rgb(150, 200, 255) * (0.9 * fall * std::exp(-dy * dy / 2.0)));
    }
    for (int ray = 0; ray < 12; ++ray) {
        const double a = ray * kPi / 6 + 0.26;
        const double len = (ray % 2 ? 55 : 95);
        for (double t = 6; t < len; t += 0.5)
            c.add(static_cast<int>(sunX + t * std::cos(a)), static_cast<int>(sunY + t * std::sin(a)),
                  Rgb(255, 235, 200) * (0.5 * std::pow(1 - t / len, 2)));
    }
    const double vx = 400 - sunX, vy = 300 - sunY;
    struct Ghost {
        double t, radius;
        Rgb colour;
        bool hexagon;
        double ring;
    };
    const Ghost ghosts[] = {
        {0.35, 14, Rgb(40, 80, 60), true, 0.0},   {0.62, 26, Rgb(30, 60, 90), false, 0.6},
        {1.12, 9, Rgb(90, 60, 30), true, 0.0},    {1.38, 34, Rgb(26, 34, 70), true, 0.2},
        {1.55, 6, Rgb(110, 80, 40), false, 0.0},  {1.78, 18, Rgb(30, 60, 60), true, 0.0},
        {2.05, 48, Rgb(30, 22, 50), false, 0.75},
    };
    for (const Ghost& g : ghosts) FlareGhost(c, sunX + g.t * vx, sunY + g.t * vy, g.radius, g.colour, g.hexagon, g.ring);

    // The lettering: a warm glow behind it first.
    const QFont font = TitleFont(112, 3);
    const QPainterPath path = TitlePath(font, 400, 150);
    const std::vector<double> glow = BlurredMask(path, w, h, 7);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double a = glow[static_cast<std::size_t>(y) * w + x];
            c.at(x, y) = c.at(x, y) * (1 - 0.6 * a) + Rgb(255, 130, 40) * (0.75 * a);
        }
    // Keep the place of the version line dark, so white text reads there.
    for (int y = 160; y < 210; ++y)
        for (int x = 300; x < 500; ++x) {
            const double k = Smooth(0, 1, std::min({(x - 300) / 30.0, (500 - x) / 30.0, (y - 160) / 12.0, (210 - y) / 12.0}));
            c.at(x, y) = c.at(x, y) * (1 - 0.85 * k);
        }

    QImage img = c.toImage();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.strokePath(path, QPen(QColor(40, 16, 2), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(path, GoldGradient(path.boundingRect()));
    p.strokePath(path, QPen(QColor(255, 250, 225, 110), 1.0));
    p.end();
    // A glint on the first letter: a small star with long horizontal rays.
    Canvas glint(w, h);
    const QRectF box = path.boundingRect();
    const double gx = box.left() + 62, gy = box.top() + 6;
    glint.glow(gx, gy, 2.5, Rgb(255, 255, 255) * 1.5);
    glint.glow(gx, gy, 8, Rgb(255, 230, 170) * 0.35);
    for (int d = 3; d < 40; ++d) {
        const double k = std::pow(1 - d / 40.0, 2);
        glint.add(static_cast<int>(gx) + d, static_cast<int>(gy), Rgb(255, 245, 220) * k);
        glint.add(static_cast<int>(gx) - d, static_cast<int>(gy), Rgb(255, 245, 220) * k);
        if (d < 22) {
            glint.add(static_cast<int>(gx), static_cast<int>(gy) + d, Rgb(255, 245, 220) * (k * 0.8));
            glint.add(static_cast<int>(gx), static_cast<int>(gy) - d, Rgb(255, 245, 220) * (k * 0.8));
        }
    }
    for (int y = std::max(0, static_cast<int>(gy) - 45); y < std::min(h, static_cast<int>(gy) + 45); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = std::max(0, static_cast<int>(gx) - 45); x < std::min(w, static_cast<int>(gx) + 45); ++x) {
            const Rgb& g = glint.at(x, y);
            auto add = [](int base, double extra) { return std::min(255, base + static_cast<int>(std::lround(extra))); };
            line[x] = qRgb(add(qRed(line[x]), g.r), add(qGreen(line[x]), g.g), add(qBlue(line[x]), g.b));
        }
    }
    return img;
}

// ---------------------------------------------------------------- about

QImage AboutLettering() {
    QImage img(277, 31, QImage::Format_RGB32);
    img.fill(QColor(192, 192, 192));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = TitlePath(TitleFont(25, 4), 138.5, 23);
    p.strokePath(path.translated(1, 1), QPen(QColor(255, 255, 255), 2.0));
    QLinearGradient g(path.boundingRect().topLeft(), path.boundingRect().bottomLeft());
    g.setColorAt(0.0, QColor(40, 80, 170));
    g.setColorAt(0.5, QColor(10, 30, 110));
    g.setColorAt(1.0, QColor(0, 10, 60));
    p.strokePath(path, QPen(QColor(0, 8, 40), 1.2));
    p.fillPath(path, g);
    return img;
}

// ---------------------------------------------------------------- buttons

QImage ButtonCaption(QSize size, const QString& text) {
    QImage img(size, QImage::Format_RGB32);
    {
        QPainter p(&img);
        QLinearGradient g(0, 0, 0, size.height());
        g.setColorAt(0.0, QColor(234, 232, 228));
        g.setColorAt(1.0, QColor(206, 203, 197));
        p.fillRect(img.rect(), g);
        QFont font(QStringLiteral("DejaVu Sans Condensed"));
        font.setBold(true);
        // One size for every caption; only a caption too long for its
        // button gets a smaller one.
        int pixels = 11;
        for (; pixels > 8; --pixels) {
            font.setPixelSize(pixels);
            if (QFontMetricsF(font).horizontalAdvance(text) <= size.width() - 4) break;
        }
        font.setPixelSize(pixels);
        p.setFont(font);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setPen(QColor(0, 0, 128));
        p.drawText(img.rect(), Qt::AlignCenter, text);
    }
    return img;
}

}  // namespace qv::pictures
