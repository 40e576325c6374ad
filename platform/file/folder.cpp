#include "platform/file/folder.h"

#include "platform/file/fileio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <fcntl.h>
#include <dirent.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet::file {

namespace {

constexpr mode_t kNewFolderMode = 0777; // the umask takes its part

QString linkRefused()
{
    return QStringLiteral("is a link; nothing is written through links");
}

} // namespace

Folder Folder::open(const QString &path, bool create, QString *reason)
{
    const auto fail = [&](const QString &why) {
        if (reason)
            *reason = why;
        return Folder();
    };
    if (path.isEmpty())
        return fail(io::errorText(ENOENT));
    if (create && !QDir().mkpath(path)) {
        const QFileInfo info(path);
        return fail(io::errorText(info.exists() && !info.isDir() ? ENOTDIR : EACCES));
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return fail(io::errorText(errno));
    return Folder(Descriptor(fd));
}

Folder Folder::subfolder(const QString &relative, bool create, QString *reason) const
{
    const auto fail = [&](const QString &why) {
        if (reason)
            *reason = why;
        return Folder();
    };
    if (!isOpen())
        return fail(io::errorText(EBADF));
    Descriptor current(::dup(m_fd.get()));
    if (!current.isOpen())
        return fail(io::errorText(errno));
    for (const QString &part : relative.split(u'/', Qt::SkipEmptyParts)) {
        const QByteArray name = QFile::encodeName(part);
        if (name == "." || name == "..")
            return fail(io::errorText(EINVAL));
        if (create && ::mkdirat(current.get(), name.constData(), kNewFolderMode) != 0 && errno != EEXIST)
            return fail(io::errorText(errno));
        const int next
            = ::openat(current.get(), name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0) {
            const int error = errno;
            struct stat seen
            {
            };
            // ELOOP and ENOTDIR both answer a link; say which it is.
            if (::fstatat(current.get(), name.constData(), &seen, AT_SYMLINK_NOFOLLOW) == 0
                && S_ISLNK(seen.st_mode))
                return fail(linkRefused());
            return fail(io::errorText(error));
        }
        current = Descriptor(next);
    }
    return Folder(std::move(current));
}

WriteResult Folder::write(
    const QString &name, const QByteArray &bytes, const WriteOptions &options, Creation creation) const
{
    return writeFileIn(m_fd.get(), name, bytes, options, creation);
}

int Folder::remove(const QString &name) const
{
    const QByteArray encoded = QFile::encodeName(name);
    if (encoded.isEmpty() || encoded.contains('/') || encoded == "." || encoded == "..")
        return EINVAL;
    if (::unlinkat(m_fd.get(), encoded.constData(), 0) == 0 || errno == ENOENT)
        return 0;
    return errno;
}

int Folder::exchange(const QString &from, const QString &to) const
{
    const QByteArray a = QFile::encodeName(from);
    const QByteArray b = QFile::encodeName(to);
    if (::renameat2(m_fd.get(), a.constData(), m_fd.get(), b.constData(), RENAME_EXCHANGE) == 0)
        return 0;
    // Nothing of that name yet, or a file system that cannot swap: a plain rename that
    // refuses to replace.
    if (errno != ENOENT && errno != EINVAL)
        return errno;
    if (::renameat2(m_fd.get(), a.constData(), m_fd.get(), b.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    return errno;
}

int Folder::removeTree(const QString &name) const
{
    const QByteArray encoded = QFile::encodeName(name);
    if (encoded.isEmpty() || encoded.contains('/') || encoded == "." || encoded == "..")
        return EINVAL;
    const int fd = ::openat(m_fd.get(), encoded.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? 0 : remove(name);
    const Folder inside { Descriptor(fd) };
    DIR *listing = ::fdopendir(::dup(fd));
    if (!listing)
        return errno;
    QStringList entries;
    while (const dirent *entry = ::readdir(listing)) {
        const QByteArray child(entry->d_name);
        if (child != "." && child != "..")
            entries.append(QFile::decodeName(child));
    }
    ::closedir(listing);
    for (const QString &entry : std::as_const(entries)) {
        if (const int error = inside.removeTree(entry))
            return error;
    }
    if (::unlinkat(m_fd.get(), encoded.constData(), AT_REMOVEDIR) != 0 && errno != ENOENT)
        return errno;
    return 0;
}

bool Folder::sync(QString *reason) const
{
    return syncFileSystemOf(m_fd.get(), reason);
}

} // namespace quillet::file
