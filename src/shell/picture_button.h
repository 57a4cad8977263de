// A button that shows one of the built-in button pictures instead of a
// caption (its caption stays as the accessible name and tool tip).
#pragma once

#include <QPushButton>

#include "presentation/picture_set.h"

namespace qv::shell {

QPushButton* MakePictureButton(const PictureSet& pictures, PictureRole role, const QString& caption,
                               QWidget* parent);

// The pictures every dialog shares, loaded on first use (GUI thread).
const PictureSet& ShellPictures();

}  // namespace qv::shell

class QDialog;

namespace qv::shell {

// Runs a dialog modally with the game lock lent out (the map goes on being
// drawn behind it) and gives the keyboard back to the window it belongs to
// afterwards, also where no window manager would.
int RunModal(QDialog& dialog);

// The window a modal step belongs to: the topmost dialog still open, else
// the given window.
QWidget* StepOwner(QWidget* window);

// Gives the keyboard back after a modal step: to the topmost dialog still
// open, else to the window (raised only then).
void ReactivateWindow(QWidget* window);

}  // namespace qv::shell
