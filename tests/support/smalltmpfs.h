#pragma once

#include <QByteArray>
#include <QDir>
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
        if (!m_base.isValid()) {
            error = QStringLiteral("no temporary folder");
            return;
        }
        if (::mount("tmpfs", QFile::encodeName(path()).constData(), "tmpfs", 0, options.constData()) != 0) {
            error = QStringLiteral("cannot mount a tmpfs: ") + QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        mounted = true;
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

    // Makes the mounted file system read-only (or writable again).
    bool remount(bool readOnly)
    {
        const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
        return ::mount("tmpfs", QFile::encodeName(path()).constData(), "tmpfs", flags, nullptr) == 0;
    }

    // Takes up every byte still free with a file of that name, then gives back `leave`
    // bytes (whole pages); the file's size.
    qint64 fill(const QString &name, qint64 leave = 0)
    {
        const int fd
            = ::open(QFile::encodeName(filePath(name)).constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (fd < 0)
            return -1;
        const QByteArray block(512, 'f');
        qint64 total = 0;
        for (qsizetype size = block.size(); size > 0; size /= 2) {
            ssize_t n = 0;
            while ((n = ::write(fd, block.constData(), size_t(size))) > 0)
                total += n;
        }
        if (leave > 0) {
            total = qMax<qint64>(0, total - leave);
            if (::ftruncate(fd, off_t(total)) != 0)
                total = -1;
        }
        ::close(fd);
        return total;
    }

    bool mounted = false;
    QString error;

private:
    QTemporaryDir m_base;
};
