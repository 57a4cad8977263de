// The built-in pictures and cursors: quorvane-make-pictures writes the same
// bytes on every run as the ones built into the program; each picture has its
// size and shows what it is for; each cursor is black and white on
// transparent and points at its hot spot.
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "built_in_pictures.h"
#include "presentation/media/cursor_set.h"

namespace {

using qv::media::CursorRole;

int RunGenerator(const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QStringLiteral(QUORVANE_MAKE_PICTURES), args);
    return p.waitForFinished(180000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QImage Picture(std::string_view resource) {
    return QImage(QString::fromUtf8(resource.data(), static_cast<qsizetype>(resource.size())))
        .convertToFormat(QImage::Format_ARGB32);
}

bool Drawn(const QImage& img, int x, int y) { return img.rect().contains(x, y) && qAlpha(img.pixel(x, y)) > 0; }

// Mean over the rectangle of luma, or of red minus blue.
enum Measure { Luma, RedOverBlue };
double Mean(const QImage& img, const QRect& r, Measure m) {
    double sum = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb c = img.pixel(x, y);
            sum += m == Luma ? 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c) : qRed(c) - qBlue(c);
        }
    return sum / (r.width() * r.height());
}

}  // namespace

TEST(PictureGenerator, WritesTheBuiltInBytesAndWrongUsageExitsWithTwo) {
    // The built-in pictures come from an earlier run: the same bytes again.
    QTemporaryDir dir;
    ASSERT_EQ(RunGenerator({dir.path()}), 0);
    int files = 0;
    for (const QString sub : {"pictures", "cursors"})
        for (const QString& name : QDir(dir.filePath(sub)).entryList(QDir::Files)) {
            const QString file = sub + '/' + name;
            EXPECT_EQ(Bytes(dir.filePath(file)), Bytes(":/" + file)) << file.toStdString();
            ++files;
        }
    // Every picture of the set and every cursor but the system arrow.
    EXPECT_EQ(files, qv::media::kBuiltInPictures.size() + qv::media::kCursorTable.size() - 1);
    EXPECT_EQ(RunGenerator({}), 2);
    EXPECT_EQ(RunGenerator({"a", "b"}), 2);
}

TEST(BuiltInPictures, EachHasItsSizeAndShowsWhatItIsFor) {
    for (const qv::media::PictureEntry& e : qv::media::kBuiltInPictures) {
        const QImage img = Picture(":/pictures/" + std::string(e.name) + ".png");
        ASSERT_EQ(img.size(), QSize(e.width, e.height)) << e.name;
        EXPECT_EQ(img.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_ARGB32), img) << "opaque";
        const QImage loaded = qv::media::LoadBuiltInPicture(e.name);
        EXPECT_TRUE(loaded.format() == QImage::Format_RGB32 && loaded == img.convertToFormat(QImage::Format_RGB32));
    }
    using Row = std::tuple<const char*, QRect, Measure, double, double>;  // the mean's bounds
    for (const auto& [name, area, measure, low, high] : {
             Row{"stars", {0, 0, 800, 600}, Luma, 0.2, 15},             // a dark sky with stars
             Row{"star_yellow", {70, 70, 21, 21}, Luma, 190, 255},      // bright in the middle
             Row{"star_yellow", {0, 0, 163, 40}, RedOverBlue, 10, 99},  // orange flames
             Row{"star_blue", {0, 0, 163, 40}, RedOverBlue, -99, -10},  // cyan-blue ones
             Row{"planet1", {38, 36, 10, 10}, Luma, 0, 40},             // in shadow on the lower right
             Row{"planet2", {12, 14, 10, 10}, RedOverBlue, -255, -50},  // cyan
             Row{"planet3", {12, 14, 10, 10}, RedOverBlue, 20, 255},    // brown
             Row{"asteroid_rich", {8, 8, 18, 18}, Luma, 10, 70},        // a dark rock
             Row{"asteroid_spent", {8, 8, 18, 18}, Luma, 75, 255},      // a pale sandy one
             Row{"blast_small_a", {12, 12, 6, 6}, Luma, 230, 255},      // a white-hot flash
             Row{"blast_small_b", {12, 12, 6, 6}, Luma, 0, 190},        // a cooler cloud
             Row{"blast_large", {25, 25, 10, 10}, Luma, 220, 255},
             Row{"title", {340, 175, 121, 21}, Luma, 0, 25},    // dark under the version line
             Row{"title", {550, 475, 20, 16}, Luma, 240, 255},  // the lens flare's sun
             Row{"about", {0, 0, 3, 3}, Luma, 176, 208},        // grey
         }) {
        const double mean = Mean(Picture(":/pictures/" + std::string(name) + ".png"), area, measure);
        EXPECT_TRUE(mean >= low && mean <= high) << name << " at " << area.x() << "," << area.y() << ": " << mean;
    }
}

TEST(Cursors, BlackAndWhiteOnTransparentPointingAtTheirHotSpot) {
    EXPECT_EQ(qv::media::CursorFor(CursorRole::Standard).shape(), Qt::ArrowCursor);
    // The way each scroll arrow points.
    const std::map<CursorRole, QPoint> ways = {
        {CursorRole::ScrollUpLeft, {-1, -1}},  {CursorRole::ScrollDownRight, {1, 1}},
        {CursorRole::ScrollDownLeft, {-1, 1}}, {CursorRole::ScrollUp, {0, -1}},
        {CursorRole::ScrollDown, {0, 1}},      {CursorRole::ScrollRight, {1, 0}},
        {CursorRole::ScrollLeft, {-1, 0}},     {CursorRole::ScrollUpRight, {1, -1}}};
    for (const qv::media::CursorEntry& e : qv::media::kCursorTable) {
        if (e.role == CursorRole::Standard) continue;
        SCOPED_TRACE(std::string(e.name));
        const QImage img = Picture(e.resource);
        ASSERT_EQ(img.size(), QSize(32, 32));
        const QCursor cursor = qv::media::CursorFor(e.role);
        EXPECT_EQ(cursor.hotSpot(), QPoint(e.hotX, e.hotY));
        EXPECT_EQ(cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32), img);
        const QPoint w = ways.contains(e.role) ? ways.at(e.role) : QPoint();
        int black = 0, white = 0, other = 0, beyondTip = 0, nearHotSpot = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                if (!Drawn(img, x, y)) continue;
                const QRgb c = img.pixel(x, y);
                black += c == 0xFF000000u;
                white += c == 0xFFFFFFFFu;
                other += c != 0xFF000000u && c != 0xFFFFFFFFu;
                nearHotSpot += std::abs(x - e.hotX) <= 1 && std::abs(y - e.hotY) <= 1;
                beyondTip += (x - e.hotX) * w.x() + (y - e.hotY) * w.y() > 0;  // nothing beyond an arrow's tip
            }
        EXPECT_TRUE(black > 30 && white > 20 && other == 0) << black << " " << white << " " << other;
        EXPECT_TRUE(nearHotSpot > 0 && beyondTip == 0) << nearHotSpot << " " << beyondTip;
    }
    // Move, jump and land differ in the word below the arrow.
    const QImage move = Picture(":/cursors/move.png"), jump = Picture(":/cursors/jump.png");
    EXPECT_TRUE(move != jump && move != Picture(":/cursors/land.png") && jump != Picture(":/cursors/land.png"));
}
