#pragma once

#include <QString>

#include <functional>

namespace quillet::catalogue {

// Where the settings file lives. A portable folder (and the build tree) keeps it in its
// own sys/ folder; an installation the user cannot write to (a system install) leaves
// it in the user's configuration folder, so the remembered skin survives there.
// Reading follows the same choice as writing, so a portable copy never reads a file
// that only a system install writes.
class SettingsLocation
{
public:
    // Answers whether the program may write the file or folder at a path.
    using WritableCheck = std::function<bool(const QString &path)>;

    static constexpr QStringView kFileName = u"setup.dat";
    static constexpr QStringView kUserFolderName = u"Quillet";

    // The file to read: the installation's own file when the installation is writable;
    // otherwise the user's file when there is one, else the installation's file, whose
    // contents then serve as the default.
    static QString readPath(const QString &programFolder);
    // The file to write, made ready for the write: the user's folder is created when it
    // is the choice, and temporaries that an interrupted earlier write left beside the
    // file are removed.
    static QString writePath(const QString &programFolder);

    // The same two choices with the user's folder and the writability check given.
    static QString readPath(
        const QString &programFolder, const QString &userFolder, const WritableCheck &isWritable);
    static QString writePath(
        const QString &programFolder, const QString &userFolder, const WritableCheck &isWritable);

    // <programFolder>/sys/setup.dat
    static QString installedFile(const QString &programFolder);
    // <user configuration folder>/Quillet; empty when the system names no such folder.
    static QString userFolder();
    // Writable for this process and marked writable at all: root passes every access
    // check, but a folder or file without any write bit is meant to stay as it is.
    static bool isWritable(const QString &path);

    // Earlier versions replaced the file through "<file name>.XXXXXX", which a process
    // killed in between left behind (today's writer removes its own leftovers). Removes
    // such regular files beside filePath and answers how many went.
    static int removeStaleTemporaries(const QString &filePath);
};

} // namespace quillet::catalogue
