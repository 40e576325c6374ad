#include "pictures/kitcss.h"

#include "pictures/cssescape.h"
#include "pictures/kittokens.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace quillet::pictures::kitcss {

namespace {

QString px(qreal value)
{
    return value == 0 ? QStringLiteral("0") : QString::number(value) + u"px";
}

QString var(const KitStyle &style, kittokens::Token token)
{
    return QStringLiteral("var(") + kittokens::property(style, token) + u')';
}

QString ratioWord(qreal ratio)
{
    return ratio == 1 ? QString() : u'-' + QString::number(ratio) + u'x';
}

// A file beside kit.css, or with an in-line kit the piece itself.
QString url(const KitStyle &style, const QString &name)
{
    if (style.layout == KitLayout::Inline) {
        const QString type
            = name.endsWith(Formats::info(PictureFormat::Webp).extension) ? u"webp"_s : u"png"_s;
        return u"url(\"data:image/"_s + type + u";base64,"_s
            + QString::fromLatin1(style.inlined.value(name).toBase64()) + u"\")"_s;
    }
    return QStringLiteral("url(") + cssescape::string(name) + u')';
}

// Pictures named by piece; a sheet kit names its sheet instead.
QString pictureName(const KitStyle &style, const QString &piece, qreal ratio, PictureFormat format)
{
    return style.layout == KitLayout::Sheet ? sheetName(ratio, format) : piece;
}

// A piece's place in the sheet as a background position: the left cap and the middle from
// the left edge, the right cap from the right edge.
QString fromLeft(const QRect &at)
{
    return px(-at.x()) + u' ' + px(-at.y());
}
QString fromRight(const KitSheet &sheet, const QRect &at)
{
    return u"right "_s + px(-(sheet.size.width() - at.x() - at.width())) + u" top "_s + px(-at.y());
}

// One layer's picture: the PNG alone first for browsers without image-set(), then every
// density, with WebP offered before the PNG of the same density.
QStringList layerSets(const KitStyle &style, const std::function<QString(qreal, PictureFormat)> &name)
{
    QStringList plain;
    QStringList set;
    QStringList webkit;
    for (qreal ratio : style.ratios) {
        const QString density = u' ' + QString::number(ratio) + u'x';
        if (style.webp)
            set.append(url(style, name(ratio, PictureFormat::Webp)) + QStringLiteral(" type(\"image/webp\")")
                + density);
        set.append(
            url(style, name(ratio, PictureFormat::Png)) + QStringLiteral(" type(\"image/png\")") + density);
        webkit.append(url(style, name(ratio, PictureFormat::Png)) + density);
    }
    return { url(style, name(style.ratios.first(), PictureFormat::Png)),
        QStringLiteral("-webkit-image-set(") + webkit.join(QStringLiteral(", ")) + u')',
        QStringLiteral("image-set(") + set.join(QStringLiteral(", ")) + u')' };
}

// The three layers of one state: caps over the middle, which the transparent side borders
// keep off the caps.
QString buttonBackground(const KitStyle &style, bool dark, int state, const QString &indent)
{
    const QStringView word = kStateWords[size_t(state)];
    std::array<QStringList, 3> layers;
    for (int part : { 0, 2, 1 }) {
        const QStringList sets = layerSets(style, [&](qreal ratio, PictureFormat format) {
            return pictureName(style, pieceName(dark, word, kParts[part], ratio, format), ratio, format);
        });
        for (int i = 0; i < 3; ++i)
            layers[size_t(i)].append(sets[i]);
    }
    QString css;
    for (const QStringList &layer : layers)
        css += indent + QStringLiteral("background-image: ") + layer.join(QStringLiteral(", "))
            + QStringLiteral(";\n");
    if (style.layout == KitLayout::Sheet) {
        const KitSheet::Button at = style.sheet.buttons.value(dark ? 1 : 0)[size_t(state)];
        css += indent + u"background-position: "_s + fromLeft(at.left) + u", "_s
            + fromRight(style.sheet, at.right) + u", "_s + fromLeft(at.middle) + u";\n"_s;
    }
    return css;
}

QString captionRules(const KitStyle &style, const KitSkin &skin, int state, const QString &indent)
{
    const KitSkin::Caption &caption = skin.captions.value(state);
    // The caption is centred where the renderer centres it: on the face less its box, moved
    // by the state's shift, inside the padding box between the side borders.
    const int horizontal = caption.box.left() - caption.box.right() - (skin.slice.left - skin.slice.right)
        + 2 * caption.shift.x();
    const int vertical = caption.box.top() - caption.box.bottom() + 2 * caption.shift.y();
    QString css;
    css += indent + QStringLiteral("color: ") + kittokens::captionReference(style, state)
        + QStringLiteral(";\n");
    css += indent + QStringLiteral("padding: ") + px(qMax(0, vertical)) + u' ' + px(qMax(0, -horizontal))
        + u' ' + px(qMax(0, -vertical)) + u' ' + px(qMax(0, horizontal)) + QStringLiteral(";\n");
    css += indent + QStringLiteral("line-height: ") + px(style.height - qAbs(vertical))
        + QStringLiteral(";\n");
    return css;
}

QString skinRules(const KitStyle &style, const KitSkin &skin, bool dark, const QString &indent)
{
    const QString b = u'.' + style.prefix + QStringLiteral("-button");
    const QString c = u'.' + style.prefix + QStringLiteral("-check");
    const QString inner = indent + QStringLiteral("  ");
    QString css;
    if (!skin.slice.exact)
        css += indent + QStringLiteral("/* ") + cssescape::comment(inexactNote(skin))
            + QStringLiteral(" */\n");
    css += indent + b + QStringLiteral(" {\n");
    css += inner + QStringLiteral("min-width: ") + var(style, kittokens::Token::MinWidth)
        + QStringLiteral(";\n");
    css += inner + QStringLiteral("border-width: 0 ") + var(style, kittokens::Token::CapRight)
        + QStringLiteral(" 0 ") + var(style, kittokens::Token::CapLeft) + QStringLiteral(";\n");
    // A sheet is as many CSS pixels as its 1x picture, whatever the density shown.
    if (style.layout == KitLayout::Sheet)
        css += inner + u"background-size: "_s + px(style.sheet.size.width()) + u' '
            + px(style.sheet.size.height()) + u";\n"_s;
    else
        css += inner + QStringLiteral("background-size: ") + px(skin.slice.left) + u' ' + px(style.height)
            + QStringLiteral(", ") + px(skin.slice.right) + u' ' + px(style.height) + QStringLiteral(", ")
            + px(skin.slice.middle) + u' ' + px(style.height) + QStringLiteral(";\n");
    css += buttonBackground(style, dark, 0, inner);
    css += captionRules(style, skin, 0, inner);
    css += indent + QStringLiteral("}\n");
    // Each state's pseudo-class, and its class for pages that show the state without a
    // pointer; later rules win, so pressed shows over focus and hover, disabled over all.
    const auto selectors = [&](const QString &element, const StateRow &row) -> QString {
        QString text = element + row.pseudoClass + QStringLiteral(",\n") + indent;
        // A link cannot be :disabled; it says so with its attribute.
        if (row.group == OutputGroup::ButtonStates && row.state == SampleState::Disabled)
            text += element + QStringLiteral("[aria-disabled=\"true\"],\n") + indent;
        return text + element + u'.' + row.forcingClass;
    };
    for (int state = 1; state < int(kitpieces::kButtonRows.size()); ++state) {
        if (!drawsState(style, state))
            continue;
        const StateRow &row = kitpieces::kButtonRows[size_t(state)];
        css += indent + selectors(b, row) + QStringLiteral(" {\n");
        css += buttonBackground(style, dark, state, inner);
        css += captionRules(style, skin, state, inner);
        if (row.state == SampleState::Disabled)
            css += inner + QStringLiteral("cursor: default;\n");
        css += indent + QStringLiteral("}\n");
    }
    css += indent + c + QStringLiteral(" {\n");
    const auto checkLayer = [&](int state) {
        const QStringList sets = layerSets(style, [&](qreal ratio, PictureFormat format) {
            return pictureName(
                style, checkName(dark, kCheckWords[size_t(state)], ratio, format), ratio, format);
        });
        QString text;
        for (const QString &set : sets)
            text += inner + QStringLiteral("background-image: ") + set + QStringLiteral(";\n");
        if (style.layout == KitLayout::Sheet)
            text += inner + u"background-position: "_s
                + fromLeft(style.sheet.checks.value(dark ? 1 : 0)[size_t(state)]) + u";\n"_s;
        return text;
    };
    if (style.layout == KitLayout::Sheet)
        css += inner + u"background-size: "_s + px(style.sheet.size.width()) + u' '
            + px(style.sheet.size.height()) + u";\n"_s;
    css += checkLayer(0);
    css += indent + QStringLiteral("}\n");
    for (int state = 1; state < int(kitpieces::kCheckRows.size()); ++state) {
        const StateRow &row = kitpieces::kCheckRows[size_t(state)];
        css += indent + selectors(c, row) + QStringLiteral(" {\n") + checkLayer(state);
        if (row.state == SampleState::Disabled || row.state == SampleState::CheckedDisabled)
            css += inner + QStringLiteral("cursor: default;\n");
        css += indent + QStringLiteral("}\n");
    }
    return css;
}

// Under forced colours no picture is shown: the button is a system button of the same box
// (side borders and padding stay, the face colour fills them, an inner outline draws the
// frame), and the check box is the browser's own. The user's colours must win over every
// state rule, light or dark, hence !important.
QString forcedColourRules(const KitStyle &style)
{
    const QString b = u'.' + style.prefix + QStringLiteral("-button");
    const QString c = u'.' + style.prefix + QStringLiteral("-check");
    const StateRow &disabled = states::row(OutputGroup::ButtonStates, SampleState::Disabled);
    const StateRow &focus = states::row(OutputGroup::ButtonStates, SampleState::Focused);
    QString css = QStringLiteral("@media (forced-colors: active) {\n");
    css += QStringLiteral("  ") + b + QStringLiteral(" {\n    forced-color-adjust: none;\n");
    css += QStringLiteral("    background-image: none !important;\n");
    css += QStringLiteral("    background-color: ButtonFace !important;\n");
    css += QStringLiteral("    border-color: ButtonFace !important;\n");
    css += QStringLiteral("    color: ButtonText !important;\n");
    css += QStringLiteral("    outline: 1px solid ButtonBorder;\n    outline-offset: -1px;\n  }\n");
    css += QStringLiteral("  ") + b + disabled.pseudoClass + QStringLiteral(",\n  ") + b
        + QStringLiteral("[aria-disabled=\"true\"],\n  ") + b + u'.' + disabled.forcingClass
        + QStringLiteral(" {\n    color: GrayText !important;\n    outline-color: GrayText;\n  }\n");
    css += QStringLiteral("  ") + b + focus.pseudoClass + QStringLiteral(",\n  ") + b + u'.'
        + focus.forcingClass
        + QStringLiteral(" {\n    outline: 2px solid Highlight;\n    outline-offset: -2px;\n  }\n");
    css += QStringLiteral("  ") + c
        + QStringLiteral(" {\n    -webkit-appearance: auto;\n    appearance: auto;\n");
    css += QStringLiteral("    background-image: none !important;\n  }\n}\n");
    return css;
}

} // namespace

QString pieceName(bool dark, QStringView state, QStringView part, qreal ratio, PictureFormat format)
{
    return kFolder + u'/' + (dark ? QStringLiteral("dark-") : QString()) + QStringLiteral("button-") + state
        + u'-' + part + ratioWord(ratio) + Formats::info(format).extension;
}

QString checkName(bool dark, QStringView state, qreal ratio, PictureFormat format)
{
    return kFolder + u'/' + (dark ? QStringLiteral("dark-") : QString()) + QStringLiteral("check-") + state
        + ratioWord(ratio) + Formats::info(format).extension;
}

QString sheetName(qreal ratio, PictureFormat format)
{
    return kFolder + u"/kit"_s + ratioWord(ratio) + Formats::info(format).extension;
}

QString inexactNote(const KitSkin &skin)
{
    const KitSlice &slice = skin.slice;
    QStringList states;
    for (size_t state = 0; state < slice.stateDifference.size(); ++state) {
        if (slice.stateDifference[state] > 0)
            states.append(
                kStateWords[state].toString() + u' ' + QString::number(slice.stateDifference[state]));
    }
    return skin.name
        + QStringLiteral(": the face changes along its width; the pieces differ from the renderer's "
                         "picture by up to %1 levels (%2; the most at width %3, %4x)")
              .arg(slice.worstDifference)
              .arg(states.join(QStringLiteral(", ")))
              .arg(slice.worstWidth)
              .arg(slice.worstRatio);
}

bool isValidPrefix(const QString &prefix)
{
    if (prefix.isEmpty() || prefix.size() > 32)
        return false;
    const auto letter = [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); };
    if (!letter(prefix.front()))
        return false;
    for (QChar c : prefix) {
        if (!letter(c) && !(c >= u'0' && c <= u'9') && c != u'-' && c != u'_')
            return false;
    }
    return true;
}

bool drawsState(const KitStyle &style, int stateIndex)
{
    return kitpieces::kStates[stateIndex] != render::SampleState::Focused || style.focus;
}

QString text(const KitStyle &style)
{
    const QString b = u'.' + style.prefix + QStringLiteral("-button");
    const QString c = u'.' + style.prefix + QStringLiteral("-check");
    QString css;
    css += QStringLiteral("/* ")
        + cssescape::comment(QString(QStringLiteral("Button kit from the skin ") + style.light.name
            + (style.dark ? QStringLiteral(" (dark: ") + style.dark->name + u')' : QString())))
        + QStringLiteral(". <button>, <a> and <input type=\"submit\"> of any width. */\n");
    // The values as custom properties on the root: a page retints from any element down,
    // the button itself included, whatever the order of its style sheets.
    css += QStringLiteral(":root {\n")
        + kittokens::declarations(style, style.light, false, QStringLiteral("  ")) + QStringLiteral("}\n");
    // What every state shares; the skin rules below set only pictures and the caption.
    css += b + QStringLiteral(" {\n");
    css += QStringLiteral("  display: inline-block;\n  box-sizing: border-box;\n");
    css += QStringLiteral("  -webkit-appearance: none;\n  appearance: none;\n");
    css += QStringLiteral("  height: ") + var(style, kittokens::Token::Height)
        + QStringLiteral(";\n  margin: 0;\n");
    css += QStringLiteral("  border-style: solid;\n  border-color: transparent;\n  border-radius: 0;\n");
    css += QStringLiteral("  background-color: transparent;\n");
    css += QStringLiteral("  background-repeat: no-repeat, no-repeat, repeat-x;\n");
    css += QStringLiteral("  background-position: left top, right top, left top;\n");
    css += QStringLiteral("  background-origin: border-box, border-box, padding-box;\n");
    css += QStringLiteral("  background-clip: border-box, border-box, padding-box;\n");
    css += QStringLiteral("  font-family: ") + var(style, kittokens::Token::FontFamily)
        + QStringLiteral(";\n");
    css += QStringLiteral("  font-size: ") + var(style, kittokens::Token::FontSize) + QStringLiteral(";\n");
    css += QStringLiteral("  font-weight: normal;\n  text-align: center;\n  text-decoration: none;\n");
    css += QStringLiteral("  white-space: nowrap;\n  vertical-align: middle;\n  box-shadow: none;\n");
    css += QStringLiteral("  cursor: pointer;\n  -webkit-user-select: none;\n  user-select: none;\n}\n");
    // The focus picture shows the focus; without it the browser's own ring stays.
    if (style.focus)
        css += b + QStringLiteral(":focus-visible {\n  outline: none;\n}\n");
    css += b + QStringLiteral("::-moz-focus-inner {\n  border: 0;\n  padding: 0;\n}\n");
    css += c
        + QStringLiteral(" {\n  -webkit-appearance: none;\n  appearance: none;\n  display: inline-block;\n");
    css += QStringLiteral(
        "  box-sizing: border-box;\n  width: 13px;\n  height: 13px;\n  margin: 0;\n  padding: 0;\n");
    css += QStringLiteral("  border: 0;\n  border-radius: 0;\n  background-color: transparent;\n");
    css += QStringLiteral("  background-repeat: no-repeat;\n");
    // A sheet's size comes with the skin.
    if (style.layout != KitLayout::Sheet)
        css += QStringLiteral("  background-size: 13px 13px;\n");
    css += QStringLiteral("  vertical-align: middle;\n  cursor: pointer;\n}\n");
    // An icon before the caption: its gap follows the writing direction.
    css += u'.' + style.prefix
        + QStringLiteral(
            "-icon {\n  display: inline-block;\n  vertical-align: -1px;\n  margin-inline-start: 0;\n"
            "  margin-inline-end: 4px;\n}\n");
    css += skinRules(style, style.light, false, {});
    if (style.dark) {
        css += QStringLiteral("@media (prefers-color-scheme: dark) {\n  :root {\n")
            + kittokens::declarations(style, *style.dark, true, QStringLiteral("    "))
            + QStringLiteral("  }\n");
        css += skinRules(style, *style.dark, true, QStringLiteral("  "));
        css += QStringLiteral("}\n");
    }
    css += forcedColourRules(style);
    return css;
}

} // namespace quillet::pictures::kitcss
