// Files and standard output for the commands.
#include <QFile>
#include <QSaveFile>

#include <cstdio>

#include "cli/commands.h"

namespace qv::cli {

std::string LocalPath(const QString& argument) { return QFile::encodeName(argument).toStdString(); }

std::vector<std::uint8_t> ReadFileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure("cannot read " + LocalPath(path) + ": " + file.errorString().toStdString());
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Failure("cannot read " + LocalPath(path) + ": " + file.errorString().toStdString());
    return std::vector<std::uint8_t>(data.begin(), data.end());
}

void WriteFileAtomically(const QString& path, const std::vector<std::uint8_t>& bytes) {
    QSaveFile file(path);
    const auto fail = [&] {
        throw Failure("cannot write " + LocalPath(path) + ": " + file.errorString().toStdString());
    };
    if (!file.open(QIODevice::WriteOnly)) fail();
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
        const std::string why = file.errorString().toStdString();
        file.cancelWriting();
        throw Failure("cannot write " + LocalPath(path) + ": " + why);
    }
    if (!file.commit()) fail();
}

void WriteOut(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

}  // namespace qv::cli
