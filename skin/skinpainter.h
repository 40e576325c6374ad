#pragma once

#include "skin/look.h"

#include <QHash>
#include <QImage>
#include <QRect>
#include <memory>

class QPainter;
class QSvgRenderer;

namespace quillet::skin {

// Paints looks into rectangles. Knows nothing of widgets or style options, so every
// drawing can be checked on a plain QImage.
class SkinPainter
{
public:
    SkinPainter();
    ~SkinPainter();
    SkinPainter(const SkinPainter &) = delete;
    SkinPainter &operator=(const SkinPainter &) = delete;

    // Shadow, then border, bevel, fill, gloss and highlight, or the look's picture when it
    // has one; the face keeps the look's margin free.
    void panel(QPainter *painter, const QRect &rect, const Look &look) const;
    // Caption centred on the face (inside the margin) with the look's colour, shadow and shift.
    void text(QPainter *painter, const QRect &rect, int flags, const QString &text, const Look &look) const;
    // Solid pixel arrow centred in rect: the tip column is rect.left() + (width - 1) / 2.
    void arrow(QPainter *painter, const QRect &rect, Qt::ArrowType type, const QColor &colour) const;
    void checkMark(QPainter *painter, const QRect &rect, const QColor &colour) const;
    // Dotted; the last rightSpan columns count their dots back from the right corner (at
    // least the last two), so the right end is the same at every width.
    void focusRect(QPainter *painter, const QRect &rect, const QColor &colour, int rightSpan = 0) const;

    // The size a picture is sliced in (view box or pixels), or an empty size when the
    // painter would not draw it: missing, unreadable, too large.
    static QSizeF pictureSize(const QString &path);

    // Pictures loaded from now on are recoloured to this accent (skin::accent); invalid: as
    // they are.
    void setAccent(const QColor &accent) { m_accent = accent; }

private:
    void shadow(QPainter *painter, const QRect &whole, const QRect &body, const Look &look) const;
    bool paintPicture(QPainter *painter, const QRect &rect, const Look &look) const;
    QSvgRenderer *svg(const QString &path) const;
    QImage raster(const QString &path) const;

    // The accent's name and the path: the same file in another colour is another picture.
    QString cacheKey(const QString &path) const;

    QColor m_accent;
    mutable QHash<QString, std::shared_ptr<QSvgRenderer>> m_svgs;
    mutable QHash<QString, QImage> m_rasters;
};

} // namespace quillet::skin
