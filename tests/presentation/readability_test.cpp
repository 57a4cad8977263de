// What the map shows must read over the star field: the pictures without
// their black squares, the status line in every player colour on light and
// dark ground, the hover panels whole and inside the view.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/globals.h"
#include "model/world_generation.h"
#include "presentation/map_painter.h"
#include "presentation/raster.h"
#include "presentation/text_layers.h"

namespace qv {
namespace {

QImage Solid(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Over a light field each map picture leaves its black corners to the field and keeps its body: the
// brightest pixel, and for planets and asteroids the darkest pixel within 6 of the middle (the night
// side, inside every body). Over black each is drawn exactly as painted, in its place and size.
TEST(MapPictures, ShowOnlyTheirBodyOverTheStarField) {
    const PictureSet set = PictureSet::Load();
    constexpr QRgb kField = qRgb(170, 190, 230);
    for (int i = static_cast<int>(PictureRole::StarYellow); i <= static_cast<int>(PictureRole::BlastLarge); ++i) {
        const auto role = static_cast<PictureRole>(i);
        const bool body = role >= PictureRole::Planet1 && role <= PictureRole::AsteroidSpent;
        const QImage painted = QImage(PictureSet::ResourcePath(role)).convertToFormat(QImage::Format_RGB32);
        const int w = painted.width(), h = painted.height();
        QImage light = Solid(w + 20, h + 20, kField), black = Solid(w + 20, h + 20, qRgb(0, 0, 0));
        raster::Surface(light).blit(set.get(role), 10, 10);
        raster::Surface(black).blit(set.get(role), 10, 10);
        SCOPED_TRACE(InfoOf(role).name);
        EXPECT_EQ(black.copy(10, 10, w, h), painted);
        for (const QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
            EXPECT_EQ(light.pixel(corner + QPoint(10, 10)), kField);
        QPoint brightest, darkest(w / 2, h / 2);
        auto sum = [&](QPoint p) {
            return qRed(painted.pixel(p)) + qGreen(painted.pixel(p)) + qBlue(painted.pixel(p));
        };
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (sum({x, y}) > sum(brightest)) brightest = {x, y};
                if (std::hypot(x - w / 2, y - h / 2) <= 6 && sum({x, y}) < sum(darkest)) darkest = {x, y};
            }
        EXPECT_EQ(light.pixel(brightest + QPoint(10, 10)), painted.pixel(brightest));
        if (body) {
            EXPECT_EQ(light.pixel(darkest + QPoint(10, 10)), painted.pixel(darkest)) << sum(darkest);
        }
    }
}

double Luminance(QRgb c) {
    auto linear = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
}

// Texts at their places, white on black, drawn here in the map's font.
QImage Lettering(int width, int height, std::initializer_list<std::pair<QPoint, QString>> texts) {
    QImage image = Solid(width, height, qRgb(0, 0, 0));
    QPainter p(&image);
    p.setFont(MapFont());
    p.setPen(Qt::white);
    for (const auto& [at, text] : texts) p.drawText(at + QPoint(0, QFontMetrics(MapFont()).ascent()), text);
    return image;
}

// The contrast ratio between the letters (pixels they cover for 7/8 and more) and the ring around them
// (pixels they leave untouched next to one they cover), from the middle luminance of each.
double LetterContrast(const QImage& frame, const QImage& letters) {
    std::vector<double> inside, ring;
    auto covered = [&](int x, int y) { return letters.rect().contains(x, y) && qRed(letters.pixel(x, y)) >= 224; };
    for (int y = 0; y < letters.height(); ++y)
        for (int x = 0; x < letters.width(); ++x) {
            const double l = Luminance(frame.pixel(x, y));
            if (covered(x, y)) inside.push_back(l);
            else if (qRed(letters.pixel(x, y)) == 0 &&
                     (covered(x - 1, y) || covered(x + 1, y) || covered(x, y - 1) || covered(x, y + 1)))
                ring.push_back(l);
        }
    auto middle = [](std::vector<double>& v) {
        std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
        return v[v.size() / 2];
    };
    const double a = middle(inside), b = middle(ring);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The status line in every player colour and a white panel, on a dark and on a light field: the
// letters stand out from what is around them by at least 4.5 : 1.
TEST(MapTexts, ReadInEveryPlayerColourOnLightAndDarkGround) {
    ResetGlobals();
    Player human;
    std::tie(human.gold, human.planetCount, human.shipCount) = std::tuple(2000, 3, 12);
    Planet planet;
    planet.shieldPoints = 500;
    const QImage status = Lettering(320, 30,
                                    {{{5, 5}, "Gold:"},
                                     {{50, 5}, "2000"},
                                     {{110, 5}, "Planets:"},
                                     {{170, 5}, "3"},
                                     {{200, 5}, "Ships:"},
                                     {{255, 5}, "12"}});
    const QImage panel = Lettering(800, 230, {{{650, 200}, "Shield Points:"}, {{750, 200}, "500"}});
    for (const QRgb ground : {qRgb(12, 8, 30), qRgb(240, 236, 220)}) {
        PictureSet pictures;
        pictures.set(PictureRole::Stars, Solid(800, 600, ground));
        MapPainter painter(pictures);
        g_players = &human;
        for (const Colour colour : kPlayerColours) {
            human.colour = colour;
            painter.compose(FrameKind::Idle, {});
            EXPECT_GE(LetterContrast(painter.backBuffer(), status), 4.5) << std::hex << colour << " on " << ground;
        }
        g_players = nullptr;
        g_hoverPlanet = &planet;
        painter.compose(FrameKind::Idle, {});
        EXPECT_GE(LetterContrast(painter.backBuffer(), panel), 4.5) << "panel on " << std::hex << ground;
        g_hoverPlanet = nullptr;
    }
}

// Whether column x has ink in rows top .. top + rows - 1; the columns that have, over 16 rows.
bool Lit(const QImage& frame, int x, int top, int rows = 16) {
    for (int y = top; y < top + rows; ++y)
        if (frame.pixel(x, y) != qRgb(0, 0, 0)) return true;
    return false;
}
std::vector<int> LitColumns(const QImage& frame, int top) {
    std::vector<int> lit;
    for (int x = 0; x < frame.width(); ++x)
        if (Lit(frame, x, top)) lit.push_back(x);
    return lit;
}

// A hovered planet of each shipped race (data/races) shows its race's name whole, its panel moved left
// as one inside the view; a modder's over-long name ends in "…" there, its start as written.
TEST(MapTexts, PanelNamesShowWholeInsideTheView) {
    ResetGlobals();
    QStringList names;
    const QDir races(QStringLiteral(QUORVANE_FRAMES "/../../../data/races"));
    for (const QString& file : races.entryList({"*.json"})) {
        QFile f(races.filePath(file));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        names << QJsonDocument::fromJson(f.readAll()).object().value("name").toString();
    }
    ASSERT_EQ(names.size(), 4);
    const QString modded = QStringLiteral("The Most Serene Concord of the Outer Nebulae");
    names << modded;
    PictureSet pictures;
    pictures.set(PictureRole::Stars, Solid(800, 600, qRgb(0, 0, 0)));
    MapPainter painter(pictures);
    Race race;
    Player owner;
    Planet planet;
    std::tie(owner.race, planet.owner, planet.shieldPoints, g_hoverPlanet) = std::tuple(&race, &owner, 500, &planet);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        race.name = name.toStdString();
        painter.compose(FrameKind::Idle, {});
        const QImage& frame = painter.backBuffer();
        // Where the "Shield Points:" line starts, against where it was written before: the panel's move.
        const QImage lines =
            Lettering(1200, 230,
                      {{{650, 180}, "Race:"}, {{720, 180}, name}, {{650, 200}, "Shield Points:"}, {{750, 200}, "500"}});
        const std::vector<int> raceLine = LitColumns(frame, 180), shield = LitColumns(frame, 200);
        ASSERT_FALSE(raceLine.empty());
        ASSERT_FALSE(shield.empty());
        const int dx = shield.front() - LitColumns(lines, 200).front();
        EXPECT_LT(std::max(raceLine.back(), shield.back()), 799);
        EXPECT_EQ(frame.copy(0, 196, 800, 20), lines.copy(-dx, 196, 800, 20));  // the owner line below is not here
        if (name != modded) {
            EXPECT_EQ(frame.copy(0, 176, 800, 20), lines.copy(-dx, 176, 800, 20));
            continue;
        }
        // The label and the name's first word as written; the line ends in the ellipsis.
        EXPECT_EQ(frame.copy(0, 176, 720 + dx + 25, 20), lines.copy(-dx, 176, 720 + dx + 25, 20));
        const QImage dots = Lettering(20, 20, {{{0, 0}, QStringLiteral("…")}});
        const std::vector<int> dotColumns = LitColumns(dots, 0);
        const int from = raceLine.back() - (dotColumns.back() - dotColumns.front());
        int runs = 0, offTheDots = 0;
        for (int x = from; x <= raceLine.back(); ++x) {
            runs += Lit(frame, x, 180) && (x == from || !Lit(frame, x - 1, 180));
            for (int y = 0; y < 16; ++y)
                offTheDots += Lit(frame, x, 180 + y, 1) &&
                              std::ranges::none_of(dotColumns, [&](int c) { return Lit(dots, c, y, 1); });
        }
        EXPECT_EQ(runs, 3);
        EXPECT_EQ(offTheDots, 0);
    }
    g_hoverPlanet = nullptr;
}

}  // namespace
}  // namespace qv
