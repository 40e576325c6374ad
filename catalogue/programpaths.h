#pragma once

#include "platform/system/languagechoice.h"

#include <QString>

namespace quillet::catalogue {

// The program's own files, all beside the executable. The settings file's place is
// SettingsLocation's choice.
class ProgramPaths
{
public:
    static QString skinsFolder(const QString &programFolder)
    {
        return programFolder + QStringLiteral("/skins/");
    }
    static QString skinFile(const QString &programFolder, const QString &fileName)
    {
        return skinsFolder(programFolder) + fileName;
    }
    // The local help page in the windows' language.
    static QString localPage(
        const QString &programFolder, system::Language language = system::Language::Chinese)
    {
        return programFolder
            + (language == system::Language::English ? QStringLiteral("/sys/Untitled.en.htm")
                                                     : QStringLiteral("/sys/Untitled.htm"));
    }
};

} // namespace quillet::catalogue
