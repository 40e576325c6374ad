#include "platform/image/pngencoder.h"

#include <QtEndian>

#include <zlib.h>

#include <array>
#include <cstdlib>
#include <limits>

namespace quillet::image {

namespace {
constexpr int kMaxPaletteSize = 256;
constexpr int kBestCompression = 9;
constexpr int kTrialCompression = 6;
constexpr quint32 kCrcPolynomial = 0xEDB88320u;
constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";

enum ColourType : quint8 { Truecolour = 2, Indexed = 3, TruecolourAlpha = 6 };
enum Filter : quint8 { None = 0, Sub = 1, Up = 2, Average = 3, Paeth = 4 };
constexpr int kFilterCount = 5;
constexpr int kAdaptive = -1;

constexpr std::array<quint32, 256> makeCrcTable()
{
    std::array<quint32, 256> table {};
    for (quint32 n = 0; n < 256; ++n) {
        quint32 c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? kCrcPolynomial ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr std::array<quint32, 256> kCrcTable = makeCrcTable();

quint32 crc32(const char *data, qsizetype length)
{
    quint32 c = 0xFFFFFFFFu;
    for (qsizetype i = 0; i < length; ++i)
        c = kCrcTable[(c ^ quint8(data[i])) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void appendChunk(QByteArray &out, const char type[4], const QByteArray &data)
{
    char be[4];
    qToBigEndian(quint32(data.size()), be);
    out.append(be, 4);
    const qsizetype typeAt = out.size();
    out.append(type, 4);
    out.append(data);
    qToBigEndian(crc32(out.constData() + typeAt, 4 + data.size()), be);
    out.append(be, 4);
}

quint8 paeth(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return quint8(a);
    return quint8(pb <= pc ? b : c);
}

// One filtered row: the filter byte, then the differences.
void filterRow(int filter, const quint8 *row, const quint8 *prior, qsizetype length, int bpp, quint8 *out)
{
    out[0] = quint8(filter);
    for (qsizetype i = 0; i < length; ++i) {
        const int a = i >= bpp ? row[i - bpp] : 0;
        const int b = prior ? prior[i] : 0;
        const int c = (prior && i >= bpp) ? prior[i - bpp] : 0;
        int predicted = 0;
        switch (filter) {
        case Sub:
            predicted = a;
            break;
        case Up:
            predicted = b;
            break;
        case Average:
            predicted = (a + b) / 2;
            break;
        case Paeth:
            predicted = paeth(a, b, c);
            break;
        default:
            break;
        }
        out[i + 1] = quint8(row[i] - predicted);
    }
}

// The usual heuristic: the filter whose output, read as signed bytes, sums smallest.
qint64 signedSum(const quint8 *filtered, qsizetype length)
{
    qint64 sum = 0;
    for (qsizetype i = 1; i <= length; ++i)
        sum += std::abs(int(qint8(filtered[i])));
    return sum;
}

QByteArray filtered(const QList<QByteArray> &rows, int bpp, int strategy)
{
    const qsizetype length = rows.isEmpty() ? 0 : rows.first().size();
    QByteArray out(rows.size() * (length + 1), Qt::Uninitialized);
    QByteArray trial(length + 1, Qt::Uninitialized);
    auto *at = reinterpret_cast<quint8 *>(out.data());
    for (qsizetype y = 0; y < rows.size(); ++y) {
        const auto *row = reinterpret_cast<const quint8 *>(rows[y].constData());
        const auto *prior = y > 0 ? reinterpret_cast<const quint8 *>(rows[y - 1].constData()) : nullptr;
        if (strategy != kAdaptive) {
            filterRow(strategy, row, prior, length, bpp, at);
        } else {
            auto *scratch = reinterpret_cast<quint8 *>(trial.data());
            qint64 best = std::numeric_limits<qint64>::max();
            for (int f = 0; f < kFilterCount; ++f) {
                filterRow(f, row, prior, length, bpp, scratch);
                const qint64 sum = signedSum(scratch, length);
                if (sum < best) {
                    best = sum;
                    std::copy(scratch, scratch + length + 1, at);
                }
            }
        }
        at += length + 1;
    }
    return out;
}

// One deflate state per level and thread, reset between pictures: a fresh state allocates
// and clears some 300 KB, which costs more than compressing a button. The streams are those
// of zlib's compress2() (window 15, memory level 8), byte for byte.
class Deflater
{
public:
    explicit Deflater(int level)
    {
        m_ready = deflateInit(&m_stream, level) == Z_OK;
    }
    ~Deflater()
    {
        if (m_ready)
            deflateEnd(&m_stream);
    }
    Deflater(const Deflater &) = delete;
    Deflater &operator=(const Deflater &) = delete;

    QByteArray compress(const QByteArray &raw)
    {
        if (!m_ready || deflateReset(&m_stream) != Z_OK)
            return {};
        QByteArray out(qsizetype(deflateBound(&m_stream, uLong(raw.size()))), Qt::Uninitialized);
        m_stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(raw.constData()));
        m_stream.avail_in = uInt(raw.size());
        m_stream.next_out = reinterpret_cast<Bytef *>(out.data());
        m_stream.avail_out = uInt(out.size());
        if (deflate(&m_stream, Z_FINISH) != Z_STREAM_END)
            return {};
        out.truncate(qsizetype(m_stream.total_out));
        return out;
    }

private:
    z_stream m_stream {};
    bool m_ready = false;
};

QByteArray deflated(const QByteArray &raw, int level)
{
    thread_local Deflater trial(kTrialCompression);
    thread_local Deflater best(kBestCompression);
    return (level == kBestCompression ? best : trial).compress(raw);
}

QByteArray zlibStream(const QByteArray &raw)
{
    return deflated(raw, kBestCompression);
}

// Rows packed as PNG wants them; sub-byte depths fill each byte from its high bits.
QList<QByteArray> packRows(const QImage &image, int colourType, int bitDepth)
{
    QList<QByteArray> rows;
    rows.reserve(image.height());
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        QByteArray row;
        if (colourType == Indexed) {
            const uchar *line = image.constScanLine(y);
            row = QByteArray((qsizetype(width) * bitDepth + 7) / 8, '\0');
            auto *out = reinterpret_cast<quint8 *>(row.data());
            const int perByte = 8 / bitDepth;
            for (int x = 0; x < width; ++x) {
                const int shift = 8 - bitDepth * (x % perByte + 1);
                out[x / perByte] |= quint8(line[x] << shift);
            }
        } else {
            const int channels = colourType == TruecolourAlpha ? 4 : 3;
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            row = QByteArray(qsizetype(width) * channels, Qt::Uninitialized);
            auto *out = reinterpret_cast<quint8 *>(row.data());
            for (int x = 0; x < width; ++x) {
                *out++ = quint8(qRed(line[x]));
                *out++ = quint8(qGreen(line[x]));
                *out++ = quint8(qBlue(line[x]));
                if (channels == 4)
                    *out++ = quint8(qAlpha(line[x]));
            }
        }
        rows.append(row);
    }
    return rows;
}
} // namespace

int PngEncoder::paletteBitDepth(int paletteSize)
{
    if (paletteSize <= 2)
        return 1;
    if (paletteSize <= 4)
        return 2;
    if (paletteSize <= 16)
        return 4;
    return 8;
}

QByteArray PngEncoder::encode(const QImage &image)
{
    if (image.isNull())
        return {};
    QImage source = image;
    int colourType = Indexed;
    int bitDepth = 8;
    const QList<QRgb> table = image.colorTable();
    if (image.format() == QImage::Format_Indexed8 && !table.isEmpty() && table.size() <= kMaxPaletteSize) {
        bitDepth = paletteBitDepth(int(table.size()));
    } else {
        colourType = image.hasAlphaChannel() ? TruecolourAlpha : Truecolour;
        source = image.convertToFormat(
            colourType == TruecolourAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        if (source.isNull())
            return {};
    }

    QByteArray header(13, '\0');
    qToBigEndian(quint32(source.width()), header.data());
    qToBigEndian(quint32(source.height()), header.data() + 4);
    header[8] = char(bitDepth);
    header[9] = char(colourType);
    // compression, filter method and interlace stay 0

    QByteArray out(kSignature, sizeof(kSignature) - 1);
    appendChunk(out, "IHDR", header);
    if (colourType == Indexed) {
        QByteArray palette;
        QByteArray alpha;
        for (const QRgb c : table) {
            palette.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
            alpha.append(char(qAlpha(c)));
        }
        appendChunk(out, "PLTE", palette);
        while (!alpha.isEmpty() && quint8(alpha.back()) == 255)
            alpha.chop(1);
        if (!alpha.isEmpty())
            appendChunk(out, "tRNS", alpha);
        // Indices past the table would make the file invalid.
        for (int y = 0; y < source.height(); ++y) {
            const uchar *line = source.constScanLine(y);
            for (int x = 0; x < source.width(); ++x) {
                if (line[x] >= table.size())
                    return {};
            }
        }
    }

    const QList<QByteArray> rows = packRows(source, colourType, bitDepth);
    const int bpp = colourType == Indexed ? 1 : (colourType == TruecolourAlpha ? 4 : 3);
    // zlib's best level is slow on the long runs that filtered gradients give, so the
    // filters compete at the default level and only the winner is packed at the best.
    int bestStrategy = kAdaptive;
    qsizetype bestSize = std::numeric_limits<qsizetype>::max();
    for (int strategy = kAdaptive; strategy < kFilterCount; ++strategy) {
        const QByteArray trial = deflated(filtered(rows, bpp, strategy), kTrialCompression);
        if (!trial.isEmpty() && trial.size() < bestSize) {
            bestSize = trial.size();
            bestStrategy = strategy;
        }
    }
    const QByteArray best = zlibStream(filtered(rows, bpp, bestStrategy));
    if (best.isEmpty())
        return {};
    appendChunk(out, "IDAT", best);
    appendChunk(out, "IEND", QByteArray());
    return out;
}

} // namespace quillet::image
