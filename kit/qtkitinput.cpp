#include "kit/qtkitinput.h"

#include "pictures/kitcss.h"
#include "pictures/kitpieces.h"
#include "pictures/statetable.h"
#include "render/buttonrenderer.h"

namespace quillet::kit::qtkitinput {

namespace {

using pictures::kitpieces::kButtonRows;
using pictures::kitpieces::kCheckRows;
using render::SampleState;

// The default button is Qt's alone among the kits: it has no row of the state table.
constexpr QStringView kDefaultWord = u"default";
// The drop button's states; its files take the push button's words for them.
constexpr SampleState kDropStates[] = { SampleState::Normal, SampleState::Pressed, SampleState::Disabled };

QtButtonState button(const skin::Skin &skin, const pictures::KitDrawing &drawing, const QtSheetInput &input,
    SampleState sampleState, skin::State lookState, QStringView word)
{
    const skin::Look &look = skin.look(skin::Element::Button, lookState);
    QtButtonState state { sampleState, word.toString(), look.text.isValid() ? look.text : QColor(Qt::black),
        look.textShift, look.margin + look.padding, {} };
    for (qreal ratio : input.ratios)
        state.pieces.append(pictures::kitpieces::cut(
            pictures::kitpieces::blankButton(drawing, sampleState, pictures::kitpieces::kSliceWidth, ratio),
            input.slice));
    return state;
}

} // namespace

QtSheetInput draw(const skin::Skin &skin, const QtKitRequest &request)
{
    const render::ButtonRenderer renderer(skin);
    QtSheetInput input;
    input.skinName = request.skinName;
    input.prefix = request.prefix;
    input.ratios = request.ratios;
    input.height = request.height;
    input.fontFamily = request.font.family();
    input.pointSize = request.font.pointSizeF();
    // Qt's focus frame gives way to the skin's, so the focused pieces are always drawn.
    pictures::KitDrawing drawing { &renderer, request.height, request.font, {} };
    for (const pictures::StateRow &row : kButtonRows)
        drawing.states.append(row.state);
    drawing.states.append(SampleState::Default);
    input.slice = pictures::kitpieces::slice(drawing, request.ratios);
    pictures::KitSkin described { request.skinName, input.slice, {}, {}, 0, {} };
    if (!input.slice.exact)
        input.inexactNote = pictures::kitcss::inexactNote(described);
    for (const pictures::StateRow &row : kButtonRows)
        input.buttons.append(button(skin, drawing, input, row.state, row.look, row.word));
    input.buttons.append(button(skin, drawing, input, SampleState::Default, skin::State::Default, kDefaultWord));
    for (const pictures::StateRow &row : kCheckRows) {
        QtPictureState check { row.state, row.word.toString(), {} };
        for (qreal ratio : request.ratios)
            check.pictures.append(pictures::kitpieces::checkBox(renderer, row.state, ratio));
        input.checks.append(check);
    }
    for (SampleState state : kDropStates) {
        QtPictureState drop { state, pictures::states::row(model::OutputGroup::ButtonStates, state).word.toString(),
            {} };
        for (qreal ratio : request.ratios)
            drop.pictures.append(pictures::kitpieces::dropButton(renderer, state, ratio));
        input.drops.append(drop);
    }
    input.dropSize = QSize(model::Metrics::kDropWidth, model::Metrics::kDropHeight);
    input.field = skin.look(skin::Element::ComboField, skin::State::Normal);
    input.fieldDisabled = skin.look(skin::Element::ComboField, skin::State::Disabled);
    input.list = skin.look(skin::Element::List, skin::State::Normal);
    input.selection = skin.look(skin::Element::ListSelection, skin::State::Normal);
    input.checkCaption = skin.look(skin::Element::Check, skin::State::Normal).text;
    input.checkCaptionDisabled = skin.look(skin::Element::Check, skin::State::Disabled).text;
    return input;
}

} // namespace quillet::kit::qtkitinput
