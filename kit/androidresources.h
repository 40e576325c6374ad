#pragma once

#include "model/samplestate.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringView>

namespace quillet::kit::androidresources {

// The densities Android names a drawable folder after, each drawn at its own ratio.
struct Density
{
    QStringView qualifier;
    qreal ratio;
};
inline constexpr Density kDensities[] = {
    { u"mdpi", 1.0 },
    { u"hdpi", 1.5 },
    { u"xhdpi", 2.0 },
    { u"xxhdpi", 3.0 },
    { u"xxxhdpi", 4.0 },
};

// Resource names are one flat space per app; every name the kit gives begins so.
inline constexpr QStringView kPrefix = u"qk";

// One item of a state list: the state it stands for, the resource it names (a drawable's
// name, without folder and extension) or the colour it gives.
struct StateItem
{
    model::SampleState state;
    QString name;
    QColor colour;
};

// What the kit's value and state list files say.
struct Kit
{
    QString skinName;
    QList<StateItem> buttons;
    QList<StateItem> checks;
    QColor checkCaption;
    QColor checkCaptionDisabled;
    int height = 24; // dp
    int minWidth = 0; // dp
    qreal textSize = 12; // sp
};

// A resource name from a kit piece word ("on-hover" gives qk_check_on_hover).
QString name(QStringView control, QStringView word);
// The items in Android's first-match order: disabled, pressed, focused, hovered, checked,
// then the plain state, with a state's checked form before its unchecked one.
QList<StateItem> inMatchOrder(QList<StateItem> items);
// res/drawable/*.xml: a selector naming each state's drawable. With variable padding each
// state keeps its own content box (a pressed caption moves with its face).
QString drawableSelector(const QList<StateItem> &items, bool variablePadding);
// res/color/*.xml: a selector giving each state's colour.
QString colourSelector(const QList<StateItem> &items);
// res/values/qk_dimens.xml and qk_styles.xml.
QString dimensions(const Kit &kit);
QString styles();
QString readme(const Kit &kit);

} // namespace quillet::kit::androidresources
