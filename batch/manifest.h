#pragma once

#include "batch/renderentry.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace quillet::batch {

// A JSON array of objects with the render options' keys (without the leading dashes):
// "skin", "text" (a string or an array of strings), "width", "height", "font",
// "border-removal", "controls" (a string or an array), "format", "scale" (1, 2, "1,2" or
// an array), "transparent", "sprite". Keys not given take the defaults.
class Manifest
{
public:
    // The entries, or an empty list and a message naming the entry and key at fault.
    static QList<RenderEntry> read(const QByteArray &json, const RenderEntry &defaults, QString *error);
};

} // namespace quillet::batch
