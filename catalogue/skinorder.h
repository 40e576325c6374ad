#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quillet::catalogue {

// Order of the skin list. A name's key is its GBK bytes with the ASCII letters A-Z
// folded to lower case; keys compare byte by byte as unsigned values, a prefix being
// the smaller. Folding to lower case puts the six characters [ \ ] ^ _ ` below every
// letter, so "_x.an" sorts after "a.an" in the descending list. A name starting with a
// Chinese character is greater than any name starting with an ASCII character.
class SkinOrder
{
public:
    static QByteArray key(const QString &name);
    // Negative, zero or positive as key a is smaller than, equal to or greater than key b.
    static int compareKeys(const QByteArray &a, const QByteArray &b);
    // Greatest key first. Names whose keys are equal (possible where file names differ
    // in letter case only) are ordered by their unfolded bytes, greatest first, so the
    // result never depends on the order found.
    static void sortDescending(QStringList &names);
};

} // namespace quillet::catalogue
