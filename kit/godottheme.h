#pragma once

#include "kit/kitpieces.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QMargins>
#include <QString>
#include <QStringView>

namespace quillet::kit {

// One push button style of a Godot theme: its picture's name at 1x and its caption.
struct GodotButtonStyle
{
    model::SampleState state = model::SampleState::Normal;
    QString picture; // "kit/button-normal.png"; the theme of ratio 2 names the @2x file
    // Where Godot 3 needs a picture of its own; empty for the same. Godot 3 shows a button
    // with the focus as hovered, so its focus overlay lies over the hover picture.
    QString godot3Picture;
    QColor caption;
    // From the button's rect to the caption's box, in logical pixels: the caption is
    // centred between them, as the renderer centres it.
    QMargins content;
};

// One check box icon, by the theme's names for it.
struct GodotIcon
{
    model::SampleState state = model::SampleState::Normal;
    QString picture;
};

// Everything a Godot theme is written from: names and numbers, no pictures.
struct GodotThemeInput
{
    QString skinName;
    int height = 24;
    KitSlice slice;
    QList<GodotButtonStyle> buttons; // the focus one is an overlay, drawn over the state's
    QList<GodotIcon> checks;
    QColor checkCaption;
    QColor checkCaptionDisabled;
    QString inexactNote;
};

namespace godottheme {

enum class Version { Godot3, Godot4 };

// The folder the pictures lie in, beside the themes.
inline constexpr QStringView kFolder = u"kit";

// "theme-godot3.tres", "theme-godot4@2x.tres".
QString themeName(Version version, qreal ratio);
// "kit/button-normal.png", "kit/check-on@2x.png".
QString pictureName(QStringView control, QStringView word, qreal ratio);

// The caption's box as Godot's content margins: centred where the renderer centres the
// caption, and never inside the caps, whose texture margins Godot would otherwise see
// overlap the content.
QMargins contentMargins(const KitSlice &slice, const QMargins &box, const QPoint &shift);
// The caps and middle side by side: the picture of a style box whose texture margins are
// the caps and whose middle Godot tiles from the left cap on.
QImage joined(const KitPieces &pieces);
// What Godot draws over the state's picture when the button has the focus: drawn over
// `under` it gives `focused` (within rounding), and it is see-through where the two agree.
QImage overlay(const QImage &focused, const QImage &under);

// The theme text (a .tres resource) for one version, its pictures at one ratio.
QString theme(const GodotThemeInput &input, Version version, qreal ratio);
QString readme(const GodotThemeInput &input, const QList<qreal> &ratios);
// What the editor is to import every picture with, in the picture's own .import file: by
// default Godot recolours each pixel under alpha 20 from its nearest solid neighbour, which
// shows on any page as a lighter or darker fringe of shadows and focus rings.
QString importSettings();

} // namespace godottheme

} // namespace quillet::kit
