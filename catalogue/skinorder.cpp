#include "catalogue/skinorder.h"

#include "platform/system/gbkcodec.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace quillet::catalogue {

namespace {

QString foldedAsciiLetters(const QString &name)
{
    QString folded = name;
    for (QChar &c : folded) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() - u'A' + u'a');
    }
    return folded;
}

struct Keyed
{
    QByteArray key;
    QByteArray raw;
    QString name;
};

} // namespace

QByteArray SkinOrder::key(const QString &name)
{
    return system::GbkCodec::toGbk(foldedAsciiLetters(name));
}

int SkinOrder::compareKeys(const QByteArray &a, const QByteArray &b)
{
    const size_t common = static_cast<size_t>(std::min(a.size(), b.size()));
    const int byBytes = common == 0 ? 0 : std::memcmp(a.constData(), b.constData(), common);
    if (byBytes != 0)
        return byBytes;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

void SkinOrder::sortDescending(QStringList &names)
{
    system::GbkCodec codec;
    std::vector<Keyed> keyed;
    keyed.reserve(static_cast<size_t>(names.size()));
    for (const QString &name : std::as_const(names))
        keyed.push_back({ codec.encode(foldedAsciiLetters(name)), codec.encode(name), name });
    std::sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) {
        if (const int byKey = compareKeys(a.key, b.key))
            return byKey > 0;
        if (const int byRaw = compareKeys(a.raw, b.raw))
            return byRaw > 0;
        return a.name > b.name;
    });
    for (qsizetype i = 0; i < names.size(); ++i)
        names[i] = std::move(keyed[static_cast<size_t>(i)].name);
}

} // namespace quillet::catalogue
