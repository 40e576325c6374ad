#pragma once

#include "platform/file/descriptor.h"
#include "platform/file/filewriter.h"

#include <QString>

#include <utility>

namespace quillet::file {

// A folder opened once, for everything written below it: each subfolder is made and opened
// relative to it and each file written relative to its folder, a link refused at every
// step. A folder swapped for a link while files are written can then not carry one of them
// elsewhere.
class Folder
{
public:
    Folder() = default;

    // The folder at path, made first with its parents when create is set. Links in the path
    // itself are the caller's choice and followed; an empty folder and a reason on failure.
    static Folder open(const QString &path, bool create, QString *reason);

    bool isOpen() const { return m_fd.isOpen(); }
    int descriptor() const { return m_fd.get(); }

    // The subfolder at relative ('/' between names), each name made when missing (with
    // create) and opened without following a link. An empty folder and a reason on failure.
    Folder subfolder(const QString &relative, bool create, QString *reason) const;
    // writeFile() of name in this folder; name is one plain file name.
    WriteResult write(const QString &name, const QByteArray &bytes, const WriteOptions &options = {},
        Creation creation = Creation::Unnamed) const;
    // Removes the file (a link as a link) of that plain name; 0, or the error number. A name
    // that is not there is no error.
    int remove(const QString &name) const;
    // Gives the entry `from` the name `to` in this folder, neither followed through a link;
    // an entry already called `to` takes the name `from` in the same step. 0, or the error.
    int exchange(const QString &from, const QString &to) const;
    // Removes the folder of that plain name and everything in it, never following a link
    // (a link inside is removed as a link). 0 where it is gone or was never there.
    int removeTree(const QString &name) const;
    // syncFileSystem() of this folder's file system.
    bool sync(QString *reason = nullptr) const;

private:
    explicit Folder(Descriptor fd)
        : m_fd(std::move(fd))
    {
    }

    Descriptor m_fd;
};

} // namespace quillet::file
