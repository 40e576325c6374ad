// A skin's SVG pictures come from the skin's maker and are recoloured as text before they
// are parsed: any bytes must come back with only colour values changed, never markup.
#include "skin/accent.h"

#include <QByteArray>
#include <QColor>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QColor &accent : { QColor(0xef, 0x6c, 0x00), QColor(0x21, 0x21, 0x21) }) {
        const QByteArray out = quillet::skin::accent::recolouredSvg(bytes, accent);
        if (out == bytes)
            continue;
        // rgb() gives way to a hex literal, so only its brackets and commas may go.
        for (const char c : { '<', '>', '"', '\'', '=', ';', ':', '/' }) {
            if (out.count(c) != bytes.count(c))
                std::abort();
        }
    }
    return 0;
}
