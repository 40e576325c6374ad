#pragma once

#include <QString>

class QWidget;

namespace quillet::form {
class Dialogs;
}
namespace quillet::system {
class SpecialFolders;
}

namespace quillet::output {

// Owner window and starting folder of the last folder dialog; lives in the application
// state and is updated by every BrowseForFolder call.
struct BrowseMemory
{
    QWidget *owner = nullptr;
    QString initialFolder;
};

// Folder routines of the export and the desktop launcher.
class OutputFolder
{
public:
    static constexpr int FirstKind = 1;
    static constexpr int LastKind = 11;
    static constexpr int DesktopKind = 3;

    // The folder of the given kind (1 to 11) ending in exactly one "/", or empty for an
    // unknown kind or a folder the session does not have.
    static QString GetSpecialFolder(int kind);
    static QString GetSpecialFolder(int kind, const system::SpecialFolders &folders);
    static QString GetWindowsFolder();

    static QString defaultBrowseTitle();
    // The chosen path with surrounding blanks removed, empty when cancelled.
    static QString BrowseForFolder(form::Dialogs &dialogs, BrowseMemory &memory, QWidget *owner,
        const QString &startFolder, const QString &title = defaultBrowseTitle());

    // The path with its trailing slashes replaced by one "/"; empty stays empty.
    static QString withOneSlash(const QString &path);
};

} // namespace quillet::output
