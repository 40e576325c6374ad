// "quillet skin check": each fault of a skin file at its exact place and severity, the exit
// codes, and every shipped skin clean under --strict in the real program.
#include "batch/skincommand.h"
#include "platform/form/fontsetup.h"
#include "support/samplerig.h"
#include "support/testfiles.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include <cstring>

namespace SkinCommand = quillet::batch::SkinCommand;
using namespace Qt::StringLiterals;

namespace {

QStringList check(const QStringList &arguments, int *code)
{
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    *code = SkinCommand::run(QStringList { u"check"_s } + arguments, { QString(), outStream, errStream });
    outStream.flush();
    return out.split(u'\n', Qt::SkipEmptyParts);
}

// Looks that pass the legibility measure, and a focus ring that passes appended after a row's
// own lines, so the rows see only their fault.
const QByteArray kReadable = "[button]\nfill = #ffffff\ntext = #000000\n[combo-button]\nfill = #ffffff\n"
                             "mark = #000000\n[check]\nfill = #ffffff\nmark = #000000\n";
const QByteArray kFocusRing = "\n[button.focused]\nimage = none\nhighlight = #000000\nhighlight-width = 3\n";

} // namespace

class TestSkinCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { quillet::form::FontSetup::install(); }

    // Errors exit 2, warnings 0 (2 under --strict); line numbers count kReadable's 9 lines.
    void faults_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("places"); // LINE:COLUMN of each line in order; none: one line
        QTest::addColumn<QString>("severity"); // none: a clean file
        QTest::addColumn<QString>("message"); // a part of the first line's message
        const auto row = [](const char *name, const char *text, const char *places, const char *severity,
                             const char *message) {
            QTest::newRow(name) << QByteArray(text)
                                << QString::fromUtf8(places).split(u' ', Qt::SkipEmptyParts)
                                << QString::fromUtf8(severity) << QString::fromUtf8(message);
        };
        row("clean", "", "", "", "");
        row("short colour", "[skin]\nbase =   #12345\n", "11:10", "error", "'#12345' is not a colour");
        row("unknown section", "[buton]\nfill = #fff\n", "10:2", "warning", "did you mean [button]?");
        row("unknown key", "[button]\n  bordr = #000\n", "11:3", "warning", "did you mean 'border'?");
        row("key twice", "[check.hot]\nmark = #000\nmark = #111\n", "12:1", "warning", "line 11");
        row("out of range", "[button]\nradius = 65\nborder-width=-1\n", "11:10 12:14", "error", "0..64");
        row("bad gradient stop", "[button.pressed]\nfill = #fff > #000@1.5\n", "11:8", "error",
            "is not a fill");
        row("see-through base", "[skin]\nbase = #ffffff80\n", "11:8", "error", "not opaque");
        row("broken header", "[button\nfill = #fff\n", "10:1", "error", "']'");
        row("no equals sign", "[button]\n\tfill #fff\n", "11:2", "error", "KEY = VALUE");
        row("missing picture", "[button]\nimage = gone.png\n", "11:9", "error", "does not exist");
        row("path in picture name", "[button]\nimage = ../x.png\n", "11:9", "error", "plain file name");
        row("unreadable picture", "[button]\nimage = junk.png\n", "11:9", "error", "cannot be read");
        row("slice larger than picture", "[button]\nimage = face.png\nslice = 6,2,6,2\n", "12:9", "error",
            "larger than picture 'face.png' (10 x 10)");
        row("slice of a named picture, set in the parent",
            "[button]\nslice = 2,8,2,8\n[button.hot]\nimage = face.png\n", "11:9", "error", "face.png");
        row("illegible caption", "[button.hot]\ntext = #f0f0f0\n", "", "warning",
            "[button.hot] caption \"输入按钮文字\" reads at 1.14:1 over 90 % of its body, below 4.5:1");
        // A strong gloss over the upper half of the strokes: the median reads, that half does not.
        row("caption half under a gloss", "[button.hot]\nfill = #202020\ngloss = 1\ntext = #ffffff\n", "",
            "warning",
            "[button.hot] caption \"输入按钮文字\" reads at 3.07:1 over 90 % of its body, below 4.5:1 "
            "(#ffffff on "
            "#939393 where weakest; median 10.37:1");
        row("illegible mark, checked and hot", "[check.checked-hot]\nmark = #f8f8f8\n", "", "warning",
            "[check.checked-hot] mark reads at");
        row("illegible mark, checked and disabled", "[check.checked-disabled]\nmark = #fdfdfd\n", "",
            "warning", "[check.checked-disabled] mark reads at");
        row("faint focus ring", "[button.focused]\nhighlight = #f4f4f4\nhighlight-width = 3\n", "", "warning",
            "[button.focused] focus ring changes 0 pixels at 3:1, 216 needed (40x16 at 1x)");
        row("no focus ring", "[button.focused]\n", "", "warning",
            "[button.focused] focus ring changes 0 pixels");
        // A solid one-pixel ring is half of what the rule asks for.
        row("one-pixel focus ring", "[button.focused]\nhighlight = #000000\n", "", "warning",
            "[button.focused] focus ring changes 396 pixels at 3:1, 864 needed (40x16 at 2x)");
        row("section two letters off", "[buttn.presed]\n", "10:2", "warning",
            "did you mean [button.pressed]?");
        row("section three letters off", "[chek.checked-hto]\n", "10:2", "warning",
            "did you mean [check.checked-hot]?");
        row("long key one letter off", "[button]\ntext-shadow-ofset = 0,1\n", "11:1", "warning",
            "did you mean 'text-shadow-offset'?");
        // The 1 MiB cap cuts "base = #ffffff" after "#fffff": the cut line is not read (it
        // would be a broken colour), and one line without a place says why.
        QByteArray capped = kFocusRing + "[skin]\n";
        const qsizetype cut = 1024 * 1024 - kReadable.size() - qsizetype(std::strlen("base = #fffff"));
        while (capped.size() < cut) {
            const qsizetype line = std::min<qsizetype>(4000, cut - capped.size());
            capped += line == 1 ? QByteArray("\n") : ';' + QByteArray(line - 2, 'x') + '\n';
        }
        QTest::newRow("line cut by the size cap") << capped + "base = #ffffff\n"
                                                  << QStringList() << u"warning"_s << u"whole lines"_s;
    }

    void faults()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, places);
        QFETCH(QString, severity);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString file = dir.filePath(u"Test.an"_s);
        QVERIFY(writeAll(
            file, kReadable + text + (text.contains("[button.focused]") ? QByteArray() : kFocusRing)));
        QVERIFY(QDir(dir.path()).mkdir(u"Test"_s));
        QImage face(10, 10, QImage::Format_ARGB32);
        face.fill(Qt::white);
        QVERIFY(face.save(dir.filePath(u"Test/face.png"_s)));
        QVERIFY(writeAll(dir.filePath(u"Test/junk.png"_s), "not a picture"));

        int code = -1;
        const QStringList lines = check({ file }, &code);
        if (places.isEmpty() && !severity.isEmpty())
            places << QString();
        QCOMPARE(lines.size(), places.size());
        for (qsizetype i = 0; i < places.size(); ++i) {
            const QString where = places[i].isEmpty() ? file : file + u':' + places[i];
            QVERIFY2(lines[i].startsWith(where + u": "_s + severity + u':'), qPrintable(lines[i]));
        }
        if (!lines.isEmpty())
            QVERIFY2(lines.first().contains(message), qPrintable(lines.first()));
        QCOMPARE(code, severity == u"error"_s ? 2 : 0);
        check({ u"--strict"_s, file }, &code);
        QCOMPARE(code, severity.isEmpty() ? 0 : 2);
    }

    void arguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("no files") << QStringList() << QStringList();
        QTest::newRow("unknown option") << QStringList { u"--quiet"_s, u"x.an"_s } << QStringList();
        QTest::newRow("missing file") << QStringList { u"/nonexistent/x.an"_s }
                                      << QStringList { u"/nonexistent/x.an: error: no such file"_s };
        // Special files are refused by their type, opened without waiting: a pipe would wait for a writer.
        QTest::newRow("endless device")
            << QStringList { u"/dev/zero"_s }
            << QStringList { u"/dev/zero: error: cannot be read: is not a regular file"_s };
        QTest::newRow("pipe") << QStringList {
            u"<dir>/pipe.an"_s
        } << QStringList { u"<dir>/pipe.an: error: cannot be read: is not a regular file"_s };
    }

    void arguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        QCOMPARE(QProcess::execute(u"mkfifo"_s, { dir.filePath(u"pipe.an"_s) }), 0);
        int code = -1;
        QCOMPARE(check(arguments.replaceInStrings(u"<dir>"_s, dir.path()), &code),
            lines.replaceInStrings(u"<dir>"_s, dir.path()));
        QCOMPARE(code, 2);
    }

    // The real program, as a designer runs it, finds nothing in any shipped skin.
    void shippedSkinsPassStrict()
    {
        const QStringList files = quillet::skin::testing::shippedSkins();
        QVERIFY(files.size() >= 20);
        QProcess process;
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"QT_QPA_PLATFORM"_s);
        environment.remove(u"DISPLAY"_s);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(QUILLET_BINARY_DIR "/bin/quillet"),
            QStringList { u"skin"_s, u"check"_s, u"--strict"_s } + files);
        QVERIFY(process.waitForFinished(120000));
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        QVERIFY2(
            process.exitCode() == 0, qPrintable(out + QString::fromUtf8(process.readAllStandardError())));
        QCOMPARE(out, QString());
    }
};

QTEST_MAIN(TestSkinCommand)
#include "tst_skincommand.moc"
