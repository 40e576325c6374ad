#pragma once

#include "platform/system/languagechoice.h"

#include <QString>

namespace quillet::form {

// The standard dialogs (message box, folder and font dialogs) speak the windows' language:
// Qt's own catalogue of it is loaded, whatever the locale's formats are.
class DialogLanguage
{
public:
    static constexpr auto kCatalogue = "qtbase_zh_CN";
    static constexpr auto kEnglishCatalogue = "qtbase_en";

    // Loads Qt's own catalogue of the language into the application; false when it is not
    // there (the dialogs then stay in Qt's English). Installing twice changes nothing.
    static bool install(system::Language language = system::Language::Chinese);
    // Where the catalogue is looked for.
    static QString catalogueFolder();
};

} // namespace quillet::form
