// The window's tests run headless on the offscreen platform, with settings,
// autosaves and file dialogs' folders in a scratch home of their own.
#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    if (!home.isValid()) return 1;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", QDir(home.path()).filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", QDir(home.path()).filePath("data").toUtf8());
    QDir(home.path()).mkdir("runtime");
    QFile::setPermissions(QDir(home.path()).filePath("runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                                     QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QDir(home.path()).filePath("runtime").toUtf8());
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quorvane");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
