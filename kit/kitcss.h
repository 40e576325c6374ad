#pragma once

#include "kit/model.h"

#include <QByteArray>
#include <QMap>
#include <QString>

namespace quillet::kit::kitcss {

// With Layout::Inline, each piece's bytes by its file name.
using Inlined = QMap<QString, QByteArray>;

// kit.css: the shared rules, each scheme's tokens and state rules, the forced-colours rules.
QString text(const Model &model, const Inlined &inlined = {});

} // namespace quillet::kit::kitcss
