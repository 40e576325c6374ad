#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace quillet::image {

// The one picture object the exporter reuses for every JPG, GIF and PNG it writes:
// load captured BMP bytes, ask the depth, reduce to a palette, save in a format.
class ImageConverter
{
public:
    enum Format { Gif, Jpeg, Png };
    static constexpr int kReducedDepth = 8;
    static constexpr int kTrueColourDepth = 24;

    // Replaces the held picture; bytes that are no BMP leave it empty and answer false.
    bool loadFromMemory(const QByteArray &bmpBytes);
    // Holds an opaque picture exactly as its 24-bit BMP bytes would give it, without
    // making and reading them.
    bool loadOpaque(const QImage &picture);
    // Bits per pixel of the held picture: as the BMP stored it, 8 after a reduction,
    // 0 when empty.
    int colorDepth() const;
    // 8: indexed with an exact palette when the picture has at most 256 colours,
    // otherwise quantised (dithered only on request). 24: back to true colour.
    // False, and the picture unchanged, for other depths or an empty picture.
    bool convertColorDepth(int bits, bool dither = false);
    // The file bytes in a format, empty when the picture is empty. A GIF of a deeper
    // picture is reduced on the way, the held one is not.
    QByteArray encode(Format format) const;

    const QImage &picture() const { return m_picture; }
    void clear();

private:
    QImage m_picture;
    int m_depth = 0;
};

} // namespace quillet::image
