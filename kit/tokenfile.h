#pragma once

#include "kit/model.h"

#include <QByteArray>

namespace quillet::kit::tokenfile {

// kit.tokens.json: the values of kit.css as design tokens, a group per scheme.
QByteArray json(const Model &model);

} // namespace quillet::kit::tokenfile
