#include "catalogue/settingsfile.h"
#include "support/testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using quillet::catalogue::SettingsFile;

// GBK bytes of 皮肤 (section) and 当前皮肤 (key), as a Windows program writes them.
#define SEC "\xC6\xA4\xB7\xF4"
#define KEY "\xB5\xB1\xC7\xB0\xC6\xA4\xB7\xF4"

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
    void writeReadRoundTrip_data();
    void writeReadRoundTrip();
    void failedWriteKeepsOldFile();
    void missingSysFolderIsNotCreated();
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

void TestSettingsFile::failedWriteKeepsOldFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("setup.dat");
    const QByteArray old("[" SEC "]\r\n" KEY "=3\r\n");
    QVERIFY(writeAll(path, old));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    QVERIFY(!SettingsFile::writeSkinIndex(path, 5));
    QCOMPARE(readAll(path), old);
    QCOMPARE(SettingsFile::readSkinIndex(path), 3);
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

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
