#pragma once

#include <QString>

namespace quillet::form {

// The standard dialogs (message box, folder and font dialogs) speak the program's language,
// Simplified Chinese, whatever the locale the program was started in.
class DialogLanguage
{
public:
    static constexpr auto kCatalogue = "qtbase_zh_CN";

    // Loads Qt's own Chinese catalogue into the application; false when it is not there
    // (the dialogs then stay in Qt's English). Installing twice changes nothing.
    static bool install();
    // Where the catalogue is looked for.
    static QString catalogueFolder();
};

} // namespace quillet::form
