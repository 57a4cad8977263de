// Scroll moves of the view rectangle: impossible, full and partial steps in
// the eight directions, diagonals all or nothing, step 0, and the order in
// which the drawing thread tests the flags.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawing/drawing_flags.h"
#include "drawing/scroll.h"

namespace qv {
namespace {

constexpr int W = 2000;

// The 800 x 600 view with its top-left corner at (left, top).
ViewRect View(int left, int top) { return {left, top, left + 800, top + 600}; }

const char* Name(ScrollDirection d) {
    switch (d) {
        case ScrollDirection::Up: return "up";
        case ScrollDirection::Down: return "down";
        case ScrollDirection::Left: return "left";
        case ScrollDirection::Right: return "right";
        case ScrollDirection::UpRight: return "up-right";
        case ScrollDirection::DownRight: return "down-right";
        case ScrollDirection::UpLeft: return "up-left";
        case ScrollDirection::DownLeft: return "down-left";
    }
    return "?";
}

struct MoveCase {
    const char* what;
    ScrollDirection direction;
    int left, top;  // the view before
    int step;
    bool possible;
    int dx, dy;
};

void Check(const MoveCase& c) {
    SCOPED_TRACE(std::string(Name(c.direction)) + ": " + c.what);
    ViewRect view = View(c.left, c.top);
    const ScrollMove move = ApplyScrollMove(view, c.direction, c.step, W);
    EXPECT_EQ(move, (ScrollMove{c.possible, c.dx, c.dy}));
    // The view always moves as a whole, by exactly what the move reports.
    EXPECT_EQ(view, View(c.left + c.dx, c.top + c.dy));
}

using D = ScrollDirection;

TEST(ScrollMoves, StraightMovesAreImpossibleAtTheirEdgeFullWhenTheStepFitsElsePartial) {
    const MoveCase cases[] = {
        {"at the top edge", D::Up, 500, 0, 30, false, 0, 0},
        {"full step", D::Up, 500, 300, 30, true, 0, -30},
        {"exactly one step left", D::Up, 500, 30, 30, true, 0, -30},
        {"partial step to the edge", D::Up, 500, 10, 30, true, 0, -10},

        {"at the bottom edge", D::Down, 500, W - 600, 30, false, 0, 0},
        {"full step", D::Down, 500, 300, 30, true, 0, 30},
        {"exactly one step left", D::Down, 500, W - 630, 30, true, 0, 30},
        {"partial step to the edge", D::Down, 500, W - 610, 30, true, 0, 10},

        {"at the left edge", D::Left, 0, 300, 30, false, 0, 0},
        {"full step", D::Left, 500, 300, 30, true, -30, 0},
        {"exactly one step left", D::Left, 30, 300, 30, true, -30, 0},
        {"partial step to the edge", D::Left, 7, 300, 30, true, -7, 0},

        {"at the right edge", D::Right, W - 800, 300, 30, false, 0, 0},
        {"full step", D::Right, 500, 300, 30, true, 30, 0},
        {"exactly one step left", D::Right, W - 830, 300, 30, true, 30, 0},
        {"partial step to the edge", D::Right, W - 801, 300, 30, true, 1, 0},

        // A straight move ignores the other axis, even at its edge.
        {"left while at the top edge", D::Left, 500, 0, 30, true, -30, 0},
        {"up while at the right edge", D::Up, W - 800, 300, 30, true, 0, -30},
    };
    for (const MoveCase& c : cases) Check(c);
}

TEST(ScrollMoves, DiagonalWithEitherAxisAtItsEdgeDoesNothingAtAll) {
    const MoveCase cases[] = {
        {"top edge, right free", D::UpRight, 500, 0, 30, false, 0, 0},
        {"right edge, top free", D::UpRight, W - 800, 300, 30, false, 0, 0},
        {"bottom edge, right free", D::DownRight, 500, W - 600, 30, false, 0, 0},
        {"right edge, bottom free", D::DownRight, W - 800, 300, 30, false, 0, 0},
        {"top edge, left free", D::UpLeft, 500, 0, 30, false, 0, 0},
        {"left edge, top free", D::UpLeft, 0, 300, 30, false, 0, 0},
        {"bottom edge, left free", D::DownLeft, 500, W - 600, 30, false, 0, 0},
        {"left edge, bottom free", D::DownLeft, 0, 300, 30, false, 0, 0},
        {"in the corner", D::UpLeft, 0, 0, 30, false, 0, 0},
    };
    for (const MoveCase& c : cases) Check(c);
}

TEST(ScrollMoves, DiagonalTakesAFullStepOnBothAxesOrSendsBothToTheirEdges) {
    const MoveCase cases[] = {
        {"full step", D::UpRight, 500, 300, 30, true, 30, -30},
        {"full step", D::DownRight, 500, 300, 30, true, 30, 30},
        {"full step", D::UpLeft, 500, 300, 30, true, -30, -30},
        {"full step", D::DownLeft, 500, 300, 30, true, -30, 30},
        {"both exactly one step from their edges", D::UpLeft, 30, 30, 30, true, -30, -30},

        // One axis has less than a step left: that axis stops at its edge and
        // the other jumps all the way to its own, in the same move.
        {"top short", D::UpRight, 500, 10, 30, true, W - 1300, -10},
        {"right short", D::UpRight, W - 810, 300, 30, true, 10, -300},
        {"bottom short", D::DownRight, 100, W - 605, 30, true, W - 900, 5},
        {"right short", D::DownRight, W - 820, 100, 30, true, 20, W - 700},
        {"top short", D::UpLeft, 400, 29, 30, true, -400, -29},
        {"left short", D::UpLeft, 1, 700, 30, true, -1, -700},
        {"bottom short", D::DownLeft, 700, W - 601, 30, true, -700, 1},
        {"left short", D::DownLeft, 12, 200, 30, true, -12, W - 800},
        {"both short", D::DownLeft, 3, W - 604, 30, true, -3, 4},
    };
    for (const MoveCase& c : cases) Check(c);
}

TEST(ScrollMoves, StepZeroMovesNothingButIsStillImpossibleAtAnEdge) {
    const MoveCase cases[] = {
        {"mid-map", D::Up, 500, 300, 0, true, 0, 0},
        {"mid-map", D::Right, 500, 300, 0, true, 0, 0},
        {"mid-map", D::DownLeft, 500, 300, 0, true, 0, 0},
        {"at the top edge", D::Up, 500, 0, 0, false, 0, 0},
        {"diagonal at the left edge", D::UpLeft, 0, 300, 0, false, 0, 0},
        // A step below 0 counts as 0: the view never moves backwards.
        {"negative step", D::Down, 500, 300, -15, true, 0, 0},
        {"negative step, diagonal", D::UpRight, 500, 300, -15, true, 0, 0},
    };
    for (const MoveCase& c : cases) Check(c);
}

TEST(ScrollMoves, TenPixelsFromTheTopOneMoveReachesTheEdgeAndTheNextIsImpossible) {
    ViewRect view = View(400, 10);
    EXPECT_EQ(ApplyScrollMove(view, D::Up, 30, W), (ScrollMove{true, 0, -10}));
    EXPECT_EQ(view, (ViewRect{400, 0, 1200, 600}));
    EXPECT_EQ(ApplyScrollMove(view, D::Up, 30, W), (ScrollMove{}));
    EXPECT_EQ(view, (ViewRect{400, 0, 1200, 600}));
}

TEST(ScrollMoves, RepeatedMovesStayInsideTheWorldAndEndAtTheEdge) {
    const D all[] = {D::Up, D::Down, D::Left, D::Right, D::UpRight, D::DownRight, D::UpLeft, D::DownLeft};
    for (int worldSize : {1000, 2000, 3000})
        for (int step : {1, 7, 30, 100})
            for (D d : all)
                for (ViewRect start : {View(0, 0), View(worldSize - 800, worldSize - 600), View(113, 257)}) {
                    SCOPED_TRACE(std::string(Name(d)) + " W=" + std::to_string(worldSize) +
                                 " S=" + std::to_string(step) + " from " + std::to_string(start.left) + "," +
                                 std::to_string(start.top));
                    ViewRect view = start;
                    int moves = 0;
                    while (ApplyScrollMove(view, d, step, worldSize).possible) {
                        ASSERT_LE(++moves, worldSize) << "never reached the edge";
                        ASSERT_EQ(view.right - view.left, 800);
                        ASSERT_EQ(view.bottom - view.top, 600);
                        ASSERT_GE(view.left, 0);
                        ASSERT_GE(view.top, 0);
                        ASSERT_LE(view.right, worldSize);
                        ASSERT_LE(view.bottom, worldSize);
                    }
                    // It stopped because it touches an edge it moves towards.
                    const bool atTop = view.top == 0, atBottom = view.bottom == worldSize;
                    const bool atLeft = view.left == 0, atRight = view.right == worldSize;
                    switch (d) {
                        case D::Up: EXPECT_TRUE(atTop); break;
                        case D::Down: EXPECT_TRUE(atBottom); break;
                        case D::Left: EXPECT_TRUE(atLeft); break;
                        case D::Right: EXPECT_TRUE(atRight); break;
                        case D::UpRight: EXPECT_TRUE(atTop || atRight); break;
                        case D::DownRight: EXPECT_TRUE(atBottom || atRight); break;
                        case D::UpLeft: EXPECT_TRUE(atTop || atLeft); break;
                        case D::DownLeft: EXPECT_TRUE(atBottom || atLeft); break;
                    }
                }
}

class ScrollFlagOrder : public ::testing::Test {
protected:
    void SetUp() override { ResetDrawingFlags(); }
    void TearDown() override { ResetDrawingFlags(); }
};

TEST_F(ScrollFlagOrder, TheFirstSetFlagInTheFixedOrderWins) {
    const std::vector<D> order(kScrollTestOrder.begin(), kScrollTestOrder.end());
    EXPECT_EQ(order, (std::vector<D>{D::Up, D::Down, D::Left, D::Right, D::UpRight, D::DownRight, D::UpLeft,
                                     D::DownLeft}));
    EXPECT_EQ(FirstScrollFlag(), std::nullopt);

    // Each direction has its own flag.
    EXPECT_EQ(&ScrollFlag(D::Up), &g_scrollUp);
    EXPECT_EQ(&ScrollFlag(D::Down), &g_scrollDown);
    EXPECT_EQ(&ScrollFlag(D::Left), &g_scrollLeft);
    EXPECT_EQ(&ScrollFlag(D::Right), &g_scrollRight);
    EXPECT_EQ(&ScrollFlag(D::UpRight), &g_scrollUpRight);
    EXPECT_EQ(&ScrollFlag(D::DownRight), &g_scrollDownRight);
    EXPECT_EQ(&ScrollFlag(D::UpLeft), &g_scrollUpLeft);
    EXPECT_EQ(&ScrollFlag(D::DownLeft), &g_scrollDownLeft);

    // Setting the flags from the back of the order, each new one wins.
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        ScrollFlag(*it) = 1;
        EXPECT_EQ(FirstScrollFlag(), *it) << Name(*it);
    }
    // Clearing them from the front, the next one takes over.
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        ScrollFlag(order[i]) = 0;
        EXPECT_EQ(FirstScrollFlag(), order[i + 1]) << Name(order[i]);
    }
    // Any non-zero value counts.
    g_scrollDownLeft = 0;
    g_scrollRight = -4;
    EXPECT_EQ(FirstScrollFlag(), D::Right);
}

}  // namespace
}  // namespace qv
