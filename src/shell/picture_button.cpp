#include "shell/picture_button.h"

#include <QPixmap>

namespace qv::shell {

QPushButton* MakePictureButton(const PictureSet& pictures, PictureRole role, const QString& caption,
                               QWidget* parent) {
    auto* button = new QPushButton(parent);
    const QImage& image = pictures.get(role);
    button->setIcon(QIcon(QPixmap::fromImage(image)));
    button->setIconSize(image.size());
    button->setFixedSize(image.size() + QSize(6, 6));
    button->setToolTip(caption);
    button->setAccessibleName(caption);
    button->setObjectName(caption);
    return button;
}

const PictureSet& ShellPictures() {
    static const PictureSet pictures = PictureSet::Load();
    return pictures;
}

}  // namespace qv::shell

#include <QApplication>
#include <QDialog>

#include "drawing/game_lock.h"

namespace qv::shell {

QWidget* StepOwner(QWidget* window) {
    QWidget* modal = QApplication::activeModalWidget();
    return modal && modal->isVisible() ? modal : window;
}

void ReactivateWindow(QWidget* window) {
    // A dialog still open above the window keeps its place on top: the
    // keyboard goes back to it, and the window is never raised over it.
    window = StepOwner(window);
    if (!window || !window->isVisible()) return;
    window->raise();
    window->activateWindow();
}

int RunModal(QDialog& dialog) {
    int answer = 0;
    {
        GameLockRelease lent;
        answer = dialog.exec();
    }
    ReactivateWindow(dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr);
    return answer;
}

}  // namespace qv::shell
