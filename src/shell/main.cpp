// quorvane: the game window.
#include <QApplication>

#include <cstdio>

#include "shell/recent_files.h"
#include "shell/zarvon_app.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(qv::shell::kSettingsApplication));
    QApplication::setDesktopFileName(QStringLiteral("quorvane"));

    qv::shell::StartOptions options;
    QString error;
    if (!qv::shell::CZarvonApp::ParseArguments(QApplication::arguments(), options, error)) {
        std::fprintf(stderr, "quorvane: %s\n", qPrintable(error));
        return 2;
    }
    qv::shell::CZarvonApp game;
    if (!game.InitInstance(options)) return 1;
    return QApplication::exec();
}
