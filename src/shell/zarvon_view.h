// The map view: an 800 x 600 widget that shows the frames the drawing thread
// composes, or the title screen before any game exists.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

#include "drawing/drawing_loop.h"

namespace qv {
class MapPainter;
class PictureSet;
class TextLayers;
}  // namespace qv

namespace qv::shell {

class CZarvonView : public QWidget {
    Q_OBJECT
public:
    // Loads the map pictures and starts the drawing thread, which parks
    // until a game exists. frameInterval 0 draws unpaced (tests).
    explicit CZarvonView(QWidget* parent = nullptr,
                         DrawingOptions drawing = DrawingOptions{});
    // Stops the drawing thread.
    ~CZarvonView() override;

    // Ends the drawing thread (the exit path); the view shows its last frame.
    void StopDrawingThread();

    // Shows the newest finished frame at once if it is not on screen yet
    // (called while the game thread waits for the drawing thread).
    void ShowNewFrame();

    // How many finished frames the drawing thread has handed over.
    std::uint64_t frameSerial() const;
    // The newest finished frame.
    QImage currentFrame() const;

    const PictureSet& pictures() const;

    // A line over the map, under the status line, for ms milliseconds (a new
    // one takes its place): the turn's summary, why a click did nothing.
    void showNotice(const QString& text, int ms);
    QString notice() const { return notice_; }

    // The panels a click on the selected record opens (set by the
    // application; called on the game thread with the game lock held).
    std::function<int(QWidget*)> openPlanetPanel;
    std::function<int(QWidget*)> openShipPanel;
    std::function<int(QWidget*)> openAsteroidPanel;

signals:
    // An order was given or the selection may have changed.
    void ordersGiven();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<MapPainter> painter_;
    DrawingLoop loop_;
    QTimer frameTimer_;
    std::uint64_t shownSerial_ = 0;
    std::unique_ptr<TextLayers> text_;
    QString notice_;
    QTimer noticeTimer_;
};

}  // namespace qv::shell
