#include "shell/zarvon_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QFontMetrics>
#include <QPainter>

#include <optional>

#include "model/globals.h"
#include "orders/map_orders.h"
#include "orders/navigation.h"
#include "orders/pointer_tracking.h"
#include "drawing/game_lock.h"
#include "presentation/map_painter.h"
#include "presentation/text_layers.h"
#include "presentation/title_screen.h"

namespace qv::shell {

CZarvonView::CZarvonView(QWidget* parent, DrawingOptions drawing)
    : QWidget(parent), painter_(std::make_unique<MapPainter>()), text_(std::make_unique<TextLayers>()) {
    setFixedSize(kViewWidth, kViewHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // Frames are composed off this thread; the view looks for a new one at
    // about the display's rate and repaints only when there is one.
    frameTimer_.setInterval(15);
    connect(&frameTimer_, &QTimer::timeout, this, [this] {
        if (frameSerial() != shownSerial_) update();
    });
    frameTimer_.start();
    noticeTimer_.setSingleShot(true);
    connect(&noticeTimer_, &QTimer::timeout, this, [this] { showNotice({}, 0); });
    loop_.Start(*painter_, drawing);
}

void CZarvonView::showNotice(const QString& text, int ms) {
    notice_ = text;
    if (text.isEmpty()) noticeTimer_.stop();
    else noticeTimer_.start(ms);
    update();
}

CZarvonView::~CZarvonView() { StopDrawingThread(); }

void CZarvonView::StopDrawingThread() { loop_.Stop(); }

void CZarvonView::ShowNewFrame() {
    if (frameSerial() != shownSerial_) repaint();
}

std::uint64_t CZarvonView::frameSerial() const { return painter_->frameSerial(); }

QImage CZarvonView::currentFrame() const { return painter_->frontImage(); }

const PictureSet& CZarvonView::pictures() const { return painter_->pictures(); }

void CZarvonView::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        GameLockGuard lock;
        const ClickOutcome outcome = OnLButtonDown(at.x(), at.y());
        if (const Refusal why = LastClickRefusal(); why != Refusal::None)
            showNotice(QString::fromStdString(RefusalText(why)), 3000);
        switch (outcome) {
            case ClickOutcome::PlanetPanel:
                if (openPlanetPanel) openPlanetPanel(window());
                break;
            case ClickOutcome::ShipPanel:
                if (openShipPanel) openShipPanel(window());
                break;
            case ClickOutcome::AsteroidPanel:
                if (openAsteroidPanel) openAsteroidPanel(window());
                break;
            case ClickOutcome::Nothing:
                break;
        }
    } else if (event->button() == Qt::RightButton) {
        GameLockGuard lock;
        OnRButtonDown();
    }
    emit ordersGiven();
    QWidget::mousePressEvent(event);
}

void CZarvonView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    {
        GameLockGuard lock;
        OnMouseMove(at.x(), at.y(), width(), height());
    }
    QWidget::mouseMoveEvent(event);
}

void CZarvonView::leaveEvent(QEvent* event) {
    // Out of the map onto the menu bar or past the window's edge: the map
    // stops scrolling, as when the pointer crosses the window's frame.
    OnNcMouseMove();
    QWidget::leaveEvent(event);
}

namespace {

// The arrow keys as the game knows them; no other key scrolls.
std::optional<ScrollKey> ArrowKey(const QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left: return ScrollKey::Left;
        case Qt::Key_Up: return ScrollKey::Up;
        case Qt::Key_Right: return ScrollKey::Right;
        case Qt::Key_Down: return ScrollKey::Down;
        default: return std::nullopt;
    }
}

}  // namespace

void CZarvonView::keyPressEvent(QKeyEvent* event) {
    if (const auto key = ArrowKey(event)) OnKeyDown(*key);
    QWidget::keyPressEvent(event);
}

void CZarvonView::keyReleaseEvent(QKeyEvent* event) {
    // Any key let go stops the scrolling; a key held down repeats its
    // presses without releases in between.
    if (!event->isAutoRepeat()) OnKeyUp();
    QWidget::keyReleaseEvent(event);
}

void CZarvonView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (g_newDocCount > 1) {
        // A game exists: the drawing thread paints the map.
        if (QWidget* top = window(); top->windowTitle() != QLatin1String("Quorvane"))
            top->setWindowTitle(QStringLiteral("Quorvane"));
        const std::uint64_t serial = frameSerial();
        const QImage frame = painter_->frontImage();
        if (frame.isNull()) p.fillRect(rect(), Qt::black);
        else p.drawImage(0, 0, frame);
        shownSerial_ = serial;
        if (!notice_.isEmpty()) {
            // Under the status line, in white over the map's black outline.
            p.setFont(text_->font());
            p.setPen(Qt::white);
            text_->writeOutlined(p, 5, 25, QFontMetrics(text_->font()).elidedText(notice_, Qt::ElideRight, 590));
        }
        return;
    }
    if (g_newDocCount == 1) {
        DrawTitleScreen(p, painter_->pictures());
        return;
    }
    p.fillRect(rect(), Qt::black);
}

}  // namespace qv::shell
