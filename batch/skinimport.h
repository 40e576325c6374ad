#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

namespace quillet::batch::skinimport {

// "quillet skin import": a picture skin for the push button from nine-patch files, one
// per state. Every file is read and checked before anything is written; an existing skin
// is replaced only when asked to. Returns the command's exit code.
int run(const QStringList &arguments, const QString &programFolder, QTextStream &out, QTextStream &err);

} // namespace quillet::batch::skinimport
