#pragma once

#include "model/buttonicon.h"

class QFont;
class QPainter;
class QStyle;
class QStyleOptionButton;
class QWidget;

namespace quillet::render {

class LoadedIcon;

// A push button whose caption has an icon beside or above it. The style paints the bevel
// and the focus frame; the label is laid out here, because the style's own icon label can
// neither put the icon on top nor colour it as the caption: icon and caption are one block
// centred in the face (inside the skin's margin, moved by its pressed shift), the caption
// where it would stand alone on the other axis. The designer's sample button and the
// window-free renderer both paint through this, so their pixels agree.
namespace iconlabel {

// Between icon and caption, in 1x pixels.
inline constexpr int kSideGap = 4;
inline constexpr int kTopGap = 2;
inline constexpr int kMaxIconHeight = 256;

// The icon's height in 1x pixels: the one asked for, else the caption font's pixel size.
int iconHeight(const model::ButtonIcon &icon, const QFont &font);

// The painter is set up as a widget's own (its font, pen and ratio); option as the
// button's own.
void paintButton(QPainter &painter, const QStyleOptionButton &option, const QStyle &style,
    const model::ButtonIcon &settings, const LoadedIcon &icon, const QWidget *widget = nullptr);

} // namespace iconlabel

} // namespace quillet::render
