#pragma once

#include "platform/skin/skin.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>

namespace quillet::skin {

// Reads `.an` skin files. Never fails: whatever cannot be read or understood falls back
// to built-in defaults. Needs no QApplication.
class SkinParser
{
public:
    // Reads NAME.an; pictures are looked up in the folder NAME/ beside it.
    static Skin parseFile(const QString &path);
    // Parses skin text; imageFolder may be empty (no pictures then).
    static Skin parse(const QByteArray &text, const QString &imageFolder = QString());

    // "#rgb", "#rrggbb", "#rrggbbaa", "r,g,b", "r,g,b,a", "none"/"transparent".
    static std::optional<QColor> parseColour(QStringView text);
    // "none", one colour, or stops "colour[@position] > colour[@position] > ...".
    static std::optional<QList<GradientStop>> parseFill(QStringView text);

private:
    using Section = QHash<QString, QString>;
    using Sections = QHash<QString, Section>;

    static Sections readSections(const QByteArray &text);
    static Look defaultLook(Element element, const QColor &base, const QColor &text);
    static void applyKeys(Look &look, const Section &section, const QString &imageFolder);
    static Look derive(const Look &from, State state, const QColor &base);
    static QString pictureFor(const QString &imageFolder, Element element, State state);
};

} // namespace quillet::skin
