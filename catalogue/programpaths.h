#pragma once

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
    static QString localPage(const QString &programFolder)
    {
        return programFolder + QStringLiteral("/sys/Untitled.htm");
    }
};

} // namespace quillet::catalogue
