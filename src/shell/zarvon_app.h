// The application: settings, the document, the main window with its map
// view and drawing thread, the races, and the file named on the command line.
#pragma once

#include <QApplication>
#include <QString>

#include <memory>

#include "drawing/drawing_loop.h"

namespace qv::shell {

class CMainFrame;
class CZarvonDoc;
class CZarvonView;
class QtPlatform;

struct StartOptions {
    QString file;     // a saved game to open at start, empty for none
    QString dataDir;  // where the races are; empty to look as usual
    DrawingOptions drawing{};
    bool show = true;  // tests may keep the window hidden
};

class CZarvonApp {
public:
    CZarvonApp();
    ~CZarvonApp();

    // Builds the window, loads the races and opens the file when one is
    // named. False when the program must end (the races could not be read,
    // or the named file could not be opened).
    bool InitInstance(const StartOptions& options);

    // Reads "[--data DIR] [file.zvq]" from the arguments; false with a
    // message in error for anything else.
    static bool ParseArguments(const QStringList& arguments, StartOptions& options, QString& error);

    QtPlatform& platform() { return *platform_; }
    CZarvonDoc& doc() { return *doc_; }
    CZarvonView& view() { return *view_; }
    CMainFrame& frame() { return *frame_; }

private:
    std::unique_ptr<QtPlatform> platform_;
    CZarvonView* view_ = nullptr;
    std::unique_ptr<CZarvonDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace qv::shell
