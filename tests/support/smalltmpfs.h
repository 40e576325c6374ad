#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

// A real, tiny file system for the failures a full or read-only disk gives. Mounting
// needs root (or a mount namespace); where it is not permitted, `mounted` is false and
// `error` says why, so the test can skip with that reason.
class SmallTmpfs
{
public:
    explicit SmallTmpfs(const QByteArray &options = "size=64k")
    {
        mounted = m_base.isValid()
            && ::mount("tmpfs", QFile::encodeName(path()).constData(), "tmpfs", 0, options.constData()) == 0;
        if (!mounted)
            error = QStringLiteral("cannot mount a tmpfs: ") + QString::fromLocal8Bit(std::strerror(errno));
    }
    ~SmallTmpfs()
    {
        if (mounted)
            ::umount2(QFile::encodeName(path()).constData(), MNT_DETACH);
    }
    SmallTmpfs(const SmallTmpfs &) = delete;
    SmallTmpfs &operator=(const SmallTmpfs &) = delete;

    QString path() const { return m_base.path(); }
    QString filePath(const QString &name) const { return m_base.filePath(name); }

    bool makeReadOnly()
    {
        return ::mount(
                   "tmpfs", QFile::encodeName(path()).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr)
            == 0;
    }

    // Takes up every page still free with a file of that name, then gives back `leave`
    // bytes; the file's size, -1 where that failed.
    qint64 fill(const QString &name, qint64 leave = 0)
    {
        const int fd
            = ::open(QFile::encodeName(filePath(name)).constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (fd < 0)
            return -1;
        const QByteArray page(4096, 'f');
        qint64 total = 0;
        for (ssize_t n = 0; (n = ::write(fd, page.constData(), size_t(page.size()))) > 0;)
            total += n;
        total = qMax<qint64>(0, total - leave);
        const bool truncated = ::ftruncate(fd, off_t(total)) == 0;
        ::close(fd);
        return truncated ? total : -1;
    }

    bool mounted = false;
    QString error;

private:
    QTemporaryDir m_base;
};
