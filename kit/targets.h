#pragma once

#include "kit/target.h"

#include <QList>
#include <QStringView>

#include <span>

namespace quillet::kit {

// Every target there is, the default first; the usage text, the parser, the manual page and
// the completion read this one list.
std::span<const Target *const> targets();

namespace targetlist {

// The target called so, or none.
const Target *find(QStringView name);
// What the request asks for that the target cannot give, in the order of Feature.
QList<Feature> unmet(const Target &target, const Request &request);

} // namespace targetlist

} // namespace quillet::kit
