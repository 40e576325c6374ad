#include "platform/image/jpegencoder.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>

namespace quillet::image {

QByteArray JpegEncoder::encode(const QImage &image, int quality)
{
    if (image.isNull())
        return {};
    QImage opaque;
    if (image.hasAlphaChannel()) {
        // JPEG has no alpha; what shows through should be a page's usual white, not black.
        opaque = QImage(image.size(), QImage::Format_RGB32);
        if (opaque.isNull())
            return {};
        opaque.fill(Qt::white);
        QPainter painter(&opaque);
        painter.drawImage(0, 0, image);
    } else {
        opaque = image.convertToFormat(QImage::Format_RGB32);
    }
    if (opaque.isNull())
        return {};

    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(qBound(0, quality, 100));
    writer.setOptimizedWrite(true);
    if (!writer.write(opaque))
        return {};
    return bytes;
}

} // namespace quillet::image
