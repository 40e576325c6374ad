#include "platform/file/fileio.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace quillet::file::io {

namespace {
constexpr qint64 kReadChunk = 64 * 1024;
}

QString errorText(int error)
{
    // strerror would follow the program's locale and is not safe across threads.
    const char *text = strerrordesc_np(error);
    return text ? QString::fromLatin1(text) : QStringLiteral("Error %1").arg(error);
}

int writeAll(int fd, const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        // A regular file that takes nothing has no room left.
        if (n == 0)
            return ENOSPC;
        data += n;
        size -= n;
    }
    return 0;
}

int syncData(int fd)
{
    while (::fdatasync(fd) != 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
}

bool holds(int fd, const QByteArray &bytes)
{
    QByteArray chunk(kReadChunk, Qt::Uninitialized);
    qint64 offset = 0;
    for (;;) {
        const ssize_t n = ::pread(fd, chunk.data(), size_t(chunk.size()), off_t(offset));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return offset == bytes.size();
        if (offset + n > bytes.size()
            || std::memcmp(chunk.constData(), bytes.constData() + offset, size_t(n)) != 0)
            return false;
        offset += n;
    }
}

} // namespace quillet::file::io
