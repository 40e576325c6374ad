#include "pictures/cssclassname.h"

namespace quillet::pictures {

bool CssClassName::isIdentifierCodePoint(char32_t c)
{
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-')
        return true;
    // The non-ASCII ranges of the CSS syntax's identifier code points: no spaces, no
    // controls, no surrogates or non-characters.
    return c == 0xB7 || (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x37D)
        || (c >= 0x37F && c <= 0x1FFF) || c == 0x200C || c == 0x200D || c == 0x203F || c == 0x2040
        || (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF)
        || (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

QString CssClassName::fromCaption(const QString &caption)
{
    QString name = kPrefix.toString();
    for (qsizetype i = 0; i < caption.size(); ++i) {
        // An unpaired surrogate stays a surrogate code point, which no identifier may hold.
        char32_t c = caption.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < caption.size() && caption.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(caption.at(i), caption.at(i + 1));
            ++i;
        }
        if (c == u'_') {
            name += QStringLiteral("__");
        } else if (isIdentifierCodePoint(c)) {
            name += QString::fromUcs4(&c, 1);
        } else {
            name += QStringLiteral("_u") + QString::number(quint32(c), 16) + u'_';
        }
    }
    return name;
}

} // namespace quillet::pictures
