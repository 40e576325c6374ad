#include "platform/form/dialoglanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace quillet::form {

QString DialogLanguage::catalogueFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool DialogLanguage::install(system::Language language)
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return false;
    const QString catalogue
        = QString::fromLatin1(language == system::Language::English ? kEnglishCatalogue : kCatalogue);
    if (application->findChild<QTranslator *>(catalogue, Qt::FindDirectChildrenOnly))
        return true;
    auto *translator = new QTranslator(application);
    translator->setObjectName(catalogue);
    if (!translator->load(catalogue, catalogueFolder())) {
        delete translator;
        return false;
    }
    // Qt's texts are written in English: its English catalogue holds no message, and Qt
    // refuses to install an empty one.
    if (translator->isEmpty()) {
        delete translator;
        return true;
    }
    if (!QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

} // namespace quillet::form
