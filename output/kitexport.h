#pragma once

#include "pictures/picturewriter.h"

#include <QFont>
#include <QList>
#include <QString>

namespace quillet::model {
struct AppState;
}

namespace quillet::output::kitexport {

// The kit of what the window shows for one target: its skin in its accent, the sample
// button's height and font, every other option as `quillet kit --target TARGET` has it by
// default; the same files, byte for byte, as that command writes with those options. Empty,
// with *problem set, when there is no skin to make it from.
QList<pictures::PlannedFile> plan(
    const model::AppState &state, const QFont &font, const QString &target, QString *problem);

} // namespace quillet::output::kitexport
