#pragma once

#include "skin/look.h"

#include <QStringList>
#include <QStringView>

#include <span>
#include <variant>

namespace quillet::skin {

// How a key's value is written; the parser reads every key through its kind.
enum class ValueKind {
    Text, // anything, e.g. the display name
    Colour,
    OpaqueColour,
    Fill,
    Direction, // vertical | horizontal
    Integer,
    Radius, // an integer or "pill"
    BevelStyle,
    Real,
    Point, // X,Y
    Margins, // N or LEFT,TOP,RIGHT,BOTTOM
    Picture, // a plain file name in the skin's folder, or "none"
};

// Where a look key lands in a Look; std::monostate for the [skin] keys.
using LookField = std::variant<std::monostate, QColor Look::*, int Look::*, qreal Look::*, QPoint Look::*,
    QMargins Look::*, QList<GradientStop> Look::*, bool Look::*, Bevel Look::*, QString Look::*>;

struct KeySpec
{
    const char *name;
    ValueKind kind;
    int low = 0;
    int high = 0;
    LookField field;
};

// The one table of what a skin file may say: the parser reads with it and the checker
// reports against it.
std::span<const KeySpec> generalKeys(); // the [skin] section
std::span<const KeySpec> lookKeys(); // [ELEMENT] and [ELEMENT.STATE]
const KeySpec *findKey(std::span<const KeySpec> keys, QStringView name);
// "skin", every element and every element.state, in lower case.
QStringList knownSections();
// The candidate closest to word by edit distance, or an empty string when none is close
// enough to be a likely typo.
QString nearestName(QStringView word, const QStringList &candidates);
QStringList keyNames(std::span<const KeySpec> keys);

} // namespace quillet::skin
