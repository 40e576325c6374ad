#include "pictures/spritecss.h"

#include <QStringList>
#include <QUrl>

namespace quillet::pictures {

QString SpriteCss::url(const QString &fileName)
{
    return QStringLiteral("url(\"") + QString::fromLatin1(QUrl::toPercentEncoding(fileName))
        + QStringLiteral("\")");
}

QString SpriteCss::text(const Sheet &sheet)
{
    const QString selector = u'.' + sheet.className;
    const int width = sheet.buttonSize.width();
    const int height = sheet.buttonSize.height();
    const auto px = [](int value) -> QString {
        return value == 0 ? QStringLiteral("0") : QString::number(value) + u"px";
    };
    const auto band = [&](int index) -> QString { return QStringLiteral("0 ") + px(-index * height); };
    const QString one = sheet.files.isEmpty() ? QString() : url(sheet.files.first().file);

    QString css;
    css += selector + QStringLiteral(" {\n");
    css += QStringLiteral("  display: inline-block;\n");
    css += QStringLiteral("  width: ") + px(width) + QStringLiteral(";\n");
    css += QStringLiteral("  height: ") + px(height) + QStringLiteral(";\n");
    css += QStringLiteral("  margin: 0;\n  padding: 0;\n  border: 0;\n");
    css += QStringLiteral("  background-color: transparent;\n");
    css += QStringLiteral("  background-image: ") + one + QStringLiteral(";\n");
    if (sheet.files.size() > 1) {
        QStringList densities;
        for (const SheetFile &file : sheet.files)
            densities.append(url(file.file) + u' ' + QString::number(file.ratio) + u'x');
        const QString set = densities.join(QStringLiteral(", "));
        css += QStringLiteral("  background-image: -webkit-image-set(") + set + QStringLiteral(");\n");
        css += QStringLiteral("  background-image: image-set(") + set + QStringLiteral(");\n");
    }
    css += QStringLiteral("  background-repeat: no-repeat;\n");
    // Every sheet is drawn at the 1x sheet's size: four (five) states stacked.
    css += QStringLiteral("  background-size: ") + px(width) + u' ' + px((sheet.focus ? 5 : 4) * height) + QStringLiteral(";\n");
    css += QStringLiteral("  background-position: ") + band(0) + QStringLiteral(";\n");
    css += QStringLiteral("  cursor: pointer;\n");
    css += QStringLiteral("}\n");
    css += selector + QStringLiteral(":hover {\n  background-position: ") + band(1)
        + QStringLiteral(";\n}\n");
    // Focus before pressed: a button held down by the keyboard shows that it is pressed.
    if (sheet.focus)
        css += selector + QStringLiteral(":focus-visible {\n  background-position: ") + band(4)
            + QStringLiteral(";\n  outline: none;\n}\n");
    css += selector + QStringLiteral(":active {\n  background-position: ") + band(2)
        + QStringLiteral(";\n}\n");
    // Last, so that a disabled button under the mouse keeps its disabled band.
    css += selector + QStringLiteral(":disabled,\n") + selector + QStringLiteral(".disabled {\n");
    css += QStringLiteral("  background-position: ") + band(3) + QStringLiteral(";\n");
    css += QStringLiteral("  cursor: default;\n}\n");
    return css;
}

} // namespace quillet::pictures
