#include "pictures/exportnaming.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using quillet::pictures::ExportImageName;
using quillet::pictures::ExportNaming;
using quillet::pictures::ExportOptions;
using quillet::pictures::OutputGroup;

namespace {

ExportOptions options(bool button, bool combo, bool check, bool window)
{
    return { button, combo, check, window };
}

QString repeated(const QString &piece, int times)
{
    QString s;
    for (int i = 0; i < times; ++i)
        s += piece;
    return s;
}

} // namespace

class TestExportNaming : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void confirmationText_data();
    void confirmationText();
    void imageOrder();
    void isSafeFileName_data();
    void isSafeFileName();
    void fullPath_data();
    void fullPath();
    void hostileCaptionsStayInFolder_data();
    void hostileCaptionsStayInFolder();
};

void TestExportNaming::confirmationText_data()
{
    QTest::addColumn<ExportOptions>("opts");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("expected");

    QTest::newRow("worked example") << options(true, true, true, true) << u"确定"_s << 3 << u".jpg"_s
                                    << u"确定_正常.jpg   确定_按下.jpg\r\n"
                                       "确定_点燃.jpg   确定_禁止.jpg\r\n"
                                       "组合3_正常.jpg   组合3_按下.jpg   组合3_禁止.jpg\r\n"
                                       "选择3_正常.jpg   选择3_选中.jpg   选择3_禁止.jpg\r\n"
                                       "窗口全图3.jpg"_s;
    QTest::newRow("nothing chosen") << options(false, false, false, false) << u"确定"_s << 1 << u".bmp"_s
                                    << QString();
    QTest::newRow("empty caption") << options(true, false, false, false) << QString() << 1 << u".bmp"_s
                                   << u"_正常.bmp   _按下.bmp\r\n_点燃.bmp   _禁止.bmp\r\n"_s;
    QTest::newRow("window only, no line end")
        << options(false, false, false, true) << u"x"_s << 12 << u".png"_s << u"窗口全图12.png"_s;
    QTest::newRow("check box words") << options(false, false, true, false) << u"x"_s << 1 << u".gif"_s
                                     << u"选择1_正常.gif   选择1_选中.gif   选择1_禁止.gif\r\n"_s;
    QTest::newRow("caption with blanks kept")
        << options(true, false, false, false) << u" O K "_s << 7 << u".png"_s
        << u" O K _正常.png    O K _按下.png\r\n"
           " O K _点燃.png    O K _禁止.png\r\n"_s;
    // Unsafe names are listed exactly as built; they are only refused when written.
    QTest::newRow("unsafe caption listed as built")
        << options(true, true, false, false) << u"a/b"_s << 2 << u".bmp"_s
        << u"a/b_正常.bmp   a/b_按下.bmp\r\na/b_点燃.bmp   a/b_禁止.bmp\r\n"
           "组合2_正常.bmp   组合2_按下.bmp   组合2_禁止.bmp\r\n"_s;
}

void TestExportNaming::confirmationText()
{
    QFETCH(ExportOptions, opts);
    QFETCH(QString, caption);
    QFETCH(int, number);
    QFETCH(QString, extension);
    QFETCH(QString, expected);
    QCOMPARE(ExportNaming::confirmationText(opts, caption, number, extension), expected);
}

void TestExportNaming::imageOrder()
{
    const QList<ExportImageName> all
        = ExportNaming::images(options(true, true, true, true), u"确定"_s, 3, u".jpg"_s);
    const QStringList expectedNames = {
        u"确定_正常.jpg"_s,
        u"确定_按下.jpg"_s,
        u"确定_点燃.jpg"_s,
        u"确定_禁止.jpg"_s,
        u"组合3_正常.jpg"_s,
        u"组合3_按下.jpg"_s,
        u"组合3_禁止.jpg"_s,
        u"选择3_正常.jpg"_s,
        u"选择3_选中.jpg"_s,
        u"选择3_禁止.jpg"_s,
        u"窗口全图3.jpg"_s,
    };
    QStringList names;
    for (const ExportImageName &image : all) {
        names << image.fileName;
        QCOMPARE(image.fileName, image.stem + image.suffix + u".jpg"_s);
    }
    QCOMPARE(names, expectedNames);
    QCOMPARE(all.first().group, OutputGroup::ButtonStates);
    QCOMPARE(all[4].group, OutputGroup::ComboButton);
    QCOMPARE(all[4].stem, u"组合3"_s);
    QCOMPARE(all[7].group, OutputGroup::CheckBox);
    QCOMPARE(all.last().group, OutputGroup::WholeWindow);
    QCOMPARE(all.last().suffix, QString());

    // The list and the written names come from the same builder.
    const QString listed
        = ExportNaming::confirmationText(options(true, true, true, true), u"确定"_s, 3, u".jpg"_s);
    for (const QString &name : expectedNames)
        QVERIFY2(listed.contains(name), qPrintable(name));

    QVERIFY(ExportNaming::images(options(false, false, false, false), u"x"_s, 1, u".bmp"_s).isEmpty());
    QCOMPARE(ExportNaming::images(options(false, true, false, true), u"x"_s, 1, u".bmp"_s).size(), 4);
}

void TestExportNaming::isSafeFileName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");

    QTest::newRow("chinese") << u"确定_正常.bmp"_s << true;
    QTest::newRow("empty caption") << u"_正常.bmp"_s << true;
    QTest::newRow("blanks") << u" a b _按下.png"_s << true;
    QTest::newRow("backslash is an ordinary character here") << u"a\\b_正常.bmp"_s << true;
    QTest::newRow("dots in a longer name") << u"..._正常.bmp"_s << true;
    QTest::newRow("emoji (surrogate pair)") << u"\U0001F600_正常.bmp"_s << true;
    QTest::newRow("replacement character itself") << u"\uFFFD.bmp"_s << true;
    QTest::newRow("255 bytes ascii") << repeated(u"a"_s, 255) << true;
    QTest::newRow("256 bytes ascii") << repeated(u"a"_s, 256) << false;
    QTest::newRow("85 CJK = 255 bytes") << repeated(u"确"_s, 85) << true;
    QTest::newRow("86 CJK = 258 bytes") << repeated(u"确"_s, 86) << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("dot") << u"."_s << false;
    QTest::newRow("dot dot") << u".."_s << false;
    QTest::newRow("slash") << u"a/b_正常.bmp"_s << false;
    QTest::newRow("leading slash") << u"/etc/passwd"_s << false;
    QTest::newRow("parent path") << u"../x_正常.bmp"_s << false;
    QTest::newRow("nul") << QString(u"a\0b.bmp"_s) << false;
    QTest::newRow("newline") << u"a\nb.bmp"_s << false;
    QTest::newRow("tab") << u"a\tb.bmp"_s << false;
    QTest::newRow("escape") << u"a\x1b[31m.bmp"_s << false;
    QTest::newRow("delete") << u"a\x7f.bmp"_s << false;
    QTest::newRow("C1 control") << u"a\u0085.bmp"_s << false;
    QTest::newRow("lone high surrogate") << (u"a"_s + QChar(0xD800) + u".bmp"_s) << false;
    QTest::newRow("lone low surrogate") << (QChar(0xDC00) + u".bmp"_s) << false;
}

void TestExportNaming::isSafeFileName()
{
    QFETCH(QString, name);
    QFETCH(bool, safe);
    QCOMPARE(ExportNaming::isSafeFileName(name), safe);
}

void TestExportNaming::fullPath_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << u"/home/u/图片"_s << u"确定_正常.bmp"_s << u"/home/u/图片/确定_正常.bmp"_s;
    QTest::newRow("folder with slash gets another") << u"/home/u/"_s << u"a.bmp"_s << u"/home/u//a.bmp"_s;
    QTest::newRow("root") << u"/"_s << u"a.bmp"_s << u"//a.bmp"_s;
    QTest::newRow("folder with blanks") << u"/tmp/a b "_s << u"x.png"_s << u"/tmp/a b /x.png"_s;
    QTest::newRow("unsafe name") << u"/tmp"_s << u"../x.bmp"_s << QString();
    QTest::newRow("no folder") << QString() << u"a.bmp"_s << QString();
}

void TestExportNaming::fullPath()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(ExportNaming::fullPath(folder, name), expected);
}

void TestExportNaming::hostileCaptionsStayInFolder_data()
{
    QTest::addColumn<QString>("caption");
    QTest::newRow("parent") << u".."_s;
    QTest::newRow("climb") << u"../../etc/x"_s;
    QTest::newRow("absolute") << u"/tmp/x"_s;
    QTest::newRow("trailing slash") << u"sub/"_s;
    QTest::newRow("nul") << QString(u"ok\0/../x"_s);
    QTest::newRow("newline") << u"a\nb"_s;
    QTest::newRow("lone surrogate") << (u"a"_s + QChar(0xDBFF));
    QTest::newRow("too long") << repeated(u"长"_s, 90);
    QTest::newRow("fine chinese") << u"确 定"_s;
    QTest::newRow("fine empty") << QString();
    QTest::newRow("fine dots") << u"..."_s;
}

void TestExportNaming::hostileCaptionsStayInFolder()
{
    QFETCH(QString, caption);
    QTemporaryDir outer;
    QVERIFY(outer.isValid());
    const QString folder = outer.path() + u"/out"_s;
    QVERIFY(QDir().mkpath(folder));

    QStringList written;
    for (const ExportImageName &image :
        ExportNaming::images(options(true, true, true, true), caption, 1, u".bmp"_s)) {
        const QString path = ExportNaming::fullPath(folder, image.fileName);
        if (path.isEmpty())
            continue;
        QFile file(path);
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
        file.write("BM");
        file.close();
        written << image.fileName;
    }
    // Every file landed in the chosen folder under the very name the list showed, and
    // nothing appeared anywhere else.
    QStringList onDisk = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    onDisk.sort();
    written.sort();
    QCOMPARE(onDisk, written);
    QCOMPARE(QDir(outer.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList { u"out"_s });
    // The numbered names never depend on the caption.
    QVERIFY(written.contains(u"组合1_正常.bmp"_s));
    QVERIFY(written.contains(u"窗口全图1.bmp"_s));
}

QTEST_GUILESS_MAIN(TestExportNaming)
#include "tst_exportnaming.moc"
