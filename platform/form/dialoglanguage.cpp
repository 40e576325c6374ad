#include "platform/form/dialoglanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace quillet::form {

QString DialogLanguage::catalogueFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool DialogLanguage::install()
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return false;
    if (application->findChild<QTranslator *>(QString::fromLatin1(kCatalogue), Qt::FindDirectChildrenOnly))
        return true;
    auto *translator = new QTranslator(application);
    translator->setObjectName(QString::fromLatin1(kCatalogue));
    if (!translator->load(QString::fromLatin1(kCatalogue), catalogueFolder())
        || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

} // namespace quillet::form
