#include "platform/file/temporaryname.h"

#include <QStringBuilder>

#include <climits>

namespace quillet::file {

namespace {

constexpr char kPrefix[] = ".";
constexpr char kSuffix[] = ".quillet-new";
constexpr qsizetype kMaxName = NAME_MAX;

// FNV-1a: stable across runs and builds, unlike qHash.
quint64 digest(const QByteArray &bytes)
{
    quint64 hash = 0xcbf29ce484222325ull;
    for (const char c : bytes) {
        hash ^= quint8(c);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

} // namespace

QByteArray temporaryName(const QByteArray &fileName)
{
    const qsizetype additions = qsizetype(sizeof kPrefix - 1 + sizeof kSuffix - 1);
    if (fileName.size() + additions <= kMaxName)
        return QByteArray(kPrefix) + fileName + kSuffix;
    const QByteArray tag = '~' + QByteArray::number(digest(fileName), 16).rightJustified(16, '0');
    qsizetype keep = kMaxName - additions - tag.size();
    // Never cut a UTF-8 character in two.
    while (keep > 0 && (quint8(fileName.at(keep)) & 0xC0) == 0x80)
        --keep;
    return QByteArray(kPrefix) + fileName.left(keep) + tag + kSuffix;
}

} // namespace quillet::file
