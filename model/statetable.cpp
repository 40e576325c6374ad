#include "pictures/statetable.h"

#include <algorithm>

namespace quillet::pictures::states {

namespace {

QList<StateRow> ordered(OutputGroup group, int StateRow::*place, bool asked)
{
    QList<StateRow> rows;
    for (const StateRow &row : kStateTable) {
        if (row.group == group && row.*place >= 0 && (asked || !row.asked))
            rows.append(row);
    }
    std::sort(rows.begin(), rows.end(), [place](const StateRow &a, const StateRow &b) { return a.*place < b.*place; });
    return rows;
}

} // namespace

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

} // namespace quillet::pictures::states
