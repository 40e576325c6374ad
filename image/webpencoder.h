#pragma once

#include <QByteArray>
#include <QImage>

// Lossless WebP: every visible pixel exactly as given, what is fully see-through may take
// any colour (that costs nothing in the file). One thread, so the same picture always
// gives the same bytes.
namespace quillet::image::WebpEncoder {

// libwebp's effort settings: on 104 x 24 buttons the higher methods and efforts cost up
// to three times the time for files no smaller (often larger) than these give.
inline constexpr int kMethod = 1;
inline constexpr float kEffort = 50.0f;
// The format's limit on either side.
inline constexpr int kMaxSide = 16383;

// Empty bytes for a null picture, one too large for the format, or any failure.
QByteArray encode(const QImage &image);

} // namespace quillet::image::WebpEncoder
