#include "shell/zarvon_view.h"

#include <QPainter>

#include "model/globals.h"
#include "presentation/map_painter.h"
#include "presentation/title_screen.h"

namespace qv::shell {

CZarvonView::CZarvonView(QWidget* parent, DrawingOptions drawing)
    : QWidget(parent), painter_(std::make_unique<MapPainter>()) {
    setFixedSize(kViewWidth, kViewHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    // Frames are composed off this thread; the view looks for a new one at
    // about the display's rate and repaints only when there is one.
    frameTimer_.setInterval(15);
    connect(&frameTimer_, &QTimer::timeout, this, [this] {
        if (frameSerial() != shownSerial_) update();
    });
    frameTimer_.start();
    loop_.Start(*painter_, drawing);
}

CZarvonView::~CZarvonView() { StopDrawingThread(); }

void CZarvonView::StopDrawingThread() { loop_.Stop(); }

void CZarvonView::ShowNewFrame() {
    if (frameSerial() != shownSerial_) repaint();
}

std::uint64_t CZarvonView::frameSerial() const { return painter_->frameSerial(); }

QImage CZarvonView::currentFrame() const { return painter_->frontImage(); }

const PictureSet& CZarvonView::pictures() const { return painter_->pictures(); }

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
        return;
    }
    if (g_newDocCount == 1) {
        DrawTitleScreen(p, painter_->pictures());
        return;
    }
    p.fillRect(rect(), Qt::black);
}

}  // namespace qv::shell
