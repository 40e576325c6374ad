#include "platform/file/syncwatch.h"

#include <QMutex>
#include <QMutexLocker>

#include <fcntl.h>
#include <map>
#include <sys/stat.h>

namespace quillet::file::syncwatch {

namespace {

QMutex &lock()
{
    static QMutex mutex;
    return mutex;
}

std::map<quint64, Descriptor> &watched()
{
    static std::map<quint64, Descriptor> descriptors;
    return descriptors;
}

} // namespace

void watch(int folderFd)
{
    struct stat folder
    {
    };
    if (::fstat(folderFd, &folder) != 0)
        return;
    const QMutexLocker locked(&lock());
    auto &descriptors = watched();
    if (descriptors.count(quint64(folder.st_dev)) != 0)
        return;
    // A duplicate shares the open file and so its view of earlier write-back errors.
    Descriptor copy(::fcntl(folderFd, F_DUPFD_CLOEXEC, 0));
    if (copy.isOpen())
        descriptors.emplace(quint64(folder.st_dev), std::move(copy));
}

Descriptor take(quint64 device)
{
    const QMutexLocker locked(&lock());
    auto &descriptors = watched();
    const auto found = descriptors.find(device);
    if (found == descriptors.end())
        return {};
    Descriptor descriptor = std::move(found->second);
    descriptors.erase(found);
    return descriptor;
}

} // namespace quillet::file::syncwatch
