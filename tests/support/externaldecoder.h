#pragma once

#include <QByteArray>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

// Reads files back with programs that share no code with ours (netpbm, pngcheck,
// gifsicle, libjpeg's djpeg), so that a test compares against an outside opinion.
class ExternalDecoder
{
public:
    struct Run
    {
        bool started = false;
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };

    static bool available(const QString &program)
    {
        return !QStandardPaths::findExecutable(program).isEmpty();
    }

    static Run run(const QString &program, const QStringList &arguments)
    {
        Run result;
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForStarted() || !process.waitForFinished(60000))
            return result;
        result.started = true;
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

    // pngtopnm, giftopnm or djpeg -pnm on a file, as an RGB32 picture; null on failure.
    static QImage decode(const QString &path)
    {
        QString program;
        QStringList arguments;
        if (path.endsWith(QLatin1String(".png"))) {
            program = QStringLiteral("pngtopnm");
        } else if (path.endsWith(QLatin1String(".gif"))) {
            program = QStringLiteral("giftopnm");
        } else {
            program = QStringLiteral("djpeg");
            arguments << QStringLiteral("-pnm");
        }
        arguments << path;
        const Run r = run(program, arguments);
        return r.started && r.exitCode == 0 ? parsePnm(r.out) : QImage();
    }

    // The alpha channel of a PNG (pngtopnm -alpha) or the transparency mask of a GIF
    // (giftopnm -alphaout), as grey levels in an RGB32 picture: 255 opaque, 0 transparent.
    static QImage decodeAlpha(const QString &path)
    {
        const bool gif = path.endsWith(QLatin1String(".gif"));
        const Run r = gif ? run(QStringLiteral("giftopnm"), {QStringLiteral("-alphaout=-"), path})
                          : run(QStringLiteral("pngtopnm"), {QStringLiteral("-alpha"), path});
        return r.started && r.exitCode == 0 ? parsePnm(r.out) : QImage();
    }

    // Binary PBM (P4), PGM (P5) and PPM (P6) with a maxval of 255.
    static QImage parsePnm(const QByteArray &bytes)
    {
        qsizetype at = 0;
        auto skipSpace = [&] {
            while (at < bytes.size()) {
                if (bytes[at] == '#') {
                    while (at < bytes.size() && bytes[at] != '\n')
                        ++at;
                } else if (QChar::isSpace(uchar(bytes[at]))) {
                    ++at;
                } else {
                    break;
                }
            }
        };
        auto number = [&] {
            skipSpace();
            int value = 0;
            while (at < bytes.size() && bytes[at] >= '0' && bytes[at] <= '9')
                value = value * 10 + (bytes[at++] - '0');
            return value;
        };
        if (bytes.size() < 3 || bytes[0] != 'P')
            return {};
        const char kind = bytes[1];
        at = 2;
        const int width = number();
        const int height = number();
        const int maxval = kind == '4' ? 1 : number();
        ++at; // the single white space before the raster
        if (width <= 0 || height <= 0 || (kind != '4' && maxval != 255))
            return {};
        const qsizetype rowBytes = kind == '4' ? (width + 7) / 8 : width * (kind == '6' ? 3 : 1);
        if (bytes.size() - at < rowBytes * height)
            return {};
        QImage image(width, height, QImage::Format_RGB32);
        const auto *raster = reinterpret_cast<const uchar *>(bytes.constData() + at);
        for (int y = 0; y < height; ++y) {
            const uchar *row = raster + y * rowBytes;
            for (int x = 0; x < width; ++x) {
                QRgb c;
                if (kind == '4')
                    c = (row[x / 8] >> (7 - x % 8)) & 1 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
                else if (kind == '5')
                    c = qRgb(row[x], row[x], row[x]);
                else
                    c = qRgb(row[3 * x], row[3 * x + 1], row[3 * x + 2]);
                image.setPixel(x, y, c);
            }
        }
        return image;
    }
};
