#pragma once

#include <QString>

class QWidget;

namespace quillet::system {

// The folder dialog: folders and files are listed, a folder or a file may be picked and
// a path may be typed.
class QtFolderDialog
{
public:
    // The chosen path, or an empty string when the dialog was cancelled or closed.
    static QString run(QWidget *owner, const QString &start, const QString &title);
};

} // namespace quillet::system
