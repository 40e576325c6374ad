// Feeds arbitrary bytes to the skin parser and paints what it produced, so that absurd
// numbers in a skin file cannot hurt the painter either.
#include "platform/skin/skinpainter.h"
#include "platform/skin/skinparser.h"

#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>

using namespace quillet::skin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const Skin skin = SkinParser::parse(bytes);
    QImage image(24, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(skin.base());
    QPainter painter(&image);
    const SkinPainter skinPainter;
    for (const Element element : { Element::Button, Element::ComboButton, Element::Check, Element::Frame }) {
        for (const State state : { State::Normal, State::Pressed, State::CheckedDisabled }) {
            const Look &look = skin.look(element, state);
            skinPainter.panel(&painter, image.rect(), look);
            skinPainter.panel(&painter, QRect(0, 0, 1, 1), look);
            skinPainter.arrow(&painter, QRect(7, 0, 17, 16), Qt::DownArrow, look.mark);
            skinPainter.checkMark(&painter, QRect(0, 0, 13, 13), look.mark);
        }
    }
    return 0;
}
