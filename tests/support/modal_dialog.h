// Acting on a modal dialog from inside its own event loop: the call that
// opens it does not return until it is closed, so the test hands over what
// to do, and it is done once the dialog is the open modal window.
#pragma once

#include <QApplication>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace qv::test {

class ModalDialog : public QObject {
public:
    // Runs act on the dialog of type T as soon as it is the active modal
    // window. Looking stops when this object goes, so a dialog that never
    // opened cannot be answered by a later test.
    template <typename T>
    void whenOpen(std::function<void(T&)> act) {
        QTimer::singleShot(1, this, [this, act] {
            if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
                ++acted_;
                act(*dialog);
                return;
            }
            whenOpen<T>(act);
        });
    }

    // How many dialogs were acted on.
    int acted() const { return acted_; }

private:
    int acted_ = 0;
};

}  // namespace qv::test
