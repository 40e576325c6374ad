#include "kit/qttarget.h"

#include "kit/plannedpictures.h"
#include "kit/qtstylesheet.h"
#include "render/buttonrenderer.h"

namespace quillet::kit {

namespace {

using model::SampleState;

// The default button is Qt's alone among the kits: it has no row of the state table.
constexpr QStringView kDefaultWord = u"default";
// The drop button's states; its files take the push button's words for them.
constexpr SampleState kDropStates[] = { SampleState::Normal, SampleState::Pressed, SampleState::Disabled };

QtButtonState fromModel(const Model &model, const StateRow &row)
{
    const KitSkin::Caption &caption = model.light().skin.captions[row.cascade];
    QtButtonState state { row.state, row.word.toString(), caption.colour, caption.shift, caption.box, {} };
    for (const KitSheetSkin &drawn : model.light().byRatio)
        state.pieces.append(drawn.pieces[size_t(row.cascade)]);
    return state;
}

// What the model has no row for is drawn here with the model's own slice.
QtButtonState defaultButton(const Model &model, const render::ButtonRenderer &renderer)
{
    const skin::Look &look = model.request().light.skin.look(skin::Element::Button, skin::State::Default);
    QtButtonState state { SampleState::Default, kDefaultWord.toString(),
        look.text.isValid() ? look.text : QColor(Qt::black), look.textShift, look.margin + look.padding, {} };
    const KitDrawing drawing { &renderer, model.height(), model.font(), {} };
    for (qreal ratio : model.ratios())
        state.pieces.append(kitpieces::cut(
            kitpieces::blankButton(drawing, SampleState::Default, kitpieces::kSliceWidth, ratio),
            model.light().skin.slice));
    return state;
}

void addLooks(const skin::Skin &skin, QtSheetInput &input)
{
    input.field = skin.look(skin::Element::ComboField, skin::State::Normal);
    input.fieldDisabled = skin.look(skin::Element::ComboField, skin::State::Disabled);
    input.list = skin.look(skin::Element::List, skin::State::Normal);
    input.selection = skin.look(skin::Element::ListSelection, skin::State::Normal);
    input.checkCaption = skin.look(skin::Element::Check, skin::State::Normal).text;
    input.checkCaptionDisabled = skin.look(skin::Element::Check, skin::State::Disabled).text;
}

QtSheetInput inputOf(const Model &model)
{
    const Scheme &light = model.light();
    const render::ButtonRenderer renderer(model.request().light.skin);
    QtSheetInput input;
    input.skinName = light.skin.name;
    input.ratios = model.ratios();
    input.height = model.height();
    input.fontFamily = model.font().family();
    input.pointSize = model.font().pointSizeF();
    input.slice = light.skin.slice;
    input.focusOutline = light.skin.focus.isValid() ? light.skin.focus : light.skin.captions.value(0).colour;
    if (!input.slice.exact)
        input.inexactNote = kitskin::inexactNote(light.skin);
    for (const StateRow &row : model.buttonStates())
        input.buttons.append(fromModel(model, row));
    input.buttons.append(defaultButton(model, renderer));
    for (const StateRow &row : kitpieces::kCheckRows) {
        QtPictureState check { row.state, row.word.toString(), {} };
        for (const KitSheetSkin &drawn : light.byRatio)
            check.pictures.append(drawn.checks[size_t(row.cascade)]);
        input.checks.append(check);
    }
    for (SampleState state : kDropStates) {
        QtPictureState drop { state, states::row(model::OutputGroup::ButtonStates, state).word.toString(),
            {} };
        for (qreal ratio : model.ratios())
            drop.pictures.append(kitpieces::dropButton(renderer, state, ratio));
        input.drops.append(drop);
    }
    input.dropSize = QSize(model::Metrics::kDropWidth, model::Metrics::kDropHeight);
    addLooks(model.request().light.skin, input);
    return input;
}

} // namespace

QStringView QtTarget::name() const
{
    return u"qt";
}

QStringView QtTarget::summary() const
{
    return u"kit.qss and kit.qrc for Qt's push buttons, check boxes and combo boxes, pictures in kit/";
}

bool QtTarget::honours(Feature feature) const
{
    // One skin, PNG pictures named in the kit's resource, no classes to prefix; Qt takes
    // @2x and @3x pictures, no @1.5x.
    return feature == Feature::Scale;
}

QList<pictures::PlannedFile> QtTarget::files(const Model &model, Problem *problem) const
{
    QString undrawn;
    QList<pictures::PlannedFile> planned = qtstylesheet::files(inputOf(model), &undrawn);
    if (planned.isEmpty() && problem)
        *problem = plannedpictures::undrawn(undrawn);
    return planned;
}

} // namespace quillet::kit
