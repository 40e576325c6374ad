#pragma once

#include <QByteArray>

namespace quillet::file {

// The one name a file is prepared under before it replaces "NAME": ".NAME.quillet-new",
// hidden, and the same on every write, so a write killed half way leaves a name the
// next write of NAME recognises and removes. Names too long to take the additions keep
// their start and add a digest of the whole name instead. File-system bytes in and out.
QByteArray temporaryName(const QByteArray &fileName);

} // namespace quillet::file
