// The window's platform: the logic's message boxes, questions, cursors and
// sound cues as Qt widgets and effects, and the real hand-shakes with the
// drawing thread (inherited), whose waits keep showing the frames drawn
// meanwhile.
#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "drawing/drawing_platform.h"

namespace qv::media {
class SoundCues;
}

namespace qv::shell {

// The title of every message box and question.
inline constexpr const char* kMessageTitle = "Quorvane";

class QtPlatform : public DrawingPlatform {
public:
    QtPlatform();
    ~QtPlatform() override;

    // The window message boxes belong to.
    void setWindow(QWidget* window) { window_ = window; }
    // The widget the map's cursors are shown on (the map view).
    void setCursorWidget(QWidget* widget) { cursorWidget_ = widget; }
    // Called while the game thread waits for the drawing thread (without the
    // game lock), so that the frames drawn meanwhile reach the screen.
    void setFramePump(std::function<void()> pump);

    // Information box with OK; the game lock is lent out while it is open,
    // so the map goes on being drawn behind it.
    void messageBox(const std::string& text) override;
    // Question box with Yes and No.
    bool askYesNo(const std::string& text) override;
    // Plays the cue from the data folder; never waits.
    void playCue(const std::string& fileName) override;
    // 0 the arrow, 1 the hour-glass, then the map's cursors
    // (CursorNumber of a MapCursor).
    void setCursor(int cursor) override;
    // Quits the application's event loop with the code, unless a test
    // replaced it.
    void endProcess(int code) override;

    // Tests: answer message boxes and questions without showing them (the
    // texts are still recorded in messages and questions).
    void setAutoAnswer(std::optional<bool> answer) { autoAnswer_ = answer; }
    // Tests: what ending the process does instead.
    void setEndProcess(std::function<void(int)> end) { end_ = std::move(end); }

private:
    QPointer<QWidget> window_;
    QPointer<QWidget> cursorWidget_;
    std::unique_ptr<media::SoundCues> sounds_;
    std::optional<bool> autoAnswer_;
    std::function<void(int)> end_;
    bool waitShown_ = false;
};

}  // namespace qv::shell
