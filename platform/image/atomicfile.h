#pragma once

#include <QByteArray>
#include <QString>

namespace quillet::image {

// Every file the program writes goes through here: the bytes reach the final name whole
// or not at all, and a failed write leaves a file already there as it was.
class AtomicFile
{
public:
    static bool write(const QString &path, const QByteArray &bytes);
};

} // namespace quillet::image
