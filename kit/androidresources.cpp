#include "kit/androidresources.h"

#include <algorithm>

namespace quillet::kit::androidresources {

namespace {

using namespace Qt::StringLiterals;
using model::SampleState;

// A selector takes the first item whose states all hold, so the narrower ones come first.
struct Match
{
    SampleState state;
    QStringView attributes;
};
constexpr Match kMatches[] = {
    { SampleState::CheckedDisabled, u"android:state_enabled=\"false\" android:state_checked=\"true\"" },
    { SampleState::Disabled, u"android:state_enabled=\"false\"" },
    { SampleState::CheckedPressed, u"android:state_pressed=\"true\" android:state_checked=\"true\"" },
    { SampleState::Pressed, u"android:state_pressed=\"true\"" },
    { SampleState::Focused, u"android:state_focused=\"true\"" },
    { SampleState::CheckedHot, u"android:state_hovered=\"true\" android:state_checked=\"true\"" },
    { SampleState::Hot, u"android:state_hovered=\"true\"" },
    { SampleState::Checked, u"android:state_checked=\"true\"" },
    { SampleState::Normal, u"" },
};

int place(SampleState state)
{
    const auto found = std::find_if(
        std::begin(kMatches), std::end(kMatches), [state](const Match &m) { return m.state == state; });
    return int(found - std::begin(kMatches));
}

QStringView attributes(SampleState state)
{
    const int at = place(state);
    return at < int(std::size(kMatches)) ? kMatches[at].attributes : QStringView();
}

QString colourText(const QColor &colour)
{
    const QColor opaque(colour.red(), colour.green(), colour.blue());
    if (colour.alpha() == 255)
        return opaque.name(QColor::HexRgb);
    return colour.name(QColor::HexArgb);
}

QString item(const StateItem &state, const QString &value)
{
    const QStringView states = attributes(state.state);
    return u"    <item "_s + (states.isEmpty() ? QString() : states.toString() + u' ') + value + u"/>\n"_s;
}

const QString kHeader = u"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"_s;
const QString kNamespace = u"xmlns:android=\"http://schemas.android.com/apk/res/android\""_s;

QString number(qreal value)
{
    return QString::number(qRound(value * 100) / 100.0);
}

} // namespace

QString name(QStringView control, QStringView word)
{
    QString text = kPrefix.toString() + u'_' + control + u'_' + word;
    return text.replace(u'-', u'_');
}

QList<StateItem> inMatchOrder(QList<StateItem> items)
{
    std::stable_sort(items.begin(), items.end(),
        [](const StateItem &a, const StateItem &b) { return place(a.state) < place(b.state); });
    return items;
}

QString drawableSelector(const QList<StateItem> &items, bool variablePadding)
{
    QString text = kHeader + u"<selector "_s + kNamespace;
    if (variablePadding)
        text += u" android:variablePadding=\"true\""_s;
    text += u">\n"_s;
    for (const StateItem &state : inMatchOrder(items))
        text += item(state, u"android:drawable=\"@drawable/"_s + state.name + u'"');
    return text + u"</selector>\n"_s;
}

QString colourSelector(const QList<StateItem> &items)
{
    QString text = kHeader + u"<selector "_s + kNamespace + u">\n"_s;
    for (const StateItem &state : inMatchOrder(items))
        text += item(state, u"android:color=\""_s + colourText(state.colour) + u'"');
    return text + u"</selector>\n"_s;
}

QString dimensions(const Kit &kit)
{
    const QString p = kPrefix.toString();
    return kHeader + u"<resources>\n"_s
        + u"    <dimen name=\"%1_button_min_width\">%2dp</dimen>\n"_s.arg(p).arg(kit.minWidth)
        + u"    <dimen name=\"%1_button_height\">%2dp</dimen>\n"_s.arg(p).arg(kit.height)
        + u"    <dimen name=\"%1_button_text_size\">%2sp</dimen>\n"_s.arg(p, number(kit.textSize))
        + u"</resources>\n"_s;
}

QString styles()
{
    const QString p = kPrefix.toString();
    // The platform's button raises itself with an animated shadow and capitalises its
    // caption; neither belongs to a picture that is the whole button.
    return kHeader + u"<resources>\n"_s
        + u"    <style name=\"Qk.Button\" parent=\"android:Widget.Button\">\n"_s
        + u"        <item name=\"android:background\">@drawable/%1_button</item>\n"_s.arg(p)
        + u"        <item name=\"android:textColor\">@color/%1_button_text</item>\n"_s.arg(p)
        + u"        <item name=\"android:textSize\">@dimen/%1_button_text_size</item>\n"_s.arg(p)
        + u"        <item name=\"android:minWidth\">@dimen/%1_button_min_width</item>\n"_s.arg(p)
        + u"        <item name=\"android:minHeight\">@dimen/%1_button_height</item>\n"_s.arg(p)
        + u"        <item name=\"android:minimumHeight\">@dimen/%1_button_height</item>\n"_s.arg(p)
        + u"        <item name=\"android:textAllCaps\">false</item>\n"_s
        + u"        <item name=\"android:stateListAnimator\">@null</item>\n"_s + u"    </style>\n"_s
        + u"    <style name=\"Qk.CheckBox\" parent=\"android:Widget.CompoundButton.CheckBox\">\n"_s
        + u"        <item name=\"android:button\">@drawable/%1_check</item>\n"_s.arg(p)
        + u"        <item name=\"android:textColor\">@color/%1_check_text</item>\n"_s.arg(p)
        + u"        <item name=\"android:textSize\">@dimen/%1_button_text_size</item>\n"_s.arg(p)
        + u"    </style>\n"_s + u"</resources>\n"_s;
}

QString readme(const Kit &kit)
{
    QString densities;
    for (const Density &density : kDensities)
        densities += u"`drawable-"_s + density.qualifier + u"` (" + number(density.ratio) + u"x), "_s;
    densities.chop(2);
    return u"# Android button kit: "_s + kit.skinName + u"\n\n"_s
        + u"Copy `res/` into your module's `src/main/res/`. The push button is a nine-patch drawn at "_s
        + u"each density Android names: "_s + densities
        + u". None is scaled from another, so edges stay sharp on every screen.\n\n"_s
        + u"```xml\n<Button\n    style=\"@style/Qk.Button\"\n    android:layout_width=\"wrap_content\"\n"_s
        + u"    android:layout_height=\"wrap_content\"\n    android:text=\"OK\" />\n\n"_s
        + u"<CheckBox\n    style=\"@style/Qk.CheckBox\"\n    android:layout_width=\"wrap_content\"\n"_s
        + u"    android:layout_height=\"wrap_content\"\n    android:text=\"Remember me\" />\n```\n\n"_s
        + u"Without the styles: `android:background=\"@drawable/qk_button\"` and "_s
        + u"`android:textColor=\"@color/qk_button_text\"` on a `Button`, "_s
        + u"`android:button=\"@drawable/qk_check\"` on a `CheckBox`.\n\n"_s
        + u"- `res/drawable/qk_button.xml` picks the state: disabled, pressed, focused, hovered, then "_s
        + u"normal. Each state keeps its own content box (`variablePadding`), so a pressed caption moves "_s
        + u"with its face.\n"_s
        + u"- `res/color/qk_button_text.xml` gives the caption colour of each state, "_s
        + u"`res/values/qk_dimens.xml` the button's height ("_s + QString::number(kit.height)
        + u"dp, the pictures' own; a taller button stretches the face's middle rows), its "_s
        + u"narrowest width that keeps the caps whole ("_s + QString::number(kit.minWidth)
        + u"dp) and the caption's size ("_s + number(kit.textSize) + u"sp).\n"_s
        + u"- The styles turn off the platform's raised shadow (`stateListAnimator`) and its capitals.\n"_s
        + u"- The caption's font is not part of the kit: set `android:fontFamily` to your own.\n"_s;
}

} // namespace quillet::kit::androidresources
