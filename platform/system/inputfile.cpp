#include "platform/system/inputfile.h"

#include "platform/file/fileio.h"

#include <QFile>
#include <QScopeGuard>

#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet::system {

std::optional<FileIdentity> identityOf(const QString &path)
{
    struct stat seen
    {
    };
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &seen) != 0)
        return std::nullopt;
    return FileIdentity { quint64(seen.st_dev), quint64(seen.st_ino) };
}

namespace {

enum class Oversize { Refuse, Cut };

std::optional<QByteArray> read(const QString &path, qint64 maxBytes, Oversize oversize, QString *why)
{
    const auto refuse = [&](const QString &reason) -> std::optional<QByteArray> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    // Not blocking: a FIFO would wait for a writer before the check below could refuse it.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return refuse(file::io::errorText(errno));
    const auto closing = qScopeGuard([fd] { ::close(fd); });
    struct stat seen
    {
    };
    if (::fstat(fd, &seen) != 0)
        return refuse(file::io::errorText(errno));
    if (!S_ISREG(seen.st_mode))
        return refuse(S_ISDIR(seen.st_mode) ? QStringLiteral("is a folder") : QStringLiteral("is not a regular file"));
    const QString tooLarge = QStringLiteral("is larger than %1 bytes").arg(maxBytes);
    if (seen.st_size > maxBytes && oversize == Oversize::Refuse)
        return refuse(tooLarge);
    QByteArray bytes;
    bytes.reserve(qsizetype(std::min<qint64>(seen.st_size, maxBytes)));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return refuse(file::io::errorText(errno));
        if (got == 0)
            break;
        if (bytes.size() + got > maxBytes) {
            if (oversize == Oversize::Refuse)
                return refuse(tooLarge);
            bytes.append(buffer, qsizetype(maxBytes - bytes.size()));
            break;
        }
        bytes.append(buffer, qsizetype(got));
    }
    return bytes;
}

} // namespace

std::optional<QByteArray> readInput(const QString &path, qint64 maxBytes, QString *why)
{
    return read(path, maxBytes, Oversize::Refuse, why);
}

std::optional<QByteArray> readInputHead(const QString &path, qint64 maxBytes, QString *why)
{
    return read(path, maxBytes, Oversize::Cut, why);
}

} // namespace quillet::system
