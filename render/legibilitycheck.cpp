#include "render/legibilitycheck.h"

#include "model/statetable.h"
#include "render/buttonrenderer.h"
#include "skin/skinstyle.h"

#include <algorithm>
#include <array>

namespace quillet::render::legibility {

namespace {

enum class Glyph { Caption, Arrow, Mark };

struct Probe
{
    SampleControl control;
    SampleState state;
    skin::Element element;
    skin::State skinState;
    Glyph glyph;
    qreal minimum;
    QString caption = {}; // the push button's text
};

constexpr std::array<const char *, 3> kGlyphNames { "caption", "arrow", "mark" };

// What a state row's picture is measured for: the push button's caption, the drop
// button's arrow, the check box's mark; disabled ones may read fainter.
Probe probeOf(const model::StateRow &row)
{
    const Glyph glyph = row.group == model::OutputGroup::ComboButton ? Glyph::Arrow
        : row.group == model::OutputGroup::CheckBox                  ? Glyph::Mark
                                                                     : Glyph::Caption;
    return { model::states::control(row.group), row.state, model::states::element(row.group), row.look, glyph,
        model::isDisabled(row.state) ? skin::kDisabledLegibility : skin::kEnabledLegibility };
}

// The sample sizes of the designer window.
constexpr QSize kButtonSize(104, 24);
constexpr QSize kDropSize(17, 32);
constexpr QSize kCheckSize(13, 13);

// The skin with blank captions and transparent marks: the face exactly under every glyph.
skin::Skin blanked(skin::Skin skin)
{
    for (int e = 0; e < skin::kElementCount; ++e) {
        for (int s = 0; s < skin::kStateCount; ++s) {
            skin::Look look = skin.look(static_cast<skin::Element>(e), static_cast<skin::State>(s));
            look.text = look.textShadow = look.mark = QColor(0, 0, 0, 0);
            skin.setLook(static_cast<skin::Element>(e), static_cast<skin::State>(s), look);
        }
    }
    return skin;
}

RenderRequest requestFor(const Probe &probe, const QColor &background)
{
    RenderRequest request;
    request.control = probe.control;
    request.state = probe.state;
    request.background = background;
    request.font = QFont(QStringLiteral("宋体"), 9);
    switch (probe.control) {
    case SampleControl::PushButton:
        request.size = kButtonSize;
        request.caption = probe.caption;
        break;
    case SampleControl::DropButton:
        request.size = kDropSize;
        break;
    case SampleControl::CheckBox:
        request.size = kCheckSize;
        break;
    }
    return request;
}

} // namespace

QStringList sampleCaptions()
{
    return { QStringLiteral("输入按钮文字"), QStringLiteral("确定"), QStringLiteral("Save") };
}

namespace {

LegibilityProbe focusProbeWith(const ButtonRenderer &renderer, QSize size, qreal ratio)
{
    const skin::Skin &skin = renderer.skin();
    RenderRequest request;
    request.size = size;
    request.background = skin.base();
    request.devicePixelRatio = ratio;
    const QImage normal = renderer.render(request);
    request.state = SampleState::Focused;
    const QImage focused = renderer.render(request);
    LegibilityProbe probe;
    probe.section = QStringLiteral("button.focused");
    probe.glyph = QStringLiteral("focus ring");
    probe.minimum = skin::kFocusRingLegibility;
    probe.measure = skin::measureFocusIndicator(focused, normal, skin::focusAppearanceArea(size, ratio));
    probe.size = size;
    probe.ratio = ratio;
    return probe;
}

} // namespace

LegibilityProbe focusProbe(const skin::Skin &skin, QSize size, qreal ratio)
{
    return focusProbeWith(ButtonRenderer(skin), size, ratio);
}

LegibilityProbe worstFocusProbe(const skin::Skin &skin)
{
    // One renderer for every size: a skin drawn from pictures loads them once.
    const ButtonRenderer renderer(skin);
    LegibilityProbe worst;
    qreal worstShare = -1;
    for (const qreal ratio : skin::kFocusRatios) {
        for (const int height : skin::kFocusHeights) {
            for (const int width : skin::kFocusWidths) {
                LegibilityProbe probe = focusProbeWith(renderer, QSize(width, height), ratio);
                const qreal share = qreal(probe.measure.glyphPixels) / probe.measure.backgroundPixels;
                if (worstShare < 0 || share < worstShare) {
                    worstShare = share;
                    worst = probe;
                }
            }
        }
    }
    return worst;
}

namespace {

LegibilityProbe measured(
    const skin::Skin &skin, const ButtonRenderer &with, const ButtonRenderer &without, const Probe &probe)
{
    const RenderRequest request = requestFor(probe, skin.base());
    const skin::Look &look = skin.look(probe.element, probe.skinState);
    LegibilityProbe result;
    result.section = skin::Skin::elementName(probe.element)
        + (probe.skinState == skin::State::Normal ? QString()
                                                  : u'.' + skin::Skin::stateName(probe.skinState));
    result.glyph = QString::fromLatin1(kGlyphNames[size_t(probe.glyph)]);
    result.minimum = probe.minimum;
    result.measure = skin::measureLegibility(with.render(request), without.render(request), QRect(),
        probe.glyph == Glyph::Caption ? look.text : look.mark);
    return result;
}

// One probe per sample caption, or the one probe of an arrow or a mark.
QList<LegibilityProbe> measuredEach(
    const skin::Skin &skin, const ButtonRenderer &with, const ButtonRenderer &without, const Probe &probe)
{
    if (probe.glyph != Glyph::Caption)
        return { measured(skin, with, without, probe) };
    QList<LegibilityProbe> result;
    for (const QString &caption : sampleCaptions()) {
        Probe one = probe;
        one.caption = caption;
        result << measured(skin, with, without, one);
        result.last().caption = caption;
    }
    return result;
}

LegibilityProbe worstOf(const QList<LegibilityProbe> &probes)
{
    return *std::min_element(
        probes.begin(), probes.end(), [](const LegibilityProbe &a, const LegibilityProbe &b) {
            return a.measure.contrast < b.measure.contrast;
        });
}

} // namespace

QList<LegibilityProbe> measureGlyphs(const skin::Skin &skin)
{
    const ButtonRenderer with(skin);
    const ButtonRenderer without(blanked(skin));
    QList<LegibilityProbe> result;
    for (const model::StateRow &row : model::states::glyphs())
        result << worstOf(measuredEach(skin, with, without, probeOf(row)));
    return result;
}

QList<LegibilityProbe> measureSkin(const skin::Skin &skin)
{
    return measureGlyphs(skin) << worstFocusProbe(skin);
}

QList<LegibilityProbe> captionProbes(const skin::Skin &skin, SampleState state)
{
    // The focused caption is measured too: the accent may have made it unreadable.
    const Probe probe = probeOf(model::states::row(model::OutputGroup::ButtonStates, state));
    return measuredEach(skin, ButtonRenderer(skin), ButtonRenderer(blanked(skin)), probe);
}

LegibilityProbe captionProbe(const skin::Skin &skin, SampleState state)
{
    return worstOf(captionProbes(skin, state));
}

} // namespace quillet::render::legibility
