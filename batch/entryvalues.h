#pragma once

#include "batch/renderentry.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <span>
#include <utility>

namespace quillet::batch {

// The values of the render options, read the same way from the command line and from a
// manifest. Each setter answers an error message (naming the option) or an empty string.
class EntryValues
{
public:
    static constexpr int kMaxSide = 4096;
    static constexpr int kMaxPointSize = 72;
    static constexpr int kMaxIconSize = 512;
    // Device pixels of the largest picture drawn (a sprite sheet counts all its bands): a
    // 4096 x 4096 button at 1x. The encoders hold several copies of a picture, so larger
    // ones would take gigabytes.
    static constexpr qint64 kMaxPicturePixels = qint64(kMaxSide) * kMaxSide;
    // The densities a picture can be drawn at.
    static constexpr qreal kRatios[] = { 1.0, 1.5, 2.0, 3.0, 4.0 };
    // --controls names, in the order of RenderEntry's button, combo and check.
    static constexpr QStringView kControls[] = { u"button", u"combo", u"check" };
    static constexpr std::pair<QStringView, model::IconPosition> kIconPositions[]
        = { { u"left", model::IconPosition::Left }, { u"right", model::IconPosition::Right },
              { u"top", model::IconPosition::Top } };

    static QString setSide(const QString &option, const QString &text, int *side);
    static QString setControls(const QString &text, RenderEntry &entry);
    static QString setFormat(const QString &text, RenderEntry &entry);
    static QString setScale(const QString &text, RenderEntry &entry);
    // The --scale parser of every command: a list of `allowed` ratios, sorted, each once.
    // A refused list gets a message that names the allowed ones and ends with `note`.
    static QString setRatios(
        const QString &text, std::span<const qreal> allowed, QStringView note, QList<qreal> *ratios);
    static QStringList ratioNames(std::span<const qreal> ratios);
    static QStringList controlNames();
    static QStringList iconPositionNames();
    static QString setFont(const QString &text, RenderEntry &entry);
    static QString setName(const QString &text, RenderEntry &entry);
    static QString setIcon(const QString &text, const QString &baseFolder, RenderEntry &entry);
    static QString setIconPosition(const QString &text, RenderEntry &entry);
    static QString setIconSize(const QString &text, RenderEntry &entry);
    // --accent of render and kit: "#rgb" or "#rrggbb".
    static constexpr QStringView kAccentHelp
        = u"the skin in a brand colour, #rgb or #rrggbb: its colours take the\n"
          u"colour's hue and keep their lightness; a caption, arrow or mark\n"
          u"that would no longer read changes colour, with a note on stderr";
    static QString setAccent(const QString &text, QColor *accent);
    // "FAMILY SIZE", as the designer shows its font: the last word is the point size. A
    // family with quotes, backslashes or control characters is refused.
    static bool parseFont(const QString &text, QFont *font);
    // Why text is not such a font, as a one-line message naming --font; empty when it is.
    static QString fontProblem(const QString &text);
    // The checks that need the whole entry: a caption, one control, a sprite's button,
    // captions that stay names of files inside the output folder, whole pixels at every
    // ratio.
    static QString check(const RenderEntry &entry);
};

} // namespace quillet::batch
