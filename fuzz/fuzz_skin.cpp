// Feeds arbitrary bytes to the skin parser, with and without diagnostics (which must not
// change the skin), and paints what it produced, so that absurd numbers in a skin file
// cannot hurt the painter either.
#include "skin/skinpainter.h"
#include "skin/skinparser.h"

#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>

using namespace quillet::skin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const Skin skin = SkinParser::parse(bytes);
    QList<SkinDiagnostic> diagnostics;
    const Skin checked = SkinParser::parse(bytes, QString(), &diagnostics);
    for (const SkinDiagnostic &d : std::as_const(diagnostics)) {
        if (d.line < 0 || d.column < 0 || d.message.isEmpty() || (d.line > 0 && d.column < 1))
            __builtin_trap();
    }
    for (int e = 0; e < kElementCount; ++e) {
        for (int s = 0; s < kStateCount; ++s) {
            if (!(skin.look(Element(e), State(s)) == checked.look(Element(e), State(s))))
                __builtin_trap();
        }
    }
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
