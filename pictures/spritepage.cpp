#include "pictures/spritepage.h"

#include <QUrl>

namespace quillet::pictures {

QString SpritePage::html(const QString &caption, const QString &className, const QString &cssFile)
{
    const QString text = caption.toHtmlEscaped();
    const QString href = QString::fromLatin1(QUrl::toPercentEncoding(cssFile));
    // The caption is in the picture; the label only names the button for screen readers.
    const QString button = QStringLiteral("<button type=\"button\" class=\"") + className.toHtmlEscaped()
        + QStringLiteral("\" aria-label=\"") + text + u'"';
    QString page;
    page += QStringLiteral("<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n");
    page += QStringLiteral("<title>") + text + QStringLiteral("</title>\n");
    page += QStringLiteral("<link rel=\"stylesheet\" href=\"") + href + QStringLiteral("\">\n");
    page += QStringLiteral("</head>\n<body>\n");
    page += QStringLiteral("<p>") + button + QStringLiteral("></button></p>\n");
    page += QStringLiteral("<p>") + button + QStringLiteral(" disabled></button></p>\n");
    page += QStringLiteral("</body>\n</html>\n");
    return page;
}

} // namespace quillet::pictures
