// Feeds arbitrary bytes to the nine-patch reader: whatever it accepts must have margins
// that fit inside the picture it returns.
#include "skin/ninepatch.h"

#include <cstddef>
#include <cstdint>

using namespace quillet::skin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QString error;
    const auto patch = ninepatch::read(bytes, &error);
    if (!patch)
        return error.isEmpty() ? (__builtin_trap(), 0) : 0;
    const QSize side = patch->picture.size();
    for (const QMargins &m : { patch->slice, patch->padding }) {
        if (m.left() < 0 || m.top() < 0 || m.right() < 0 || m.bottom() < 0
            || m.left() + m.right() > side.width() || m.top() + m.bottom() > side.height())
            __builtin_trap();
    }
    return 0;
}
