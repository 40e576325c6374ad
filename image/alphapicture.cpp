#include "image/alphapicture.h"

#include "image/colourquantizer.h"
#include "image/exactpalette.h"
#include "image/gifencoder.h"
#include "image/pngencoder.h"

#include <QPainter>

namespace quillet::image {

namespace {
constexpr int kOpaque = 255;

int blend(int channel, int alpha, int matte)
{
    // Straight (not premultiplied) channel over an opaque matte, rounded to nearest.
    return (channel * alpha + matte * (kOpaque - alpha) + kOpaque / 2) / kOpaque;
}

int distance(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return dr * dr + dg * dg + db * db;
}

// The opaque table entry closest to colour, or -1 when there is none.
int nearestOpaque(const QList<QRgb> &table, QRgb colour)
{
    int best = -1;
    int bestDistance = 0;
    for (int i = 0; i < table.size(); ++i) {
        if (qAlpha(table[i]) != kOpaque)
            continue;
        const int d = distance(table[i], colour);
        if (best < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}
} // namespace

QByteArray AlphaPicture::encodePng(const QImage &picture)
{
    if (picture.isNull())
        return {};
    const QImage straight = picture.convertToFormat(QImage::Format_ARGB32);
    const QImage indexed = ExactPalette::toIndexed(straight);
    return PngEncoder::encode(indexed.isNull() ? straight : indexed);
}

QImage AlphaPicture::gifPalette(const QImage &picture, const QColor &matte, int *transparentIndex)
{
    if (transparentIndex)
        *transparentIndex = -1;
    if (picture.isNull())
        return {};
    QImage prepared = picture.convertToFormat(QImage::Format_ARGB32);
    if (prepared.isNull())
        return {};
    const int mr = matte.red();
    const int mg = matte.green();
    const int mb = matte.blue();
    bool anyTransparent = false;
    for (int y = 0; y < prepared.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(prepared.scanLine(y));
        for (int x = 0; x < prepared.width(); ++x) {
            const QRgb c = line[x];
            const int a = qAlpha(c);
            if (a < kGifAlphaThreshold) {
                // One value for every hidden pixel, so that they share one table entry.
                line[x] = qRgba(0, 0, 0, 0);
                anyTransparent = true;
            } else if (a < kOpaque) {
                line[x] = qRgb(blend(qRed(c), a, mr), blend(qGreen(c), a, mg), blend(qBlue(c), a, mb));
            }
        }
    }
    // Without hidden pixels the picture is opaque and gets the ordinary GIF palette.
    if (!anyTransparent)
        prepared = prepared.convertToFormat(QImage::Format_RGB32);
    QImage indexed = ExactPalette::toIndexed(prepared);
    if (indexed.isNull())
        indexed = ColourQuantizer::toIndexed(prepared, false);
    if (indexed.isNull())
        return {};
    if (!anyTransparent)
        return indexed;

    // The quantiser may give alpha levels between 0 and 255 where hidden and kept pixels
    // meet; the file has no such levels, so each entry becomes hidden or opaque by its own
    // alpha, and all hidden entries are folded into the first one.
    QList<QRgb> table = indexed.colorTable();
    int hidden = -1;
    QList<int> remap(table.size());
    for (int i = 0; i < table.size(); ++i) {
        remap[i] = i;
        if (qAlpha(table[i]) < kGifAlphaThreshold) {
            if (hidden < 0)
                hidden = i;
            remap[i] = hidden;
            table[i] = qRgba(mr, mg, mb, 0);
        } else {
            table[i] = qRgb(qRed(table[i]), qGreen(table[i]), qBlue(table[i]));
        }
    }
    if (hidden < 0)
        return indexed;
    for (int y = 0; y < indexed.height(); ++y) {
        uchar *line = indexed.scanLine(y);
        const auto *source = reinterpret_cast<const QRgb *>(prepared.constScanLine(y));
        for (int x = 0; x < indexed.width(); ++x) {
            // A kept pixel must never land on the hidden entry, whatever the quantiser chose.
            if (qAlpha(source[x]) == 0)
                line[x] = uchar(hidden);
            else if (remap[line[x]] == hidden) {
                int kept = nearestOpaque(table, source[x]);
                if (kept < 0) {
                    if (table.size() >= ExactPalette::kMaxColours)
                        return {};
                    table.append(source[x]);
                    kept = int(table.size()) - 1;
                }
                line[x] = uchar(kept);
            } else
                line[x] = uchar(remap[line[x]]);
        }
    }
    indexed.setColorTable(table);
    if (transparentIndex)
        *transparentIndex = hidden;
    return indexed;
}

QByteArray AlphaPicture::encodeGif(const QImage &picture, const QColor &matte)
{
    int transparentIndex = -1;
    const QImage indexed = gifPalette(picture, matte, &transparentIndex);
    if (indexed.isNull())
        return {};
    return transparentIndex < 0 ? GifEncoder::encode(indexed) : GifEncoder::encode(indexed, transparentIndex);
}

QImage AlphaPicture::fromGrounds(const QImage &onBlack, const QImage &onWhite)
{
    if (onBlack.isNull() || onBlack.size() != onWhite.size())
        return {};
    const QImage black = onBlack.convertToFormat(QImage::Format_RGB32);
    const QImage white = onWhite.convertToFormat(QImage::Format_RGB32);
    QImage out(black.size(), QImage::Format_ARGB32_Premultiplied);
    if (out.isNull())
        return {};
    for (int y = 0; y < out.height(); ++y) {
        const auto *b = reinterpret_cast<const QRgb *>(black.constScanLine(y));
        const auto *w = reinterpret_cast<const QRgb *>(white.constScanLine(y));
        auto *o = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            // Every channel lets the same share through; the mean keeps each within a level.
            const int through
                = (qRed(w[x]) - qRed(b[x]) + qGreen(w[x]) - qGreen(b[x]) + qBlue(w[x]) - qBlue(b[x]) + 1) / 3;
            const int a = qBound(0, kOpaque - through, kOpaque);
            // On black the premultiplied colour is what shows; it can never exceed the alpha.
            o[x] = qRgba(qMin(qRed(b[x]), a), qMin(qGreen(b[x]), a), qMin(qBlue(b[x]), a), a);
        }
    }
    out.setDevicePixelRatio(onBlack.devicePixelRatio());
    return out;
}

QImage AlphaPicture::composite(const QImage &picture, const QColor &background)
{
    QImage out(picture.size(), QImage::Format_RGB32);
    if (out.isNull())
        return {};
    // Same ratio as the picture, or the painter would draw a 2x picture at half size.
    out.setDevicePixelRatio(picture.devicePixelRatio());
    out.fill(QColor(background.red(), background.green(), background.blue()));
    QPainter painter(&out);
    painter.drawImage(QPoint(0, 0), picture);
    return out;
}

} // namespace quillet::image
