#include "catalogue/settingsfile.h"
#include "catalogue/settingslocation.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using quillet::catalogue::SettingsFile;
using quillet::catalogue::SettingsLocation;

namespace {

enum class Sys { Missing, Writable, ReadOnly };
enum class Installed { Missing, Writable, ReadOnly, Folder };

// A program folder and a user folder in a throw-away place; paths listed as read-only
// answer "not writable", since the tests may run as root, who may write anything.
class Layout
{
public:
    Layout(Sys sys, Installed installed, bool withUserFile)
    {
        if (sys != Sys::Missing)
            QDir(m_dir.path()).mkpath(QStringLiteral("program/sys"));
        if (sys == Sys::ReadOnly)
            m_readOnly.insert(program() + QStringLiteral("/sys"));
        if (installed == Installed::Folder)
            QDir(m_dir.path()).mkpath(QStringLiteral("program/sys/setup.dat"));
        else if (installed != Installed::Missing)
            writeAll(installedFile(), "[x]\r\ny=1\r\n");
        if (installed == Installed::ReadOnly)
            m_readOnly.insert(installedFile());
        if (withUserFile) {
            QDir().mkpath(user());
            writeAll(userFile(), "[x]\r\ny=2\r\n");
        }
    }

    QString program() const { return m_dir.path() + QStringLiteral("/program"); }
    QString user() const { return m_dir.path() + QStringLiteral("/config/Quillet"); }
    QString installedFile() const { return program() + QStringLiteral("/sys/setup.dat"); }
    QString userFile() const { return user() + QStringLiteral("/setup.dat"); }
    void markReadOnly(const QString &path) { m_readOnly.insert(path); }

    SettingsLocation::WritableCheck check() const
    {
        return [this](const QString &path) { return QFileInfo::exists(path) && !m_readOnly.contains(path); };
    }

private:
    QTemporaryDir m_dir;
    QSet<QString> m_readOnly;
};

} // namespace

class TestSettingsLocation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void choice_data();
    void choice();
    void withoutUserFolderStaysInInstallation();
    void readOnlyInstallationRemembersSkinPerUser();
    void portableCopyIgnoresUserFile();
    void defaultWritableCheck_data();
    void defaultWritableCheck();
    void defaultUserFolder();
    void staleTemporaries_data();
    void staleTemporaries();
    void writePathClearsTemporariesOfItsChoice();
};

void TestSettingsLocation::initTestCase()
{
    // Keeps the default user folder away from the real configuration.
    QStandardPaths::setTestModeEnabled(true);
}

void TestSettingsLocation::choice_data()
{
    QTest::addColumn<Sys>("sys");
    QTest::addColumn<Installed>("installed");
    QTest::addColumn<bool>("userFile");
    QTest::addColumn<bool>("readsUser");
    QTest::addColumn<bool>("writesUser");

    QTest::newRow("portable, first run") << Sys::Writable << Installed::Missing << false << false << false;
    QTest::newRow("portable, with file") << Sys::Writable << Installed::Writable << false << false << false;
    QTest::newRow("portable, user file elsewhere")
        << Sys::Writable << Installed::Writable << true << false << false;
    QTest::newRow("read-only sys, first run")
        << Sys::ReadOnly << Installed::Missing << false << false << true;
    QTest::newRow("read-only sys, shipped default")
        << Sys::ReadOnly << Installed::ReadOnly << false << false << true;
    QTest::newRow("read-only sys, user file") << Sys::ReadOnly << Installed::ReadOnly << true << true << true;
    QTest::newRow("read-only file in writable sys")
        << Sys::Writable << Installed::ReadOnly << true << true << true;
    QTest::newRow("setup.dat is a folder") << Sys::Writable << Installed::Folder << false << false << true;
    QTest::newRow("no sys folder") << Sys::Missing << Installed::Missing << false << false << true;
    QTest::newRow("no sys folder, user file") << Sys::Missing << Installed::Missing << true << true << true;
}

void TestSettingsLocation::choice()
{
    QFETCH(Sys, sys);
    QFETCH(Installed, installed);
    QFETCH(bool, userFile);
    QFETCH(bool, readsUser);
    QFETCH(bool, writesUser);
    const Layout layout(sys, installed, userFile);

    QCOMPARE(SettingsLocation::readPath(layout.program(), layout.user(), layout.check()),
        readsUser ? layout.userFile() : layout.installedFile());
    QCOMPARE(SettingsLocation::writePath(layout.program(), layout.user(), layout.check()),
        writesUser ? layout.userFile() : layout.installedFile());
    // The user folder appears only when it is where the file goes.
    QCOMPARE(QFileInfo(layout.user()).isDir(), writesUser || userFile);
    QVERIFY(!QFileInfo::exists(layout.program() + QStringLiteral("/sys")) == (sys == Sys::Missing));
}

void TestSettingsLocation::withoutUserFolderStaysInInstallation()
{
    const Layout layout(Sys::ReadOnly, Installed::ReadOnly, false);
    QCOMPARE(SettingsLocation::readPath(layout.program(), QString(), layout.check()), layout.installedFile());
    QCOMPARE(
        SettingsLocation::writePath(layout.program(), QString(), layout.check()), layout.installedFile());
}

void TestSettingsLocation::readOnlyInstallationRemembersSkinPerUser()
{
    Layout layout(Sys::ReadOnly, Installed::Missing, false);
    QVERIFY(writeAll(layout.installedFile(), "[\xC6\xA4\xB7\xF4]\r\n\xB5\xB1\xC7\xB0\xC6\xA4\xB7\xF4=4\r\n"));
    layout.markReadOnly(layout.installedFile());
    const QByteArray shipped = readAll(layout.installedFile());

    // The installation's file is the default until the user has a file of his own.
    QCOMPARE(SettingsFile::readSkinIndex(
                 SettingsLocation::readPath(layout.program(), layout.user(), layout.check())),
        4);
    QVERIFY(SettingsFile::writeSkinIndex(
        SettingsLocation::writePath(layout.program(), layout.user(), layout.check()), 7));
    QCOMPARE(SettingsFile::readSkinIndex(
                 SettingsLocation::readPath(layout.program(), layout.user(), layout.check())),
        7);
    QCOMPARE(readAll(layout.installedFile()), shipped);
    QVERIFY(QFileInfo(layout.userFile()).isFile());
}

void TestSettingsLocation::portableCopyIgnoresUserFile()
{
    const Layout layout(Sys::Writable, Installed::Missing, true);
    QVERIFY(SettingsFile::writeSkinIndex(
        SettingsLocation::writePath(layout.program(), layout.user(), layout.check()), 5));
    QCOMPARE(SettingsFile::readSkinIndex(
                 SettingsLocation::readPath(layout.program(), layout.user(), layout.check())),
        5);
    QCOMPARE(readAll(layout.userFile()), QByteArray("[x]\r\ny=2\r\n"));
}

void TestSettingsLocation::defaultWritableCheck_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("folder");
    QTest::addColumn<QFileDevice::Permissions>("permissions");
    QTest::addColumn<bool>("writable");
    const QFileDevice::Permissions readOnly
        = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    const QFileDevice::Permissions dirReadOnly
        = readOnly | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    QTest::newRow("writable file") << "file" << false << (readOnly | QFileDevice::WriteOwner) << true;
    QTest::newRow("read-only file") << "file" << false << readOnly << false;
    QTest::newRow("writable folder") << "dir" << true << (dirReadOnly | QFileDevice::WriteOwner) << true;
    QTest::newRow("read-only folder") << "dir" << true << dirReadOnly << false;
    QTest::newRow("missing") << "" << false << QFileDevice::Permissions() << false;
}

void TestSettingsLocation::defaultWritableCheck()
{
    QFETCH(QString, name);
    QFETCH(bool, folder);
    QFETCH(QFileDevice::Permissions, permissions);
    QFETCH(bool, writable);
    QTemporaryDir dir;
    const QString path = dir.filePath(name.isEmpty() ? QStringLiteral("absent") : name);
    if (!name.isEmpty()) {
        QVERIFY(folder ? QDir().mkpath(path) : writeAll(path, "x"));
        QVERIFY(QFile::setPermissions(path, permissions));
    }
    QCOMPARE(SettingsLocation::isWritable(path), writable);
    // Lets the temporary folder remove what it holds.
    QFile::setPermissions(path, permissions | QFileDevice::WriteOwner);
}

void TestSettingsLocation::defaultUserFolder()
{
    const QString folder = SettingsLocation::userFolder();
    QVERIFY(!folder.isEmpty());
    QCOMPARE(folder,
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Quillet"));

    // A missing program folder has nothing to write to: the user's file is the choice.
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("gone"));
    QCOMPARE(SettingsLocation::writePath(program), folder + QStringLiteral("/setup.dat"));
    QVERIFY(QFileInfo(folder).isDir());
    QDir(folder).removeRecursively();
}

void TestSettingsLocation::staleTemporaries_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("removed");
    QTest::newRow("temporary") << "setup.dat.AbC123" << true;
    QTest::newRow("temporary, digits") << "setup.dat.000000" << true;
    QTest::newRow("settings file") << "setup.dat" << false;
    QTest::newRow("backup") << "setup.dat.bak" << false;
    QTest::newRow("seven characters") << "setup.dat.AbC1234" << false;
    QTest::newRow("punctuation") << "setup.dat.AbC-23" << false;
    QTest::newRow("other file's temporary") << "Untitled.htm.AbC123" << false;
    QTest::newRow("prefix differs in case") << "Setup.dat.AbC123" << false;
}

void TestSettingsLocation::staleTemporaries()
{
    QFETCH(QString, name);
    QFETCH(bool, removed);
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("setup.dat"));
    QVERIFY(writeAll(settings, "[x]\r\n"));
    QVERIFY(writeAll(dir.filePath(name), "left"));
    QCOMPARE(SettingsLocation::removeStaleTemporaries(settings), removed ? 1 : 0);
    QCOMPARE(QFileInfo::exists(dir.filePath(name)), !removed);
    QVERIFY(QFileInfo::exists(settings));
}

void TestSettingsLocation::writePathClearsTemporariesOfItsChoice()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("elsewhere"));
    QVERIFY(writeAll(target, "keep"));
    const Layout layout(Sys::Writable, Installed::Writable, false);
    const QString sys = layout.program() + QStringLiteral("/sys/");
    QVERIFY(QDir().mkpath(sys + QStringLiteral("setup.dat.Folder")));
    QVERIFY(QFile::link(target, sys + QStringLiteral("setup.dat.Linked")));
    QVERIFY(writeAll(sys + QStringLiteral("setup.dat.x1Y2z3"), "stale"));

    SettingsLocation::writePath(layout.program(), layout.user(), layout.check());
    QVERIFY(!QFileInfo::exists(sys + QStringLiteral("setup.dat.x1Y2z3")));
    // Neither a folder nor a link of a temporary's name is touched, nor what a link points to.
    QVERIFY(QFileInfo(sys + QStringLiteral("setup.dat.Folder")).isDir());
    QVERIFY(QFileInfo(sys + QStringLiteral("setup.dat.Linked")).isSymLink());
    QCOMPARE(readAll(target), QByteArray("keep"));
    QCOMPARE(readAll(layout.installedFile()), QByteArray("[x]\r\ny=1\r\n"));
}

QTEST_GUILESS_MAIN(TestSettingsLocation)
#include "tst_settingslocation.moc"
