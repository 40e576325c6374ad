#include "output/outputfolder.h"
#include "platform/form/dialogs.h"
#include "platform/system/qtfolderdialog.h"
#include "platform/system/specialfolders.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

using namespace Qt::StringLiterals;
using quillet::output::BrowseMemory;
using quillet::output::OutputFolder;

namespace {

class FixedFolders : public quillet::system::SpecialFolders
{
public:
    QString documents() const override { return u"/home/u/文档"_s; }
    QString favourites() const override { return {}; }
    QString desktop() const override { return u"/home/u/桌面//"_s; }
    QString fonts() const override { return u"/home/u/.local/share/fonts"_s; }
    QString applicationsMenu() const override { return u"/home/u/.local/share/applications"_s; }
    QString autostart() const override { return u"/home/u/.config/autostart/"_s; }
    QString applicationData() const override { return u"/home/u/.local/share"_s; }
    QString temporary() const override { return u"/var/tmp/u"_s; }
};

class ScriptedDialogs : public quillet::form::Dialogs
{
public:
    QString answer;
    QWidget *seenOwner = nullptr;
    QString seenStart;
    QString seenTitle;
    int folderCalls = 0;

    bool confirm(QWidget *, const QString &, const QString &) override { return false; }
    FontChoice chooseFont(QWidget *, const QFont &, int cancelledSize) override
    {
        return { {}, cancelledSize };
    }
    QColor chooseColour(QWidget *, const QColor &) override { return {}; }
    QString chooseIconFile(QWidget *, const QString &, const QString &) override { return {}; }
    QString chooseFolder(QWidget *owner, const QString &startFolder, const QString &title) override
    {
        ++folderCalls;
        seenOwner = owner;
        seenStart = startFolder;
        seenTitle = title;
        return answer;
    }
};

QFileDialog *openFileDialog()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<QFileDialog *>(widget); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

// Runs the folder dialog and acts on it once it is open.
QString runDialog(const QString &start, const QString &title, std::function<void(QFileDialog *)> act,
    QString *seenTitle = nullptr, QString *seenDirectory = nullptr)
{
    QWidget owner;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QFileDialog *dialog = openFileDialog();
        if (!dialog)
            return;
        poll.stop();
        if (seenTitle)
            *seenTitle = dialog->windowTitle();
        if (seenDirectory)
            *seenDirectory = dialog->directory().absolutePath();
        act(dialog);
    });
    poll.start();
    return quillet::system::QtFolderDialog::run(&owner, start, title);
}

// Types a name into the dialog's name field, as a user does, and presses the accept button.
std::function<void(QFileDialog *)> typeAndAccept(const QString &text)
{
    return [text](QFileDialog *dialog) {
        auto *edit = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
        if (!edit) {
            dialog->reject();
            return;
        }
        edit->setText(text);
        QMetaObject::invokeMethod(dialog, "accept");
    };
}

} // namespace

class TestOutputFolder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void kinds_data();
    void kinds();
    void sessionFolders();
    void windowsFolder();
    void browse_data();
    void browse();
    void browseKeepsRealTrailingBlank();
    void dialogCancel();
    void dialogPicksFolderAndFile();
};

void TestOutputFolder::kinds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("expected");
    QTest::newRow("0") << 0 << QString();
    QTest::newRow("documents") << 1 << u"/home/u/文档/"_s;
    QTest::newRow("favourites absent") << 2 << QString();
    QTest::newRow("desktop, one slash") << 3 << u"/home/u/桌面/"_s;
    QTest::newRow("fonts") << 4 << u"/home/u/.local/share/fonts/"_s;
    QTest::newRow("start menu") << 5 << u"/home/u/.local/share/applications/"_s;
    QTest::newRow("start menu programs") << 6 << u"/home/u/.local/share/applications/"_s;
    QTest::newRow("autostart") << 7 << u"/home/u/.config/autostart/"_s;
    QTest::newRow("application data") << 8 << u"/home/u/.local/share/"_s;
    QTest::newRow("system root") << 9 << u"/"_s;
    QTest::newRow("system programs") << 10 << u"/usr/bin/"_s;
    QTest::newRow("temporary") << 11 << u"/var/tmp/u/"_s;
    QTest::newRow("12") << 12 << QString();
    QTest::newRow("negative") << -3 << QString();
}

void TestOutputFolder::kinds()
{
    QFETCH(int, kind);
    QFETCH(QString, expected);
    QCOMPARE(OutputFolder::GetSpecialFolder(kind, FixedFolders()), expected);
}

void TestOutputFolder::sessionFolders()
{
    QTemporaryDir home;
    QVERIFY(home.isValid());
    const QString config = home.path() + u"/config"_s;
    const QString data = home.path() + u"/data"_s;
    const QString tmp = home.path() + u"/tmp"_s;
    QVERIFY(QDir().mkpath(config + u"/gtk-3.0"_s));
    QVERIFY(QDir().mkpath(tmp));
    QFile userDirs(config + u"/user-dirs.dirs"_s);
    QVERIFY(userDirs.open(QIODevice::WriteOnly));
    userDirs.write("XDG_DESKTOP_DIR=\"$HOME/\xe6\xa1\x8c\xe9\x9d\xa2\"\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n");
    userDirs.close();

    struct EnvGuard
    {
        QList<QByteArray> names { "HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "TMPDIR" };
        QList<std::optional<QByteArray>> saved;
        EnvGuard()
        {
            for (const QByteArray &name : names)
                saved << (qEnvironmentVariableIsSet(name.constData())
                        ? std::optional(qgetenv(name.constData()))
                        : std::nullopt);
        }
        ~EnvGuard()
        {
            for (qsizetype i = 0; i < names.size(); ++i) {
                if (saved[i])
                    qputenv(names[i].constData(), *saved[i]);
                else
                    qunsetenv(names[i].constData());
            }
        }
    } guard;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    qputenv("XDG_DATA_HOME", QFile::encodeName(data));
    qputenv("TMPDIR", QFile::encodeName(tmp));

    QCOMPARE(OutputFolder::GetSpecialFolder(3), home.path() + u"/桌面/"_s);
    QCOMPARE(OutputFolder::GetSpecialFolder(1), home.path() + u"/Docs/"_s);
    QCOMPARE(OutputFolder::GetSpecialFolder(4), data + u"/fonts/"_s);
    QCOMPARE(OutputFolder::GetSpecialFolder(6), data + u"/applications/"_s);
    QCOMPARE(OutputFolder::GetSpecialFolder(7), config + u"/autostart/"_s);
    QCOMPARE(OutputFolder::GetSpecialFolder(8), data + u"/"_s);
    QCOMPARE(OutputFolder::GetSpecialFolder(11), tmp + u"/"_s);
    // Nothing is created by asking.
    QVERIFY(!QFileInfo::exists(home.path() + u"/桌面"_s));
    QVERIFY(!QFileInfo::exists(data + u"/fonts"_s));

    QCOMPARE(OutputFolder::GetSpecialFolder(2), QString());
    QFile bookmarks(config + u"/gtk-3.0/bookmarks"_s);
    QVERIFY(bookmarks.open(QIODevice::WriteOnly));
    bookmarks.close();
    QCOMPARE(OutputFolder::GetSpecialFolder(2), config + u"/gtk-3.0/"_s);
}

void TestOutputFolder::windowsFolder()
{
    QCOMPARE(OutputFolder::GetWindowsFolder(), u"/"_s);
    QCOMPARE(OutputFolder::GetSpecialFolder(9), u"/"_s);
    QCOMPARE(OutputFolder::GetSpecialFolder(10), u"/usr/bin/"_s);
}

void TestOutputFolder::browse_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("withTitle");
    QTest::addColumn<QString>("expected");
    QTest::newRow("default title, cancel") << QString() << false << QString();
    QTest::newRow("given title") << u"/nonexistent/目录"_s << true << u"/nonexistent/目录"_s;
    QTest::newRow("blanks trimmed") << u"  /nonexistent/a b  "_s << true << u"/nonexistent/a b"_s;
    QTest::newRow("only blanks") << u"   "_s << true << QString();
}

void TestOutputFolder::browse()
{
    QFETCH(QString, answer);
    QFETCH(bool, withTitle);
    QFETCH(QString, expected);

    ScriptedDialogs dialogs;
    dialogs.answer = answer;
    BrowseMemory memory;
    QWidget owner;
    const QString title = u"请选择图片保存的目录！"_s;
    const QString result = withTitle
        ? OutputFolder::BrowseForFolder(dialogs, memory, &owner, u"/home/u/桌面/"_s, title)
        : OutputFolder::BrowseForFolder(dialogs, memory, &owner, u"/home/u/桌面/"_s);
    QCOMPARE(result, expected);
    QCOMPARE(dialogs.folderCalls, 1);
    QCOMPARE(dialogs.seenTitle, withTitle ? title : u"请选择一个文件夹"_s);
    QCOMPARE(dialogs.seenStart, u"/home/u/桌面/"_s);
    QCOMPARE(dialogs.seenOwner, &owner);
    // Remembered even when the user cancels.
    QCOMPARE(memory.owner, &owner);
    QCOMPARE(memory.initialFolder, u"/home/u/桌面/"_s);
}

void TestOutputFolder::browseKeepsRealTrailingBlank()
{
    QTemporaryDir root;
    const QString blankEnded = root.path() + u"/out "_s;
    QVERIFY(QDir().mkpath(blankEnded));
    ScriptedDialogs dialogs;
    dialogs.answer = blankEnded;
    BrowseMemory memory;
    QCOMPARE(OutputFolder::BrowseForFolder(dialogs, memory, nullptr, root.path()), blankEnded);
}

void TestOutputFolder::dialogCancel()
{
    QTemporaryDir root;
    QString title;
    QString directory;
    const QString result = runDialog(
        root.path(), u"请选择图片保存的目录！"_s, [](QFileDialog *dialog) { dialog->reject(); }, &title,
        &directory);
    QCOMPARE(result, QString());
    QCOMPARE(title, u"请选择图片保存的目录！"_s);
    QCOMPARE(directory, QDir(root.path()).absolutePath());
}

void TestOutputFolder::dialogPicksFolderAndFile()
{
    QTemporaryDir root;
    QVERIFY(QDir().mkpath(root.path() + u"/图片 目录"_s));
    QFile file(root.path() + u"/note.txt"_s);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    QCOMPARE(runDialog(root.path(), u"t"_s, typeAndAccept(u"图片 目录"_s)), root.path() + u"/图片 目录"_s);
    QCOMPARE(runDialog(root.path(), u"t"_s, typeAndAccept(u"note.txt"_s)), root.path() + u"/note.txt"_s);
    // The accept button stays usable when a file is named, so a person can pick it too.
    bool buttonEnabled = false;
    runDialog(root.path(), u"t"_s, [&](QFileDialog *dialog) {
        auto *edit = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
        auto *buttons = dialog->findChild<QDialogButtonBox *>();
        if (edit && buttons) {
            edit->setText(u"note.txt"_s);
            QCoreApplication::processEvents();
            buttonEnabled = buttons->button(QDialogButtonBox::Open)->isEnabled();
        }
        dialog->reject();
    });
    QVERIFY(buttonEnabled);
    // A full path typed in is taken as it stands.
    QCOMPARE(runDialog(root.path(), u"t"_s, typeAndAccept(root.path() + u"/图片 目录"_s)),
        root.path() + u"/图片 目录"_s);
}

QTEST_MAIN(TestOutputFolder)
#include "tst_outputfolder.moc"
