// The cursor set: sixteen roles with their pictures and hot spots; every
// picture two-coloured on transparent, every arrow pointing at its hot spot.
#include <QCursor>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "presentation/media/cursor_set.h"

using qv::media::CursorEntry;
using qv::media::CursorRole;
using qv::media::kCursorTable;

namespace {

struct Required {
    CursorRole role;
    const char* picture;  // empty for the system arrow
    int hotX, hotY;
};

constexpr Required kRequired[] = {
    {CursorRole::Standard, "", 0, 0},
    {CursorRole::ScrollUpLeft, ":/cursors/scroll_up_left.png", 0, 0},
    {CursorRole::ScrollDownRight, ":/cursors/scroll_down_right.png", 31, 31},
    {CursorRole::ScrollDownLeft, ":/cursors/scroll_down_left.png", 0, 31},
    {CursorRole::ScrollUp, ":/cursors/scroll_up.png", 15, 0},
    {CursorRole::ScrollDown, ":/cursors/scroll_down.png", 16, 31},
    {CursorRole::ScrollRight, ":/cursors/scroll_right.png", 31, 16},
    {CursorRole::ScrollLeft, ":/cursors/scroll_left.png", 0, 15},
    {CursorRole::ScrollUpRight, ":/cursors/scroll_up_right.png", 31, 0},
    {CursorRole::Attack, ":/cursors/attack.png", 15, 15},
    {CursorRole::Move, ":/cursors/move.png", 15, 14},
    {CursorRole::Jump, ":/cursors/jump.png", 15, 14},
    {CursorRole::Land, ":/cursors/land.png", 15, 14},
    {CursorRole::Information, ":/cursors/information.png", 15, 16},
    {CursorRole::Missile, ":/cursors/missile.png", 16, 15},
    {CursorRole::HyperJump, ":/cursors/hyper_jump.png", 18, 15},
};

QImage Picture(const CursorEntry& e) {
    return QImage(QString::fromUtf8(e.resource.data(), static_cast<qsizetype>(e.resource.size())))
        .convertToFormat(QImage::Format_ARGB32);
}

bool Drawn(const QImage& img, int x, int y) {
    return x >= 0 && y >= 0 && x < img.width() && y < img.height() && qAlpha(img.pixel(x, y)) > 0;
}

}  // namespace

TEST(CursorSet, EveryRoleHasItsPictureAndHotSpot) {
    ASSERT_EQ(kCursorTable.size(), std::size(kRequired));
    std::set<std::string_view> names;
    for (const Required& r : kRequired) {
        const CursorEntry& e = qv::media::CursorEntryFor(r.role);
        SCOPED_TRACE(std::string(e.name));
        EXPECT_EQ(e.role, r.role);
        EXPECT_EQ(e.resource, r.picture);
        EXPECT_EQ(e.hotX, r.hotX);
        EXPECT_EQ(e.hotY, r.hotY);
        names.insert(e.name);
    }
    EXPECT_EQ(names.size(), kCursorTable.size());
}

TEST(CursorSet, PicturesAreBlackAndWhiteOnTransparent) {
    for (const CursorEntry& e : kCursorTable) {
        if (e.resource.empty()) continue;
        SCOPED_TRACE(std::string(e.name));
        const QImage img = Picture(e);
        ASSERT_FALSE(img.isNull());
        ASSERT_EQ(img.size(), QSize(32, 32));
        int black = 0, white = 0, clear = 0, other = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const QRgb c = img.pixel(x, y);
                if (qAlpha(c) == 0) ++clear;
                else if (c == 0xFF000000u) ++black;
                else if (c == 0xFFFFFFFFu) ++white;
                else ++other;
            }
        EXPECT_EQ(other, 0);  // crisp: no blended edges
        EXPECT_GT(black, 30);
        EXPECT_GT(white, 20);
        EXPECT_GT(clear, 300);
        // The outline: no white pixel touches a transparent one or the edge.
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                if (img.pixel(x, y) != 0xFFFFFFFFu) continue;
                for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
                    EXPECT_TRUE(Drawn(img, x + d.x(), y + d.y())) << "white at " << x << "," << y << " has no outline";
            }
    }
}

TEST(CursorSet, HotSpotIsOnOrNextToTheDrawing) {
    for (const CursorEntry& e : kCursorTable) {
        if (e.resource.empty()) continue;
        SCOPED_TRACE(std::string(e.name));
        const QImage img = Picture(e);
        bool near = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) near = near || Drawn(img, e.hotX + dx, e.hotY + dy);
        EXPECT_TRUE(near);
    }
}

TEST(CursorSet, ScrollArrowsPointAtTheirHotSpot) {
    struct Way {
        CursorRole role;
        int dx, dy;  // the way the arrow points
    };
    const Way ways[] = {
        {CursorRole::ScrollUpLeft, -1, -1}, {CursorRole::ScrollDownRight, 1, 1}, {CursorRole::ScrollDownLeft, -1, 1},
        {CursorRole::ScrollUp, 0, -1},      {CursorRole::ScrollDown, 0, 1},      {CursorRole::ScrollRight, 1, 0},
        {CursorRole::ScrollLeft, -1, 0},    {CursorRole::ScrollUpRight, 1, -1},
    };
    for (const Way& w : ways) {
        const CursorEntry& e = qv::media::CursorEntryFor(w.role);
        SCOPED_TRACE(std::string(e.name));
        const QImage img = Picture(e);
        // The tip is drawn, and no drawn pixel lies further the way it points.
        ASSERT_TRUE(Drawn(img, e.hotX, e.hotY));
        const int tip = e.hotX * w.dx + e.hotY * w.dy;
        int tipPixels = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                if (!Drawn(img, x, y)) continue;
                const int along = x * w.dx + y * w.dy;
                EXPECT_LE(along, tip) << "pixel " << x << "," << y << " beyond the tip";
                tipPixels += along == tip ? 1 : 0;
            }
        // A straight arrow comes to a point; a diagonal one to a corner.
        if (w.dx == 0 || w.dy == 0) {
            EXPECT_EQ(tipPixels, 1);
        }
        // The body lies behind the tip, centred on the line through it.
        double across = 0;
        int n = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (Drawn(img, x, y)) {
                    across += (x - e.hotX) * -w.dy + (y - e.hotY) * w.dx;
                    ++n;
                }
        EXPECT_NEAR(across / n, 0.0, 0.6);
    }
}

TEST(CursorSet, MoveJumpAndLandShareTheArrowButNotTheWord) {
    const QImage move = Picture(qv::media::CursorEntryFor(CursorRole::Move));
    const QImage jump = Picture(qv::media::CursorEntryFor(CursorRole::Jump));
    const QImage land = Picture(qv::media::CursorEntryFor(CursorRole::Land));
    EXPECT_EQ(move.copy(0, 0, 32, 15), jump.copy(0, 0, 32, 15));
    EXPECT_EQ(move.copy(0, 0, 32, 15), land.copy(0, 0, 32, 15));
    EXPECT_NE(move, jump);
    EXPECT_NE(move, land);
    EXPECT_NE(jump, land);
}

TEST(CursorSet, CursorForBuildsThePictureWithItsHotSpot) {
    EXPECT_EQ(qv::media::CursorFor(CursorRole::Standard).shape(), Qt::ArrowCursor);
    for (const CursorEntry& e : kCursorTable) {
        if (e.resource.empty()) continue;
        SCOPED_TRACE(std::string(e.name));
        const QCursor cursor = qv::media::CursorFor(e.role);
        EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
        EXPECT_EQ(cursor.hotSpot(), QPoint(e.hotX, e.hotY));
        EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32));
        EXPECT_EQ(cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32), Picture(e));
    }
}
