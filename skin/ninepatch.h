#pragma once

#include <QByteArray>
#include <QImage>
#include <QMargins>
#include <QString>

#include <optional>

namespace quillet::skin {

// A picture in the nine-patch (.9.png) format: a one-pixel guide ring around the picture,
// black where the top and left edges stretch and where the right and bottom edges mark the
// content box, transparent elsewhere.
struct NinePatch
{
    QImage picture; // guides cropped off, ARGB32
    QMargins slice; // fixed margins around the one stretched run per side
    QMargins padding; // the content box inside the picture's edges
};

namespace ninepatch {

// Largest picture side accepted, the skin engine's own limit.
inline constexpr int kMaxSide = 4096;

// The picture and its guides, or nullopt with why in error (one line, no file name).
// Several stretch runs on one side are merged when the picture is the same all along the
// span they cover (stretching one run then draws the same); otherwise refused, since the
// engine stretches one run per side.
std::optional<NinePatch> read(const QByteArray &bytes, QString *error);

} // namespace ninepatch

} // namespace quillet::skin
