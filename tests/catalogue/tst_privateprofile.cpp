#include "catalogue/privateprofile.h"
#include "platform/system/gbkcodec.h"
#include "support/testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using quillet::catalogue::PrivateProfile;
using quillet::system::GbkCodec;
using namespace Qt::StringLiterals;

// GBK bytes of the settings file's names, as a Windows program writes them:
// 皮肤 (section), 当前皮肤 (key), 青春 (another section).
#define SEC "\xC6\xA4\xB7\xF4"
#define KEY "\xB5\xB1\xC7\xB0\xC6\xA4\xB7\xF4"
#define QC "\xC7\xE0\xB4\xBA"

namespace {

const QString kSection = QStringLiteral("皮肤");
const QString kKey = QStringLiteral("当前皮肤");

} // namespace

class TestPrivateProfile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void encode_data();
    void encode();
    void decode_data();
    void decode();
    void basicPlaneRoundTrip();
    void valueIn_data();
    void valueIn();
    void withValue_data();
    void withValue();
    void refusedWrites_data();
    void refusedWrites();
    void fileCreatedOnlyInExistingFolder();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();
    void oversizedFileIsLeftAlone();
};

void TestPrivateProfile::encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << QStringLiteral("blue.an") << QByteArray("blue.an");
    QTest::newRow("chinese") << QStringLiteral("当前皮肤") << QByteArray(KEY);
    QTest::newRow("mixed") << QStringLiteral("a青春b") << QByteArray("a" QC "b");
    QTest::newRow("euro in gbk") << QStringLiteral("€") << QByteArray("\x80");
    QTest::newRow("emoji via gb18030") << QStringLiteral("x😀") << QByteArray("x\x94\x39\xFC\x36");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("?");
    QTest::newRow("leading U+FEFF") << QStringLiteral("\uFEFFa")
                                    << QByteArray("\x84\x31\x95\x33"
                                                  "a");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestPrivateProfile::encode()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    GbkCodec codec;
    QCOMPARE(codec.encode(text), bytes);
    QCOMPARE(GbkCodec::toGbk(text), bytes);
}

void TestPrivateProfile::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QString bad(QChar(0xFFFD));
    QTest::newRow("chinese") << QByteArray(SEC) << QStringLiteral("皮肤");
    QTest::newRow("euro") << QByteArray("a\x80z") << QStringLiteral("a€z");
    QTest::newRow("four-byte") << QByteArray("\x94\x39\xFC\x36") << QStringLiteral("😀");
    QTest::newRow("invalid byte") << QByteArray("a\xFFz") << QString(u'a' + bad + u'z');
    QTest::newRow("lead byte at end") << QByteArray("ab\xC6") << QString(u"ab" + bad);
    QTest::newRow("lead before newline") << QByteArray("\xC6\n" SEC) << QString(bad + u"\n皮肤");
    QTest::newRow("cut four-byte") << QByteArray("\x94\x39\xFC") << QString(bad + u'9' + bad);
    QTest::newRow("nul kept") << QByteArray("a\0b", 3) << QString::fromLatin1("a\0b", 3);
}

void TestPrivateProfile::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    GbkCodec codec;
    QCOMPARE(codec.decode(bytes), text);
    QCOMPARE(GbkCodec::fromGbk(bytes), text);
}

// Every character must come back from its bytes, also those GBK lacks. The only
// exceptions are the few private-use codes that current GB18030 tables no longer map;
// they become "?" rather than vanish.
void TestPrivateProfile::basicPlaneRoundTrip()
{
    constexpr char32_t privateUseFirst = 0xE000;
    constexpr char32_t privateUseLast = 0xF8FF;
    GbkCodec codec;
    QStringList lost;
    for (char32_t c = 1; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const QString text(QChar(static_cast<char16_t>(c)));
        const QByteArray bytes = codec.encode(text);
        const bool privateUse = c >= privateUseFirst && c <= privateUseLast;
        if (codec.decode(bytes) != text && !(privateUse && bytes == "?"))
            lost.append(QString::number(c, 16));
    }
    QVERIFY2(lost.isEmpty(), qPrintable(lost.mid(0, 20).join(u' ')));
    const QString outside = QStringLiteral("a😀\U00010000\U0010FFFD");
    QCOMPARE(codec.decode(codec.encode(outside)), outside);
}

void TestPrivateProfile::valueIn_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    const QByteArray windows("; written by the old tool\r\n[" QC "]\r\n" KEY "=9\r\n\r\n[" SEC "]\r\n"
                             "other = x\r\n" KEY " = 3 \r\n[last]\r\nK=1\r\n");
    QTest::newRow("gbk crlf, spaces around =") << windows << kSection << kKey << "3";
    QTest::newRow("other section") << windows << QStringLiteral("青春") << kKey << "9";
    QTest::newRow("ascii case ignored") << windows << "LAST"
                                        << "k"
                                        << "1";
    QTest::newRow("names trimmed") << windows << " 皮肤\t"
                                   << " 当前皮肤 "
                                   << "3";
    QTest::newRow("missing key") << windows << kSection << "nope"
                                 << "";
    QTest::newRow("missing section") << windows << "nope" << kKey << "";
    QTest::newRow("empty file") << QByteArray() << kSection << kKey << "";
    QTest::newRow("lf, no final newline") << QByteArray("[" SEC "]\n" KEY "=4") << kSection << kKey << "4";
    QTest::newRow("first duplicate section wins")
        << QByteArray("[" SEC "]\n[" SEC "]\n" KEY "=2\n") << kSection << kKey << "";
    QTest::newRow("first duplicate key wins")
        << QByteArray("[" SEC "]\n" KEY "=1\n" KEY "=2\n") << kSection << kKey << "1";
    QTest::newRow("spaces inside brackets")
        << QByteArray("[ " SEC " ]\n" KEY "=6\n") << kSection << kKey << "6";
    QTest::newRow("indented lines") << QByteArray("  [" SEC "]\n\t" KEY "=7\n") << kSection << kKey << "7";
    QTest::newRow("comment is no key") << QByteArray("[s]\n;k=1\nk=2\n") << "s"
                                       << ";k"
                                       << "";
    QTest::newRow("quotes removed") << QByteArray("[s]\nk=\"a b\"\n") << "s"
                                    << "k"
                                    << "a b";
    QTest::newRow("lone quote kept") << QByteArray("[s]\nk=\"a\n") << "s"
                                     << "k"
                                     << "\"a";
    QTest::newRow("key without =") << QByteArray("[s]\nk\n") << "s"
                                   << "k"
                                   << "";
    QTest::newRow("value ends at nul") << QByteArray("[s]\nk=12\0003\n", 11) << "s"
                                       << "k"
                                       << "12";
    QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBF[皮肤]\r\n当前皮肤=8\r\n") << kSection << kKey
                               << "8";
    QTest::newRow("utf-16 without the key") << QByteArray("\xFF\xFE[\0s\0]\0", 8) << "s"
                                            << "k"
                                            << "";
    QTest::newRow("utf-16le bom") << utf16(u"[皮肤]\r\n当前皮肤=4\r\n"_s) << kSection << kKey << "4";
    QTest::newRow("utf-16be bom") << utf16(u"[皮肤]\r\n当前皮肤=4\r\n"_s, true) << kSection << kKey << "4";
    QTest::newRow("utf-16 lone surrogate is no text")
        << utf16(u"[皮肤]\r\n当前皮肤=4\r\n"_s) + QByteArray("\x00\xD8", 2) << kSection << kKey << "";
    QTest::newRow("cr only") << QByteArray("[x]\ry=1\r[" SEC "]\r" KEY "=6\rz=2\r") << kSection << kKey
                             << "6";
    QTest::newRow("cr only, key of the next line not joined")
        << QByteArray("[" SEC "]\rq=1\r" KEY "=6") << kSection << "q"
        << "1";
    QTest::newRow("cr only, utf-16") << utf16(u"[皮肤]\r当前皮肤=7\r"_s) << kSection << kKey << "7";
    QTest::newRow("lone cr before crlf")
        << QByteArray("[" SEC "]\r\r\n" KEY "=8\r\n") << kSection << kKey << "8";
    // A trail byte 0x5D (']') or a letter inside a Chinese name must not end or fold it.
    QTest::newRow("trail byte like ]")
        << QByteArray("[\x81\x5D]\nk=1\n") << GbkCodec::fromGbk("\x81\x5D") << "k"
        << "1";
    QTest::newRow("trail letters not folded")
        << QByteArray("[s]\n\x81\x61=1\n\x81\x41=2\n") << "s" << GbkCodec::fromGbk("\x81\x41") << "2";
}

void TestPrivateProfile::valueIn()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QCOMPARE(PrivateProfile::valueIn(content, section, key), value);
}

void TestPrivateProfile::withValue_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("replace in place")
        << QByteArray(";c\r\n[" QC "]\r\n" KEY "=1\r\n[" SEC "]\r\n" KEY " =  3  \r\nz=1\r\n") << kSection
        << kKey << QByteArray(";c\r\n[" QC "]\r\n" KEY "=1\r\n[" SEC "]\r\n" KEY " =  5  \r\nz=1\r\n");
    QTest::newRow("replace quoted, case-folded key") << QByteArray("[S]\nKey=\"3\"\n") << "s"
                                                     << "key" << QByteArray("[S]\nKey=5\n");
    QTest::newRow("empty value") << QByteArray("[s]\nk=\n") << "s"
                                 << "k" << QByteArray("[s]\nk=5\n");
    QTest::newRow("key without =") << QByteArray("[s]\nk \n") << "s"
                                   << "k" << QByteArray("[s]\nk=5 \n");
    QTest::newRow("key added before blank lines")
        << QByteArray("[" SEC "]\r\na=1\r\n;note\r\n\r\n[b]\r\n") << kSection << kKey
        << QByteArray("[" SEC "]\r\na=1\r\n;note\r\n" KEY "=5\r\n\r\n[b]\r\n");
    QTest::newRow("key added, no final newline")
        << QByteArray("[" SEC "]\na=1") << kSection << kKey << QByteArray("[" SEC "]\na=1\n" KEY "=5");
    QTest::newRow("key added to first duplicate") << QByteArray("[s]\n[s]\nk=1\n") << "s"
                                                  << "k" << QByteArray("[s]\nk=5\n[s]\nk=1\n");
    QTest::newRow("section appended, lf")
        << QByteArray("[a]\nx=1\n") << kSection << kKey << QByteArray("[a]\nx=1\n[" SEC "]\n" KEY "=5\n");
    QTest::newRow("section appended after last line") << QByteArray(
        "[a]\r\nx=1") << kSection << kKey << QByteArray("[a]\r\nx=1\r\n[" SEC "]\r\n" KEY "=5\r\n");
    QTest::newRow("new file crlf") << QByteArray() << kSection << kKey
                                   << QByteArray("[" SEC "]\r\n" KEY "=5\r\n");
    QTest::newRow("utf-8 bom kept") << QByteArray("\xEF\xBB\xBF[x]\r\n") << kSection << kKey
                                    << QByteArray("\xEF\xBB\xBF[x]\r\n[皮肤]\r\n当前皮肤=5\r\n");
    QTest::newRow("utf-16le value replaced")
        << utf16(u"[其他]\r\nx=1\r\n[皮肤]\r\n当前皮肤 = 3\r\ny=2\r\n"_s) << kSection << kKey
        << utf16(u"[其他]\r\nx=1\r\n[皮肤]\r\n当前皮肤 = 5\r\ny=2\r\n"_s);
    QTest::newRow("utf-16be section appended")
        << utf16(u"[a]\r\n"_s, true) << kSection << kKey << utf16(u"[a]\r\n[皮肤]\r\n当前皮肤=5\r\n"_s, true);
    QTest::newRow("utf-16le astral text kept") << utf16(u"[😀]\nk=1\n[皮肤]\n当前皮肤=3\n"_s) << kSection
                                               << kKey << utf16(u"[😀]\nk=1\n[皮肤]\n当前皮肤=5\n"_s);
    QTest::newRow("cr only value replaced") << QByteArray("[" SEC "]\r" KEY "=3\rz=1\r") << kSection << kKey
                                            << QByteArray("[" SEC "]\r" KEY "=5\rz=1\r");
    QTest::newRow("cr only key added") << QByteArray("[" SEC "]\ra=1\r\r[b]\r") << kSection << kKey
                                       << QByteArray("[" SEC "]\ra=1\r" KEY "=5\r\r[b]\r");
    QTest::newRow("cr only section appended")
        << QByteArray("[a]\rx=1") << kSection << kKey << QByteArray("[a]\rx=1\r[" SEC "]\r" KEY "=5\r");
    QTest::newRow("utf-8 bom value replaced")
        << QByteArray("\xEF\xBB\xBF; 设置\r\n[皮肤]\r\n当前皮肤=3\r\n其他=1\r\n") << kSection << kKey
        << QByteArray("\xEF\xBB\xBF; 设置\r\n[皮肤]\r\n当前皮肤=5\r\n其他=1\r\n");
    QTest::newRow("odd bytes kept") << QByteArray("\xFF\x80\0junk\n[s]\nk=1\n", 16) << "s"
                                    << "k" << QByteArray("\xFF\x80\0junk\n[s]\nk=5\n", 16);
}

void TestPrivateProfile::withValue()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QByteArray, expected);
    const std::optional<QByteArray> written = PrivateProfile::withValue(content, section, key, "5");
    QVERIFY(written);
    QCOMPARE(*written, expected);
    QCOMPARE(PrivateProfile::valueIn(*written, section, key), QStringLiteral("5"));
}

void TestPrivateProfile::refusedWrites_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("value with newline") << QByteArray() << "s"
                                        << "k"
                                        << "1\r\n[x]";
    QTest::newRow("key with =") << QByteArray() << "s"
                                << "k=1"
                                << "1";
    QTest::newRow("key like a section") << QByteArray() << "s"
                                        << "[k]"
                                        << "1";
    QTest::newRow("empty key") << QByteArray() << "s"
                               << "  "
                               << "1";
    QTest::newRow("empty section") << QByteArray() << ""
                                   << "k"
                                   << "1";
    QTest::newRow("utf-16 lone surrogate") << QByteArray("\xFF\xFE[\0s\0]\0\x00\xD8", 10) << "s"
                                           << "k"
                                           << "1";
    QTest::newRow("utf-16 odd length") << QByteArray("\xFF\xFE[\0s\0]", 7) << "s"
                                       << "k"
                                       << "1";
}

void TestPrivateProfile::refusedWrites()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QVERIFY(!PrivateProfile::withValue(content, section, key, value));
}

void TestPrivateProfile::fileCreatedOnlyInExistingFolder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("setup.dat");
    QVERIFY(PrivateProfile::write(path, kSection, kKey, "2"));
    QCOMPARE(readAll(path), QByteArray("[" SEC "]\r\n" KEY "=2\r\n"));
    QCOMPARE(PrivateProfile::read(path, kSection, kKey), QStringLiteral("2"));

    const QString missing = dir.filePath("sys/setup.dat");
    QVERIFY(!PrivateProfile::write(missing, kSection, kKey, "2"));
    QVERIFY(!QFileInfo::exists(dir.filePath("sys")));
    QCOMPARE(PrivateProfile::read(missing, kSection, kKey), QString());

    // A folder in the file's place is neither read nor replaced.
    QVERIFY(QDir(dir.path()).mkdir("folder.dat"));
    QVERIFY(!PrivateProfile::write(dir.filePath("folder.dat"), kSection, kKey, "2"));
    QVERIFY(QFileInfo(dir.filePath("folder.dat")).isDir());
}

void TestPrivateProfile::failedWriteKeepsOldFile_data()
{
    QTest::addColumn<bool>("lockFolder");
    QTest::newRow("read-only file") << false;
    QTest::newRow("read-only folder") << true;
}

void TestPrivateProfile::failedWriteKeepsOldFile()
{
    QFETCH(bool, lockFolder);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("setup.dat");
    const QByteArray old("[" SEC "]\r\n" KEY "=3\r\n");
    QVERIFY(writeAll(path, old));
    const QString locked = lockFolder ? dir.path() : path;
    const QFileDevice::Permissions before = QFile::permissions(locked);
    QVERIFY(QFile::setPermissions(locked,
        QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    const bool written = PrivateProfile::write(path, kSection, kKey, "7");
    QVERIFY(QFile::setPermissions(locked, before));
    QVERIFY(!written);
    QCOMPARE(readAll(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "setup.dat" });
}

void TestPrivateProfile::oversizedFileIsLeftAlone()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("setup.dat");
    QVERIFY(writeAll(path, QByteArray("[" SEC "]\r\n" KEY "=3\r\n")));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.resize(PrivateProfile::kMaxFileBytes + 1)); // sparse, cheap
    }
    QCOMPARE(PrivateProfile::read(path, kSection, kKey), QString());
    QVERIFY(!PrivateProfile::write(path, kSection, kKey, "7"));
    QCOMPARE(QFileInfo(path).size(), PrivateProfile::kMaxFileBytes + 1);
}

QTEST_GUILESS_MAIN(TestPrivateProfile)
#include "tst_privateprofile.moc"
