#pragma once

#include "model/outputgroup.h"
#include "render/buttonrenderer.h"
#include "skin/skin.h"

#include <QList>
#include <QStringView>

#include <algorithm>
#include <array>

namespace quillet::pictures {

// One state of one control and every name the outputs give it. Each list of states (the
// designer's file suffixes, the sprite's bands, the style sheets' selectors, the kit's piece
// names, the skin look a caption takes) is read from kStateTable, so none can disagree.
struct StateRow
{
    model::OutputGroup group;
    render::SampleState state;
    skin::State look; // whose caption colour and shift the state shows
    QStringView suffix; // of the designer's file names; empty where the designer has none
    QStringView word; // of the kit's piece names
    QStringView pseudoClass; // of the style sheets; empty for the plain state
    QStringView forcingClass; // the kit's class that shows the state without the pointer
    int designerIndex; // place among the group's designer files, the focus after the four; -1 none
    int band; // place in the sprite sheet, -1 none
    int cascade; // place among the kit's rules, where later rules win; -1 not in the kit
};

using model::OutputGroup;
using render::SampleState;

inline constexpr StateRow kStateTable[] = {
    // clang-format off
    { OutputGroup::ButtonStates, SampleState::Normal, skin::State::Normal, u"_正常", u"normal", u"", u"", 0, 0, 0 },
    { OutputGroup::ButtonStates, SampleState::Pressed, skin::State::Pressed, u"_按下", u"active", u":active", u"is-active", 1, 2, 3 },
    { OutputGroup::ButtonStates, SampleState::Hot, skin::State::Hot, u"_点燃", u"hover", u":hover", u"is-hover", 2, 1, 1 },
    { OutputGroup::ButtonStates, SampleState::Disabled, skin::State::Disabled, u"_禁止", u"disabled", u":disabled", u"is-disabled", 3, 3, 4 },
    { OutputGroup::ButtonStates, SampleState::Focused, skin::State::Focused, u"_焦点", u"focus", u":focus-visible", u"is-focus", 4, 4, 2 },
    { OutputGroup::ComboButton, SampleState::Normal, skin::State::Normal, u"_正常", u"", u"", u"", 0, -1, -1 },
    { OutputGroup::ComboButton, SampleState::Pressed, skin::State::Pressed, u"_按下", u"", u"", u"", 1, -1, -1 },
    { OutputGroup::ComboButton, SampleState::Disabled, skin::State::Disabled, u"_禁止", u"", u"", u"", 2, -1, -1 },
    { OutputGroup::CheckBox, SampleState::Normal, skin::State::Normal, u"_正常", u"off", u"", u"", 0, -1, 0 },
    { OutputGroup::CheckBox, SampleState::Hot, skin::State::Hot, u"", u"hover", u":hover", u"is-hover", -1, -1, 1 },
    { OutputGroup::CheckBox, SampleState::Checked, skin::State::Checked, u"_选中", u"on", u":checked", u"is-checked", 1, -1, 2 },
    { OutputGroup::CheckBox, SampleState::Disabled, skin::State::Disabled, u"_禁止", u"disabled", u":disabled", u"is-disabled", 2, -1, 3 },
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

// A kit's states of the push button or the check box, in the order of its rules.
template<OutputGroup Group> constexpr std::array<StateRow, kitStateCount(Group)> kitOrder()
{
    std::array<StateRow, kitStateCount(Group)> rows {};
    size_t next = 0;
    for (const StateRow &row : kStateTable) {
        if (row.group == Group && row.cascade >= 0)
            rows[next++] = row;
    }
    std::sort(rows.begin(), rows.end(), [](const StateRow &a, const StateRow &b) { return a.cascade < b.cascade; });
    return rows;
}

// The group's designer files in their order; the focus row only when asked for.
QList<StateRow> designerFiles(OutputGroup group, bool focus);
// The push button's sprite bands from the top; the focus band only when asked for.
QList<StateRow> spriteBands(bool focus);
// kitOrder() as a list.
QList<StateRow> kitRules(OutputGroup group);
// The row of a state of a group; the group's plain state where it has no such state.
const StateRow &row(OutputGroup group, SampleState state);

} // namespace states

} // namespace quillet::pictures
