#include "shell/qt_platform.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>

#include "drawing/game_lock.h"
#include "orders/pointer_tracking.h"
#include "presentation/media/cursor_set.h"
#include "presentation/media/sound_cues.h"
#include "shell/picture_button.h"

namespace qv::shell {

QtPlatform::QtPlatform() : sounds_(std::make_unique<media::SoundCues>()) {}

QtPlatform::~QtPlatform() {
    if (waitShown_) QApplication::restoreOverrideCursor();
}

void QtPlatform::setFramePump(std::function<void()> pump) { handshakes().setPump(std::move(pump)); }

void QtPlatform::messageBox(const std::string& text) {
    messages.push_back(text);
    if (autoAnswer_) return;
    // The box belongs to the dialog that is open (a panel's step), so that
    // closing it gives that dialog the keyboard back.
    QWidget* const owner = StepOwner(window_);
    {
        GameLockRelease lent;
        QMessageBox::information(owner, QString::fromUtf8(kMessageTitle), QString::fromStdString(text));
    }
    ReactivateWindow(owner);
}

bool QtPlatform::askYesNo(const std::string& text) {
    questions.push_back(text);
    if (autoAnswer_) return *autoAnswer_;
    QMessageBox::StandardButton answer;
    QWidget* const owner = StepOwner(window_);
    {
        GameLockRelease lent;
        answer = QMessageBox::question(owner, QString::fromUtf8(kMessageTitle), QString::fromStdString(text),
                                       QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    }
    ReactivateWindow(owner);
    return answer == QMessageBox::Yes;
}

void QtPlatform::playCue(const std::string& fileName) {
    cues.push_back(fileName);
    sounds_->play(fileName);
}

void QtPlatform::setCursor(int cursor) {
    HeadlessPlatform::setCursor(cursor);
    // The hour-glass covers every widget of the program while a turn runs.
    if (cursor == kCursorWait) {
        if (!waitShown_) QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        waitShown_ = true;
        return;
    }
    if (waitShown_) QApplication::restoreOverrideCursor();
    waitShown_ = false;
    if (!cursorWidget_) return;
    const int role = cursor - kFirstMapCursor;
    if (role >= 0 && role < static_cast<int>(media::kCursorTable.size()))
        cursorWidget_->setCursor(media::CursorFor(static_cast<media::CursorRole>(role)));
    else
        cursorWidget_->unsetCursor();
}

void QtPlatform::endProcess(int code) {
    HeadlessPlatform::exitCode = code;
    if (end_) {
        end_(code);
        return;
    }
    QCoreApplication::exit(code);
}

}  // namespace qv::shell
