#pragma once

#include "model/statetable.h"
#include "skin/skin.h"

#include <QFont>
#include <QList>
#include <QString>

#include <optional>

namespace quillet::kit {

// A skin a kit is made from, and the name the kit shows for it.
struct Source
{
    skin::Skin skin;
    QString name;
};

// How a web kit's pictures reach the browser: one sheet per density and format, one file
// per piece, or every piece inside kit.css.
enum class Layout { Sheet, Pieces, Inline };

// What is asked of a kit, before anything is drawn: options only.
struct Request
{
    QString target = QStringLiteral("web");
    // Class prefix; empty takes kDefaultPrefix.
    QString prefix;
    int height = 24;
    // The caption's font: its family leads the font stack, its point size is the caption's.
    QFont font;
    QList<qreal> ratios { 1 };
    bool webp = false;
    bool focus = false;
    Layout layout = Layout::Sheet;
    Source light;
    std::optional<Source> dark;
};

inline constexpr QStringView kDefaultPrefix = u"qk";

// What a request asks for beyond a kit of one skin at the sizes given; a target says which
// of these it honours.
// Scale: densities other than 1x alone; FractionalScale: a density that is no whole number
// (1.5x), whose pieces only a target that places them by CSS pixels can use.
enum class Feature { DarkSkin, Webp, Pieces, Inline, Prefix, Scale, FractionalScale };

namespace requests {

// The features the request asks for, in the order of Feature.
QList<Feature> features(const Request &request);
// Whether the kit draws a push button state: focus only when asked for.
bool draws(const Request &request, const model::StateRow &row);
// True for a prefix that makes every class a CSS identifier: a letter, then letters,
// digits, "-" and "_".
bool isValidPrefix(const QString &prefix);

} // namespace requests

} // namespace quillet::kit
