#include "image/gifencoder.h"

#include <gif_lib.h>

#include <vector>

namespace quillet::image {

namespace {
constexpr int kMaxPaletteSize = 256;
constexpr int kColourResolutionBits = 8;
constexpr int kNoTransparency = -1;

int appendOutput(GifFileType *gif, const GifByteType *data, int length)
{
    auto *bytes = static_cast<QByteArray *>(gif->UserData);
    bytes->append(reinterpret_cast<const char *>(data), length);
    return length;
}
} // namespace

int GifEncoder::colourMapSize(int paletteSize)
{
    // giflib's smallest map has two entries; the LZW code size of 2 is its own minimum.
    int size = 2;
    while (size < paletteSize)
        size *= 2;
    return size;
}

QByteArray GifEncoder::encode(const QImage &indexed)
{
    return encode(indexed, kNoTransparency);
}

QByteArray GifEncoder::encode(const QImage &indexed, int transparentIndex)
{
    const int paletteSize = int(indexed.colorCount());
    if (indexed.isNull() || indexed.format() != QImage::Format_Indexed8 || paletteSize < 1
        || paletteSize > kMaxPaletteSize || indexed.width() > kMaxSide || indexed.height() > kMaxSide
        || transparentIndex < kNoTransparency || transparentIndex >= paletteSize)
        return {};

    const QList<QRgb> table = indexed.colorTable();
    std::vector<GifColorType> colours(size_t(colourMapSize(paletteSize)), GifColorType { 0, 0, 0 });
    for (int i = 0; i < paletteSize; ++i)
        colours[size_t(i)] = GifColorType { GifByteType(qRed(table[i])), GifByteType(qGreen(table[i])),
            GifByteType(qBlue(table[i])) };
    ColorMapObject *map = GifMakeMapObject(int(colours.size()), colours.data());
    if (!map)
        return {};

    QByteArray bytes;
    int error = 0;
    GifFileType *gif = EGifOpen(&bytes, appendOutput, &error);
    if (!gif) {
        GifFreeMapObject(map);
        return {};
    }
    EGifSetGifVersion(gif, true);
    bool ok = EGifPutScreenDesc(gif, indexed.width(), indexed.height(), kColourResolutionBits, 0, map) == GIF_OK;
    if (ok && transparentIndex != kNoTransparency) {
        GraphicsControlBlock control {};
        control.DisposalMode = DISPOSAL_UNSPECIFIED;
        control.UserInputFlag = false;
        control.DelayTime = 0;
        control.TransparentColor = transparentIndex;
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&control, extension);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_OK;
    }
    ok = ok
        && EGifPutImageDesc(gif, 0, 0, indexed.width(), indexed.height(), false, nullptr) == GIF_OK;
    std::vector<GifPixelType> row(size_t(indexed.width()));
    for (int y = 0; ok && y < indexed.height(); ++y) {
        const uchar *line = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            // An index past the table would show an arbitrary colour: clamp it.
            row[size_t(x)] = line[x] < paletteSize ? line[x] : GifPixelType(0);
        }
        ok = EGifPutLine(gif, row.data(), indexed.width()) == GIF_OK;
    }
    // Closing also writes the trailer; it frees the file whatever happens.
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    GifFreeMapObject(map);
    return ok ? bytes : QByteArray();
}

} // namespace quillet::image
