#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace quillet::catalogue {

// Windows initialisation files ("[section]" lines, "key=value" lines) read and written
// with the private-profile rules: section and key names match without regard to ASCII
// case, whitespace around names and values is ignored, the first of duplicate sections
// or keys wins, a value in matching quotes loses them. Text is GBK on disk; a file that
// starts with a UTF-8 byte order mark is read and written as UTF-8. A write changes
// only the bytes of the one value (or inserts the one missing line or section) and
// keeps every other byte, line ends included.
class PrivateProfile
{
public:
    // Files larger than this are not settings files; they are neither read nor rewritten.
    static constexpr qsizetype kMaxFileBytes = 64 * 1024 * 1024;

    // Empty text when the file, the section or the key is missing or unreadable.
    static QString read(const QString &filePath, const QString &section, const QString &key);

    // Creates the file when its folder exists, never a folder. Replaced atomically, so
    // the old or the new file survives any crash. False, with the file untouched, when
    // the folder is missing, the file or folder is read-only, the file is not a regular
    // file, too large, UTF-16, or when a name or the value cannot be stored in a line.
    static bool write(
        const QString &filePath, const QString &section, const QString &key, const QString &value);

    // The same two operations on file contents.
    static QString valueIn(const QByteArray &content, const QString &section, const QString &key);
    static std::optional<QByteArray> withValue(
        const QByteArray &content, const QString &section, const QString &key, const QString &value);
};

} // namespace quillet::catalogue
