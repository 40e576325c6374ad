#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace quillet::catalogue {

// Windows initialisation files ("[section]" lines, "key=value" lines) read and written
// with the private-profile rules: section and key names match without regard to ASCII
// case, whitespace around names and values is ignored, the first of duplicate sections
// or keys wins, a value in matching quotes loses them. Lines end in CR LF, LF or a lone
// CR. Text is GBK on disk; a file that starts with a byte order mark is read and written
// in that form: UTF-8, or UTF-16 in either byte order. A write changes only the one value
// (or inserts the one missing line or section, with the file's own line end) and keeps
// every other character, the mark and line ends included.
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
    // file, too large, UTF-16 that is not valid text, or when a name or the value cannot
    // be stored in a line.
    static bool write(
        const QString &filePath, const QString &section, const QString &key, const QString &value);

    // The file's bytes, empty when there is no file; nullopt when it exists but cannot
    // serve as a settings file. For reading several values from one read.
    static std::optional<QByteArray> contents(const QString &filePath);

    // The same two operations on file contents.
    static QString valueIn(const QByteArray &content, const QString &section, const QString &key);
    static std::optional<QByteArray> withValue(
        const QByteArray &content, const QString &section, const QString &key, const QString &value);
};

} // namespace quillet::catalogue
