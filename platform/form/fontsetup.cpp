#include "platform/form/fontsetup.h"

#include <QApplication>
#include <QFont>

namespace quillet::form {

void FontSetup::install()
{
    const QStringList faces{QStringLiteral("WenQuanYi Bitmap Song"), QStringLiteral("WenQuanYi Zen Hei"),
                            QStringLiteral("Noto Sans CJK SC"), QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), faces);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), faces);
    QFont appFont(QStringLiteral("宋体"));
    appFont.setPointSize(kDefaultPointSize);
    QApplication::setFont(appFont);
}

} // namespace quillet::form
