// "quillet skin check": each fault of a skin file at its exact place and severity, the exit
// codes, and every shipped skin clean under --strict in the real program.
#include "batch/skincommand.h"
#include "platform/form/fontsetup.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

using quillet::batch::SkinCommand;
using namespace Qt::StringLiterals;

namespace {

struct Result
{
    int code = -1;
    QStringList lines;
};

Result check(const QStringList &arguments)
{
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    Result r;
    r.code = SkinCommand::run(QStringList { u"check"_s } + arguments, { QString(), outStream, errStream });
    outStream.flush();
    r.lines = out.split(u'\n', Qt::SkipEmptyParts);
    return r;
}

// Looks that pass the legibility measure, so the rows see only the faults they are about.
const QByteArray kReadable = "[button]\nfill = #ffffff\ntext = #000000\n"
                             "[combo-button]\nfill = #ffffff\nmark = #000000\n"
                             "[check]\nfill = #ffffff\nmark = #000000\n";
// A focus ring that passes, appended after a row's own lines so their numbers stay.
const QByteArray kFocusRing = "\n[button.focused]\nimage = none\nhighlight = #000000\n";

} // namespace

class TestSkinCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { quillet::form::FontSetup::install(); }

    void faults_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("expected"); // "LINE:COLUMN: severity" in order
        QTest::addColumn<QString>("message"); // a part of the first line's message
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("strictCode");

        // Line numbers count the kReadable prelude's 9 lines.
        QTest::newRow("clean") << QByteArray() << QStringList() << QString() << 0 << 0;
        QTest::newRow("short colour")
            << QByteArray("[skin]\nbase =   #12345\n") << QStringList { u"11:10: error"_s }
            << u"'#12345' is not a colour"_s << 2 << 2;
        QTest::newRow("unknown section")
            << QByteArray("[buton]\nfill = #fff\n") << QStringList { u"10:2: warning"_s }
            << u"did you mean [button]?"_s << 0 << 2;
        QTest::newRow("unknown key") << QByteArray("[button]\n  bordr = #000\n")
                                     << QStringList { u"11:3: warning"_s } << u"did you mean 'border'?"_s << 0
                                     << 2;
        QTest::newRow("key twice") << QByteArray("[check.hot]\nmark = #000\nmark = #111\n")
                                   << QStringList { u"12:1: warning"_s } << u"line 11"_s << 0 << 2;
        QTest::newRow("out of range")
            << QByteArray("[button]\nradius = 65\nborder-width=-1\n")
            << QStringList { u"11:10: error"_s, u"12:14: error"_s } << u"0..64"_s << 2 << 2;
        QTest::newRow("bad gradient stop")
            << QByteArray("[button.pressed]\nfill = #fff > #000@1.5\n") << QStringList { u"11:8: error"_s }
            << u"is not a fill"_s << 2 << 2;
        QTest::newRow("see-through base") << QByteArray("[skin]\nbase = #ffffff80\n")
                                          << QStringList { u"11:8: error"_s } << u"not opaque"_s << 2 << 2;
        QTest::newRow("broken header")
            << QByteArray("[button\nfill = #fff\n") << QStringList { u"10:1: error"_s } << u"']'"_s << 2 << 2;
        QTest::newRow("no equals sign") << QByteArray("[button]\n\tfill #fff\n")
                                        << QStringList { u"11:2: error"_s } << u"KEY = VALUE"_s << 2 << 2;
        QTest::newRow("missing picture") << QByteArray("[button]\nimage = gone.png\n")
                                         << QStringList { u"11:9: error"_s } << u"does not exist"_s << 2 << 2;
        QTest::newRow("path in picture name")
            << QByteArray("[button]\nimage = ../x.png\n") << QStringList { u"11:9: error"_s }
            << u"plain file name"_s << 2 << 2;
        QTest::newRow("unreadable picture")
            << QByteArray("[button]\nimage = junk.png\n") << QStringList { u"11:9: error"_s }
            << u"cannot be read"_s << 2 << 2;
        QTest::newRow("slice larger than picture")
            << QByteArray("[button]\nimage = face.png\nslice = 6,2,6,2\n") << QStringList { u"12:9: error"_s }
            << u"larger than picture 'face.png' (10 x 10)"_s << 2 << 2;
        QTest::newRow("slice of a named picture, set in the parent")
            << QByteArray("[button]\nslice = 2,8,2,8\n[button.hot]\nimage = face.png\n")
            << QStringList { u"11:9: error"_s } << u"face.png"_s << 2 << 2;
        QTest::newRow("illegible caption")
            << QByteArray("[button.hot]\ntext = #f0f0f0\n") << QStringList { u"warning"_s }
            << u"[button.hot] caption contrast"_s << 0 << 2;
        QTest::newRow("faint focus ring")
            << QByteArray("[button.focused]\nhighlight = #f4f4f4\n") << QStringList { u"warning"_s }
            << u"[button.focused] focus ring contrast"_s << 0 << 2;
        QTest::newRow("no focus ring") << QByteArray("[button.focused]\n") << QStringList { u"warning"_s }
                                       << u"[button.focused] focus ring not found"_s << 0 << 2;
    }

    void faults()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, expected);
        QFETCH(QString, message);
        QFETCH(int, code);
        QFETCH(int, strictCode);
        QTemporaryDir dir;
        const QString file = dir.filePath(u"Test.an"_s);
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(kReadable + text + (text.contains("[button.focused]") ? QByteArray() : kFocusRing));
        }
        QVERIFY(QDir(dir.path()).mkdir(u"Test"_s));
        QImage face(10, 10, QImage::Format_ARGB32);
        face.fill(Qt::white);
        QVERIFY(face.save(dir.filePath(u"Test/face.png"_s)));
        {
            QFile junk(dir.filePath(u"Test/junk.png"_s));
            QVERIFY(junk.open(QIODevice::WriteOnly));
            junk.write("not a picture");
        }

        const Result r = check({ file });
        QCOMPARE(r.lines.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            const QString where = file + (expected[i].startsWith(u"warning"_s) ? u": "_s : u":"_s);
            QVERIFY2(r.lines[i].startsWith(where + expected[i] + u':'), qPrintable(r.lines[i]));
        }
        if (!message.isEmpty())
            QVERIFY2(r.lines.first().contains(message), qPrintable(r.lines.first()));
        QCOMPARE(r.code, code);
        QCOMPARE(check({ u"--strict"_s, file }).code, strictCode);
    }

    void arguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("line");
        QTest::newRow("no files") << QStringList() << 2 << QString();
        QTest::newRow("unknown option") << QStringList { u"--quiet"_s, u"x.an"_s } << 2 << QString();
        QTest::newRow("missing file")
            << QStringList { u"/nonexistent/x.an"_s } << 2 << u"/nonexistent/x.an: error: no such file"_s;
    }

    void arguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, line);
        const Result r = check(arguments);
        QCOMPARE(r.code, code);
        QCOMPARE(r.lines, line.isEmpty() ? QStringList() : QStringList { line });
    }

    // The real program, as a designer runs it, finds nothing in any shipped skin.
    void shippedSkinsPassStrict()
    {
        const QString program = QStringLiteral(QUILLET_BINARY_DIR "/bin/quillet");
        QVERIFY(QFileInfo::exists(program));
        const QDir skins(QStringLiteral(QUILLET_SOURCE_DIR "/skins"));
        QStringList files;
        for (const QString &name : skins.entryList({ u"*.an"_s }, QDir::Files))
            files << skins.filePath(name);
        QVERIFY(files.size() >= 20);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"QT_QPA_PLATFORM"_s);
        environment.remove(u"DISPLAY"_s);
        process.setProcessEnvironment(environment);
        process.start(program, QStringList { u"skin"_s, u"check"_s, u"--strict"_s } + files);
        QVERIFY(process.waitForFinished(120000));
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        QVERIFY2(
            process.exitCode() == 0, qPrintable(out + QString::fromUtf8(process.readAllStandardError())));
        QCOMPARE(out, QString());
    }
};

QTEST_MAIN(TestSkinCommand)
#include "tst_skincommand.moc"
