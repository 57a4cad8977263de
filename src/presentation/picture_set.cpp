#include "presentation/picture_set.h"

#include <QColor>
#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QtGlobal>

#include <cstdint>
#include <vector>

namespace qv {

namespace {

// In the order of PictureRole.
constexpr std::array<PictureInfo, kPictureRoleCount> kInfo = {{
    {"stars", 800, 600, nullptr},
    {"star_yellow", 163, 158, nullptr},
    {"star_blue", 163, 158, nullptr},
    {"planet1", 60, 60, nullptr},
    {"planet2", 60, 60, nullptr},
    {"planet3", 60, 60, nullptr},
    {"asteroid_rich", 34, 34, nullptr},
    {"asteroid_spent", 34, 34, nullptr},
    {"blast_small_a", 30, 30, nullptr},
    {"blast_small_b", 30, 30, nullptr},
    {"blast_large", 60, 60, nullptr},
    {"title", 800, 600, nullptr},
    {"about", 277, 31, nullptr},
    {"button_cancel", 60, 25, "Cancel"},
    {"button_start_ship", 65, 25, "Start ship"},
    {"button_load_ship", 70, 25, "Load ship"},
    {"button_build_ship", 70, 25, "Build ship"},
    {"button_sell_ship", 70, 25, "Sell ship"},
    {"button_equip_ship", 70, 25, "Equip ship"},
    {"button_unload_ship", 76, 25, "Unload ship"},
    {"button_equip_planet", 80, 24, "Equip planet"},
    {"button_sell", 70, 25, "Sell"},
    {"button_buy", 70, 25, "Buy"},
    {"button_hyper_jump", 80, 25, "Hyper Jump"},
    {"button_start_missile", 80, 25, "Start Missile"},
    {"button_ok", 50, 25, "Ok"},
    {"button_repair_planet", 88, 25, "Repair Planet"},
    {"button_repair_ship", 89, 25, "Repair Ship"},
}};

// Text needs the font database of a GUI application; without one the
// stand-ins go without their lettering.
bool CanDrawText() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

QImage Blank(const PictureInfo& info, QColor background) {
    QImage image(info.width, info.height, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

// A fixed scatter of stars of a few brightnesses on black.
void ScatterStars(QImage& image, int count) {
    std::uint32_t state = 0x2545F491u;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    for (int i = 0; i < count; ++i) {
        const int x = static_cast<int>(next() % static_cast<std::uint32_t>(image.width()));
        const int y = static_cast<int>(next() % static_cast<std::uint32_t>(image.height()));
        const int level = 90 + static_cast<int>(next() % 166u);
        image.setPixel(x, y, qRgb(level, level, qMin(255, level + 20)));
    }
}

void Disc(QImage& image, QPointF centre, qreal radius, QColor fill, QColor rim) {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(rim, 2));
    p.setBrush(fill);
    p.drawEllipse(centre, radius, radius);
}

void Lettering(QImage& image, const QString& text, QColor colour, int pixelSize, bool bold) {
    if (!CanDrawText()) return;
    QPainter p(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(image.rect(), Qt::AlignCenter, text);
}

// How a picture lies over what is drawn before it.
enum class Backdrop {
    Opaque,  // the star field, the title, the buttons: drawn whole
    Body,    // planets and asteroids: a solid body on a black background
    Light,   // the stars and the blasts: light on black
};

Backdrop BackdropOf(PictureRole role) {
    switch (role) {
        case PictureRole::Planet1:
        case PictureRole::Planet2:
        case PictureRole::Planet3:
        case PictureRole::AsteroidRich:
        case PictureRole::AsteroidSpent: return Backdrop::Body;
        case PictureRole::StarYellow:
        case PictureRole::StarBlue:
        case PictureRole::BlastSmallA:
        case PictureRole::BlastSmallB:
        case PictureRole::BlastLarge: return Backdrop::Light;
        default: return Backdrop::Opaque;
    }
}

// A body hides what lies behind it, its dark night side too, which may hold
// black or nearly black pixels: only the black reaching the border through
// black pixels is background, and becomes transparent.
QImage WithoutBackground(const QImage& rgb) {
    QImage image = rgb.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int width = image.width();
    const int height = image.height();
    std::vector<QPoint> reached;
    auto reach = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= width || y >= height) return;
        QRgb& pixel = reinterpret_cast<QRgb*>(image.scanLine(y))[x];
        if (pixel != qRgb(0, 0, 0)) return;  // part of the body, or already transparent
        pixel = qRgba(0, 0, 0, 0);
        reached.emplace_back(x, y);
    };
    for (int x = 0; x < width; ++x) reach(x, 0), reach(x, height - 1);
    for (int y = 0; y < height; ++y) reach(0, y), reach(width - 1, y);
    while (!reached.empty()) {
        const QPoint p = reached.back();
        reached.pop_back();
        reach(p.x() + 1, p.y()), reach(p.x() - 1, p.y()), reach(p.x(), p.y() + 1), reach(p.x(), p.y() - 1);
    }
    // The body's rim was painted partly over black, and a thin haze round a
    // globe fades into it: the two outermost rings of the body, a pixel beside
    // a transparent one (or the picture's border) each time, are as opaque as they are bright against
    // the brightest pixel inside next to them (wholly when as bright or
    // brighter; a speck with nothing inside next to it, by its own
    // brightness). Their colours stay, so over black they show as painted.
    auto brightness = [](QRgb c) { return qMax(qRed(c), qMax(qGreen(c), qBlue(c))); };
    for (int ring = 0; ring < 2; ++ring) {
        const QImage keyed = image.copy();
        auto at = [&](int x, int y) {
            const bool inside = x >= 0 && y >= 0 && x < width && y < height;
            return inside ? reinterpret_cast<const QRgb*>(keyed.constScanLine(y))[x] : qRgba(0, 0, 0, 0);
        };
        auto rim = [&](int x, int y) {
            return qAlpha(at(x, y)) == 255 && (qAlpha(at(x + 1, y)) < 255 || qAlpha(at(x - 1, y)) < 255 ||
                                               qAlpha(at(x, y + 1)) < 255 || qAlpha(at(x, y - 1)) < 255);
        };
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                if (!rim(x, y)) continue;
                int within = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (qAlpha(at(x + dx, y + dy)) == 255 && !rim(x + dx, y + dy))
                            within = qMax(within, brightness(at(x + dx, y + dy)));
                if (within == 0) within = 255;
                const QRgb c = at(x, y);
                if (brightness(c) < within)
                    reinterpret_cast<QRgb*>(image.scanLine(y))[x] =
                        qRgba(qRed(c), qGreen(c), qBlue(c), (255 * brightness(c) + within / 2) / within);
            }
    }
    return image;
}

// A light adds to what lies behind it: each pixel is as opaque as twice its
// brightest channel (pixels of half brightness and more wholly), its colour
// kept as the premultiplied colour. On black it shows exactly as painted;
// its glow fades into the star field instead of blacking it out.
QImage AsLight(const QImage& rgb) {
    QImage image = rgb.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int r = qRed(line[x]), g = qGreen(line[x]), b = qBlue(line[x]);
            line[x] = qRgba(r, g, b, qMin(255, 2 * qMax(r, qMax(g, b))));
        }
    }
    return image;
}

}  // namespace

const PictureInfo& InfoOf(PictureRole role) { return kInfo[static_cast<std::size_t>(role)]; }

QString PictureSet::ResourcePath(PictureRole role) {
    return QStringLiteral(":/pictures/") + QLatin1String(InfoOf(role).name) + QStringLiteral(".png");
}

QImage PictureSet::StandIn(PictureRole role) {
    const PictureInfo& info = InfoOf(role);
    if (info.caption) {
        QImage image = Blank(info, QColor(192, 192, 192));
        Lettering(image, QString::fromLatin1(info.caption), QColor(0, 0, 128), 11, false);
        return image;
    }
    QImage image = Blank(info, Qt::black);
    const QPointF middle(info.width / 2.0, info.height / 2.0);
    switch (role) {
    case PictureRole::Stars: ScatterStars(image, 700); break;
    case PictureRole::StarYellow: Disc(image, middle, 60, QColor(255, 220, 40), QColor(255, 120, 0)); break;
    case PictureRole::StarBlue: Disc(image, middle, 60, QColor(120, 170, 255), QColor(0, 230, 255)); break;
    case PictureRole::Planet1: Disc(image, middle, 27, QColor(200, 200, 200), QColor(240, 240, 240)); break;
    case PictureRole::Planet2: Disc(image, middle, 27, QColor(130, 130, 140), QColor(0, 200, 220)); break;
    case PictureRole::Planet3: Disc(image, middle, 27, QColor(140, 90, 50), QColor(150, 150, 150)); break;
    case PictureRole::AsteroidRich: Disc(image, middle, 14, QColor(70, 60, 55), QColor(100, 90, 80)); break;
    case PictureRole::AsteroidSpent: Disc(image, middle, 14, QColor(210, 190, 140), QColor(230, 215, 170)); break;
    case PictureRole::BlastSmallA: Disc(image, middle, 8, QColor(255, 240, 120), QColor(255, 140, 0)); break;
    case PictureRole::BlastSmallB: Disc(image, middle, 13, QColor(255, 150, 30), QColor(200, 40, 0)); break;
    case PictureRole::BlastLarge: Disc(image, middle, 27, QColor(255, 200, 60), QColor(220, 60, 0)); break;
    case PictureRole::Title:
        ScatterStars(image, 900);
        Lettering(image, QStringLiteral("QUORVANE"), QColor(200, 210, 255), 72, true);
        break;
    case PictureRole::About:
        image.fill(QColor(128, 128, 128));
        Lettering(image, QStringLiteral("QUORVANE"), QColor(20, 20, 60), 20, true);
        break;
    default: break;
    }
    return image;
}

PictureSet::PictureSet() {
    for (int i = 0; i < kPictureRoleCount; ++i) set(static_cast<PictureRole>(i), QImage());
}

PictureSet PictureSet::Load() {
    PictureSet set;
    for (int i = 0; i < kPictureRoleCount; ++i) {
        const auto role = static_cast<PictureRole>(i);
        const QImage image(ResourcePath(role));
        if (image.isNull()) continue;  // not built into this program: the stand-in stays
        const PictureInfo& info = InfoOf(role);
        if (image.width() != info.width || image.height() != info.height) {
            qWarning("picture %s is %dx%d, expected %dx%d; using a stand-in", info.name, image.width(),
                     image.height(), info.width, info.height);
            continue;
        }
        set.set(role, image);
        set.loaded_[i] = true;
    }
    return set;
}

void PictureSet::set(PictureRole role, const QImage& image) {
    const std::size_t i = index(role);
    loaded_[i] = false;
    const QImage rgb = image.isNull() ? StandIn(role) : image.convertToFormat(QImage::Format_RGB32);
    switch (BackdropOf(role)) {
        case Backdrop::Opaque: images_[i] = rgb; break;
        case Backdrop::Body: images_[i] = WithoutBackground(rgb); break;
        case Backdrop::Light: images_[i] = AsLight(rgb); break;
    }
}

}  // namespace qv
