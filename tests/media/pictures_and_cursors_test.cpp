// The built-in pictures and cursors: quorvane-make-pictures writes the same
// bytes on every run as the ones built into the program; each picture has
// its size and shows what it is for; each cursor is two-coloured on
// transparent and points at its hot spot.
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

#include "built_in_pictures.h"
#include "presentation/media/cursor_set.h"

namespace {

using qv::media::CursorEntry;
using qv::media::CursorRole;

int RunGenerator(const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QStringLiteral(QUORVANE_MAKE_PICTURES), args);
    if (!p.waitForFinished(180000)) return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
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

// Mean over the rectangle of luma, or of red minus blue, or of green minus red.
enum Measure { Luma, RedOverBlue, GreenOverRed };
double Mean(const QImage& img, const QRect& r, Measure m) {
    double sum = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb c = img.pixel(x, y);
            sum += m == Luma          ? 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c)
                   : m == RedOverBlue ? qRed(c) - qBlue(c)
                                      : qGreen(c) - qRed(c);
        }
    return sum / (r.width() * r.height());
}

}  // namespace

TEST(PictureGenerator, TwoRunsWriteTheBuiltInBytesAndWrongUsageExitsWithTwo) {
    QTemporaryDir first, second;
    ASSERT_TRUE(first.isValid() && second.isValid());
    ASSERT_EQ(RunGenerator({first.path()}), 0);
    ASSERT_EQ(RunGenerator({second.path()}), 0);
    int files = 0;
    for (const QString sub : {"pictures", "cursors"})
        for (const QString& name : QDir(first.filePath(sub)).entryList(QDir::Files)) {
            const QString file = sub + '/' + name;
            SCOPED_TRACE(file.toStdString());
            ++files;
            EXPECT_FALSE(Bytes(first.filePath(file)).isEmpty());
            EXPECT_EQ(Bytes(first.filePath(file)), Bytes(second.filePath(file)));
            EXPECT_EQ(Bytes(first.filePath(file)), Bytes(":/" + file));
        }
    // Every picture of the set and every cursor but the system arrow.
    EXPECT_EQ(files, qv::media::kBuiltInPictures.size() + qv::media::kCursorTable.size() - 1);
    EXPECT_EQ(RunGenerator({}), 2);
    EXPECT_EQ(RunGenerator({"a", "b"}), 2);
}

TEST(BuiltInPictures, EachHasItsSizeOpaqueAndLoadsAsRgb32) {
    for (const qv::media::PictureEntry& e : qv::media::kBuiltInPictures) {
        SCOPED_TRACE(std::string(e.name));
        const QImage img = Picture(":/pictures/" + std::string(e.name) + ".png");
        ASSERT_EQ(img.size(), QSize(e.width, e.height));
        for (int y = 0; y < e.height; ++y)
            for (int x = 0; x < e.width; ++x) ASSERT_EQ(qAlpha(img.pixel(x, y)), 255);
        const QImage loaded = qv::media::LoadBuiltInPicture(e.name);
        EXPECT_EQ(loaded.format(), QImage::Format_RGB32);
        EXPECT_EQ(loaded, img.convertToFormat(QImage::Format_RGB32));
    }
    EXPECT_TRUE(qv::media::LoadBuiltInPicture("planet4").isNull());
}

TEST(BuiltInPictures, EachShowsWhatItIsFor) {
    struct Row {
        const char* name;
        QRect area;
        Measure measure;
        double low, high;
    };
    const Row rows[] = {
        {"stars", {0, 0, 800, 600}, Luma, 0.2, 15},              // a dark sky with stars
        {"star_yellow", {70, 70, 21, 21}, Luma, 190, 255},       // bright in the middle
        {"star_yellow", {125, 75, 8, 10}, Luma, 25, 120},        // glowing flames
        {"star_yellow", {0, 0, 12, 12}, Luma, 0, 4},             // dark corners
        {"star_yellow", {0, 0, 163, 40}, RedOverBlue, 10, 255},  // orange flames
        {"star_blue", {70, 70, 21, 21}, Luma, 190, 255},
        {"star_blue", {0, 0, 163, 40}, RedOverBlue, -255, -10},  // cyan-blue flames
        {"planet1", {12, 14, 10, 10}, Luma, 100, 255},           // lit from the upper left
        {"planet1", {38, 36, 10, 10}, Luma, 0, 40},
        {"planet1", {0, 0, 6, 6}, Luma, 0, 3},
        {"planet2", {12, 14, 10, 10}, GreenOverRed, 50, 255},  // cyan
        {"planet3", {12, 14, 10, 10}, RedOverBlue, 20, 255},   // brown
        {"asteroid_rich", {8, 8, 18, 18}, Luma, 10, 70},       // a dark rock
        {"asteroid_spent", {8, 8, 18, 18}, Luma, 75, 255},     // a pale sandy one
        {"asteroid_spent", {8, 8, 18, 18}, RedOverBlue, 15, 255},
        {"asteroid_rich", {0, 0, 4, 4}, Luma, 0, 3},
        {"blast_small_a", {12, 12, 6, 6}, Luma, 230, 255},  // a white-hot flash
        {"blast_small_b", {12, 12, 6, 6}, Luma, 0, 190},    // a cooler cloud
        {"blast_small_b", {0, 0, 30, 30}, RedOverBlue, 30, 255},
        {"blast_large", {25, 25, 10, 10}, Luma, 220, 255},
        {"title", {340, 175, 121, 21}, Luma, 0, 25},    // dark under the version line
        {"title", {550, 475, 20, 16}, Luma, 240, 255},  // the lens flare's sun
        {"about", {0, 0, 3, 3}, Luma, 176, 208},        // grey
    };
    for (const Row& r : rows) {
        const double mean = Mean(Picture(":/pictures/" + std::string(r.name) + ".png"), r.area, r.measure);
        EXPECT_TRUE(mean >= r.low && mean <= r.high)
            << r.name << " at " << r.area.x() << "," << r.area.y() << ": " << mean;
    }
    // Buttons: dark lettering in the middle of light grey.
    for (const qv::media::PictureEntry& e : qv::media::kBuiltInPictures) {
        if (!e.name.starts_with("button_")) continue;
        const QImage img = Picture(":/pictures/" + std::string(e.name) + ".png");
        const double grey = Mean(img, {0, 0, 3, 3}, Luma);
        EXPECT_GE(grey, 180) << e.name;
        EXPECT_LT(Mean(img, {e.width / 4, 8, e.width / 2, 9}, Luma), grey - 20) << e.name;
    }
}

TEST(Cursors, TwoColouredOnTransparentPointingAtTheirHotSpot) {
    EXPECT_EQ(qv::media::CursorFor(CursorRole::Standard).shape(), Qt::ArrowCursor);
    struct Way {
        CursorRole role;
        int dx, dy;  // the way the arrow points
    };
    const Way ways[] = {
        {CursorRole::ScrollUpLeft, -1, -1},
        {CursorRole::ScrollDownRight, 1, 1},
        {CursorRole::ScrollDownLeft, -1, 1},
        {CursorRole::ScrollUp, 0, -1},
        {CursorRole::ScrollDown, 0, 1},
        {CursorRole::ScrollRight, 1, 0},
        {CursorRole::ScrollLeft, -1, 0},
        {CursorRole::ScrollUpRight, 1, -1},
        {CursorRole::Attack, 0, 0},
        {CursorRole::Move, 0, 0},
        {CursorRole::Jump, 0, 0},
        {CursorRole::Land, 0, 0},
        {CursorRole::Information, 0, 0},
        {CursorRole::Missile, 0, 0},
        {CursorRole::HyperJump, 0, 0},
    };
    for (const Way& w : ways) {
        const CursorEntry& e = qv::media::CursorEntryFor(w.role);
        SCOPED_TRACE(std::string(e.name));
        const QImage img = Picture(e.resource);
        ASSERT_EQ(img.size(), QSize(32, 32));
        const QCursor cursor = qv::media::CursorFor(e.role);
        EXPECT_EQ(cursor.hotSpot(), QPoint(e.hotX, e.hotY));
        EXPECT_EQ(cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32), img);
        int black = 0, white = 0, other = 0, unframed = 0, beyondTip = 0, atTip = 0;
        bool nearHotSpot = false;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const QRgb c = img.pixel(x, y);
                if (!Drawn(img, x, y)) continue;
                black += c == 0xFF000000u;
                white += c == 0xFFFFFFFFu;
                other += c != 0xFF000000u && c != 0xFFFFFFFFu;
                // Crisp outline: white never touches transparency or the edge.
                unframed += c == 0xFFFFFFFFu && !(Drawn(img, x - 1, y) && Drawn(img, x + 1, y) &&
                                                  Drawn(img, x, y - 1) && Drawn(img, x, y + 1));
                nearHotSpot = nearHotSpot || (std::abs(x - e.hotX) <= 1 && std::abs(y - e.hotY) <= 1);
                const int along = (x - e.hotX) * w.dx + (y - e.hotY) * w.dy;
                beyondTip += along > 0;
                atTip += along == 0;
            }
        EXPECT_EQ(other, 0) << "no blended edges";
        EXPECT_EQ(unframed, 0) << "white without its black outline";
        EXPECT_GT(black, 30);
        EXPECT_GT(white, 20);
        EXPECT_TRUE(nearHotSpot);
        if (w.dx != 0 || w.dy != 0) {
            EXPECT_TRUE(Drawn(img, e.hotX, e.hotY)) << "the tip is drawn";
            EXPECT_EQ(beyondTip, 0) << "nothing lies beyond the tip";
            EXPECT_TRUE(atTip == 1 || (w.dx != 0 && w.dy != 0)) << "a straight arrow comes to a point";
        }
    }
    // Move, jump and land share the arrow but not the word below it.
    const QImage move = Picture(qv::media::CursorEntryFor(CursorRole::Move).resource);
    const QImage jump = Picture(qv::media::CursorEntryFor(CursorRole::Jump).resource);
    const QImage land = Picture(qv::media::CursorEntryFor(CursorRole::Land).resource);
    EXPECT_EQ(jump.copy(0, 0, 32, 15), move.copy(0, 0, 32, 15));
    EXPECT_EQ(land.copy(0, 0, 32, 15), move.copy(0, 0, 32, 15));
    EXPECT_TRUE(move != jump && move != land && jump != land);
}
