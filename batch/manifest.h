#pragma once

#include "batch/renderentry.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace quillet::batch {

// A JSON array of objects whose keys are the render options (without the leading dashes,
// as RenderOptions::table() lists them): a list option takes a string, a number or an
// array, a repeated one a string or an array of strings, a flag true or false. Keys not
// given take the defaults.
class Manifest
{
public:
    // The entries, or an empty list and a message naming the entry and key at fault.
    // Relative paths in it (icons) are taken relative to folder, the manifest's own.
    static QList<RenderEntry> read(
        const QByteArray &json, const RenderEntry &defaults, QString *error, const QString &folder = {});
};

} // namespace quillet::batch
