#include "model/statetable.h"

#include <algorithm>

namespace quillet::model::states {

namespace {

QList<StateRow> ordered(OutputGroup group, int StateRow::*place, bool asked)
{
    QList<StateRow> rows;
    for (const StateRow &row : kStateTable) {
        if (row.group == group && row.*place >= 0 && (asked || !row.asked))
            rows.append(row);
    }
    std::sort(rows.begin(), rows.end(),
        [place](const StateRow &a, const StateRow &b) { return a.*place < b.*place; });
    return rows;
}

} // namespace

SampleControl control(OutputGroup group)
{
    switch (group) {
    case OutputGroup::ComboButton:
        return SampleControl::DropButton;
    case OutputGroup::CheckBox:
        return SampleControl::CheckBox;
    case OutputGroup::ButtonStates:
    case OutputGroup::WholeWindow:
        break;
    }
    return SampleControl::PushButton;
}

skin::Element element(OutputGroup group)
{
    switch (group) {
    case OutputGroup::ComboButton:
        return skin::Element::ComboButton;
    case OutputGroup::CheckBox:
        return skin::Element::Check;
    case OutputGroup::ButtonStates:
    case OutputGroup::WholeWindow:
        break;
    }
    return skin::Element::Button;
}

QList<StateRow> rows(OutputGroup group)
{
    QList<StateRow> rows;
    for (const StateRow &row : kStateTable) {
        if (row.group == group)
            rows.append(row);
    }
    return rows;
}

QList<StateRow> designerFiles(OutputGroup group, bool asked)
{
    return ordered(group, &StateRow::designerIndex, asked);
}

QList<StateRow> spriteBands(bool focus)
{
    return ordered(OutputGroup::ButtonStates, &StateRow::band, focus);
}

QList<StateRow> kitRules(OutputGroup group)
{
    return ordered(group, &StateRow::cascade, true);
}

QList<StateRow> glyphs()
{
    QList<StateRow> rows;
    for (const StateRow &row : kStateTable) {
        if (row.glyph)
            rows.append(row);
    }
    return rows;
}

const StateRow &row(OutputGroup group, SampleState state)
{
    const StateRow *plain = nullptr;
    for (const StateRow &row : kStateTable) {
        if (row.group == group && row.state == state)
            return row;
        if (row.group == group && row.state == SampleState::Normal)
            plain = &row;
    }
    return plain ? *plain : kStateTable[0];
}

} // namespace quillet::model::states
