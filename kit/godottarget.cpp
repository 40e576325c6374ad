#include "kit/godottarget.h"

#include "kit/godottheme.h"
#include "kit/plannedpictures.h"
#include "pictures/webnames.h"

using namespace Qt::StringLiterals;

namespace quillet::kit {

namespace {

using godottheme::Version;
using model::SampleState;

// Godot's check box has an icon for these alone; hover and press change only the caption.
constexpr SampleState kIconStates[]
    = { SampleState::Normal, SampleState::Checked, SampleState::Disabled, SampleState::CheckedDisabled };

constexpr Version kVersions[] = { Version::Godot3, Version::Godot4 };

struct Picture
{
    QString name;
    QImage image;
};

const KitPieces &piecesOf(const KitSheetSkin &drawn, SampleState state)
{
    return drawn.pieces[size_t(states::row(model::OutputGroup::ButtonStates, state).cascade)];
}

GodotThemeInput inputOf(const Model &model)
{
    const Scheme &light = model.light();
    GodotThemeInput input;
    input.skinName = light.skin.name;
    input.height = model.height();
    input.slice = light.skin.slice;
    if (!input.slice.exact)
        input.inexactNote = kitskin::inexactNote(light.skin);
    for (const StateRow &row : model.buttonStates()) {
        const KitSkin::Caption &caption = light.skin.captions[row.cascade];
        input.buttons.append({ row.state, godottheme::pictureName(u"button", row.word, 1),
            row.state == SampleState::Focused ? godottheme::pictureName(u"button", u"focus-over-hover", 1)
                                              : QString(),
            caption.colour, godottheme::contentMargins(input.slice, caption.box, caption.shift) });
    }
    for (SampleState state : kIconStates)
        input.checks.append({ state,
            godottheme::pictureName(u"check", states::row(model::OutputGroup::CheckBox, state).word, 1) });
    const skin::Skin &skin = model.request().light.skin;
    input.checkCaption = skin.look(skin::Element::Check, skin::State::Normal).text;
    input.checkCaptionDisabled = skin.look(skin::Element::Check, skin::State::Disabled).text;
    return input;
}

// Every picture at every ratio. The focus picture holds only what the focus changes, as
// Godot draws it over the state's own: over the normal one in Godot 4, over the hover one in
// Godot 3, which shows a button with the focus as hovered.
QList<Picture> picturesOf(const Model &model, const GodotThemeInput &input)
{
    QList<Picture> result;
    for (qsizetype r = 0; r < model.ratios().size(); ++r) {
        const qreal ratio = model.ratios()[r];
        const KitSheetSkin &drawn = model.light().byRatio[r];
        for (const GodotButtonStyle &style : input.buttons) {
            const QImage picture = godottheme::joined(piecesOf(drawn, style.state));
            if (style.state != SampleState::Focused) {
                result.append({ pictures::WebNames::scaled(style.picture, ratio), picture });
                continue;
            }
            result.append({ pictures::WebNames::scaled(style.picture, ratio),
                godottheme::overlay(picture, godottheme::joined(piecesOf(drawn, SampleState::Normal))) });
            result.append({ pictures::WebNames::scaled(style.godot3Picture, ratio),
                godottheme::overlay(picture, godottheme::joined(piecesOf(drawn, SampleState::Hot))) });
        }
        for (const GodotIcon &icon : input.checks) {
            const int cascade = states::row(model::OutputGroup::CheckBox, icon.state).cascade;
            result.append({ pictures::WebNames::scaled(icon.picture, ratio), drawn.checks[size_t(cascade)] });
        }
    }
    return result;
}

} // namespace

QStringView GodotTarget::name() const
{
    return u"godot";
}

QStringView GodotTarget::summary() const
{
    return u"Godot 3 and Godot 4 themes (.tres) for Button and CheckBox, pictures in kit/ at 1x and 2x";
}

bool GodotTarget::honours(Feature) const
{
    // One skin, PNG pictures named in the theme, no classes, and the densities it settles.
    return false;
}

void GodotTarget::fit(Request &request) const
{
    request.ratios = { 1, 2 };
    // Godot draws a focus style of its own unless the theme gives one.
    request.focus = true;
}

QList<pictures::PlannedFile> GodotTarget::files(const Model &model, Problem *problem) const
{
    const GodotThemeInput input = inputOf(model);
    QList<pictures::PlannedFile> planned;
    const QByteArray import = godottheme::importSettings().toUtf8();
    for (const Picture &picture : picturesOf(model, input)) {
        if (!plannedpictures::add(planned, picture.name, picture.image)) {
            if (problem)
                *problem = plannedpictures::undrawn(picture.name);
            return {};
        }
        planned.append(pictures::PlannedFile::ofBytes(picture.name + u".import"_s, import));
    }
    planned.append(
        pictures::PlannedFile::ofBytes(u"README.md"_s, godottheme::readme(input, model.ratios()).toUtf8()));
    for (qreal ratio : model.ratios()) {
        for (Version version : kVersions)
            planned.append(pictures::PlannedFile::ofBytes(
                godottheme::themeName(version, ratio), godottheme::theme(input, version, ratio).toUtf8()));
    }
    return planned;
}

} // namespace quillet::kit
