#include "kit/kitcss.h"

#include "kit/classnames.h"
#include "kit/cssescape.h"
#include "kit/rulewriter.h"
#include "kit/webfiles.h"
#include "model/metrics.h"

#include <QSet>
#include <QStringList>

#include <functional>

using namespace Qt::StringLiterals;

namespace quillet::kit::kitcss {

namespace {

using classnames::Part;
using pictures::PictureFormat;

// What every rule of one style sheet reads.
struct Context
{
    const Model &model;
    const Inlined &inlined;
    QString button; // ".qk-button"
    QString check;
};

QString px(qreal value)
{
    return value == 0 ? QStringLiteral("0") : QString::number(value) + u"px";
}

QString var(const Context &context, kittokens::Token token)
{
    return QStringLiteral("var(") + kittokens::property(context.model.prefix(), token) + u')';
}

// A file beside kit.css, or with an in-line kit the piece itself.
QString url(const Context &context, const QString &name)
{
    if (context.model.layout() == Layout::Inline) {
        const QString type
            = name.endsWith(pictures::Formats::info(PictureFormat::Webp).extension) ? u"webp"_s : u"png"_s;
        return u"url(\"data:image/"_s + type + u";base64,"_s
            + QString::fromLatin1(context.inlined.value(name).toBase64()) + u"\")"_s;
    }
    return QStringLiteral("url(") + cssescape::string(name) + u')';
}

// Pictures named by piece; a sheet kit names its sheet instead.
QString pictureName(const Context &context, const QString &piece, qreal ratio, PictureFormat format)
{
    return context.model.layout() == Layout::Sheet ? webfiles::sheetName(ratio, format) : piece;
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

QString sheetSize(const Context &context)
{
    const QSize size = context.model.sheet().size;
    return px(size.width()) + u' ' + px(size.height());
}

// One layer's picture: the PNG alone first for browsers without image-set(), then every
// density of ratios, with WebP offered before the PNG of the same density.
QStringList layerSets(const Context &context, const QList<qreal> &ratios,
    const std::function<QString(qreal, PictureFormat)> &name)
{
    QStringList set;
    QStringList webkit;
    for (qreal ratio : ratios) {
        const QString density = u' ' + QString::number(ratio) + u'x';
        if (context.model.request().webp)
            set.append(url(context, name(ratio, PictureFormat::Webp))
                + QStringLiteral(" type(\"image/webp\")") + density);
        set.append(
            url(context, name(ratio, PictureFormat::Png)) + QStringLiteral(" type(\"image/png\")") + density);
        webkit.append(url(context, name(ratio, PictureFormat::Png)) + density);
    }
    return { url(context, name(ratios.first(), PictureFormat::Png)),
        QStringLiteral("-webkit-image-set(") + webkit.join(QStringLiteral(", ")) + u')',
        QStringLiteral("image-set(") + set.join(QStringLiteral(", ")) + u')' };
}

// The three layers of one state: the middle, which the transparent side borders keep off
// the caps, over the caps and their backing (kitpieces::backed).
Declarations buttonBackground(const Context &context, bool dark, const StateRow &row)
{
    std::array<QStringList, 3> layers;
    for (int part : { 1, 0, 2 }) {
        const QStringList sets
            = layerSets(context, context.model.ratios(), [&](qreal ratio, PictureFormat format) {
                  return pictureName(context,
                      webfiles::pieceName(dark, row.word, webfiles::kParts[part], ratio, format), ratio,
                      format);
              });
        for (size_t i = 0; i < layers.size(); ++i)
            layers[i].append(sets[qsizetype(i)]);
    }
    Declarations declarations;
    for (const QStringList &layer : layers)
        declarations.append({ u"background-image"_s, layer.join(QStringLiteral(", ")) });
    if (context.model.layout() == Layout::Sheet) {
        const KitSheet &sheet = context.model.sheet();
        const KitSheet::Button at = sheet.buttons.value(dark ? 1 : 0)[size_t(row.cascade)];
        declarations.append({ u"background-position"_s,
            fromLeft(at.middle) + u", "_s + fromLeft(at.left) + u", "_s + fromRight(sheet, at.right) });
    }
    return declarations;
}

Declarations checkBackground(const Context &context, bool dark, const StateRow &row)
{
    Declarations declarations;
    // The densities at which the check box is whole device pixels; between them the
    // browser scales the nearest.
    QList<qreal> ratios;
    for (qreal ratio : context.model.ratios()) {
        if (kitpieces::whole(model::Metrics::kCheckSide, ratio))
            ratios.append(ratio);
    }
    const QStringList sets = layerSets(context, ratios, [&](qreal ratio, PictureFormat format) {
        return pictureName(context, webfiles::checkName(dark, row.word, ratio, format), ratio, format);
    });
    for (const QString &set : sets)
        declarations.append({ u"background-image"_s, set });
    if (context.model.layout() == Layout::Sheet)
        declarations.append({ u"background-position"_s,
            fromLeft(context.model.sheet().checks.value(dark ? 1 : 0)[size_t(row.cascade)]) });
    return declarations;
}

Declarations caption(const Context &context, const KitSkin &skin, const StateRow &row)
{
    const KitSkin::Caption &caption = skin.captions.value(row.cascade);
    // The caption is centred where the renderer centres it: on the face less its box, moved
    // by the state's shift, inside the padding box between the side borders.
    const int horizontal = caption.box.left() - caption.box.right() - (skin.slice.left - skin.slice.right)
        + 2 * caption.shift.x();
    const int vertical = caption.box.top() - caption.box.bottom() + 2 * caption.shift.y();
    return { { u"color"_s, kittokens::captionReference(context.model.prefix(), row) },
        { u"padding"_s,
            px(qMax(0, vertical)) + u' ' + px(qMax(0, -horizontal)) + u' ' + px(qMax(0, -vertical)) + u' '
                + px(qMax(0, horizontal)) },
        { u"line-height"_s, px(context.model.height() - qAbs(vertical)) } };
}

// A state's pseudo-class, and its class for pages that show the state without a pointer.
QStringList stateSelectors(const QString &element, const StateRow &row)
{
    QStringList selectors { element + row.pseudoClass };
    // A link cannot be :disabled; it says so with its attribute.
    if (row.group == OutputGroup::ButtonStates && row.state == SampleState::Disabled)
        selectors.append(element + QStringLiteral("[aria-disabled=\"true\"]"));
    selectors.append(element + u'.' + row.forcingClass);
    return selectors;
}

// Later rules win, so pressed shows over focus and hover, disabled over all.
void buttonRules(RuleWriter &writer, const Context &context, const KitSkin &skin, bool dark)
{
    const QList<StateRow> states = context.model.buttonStates();
    Declarations plain { { u"min-width"_s, var(context, kittokens::Token::MinWidth) },
        { u"border-width"_s,
            u"0 "_s + var(context, kittokens::Token::CapRight) + u" 0 "_s
                + var(context, kittokens::Token::CapLeft) } };
    // A sheet is as many CSS pixels as its 1x picture, whatever the density shown.
    const QString height = u' ' + px(context.model.height());
    plain.append({ u"background-size"_s,
        context.model.layout() == Layout::Sheet
            ? sheetSize(context)
            : px(skin.slice.middle) + height + u", "_s + px(skin.slice.left + kitpieces::kBacking) + height
                + u", "_s + px(skin.slice.right + kitpieces::kBacking) + height });
    plain += buttonBackground(context, dark, states.first()) + caption(context, skin, states.first());
    writer.rule(context.button, plain);
    for (const StateRow &row : states.mid(1)) {
        Declarations declarations = buttonBackground(context, dark, row) + caption(context, skin, row);
        if (model::isDisabled(row.state))
            declarations.append({ u"cursor"_s, u"default"_s });
        writer.rule(stateSelectors(context.button, row), declarations);
    }
}

void checkRules(RuleWriter &writer, const Context &context, bool dark)
{
    Declarations plain;
    if (context.model.layout() == Layout::Sheet)
        plain.append({ u"background-size"_s, sheetSize(context) });
    writer.rule(context.check, plain + checkBackground(context, dark, kitpieces::kCheckRows[0]));
    for (const StateRow &row : kitpieces::kCheckRows) {
        if (row.cascade == 0)
            continue;
        Declarations declarations = checkBackground(context, dark, row);
        if (model::isDisabled(row.state))
            declarations.append({ u"cursor"_s, u"default"_s });
        writer.rule(stateSelectors(context.check, row), declarations);
    }
}

void skinRules(RuleWriter &writer, const Context &context, const KitSkin &skin, bool dark)
{
    if (!skin.slice.exact)
        writer.comment(cssescape::comment(kitskin::inexactNote(skin)));
    buttonRules(writer, context, skin, dark);
    checkRules(writer, context, dark);
}

// The custom properties of one scheme. A state caption that follows the normal one is left
// unset, or reset with `initial` in the dark scheme where the light one sets it, so that it
// falls back in the rules.
Declarations tokenDeclarations(const Context &context, const Scheme &scheme, bool dark)
{
    const QString prefix = context.model.prefix();
    QSet<QString> declared;
    Declarations declarations;
    for (const kittokens::Value &value : scheme.tokens) {
        if (!value.follows.isEmpty())
            continue;
        declared.insert(value.name);
        declarations.append({ kittokens::property(prefix, value.name), kittokens::cssValue(value) });
    }
    // What the light scheme sets and the dark skin does not have must not show through.
    if (dark) {
        for (const kittokens::Value &value : context.model.light().tokens) {
            if (kittokens::perSkin(value.token) && value.follows.isEmpty() && !declared.contains(value.name))
                declarations.append({ kittokens::property(prefix, value.name), u"initial"_s });
        }
    }
    return declarations;
}

// What every state shares; the skin rules set only pictures and the caption.
void sharedButtonRules(RuleWriter &writer, const Context &context)
{
    writer.rule(context.button,
        { { u"display"_s, u"inline-block"_s }, { u"box-sizing"_s, u"border-box"_s },
            { u"-webkit-appearance"_s, u"none"_s }, { u"appearance"_s, u"none"_s },
            { u"height"_s, var(context, kittokens::Token::Height) }, { u"margin"_s, u"0"_s },
            { u"border-style"_s, u"solid"_s }, { u"border-color"_s, u"transparent"_s },
            { u"border-radius"_s, u"0"_s }, { u"background-color"_s, u"transparent"_s },
            { u"background-repeat"_s, u"repeat-x, no-repeat, no-repeat"_s },
            { u"background-position"_s, u"left top, left top, right top"_s },
            { u"background-origin"_s, u"padding-box, border-box, border-box"_s },
            { u"background-clip"_s, u"padding-box, border-box, border-box"_s },
            { u"font-family"_s, var(context, kittokens::Token::FontFamily) },
            { u"font-size"_s, var(context, kittokens::Token::FontSize) }, { u"font-weight"_s, u"normal"_s },
            { u"text-align"_s, u"center"_s }, { u"text-decoration"_s, u"none"_s },
            { u"white-space"_s, u"nowrap"_s }, { u"vertical-align"_s, u"middle"_s },
            { u"box-shadow"_s, u"none"_s }, { u"cursor"_s, u"pointer"_s },
            { u"-webkit-user-select"_s, u"none"_s }, { u"user-select"_s, u"none"_s } });
    // The focus picture shows the focus; without it the browser's own ring stays.
    if (context.model.focus())
        writer.rule(context.button + u":focus-visible"_s, { { u"outline"_s, u"none"_s } });
    writer.rule(
        context.button + u"::-moz-focus-inner"_s, { { u"border"_s, u"0"_s }, { u"padding"_s, u"0"_s } });
}

void sharedCheckRules(RuleWriter &writer, const Context &context)
{
    Declarations check { { u"-webkit-appearance"_s, u"none"_s }, { u"appearance"_s, u"none"_s },
        { u"display"_s, u"inline-block"_s }, { u"box-sizing"_s, u"border-box"_s }, { u"width"_s, u"13px"_s },
        { u"height"_s, u"13px"_s }, { u"margin"_s, u"0"_s }, { u"padding"_s, u"0"_s },
        { u"border"_s, u"0"_s }, { u"border-radius"_s, u"0"_s }, { u"background-color"_s, u"transparent"_s },
        { u"background-repeat"_s, u"no-repeat"_s } };
    // A sheet's size comes with the skin.
    if (context.model.layout() != Layout::Sheet)
        check.append({ u"background-size"_s, u"13px 13px"_s });
    check += Declarations { { u"vertical-align"_s, u"middle"_s }, { u"cursor"_s, u"pointer"_s } };
    writer.rule(context.check, check);
    // An icon before the caption: its gap follows the writing direction.
    writer.rule(classnames::selector(context.model.prefix(), Part::Icon),
        { { u"display"_s, u"inline-block"_s }, { u"vertical-align"_s, u"-1px"_s },
            { u"margin-inline-start"_s, u"0"_s }, { u"margin-inline-end"_s, u"4px"_s } });
}

// Under forced colours no picture is shown: the button is a system button of the same box
// (side borders and padding stay, the face colour fills them, an inner outline draws the
// frame), and the check box is the browser's own. The user's colours must win over every
// state rule, light or dark, hence !important.
void forcedColourRules(RuleWriter &writer, const Context &context)
{
    writer.open(u"@media (forced-colors: active)"_s);
    writer.rule(context.button,
        { { u"forced-color-adjust"_s, u"none"_s }, { u"background-image"_s, u"none !important"_s },
            { u"background-color"_s, u"ButtonFace !important"_s },
            { u"border-color"_s, u"ButtonFace !important"_s }, { u"color"_s, u"ButtonText !important"_s },
            { u"outline"_s, u"1px solid ButtonBorder"_s }, { u"outline-offset"_s, u"-1px"_s } });
    writer.rule(stateSelectors(context.button, states::row(OutputGroup::ButtonStates, SampleState::Disabled)),
        { { u"color"_s, u"GrayText !important"_s }, { u"outline-color"_s, u"GrayText"_s } });
    writer.rule(stateSelectors(context.button, states::row(OutputGroup::ButtonStates, SampleState::Focused)),
        { { u"outline"_s, u"2px solid Highlight"_s }, { u"outline-offset"_s, u"-2px"_s } });
    writer.rule(context.check,
        { { u"-webkit-appearance"_s, u"auto"_s }, { u"appearance"_s, u"auto"_s },
            { u"background-image"_s, u"none !important"_s } });
    writer.close();
}

} // namespace

QString text(const Model &model, const Inlined &inlined)
{
    const Context context { model, inlined, classnames::selector(model.prefix(), Part::Button),
        classnames::selector(model.prefix(), Part::Check) };
    const Scheme *dark = model.dark();
    RuleWriter writer;
    const QString from = QStringLiteral("Button kit from the skin ") + model.light().skin.name
        + (dark ? QStringLiteral(" (dark: ") + dark->skin.name + u')' : QString());
    writer.comment(cssescape::comment(from)
        + QStringLiteral(". <button>, <a> and <input type=\"submit\"> of any width."));
    // The values as custom properties on the root: a page retints from any element down,
    // the button itself included, whatever the order of its style sheets.
    writer.rule(u":root"_s, tokenDeclarations(context, model.light(), false));
    sharedButtonRules(writer, context);
    sharedCheckRules(writer, context);
    skinRules(writer, context, model.light().skin, false);
    if (dark) {
        writer.open(u"@media (prefers-color-scheme: dark)"_s);
        writer.rule(u":root"_s, tokenDeclarations(context, *dark, true));
        skinRules(writer, context, dark->skin, true);
        writer.close();
    }
    forcedColourRules(writer, context);
    return writer.text();
}

} // namespace quillet::kit::kitcss
