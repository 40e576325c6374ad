// Captions come straight from the user and end up in file names: building the names and
// judging them must hold up against any text, and a name judged safe must stay inside
// the chosen folder.
#include "pictures/exportnaming.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

using quillet::pictures::ExportImageName;
using quillet::pictures::ExportNaming;

namespace {

void check(const QString &caption, int exportNumber)
{
    const quillet::pictures::ExportOptions all { true, true, true, true };
    const QString extension = QStringLiteral(".png");
    const QString listed = ExportNaming::confirmationText(all, caption, exportNumber, extension);
    for (const ExportImageName &image : ExportNaming::images(all, caption, exportNumber, extension)) {
        if (!listed.contains(image.fileName))
            std::abort();
        const QString path = ExportNaming::fullPath(QStringLiteral("/out"), image.fileName);
        if (!ExportNaming::isSafeFileName(image.fileName)) {
            if (!path.isEmpty())
                std::abort();
            continue;
        }
        const QString &name = image.fileName;
        if (name.contains(u'/') || name.contains(QChar(u'\0')) || name == u"." || name == u"..")
            std::abort();
        if (path != QStringLiteral("/out/") + name)
            std::abort();
    }
    // The caption alone, as a name, obeys the same rule.
    if (ExportNaming::isSafeFileName(caption)
        && (caption.contains(u'/') || caption.contains(QChar(u'\0')) || caption == u"." || caption == u".."))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto *chars = reinterpret_cast<const char *>(data);
    const auto length = static_cast<qsizetype>(size);
    const int number = size > 0 ? data[0] : 0;
    check(QString::fromUtf8(chars, length), number);
    check(QString::fromLatin1(chars, length), number);
    // Raw 16-bit units reach lone surrogates that no UTF-8 decoding produces.
    check(QString(reinterpret_cast<const QChar *>(data), length / 2), number);
    return 0;
}
