#include "shell/recent_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace qv::shell {

namespace {

QSettings Settings() {
    return QSettings(QString::fromLatin1(kSettingsOrganisation), QString::fromLatin1(kSettingsApplication));
}

QString Key(int i) { return QStringLiteral("Recent File List/File%1").arg(i + 1); }

}  // namespace

RecentFiles::RecentFiles() {
    QSettings settings = Settings();
    for (int i = 0; i < kMaxFiles; ++i) {
        const QString path = settings.value(Key(i)).toString();
        if (!path.isEmpty() && !files_.contains(path)) files_.append(path);
    }
    lastFolder_ = settings.value(QStringLiteral("Settings/Last Folder")).toString();
}

void RecentFiles::add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    files_.removeAll(absolute);
    files_.prepend(absolute);
    while (files_.size() > kMaxFiles) files_.removeLast();
    lastFolder_ = QFileInfo(absolute).absolutePath();
    store();
}

void RecentFiles::remove(const QString& path) {
    files_.removeAll(QFileInfo(path).absoluteFilePath());
    files_.removeAll(path);
    store();
}

void RecentFiles::store() const {
    QSettings settings = Settings();
    for (int i = 0; i < kMaxFiles; ++i) {
        if (i < files_.size()) settings.setValue(Key(i), files_[i]);
        else settings.remove(Key(i));
    }
    settings.setValue(QStringLiteral("Settings/Last Folder"), lastFolder_);
    settings.sync();
}

}  // namespace qv::shell
