#include "pictures/exportnaming.h"

#include "model/statetable.h"

#include <QFile>

namespace quillet::pictures {

using model::StateRow;
namespace states = model::states;

namespace {

constexpr auto NameGap = u"   ";
constexpr auto LineEnd = u"\r\n";

QList<OutputGroup> chosenGroups(const ExportOptions &options)
{
    QList<OutputGroup> groups;
    if (options.buttonStates)
        groups.append(OutputGroup::ButtonStates);
    if (options.comboButton)
        groups.append(OutputGroup::ComboButton);
    if (options.checkBox)
        groups.append(OutputGroup::CheckBox);
    if (options.wholeWindow)
        groups.append(OutputGroup::WholeWindow);
    return groups;
}

} // namespace

QString ExportNaming::stem(OutputGroup group, const QString &caption, int exportNumber)
{
    switch (group) {
    case OutputGroup::ButtonStates:
        return caption;
    case OutputGroup::ComboButton:
        return QStringLiteral("组合") + QString::number(exportNumber);
    case OutputGroup::CheckBox:
        return QStringLiteral("选择") + QString::number(exportNumber);
    case OutputGroup::WholeWindow:
        return QStringLiteral("窗口全图") + QString::number(exportNumber);
    }
    return {};
}

QList<QString> ExportNaming::suffixes(OutputGroup group)
{
    if (group == OutputGroup::WholeWindow)
        return { QString() };
    QList<QString> result;
    for (const StateRow &row : states::designerFiles(group, false))
        result.append(row.suffix.toString());
    return result;
}

QString ExportNaming::fileName(const QString &stem, const QString &suffix, const QString &extension)
{
    return stem + suffix + extension;
}

QList<ExportImageName> ExportNaming::groupImages(
    OutputGroup group, const QString &caption, int exportNumber, const QString &extension)
{
    const QString groupStem = stem(group, caption, exportNumber);
    QList<ExportImageName> result;
    for (const QString &suffix : suffixes(group))
        result.append({ group, groupStem, suffix, fileName(groupStem, suffix, extension) });
    return result;
}

QList<ExportImageName> ExportNaming::images(
    const ExportOptions &options, const QString &caption, int exportNumber, const QString &extension)
{
    QList<ExportImageName> result;
    for (OutputGroup group : chosenGroups(options))
        result.append(groupImages(group, caption, exportNumber, extension));
    return result;
}

QString ExportNaming::confirmationText(
    const ExportOptions &options, const QString &caption, int exportNumber, const QString &extension)
{
    QString text;
    for (OutputGroup group : chosenGroups(options)) {
        const QList<ExportImageName> names = groupImages(group, caption, exportNumber, extension);
        switch (group) {
        case OutputGroup::ButtonStates:
            // Four names on two lines of two.
            text += names[0].fileName + NameGap + names[1].fileName + LineEnd;
            text += names[2].fileName + NameGap + names[3].fileName + LineEnd;
            break;
        case OutputGroup::ComboButton:
        case OutputGroup::CheckBox:
            text += names[0].fileName + NameGap + names[1].fileName + NameGap + names[2].fileName + LineEnd;
            break;
        case OutputGroup::WholeWindow:
            text += names[0].fileName;
            break;
        }
    }
    return text;
}

QString ExportNaming::folderPrefix(const QString &folder)
{
    return folder + u'/';
}

bool ExportNaming::isSafeFileName(const QString &name)
{
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    for (const QChar c : name) {
        // Separators and NUL would change where the file lands; control characters make a
        // name the user cannot read back in the confirmation list.
        if (c == u'/' || c.category() == QChar::Other_Control)
            return false;
    }
    const QByteArray encoded = QFile::encodeName(name);
    if (encoded.size() > MaxFileNameBytes)
        return false;
    // Text the encoding cannot carry (unpaired surrogates) would be written under a
    // substituted name that the list never showed.
    return QFile::decodeName(encoded) == name;
}

QString ExportNaming::fullPath(const QString &folder, const QString &name)
{
    if (folder.isEmpty() || !isSafeFileName(name))
        return {};
    return folderPrefix(folder) + name;
}

} // namespace quillet::pictures
