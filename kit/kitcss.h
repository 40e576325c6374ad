#pragma once

#include "pictures/kitpieces.h"
#include "pictures/kitsheet.h"
#include "pictures/pictureformat.h"

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QMap>
#include <QMargins>
#include <QPoint>
#include <QString>

#include <optional>

namespace quillet::pictures {

// What one skin gives a kit: the slice, and per push button state the caption's colour,
// shift and box.
struct KitSkin
{
    QString name;
    KitSlice slice;
    QColor page; // the skin's base colour, behind the demo
    QColor focus; // invalid where the skin has none
    int radius = 0; // 0 for a picture face or square corners
    struct Caption
    {
        QColor colour;
        QPoint shift;
        QMargins box; // margin plus padding of the state's look
    };
    // In the order of kitpieces::kStates.
    QList<Caption> captions;
};

// How a kit's pictures reach the browser: one sheet per density and format, one file per
// piece, or every piece inside kit.css.
enum class KitLayout { Sheet, Pieces, Inline };

struct KitStyle
{
    QString prefix = QStringLiteral("qk");
    int height = 24;
    QString fontFamily;
    qreal pointSize = 9;
    QList<qreal> ratios { 1 };
    bool webp = false;
    bool focus = false;
    KitSkin light;
    std::optional<KitSkin> dark;
    KitLayout layout = KitLayout::Sheet;
    KitSheet sheet; // with KitLayout::Sheet
    QMap<QString, QByteArray> inlined; // with KitLayout::Inline: each piece's bytes by its name
};

namespace kitcss {

// The folder the pieces lie in, beside kit.css.
inline constexpr QStringView kFolder = u"kit";
// State words of the file names, in the order of kitpieces::kStates and kCheckStates.
template<size_t Count>
constexpr std::array<QStringView, Count> wordsOf(const std::array<StateRow, Count> &rows)
{
    std::array<QStringView, Count> result {};
    for (size_t i = 0; i < Count; ++i)
        result[i] = rows[i].word;
    return result;
}
inline constexpr auto kStateWords = wordsOf(kitpieces::kButtonRows);
inline constexpr auto kCheckWords = wordsOf(kitpieces::kCheckRows);
inline constexpr QStringView kParts[] = { u"left", u"middle", u"right" };

// "kit/button-normal-left.png", "kit/dark-button-hover-middle-2x.webp": ASCII letters,
// digits, "-", "." and one "/", the same for the same kit on every run.
QString pieceName(bool dark, QStringView state, QStringView part, qreal ratio, PictureFormat format);
QString checkName(bool dark, QStringView state, qreal ratio, PictureFormat format);
// "kit/kit.png", "kit/kit-2x.webp": every piece of one density and format.
QString sheetName(qreal ratio, PictureFormat format);
// True for a prefix that makes every class a CSS identifier: a letter, then letters,
// digits, "-" and "_".
bool isValidPrefix(const QString &prefix);
// Whether the kit draws a state: focus only when asked for.
bool drawsState(const KitStyle &style, int stateIndex);
// For a skin whose pieces do not give the renderer's picture: which skin, how far off, where.
QString inexactNote(const KitSkin &skin);
QString text(const KitStyle &style);

} // namespace kitcss

} // namespace quillet::pictures
