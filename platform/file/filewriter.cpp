#include "platform/file/filewriter.h"

#include "platform/file/descriptor.h"
#include "platform/file/fileio.h"
#include "platform/file/syncwatch.h"
#include "platform/file/temporaryname.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet::file {

namespace {

constexpr mode_t kNewFileMode = 0666; // the umask takes its part at creation
constexpr mode_t kPermissionBits = 07777;

WriteResult failed(const QString &reason)
{
    return { WriteResult::Outcome::Failed, reason };
}

WriteResult failed(int error)
{
    return failed(io::errorText(error));
}

// Whether name in the folder is a regular file that already holds bytes.
bool holdsAlready(int folder, const QByteArray &name, const struct stat &seen, const QByteArray &bytes)
{
    if (seen.st_size != bytes.size())
        return false;
    const Descriptor file(::openat(folder, name.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
    struct stat opened
    {
    };
    return file.isOpen() && ::fstat(file.get(), &opened) == 0 && opened.st_ino == seen.st_ino
        && opened.st_dev == seen.st_dev && io::holds(file.get(), bytes);
}

// Only a regular file: a link of that name may point anywhere.
void removeStale(int folder, const QByteArray &temporary)
{
    struct stat seen
    {
    };
    if (::fstatat(folder, temporary.constData(), &seen, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(seen.st_mode))
        ::unlinkat(folder, temporary.constData(), 0);
}

// The file an unnamed temporary becomes, as a hard link of its descriptor.
int linkUnnamed(int fd, int folder, const QByteArray &name)
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    if (::linkat(AT_FDCWD, self.constData(), folder, name.constData(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    const int error = errno;
    // Without /proc, a privileged process links the descriptor itself.
    if (error == ENOENT && ::linkat(fd, "", folder, name.constData(), AT_EMPTY_PATH) == 0)
        return 0;
    return error;
}

int renameOver(int folder, const QByteArray &temporary, const QByteArray &name)
{
    if (::renameat(folder, temporary.constData(), folder, name.constData()) == 0)
        return 0;
    const int error = errno;
    ::unlinkat(folder, temporary.constData(), 0);
    return error;
}

} // namespace

WriteResult writeFile(const QString &path, const QByteArray &bytes, const WriteOptions &options)
{
    return writeFile(path, bytes, options, Creation::Unnamed);
}

WriteResult writeFile(
    const QString &path, const QByteArray &bytes, const WriteOptions &options, Creation creation)
{
    if (path.isEmpty())
        return failed(ENOENT);
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (name.isEmpty() || name == u"." || name == u"..")
        return failed(EISDIR);
    const Descriptor folder(
        ::open(QFile::encodeName(info.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.isOpen())
        return failed(errno);
    return writeFileIn(folder.get(), name, bytes, options, creation);
}

WriteResult writeFileIn(
    int folderFd, const QString &fileName, const QByteArray &bytes, const WriteOptions &options, Creation creation)
{
    const QByteArray name = QFile::encodeName(fileName);
    if (name.isEmpty() || name == "." || name == ".." || name.contains('/'))
        return failed(EISDIR);
    struct stat existing
    {
    };
    bool exists = false;
    if (::fstatat(folderFd, name.constData(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
        exists = true;
        if (S_ISLNK(existing.st_mode))
            return failed(QStringLiteral("Is a symbolic link; nothing is written through links"));
        if (S_ISDIR(existing.st_mode))
            return failed(EISDIR);
        if (!S_ISREG(existing.st_mode))
            return failed(QStringLiteral("Not a regular file"));
        const bool sameMode
            = options.mode < 0 || mode_t(options.mode) == (existing.st_mode & kPermissionBits);
        if (options.skipUnchanged && sameMode && holdsAlready(folderFd, name, existing, bytes))
            return { WriteResult::Outcome::UpToDate, {} };
    } else if (errno != ENOENT) {
        return failed(errno);
    }

    const QByteArray temporary = temporaryName(name);
    removeStale(folderFd, temporary);

    Descriptor file;
    bool unnamed = false;
    if (creation == Creation::Unnamed) {
        file = Descriptor(::openat(folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, kNewFileMode));
        unnamed = file.isOpen();
        // These answers mean the file system (or kernel) has no unnamed files; others are real.
        if (!unnamed && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return failed(errno);
    }
    if (!unnamed) {
        file = Descriptor(::openat(folderFd, temporary.constData(),
            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, kNewFileMode));
        if (!file.isOpen())
            return failed(errno);
    }
    // Anything that goes wrong before the file appears takes the named temporary along.
    const auto abandon = [&](int error) {
        file.close();
        if (!unnamed)
            ::unlinkat(folderFd, temporary.constData(), 0);
        return failed(error);
    };

    if (exists) {
        // Root replacing a user's file hands it back to that user; others cannot and need not.
        if (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid())
            (void)::fchown(file.get(), existing.st_uid, existing.st_gid);
    }
    const bool setMode = options.mode >= 0 || exists;
    const mode_t mode
        = options.mode >= 0 ? mode_t(options.mode) & kPermissionBits : existing.st_mode & kPermissionBits;
    if (setMode && ::fchmod(file.get(), mode) != 0)
        return abandon(errno);
    if (const int error = io::writeAll(file.get(), bytes.constData(), bytes.size()))
        return abandon(error);
    if (options.syncNow) {
        if (const int error = io::syncData(file.get()))
            return abandon(error);
    } else {
        syncwatch::watch(folderFd);
    }

    if (unnamed) {
        if (!exists) {
            const int error = linkUnnamed(file.get(), folderFd, name);
            if (error == 0)
                return { WriteResult::Outcome::Written, {} };
            // Someone made the name meanwhile: replace it like any existing file.
            if (error != EEXIST)
                return failed(error);
        }
        if (const int error = linkUnnamed(file.get(), folderFd, temporary))
            return failed(error);
        if (const int error = renameOver(folderFd, temporary, name))
            return failed(error);
        return { WriteResult::Outcome::Written, {} };
    }
    if (const int error = file.close())
        return abandon(error);
    if (const int error = renameOver(folderFd, temporary, name))
        return failed(error);
    return { WriteResult::Outcome::Written, {} };
}

bool syncFileSystem(const QString &folder, QString *reason)
{
    const Descriptor opened(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!opened.isOpen()) {
        if (reason)
            *reason = io::errorText(errno);
        return false;
    }
    return syncFileSystemOf(opened.get(), reason);
}

bool syncFileSystemOf(int folderFd, QString *reason)
{
    const auto fail = [&](int error) {
        if (reason)
            *reason = io::errorText(error);
        return false;
    };
    struct stat seen
    {
    };
    if (::fstat(folderFd, &seen) != 0)
        return fail(errno);
    // The descriptor kept since the first unsynced write hears of failures since then.
    Descriptor watching = syncwatch::take(quint64(seen.st_dev));
    const int fd = watching.isOpen() ? watching.get() : folderFd;
    if (::syncfs(fd) != 0)
        return fail(errno);
    return true;
}

} // namespace quillet::file
