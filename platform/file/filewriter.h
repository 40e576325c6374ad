#pragma once

#include <QByteArray>
#include <QString>

// The one writer of every file the program makes. The bytes reach the final name whole
// or not at all; a failure is answered with the system's reason and leaves neither a
// partial file nor a temporary behind, and a file already there stays as it was.
namespace quillet::file {

struct WriteOptions
{
    // Leave a file whose bytes would not change untouched (same inode, same mtime).
    bool skipUnchanged = false;
    // fdatasync before the file appears; false when the caller syncs once at the end
    // (syncFileSystem).
    bool syncNow = true;
    // Permission bits the file gets, set before it appears and not masked by the umask;
    // -1: a replaced file keeps its own, a new one gets 0666 minus the umask.
    int mode = -1;
};

struct WriteResult
{
    enum class Outcome { Written, UpToDate, Failed };
    Outcome outcome = Outcome::Failed;
    // On failure: the system's reason, e.g. "No space left on device".
    QString reason;
    bool ok() const { return outcome != Outcome::Failed; }
};

// How the new file is first made. Unnamed is the rule; Named is what file systems without
// unnamed temporary files get, chosen here directly where a test needs that path.
enum class Creation { Unnamed, Named };

// A symbolic link under path is refused, never written through; so are directories and
// other files that are not regular.
WriteResult writeFile(const QString &path, const QByteArray &bytes, const WriteOptions &options = {});
WriteResult writeFile(
    const QString &path, const QByteArray &bytes, const WriteOptions &options, Creation creation);

// writeFile() of one plain file name (no '/') in an open folder.
WriteResult writeFileIn(int folderFd, const QString &fileName, const QByteArray &bytes,
    const WriteOptions &options = {}, Creation creation = Creation::Unnamed);

// Makes everything written (with syncNow = false) under this folder durable: syncfs of its
// file system; false with a reason when the kernel reports a write-back error.
bool syncFileSystem(const QString &folder, QString *reason = nullptr);
bool syncFileSystemOf(int folderFd, QString *reason = nullptr);

} // namespace quillet::file
