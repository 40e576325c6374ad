#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace quillet::system {

// What names a file whatever the path: a link to it or a second hard link is the same file.
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileIdentity &) const = default;
};

// The file a path leads to, links followed; none where nothing is.
std::optional<FileIdentity> identityOf(const QString &path);

// The bytes of a file the user named as input. Only a regular file is read: a device, a
// FIFO or a folder is refused at once, and so is a file over maxBytes (read no further than
// that, should it grow meanwhile). None, and why in one line, on refusal.
std::optional<QByteArray> readInput(const QString &path, qint64 maxBytes, QString *why);
// The same checks, but a longer file gives its first maxBytes rather than a refusal: for
// readers that judge the cut themselves (a skin keeps its whole lines).
std::optional<QByteArray> readInputHead(const QString &path, qint64 maxBytes, QString *why);

} // namespace quillet::system
