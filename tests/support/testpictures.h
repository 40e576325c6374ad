#pragma once

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

// Pictures like the ones the tool exports, and ones with a known number of colours.
class TestPictures
{
public:
    // Exactly `colours` distinct opaque colours (1..1024) when the picture has room
    // for them, in short runs so that every filter and code path sees variety.
    static QImage withColours(int width, int height, int colours)
    {
        QImage image(width, height, QImage::Format_RGB32);
        // Runs of up to three equal pixels; every colour appears when width * height >= colours.
        const int run = qBound(1, width * height / qMax(1, colours), 3);
        int n = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const int i = (n++ / run) % colours;
                image.setPixel(
                    x, y, qRgb((i * 37) & 0xFF, (i * 11 + (i >> 8) * 64) & 0xFF, (i * 5 + 90) & 0xFF));
            }
        }
        return image;
    }

    // A skinned-looking button: gradient face, dark border, antialiased caption.
    static QImage button(int width, int height, const QString &caption, bool antialiased = true)
    {
        QImage image(width, height, QImage::Format_RGB32);
        QPainter p(&image);
        QLinearGradient face(0, 0, 0, height);
        face.setColorAt(0, QColor(250, 252, 255));
        face.setColorAt(0.5, QColor(196, 214, 236));
        face.setColorAt(1, QColor(120, 150, 200));
        p.fillRect(image.rect(), face);
        p.setPen(QColor(40, 60, 110));
        p.drawRect(image.rect().adjusted(0, 0, -1, -1));
        QFont font;
        font.setPixelSize(qMax(8, height / 2));
        if (!antialiased)
            font.setStyleStrategy(QFont::NoAntialias);
        p.setFont(font);
        p.setPen(QColor(200, 20, 30));
        p.drawText(image.rect(), Qt::AlignCenter, caption);
        return image;
    }

    // Many colours: a two-dimensional smooth gradient with a few controls on it.
    static QImage window(int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.setPixel(
                    x, y, qRgb(x * 255 / width, y * 255 / height, 255 - (x + y) * 255 / (width + height)));
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        for (int i = 0; i < 6; ++i) {
            const QRect r(20 + i * 120, 40 + (i % 3) * 150, 104, 24);
            p.drawImage(r.topLeft(), button(r.width(), r.height(), QStringLiteral("OK %1").arg(i)));
        }
        p.setPen(Qt::black);
        p.drawEllipse(QRect(width / 3, height / 3, width / 4, height / 4));
        return image;
    }
};
