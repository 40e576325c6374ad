#include "kit/plannedpictures.h"

#include "pictures/picturebytes.h"

using namespace Qt::StringLiterals;

namespace quillet::kit::plannedpictures {

bool add(QList<pictures::PlannedFile> &files, const QString &name, const QImage &picture)
{
    const QByteArray bytes = picture.isNull() ? QByteArray() : pictures::PictureBytes::lossless(picture);
    if (bytes.isEmpty())
        return false;
    files.append(pictures::PlannedFile::ofBytes(name, bytes));
    return true;
}

Problem undrawn(const QString &name)
{
    return { u"cannot draw \""_s + name + u'"', false };
}

} // namespace quillet::kit::plannedpictures
