// The painter's buffers: the star field shifted with the view, frames handed
// over to the window, the title screen, and the picture set with its
// stand-ins.
#include <QPainter>

#include <tuple>

#include "map_frame_fixture.h"
#include "presentation/title_screen.h"

namespace qv::painttest {
namespace {

// Every pixel of the star field tells where it was: x + 800 y.
QImage NumberedStars() {
    QImage image(kViewWidth, kViewHeight, QImage::Format_RGB32);
    for (int y = 0; y < kViewHeight; ++y)
        for (int x = 0; x < kViewWidth; ++x) image.setPixel(x, y, 0xFF000000u | static_cast<QRgb>(x + kViewWidth * y));
    return image;
}

QRgb Numbered(int x, int y) {
    x = ((x % kViewWidth) + kViewWidth) % kViewWidth;
    y = ((y % kViewHeight) + kViewHeight) % kViewHeight;
    return 0xFF000000u | static_cast<QRgb>(x + kViewWidth * y);
}

class FrameBuffersTest : public MapFrameTest {
protected:
    void UseNumberedStars() {
        PictureSet set = TestPictures();
        set.set(PictureRole::Stars, NumberedStars());
        painter = std::make_unique<MapPainter>(set);
    }
};

TEST_F(FrameBuffersTest, StarFieldMovesAgainstTheViewAndWrapsAround) {
    UseNumberedStars();
    painter->shiftStars(30, 0);  // the view moved right: stars go left
    const QImage& stars = painter->starField();
    EXPECT_EQ(stars.pixel(0, 0), Numbered(30, 0));
    EXPECT_EQ(stars.pixel(769, 5), Numbered(799, 5));
    EXPECT_EQ(stars.pixel(770, 5), Numbered(0, 5)) << "the band that left on the left comes back on the right";
    EXPECT_EQ(stars.pixel(799, 599), Numbered(29, 599));

    painter->shiftStars(-30, -10);  // back left, and up: stars go down
    EXPECT_EQ(painter->starField().pixel(0, 0), Numbered(0, 590));
    EXPECT_EQ(painter->starField().pixel(0, 10), Numbered(0, 0));
    EXPECT_EQ(painter->starField().pixel(123, 599), Numbered(123, 589));

    painter->shiftStars(7, 13);  // a diagonal step
    painter->shiftStars(-7, -3);
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{799, 599}, std::pair{400, 300}, std::pair{5, 597}})
        EXPECT_EQ(painter->starField().pixel(x, y), Numbered(x, y)) << x << "," << y;

    painter->shiftStars(800 * 3, -600);  // whole turns change nothing
    painter->shiftStars(0, 0);
    EXPECT_EQ(painter->starField().pixel(10, 20), Numbered(10, 20));
}

TEST_F(FrameBuffersTest, EveryFrameStartsFromTheShiftedStarField) {
    UseNumberedStars();
    g_currentWorld = nullptr;  // nothing but the star field and the status line
    painter->shiftStars(0, 45);
    for (FrameKind kind : {FrameKind::Idle, FrameKind::Scroll}) {
        const QImage frame = Frame(kind);
        EXPECT_EQ(frame.pixel(400, 300), Numbered(400, 345));
        EXPECT_EQ(frame.pixel(10, 580), Numbered(10, 25));
    }
    painter->setScrollStep(55);
    EXPECT_EQ(painter->scrollStep(), 55);
    EXPECT_EQ(Frame().pixel(400, 300), Numbered(400, 345)) << "a new step keeps the field where it is";
}

TEST_F(FrameBuffersTest, PresentHandsOverTheFinishedFrameAndCountsIt) {
    EXPECT_EQ(painter->frameSerial(), 0u);
    AddPlanet(400, 300);
    painter->compose(FrameKind::Idle, {});
    EXPECT_EQ(painter->frontImage().pixel(400, 300), kBlack) << "not shown before present";
    painter->present();
    EXPECT_EQ(painter->frameSerial(), 1u);
    const QImage shown = painter->frontImage();
    EXPECT_EQ(shown.size(), QSize(800, 600));
    EXPECT_EQ(shown.format(), QImage::Format_RGB32);
    EXPECT_EQ(shown, painter->backBuffer());

    // A frame kept by the window stays as it was while the next is drawn.
    world->planets->x = 200;
    painter->compose(FrameKind::Idle, {});
    painter->present();
    EXPECT_EQ(painter->frameSerial(), 2u);
    EXPECT_EQ(shown.pixel(400, 300), kPlanet1.rgb());
    EXPECT_EQ(painter->frontImage().pixel(400, 300), kBlack);
    EXPECT_EQ(painter->frontImage().pixel(200, 300), kPlanet1.rgb());
}

TEST(TitleScreen, ShowsTheTitlePictureWithTheVersionInWhite) {
    PictureSet set;
    QImage title = Solid(800, 600, Qt::black);
    title.setPixel(10, 10, qRgb(1, 2, 3));
    title.setPixel(799, 599, qRgb(4, 5, 6));
    set.set(PictureRole::Title, title);
    const QImage screen = TitleScreenImage(set);
    EXPECT_EQ(screen.size(), QSize(800, 600));
    EXPECT_EQ(screen.pixel(10, 10), qRgb(1, 2, 3));
    EXPECT_EQ(screen.pixel(799, 599), qRgb(4, 5, 6));

    QImage expected = Solid(800, 600, Qt::black);
    {
        QPainter p(&expected);
        const TextLayers layers;
        p.setFont(layers.font());
        p.setPen(Qt::white);
        layers.write(p, 340, 180, "Version - 1.11");
    }
    const QRect area(330, 170, 200, 30);
    EXPECT_TRUE(SameIn(screen, expected, area));
    EXPECT_GT(LitIn(screen, area), 30);
}

TEST(Pictures, EveryRoleHasAPictureOfItsSizeLoadedOrNot) {
    const PictureSet standIns;
    const PictureSet set = PictureSet::Load();
    const std::vector<std::tuple<PictureRole, int, int>> sizes = {
        {PictureRole::Stars, 800, 600},         {PictureRole::StarYellow, 163, 158},
        {PictureRole::StarBlue, 163, 158},      {PictureRole::Planet1, 60, 60},
        {PictureRole::Planet2, 60, 60},         {PictureRole::Planet3, 60, 60},
        {PictureRole::AsteroidRich, 34, 34},    {PictureRole::AsteroidSpent, 34, 34},
        {PictureRole::BlastSmallA, 30, 30},     {PictureRole::BlastSmallB, 30, 30},
        {PictureRole::BlastLarge, 60, 60},      {PictureRole::Title, 800, 600},
        {PictureRole::About, 277, 31},          {PictureRole::ButtonCancel, 60, 25},
        {PictureRole::ButtonStartShip, 65, 25}, {PictureRole::ButtonUnloadShip, 76, 25},
        {PictureRole::ButtonEquipPlanet, 80, 24}, {PictureRole::ButtonOk, 50, 25},
        {PictureRole::ButtonRepairPlanet, 88, 25}, {PictureRole::ButtonRepairShip, 89, 25},
    };
    for (const auto& [role, width, height] : sizes) {
        EXPECT_EQ(InfoOf(role).width, width) << InfoOf(role).name;
        EXPECT_EQ(InfoOf(role).height, height) << InfoOf(role).name;
    }
    for (int i = 0; i < kPictureRoleCount; ++i) {
        const auto role = static_cast<PictureRole>(i);
        const QSize size(InfoOf(role).width, InfoOf(role).height);
        for (const PictureSet* pictures : {&standIns, &set}) {
            EXPECT_EQ(pictures->get(role).size(), size) << InfoOf(role).name;
            EXPECT_EQ(pictures->get(role).format(), QImage::Format_RGB32) << InfoOf(role).name;
        }
        EXPECT_FALSE(standIns.loaded(role));
        if (set.loaded(role)) {
            EXPECT_EQ(set.get(role), QImage(PictureSet::ResourcePath(role)).convertToFormat(QImage::Format_RGB32))
                << InfoOf(role).name;
        } else {
            EXPECT_EQ(set.get(role), PictureSet::StandIn(role)) << InfoOf(role).name;
        }
    }
    EXPECT_EQ(PictureSet::ResourcePath(PictureRole::ButtonHyperJump), ":/pictures/button_hyper_jump.png");
    // The map stand-ins are not blank: a frame of them shows something.
    EXPECT_GT(LitIn(standIns.get(PictureRole::Planet2), QRect(0, 0, 60, 60)), 1000);
}

TEST(Pictures, ReplacedPicturesAreConvertedAndANullImageBringsTheStandInBack) {
    PictureSet set;
    QImage argb(60, 60, QImage::Format_ARGB32);
    argb.fill(qRgba(10, 20, 30, 255));
    set.set(PictureRole::Planet1, argb);
    EXPECT_EQ(set.get(PictureRole::Planet1).format(), QImage::Format_RGB32);
    EXPECT_EQ(set.get(PictureRole::Planet1).pixel(30, 30), qRgb(10, 20, 30));
    set.set(PictureRole::Planet1, QImage());
    EXPECT_EQ(set.get(PictureRole::Planet1), PictureSet::StandIn(PictureRole::Planet1));
}

}  // namespace
}  // namespace qv::painttest
