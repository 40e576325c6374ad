#pragma once

#include "kit/target.h"

#include <QImage>
#include <QList>
#include <QString>

// The pictures of a kit as files for the writer: encoded losslessly once drawn, since a
// kit's piece must give back the renderer's pixels.
namespace quillet::kit::plannedpictures {

// Appends the picture under its name; false, with nothing appended, when it could not be
// drawn (a null image) or encoded.
bool add(QList<pictures::PlannedFile> &files, const QString &name, const QImage &picture);

// Why there is no kit when that picture could not be made.
Problem undrawn(const QString &name);

} // namespace quillet::kit::plannedpictures
