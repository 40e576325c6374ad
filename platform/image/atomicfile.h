#pragma once

#include <QByteArray>
#include <QString>

namespace quillet::image {

// The former writer's name, kept for the callers not yet moved to file::writeFile, which
// does the work and also tells why a write failed.
class AtomicFile
{
public:
    static bool write(const QString &path, const QByteArray &bytes);
};

} // namespace quillet::image
