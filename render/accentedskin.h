#pragma once

// The one way a skin is put into an accent colour, for the command line and the designer.
#include "skin/skin.h"

#include <QColor>
#include <QStringList>

namespace quillet::render::accent {

// The skin recoloured (skin::accent::recoloured), then measured on pixels: a push button
// caption that no longer reads on its new face (kEnabledLegibility, kDisabledLegibility
// when disabled) takes the skin's own caption colour if it reads, else black or white,
// whichever reads better by the same measure;
// a check mark or focus indicator that no longer holds keeps the skin's own colours. Each
// change appends one line to *notes (may be null). An invalid accent gives the skin as it is.
// Needs a QApplication (offscreen will do) with the program's font substitutions.
skin::Skin accented(const skin::Skin &skin, const QColor &accent, QStringList *notes);

} // namespace quillet::render::accent
