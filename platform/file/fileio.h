#pragma once

#include <QByteArray>
#include <QString>

// The system calls the writer repeats, each with its retries and its one error answer.
namespace quillet::file::io {

// The system's text for an error number, the same whatever the locale.
QString errorText(int error);
// Writes every byte, through partial writes and interruptions; 0 or the error number.
int writeAll(int fd, const char *data, qint64 size);
// 0 or the error number of fdatasync.
int syncData(int fd);
// Whether the open file from its start holds exactly these bytes.
bool holds(int fd, const QByteArray &bytes);

} // namespace quillet::file::io
