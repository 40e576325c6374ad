#include "kit/qtstylesheet.h"

#include "kit/plannedpictures.h"
#include "kit/rulewriter.h"
#include "pictures/webnames.h"

#include <QStringList>

#include <numeric>

using namespace Qt::StringLiterals;

namespace quillet::kit::qtstylesheet {

namespace {

using model::SampleState;

enum class Control { Button, Check, Drop };

// Each state's selectors for Qt, once. Rules follow this order and later ones win among
// equals: a default button under the pointer or with the focus shows that, pressed shows
// over focus and hover, disabled over everything; a checkable button
// that is checked looks pressed, as Qt's own styles draw it. The check box's disabled
// rules name the check state too, so that they outweigh a hover on a disabled box.
struct QtSelector
{
    Control control;
    SampleState state;
    QStringView pseudo;
    QStringView alsoPseudo; // a second selector for the same look; empty for none
};
constexpr QtSelector kSelectors[] = {
    { Control::Button, SampleState::Normal, u"", u"" },
    { Control::Button, SampleState::Default, u":default", u"" },
    { Control::Button, SampleState::Hot, u":hover", u"" },
    { Control::Button, SampleState::Focused, u":focus", u"" },
    { Control::Button, SampleState::Pressed, u":pressed", u":checked" },
    { Control::Button, SampleState::Disabled, u":disabled", u"" },
    { Control::Check, SampleState::Normal, u"", u"" },
    { Control::Check, SampleState::Hot, u":hover", u"" },
    { Control::Check, SampleState::Pressed, u":pressed", u"" },
    { Control::Check, SampleState::Checked, u":checked", u"" },
    { Control::Check, SampleState::CheckedHot, u":checked:hover", u"" },
    { Control::Check, SampleState::CheckedPressed, u":checked:pressed", u"" },
    { Control::Check, SampleState::Disabled, u":unchecked:disabled", u"" },
    { Control::Check, SampleState::CheckedDisabled, u":checked:disabled", u"" },
    // Qt says :on while the pop-up is open, :pressed while the arrow is held.
    { Control::Drop, SampleState::Normal, u"", u"" },
    { Control::Drop, SampleState::Pressed, u":pressed", u":on" },
    { Control::Drop, SampleState::Disabled, u":disabled", u"" },
};

constexpr QStringView elementOf(Control control)
{
    switch (control) {
    case Control::Button:
        return u"QPushButton";
    case Control::Check:
        return u"QCheckBox::indicator";
    case Control::Drop:
        return u"QComboBox::drop-down";
    }
    return u"";
}

// One rule of the sheet, for the rule writer.
struct Rule
{
    QStringList selectors;
    Declarations declarations;

    void add(const QString &property, const QString &value) { declarations.append({ property, value }); }
};

Rule ruleFor(const QtSelector &row)
{
    const QString element = elementOf(row.control).toString();
    Rule rule { { element + row.pseudo }, {} };
    if (!row.alsoPseudo.isEmpty())
        rule.selectors.append(element + row.alsoPseudo);
    return rule;
}

QString px(int value)
{
    return value == 0 ? u"0"_s : QString::number(value) + u"px"_s;
}

QString colour(const QColor &value)
{
    return value.alpha() == 255 ? value.name(QColor::HexRgb) : value.name(QColor::HexArgb);
}

// A fill as a QSS brush: one stop is a colour, more a gradient across the face.
QString brush(const skin::Look &look)
{
    if (look.fill.isEmpty())
        return u"transparent"_s;
    if (look.fill.size() == 1)
        return colour(look.fill.first().colour);
    QString gradient = look.horizontalFill ? u"qlineargradient(x1: 0, y1: 0, x2: 1, y2: 0"_s
                                           : u"qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1"_s;
    for (const skin::GradientStop &stop : look.fill)
        gradient += u", stop: "_s + QString::number(stop.position) + u' ' + colour(stop.colour);
    return gradient + u')';
}

QString url(const QtSheetInput &input, const QString &name)
{
    return u"url(:/"_s + input.prefix + u'/' + name + u')';
}

QString fontFamily(const QtSheetInput &input)
{
    return u'"' + QString(input.fontFamily).remove(u'"').remove(u'\\') + u'"';
}

// Where the caption sits: centred on the face less its box and moved by the state's shift,
// as the renderer centres it, inside the padding between the caps.
struct CaptionBox
{
    int horizontal;
    int vertical;
};

CaptionBox captionBox(const QtSheetInput &input, const QtButtonState &state)
{
    return { state.box.left() - state.box.right() - (input.slice.left - input.slice.right)
            + 2 * state.shift.x(),
        state.box.top() - state.box.bottom() + 2 * state.shift.y() };
}

QString padding(const CaptionBox &box)
{
    return px(qMax(0, box.vertical)) + u' ' + px(qMax(0, -box.horizontal)) + u' ' + px(qMax(0, -box.vertical))
        + u' ' + px(qMax(0, box.horizontal));
}

template<typename State> const State *find(const QList<State> &states, SampleState state)
{
    for (const State &candidate : states) {
        if (candidate.state == state)
            return &candidate;
    }
    return nullptr;
}

void addButtonLook(Rule &rule, const QtSheetInput &input, const QtButtonState &state)
{
    const int repeat = capRepeat(input.ratios);
    rule.add(u"border-image"_s,
        url(input, pictureName(u"button", state.word, u"caps", 1)) + u" 0 "_s
            + QString::number(repeat * input.slice.right) + u" 0 "_s
            + QString::number(repeat * input.slice.left) + u" stretch stretch"_s);
    rule.add(u"background-image"_s, url(input, pictureName(u"button", state.word, u"middle", 1)));
    rule.add(u"padding"_s, padding(captionBox(input, state)));
    rule.add(u"color"_s, colour(state.caption));
}

// The base rule holds the size: Qt sets a widget's limits from it once, and a state's
// padding then moves only the caption.
Rule buttonBase(const QtSheetInput &input, const QtButtonState &normal)
{
    const CaptionBox box = captionBox(input, normal);
    const int content = input.height - qAbs(box.vertical);
    const int sides = input.slice.left + input.slice.right + qAbs(box.horizontal);
    Rule rule = ruleFor(kSelectors[0]);
    rule.add(u"min-width"_s, px(qMax(0, input.slice.minWidth - sides)));
    rule.add(u"min-height"_s, px(content));
    rule.add(u"max-height"_s, px(content));
    rule.add(u"border-width"_s, u"0 "_s + px(input.slice.right) + u" 0 "_s + px(input.slice.left));
    addButtonLook(rule, input, normal);
    // The middle tiles from the left cap on and never under the caps.
    rule.add(u"background-repeat"_s, u"repeat-x"_s);
    rule.add(u"background-position"_s, u"left top"_s);
    rule.add(u"background-origin"_s, u"padding"_s);
    rule.add(u"background-clip"_s, u"padding"_s);
    rule.add(u"font-family"_s, fontFamily(input));
    rule.add(u"font-size"_s, QString::number(input.pointSize) + u"pt"_s);
    // The focus is the skin's own pieces, or the outline of the :focus rule.
    rule.add(u"outline"_s, u"none"_s);
    return rule;
}

// Without focused pieces Qt would show no focus at all over a border-image: a dotted
// outline in the skin's focus colour takes their place.
Rule focusOutline(const QtSheetInput &input, const QtSelector &row)
{
    Rule rule = ruleFor(row);
    rule.add(u"outline"_s, u"1px dotted "_s + colour(input.focusOutline));
    return rule;
}

QList<Rule> buttonRules(const QtSheetInput &input)
{
    const QtButtonState *normal = find(input.buttons, SampleState::Normal);
    if (!normal)
        return {};
    QList<Rule> rules { buttonBase(input, *normal) };
    for (const QtSelector &row : kSelectors) {
        const QtButtonState *state = find(input.buttons, row.state);
        if (row.control != Control::Button || row.state == SampleState::Normal)
            continue;
        if (!state) {
            if (row.state == SampleState::Focused && input.focusOutline.isValid())
                rules.append(focusOutline(input, row));
            continue;
        }
        Rule rule = ruleFor(row);
        addButtonLook(rule, input, *state);
        rules.append(rule);
    }
    return rules;
}

QList<Rule> pictureRules(const QtSheetInput &input, Control control)
{
    const QList<QtPictureState> &states = control == Control::Check ? input.checks : input.drops;
    const QStringView name = control == Control::Check ? u"check" : u"combo";
    QList<Rule> rules;
    for (const QtSelector &row : kSelectors) {
        const QtPictureState *state = find(states, row.state);
        if (row.control != control || !state || state->pictures.isEmpty())
            continue;
        Rule rule = ruleFor(row);
        if (row.state == SampleState::Normal) {
            const QImage &picture = state->pictures.first();
            const qreal ratio = input.ratios.value(0, 1);
            if (control == Control::Drop) {
                rule.add(u"subcontrol-origin"_s, u"margin"_s);
                rule.add(u"subcontrol-position"_s, u"top right"_s);
                rule.add(u"border"_s, u"none"_s);
            }
            rule.add(u"width"_s, px(qRound(picture.width() / ratio)));
            rule.add(u"height"_s, px(qRound(picture.height() / ratio)));
        }
        rule.add(u"image"_s, url(input, pictureName(name, state->word, u"", 1)));
        rules.append(rule);
    }
    return rules;
}

Rule fieldRule(const QStringList &selectors, const skin::Look &look, bool base)
{
    Rule rule { selectors, {} };
    if (look.borderWidth > 0 && look.border.isValid())
        rule.add(u"border"_s, px(look.borderWidth) + u" solid "_s + colour(look.border));
    else if (base)
        rule.add(u"border"_s, u"none"_s);
    if (base && look.radius > 0 && look.radius < skin::kPillRadius)
        rule.add(u"border-radius"_s, px(look.radius));
    rule.add(u"background"_s, brush(look));
    if (look.text.isValid())
        rule.add(u"color"_s, colour(look.text));
    return rule;
}

QList<Rule> comboRules(const QtSheetInput &input)
{
    // As high as the drop button's picture. The picture holds the frame's right end and
    // lies in the margin, so no frame shows through its see-through corners.
    const int border = input.field.border.isValid() ? input.field.borderWidth : 0;
    Rule field = fieldRule({ u"QComboBox"_s }, input.field, true);
    field.add(u"border-right"_s, u"none"_s);
    field.add(u"border-top-right-radius"_s, u"0"_s);
    field.add(u"border-bottom-right-radius"_s, u"0"_s);
    field.add(u"margin-right"_s, px(input.dropSize.width()));
    field.add(u"padding"_s, u"0 0 0 3px"_s);
    field.add(u"min-height"_s, px(qMax(0, input.dropSize.height() - 2 * border)));
    field.add(u"max-height"_s, px(qMax(0, input.dropSize.height() - 2 * border)));
    field.add(u"font-family"_s, fontFamily(input));
    field.add(u"font-size"_s, QString::number(input.pointSize) + u"pt"_s);
    Rule disabled = fieldRule({ u"QComboBox:disabled"_s }, input.fieldDisabled, false);
    disabled.add(u"border-right"_s, u"none"_s);
    QList<Rule> rules { field, disabled };
    rules += pictureRules(input, Control::Drop);
    // The drop button's picture holds the skin's arrow; Qt's own would lie over it.
    Rule arrow {
        { u"QComboBox::down-arrow"_s, u"QComboBox::down-arrow:on"_s, u"QComboBox::down-arrow:disabled"_s }, {}
    };
    arrow.add(u"image"_s, u"none"_s);
    arrow.add(u"width"_s, u"0"_s);
    arrow.add(u"height"_s, u"0"_s);
    rules.append(arrow);
    Rule popup = fieldRule({ u"QComboBox QAbstractItemView"_s }, input.list, true);
    popup.add(u"selection-background-color"_s, brush(input.selection));
    if (input.selection.text.isValid())
        popup.add(u"selection-color"_s, colour(input.selection.text));
    rules.append(popup);
    return rules;
}

QList<Rule> checkRules(const QtSheetInput &input)
{
    Rule box { { u"QCheckBox"_s }, {} };
    if (input.checkCaption.isValid())
        box.add(u"color"_s, colour(input.checkCaption));
    box.add(u"font-family"_s, fontFamily(input));
    box.add(u"font-size"_s, QString::number(input.pointSize) + u"pt"_s);
    QList<Rule> rules { box };
    if (input.checkCaptionDisabled.isValid()) {
        Rule disabled { { u"QCheckBox:disabled"_s }, {} };
        disabled.add(u"color"_s, colour(input.checkCaptionDisabled));
        rules.append(disabled);
    }
    return rules + pictureRules(input, Control::Check);
}

// Every picture of the kit with its bytes, in the order of the sheet.
QList<std::pair<QString, QImage>> pictures(const QtSheetInput &input)
{
    QList<std::pair<QString, QImage>> result;
    const int repeat = capRepeat(input.ratios);
    for (const QtButtonState &state : input.buttons) {
        for (qsizetype r = 0; r < input.ratios.size() && r < state.pieces.size(); ++r) {
            const qreal ratio = input.ratios[r];
            result.append({ pictureName(u"button", state.word, u"caps", ratio),
                widenedCaps(state.pieces[r], repeat / int(ratio)) });
            result.append({ pictureName(u"button", state.word, u"middle", ratio), state.pieces[r].middle });
        }
    }
    const auto addWhole = [&](QStringView control, const QList<QtPictureState> &states) {
        for (const QtPictureState &state : states) {
            for (qsizetype r = 0; r < input.ratios.size() && r < state.pictures.size(); ++r)
                result.append({ pictureName(control, state.word, u"", input.ratios[r]), state.pictures[r] });
        }
    };
    addWhole(u"check", input.checks);
    addWhole(u"combo", input.drops);
    return result;
}

} // namespace

int capRepeat(const QList<qreal> &ratios)
{
    int repeat = 1;
    for (qreal ratio : ratios)
        repeat = std::lcm(repeat, qMax(1, qRound(ratio)));
    return repeat;
}

QString pictureName(QStringView control, QStringView word, QStringView part, qreal ratio)
{
    QString name = kFolder + u'/' + control + u'-' + word;
    if (!part.isEmpty())
        name += u'-' + part;
    return pictures::WebNames::scaled(name + u".png"_s, ratio);
}

QImage widenedCaps(const KitPieces &pieces, int repeat)
{
    if (pieces.left.isNull() || pieces.right.isNull() || repeat < 1)
        return {};
    const QImage left = pieces.left.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage right = pieces.right.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage caps((left.width() + right.width()) * repeat, left.height(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < caps.height(); ++y) {
        const auto *l = reinterpret_cast<const QRgb *>(left.constScanLine(y));
        const auto *r = reinterpret_cast<const QRgb *>(right.constScanLine(y));
        auto *out = reinterpret_cast<QRgb *>(caps.scanLine(y));
        for (int x = 0; x < caps.width(); ++x) {
            const int column = x / repeat;
            out[x] = column < left.width() ? l[column] : r[column - left.width()];
        }
    }
    return caps;
}

QString styleSheet(const QtSheetInput &input)
{
    RuleWriter writer;
    writer.comment(u"Qt style sheet kit of the skin \""_s + QString(input.skinName).remove(u"*/"_s)
        + u"\": push buttons "_s + QString::number(input.height)
        + u" px high, check boxes and combo boxes. README.md says how to load it."_s);
    if (!input.inexactNote.isEmpty())
        writer.comment(QString(input.inexactNote).remove(u"*/"_s));
    QList<Rule> rules = buttonRules(input);
    rules += checkRules(input);
    rules += comboRules(input);
    for (const Rule &rule : std::as_const(rules))
        writer.rule(rule.selectors, rule.declarations);
    return writer.text();
}

QString resourceList(const QtSheetInput &input)
{
    QString qrc
        = u"<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/"_s + input.prefix + u"\">\n"_s;
    qrc += u"    <file>kit.qss</file>\n"_s;
    for (const auto &[name, picture] : pictures(input))
        qrc += u"    <file>"_s + name + u"</file>\n"_s;
    return qrc + u"  </qresource>\n</RCC>\n"_s;
}

QString readme(const QtSheetInput &input)
{
    const QString sheet = u":/"_s + input.prefix + u"/kit.qss"_s;
    return u"# Qt button kit: "_s + input.skinName
        + u"\n\n"
          "kit.qss styles QPushButton (normal, :default, :hover, :focus, :pressed, checkable :checked,\n"
          ":disabled), QCheckBox with its indicator in eight states, and QComboBox with its drop-down and\n"
          "pop-up list, from the pictures in kit/. On a screen of ratio 2 or 3 Qt takes the @2x or @3x\n"
          "pictures by itself. The sheet names its pictures in the resource kit.qrc, so load it from "
          "there.\n\n"
          "Built into the program: list kit.qrc among its sources (CMake with CMAKE_AUTORCC ON, or\n"
          "qt_add_resources(sources kit.qrc); qmake: RESOURCES += kit.qrc).\n\n"
          "From the folder, without building it in:\n\n"
          "    rcc --binary kit.qrc -o kit.rcc\n"
          "    QResource::registerResource(QStringLiteral(\"/path/to/kit.rcc\"));\n\n"
          "Then, once the QApplication exists:\n\n"
          "    QFile file(QStringLiteral(\""_s
        + sheet
        + u"\"));\n"
          "    if (file.open(QIODevice::ReadOnly))\n"
          "        app.setStyleSheet(QString::fromUtf8(file.readAll()));\n\n"
          "Push buttons are "_s
        + QString::number(input.height) + u" px high and at least "_s + QString::number(input.slice.minWidth)
        + u" px wide, and every width gives the skin's own picture. The pictures were checked in the\n"
          "Fusion style; the sheet draws all it styles itself.\n"_s;
}

QList<pictures::PlannedFile> files(const QtSheetInput &input, QString *undrawn)
{
    QList<pictures::PlannedFile> planned;
    for (const auto &[name, picture] : pictures(input)) {
        if (!plannedpictures::add(planned, name, picture)) {
            if (undrawn)
                *undrawn = name;
            return {};
        }
    }
    planned.append(pictures::PlannedFile::ofBytes(u"kit.qrc"_s, resourceList(input).toUtf8()));
    planned.append(pictures::PlannedFile::ofBytes(u"README.md"_s, readme(input).toUtf8()));
    planned.append(pictures::PlannedFile::ofBytes(u"kit.qss"_s, styleSheet(input).toUtf8()));
    return planned;
}

} // namespace quillet::kit::qtstylesheet
