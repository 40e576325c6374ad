// Any bytes as the settings file: reading never fails, and a write either stores the
// value so that it reads back, or leaves the file exactly as it was.
#include "catalogue/privateprofile.h"
#include "catalogue/settingsfile.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <cstring>

using quillet::catalogue::PrivateProfile;
using quillet::catalogue::SettingsFile;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    if (!folder.isValid())
        return 0;
    const QByteArray content(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString path = folder.filePath("setup.dat");
    if (!writeAll(path, content))
        return 0;

    const int before = SettingsFile::readSkinIndex(path);
    check(before == SettingsFile::toIndex(PrivateProfile::valueIn(content, "皮肤", "当前皮肤")));

    // The value to store comes from the input too, so all of int's range is tried.
    int value = 0;
    if (size >= sizeof value)
        std::memcpy(&value, data + size - sizeof value, sizeof value);
    if (!SettingsFile::writeSkinIndex(path, value)) {
        check(readAll(path) == content);
        return 0;
    }
    check(SettingsFile::readSkinIndex(path) == value);

    // Writing the same value again changes nothing.
    const QByteArray written = readAll(path);
    check(SettingsFile::writeSkinIndex(path, value));
    check(readAll(path) == written);

    // Other sections and keys read as before.
    check(PrivateProfile::valueIn(written, "x", "y") == PrivateProfile::valueIn(content, "x", "y"));
    check(PrivateProfile::valueIn(written, "皮肤", "k") == PrivateProfile::valueIn(content, "皮肤", "k"));
    return 0;
}
