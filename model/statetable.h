#pragma once

#include "model/outputgroup.h"
#include "model/samplestate.h"
#include "skin/skin.h"

#include <QList>
#include <QStringView>

#include <algorithm>
#include <array>

namespace quillet::model {

// One state of one control and every name the outputs give it. Each list of states (the
// designer's file suffixes, the sprite's bands, the style sheets' selectors, the kit's piece
// names, the skin look a caption takes, the glyphs the legibility check measures) is read
// from kStateTable, so none can disagree.
struct StateRow
{
    OutputGroup group;
    SampleState state;
    skin::State look; // whose caption colour and shift the state shows
    QStringView suffix; // of the designer's file names; empty where the designer has none
    QStringView word; // of the kit's piece names
    QStringView pseudoClass; // of the style sheets; empty for the plain state
    QStringView forcingClass; // the kit's classes that show the state without the pointer
    // Place among the group's files: the designer window's own first, then those written
    // only when asked for; -1 none.
    int designerIndex;
    bool asked; // written only when asked for: the push button's focus, the check box's further states
    int band; // place in the sprite sheet, -1 none
    int cascade; // place among the kit's rules, where later rules win; -1 not in the kit
    // The picture shows a caption, drop arrow or check mark whose contrast is measured; the
    // focused button is measured by its indicator instead.
    bool glyph;
};

// Rows of a group in the order the legibility check and the accent's caption fixes walk them.
inline constexpr StateRow kStateTable[] = {
    // clang-format off
    { OutputGroup::ButtonStates, SampleState::Normal, skin::State::Normal, u"_正常", u"normal", u"", u"", 0, false, 0, 0, true },
    { OutputGroup::ButtonStates, SampleState::Hot, skin::State::Hot, u"_点燃", u"hover", u":hover", u"is-hover", 2, false, 1, 1, true },
    { OutputGroup::ButtonStates, SampleState::Pressed, skin::State::Pressed, u"_按下", u"active", u":active", u"is-active", 1, false, 2, 3, true },
    { OutputGroup::ButtonStates, SampleState::Disabled, skin::State::Disabled, u"_禁止", u"disabled", u":disabled", u"is-disabled", 3, false, 3, 4, true },
    { OutputGroup::ButtonStates, SampleState::Focused, skin::State::Focused, u"_焦点", u"focus", u":focus-visible", u"is-focus", 4, true, 4, 2, false },
    { OutputGroup::ComboButton, SampleState::Normal, skin::State::Normal, u"_正常", u"", u"", u"", 0, false, -1, -1, true },
    // The designer photographs no hot drop button, but a page shows one.
    { OutputGroup::ComboButton, SampleState::Hot, skin::State::Hot, u"", u"", u"", u"", -1, false, -1, -1, true },
    { OutputGroup::ComboButton, SampleState::Pressed, skin::State::Pressed, u"_按下", u"", u"", u"", 1, false, -1, -1, true },
    { OutputGroup::ComboButton, SampleState::Disabled, skin::State::Disabled, u"_禁止", u"", u"", u"", 2, false, -1, -1, true },
    // A checked box that is hot, pressed or disabled matches both pseudo-classes; the pair
    // outweighs either alone, and the disabled pair comes last.
    { OutputGroup::CheckBox, SampleState::Normal, skin::State::Normal, u"_正常", u"off", u"", u"", 0, false, -1, 0, false },
    { OutputGroup::CheckBox, SampleState::Hot, skin::State::Hot, u"_点燃", u"hover", u":hover", u"is-hover", 3, true, -1, 1, false },
    { OutputGroup::CheckBox, SampleState::Pressed, skin::State::Pressed, u"_按下", u"active", u":active", u"is-active", 4, true, -1, 2, false },
    { OutputGroup::CheckBox, SampleState::Checked, skin::State::Checked, u"_选中", u"on", u":checked", u"is-checked", 1, false, -1, 3, true },
    { OutputGroup::CheckBox, SampleState::CheckedHot, skin::State::CheckedHot, u"_选中点燃", u"on-hover", u":checked:hover", u"is-checked.is-hover", 5, true, -1, 4, true },
    { OutputGroup::CheckBox, SampleState::CheckedPressed, skin::State::CheckedPressed, u"_选中按下", u"on-active", u":checked:active", u"is-checked.is-active", 6, true, -1, 5, true },
    { OutputGroup::CheckBox, SampleState::Disabled, skin::State::Disabled, u"_禁止", u"disabled", u":disabled", u"is-disabled", 2, false, -1, 6, false },
    { OutputGroup::CheckBox, SampleState::CheckedDisabled, skin::State::CheckedDisabled, u"_选中禁止", u"on-disabled", u":checked:disabled", u"is-checked.is-disabled", 7, true, -1, 7, true },
    // clang-format on
};

namespace states {

constexpr int kitStateCount(OutputGroup group)
{
    int count = 0;
    for (const StateRow &row : kStateTable)
        count += row.group == group && row.cascade >= 0;
    return count;
}

// A kit's states of the push button or the check box, in the order of its rules; a row's
// cascade is its place here.
template<OutputGroup Group> constexpr std::array<StateRow, kitStateCount(Group)> kitOrder()
{
    std::array<StateRow, kitStateCount(Group)> rows {};
    size_t next = 0;
    for (const StateRow &row : kStateTable) {
        if (row.group == Group && row.cascade >= 0)
            rows[next++] = row;
    }
    std::sort(
        rows.begin(), rows.end(), [](const StateRow &a, const StateRow &b) { return a.cascade < b.cascade; });
    return rows;
}

// The control that draws a group's pictures, and the skin element that paints it.
SampleControl control(OutputGroup group);
skin::Element element(OutputGroup group);

// Every row of a group in table order.
QList<StateRow> rows(OutputGroup group);
// The group's files in their order; those written only when asked for after the
// designer window's own, when asked for.
QList<StateRow> designerFiles(OutputGroup group, bool asked);
// The push button's sprite bands from the top; the focus band only when asked for.
QList<StateRow> spriteBands(bool focus);
// kitOrder() as a list.
QList<StateRow> kitRules(OutputGroup group);
// The rows whose glyph the legibility check measures, in table order.
QList<StateRow> glyphs();
// The row of a state of a group; the group's plain state where it has no such state.
const StateRow &row(OutputGroup group, SampleState state);

} // namespace states

} // namespace quillet::model
