#include "platform/system/qtfolderdialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

namespace quillet::system {

namespace {

// QFileDialog in directory mode lists files but refuses to return one; picking a file
// is allowed here, so its path is taken as the answer.
class FilePickingDialog : public QFileDialog
{
public:
    using QFileDialog::QFileDialog;

    QString picked() const { return m_picked; }

    void accept() override
    {
        const QString first = selectedFiles().value(0);
        if (!first.isEmpty() && QFileInfo(first).isFile()) {
            m_picked = first;
            QDialog::accept();
            return;
        }
        QFileDialog::accept();
    }

    // The dialog disables its accept button whenever a file is selected; enable it again
    // after the dialog's own update has run.
    void allowFiles()
    {
        auto *buttons = findChild<QDialogButtonBox *>();
        auto *edit = findChild<QLineEdit *>();
        if (!buttons || !edit)
            return;
        auto reenable = [this, buttons] {
            QPushButton *button = buttons->button(QDialogButtonBox::Open);
            if (!button)
                button = buttons->button(QDialogButtonBox::Save);
            const QString first = selectedFiles().value(0);
            if (button && !first.isEmpty() && QFileInfo(first).isFile())
                button->setEnabled(true);
        };
        connect(edit, &QLineEdit::textChanged, this, reenable, Qt::QueuedConnection);
        connect(this, &QFileDialog::currentChanged, this, reenable, Qt::QueuedConnection);
    }

private:
    QString m_picked;
};

} // namespace

QString QtFolderDialog::run(QWidget *owner, const QString &start, const QString &title)
{
    FilePickingDialog dialog(owner, title, start);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::ShowDirsOnly, false);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setWindowTitle(title);
    if (!start.isEmpty())
        dialog.setDirectory(start);
    dialog.allowFiles();
    if (dialog.exec() != QDialog::Accepted)
        return {};
    if (!dialog.picked().isEmpty())
        return dialog.picked();
    return dialog.selectedFiles().value(0);
}

} // namespace quillet::system
