#pragma once

#include "support/programfolder.h"

#include <QFileInfo>
#include <QStringList>

// Which shipped skins a pixel-heavy check takes. A property of the skins themselves (a
// caption that reads, a kit that rebuilds the renderer) holds for every skin in the
// optimised build; the sanitizer build, some fifteen times slower, looks for faults of the
// code and not of the skins, and three kinds of face (drawn, from pictures, bevelled with a
// dotted focus ring) take every path of it.
namespace testedskins {

inline QStringList representative()
{
    return { QStringLiteral("Flat"), QStringLiteral("翡翠"), QStringLiteral("经典") };
}

inline bool sanitized()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#else
    return false;
#endif
}

// Skin names (no ".an").
inline QStringList forPixels()
{
    if (sanitized())
        return representative();
    QStringList names;
    for (const QString &file : ProgramFolder::shippedSkinNames())
        names << QFileInfo(file).completeBaseName();
    return names;
}

inline bool takes(const QString &name)
{
    return !sanitized() || representative().contains(name);
}

// Whether a hand run asks for every shipped skin ("all" in the variable), to print each one's
// figures.
inline bool allAsked(const char *variable)
{
    return qEnvironmentVariable(variable) == QStringLiteral("all");
}

// Every shipped skin for a hand run that asks for all, else the representative three.
inline QStringList representativeOrAll(const char *variable)
{
    if (!allAsked(variable))
        return representative();
    QStringList names;
    for (const QString &file : ProgramFolder::shippedSkinNames())
        names << QFileInfo(file).completeBaseName();
    return names;
}

} // namespace testedskins
