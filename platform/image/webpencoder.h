#pragma once

#include <QByteArray>
#include <QImage>

// Lossless WebP: every visible pixel exactly as given, what is fully see-through may take
// any colour (that costs nothing in the file). One thread, so the same picture always
// gives the same bytes.
namespace quillet::image::WebpEncoder {

// Effort settings of libwebp: on 104 x 24 buttons these give about the time of our PNG
// encoder for files well below its size.
inline constexpr int kMethod = 3;
inline constexpr float kEffort = 100.0f;
// The format's limit on either side.
inline constexpr int kMaxSide = 16383;

// Empty bytes for a null picture, one too large for the format, or any failure.
QByteArray encode(const QImage &image);

} // namespace quillet::image::WebpEncoder
