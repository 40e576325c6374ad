#include "platform/system/languagechoice.h"

#include <QRegularExpression>
#include <QStringList>
#include <QtGlobal>

#include <optional>

namespace quillet::system {

namespace {

// "en", "en_GB", "en_US.UTF-8", "en@quot": the language code ends at the first separator.
std::optional<Language> known(const QString &preference)
{
    const QString code = preference.section(QRegularExpression(QStringLiteral("[_.@-]")), 0, 0).toLower();
    if (code == u"en")
        return Language::English;
    if (code == u"zh")
        return Language::Chinese;
    return std::nullopt;
}

} // namespace

Language LanguageChoice::fromVariables(const QString &language, const QString &lang)
{
    QStringList preferences = language.split(u':', Qt::SkipEmptyParts);
    preferences.append(lang);
    for (const QString &preference : preferences) {
        if (const std::optional<Language> found = known(preference.trimmed()))
            return *found;
    }
    return Language::Chinese;
}

Language LanguageChoice::ofProcess()
{
    return fromVariables(qEnvironmentVariable("LANGUAGE"), qEnvironmentVariable("LANG"));
}

} // namespace quillet::system
