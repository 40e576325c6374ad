#pragma once

#include "pictures/kitcss.h"
#include "pictures/picturewriter.h"
#include "skin/skin.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace quillet::pictures {

// A skin a kit is made from, and the name the kit shows for it.
struct KitSource
{
    skin::Skin skin;
    QString name;
};

// Why there is no kit.
struct KitProblem
{
    QString message; // one line
    // The options ask for a kit that cannot be made (the command line exits 2); otherwise a
    // picture could not be drawn or encoded.
    bool input = false;
};

// A whole kit made from skins, for the command line and the designer alike.
namespace kitbuild {

// An in-line kit is one style sheet; past this size it loads slower than the files it
// saves, and one data: URI could pass the longest URL Chromium takes (2 MiB).
inline constexpr qsizetype kInlineLimit = 2 * 1024 * 1024;

// Every file of the kit, drawn and encoded, ready for the picture writer: the pictures
// (style.layout says how they are laid out), then kit.css and kit.html, so that a failed write never leaves a
// style sheet naming pictures that are not there. Fills style.light and style.dark. notes gets one line per
// skin whose pieces differ from the renderer. When there is no kit the list is empty and
// problem says why.
QList<PlannedFile> files(const KitSource &light, const std::optional<KitSource> &dark, KitStyle &style,
    const QFont &font, QStringList *notes, KitProblem *problem);

} // namespace kitbuild

} // namespace quillet::pictures
