// Scroll moves of the 800 x 600 view on a world of side 2000: impossible at
// the edge moved towards, a full step when it fits, else up to the edge (a
// diagonal sends both axes there), and the order the drawing thread reads
// the flags in.
#include <gtest/gtest.h>

#include "drawing/drawing_flags.h"
#include "drawing/scroll.h"

namespace qv {
namespace {

using D = ScrollDirection;

TEST(ScrollMoves, EachDirectionAtItsEdgesWithFullAndPartialSteps) {
    struct Case {
        D direction;
        int left, top, step;
        bool possible;
        int dx, dy;
    } cases[] = {
        {D::Up, 500, 0, 30, false, 0, 0},
        {D::Up, 500, 30, 30, true, 0, -30},
        {D::Up, 500, 10, 30, true, 0, -10},
        {D::Up, 1200, 300, 30, true, 0, -30},
        {D::Down, 500, 1400, 30, false, 0, 0},
        {D::Down, 500, 1370, 30, true, 0, 30},
        {D::Down, 500, 1390, 30, true, 0, 10},
        {D::Left, 0, 300, 30, false, 0, 0},
        {D::Left, 30, 0, 30, true, -30, 0},
        {D::Left, 7, 300, 30, true, -7, 0},
        {D::Right, 1200, 300, 30, false, 0, 0},
        {D::Right, 1170, 300, 30, true, 30, 0},
        {D::Right, 1199, 300, 30, true, 1, 0},
        {D::UpRight, 500, 300, 30, true, 30, -30},
        {D::DownRight, 500, 300, 30, true, 30, 30},
        {D::UpLeft, 30, 30, 30, true, -30, -30},
        {D::DownLeft, 500, 300, 30, true, -30, 30},
        {D::UpRight, 500, 0, 30, false, 0, 0},
        {D::UpRight, 1200, 300, 30, false, 0, 0},
        {D::DownRight, 500, 1400, 30, false, 0, 0},
        {D::DownLeft, 0, 300, 30, false, 0, 0},
        {D::UpLeft, 500, 0, 30, false, 0, 0},
        // One axis short of a step: that axis stops at its edge, the other jumps to its own.
        {D::UpRight, 500, 10, 30, true, 700, -10},
        {D::DownRight, 1180, 100, 30, true, 20, 1300},
        {D::UpLeft, 400, 29, 30, true, -400, -29},
        {D::DownLeft, 12, 200, 30, true, -12, 1200},
        {D::Down, 500, 300, -15, true, 0, 0},
        {D::Up, 500, 0, 0, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(c.direction) << " from " << c.left << "," << c.top);
        ViewRect view{c.left, c.top, c.left + 800, c.top + 600};
        EXPECT_EQ(ApplyScrollMove(view, c.direction, c.step, 2000), (ScrollMove{c.possible, c.dx, c.dy}));
        EXPECT_EQ(view, (ViewRect{c.left + c.dx, c.top + c.dy, c.left + c.dx + 800, c.top + c.dy + 600}));
    }
}

TEST(ScrollMoves, TheFirstSetFlagInTheOrderUpDownLeftRightThenTheCornersWins) {
    ResetDrawingFlags();
    EXPECT_EQ(FirstScrollFlag(), std::nullopt);
    std::atomic<int>* flags[] = {&g_scrollUp,      &g_scrollDown,      &g_scrollLeft,   &g_scrollRight,
                                 &g_scrollUpRight, &g_scrollDownRight, &g_scrollUpLeft, &g_scrollDownLeft};
    const D order[] = {D::Up, D::Down, D::Left, D::Right, D::UpRight, D::DownRight, D::UpLeft, D::DownLeft};
    for (auto* flag : flags) *flag = -4;  // any value but 0 counts
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(FirstScrollFlag(), order[i]) << i;
        *flags[i] = 0;
    }
    EXPECT_EQ(FirstScrollFlag(), std::nullopt);
}

}  // namespace
}  // namespace qv
