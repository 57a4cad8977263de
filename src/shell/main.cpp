// quorvane: the game window.
#include <QApplication>

#include <cstdio>
#include <string_view>

#include "shell/recent_files.h"
#include "shell/zarvon_app.h"

// --help and --version are answered before the window system is asked for
// anything, so they work without a display.
static const char kHelp[] =
    "Usage: quorvane [--data FOLDER] [game.zvq]\n\n"
    "Opens the game window of Quorvane; with game.zvq, opens that saved game.\n\n"
    "Options:\n"
    "  --data FOLDER  Read the races, ship pictures and sounds from FOLDER.\n"
    "  -h, --help     Show this help.\n"
    "  --version      Show the version.\n";

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--data") ++i;
        else if (arg == "-h" || arg == "--help") return std::fputs(kHelp, stdout) < 0;
        else if (arg == "--version") return std::puts("quorvane " QUORVANE_VERSION) < 0;
    }
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
