#include "render/iconlabel.h"

#include "skin/skinstyle.h"
#include "render/loadedicon.h"

#include <QFontInfo>
#include <QPainter>
#include <QStyleOption>

namespace quillet::render::iconlabel {

namespace {

using model::IconPosition;

// A disabled caption fainter than this against its face, or an enabled one this close to
// it, says nothing about the skin's fade: a picture icon is then drawn at half strength.
constexpr int kMinGreySpread = 8;
constexpr qreal kPlainFade = 0.5;
constexpr qreal kMinFade = 0.2;

struct LabelLook
{
    skin::Look look;
    // Opacity of an icon that does not take the caption's colour.
    qreal fade = 1.0;
};

QColor textOf(const skin::Look &look)
{
    return look.text.isValid() ? look.text : QColor(Qt::black);
}

int faceGrey(const skin::Look &look, const skin::Skin &skin)
{
    return qGray((look.fill.isEmpty() ? skin.base() : look.fill.at(look.fill.size() / 2).colour).rgb());
}

// What is left of the caption's contrast with its face when disabled: the icon is greyed
// and drawn at that opacity, so that it reads as faint as the caption beside it.
qreal disabledFade(const skin::Skin &skin)
{
    const skin::Look &normal = skin.look(skin::Element::Button, skin::State::Normal);
    const skin::Look &off = skin.look(skin::Element::Button, skin::State::Disabled);
    const int enabledSpread = qAbs(qGray(textOf(normal).rgb()) - faceGrey(normal, skin));
    if (enabledSpread < kMinGreySpread)
        return kPlainFade;
    const int disabledSpread = qAbs(qGray(textOf(off).rgb()) - faceGrey(off, skin));
    return qBound(kMinFade, qreal(disabledSpread) / enabledSpread, 1.0);
}

LabelLook lookFor(const QStyleOptionButton &option, const QStyle &style)
{
    const bool enabled = option.state & QStyle::State_Enabled;
    LabelLook label;
    if (const auto *skinStyle = qobject_cast<const skin::SkinStyle *>(&style)) {
        const skin::Skin &skin = skinStyle->skin();
        label.look = skin.look(skin::Element::Button, skin::SkinStyle::stateOf(&option, true));
        label.fade = enabled ? 1.0 : disabledFade(skin);
        return label;
    }
    label.look.text
        = option.palette.color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
    label.fade = enabled ? 1.0 : kPlainFade;
    return label;
}

// On the device's pixel grid, so that the icon's pixels land whole at every ratio.
QPointF snapped(const QPainter &painter, const QPoint &logical)
{
    const QTransform toDevice = painter.deviceTransform();
    const QPointF device = toDevice.map(QPointF(logical));
    return toDevice.inverted().map(QPointF(qRound(device.x()), qRound(device.y())));
}

void paintIcon(QPainter &painter, const QPoint &at, const QSize &box, const LoadedIcon &icon,
    const QColor &colour, qreal fade)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const QSize device(qRound(box.width() * ratio), qRound(box.height() * ratio));
    const QImage pixels = icon.pixels(device, ratio, colour, icon.takesTextColour() ? 1.0 : fade);
    if (!pixels.isNull())
        painter.drawImage(snapped(painter, at), pixels);
}

void paintLabel(QPainter &painter, const QRect &rect, int flags, const QString &caption,
    const LabelLook &label, const model::ButtonIcon &settings, const LoadedIcon &icon)
{
    const skin::Look &look = label.look;
    const QRect face = rect.marginsRemoved(look.margin).translated(look.textShift);
    const QSize box = icon.box(iconHeight(settings, painter.font()));
    const bool hasText = !caption.isEmpty();
    const QSize text
        = hasText ? painter.fontMetrics().boundingRect(face, flags, caption).size() : QSize(0, 0);

    QPoint iconAt;
    QRect textRect;
    if (settings.position == IconPosition::Top) {
        const int gap = hasText ? kTopGap : 0;
        const int top = face.top() + (face.height() - (box.height() + gap + text.height())) / 2;
        iconAt = QPoint(face.left() + (face.width() - box.width()) / 2, top);
        textRect = QRect(face.left(), top + box.height() + gap, face.width(), text.height());
    } else {
        const int gap = hasText ? kSideGap : 0;
        const int left = face.left() + (face.width() - (box.width() + gap + text.width())) / 2;
        const int iconTop = face.top() + (face.height() - box.height()) / 2;
        // The caption keeps the height it has alone; only its column moves.
        if (settings.position == IconPosition::Right) {
            textRect = QRect(left, face.top(), text.width(), face.height());
            iconAt = QPoint(left + text.width() + gap, iconTop);
        } else {
            iconAt = QPoint(left, iconTop);
            textRect = QRect(left + box.width() + gap, face.top(), text.width(), face.height());
        }
    }

    const QColor colour = textOf(look);
    paintIcon(painter, iconAt, box, icon, colour, label.fade);
    if (!hasText)
        return;
    painter.save();
    if (look.textShadow.isValid() && look.textShadow.alpha() > 0 && !look.textShadowOffset.isNull()) {
        painter.setPen(look.textShadow);
        painter.drawText(textRect.translated(look.textShadowOffset), flags, caption);
    }
    painter.setPen(colour);
    painter.drawText(textRect, flags, caption);
    painter.restore();
}

} // namespace

int iconHeight(const model::ButtonIcon &icon, const QFont &font)
{
    const int height = icon.size > 0 ? icon.size : QFontInfo(font).pixelSize();
    return qBound(1, height, kMaxIconHeight);
}

void paintButton(QPainter &painter, const QStyleOptionButton &option, const QStyle &style,
    const model::ButtonIcon &settings, const LoadedIcon &icon, const QWidget *widget)
{
    style.drawControl(QStyle::CE_PushButtonBevel, &option, &painter, widget);
    paintContents(painter, option, style, settings, icon, widget);
}

void paintContents(QPainter &painter, const QStyleOptionButton &option, const QStyle &style,
    const model::ButtonIcon &settings, const LoadedIcon &icon, const QWidget *widget)
{
    int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
    if (!style.styleHint(QStyle::SH_UnderlineShortcut, &option, widget))
        flags |= Qt::TextHideMnemonic;
    paintLabel(painter, option.rect, flags, option.text, lookFor(option, style), settings, icon);
    if ((option.state & QStyle::State_HasFocus) && (option.state & QStyle::State_Enabled)) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = style.subElementRect(QStyle::SE_PushButtonFocusRect, &option, widget);
        style.drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, widget);
    }
}

} // namespace quillet::render::iconlabel
