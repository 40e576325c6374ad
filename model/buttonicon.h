#pragma once

#include <QString>

namespace quillet::model {

enum class IconPosition { Left, Right, Top };

// The picture a push button shows beside or above its caption. No file is no icon: the
// button is then exactly the caption alone.
struct ButtonIcon
{
    QString file;
    IconPosition position = IconPosition::Left;
    // Height in 1x pixels; 0 follows the caption font's pixel size.
    int size = 0;

    bool isNull() const { return file.isEmpty(); }
    bool operator==(const ButtonIcon &) const = default;
};

} // namespace quillet::model
