#include "catalogue/settingsfile.h"
#include "support/smalltmpfs.h"
#include "support/testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using quillet::catalogue::SettingsFile;
using namespace Qt::StringLiterals;

// GBK bytes of 皮肤 (section) and 当前皮肤 (key), as a Windows program writes them.
#define SEC "\xC6\xA4\xB7\xF4"
#define KEY "\xB5\xB1\xC7\xB0\xC6\xA4\xB7\xF4"
// 强调色 (the accent's key).
#define ACCENT "\xC7\xBF\xB5\xF7\xC9\xAB"

namespace {

constexpr int kMaxInt = std::numeric_limits<int>::max();
constexpr int kMinInt = std::numeric_limits<int>::min();

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void toIndex_data();
    void toIndex();
    void readSkinIndex_data();
    void readSkinIndex();
    void writeKeepsTheRest_data();
    void writeKeepsTheRest();
    void otherTextFormsReadAndKept_data();
    void otherTextFormsReadAndKept();
    void writeReadRoundTrip_data();
    void writeReadRoundTrip();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();
    void missingSysFolderIsNotCreated();
    void accent_data();
    void accent();
};

void TestSettingsFile::toIndex_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");
    QTest::newRow("integer") << "3" << 3;
    QTest::newRow("fraction cut") << "3.9" << 3;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("letters") << "abc" << 0;
    QTest::newRow("leading number") << "12abc" << 12;
    QTest::newRow("negative") << "-2" << -2;
    QTest::newRow("negative fraction toward zero") << "-0.7" << 0;
    QTest::newRow("plus sign") << "+4" << 4;
    QTest::newRow("leading spaces") << "  7" << 7;
    QTest::newRow("exponent is not part") << "1e3" << 1;
    QTest::newRow("fraction only") << ".9" << 0;
    QTest::newRow("sign only") << "-" << 0;
    QTest::newRow("leading zeros") << "0005" << 5;
    QTest::newRow("int max") << "2147483647" << kMaxInt;
    QTest::newRow("just above int max") << "2147483648" << kMaxInt;
    QTest::newRow("int min") << "-2147483648" << kMinInt;
    QTest::newRow("just below int min") << "-2147483649" << kMinInt;
    QTest::newRow("huge") << QString(400, u'9') << kMaxInt;
    QTest::newRow("huge negative") << QString(u'-' + QString(400, u'9')) << kMinInt;
    QTest::newRow("full-width digit") << QStringLiteral("３") << 0;
}

void TestSettingsFile::toIndex()
{
    QFETCH(QString, text);
    QFETCH(int, index);
    QCOMPARE(SettingsFile::toIndex(text), index);
}

void TestSettingsFile::readSkinIndex_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("index");
    QTest::newRow("as written by windows")
        << QByteArray("[other]\r\nx=1\r\n\r\n[" SEC "]\r\n" KEY "=3\r\n") << 3;
    QTest::newRow("spaces around =") << QByteArray("[" SEC "]\r\n" KEY " = 4\r\n") << 4;
    QTest::newRow("stored 3.9") << QByteArray("[" SEC "]\r\n" KEY "=3.9\r\n") << 3;
    QTest::newRow("empty value") << QByteArray("[" SEC "]\r\n" KEY "=\r\n") << 0;
    QTest::newRow("missing key") << QByteArray("[" SEC "]\r\nother=3\r\n") << 0;
    QTest::newRow("key in another section") << QByteArray("[x]\r\n" KEY "=3\r\n") << 0;
    QTest::newRow("letters") << QByteArray("[" SEC "]\r\n" KEY "=blue\r\n") << 0;
    QTest::newRow("negative") << QByteArray("[" SEC "]\r\n" KEY "=-2\r\n") << -2;
    QTest::newRow("exponent") << QByteArray("[" SEC "]\r\n" KEY "=1e3\r\n") << 1;
    QTest::newRow("huge") << QByteArray("[" SEC "]\r\n" KEY "=99999999999999999999\r\n") << kMaxInt;
    QTest::newRow("comment and quotes")
        << QByteArray(";x\r\n[" SEC "]\r\n;" KEY "=1\r\n" KEY "=\"6\"\r\n") << 6;
    QTest::newRow("no final newline") << QByteArray("[" SEC "]\n" KEY "=8") << 8;
    QTest::newRow("binary garbage") << QByteArray("\0\xFF\xFE\x81[", 5) << 0;
}

void TestSettingsFile::readSkinIndex()
{
    QFETCH(QByteArray, content);
    QFETCH(int, index);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("setup.dat");
    QVERIFY(writeAll(path, content));
    QCOMPARE(SettingsFile::readSkinIndex(path), index);
}

void TestSettingsFile::writeKeepsTheRest_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    const QByteArray head("; settings\r\n[window]\r\nleft = 10\r\n\r\n");
    const QByteArray tail("\r\n[" SEC "2]\r\n" KEY "=1\r\n");
    QTest::newRow("value replaced") << QByteArray(head + "[" SEC "]\r\n" KEY " = 2\r\nx=y\r\n" + tail)
                                    << QByteArray(head + "[" SEC "]\r\n" KEY " = 5\r\nx=y\r\n" + tail);
    QTest::newRow("key added") << QByteArray(head + "[" SEC "]\r\nx=y\r\n" + tail)
                               << QByteArray(head + "[" SEC "]\r\nx=y\r\n" KEY "=5\r\n" + tail);
    QTest::newRow("section added") << QByteArray(head) << QByteArray(head + "[" SEC "]\r\n" KEY "=5\r\n");
    QTest::newRow("new file") << QByteArray() << QByteArray("[" SEC "]\r\n" KEY "=5\r\n");
}

void TestSettingsFile::writeKeepsTheRest()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("setup.dat");
    if (!before.isEmpty())
        QVERIFY(writeAll(path, before));
    QVERIFY(SettingsFile::writeSkinIndex(path, 5));
    QCOMPARE(readAll(path), after);
    QCOMPARE(SettingsFile::readSkinIndex(path), 5);
}

// Files a Windows editor saves: "Unicode" (UTF-16 with a mark), UTF-8 with a mark, and old
// Mac line ends. Read as the Windows functions read them; a write keeps the file's form.
void TestSettingsFile::otherTextFormsReadAndKept_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QByteArray>("after");
    const QString other = QStringLiteral("; 设置\r\n[窗口]\r\n左 = 10\r\n\r\n");
    QTest::newRow("utf-16le") << utf16(other + u"[皮肤]\r\n当前皮肤=3\r\n[x]\r\ny=1\r\n") << 3
                              << utf16(other + u"[皮肤]\r\n当前皮肤=5\r\n[x]\r\ny=1\r\n");
    QTest::newRow("utf-16le cr only")
        << utf16(u"[皮肤]\r当前皮肤=2\r"_s) << 2 << utf16(u"[皮肤]\r当前皮肤=5\r"_s);
    QTest::newRow("utf-16be") << utf16(u"[皮肤]\n当前皮肤=4\n"_s, true) << 4
                              << utf16(u"[皮肤]\n当前皮肤=5\n"_s, true);
    QTest::newRow("utf-16le key added")
        << utf16(u"[皮肤]\r\nx=1\r\n"_s) << 0 << utf16(u"[皮肤]\r\nx=1\r\n当前皮肤=5\r\n"_s);
    QTest::newRow("utf-16le no final line end")
        << utf16(u"[a]\r\nb=1"_s) << 0 << utf16(u"[a]\r\nb=1\r\n[皮肤]\r\n当前皮肤=5\r\n"_s);
    QTest::newRow("gbk cr only") << QByteArray("[x]\ry=1\r[" SEC "]\r" KEY " = 7\rz=2\r") << 7
                                 << QByteArray("[x]\ry=1\r[" SEC "]\r" KEY " = 5\rz=2\r");
    QTest::newRow("gbk cr only, section added")
        << QByteArray("[x]\ry=1") << 0 << QByteArray("[x]\ry=1\r[" SEC "]\r" KEY "=5\r");
    QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBF[皮肤]\r\n当前皮肤=6\r\n其他=1\r\n") << 6
                               << QByteArray("\xEF\xBB\xBF[皮肤]\r\n当前皮肤=5\r\n其他=1\r\n");
}

void TestSettingsFile::otherTextFormsReadAndKept()
{
    QFETCH(QByteArray, before);
    QFETCH(int, stored);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("setup.dat");
    QVERIFY(writeAll(path, before));
    QCOMPARE(SettingsFile::readSkinIndex(path), stored);
    QVERIFY(SettingsFile::writeSkinIndex(path, 5));
    QCOMPARE(readAll(path), after);
    QCOMPARE(SettingsFile::readSkinIndex(path), 5);
}

void TestSettingsFile::writeReadRoundTrip_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("zero") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("negative") << -7;
    QTest::newRow("int max") << kMaxInt;
    QTest::newRow("int min") << kMinInt;
}

void TestSettingsFile::writeReadRoundTrip()
{
    QFETCH(int, index);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("setup.dat");
    QVERIFY(SettingsFile::writeSkinIndex(path, 9));
    QVERIFY(SettingsFile::writeSkinIndex(path, index));
    QCOMPARE(SettingsFile::readSkinIndex(path), index);
    QCOMPARE(readAll(path), QByteArray("[" SEC "]\r\n" KEY "=" + QByteArray::number(index) + "\r\n"));
}

enum Refusal { ReadOnlyFile, FullDisk, ReadOnlyDisk };

void TestSettingsFile::failedWriteKeepsOldFile_data()
{
    QTest::addColumn<int>("refusal");
    QTest::newRow("read-only file") << int(ReadOnlyFile);
    QTest::newRow("full disk") << int(FullDisk);
    QTest::newRow("read-only disk") << int(ReadOnlyDisk);
}

// The write reports failure and the old file keeps every byte, with nothing beside it.
void TestSettingsFile::failedWriteKeepsOldFile()
{
    QFETCH(int, refusal);
    QTemporaryDir dir;
    SmallTmpfs disk;
    if (refusal != ReadOnlyFile && !disk.mounted)
        QSKIP(qPrintable(disk.error));
    const QString path = (refusal == ReadOnlyFile ? dir.path() : disk.path()) + u"/setup.dat"_s;
    QByteArray old("[" SEC "]\r\n" KEY "=3\r\n[recent]\r\n");
    for (int i = 0; i < 200; ++i)
        old += "entry" + QByteArray::number(i) + "=/home/user/buttons\r\n";
    QVERIFY(writeAll(path, old));
    if (refusal == ReadOnlyFile)
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    if (refusal == FullDisk)
        QVERIFY(disk.fill(u"filler"_s) > 0);
    if (refusal == ReadOnlyDisk)
        QVERIFY(disk.makeReadOnly());
    const QStringList before = tree(QFileInfo(path).path());
    QVERIFY(!SettingsFile::writeSkinIndex(path, 12));
    QCOMPARE(readAll(path), old);
    QCOMPARE(tree(QFileInfo(path).path()), before);
}

void TestSettingsFile::missingSysFolderIsNotCreated()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("sys/setup.dat");
    QCOMPARE(SettingsFile::readSkinIndex(path), 0);
    QVERIFY(!SettingsFile::writeSkinIndex(path, 5));
    QVERIFY(!QFileInfo::exists(dir.filePath("sys")));
}

void TestSettingsFile::accent_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("stored"); // empty: no accent
    QTest::addColumn<QString>("chosen"); // written over it; empty: none
    QTest::addColumn<bool>("rewritten");
    const QByteArray head("[" SEC "]\r\n" KEY "=2\r\n");
    QTest::newRow("as written") << QByteArray(head + ACCENT "=#1565c0\r\n") << u"#1565c0"_s << u"#1565c0"_s
                                << false;
    QTest::newRow("upper case") << QByteArray(head + ACCENT " = #1565C0\r\n") << u"#1565c0"_s << u"#d32f2f"_s
                                << true;
    QTest::newRow("none stored, none chosen") << head << QString() << QString() << false;
    QTest::newRow("dropped") << QByteArray(head + ACCENT "=#1565c0\r\n") << u"#1565c0"_s << QString() << true;
    QTest::newRow("short form not guessed") << QByteArray(head + ACCENT "=#15c\r\n") << QString() << QString()
                                            << false;
    QTest::newRow("a name") << QByteArray(head + ACCENT "=red\r\n") << QString() << u"#ff0000"_s << true;
    QTest::newRow("alpha") << QByteArray(head + ACCENT "=#ff1565c0\r\n") << QString() << QString() << false;
    QTest::newRow("not hex") << QByteArray(head + ACCENT "=#1565cg\r\n") << QString() << QString() << false;
    QTest::newRow("wide digits") << QByteArray(head + ACCENT "=#\xA3\xB1\xA3\xB1\xA3\xB1\r\n") << QString()
                                 << QString() << false;
}

void TestSettingsFile::accent()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, stored);
    QFETCH(QString, chosen);
    QFETCH(bool, rewritten);
    QTemporaryDir dir;
    const QString path = dir.filePath("setup.dat");
    QVERIFY(writeAll(path, content));
    const QColor read = SettingsFile::readAccent(path);
    QCOMPARE(read.isValid() ? read.name() : QString(), stored);
    const QColor choice = chosen.isEmpty() ? QColor() : QColor::fromString(chosen);
    QVERIFY(SettingsFile::writeAccent(path, choice));
    QCOMPARE(readAll(path) != content, rewritten);
    const QColor back = SettingsFile::readAccent(path);
    QCOMPARE(back.isValid() ? back.name() : QString(), rewritten ? chosen : stored);
    QCOMPARE(SettingsFile::readSkinIndex(path), 2);
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
