#pragma once

#include <QString>

namespace quillet::system {

// Well-known folders of the user's Linux session. Every answer is a path without a
// trailing "/" (the root is "/"), or empty when the session has no such folder. Nothing
// is created. Virtual so that callers can be tested against a fixed layout.
class SpecialFolders
{
public:
    virtual ~SpecialFolders() = default;

    virtual QString documents() const;
    // The folder holding the file manager's bookmarks list, when that list exists.
    virtual QString favourites() const;
    virtual QString desktop() const;
    virtual QString fonts() const;
    // The per-user applications menu: launchers placed here show up in the menu.
    virtual QString applicationsMenu() const;
    virtual QString autostart() const;
    // The per-user data root under which each program keeps its own folder.
    virtual QString applicationData() const;
    virtual QString systemRoot() const;
    virtual QString systemPrograms() const;
    // $TMPDIR when set, else /tmp.
    virtual QString temporary() const;
};

} // namespace quillet::system
