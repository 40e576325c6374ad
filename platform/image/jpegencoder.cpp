#include "platform/image/jpegencoder.h"

#include <QPainter>

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace quillet::image {

namespace {
constexpr int kBlock = 8;
constexpr int kCoefficients = 64;
constexpr int kComponents = 3;
constexpr int kSymbols = 256;
constexpr int kMaxCodeLength = 16;
constexpr int kEndOfBlock = 0x00;
constexpr int kZeroRun16 = 0xF0;

// Annex K tables, in natural (row-major) order.
constexpr std::array<int, kCoefficients> kLuminanceQuant { 16, 11, 10, 16, 24, 40, 51, 61, 12, 12, 14, 19, 26,
    58, 60, 55, 14, 13, 16, 24, 40, 57, 69, 56, 14, 17, 22, 29, 51, 87, 80, 62, 18, 22, 37, 56, 68, 109, 103,
    77, 24, 35, 55, 64, 81, 104, 113, 92, 49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103,
    99 };
constexpr std::array<int, kCoefficients> kChrominanceQuant { 17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66,
    99, 99, 99, 99, 24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99 };
// Position in natural order of the k-th coefficient in zigzag order.
constexpr std::array<int, kCoefficients> kZigzag { 0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5, 12,
    19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6, 7, 14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63 };

using Block = std::array<qint16, kCoefficients>; // quantised, zigzag order

std::array<int, kCoefficients> scaledTable(const std::array<int, kCoefficients> &base, int quality)
{
    const int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    std::array<int, kCoefficients> table {};
    for (int i = 0; i < kCoefficients; ++i)
        table[i] = qBound(1, (base[i] * scale + 50) / 100, 255);
    return table;
}

int magnitudeBits(int value)
{
    int v = value < 0 ? -value : value;
    int bits = 0;
    while (v) {
        ++bits;
        v >>= 1;
    }
    return bits;
}

// An optimal length-limited code for the symbol counts (Annex K.2), as the BITS and
// HUFFVAL lists of a DHT segment.
struct HuffmanSpec
{
    std::array<int, kMaxCodeLength + 1> bits {};
    std::vector<quint8> values;
};

HuffmanSpec buildSpec(const std::array<qint64, kSymbols> &counts)
{
    constexpr int kAll = kSymbols + 1; // one reserved symbol keeps any code from being all ones
    std::array<qint64, kAll> freq {};
    std::array<int, kAll> codeSize {};
    std::array<int, kAll> others {};
    others.fill(-1);
    for (int i = 0; i < kSymbols; ++i)
        freq[i] = counts[i];
    freq[kSymbols] = 1;
    for (;;) {
        int c1 = -1;
        int c2 = -1;
        for (int i = 0; i < kAll; ++i) {
            if (freq[i] && (c1 < 0 || freq[i] <= freq[c1]))
                c1 = i;
        }
        for (int i = 0; i < kAll; ++i) {
            if (freq[i] && i != c1 && (c2 < 0 || freq[i] <= freq[c2]))
                c2 = i;
        }
        if (c2 < 0)
            break;
        freq[c1] += freq[c2];
        freq[c2] = 0;
        ++codeSize[c1];
        while (others[c1] >= 0) {
            c1 = others[c1];
            ++codeSize[c1];
        }
        others[c1] = c2;
        ++codeSize[c2];
        while (others[c2] >= 0) {
            c2 = others[c2];
            ++codeSize[c2];
        }
    }
    std::array<int, 2 * kAll> lengths {};
    for (int i = 0; i < kAll; ++i) {
        if (codeSize[i])
            ++lengths[codeSize[i]];
    }
    for (int i = int(lengths.size()) - 1; i > kMaxCodeLength; --i) {
        while (lengths[i] > 0) {
            int j = i - 2;
            while (lengths[j] == 0)
                --j;
            lengths[i] -= 2;
            ++lengths[i - 1];
            lengths[j + 1] += 2;
            --lengths[j];
        }
    }
    int longest = kMaxCodeLength;
    while (longest > 0 && lengths[longest] == 0)
        --longest;
    --lengths[longest]; // drop the reserved symbol's code

    HuffmanSpec spec;
    for (int i = 1; i <= kMaxCodeLength; ++i)
        spec.bits[i] = lengths[i];
    for (int length = 1; length < int(lengths.size()); ++length) {
        for (int symbol = 0; symbol < kSymbols; ++symbol) {
            if (codeSize[symbol] == length)
                spec.values.push_back(quint8(symbol));
        }
    }
    return spec;
}

struct HuffmanCode
{
    std::array<quint16, kSymbols> code {};
    std::array<quint8, kSymbols> length {};
};

HuffmanCode codesFor(const HuffmanSpec &spec)
{
    HuffmanCode table;
    quint32 code = 0;
    size_t k = 0;
    for (int length = 1; length <= kMaxCodeLength; ++length) {
        for (int i = 0; i < spec.bits[length]; ++i, ++k) {
            table.code[spec.values[k]] = quint16(code++);
            table.length[spec.values[k]] = quint8(length);
        }
        code <<= 1;
    }
    return table;
}

class BitWriter
{
public:
    explicit BitWriter(QByteArray &out)
        : m_out(out)
    {
    }
    void put(quint32 bits, int count)
    {
        for (int i = count - 1; i >= 0; --i) {
            m_byte = quint8((m_byte << 1) | ((bits >> i) & 1));
            if (++m_filled == 8)
                flushByte();
        }
    }
    void finish()
    {
        // Pad the last byte with one bits, as the format asks.
        while (m_filled != 0)
            put(1, 1);
    }

private:
    void flushByte()
    {
        m_out.append(char(m_byte));
        if (m_byte == 0xFF)
            m_out.append('\0');
        m_byte = 0;
        m_filled = 0;
    }
    QByteArray &m_out;
    quint8 m_byte = 0;
    int m_filled = 0;
};

// Hands every Huffman symbol of a block, with its extra bits, to the DC or AC sink.
template<typename DcSink, typename AcSink>
void walkBlock(const Block &block, int &previousDc, DcSink &&sinkDc, AcSink &&sinkAc)
{
    const int diff = block[0] - previousDc;
    previousDc = block[0];
    const int dcBits = magnitudeBits(diff);
    sinkDc(dcBits, quint32(diff < 0 ? diff - 1 : diff) & ((1u << dcBits) - 1), dcBits);
    int run = 0;
    for (int k = 1; k < kCoefficients; ++k) {
        const int value = block[k];
        if (value == 0) {
            ++run;
            continue;
        }
        while (run > 15) {
            sinkAc(kZeroRun16, 0, 0);
            run -= 16;
        }
        const int bits = magnitudeBits(value);
        sinkAc((run << 4) | bits, quint32(value < 0 ? value - 1 : value) & ((1u << bits) - 1), bits);
        run = 0;
    }
    if (run > 0)
        sinkAc(kEndOfBlock, 0, 0);
}

void appendMarker(QByteArray &out, quint8 marker, const QByteArray &payload)
{
    out.append(char(0xFF)).append(char(marker));
    const int length = int(payload.size()) + 2;
    out.append(char(length >> 8)).append(char(length & 0xFF));
    out.append(payload);
}

QByteArray huffmanSegment(int tableClass, int id, const HuffmanSpec &spec)
{
    QByteArray payload;
    payload.append(char((tableClass << 4) | id));
    for (int i = 1; i <= kMaxCodeLength; ++i)
        payload.append(char(spec.bits[i]));
    for (const quint8 v : spec.values)
        payload.append(char(v));
    return payload;
}
} // namespace

QByteArray JpegEncoder::encode(const QImage &image, int quality)
{
    if (image.isNull() || image.width() > kMaxSide || image.height() > kMaxSide)
        return {};
    QImage rgb;
    if (image.hasAlphaChannel()) {
        rgb = QImage(image.size(), QImage::Format_RGB32);
        if (rgb.isNull())
            return {};
        rgb.fill(Qt::white);
        QPainter painter(&rgb);
        painter.drawImage(0, 0, image);
    } else {
        rgb = image.convertToFormat(QImage::Format_RGB32);
    }
    if (rgb.isNull())
        return {};
    quality = qBound(1, quality, 100);

    const std::array<std::array<int, kCoefficients>, 2> quant { scaledTable(kLuminanceQuant, quality),
        scaledTable(kChrominanceQuant, quality) };
    std::array<std::array<double, kBlock>, kBlock> cosines {};
    for (int x = 0; x < kBlock; ++x)
        for (int u = 0; u < kBlock; ++u)
            cosines[x][u] = std::cos((2 * x + 1) * u * std::numbers::pi / 16.0)
                * (u == 0 ? std::numbers::sqrt2 / 4.0 : 0.5);

    // Pass one: colour conversion, transform and quantisation of every block, with
    // symbol counts for the Huffman tables.
    const int blocksWide = (rgb.width() + kBlock - 1) / kBlock;
    const int blocksHigh = (rgb.height() + kBlock - 1) / kBlock;
    std::vector<Block> blocks(size_t(blocksWide) * size_t(blocksHigh) * kComponents);
    std::array<std::array<qint64, kSymbols>, 2> dcCounts {};
    std::array<std::array<qint64, kSymbols>, 2> acCounts {};
    std::array<int, kComponents> previousDc {};
    size_t at = 0;
    for (int by = 0; by < blocksHigh; ++by) {
        for (int bx = 0; bx < blocksWide; ++bx) {
            std::array<std::array<double, kCoefficients>, kComponents> samples {};
            for (int y = 0; y < kBlock; ++y) {
                // Edge blocks repeat the last row and column rather than pad with black.
                const auto *line = reinterpret_cast<const QRgb *>(
                    rgb.constScanLine(qMin(by * kBlock + y, rgb.height() - 1)));
                for (int x = 0; x < kBlock; ++x) {
                    const QRgb p = line[qMin(bx * kBlock + x, rgb.width() - 1)];
                    const double r = qRed(p), g = qGreen(p), b = qBlue(p);
                    samples[0][y * kBlock + x] = 0.299 * r + 0.587 * g + 0.114 * b - 128.0;
                    samples[1][y * kBlock + x] = -0.168736 * r - 0.331264 * g + 0.5 * b;
                    samples[2][y * kBlock + x] = 0.5 * r - 0.418688 * g - 0.081312 * b;
                }
            }
            for (int c = 0; c < kComponents; ++c) {
                std::array<double, kCoefficients> rows {};
                for (int y = 0; y < kBlock; ++y)
                    for (int u = 0; u < kBlock; ++u) {
                        double sum = 0;
                        for (int x = 0; x < kBlock; ++x)
                            sum += samples[c][y * kBlock + x] * cosines[x][u];
                        rows[y * kBlock + u] = sum;
                    }
                const auto &table = quant[c == 0 ? 0 : 1];
                Block &block = blocks[at++];
                for (int k = 0; k < kCoefficients; ++k) {
                    const int natural = kZigzag[k];
                    const int u = natural % kBlock;
                    const int v = natural / kBlock;
                    double sum = 0;
                    for (int y = 0; y < kBlock; ++y)
                        sum += rows[y * kBlock + u] * cosines[y][v];
                    block[k] = qint16(std::lround(sum / table[natural]));
                }
                const int t = c == 0 ? 0 : 1;
                auto countDc = [&](int symbol, quint32, int) { ++dcCounts[t][symbol]; };
                auto countAc = [&](int symbol, quint32, int) { ++acCounts[t][symbol]; };
                walkBlock(block, previousDc[c], countDc, countAc);
            }
        }
    }

    const std::array<HuffmanSpec, 2> dcSpecs { buildSpec(dcCounts[0]), buildSpec(dcCounts[1]) };
    const std::array<HuffmanSpec, 2> acSpecs { buildSpec(acCounts[0]), buildSpec(acCounts[1]) };
    const std::array<HuffmanCode, 2> dcCodes { codesFor(dcSpecs[0]), codesFor(dcSpecs[1]) };
    const std::array<HuffmanCode, 2> acCodes { codesFor(acSpecs[0]), codesFor(acSpecs[1]) };

    QByteArray out;
    out.append(char(0xFF)).append(char(0xD8));
    // JFIF 1.01, no thumbnail, aspect ratio 1:1.
    appendMarker(out, 0xE0, QByteArray("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14));
    for (int t = 0; t < 2; ++t) {
        QByteArray payload;
        payload.append(char(t));
        for (int k = 0; k < kCoefficients; ++k)
            payload.append(char(quant[t][kZigzag[k]]));
        appendMarker(out, 0xDB, payload);
    }
    QByteArray frame;
    frame.append(char(8));
    frame.append(char(rgb.height() >> 8)).append(char(rgb.height() & 0xFF));
    frame.append(char(rgb.width() >> 8)).append(char(rgb.width() & 0xFF));
    frame.append(char(kComponents));
    for (int c = 0; c < kComponents; ++c)
        frame.append(char(c + 1)).append(char(0x11)).append(char(c == 0 ? 0 : 1));
    appendMarker(out, 0xC0, frame);
    for (int t = 0; t < 2; ++t) {
        appendMarker(out, 0xC4, huffmanSegment(0, t, dcSpecs[t]));
        appendMarker(out, 0xC4, huffmanSegment(1, t, acSpecs[t]));
    }
    QByteArray scan;
    scan.append(char(kComponents));
    for (int c = 0; c < kComponents; ++c)
        scan.append(char(c + 1)).append(char(c == 0 ? 0x00 : 0x11));
    scan.append(char(0)).append(char(63)).append(char(0));
    appendMarker(out, 0xDA, scan);

    // Pass two: the entropy-coded data.
    BitWriter writer(out);
    previousDc.fill(0);
    at = 0;
    for (size_t b = 0; b < blocks.size() / kComponents; ++b) {
        for (int c = 0; c < kComponents; ++c) {
            const int t = c == 0 ? 0 : 1;
            auto emitDc = [&](int symbol, quint32 extra, int extraBits) {
                writer.put(dcCodes[t].code[symbol], dcCodes[t].length[symbol]);
                writer.put(extra, extraBits);
            };
            auto emitAc = [&](int symbol, quint32 extra, int extraBits) {
                writer.put(acCodes[t].code[symbol], acCodes[t].length[symbol]);
                writer.put(extra, extraBits);
            };
            walkBlock(blocks[at++], previousDc[c], emitDc, emitAc);
        }
    }
    writer.finish();
    out.append(char(0xFF)).append(char(0xD9));
    return out;
}

} // namespace quillet::image
