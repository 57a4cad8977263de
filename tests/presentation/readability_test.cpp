// What the map shows must read over the star field: the pictures without
// their black squares.
#include <gtest/gtest.h>

#include <cmath>

#include "presentation/picture_set.h"
#include "presentation/raster.h"

namespace qv {
namespace {

QImage Solid(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Over a light field each map picture leaves its black corners to the field and keeps its body: the
// brightest pixel, and for planets and asteroids the darkest pixel within 8 of the middle (the night
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
                if (std::hypot(x - w / 2, y - h / 2) <= 8 && sum({x, y}) < sum(darkest)) darkest = {x, y};
            }
        EXPECT_EQ(light.pixel(brightest + QPoint(10, 10)), painted.pixel(brightest));
        if (body) EXPECT_EQ(light.pixel(darkest + QPoint(10, 10)), painted.pixel(darkest)) << sum(darkest);
    }
}

}  // namespace
}  // namespace qv
