#include "platform/image/atomicfile.h"

#include "platform/file/filewriter.h"

namespace quillet::image {

bool AtomicFile::write(const QString &path, const QByteArray &bytes)
{
    return file::writeFile(path, bytes).ok();
}

} // namespace quillet::image
