// The Qt painter of the map view: composes each frame of the current world
// into an 800 x 600 back buffer on the drawing thread and hands finished
// frames over to the window.
//
// It may be made on any thread (a GUI application must exist: text needs
// its fonts); afterwards setScrollStep, shiftStars, compose and present
// belong to one thread at a time, the drawing thread, while frontImage and
// frameSerial may be called from any thread.
#pragma once

#include <QImage>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "drawing/frame_painter.h"
#include "presentation/picture_set.h"

namespace qv {

class TextLayers;

class MapPainter final : public FramePainter {
public:
    explicit MapPainter(PictureSet pictures = PictureSet::Load());
    ~MapPainter() override;

    MapPainter(const MapPainter&) = delete;
    MapPainter& operator=(const MapPainter&) = delete;

    // The star field is shifted in place through a scratch copy, so nothing
    // depends on the step; it is only remembered.
    void setScrollStep(int step) override;
    void shiftStars(int dx, int dy) override;

    // Draws, in order: the star field; in idle frames the instability rings;
    // the world's star; planets, asteroids and free-flying ships with their
    // selection circles (and, in idle frames, explosions); the overview map;
    // the status line; in idle frames the information panels, the
    // computer-move box and the game-over text. Reads the records and
    // game-wide values only; the drawing flags are the caller's business.
    void compose(FrameKind kind, const FrameRequests& requests) override;

    // Copies the back buffer into the front image and counts the frame.
    void present() override;

    std::vector<FrameEffect> takeEffectsDrawn() override;

    // The newest presented frame (a shared copy: cheap, and safe to keep
    // while the painter goes on).
    QImage frontImage() const;
    // How many frames have been presented.
    std::uint64_t frameSerial() const { return serial_.load(std::memory_order_acquire); }

    // Drawing-thread side, for tests and tools.
    const QImage& backBuffer() const { return back_; }
    const QImage& starField() const { return stars_; }
    bool explosionPhase() const { return phase_; }
    int scrollStep() const { return step_; }
    const PictureSet& pictures() const { return pictures_; }

private:
    void drawMap(FrameKind kind, const FrameRequests& requests);
    // Draws a small explosion with its top-left corner at the window point
    // (x, y), the picture chosen by the phase bit; returns which it drew.
    FrameEffect::Kind drawSmallExplosion(std::int64_t x, std::int64_t y);
    void drawAfterglow(const std::vector<FrameEffect>& effects, bool rings);

    PictureSet pictures_;
    QImage back_;
    QImage stars_;    // the star field as shifted so far
    QImage scratch_;  // spare buffer for shifting the star field
    bool phase_ = false;
    std::vector<FrameEffect> effectsDrawn_;  // since the last takeEffectsDrawn
    int step_ = 0;
    std::unique_ptr<TextLayers> text_;

    mutable std::mutex frontMutex_;
    QImage front_;
    std::atomic<std::uint64_t> serial_{0};
};

}  // namespace qv
