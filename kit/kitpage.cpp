#include "kit/kitpage.h"

#include "kit/classnames.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace quillet::kit::kitpage {

namespace {

using classnames::Part;

// How the demo pins a state without the pointer: the state's classes after the element's
// own, or the attributes a page sets for it.
struct Pinned
{
    QString classes; // " is-checked is-hover"
    QString attributes; // " checked disabled"
};

Pinned pinned(const StateRow &row)
{
    Pinned result;
    if (model::isChecked(row.state))
        result.attributes += u" checked"_s;
    if (model::isDisabled(row.state))
        result.attributes += u" disabled"_s;
    // A state an attribute gives needs no class of its own.
    if (row.cascade > 0 && !model::isDisabled(row.state) && row.state != SampleState::Checked)
        result.classes = u' ' + row.forcingClass.toString().replace(u'.', u' ');
    return result;
}

// An icon drawn in currentColor takes each state's caption colour, disabled included; its
// class puts the gap on the caption's side in either writing direction.
QString icon(const QString &prefix)
{
    return QStringLiteral("<svg class=\"") + classnames::of(prefix, Part::Icon)
        + QStringLiteral("\" width=\"12\" height=\"12\" viewBox=\"0 0 12 12\" aria-hidden=\"true\">"
                         "<path d=\"M1.5 6.5l3 3 6-7\" fill=\"none\" stroke=\"currentColor\" "
                         "stroke-width=\"2\"/></svg>");
}

QString head(const Model &model, const QString &cssFile)
{
    const Scheme *dark = model.dark();
    const QString name = model.light().skin.name.toHtmlEscaped();
    QString page = u"<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n"_s;
    page += u"<meta name=\"color-scheme\" content=\""_s + (dark ? u"light dark"_s : u"light"_s) + u"\">\n"_s;
    page += u"<title>Button kit: "_s + name + u"</title>\n"_s;
    page += u"<link rel=\"stylesheet\" href=\""_s + cssFile.toHtmlEscaped() + u"\">\n"_s;
    page += u"<style>\n"_s;
    page += u"body { margin: 16px; background: "_s + model.light().skin.page.name()
        + u"; color: #202020; font: 13px sans-serif; }\n"_s;
    page += u"td, th { padding: 4px 10px 4px 0; text-align: left; font-weight: normal; }\n"_s;
    page += u"pre { background: #fafafa; color: #202020; border: 1px solid #c8c8c8; padding: 8px; "
            "white-space: pre-wrap; }\n"_s;
    if (dark)
        page += u"@media (prefers-color-scheme: dark) { body { background: "_s + dark->skin.page.name()
            + u"; color: #e8e8e8; } }\n"_s;
    page += u"</style>\n</head>\n<body>\n"_s;
    page += u"<h1>"_s + name + u"</h1>\n"_s;
    if (dark)
        page += u"<p>Under a dark colour scheme the buttons take the skin "_s
            + dark->skin.name.toHtmlEscaped() + u".</p>\n"_s;
    return page;
}

// One row per drawn state: a button, a wide one, a link and a submit input.
QString stateTable(const Model &model)
{
    const QString button = classnames::of(model.prefix(), Part::Button);
    QString page = u"<table>\n<tr><th></th><th>&lt;button&gt;</th><th>width 160px</th><th>&lt;a&gt;</th>"
                   "<th>&lt;input type=submit&gt;</th></tr>\n"_s;
    for (const StateRow &row : model.buttonStates()) {
        const Pinned pin = pinned(row);
        const QString cls = button + pin.classes;
        // A link has no disabled attribute; its class and aria-disabled pin the state.
        const QString link
            = pin.attributes.isEmpty() ? QString() : u" "_s + row.forcingClass + u"\" aria-disabled=\"true"_s;
        page += u"<tr><td>"_s + row.word + u"</td>"_s;
        page += u"<td><button type=\"button\" class=\""_s + cls + u'"' + pin.attributes
            + u">确定</button></td>"_s;
        page += u"<td><button type=\"button\" class=\""_s + cls + u"\" style=\"width: 160px\""_s
            + pin.attributes + u">保存图片</button></td>"_s;
        page += u"<td><a href=\"#\" class=\""_s + cls + link + u"\">链接</a></td>"_s;
        page += u"<td><input type=\"submit\" class=\""_s + cls + u'"' + pin.attributes
            + u" value=\"提交\"></td></tr>\n"_s;
    }
    return page + u"</table>\n"_s;
}

// Buttons with an icon, left to right and right to left, and the check box in every state.
QString iconsAndChecks(const Model &model)
{
    const QString button = classnames::of(model.prefix(), Part::Button);
    const QString kitIcon = icon(model.prefix());
    QString page = u"<p><button type=\"button\" class=\""_s + button + u"\">"_s + kitIcon
        + u"确定</button> <button type=\"button\" class=\""_s + button + u"\" disabled>"_s + kitIcon
        + u"确定</button></p>\n"_s;
    // Right to left, the icon leads from the right with its gap on its left.
    page += u"<p dir=\"rtl\" lang=\"ar\"><button type=\"button\" class=\""_s + button + u"\">"_s + kitIcon
        + u"موافق</button> <button type=\"button\" class=\""_s + button + u"\" style=\"width: 160px\">"_s
        + kitIcon + u"حفظ الصورة</button></p>\n<p>"_s;
    const QString check = classnames::of(model.prefix(), Part::Check);
    for (const StateRow &row : kitpieces::kCheckRows) {
        const Pinned pin = pinned(row);
        // The page names a box by the designer's state word; the plain one is unchecked.
        const QString label = row.cascade == 0 ? u"未选"_s : row.suffix.mid(1).toString();
        page += u"<label><input type=\"checkbox\" class=\""_s + check + pin.classes + u'"' + pin.attributes
            + u"> "_s + label + u"</label> "_s;
    }
    return page + u"</p>\n"_s;
}

// The HTML a user copies, escaped for the page.
QString snippet(const Model &model, const QString &cssFile)
{
    const QString button = classnames::of(model.prefix(), Part::Button);
    const QString check = classnames::of(model.prefix(), Part::Check);
    const QString code = u"<link rel=\"stylesheet\" href=\""_s + cssFile + u"\">\n"_s + u"<button class=\""_s
        + button + u"\">确定</button>\n"_s + u"<a class=\""_s + button
        + u"\" href=\"next.html\">下一页</a>\n"_s + u"<input class=\""_s + button
        + u"\" type=\"submit\" value=\"提交\">\n"_s + u"<button class=\""_s + button
        + u"\" disabled>禁止</button>\n"_s + u"<button class=\""_s + button + u"\">"_s + icon(model.prefix())
        + u"确定</button>\n"_s + u"<label><input class=\""_s + check
        + u"\" type=\"checkbox\"> 记住我</label>"_s;
    return u"<h2>HTML</h2>\n<pre><code>"_s + code.toHtmlEscaped() + u"</code></pre>\n"_s;
}

} // namespace

QString html(const Model &model, const QString &cssFile)
{
    return head(model, cssFile) + stateTable(model) + iconsAndChecks(model) + snippet(model, cssFile)
        + u"</body>\n</html>\n"_s;
}

} // namespace quillet::kit::kitpage
