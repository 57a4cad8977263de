// The four most recently used files, kept in the settings under the
// "Local AppWizard-Generated Applications" key, newest first; and the folder
// the file dialogs start in.
#pragma once

#include <QString>
#include <QStringList>

namespace qv::shell {

class RecentFiles {
public:
    static constexpr int kMaxFiles = 4;

    // Reads the list from the settings.
    RecentFiles();

    const QStringList& files() const { return files_; }
    // Puts the file at the top (absolute path), dropping the oldest beyond
    // four, and remembers its folder for the next file dialog.
    void add(const QString& path);
    // Takes a file off the list (one that could not be opened).
    void remove(const QString& path);

    // The folder of the last file opened or saved, empty when none.
    QString lastFolder() const { return lastFolder_; }

private:
    void store() const;

    QStringList files_;
    QString lastFolder_;
};

// The settings of the program: organisation "Local AppWizard-Generated
// Applications", application "Quorvane".
inline constexpr const char* kSettingsOrganisation = "Local AppWizard-Generated Applications";
inline constexpr const char* kSettingsApplication = "Quorvane";

}  // namespace qv::shell
