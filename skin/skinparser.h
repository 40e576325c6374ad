#pragma once

#include "skin/skin.h"
#include "skin/skindiagnostic.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace quillet::skin {

// Reads `.an` skin files. Never fails: whatever cannot be read or understood falls back
// to built-in defaults. Needs no QApplication.
class SkinParser
{
public:
    // Reads NAME.an; pictures are looked up in the folder NAME/ beside it. With diagnostics,
    // everything skipped or fallen back on is also told there, sorted by position.
    static Skin parseFile(const QString &path, QList<SkinDiagnostic> *diagnostics = nullptr);
    // Parses skin text; imageFolder may be empty (no pictures then).
    static Skin parse(const QByteArray &text, const QString &imageFolder = QString(),
        QList<SkinDiagnostic> *diagnostics = nullptr);

    // "#rgb", "#rrggbb", "#rrggbbaa", "r,g,b", "r,g,b,a", "none"/"transparent".
    static std::optional<QColor> parseColour(QStringView text);
    // "none", one colour, or stops "colour[@position] > colour[@position] > ...".
    static std::optional<QList<GradientStop>> parseFill(QStringView text);

private:
    static Look defaultLook(Element element, const QColor &base, const QColor &text);
    static Look derive(const Look &from, State state, const QColor &base);
    static QString pictureFor(const QString &imageFolder, Element element, State state);
};

} // namespace quillet::skin
