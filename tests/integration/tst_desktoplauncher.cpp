#include "integration/desktoplauncher.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using quillet::integration::DesktopLauncher;
using quillet::integration::LauncherSettings;
using quillet::integration::ShortcutFields;

namespace {

LauncherSettings untrusted()
{
    LauncherSettings settings;
    settings.markTrusted = false;
    return settings;
}

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestDesktopLauncher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void execArgument_data();
    void execArgument();
    void iconValue_data();
    void iconValue();
    void launcherForAwkwardFolderValidates();
    void earlyFailures_data();
    void earlyFailures();
    void ensureOnDesktop();
    void programIconFollowsTheCopy_data();
    void programIconFollowsTheCopy();
    void existingNamePreventsWriting_data();
    void existingNamePreventsWriting();
    void trustingNeverHangs();
};

void TestDesktopLauncher::execArgument_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << u"/usr/bin/quillet"_s << u"/usr/bin/quillet"_s;
    QTest::newRow("chinese needs no quotes") << u"/opt/工具/quillet"_s << u"/opt/工具/quillet"_s;
    QTest::newRow("space") << u"/opt/my tools/q"_s << u"\"/opt/my tools/q\""_s;
    QTest::newRow("double quote") << u"/a\"b"_s << u"\"/a\\\"b\""_s;
    QTest::newRow("backslash") << u"/a\\b"_s << u"\"/a\\\\b\""_s;
    QTest::newRow("dollar and backtick") << u"/a$b`c"_s << u"\"/a\\$b\\`c\""_s;
    QTest::newRow("single quote quoted, not escaped") << u"/it's"_s << u"\"/it's\""_s;
    QTest::newRow("percent doubled") << u"/100%"_s << u"/100%%"_s;
    QTest::newRow("empty argument kept") << QString() << u"\"\""_s;
}

void TestDesktopLauncher::execArgument()
{
    QFETCH(QString, argument);
    QFETCH(QString, expected);
    QCOMPARE(DesktopLauncher::execArgument(argument), expected);
}

void TestDesktopLauncher::iconValue_data()
{
    QTest::addColumn<QString>("location"); // "-" = left out
    QTest::addColumn<QString>("programIcon");
    QTest::addColumn<QString>("expected");
    QTest::newRow("left out") << u"-"_s << u"quillet"_s << u"quillet"_s;
    QTest::newRow("own target ,0") << u"/opt/q/quillet,0"_s << u"quillet"_s << u"quillet"_s;
    QTest::newRow("own target, given png")
        << u"/opt/q/quillet,0"_s << u"/opt/q/icon 48.png"_s << u"/opt/q/icon 48.png"_s;
    QTest::newRow("image file with index")
        << u"/usr/share/pixmaps/x.png,3"_s << u"quillet"_s << u"/usr/share/pixmaps/x.png"_s;
    QTest::newRow("svg without index") << u"/icons/x.svg"_s << u"quillet"_s << u"/icons/x.svg"_s;
    QTest::newRow("other program") << u"/usr/bin/other,1"_s << u"quillet"_s << u"quillet"_s;
    QTest::newRow("relative image") << u"x.png,0"_s << u"quillet"_s << u"quillet"_s;
    QTest::newRow("comma in folder") << u"/a,b/x.png"_s << u"quillet"_s << u"/a,b/x.png"_s;
}

void TestDesktopLauncher::iconValue()
{
    QFETCH(QString, location);
    QFETCH(QString, programIcon);
    QFETCH(QString, expected);
    ShortcutFields fields;
    fields.targetPath = u"/opt/q/quillet"_s;
    if (location != u"-")
        fields.iconLocation = location;
    LauncherSettings settings;
    settings.programIcon = programIcon;
    QCOMPARE(DesktopLauncher::iconValue(fields, settings), expected);
}

void TestDesktopLauncher::launcherForAwkwardFolderValidates()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString desktop = root.path() + u"/桌面"_s;
    const QString program = root.path() + u"/程序 文件夹/Quillet $1 `x` \\ 50%"_s;
    QVERIFY(QDir().mkpath(desktop));
    QVERIFY(QDir().mkpath(program));

    ShortcutFields fields;
    fields.shortcutPath = desktop + u"/Quillet 3.0.desktop"_s;
    fields.workingFolder = program;
    fields.targetPath = program + u"/quillet"_s;
    fields.description = u"按钮图片制作\n第二行"_s;
    fields.arguments = u"--skin \"深 蓝.an\" 100%"_s;
    fields.hotKey = u"Ctrl+Alt+Q"_s;
    QVERIFY(DesktopLauncher::createShortcut(fields, untrusted()));

    const QString text = readText(fields.shortcutPath);
    QVERIFY(text.startsWith(u"[Desktop Entry]\n"_s));
    const QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    QVERIFY(lines.contains(u"Type=Application"_s));
    QVERIFY(lines.contains(u"Name=Quillet 3.0"_s));
    QVERIFY(lines.contains(u"Terminal=false"_s));
    QVERIFY(lines.contains(u"Icon=quillet"_s));
    QVERIFY(lines.contains(u"X-Quillet-WindowStyle=1"_s));
    QVERIFY(lines.contains(u"X-Quillet-Hotkey=Ctrl+Alt+Q"_s));
    QVERIFY(lines.contains(u"Comment=按钮图片制作\\n第二行"_s));
    QVERIFY(lines.contains(u"Path="_s + QString(program).replace(u"\\"_s, u"\\\\"_s)));
    QVERIFY(lines.contains(u"Exec=\"" + root.path()
        + u"/程序 文件夹/Quillet \\\\$1 \\\\`x\\\\` \\\\\\\\ 50%%/quillet\" --skin \"深 蓝.an\" 100%%"_s));

    const QFileDevice::Permissions mode = QFileInfo(fields.shortcutPath).permissions();
    QVERIFY(mode.testFlag(QFileDevice::ExeOwner));
    QVERIFY(mode.testFlag(QFileDevice::ExeOther));
    QVERIFY(!mode.testFlag(QFileDevice::WriteOther));

    const QString validator = QStandardPaths::findExecutable(u"desktop-file-validate"_s);
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed");
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start(validator, { fields.shortcutPath });
    QVERIFY(validate.waitForFinished(30000));
    const QByteArray output = validate.readAll();
    QVERIFY2(validate.exitCode() == 0, output.constData());
    QVERIFY2(!output.contains("error"), output.constData());
}

void TestDesktopLauncher::earlyFailures_data()
{
    QTest::addColumn<QString>("shortcutName"); // relative to a temporary root; empty = none
    QTest::addColumn<QString>("target");
    QTest::newRow("no shortcut path") << QString() << u"/opt/q/quillet"_s;
    QTest::newRow("desktop folder missing") << u"missing/Quillet 3.0.desktop"_s << u"/opt/q/quillet"_s;
    QTest::newRow("no target") << u"Quillet 3.0.desktop"_s << QString();
}

void TestDesktopLauncher::earlyFailures()
{
    QFETCH(QString, shortcutName);
    QFETCH(QString, target);
    QTemporaryDir root;
    ShortcutFields fields;
    if (!shortcutName.isEmpty())
        fields.shortcutPath = root.path() + u'/' + shortcutName;
    fields.targetPath = target;
    fields.workingFolder = u"/opt/q"_s;
    QVERIFY(!DesktopLauncher::createShortcut(fields, untrusted()));
    QCOMPARE(
        QDir(root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

void TestDesktopLauncher::ensureOnDesktop()
{
    QTemporaryDir root;
    const QString desktop = root.path() + u"/Desktop/"_s;
    const QString launcher = desktop + u"Quillet 3.0.desktop"_s;

    // No desktop folder: nothing is written and the folder is not made.
    DesktopLauncher::ensureOnDesktop(desktop, u"/opt/q"_s, u"quillet"_s, untrusted());
    QVERIFY(!QFileInfo::exists(desktop));

    QVERIFY(QDir().mkpath(desktop));
    DesktopLauncher::ensureOnDesktop(desktop, u"/opt/Q Tools"_s, u"quillet"_s, untrusted());
    const QString text = readText(launcher);
    QVERIFY(text.contains(u"\nExec=\"/opt/Q Tools/quillet\"\n"_s));
    QVERIFY(text.contains(u"\nPath=/opt/Q Tools\n"_s));
    QVERIFY(text.contains(u"\nIcon=quillet\n"_s));
    QVERIFY(!text.contains(u"Comment="_s));
    QVERIFY(!text.contains(u"X-Quillet-Hotkey"_s));

    // Once there it is left alone, even when the program has moved.
    DesktopLauncher::ensureOnDesktop(desktop, u"/elsewhere"_s, u"quillet"_s, untrusted());
    QCOMPARE(readText(launcher), text);

    // Deleted by the user: written again at the next closing.
    QVERIFY(QFile::remove(launcher));
    DesktopLauncher::ensureOnDesktop(desktop.chopped(1), u"/elsewhere"_s, u"quillet"_s, untrusted());
    QVERIFY(readText(launcher).contains(u"\nExec=/elsewhere/quillet\n"_s));

    // An unknown desktop never turns into a launcher in the working folder.
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(root.path()));
    DesktopLauncher::ensureOnDesktop(QString(), u"/opt/q"_s, u"quillet"_s, untrusted());
    QVERIFY(QDir::setCurrent(before));
    QVERIFY(!QFileInfo::exists(root.path() + u"/Quillet 3.0.desktop"_s));
}

void TestDesktopLauncher::programIconFollowsTheCopy_data()
{
    QTest::addColumn<QString>("folderName"); // below a temporary root; empty: the build tree
    QTest::addColumn<bool>("iconBeside");
    QTest::newRow("installed") << u"lib/quillet"_s << false;
    QTest::newRow("portable copy") << u"U 盘/Quillet 50%"_s << true;
    QTest::newRow("build tree") << QString() << true;
}

// A theme name resolves only where the program is installed; a copy that carries its icon
// file points its launcher at that file, and the launcher stays valid.
void TestDesktopLauncher::programIconFollowsTheCopy()
{
    QFETCH(QString, folderName);
    QFETCH(bool, iconBeside);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    QString program = QStringLiteral(QUILLET_BINARY_DIR "/bin");
    if (!folderName.isEmpty()) {
        program = root.path() + u'/' + folderName;
        QVERIFY(QDir().mkpath(program));
        if (iconBeside)
            QVERIFY(QFile::copy(
                QStringLiteral(QUILLET_SOURCE_DIR "/ui/icons/quillet-64.png"), program + u"/quillet.png"_s));
    }
    const QString desktop = root.path() + u"/Desktop"_s;
    QVERIFY(QDir().mkpath(desktop));
    DesktopLauncher::ensureOnDesktop(desktop, program, u"quillet"_s, untrusted());
    const QString launcher = desktop + u"/Quillet 3.0.desktop"_s;
    const QStringList lines = readText(launcher).split(u'\n');
    const QString iconFile = QFileInfo(program + u"/quillet.png"_s).absoluteFilePath();
    if (iconBeside) {
        QVERIFY2(QImage(iconFile).width() > 0, qPrintable(iconFile));
        const QString escaped = QString(iconFile).replace(u"\\"_s, u"\\\\"_s);
        QVERIFY2(lines.contains(u"Icon="_s + escaped), qPrintable(lines.join(u'|')));
    } else {
        QVERIFY2(lines.contains(u"Icon=quillet"_s), qPrintable(lines.join(u'|')));
    }

    const QString validator = QStandardPaths::findExecutable(u"desktop-file-validate"_s);
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed");
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start(validator, { launcher });
    QVERIFY(validate.waitForFinished(30000));
    const QByteArray output = validate.readAll();
    QVERIFY2(validate.exitCode() == 0, output.constData());
    QVERIFY2(!output.contains("error"), output.constData());
}

void TestDesktopLauncher::existingNamePreventsWriting_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("other launcher") << u"launcher"_s;
    QTest::newRow("not a launcher") << u"text"_s;
    QTest::newRow("empty file") << u"empty"_s;
    QTest::newRow("folder") << u"folder"_s;
    QTest::newRow("dangling link") << u"link"_s;
}

void TestDesktopLauncher::existingNamePreventsWriting()
{
    QFETCH(QString, kind);
    QTemporaryDir root;
    const QString desktop = root.path() + u'/';
    const QString path = desktop + u"Quillet 3.0.desktop"_s;
    if (kind == u"launcher")
        writeFile(path, "[Desktop Entry]\nType=Application\nName=Old\nExec=/old/quillet\n");
    else if (kind == u"text")
        writeFile(path, "hello");
    else if (kind == u"empty")
        writeFile(path, QByteArray());
    else if (kind == u"folder")
        QVERIFY(QDir().mkpath(path));
    else
        QVERIFY(QFile::link(root.path() + u"/gone"_s, path));
    const QFileInfo before(path);
    const QByteArray contentBefore = before.isFile() ? readText(path).toUtf8() : QByteArray();

    DesktopLauncher::ensureOnDesktop(desktop, u"/opt/q"_s, u"quillet"_s, untrusted());

    const QFileInfo after(path);
    QCOMPARE(after.isSymLink(), before.isSymLink());
    QCOMPARE(after.isDir(), before.isDir());
    if (after.isFile())
        QCOMPARE(readText(path).toUtf8(), contentBefore);
    QVERIFY(!QFileInfo::exists(root.path() + u"/gone"_s));
}

void TestDesktopLauncher::trustingNeverHangs()
{
    // A stand-in "gio" that never finishes.
    QTemporaryDir bin;
    const QString gio = bin.path() + u"/gio"_s;
    writeFile(gio, "#!/bin/sh\nexec sleep 30\n");
    QVERIFY(QFile::setPermissions(gio, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);

    QTemporaryDir root;
    ShortcutFields fields;
    fields.shortcutPath = root.path() + u"/Quillet 3.0.desktop"_s;
    fields.targetPath = u"/opt/q/quillet"_s;
    LauncherSettings settings;
    settings.trustTimeoutMs = 200;
    QElapsedTimer clock;
    clock.start();
    const bool made = DesktopLauncher::createShortcut(fields, settings);
    const qint64 elapsed = clock.elapsed();
    qputenv("PATH", path);
    QVERIFY(made);
    QVERIFY(QFileInfo::exists(fields.shortcutPath));
    QVERIFY2(elapsed < 10000, QByteArray::number(elapsed).constData());
}

QTEST_GUILESS_MAIN(TestDesktopLauncher)
#include "tst_desktoplauncher.moc"
