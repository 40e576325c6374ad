#include "skin/skinstyle.h"

#include "platform/form/statehints.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QPainter>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOption>

#include <algorithm>

namespace quillet::skin {

namespace {

bool isSquareCheck(const QRect &r)
{
    return r.width() == r.height() && r.width() >= SkinStyle::kSquareCheckMin
        && r.width() <= SkinStyle::kSquareCheckMax;
}

QColor faceColour(const Look &look, const QColor &fallback)
{
    return look.fill.isEmpty() ? fallback : look.fill.at(look.fill.size() / 2).colour;
}

} // namespace

SkinStyle::SkinStyle(const Skin &skin)
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
    , m_skin(skin)
{
    m_painter.setAccent(skin.accent());
}

SkinState SkinStyle::stateOf(const QStyleOption *option, bool useDefault)
{
    const QStyle::State s = option->state;
    if (!(s & QStyle::State_Enabled))
        return SkinState::Disabled;
    if (s & (QStyle::State_Sunken | QStyle::State_On))
        return SkinState::Pressed;
    if (s & QStyle::State_MouseOver)
        return SkinState::Hot;
    if (useDefault) {
        if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option);
            button && (button->features & QStyleOptionButton::DefaultButton))
            return SkinState::Default;
    }
    if (s & QStyle::State_HasFocus)
        return SkinState::Focused;
    return SkinState::Normal;
}

SkinState SkinStyle::checkStateOf(const QStyleOption *option)
{
    const QStyle::State s = option->state;
    const bool checked = s & (QStyle::State_On | QStyle::State_NoChange);
    if (!(s & QStyle::State_Enabled))
        return checked ? SkinState::CheckedDisabled : SkinState::Disabled;
    if (s & QStyle::State_Sunken)
        return checked ? SkinState::CheckedPressed : SkinState::Pressed;
    if (s & QStyle::State_MouseOver)
        return checked ? SkinState::CheckedHot : SkinState::Hot;
    return checked ? SkinState::Checked : SkinState::Normal;
}

// --- dispatch -----------------------------------------------------------------------

void SkinStyle::drawPrimitive(
    PrimitiveElement element, const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    switch (element) {
    case PE_PanelButtonCommand:
    case PE_PanelButtonBevel:
        drawButtonBevel(option, painter);
        return;
    case PE_FrameDefaultButton:
        return;
    case PE_FrameFocusRect:
        m_painter.focusRect(painter, option->rect, look(Element::Button, SkinState::Focused).focus);
        return;
    case PE_IndicatorCheckBox:
        drawCheckIndicator(option, painter);
        return;
    case PE_Frame:
        drawFrame(option, painter, widget);
        return;
    case PE_PanelLineEdit:
    case PE_FrameLineEdit:
        drawLineEdit(option, painter, widget);
        return;
    case PE_PanelItemViewItem:
        drawItemPanel(option, painter);
        return;
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void SkinStyle::drawControl(
    ControlElement element, const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    switch (element) {
    case CE_PushButton:
        drawButtonBevel(option, painter);
        drawButtonLabel(option, painter, widget);
        drawButtonFocus(option, painter);
        return;
    case CE_PushButtonBevel:
        drawButtonBevel(option, painter);
        return;
    case CE_PushButtonLabel:
        drawButtonLabel(option, painter, widget);
        return;
    case CE_CheckBox:
        drawCheckBox(option, painter, widget);
        return;
    case CE_ShapedFrame:
        if (const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option); frame
            && frame->frameShape != QFrame::HLine && frame->frameShape != QFrame::VLine
            && frame->frameShape != QFrame::NoFrame && frame->state & (State_Sunken | State_Raised)) {
            drawFrame(option, painter, widget);
            return;
        }
        break;
    case CE_ComboBoxLabel:
        drawComboLabel(option, painter, widget);
        return;
    default:
        break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void SkinStyle::drawComplexControl(
    ComplexControl control, const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const
{
    switch (control) {
    case CC_ComboBox:
        if (const auto *combo = qstyleoption_cast<const QStyleOptionComboBox *>(option)) {
            QStyleOptionComboBox copy = *combo;
            // The runtime presses the drop button by hand; Qt's own press would open the popup.
            if (widget && widget->property(form::kPressedProperty).toBool()) {
                copy.state |= State_Sunken;
                copy.activeSubControls |= SC_ComboBoxArrow;
            }
            drawComboBox(&copy, painter, widget);
            return;
        }
        break;
    case CC_ScrollBar:
        if (qstyleoption_cast<const QStyleOptionSlider *>(option)) {
            drawScrollBar(option, painter, widget);
            return;
        }
        break;
    default:
        break;
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

// --- geometry -----------------------------------------------------------------------

QRect SkinStyle::subControlRect(
    ComplexControl control, const QStyleOptionComplex *option, SubControl sub, const QWidget *widget) const
{
    if (control == CC_ComboBox) {
        const QRect r = option->rect;
        const Look &field = look(Element::ComboField, SkinState::Normal);
        const int frame = std::min(
            field.borderWidth + (field.bevel != Bevel::None ? field.bevelWidth : 0), kMaxFieldFrame);
        const int button = std::min(kDropButtonWidth, r.width());
        switch (sub) {
        case SC_ComboBoxArrow:
            return QRect(r.right() - button + 1, r.top(), button, r.height());
        case SC_ComboBoxEditField:
            return QRect(r.left() + frame + kEditTextMargin, r.top() + frame,
                std::max(0, r.width() - button - frame - kEditTextMargin),
                std::max(0, r.height() - 2 * frame));
        case SC_ComboBoxFrame:
        case SC_ComboBoxListBoxPopup:
            return r;
        default:
            break;
        }
    }
    return QProxyStyle::subControlRect(control, option, sub, widget);
}

QRect SkinStyle::subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const
{
    const QRect r = option->rect;
    switch (element) {
    case SE_CheckBoxIndicator:
        if (isSquareCheck(r))
            return r;
        return QRect(r.left(), r.top() + (r.height() - kIndicatorSide) / 2, kIndicatorSide, kIndicatorSide);
    case SE_CheckBoxContents:
    case SE_CheckBoxFocusRect: {
        if (isSquareCheck(r))
            return QRect();
        const int left = kIndicatorSide + kCheckLabelSpacing;
        return QRect(r.left() + left, r.top(), std::max(0, r.width() - left), r.height());
    }
    case SE_CheckBoxClickRect:
        return r;
    case SE_PushButtonFocusRect:
        return r.adjusted(kFocusInset, kFocusInset, -kFocusInset, -kFocusInset);
    default:
        return QProxyStyle::subElementRect(element, option, widget);
    }
}

int SkinStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
        return kIndicatorSide;
    case PM_CheckBoxLabelSpacing:
        return kCheckLabelSpacing;
    case PM_ButtonShiftHorizontal:
    case PM_ButtonShiftVertical:
    case PM_ButtonDefaultIndicator:
        return 0;
    case PM_ScrollBarExtent:
        return kScrollBarExtent;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

// --- palette and polish -------------------------------------------------------------

QPalette SkinStyle::skinPalette() const
{
    QPalette pal = baseStyle()->standardPalette();
    const QColor base = m_skin.base();
    const Look &window = look(Element::Window, SkinState::Normal);
    const Look &button = look(Element::Button, SkinState::Normal);
    const Look &buttonOff = look(Element::Button, SkinState::Disabled);
    const Look &edit = look(Element::Edit, SkinState::Normal);
    const Look &editOff = look(Element::Edit, SkinState::Disabled);
    const Look &selection = look(Element::ListSelection, SkinState::Normal);
    const Look &frame = look(Element::Frame, SkinState::Normal);
    for (const auto group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
        const bool off = group == QPalette::Disabled;
        pal.setColor(group, QPalette::Window, base);
        pal.setColor(group, QPalette::WindowText, off ? window.text.lighter(150) : window.text);
        pal.setColor(group, QPalette::Button, faceColour(button, base));
        pal.setColor(group, QPalette::ButtonText, off ? buttonOff.text : button.text);
        pal.setColor(group, QPalette::Base, faceColour(off ? editOff : edit, Qt::white));
        pal.setColor(group, QPalette::Text, off ? editOff.text : edit.text);
        pal.setColor(group, QPalette::Highlight, faceColour(selection, QColor(0x31, 0x68, 0xc6)));
        pal.setColor(group, QPalette::HighlightedText, selection.text);
        pal.setColor(group, QPalette::Light, frame.bevelLight);
        pal.setColor(group, QPalette::Dark, frame.bevelShadow);
        pal.setColor(group, QPalette::Shadow, frame.bevelDark);
        pal.setColor(group, QPalette::Mid, base.darker(130));
        pal.setColor(group, QPalette::Midlight, base.lighter(115));
    }
    return pal;
}

QPalette SkinStyle::standardPalette() const
{
    return skinPalette();
}

void SkinStyle::polish(QPalette &palette)
{
    palette = skinPalette();
}

void SkinStyle::polish(QWidget *widget)
{
    QProxyStyle::polish(widget);
    if (qobject_cast<QAbstractButton *>(widget) || qobject_cast<QComboBox *>(widget)
        || qobject_cast<QScrollBar *>(widget))
        widget->setAttribute(Qt::WA_Hover, true);
}

// --- elements -----------------------------------------------------------------------

void SkinStyle::drawButtonBevel(const QStyleOption *option, QPainter *painter) const
{
    m_painter.panel(painter, option->rect, look(Element::Button, stateOf(option, true)));
}

void SkinStyle::drawButtonLabel(const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option);
    if (!button)
        return;
    if (!button->icon.isNull()) {
        QProxyStyle::drawControl(CE_PushButtonLabel, option, painter, widget);
        return;
    }
    int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
    if (!styleHint(SH_UnderlineShortcut, option, widget))
        flags |= Qt::TextHideMnemonic;
    m_painter.text(painter, option->rect, flags, button->text, look(Element::Button, stateOf(option, true)));
}

void SkinStyle::drawButtonFocus(const QStyleOption *option, QPainter *painter) const
{
    if (!(option->state & State_HasFocus) || !(option->state & State_Enabled))
        return;
    const QRect r = option->rect.adjusted(kFocusInset, kFocusInset, -kFocusInset, -kFocusInset);
    m_painter.focusRect(
        painter, r, look(Element::Button, SkinState::Focused).focus, focusRightSpan(option->rect.height()));
}

int SkinStyle::focusRightSpan(int height) const
{
    // A kit's right cap is as wide as the widest face's right end in any state; the ring's
    // dots under that cap must not depend on the width, so they count from the right too.
    int cap = 0;
    for (const SkinState state :
        { SkinState::Normal, SkinState::Hot, SkinState::Pressed, SkinState::Disabled, SkinState::Focused }) {
        const Look &face = look(Element::Button, state);
        // The painter clamps a radius to half the height; a shadow may reach further still.
        const int end = face.image.isEmpty() ? std::min(face.radius, height / 2 + 1) + face.borderWidth
                                             : face.slice.right();
        const int shadow = face.shadow.alpha() > 0
            ? face.shadowBlur + face.shadowSpread + std::max(0, face.shadowOffset.x())
            : 0;
        cap = std::max(cap, face.margin.right() + std::max(end, shadow));
    }
    return cap - kFocusInset;
}

void SkinStyle::drawCheckIndicator(const QStyleOption *option, QPainter *painter) const
{
    const SkinState state = checkStateOf(option);
    const Look &box = look(Element::Check, state);
    m_painter.panel(painter, option->rect, box);
    if (option->state & (State_On | State_NoChange)) {
        const int inset = std::max(1, box.borderWidth) + (box.bevel != Bevel::None ? box.bevelWidth : 0);
        m_painter.checkMark(painter,
            option->rect.marginsRemoved(box.margin + box.padding).adjusted(inset, inset, -inset, -inset),
            box.mark);
    }
}

void SkinStyle::drawCheckBox(const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    const auto *check = qstyleoption_cast<const QStyleOptionButton *>(option);
    if (!check)
        return;
    QStyleOptionButton indicator = *check;
    indicator.rect = subElementRect(SE_CheckBoxIndicator, option, widget);
    drawCheckIndicator(&indicator, painter);
    const QRect label = subElementRect(SE_CheckBoxContents, option, widget);
    if (label.isEmpty() || check->text.isEmpty())
        return;
    Look text
        = look(Element::Window, option->state & State_Enabled ? SkinState::Normal : SkinState::Disabled);
    text.textShift = QPoint();
    text.textShadow = QColor();
    m_painter.text(
        painter, label, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, check->text, text);
    if (option->state & State_HasFocus) {
        const QRect bounds
            = option->fontMetrics.boundingRect(label, Qt::AlignLeft | Qt::AlignVCenter, check->text);
        m_painter.focusRect(painter, bounds.adjusted(-1, 0, 1, 0) & option->rect,
            look(Element::Button, SkinState::Focused).focus);
    }
}

void SkinStyle::drawFrame(const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    Look frame = look(qobject_cast<const QAbstractItemView *>(widget) ? Element::List : Element::Frame,
        option->state & State_Enabled ? SkinState::Normal : SkinState::Disabled);
    frame.fill.clear(); // a frame never covers what it encloses
    frame.gloss = 0;
    m_painter.panel(painter, option->rect, frame);
}

void SkinStyle::drawLineEdit(const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option);
    // The edit inside an editable combo box sits on the combo's own field.
    if (frame && frame->lineWidth == 0 && widget && qobject_cast<const QComboBox *>(widget->parentWidget()))
        return;
    const Look &edit
        = look(Element::Edit, option->state & State_Enabled ? SkinState::Normal : SkinState::Disabled);
    if (frame && frame->lineWidth == 0) {
        if (!edit.fill.isEmpty())
            painter->fillRect(option->rect, edit.fill.first().colour);
        return;
    }
    m_painter.panel(painter, option->rect, edit);
}

void SkinStyle::drawItemPanel(const QStyleOption *option, QPainter *painter) const
{
    const auto *item = qstyleoption_cast<const QStyleOptionViewItem *>(option);
    if (item && item->backgroundBrush.style() != Qt::NoBrush)
        painter->fillRect(option->rect, item->backgroundBrush);
    if (option->state & State_Selected)
        m_painter.panel(painter, option->rect,
            look(Element::ListSelection,
                option->state & State_Enabled ? SkinState::Normal : SkinState::Disabled));
}

void SkinStyle::drawComboBox(
    const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const
{
    const bool enabled = option->state & State_Enabled;
    const bool hot = option->state & State_MouseOver;
    const SkinState fieldState = !enabled ? SkinState::Disabled : hot ? SkinState::Hot : SkinState::Normal;
    m_painter.panel(painter, option->rect, look(Element::ComboField, fieldState));

    const bool pressed = (option->state & State_Sunken) && (option->activeSubControls & SC_ComboBoxArrow);
    const SkinState buttonState = !enabled ? SkinState::Disabled
        : pressed                          ? SkinState::Pressed
        : hot                              ? SkinState::Hot
                                           : SkinState::Normal;
    const Look &button = look(Element::ComboButton, buttonState);
    const QRect arrowRect = subControlRect(CC_ComboBox, option, SC_ComboBoxArrow, widget);
    m_painter.panel(painter, arrowRect, button);
    m_painter.arrow(painter,
        arrowRect.marginsRemoved(button.margin + button.padding).translated(button.textShift), Qt::DownArrow,
        button.mark);
}

void SkinStyle::drawComboLabel(const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    const auto *combo = qstyleoption_cast<const QStyleOptionComboBox *>(option);
    if (!combo || combo->editable || combo->currentText.isEmpty())
        return;
    const QRect field = subControlRect(CC_ComboBox, combo, SC_ComboBoxEditField, widget);
    Look text
        = look(Element::ComboField, option->state & State_Enabled ? SkinState::Normal : SkinState::Disabled);
    text.textShift = QPoint();
    m_painter.text(painter, field, Qt::AlignLeft | Qt::AlignVCenter, combo->currentText, text);
}

void SkinStyle::drawScrollBar(
    const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const
{
    const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option);
    const bool enabled = option->state & State_Enabled;
    m_painter.panel(
        painter, option->rect, look(Element::ScrollBar, enabled ? SkinState::Normal : SkinState::Disabled));
    const bool horizontal = bar->orientation == Qt::Horizontal;
    struct Part
    {
        SubControl sub;
        Qt::ArrowType arrow;
    };
    const Part parts[] = { { SC_ScrollBarSubLine, horizontal ? Qt::LeftArrow : Qt::UpArrow },
        { SC_ScrollBarAddLine, horizontal ? Qt::RightArrow : Qt::DownArrow },
        { SC_ScrollBarSlider, Qt::NoArrow } };
    for (const Part &part : parts) {
        const QRect r = subControlRect(CC_ScrollBar, option, part.sub, widget);
        if (r.isEmpty() || (part.sub == SC_ScrollBarSlider && bar->maximum == bar->minimum))
            continue;
        const bool active = option->activeSubControls & part.sub;
        const SkinState state = !enabled                  ? SkinState::Disabled
            : active && (option->state & State_Sunken)    ? SkinState::Pressed
            : active && (option->state & State_MouseOver) ? SkinState::Hot
                                                          : SkinState::Normal;
        const Look &handle = look(Element::ScrollHandle, state);
        m_painter.panel(painter, r, handle);
        if (part.arrow != Qt::NoArrow)
            m_painter.arrow(painter, r.marginsRemoved(handle.margin).translated(handle.textShift), part.arrow,
                handle.mark);
    }
}

} // namespace quillet::skin
