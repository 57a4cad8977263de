// The main of the Qt test suites: a GUI application on the offscreen platform
// (a widgets application where the suite links Qt Widgets), with settings,
// data and runtime folders in a scratch home of its own, so that no test
// reads or writes the user's.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#ifdef QT_WIDGETS_LIB
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    if (!home.isValid()) return 1;
    const QDir dir(home.path());
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", dir.filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", dir.filePath("data").toUtf8());
    dir.mkdir("runtime");
    QFile::setPermissions(dir.filePath("runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", dir.filePath("runtime").toUtf8());
    TestApplication app(argc, argv);
    TestApplication::setApplicationName("Quorvane");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
