// quorvane-make-pictures: the same bytes on every run, and the same bytes as
// the pictures built into the program.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

#include "built_in_pictures.h"
#include "presentation/media/cursor_set.h"

namespace {

int RunGenerator(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QStringLiteral(QUORVANE_MAKE_PICTURES), args);
    if (!p.waitForFinished(180000)) return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList Files(const QString& dir) {
    QStringList all;
    for (const QString& sub : {QStringLiteral("pictures"), QStringLiteral("cursors")})
        for (const QString& name : QDir(dir + QLatin1Char('/') + sub).entryList(QDir::Files, QDir::Name))
            all << sub + QLatin1Char('/') + name;
    return all;
}

}  // namespace

TEST(PictureGenerator, TwoRunsWriteTheSameBytesAsTheBuiltInOnes) {
    QTemporaryDir first, second;
    ASSERT_TRUE(first.isValid() && second.isValid());
    ASSERT_EQ(RunGenerator({first.path()}), 0);
    ASSERT_EQ(RunGenerator({second.path()}), 0);

    const QStringList files = Files(first.path());
    EXPECT_EQ(files, Files(second.path()));
    // Every picture of the set and every cursor but the system arrow.
    EXPECT_EQ(files.size(), static_cast<qsizetype>(qv::media::kBuiltInPictures.size() + qv::media::kCursorTable.size() - 1));
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const QByteArray a = Bytes(first.path() + QLatin1Char('/') + file);
        ASSERT_FALSE(a.isEmpty());
        EXPECT_EQ(a, Bytes(second.path() + QLatin1Char('/') + file));
        EXPECT_EQ(a, Bytes(QStringLiteral(":/") + file));
    }
}

TEST(PictureGenerator, WrongUsageExitsWithTwo) {
    EXPECT_EQ(RunGenerator({}), 2);
    EXPECT_EQ(RunGenerator({QStringLiteral("a"), QStringLiteral("b")}), 2);
}
