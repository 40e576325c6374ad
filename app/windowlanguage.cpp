#include "app/windowlanguage.h"

#include "platform/form/dialoglanguage.h"

#include <QCoreApplication>
#include <QTranslator>

namespace quillet::app {

bool WindowLanguage::install(system::Language language)
{
    const bool dialogs = form::DialogLanguage::install(language);
    QCoreApplication *application = QCoreApplication::instance();
    if (language != system::Language::English || !application)
        return dialogs && application;
    const QString name = QString::fromLatin1(kEnglishCatalogue);
    if (application->findChild<QTranslator *>(name, Qt::FindDirectChildrenOnly))
        return dialogs;
    auto *translator = new QTranslator(application);
    translator->setObjectName(name);
    if (!translator->load(name) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return dialogs;
}

} // namespace quillet::app
