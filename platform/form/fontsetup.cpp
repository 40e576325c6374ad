#include "platform/form/fontsetup.h"

#include <QApplication>
#include <QFont>

namespace quillet::form {

namespace {

struct FamilyNames
{
    const char16_t *chinese;
    const char16_t *english;
};

// The families the program names, under both their names.
constexpr FamilyNames kFamilies[] = { { u"宋体", u"SimSun" } };

} // namespace

void FontSetup::install()
{
    const QStringList faces{QStringLiteral("WenQuanYi Bitmap Song"), QStringLiteral("WenQuanYi Zen Hei"),
                            QStringLiteral("Noto Sans CJK SC"), QStringLiteral("DejaVu Sans")};
    for (const FamilyNames &names : kFamilies) {
        QFont::insertSubstitutions(QString::fromUtf16(names.chinese), faces);
        QFont::insertSubstitutions(QString::fromUtf16(names.english), faces);
    }
    QFont appFont(QStringLiteral("宋体"));
    appFont.setPointSize(kDefaultPointSize);
    QApplication::setFont(appFont);
}

QString FontSetup::englishName(const QString &family)
{
    for (const FamilyNames &names : kFamilies) {
        if (family == QString::fromUtf16(names.chinese))
            return QString::fromUtf16(names.english);
    }
    return family;
}

} // namespace quillet::form
