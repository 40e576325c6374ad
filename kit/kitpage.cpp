#include "pictures/kitpage.h"

#include <QStringList>

namespace quillet::pictures::kitpage {

namespace {

// What the demo shows of a state, with the classes and attributes that pin it.
struct Shown
{
    QStringView label;
    QStringView extra; // classes after the button's own
    QStringView attribute;
};
constexpr Shown kShown[] = {
    { u"normal", u"", u"" },
    { u"hover", u" is-hover", u"" },
    { u"focus", u" is-focus", u"" },
    { u"active", u" is-active", u"" },
    { u"disabled", u"", u" disabled" },
};

// The check box's states with the classes and attributes that pin them, in the order of
// the style sheet.
constexpr Shown kShownChecks[] = {
    { u"未选", u"", u"" },
    { u"点燃", u" is-hover", u"" },
    { u"按下", u" is-active", u"" },
    { u"选中", u"", u" checked" },
    { u"选中点燃", u" is-checked is-hover", u" checked" },
    { u"选中按下", u" is-checked is-active", u" checked" },
    { u"禁止", u"", u" disabled" },
    { u"选中禁止", u"", u" checked disabled" },
};

// An icon drawn in currentColor takes each state's caption colour, disabled included; its
// class puts the gap on the caption's side in either writing direction.
QString icon(const QString &prefix)
{
    return QStringLiteral("<svg class=\"") + prefix
        + QStringLiteral("-icon\" width=\"12\" height=\"12\" viewBox=\"0 0 12 12\" aria-hidden=\"true\">"
                         "<path d=\"M1.5 6.5l3 3 6-7\" fill=\"none\" stroke=\"currentColor\" "
                         "stroke-width=\"2\"/></svg>");
}

} // namespace

QString html(const KitStyle &style, const QString &cssFile)
{
    const QString button = style.prefix + QStringLiteral("-button");
    const QString check = style.prefix + QStringLiteral("-check");
    const QString pin = QStringLiteral("is-");
    QString page;
    page += QStringLiteral("<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n");
    page += QStringLiteral("<meta name=\"color-scheme\" content=\"")
        + (style.dark ? QStringLiteral("light dark") : QStringLiteral("light")) + QStringLiteral("\">\n");
    page += QStringLiteral("<title>Button kit: ") + style.light.name.toHtmlEscaped()
        + QStringLiteral("</title>\n");
    page += QStringLiteral("<link rel=\"stylesheet\" href=\"") + cssFile.toHtmlEscaped()
        + QStringLiteral("\">\n");
    page += QStringLiteral("<style>\n");
    page += QStringLiteral("body { margin: 16px; background: ") + style.light.page.name()
        + QStringLiteral("; color: #202020; font: 13px sans-serif; }\n");
    page += QStringLiteral("td, th { padding: 4px 10px 4px 0; text-align: left; font-weight: normal; }\n");
    page += QStringLiteral(
        "pre { background: #fafafa; color: #202020; border: 1px solid #c8c8c8; padding: 8px; white-space: pre-wrap; }\n");
    if (style.dark)
        page += QStringLiteral("@media (prefers-color-scheme: dark) { body { background: ")
            + style.dark->page.name() + QStringLiteral("; color: #e8e8e8; } }\n");
    page += QStringLiteral("</style>\n</head>\n<body>\n");
    page += QStringLiteral("<h1>") + style.light.name.toHtmlEscaped() + QStringLiteral("</h1>\n");
    if (style.dark)
        page += QStringLiteral("<p>Under a dark colour scheme the buttons take the skin ")
            + style.dark->name.toHtmlEscaped() + QStringLiteral(".</p>\n");
    page += QStringLiteral(
        "<table>\n<tr><th></th><th>&lt;button&gt;</th><th>width 160px</th><th>&lt;a&gt;</th>"
        "<th>&lt;input type=submit&gt;</th></tr>\n");
    for (const Shown &shown : kShown) {
        if (shown.label == u"focus" && !style.focus)
            continue;
        const QString cls = button + shown.extra;
        page += QStringLiteral("<tr><td>") + shown.label + QStringLiteral("</td>");
        page += QStringLiteral("<td><button type=\"button\" class=\"") + cls + u'"' + shown.attribute
            + QStringLiteral(">确定</button></td>");
        page += QStringLiteral("<td><button type=\"button\" class=\"") + cls
            + QStringLiteral("\" style=\"width: 160px\"") + shown.attribute
            + QStringLiteral(">保存图片</button></td>");
        page += QStringLiteral("<td><a href=\"#\" class=\"") + cls
            + (shown.attribute.isEmpty()
                    ? QString()
                    : QStringLiteral(" ") + pin + QStringLiteral("disabled\" aria-disabled=\"true"))
            + QStringLiteral("\">链接</a></td>");
        page += QStringLiteral("<td><input type=\"submit\" class=\"") + cls + u'"' + shown.attribute
            + QStringLiteral(" value=\"提交\"></td></tr>\n");
    }
    const QString kitIcon = icon(style.prefix);
    page += QStringLiteral("</table>\n<p>");
    page += QStringLiteral("<button type=\"button\" class=\"") + button + QStringLiteral("\">") + kitIcon
        + QStringLiteral("确定</button> <button type=\"button\" class=\"") + button
        + QStringLiteral("\" disabled>") + kitIcon + QStringLiteral("确定</button></p>\n");
    // Right to left, the icon leads from the right with its gap on its left.
    page += QStringLiteral("<p dir=\"rtl\" lang=\"ar\"><button type=\"button\" class=\"") + button
        + QStringLiteral("\">") + kitIcon + QStringLiteral("موافق</button> <button type=\"button\" class=\"")
        + button + QStringLiteral("\" style=\"width: 160px\">") + kitIcon
        + QStringLiteral("حفظ الصورة</button></p>\n<p>");
    for (const Shown &shown : kShownChecks)
        page += QStringLiteral("<label><input type=\"checkbox\" class=\"") + check + shown.extra + u'"'
            + shown.attribute + QStringLiteral("> ") + shown.label + QStringLiteral("</label> ");
    page += QStringLiteral("</p>\n<h2>HTML</h2>\n<pre><code>");
    const QString snippet = QStringLiteral("<link rel=\"stylesheet\" href=\"") + cssFile
        + QStringLiteral("\">\n") + QStringLiteral("<button class=\"") + button
        + QStringLiteral("\">确定</button>\n") + QStringLiteral("<a class=\"") + button
        + QStringLiteral("\" href=\"next.html\">下一页</a>\n") + QStringLiteral("<input class=\"") + button
        + QStringLiteral("\" type=\"submit\" value=\"提交\">\n") + QStringLiteral("<button class=\"") + button
        + QStringLiteral("\" disabled>禁止</button>\n") + QStringLiteral("<button class=\"") + button
        + QStringLiteral("\">") + kitIcon + QStringLiteral("确定</button>\n")
        + QStringLiteral("<label><input class=\"") + check
        + QStringLiteral("\" type=\"checkbox\"> 记住我</label>");
    page += snippet.toHtmlEscaped();
    page += QStringLiteral("</code></pre>\n</body>\n</html>\n");
    return page;
}

} // namespace quillet::pictures::kitpage
