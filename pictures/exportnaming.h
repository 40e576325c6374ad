#pragma once

#include "model/outputgroup.h"

#include <QList>
#include <QString>

namespace quillet::pictures {

using model::OutputGroup;

// Which output groups the user has ticked.
struct ExportOptions
{
    bool buttonStates = false;
    bool comboButton = false;
    bool checkBox = false;
    bool wholeWindow = false;
};

struct ExportImageName
{
    OutputGroup group = OutputGroup::ButtonStates;
    QString stem;
    QString suffix;
    QString fileName; // stem + suffix + extension, no folder
};

// Names of the exported images and the confirmation text that lists them. The caption
// comes straight from the user, so every name is checked before it may become a path.
class ExportNaming
{
public:
    // Longest name most Linux file systems accept, counted in bytes of the file name encoding.
    static constexpr int MaxFileNameBytes = 255;

    static QString confirmationText(
        const ExportOptions &options, const QString &caption, int exportNumber, const QString &extension);
    static QList<ExportImageName> images(
        const ExportOptions &options, const QString &caption, int exportNumber, const QString &extension);
    static QList<ExportImageName> groupImages(
        OutputGroup group, const QString &caption, int exportNumber, const QString &extension);

    static QString stem(OutputGroup group, const QString &caption, int exportNumber);
    static QList<QString> suffixes(OutputGroup group);
    static QString fileName(const QString &stem, const QString &suffix, const QString &extension);

    // The chosen folder with one "/" appended, whatever it already ends with.
    static QString folderPrefix(const QString &folder);

    // True when the name, used as it stands, names a file directly inside a folder and is
    // stored on disk under exactly this name.
    static bool isSafeFileName(const QString &name);
    // folderPrefix(folder) + name, or an empty string when the name is unsafe or there is
    // no folder: such an image is skipped rather than written elsewhere.
    static QString fullPath(const QString &folder, const QString &name);
};

} // namespace quillet::pictures
