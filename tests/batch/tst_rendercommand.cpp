// "quillet render": every bad input is refused with a message that names it, before
// anything is written; good input writes exactly the designer's file names into --out.
#include "catalogue/skincatalogue.h"
#include "batch/progressbar.h"
#include "batch/rendercommand.h"
#include "platform/form/fontsetup.h"

#include "support/externaldecoder.h"
#include "support/programfolder.h"
#include "support/testfiles.h"

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using quillet::batch::ProgressBar;
using quillet::batch::RenderCommand;

namespace {

struct Result
{
    int code = -1;
    QString out;
    QString err;
};

Result run(const QString &programFolder, const QStringList &arguments)
{
    Result result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.code = RenderCommand::run(arguments, { programFolder, out, err, false });
    out.flush();
    err.flush();
    return result;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

class TestRenderCommand : public QObject
{
    Q_OBJECT

    ProgramFolder *m_folder = nullptr;

private Q_SLOTS:
    void initTestCase()
    {
        quillet::form::FontSetup::install();
        m_folder = new ProgramFolder({ u"翡翠.an"_s, u"Aqua.an"_s, u"经典.an"_s });
    }
    void cleanupTestCase() { delete m_folder; }

    void badInputIsRefused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("manifest");
        QTest::addColumn<QString>("message");
        const QStringList ok { u"--skin"_s, u"翡翠"_s, u"--text"_s, u"确定"_s };
        const QByteArray none;
        QTest::newRow("unknown skin") << QStringList { u"--skin"_s, u"nope"_s, u"--text"_s, u"a"_s } << none
                                      << u"the command line: unknown skin \"nope\""_s;
        QTest::newRow("width 0") << ok + QStringList { u"--width"_s, u"0"_s } << none << u"--width: \"0\""_s;
        QTest::newRow("width 99999") << ok + QStringList { u"--width"_s, u"99999"_s } << none
                                     << u"--width: \"99999\""_s;
        QTest::newRow("height not a number")
            << ok + QStringList { u"--height=2x"_s } << none << u"--height: \"2x\""_s;
        QTest::newRow("width without value")
            << ok + QStringList { u"--width"_s } << none << u"--width needs a value"_s;
        QTest::newRow("width before an option") << QStringList { u"--skin"_s, u"翡翠"_s, u"--width"_s,
            u"--text"_s, u"a"_s } << none << u"--width needs a value"_s;
        QTest::newRow("caption with slash") << QStringList { u"--skin"_s, u"翡翠"_s, u"--text"_s, u"a/b"_s }
                                            << none << u"--text: caption \"a/b\""_s;
        QTest::newRow("caption up") << QStringList { u"--skin"_s, u"翡翠"_s, u"--text"_s, u"../x"_s } << none
                                    << u"--text: caption \"../x\""_s;
        QTest::newRow("caption dots") << QStringList { u"--skin"_s, u"翡翠"_s, u"--text"_s, u".."_s } << none
                                      << u"--text: caption \"..\""_s;
        QTest::newRow("second caption bad")
            << ok + QStringList { u"--text"_s, u"a\\b"_s } << none << u"--text: caption \"a\\b\""_s;
        QTest::newRow("caption too long") << QStringList { u"--skin"_s, u"翡翠"_s, u"--text"_s,
            QString(100, u'确') } << none << u"cannot be a file name"_s;
        QTest::newRow("no caption") << QStringList { u"--skin"_s, u"翡翠"_s } << none
                                    << u"--text is missing"_s;
        QTest::newRow("unknown option")
            << ok + QStringList { u"--colour"_s, u"red"_s } << none << u"unknown option \"--colour\""_s;
        QTest::newRow("flag with value")
            << ok + QStringList { u"--sprite=yes"_s } << none << u"--sprite takes no value"_s;
        QTest::newRow("format") << ok + QStringList { u"--format"_s, u"tiff"_s } << none
                                << u"--format: unknown format"_s;
        QTest::newRow("scale") << ok + QStringList { u"--scale"_s, u"3"_s } << none << u"--scale: \"3\""_s;
        QTest::newRow("controls") << ok + QStringList { u"--controls"_s, u"button,radio"_s } << none
                                  << u"--controls: unknown control \"radio\""_s;
        QTest::newRow("sprite without button")
            << ok + QStringList { u"--sprite"_s, u"--controls"_s, u"combo"_s } << none
            << u"--sprite needs the button control"_s;
        QTest::newRow("font without size")
            << ok + QStringList { u"--font"_s, u"宋体"_s } << none << u"--font: \"宋体\""_s;
        QTest::newRow("manifest not JSON")
            << QStringList() << QByteArray("[{\"skin\": ") << u"manifest is not JSON"_s;
        QTest::newRow("manifest not an array") << QStringList() << QByteArray("{}") << u"not a JSON array"_s;
        QTest::newRow("manifest entry key")
            << QStringList()
            << QByteArray(
                   "[{\"skin\":\"翡翠\",\"text\":\"a\"},{\"skin\":\"翡翠\",\"text\":\"b\",\"colour\":1}]")
            << u"manifest entry 2: unknown key \"colour\""_s;
        QTest::newRow("manifest entry width")
            << QStringList() << QByteArray("[{\"skin\":\"翡翠\",\"text\":\"a\",\"width\":0}]")
            << u"manifest entry 1: --width: \"0\""_s;
        QTest::newRow("manifest entry type")
            << QStringList() << QByteArray("[{\"skin\":\"翡翠\",\"text\":[\"a\", 2]}]")
            << u"manifest entry 1: \"text\" has a value of the wrong type"_s;
        QTest::newRow("manifest entry skin")
            << QStringList()
            << QByteArray("[{\"skin\":\"翡翠\",\"text\":\"a\"},{\"skin\":\"x\",\"text\":\"b\"}]")
            << u"manifest entry 2: unknown skin \"x\""_s;
        QTest::newRow("manifest with text") << QStringList { u"--text"_s, u"a"_s } << QByteArray("[]")
                                            << u"--text cannot be used with --manifest"_s;
        QTest::newRow("same file twice")
            << ok + QStringList { u"--text"_s, u"确定"_s } << none << u"would be written twice"_s;
    }
    void badInputIsRefused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, manifest);
        QFETCH(QString, message);
        QTemporaryDir root;
        QStringList full = arguments;
        if (!manifest.isNull()) {
            const QString path = root.filePath(u"m.json"_s);
            QVERIFY(writeAll(path, manifest));
            full << u"--manifest"_s << path;
        }
        full << u"--out"_s << root.filePath(u"out"_s);
        const QStringList before = tree(root.path());
        const Result result = run(m_folder->path(), full);
        QCOMPARE(result.code, int(RenderCommand::BadInput));
        QVERIFY2(result.err.startsWith(u"quillet render: "_s) && result.err.contains(message),
            qPrintable(result.err));
        QVERIFY(result.out.isEmpty());
        QCOMPARE(tree(root.path()), before);
    }

    void unwritableOutIsRefused_data()
    {
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("message");
        QTest::newRow("a file") << u"file"_s << u"--out: \""_s;
        QTest::newRow("below a file") << u"file/sub"_s << u"--out: cannot create"_s;
        QTest::newRow("no such system folder") << u"/proc/quillet-test/out"_s << u"--out: cannot create"_s;
    }
    void unwritableOutIsRefused()
    {
        QFETCH(QString, out);
        QFETCH(QString, message);
        QTemporaryDir root;
        QVERIFY(writeAll(root.filePath(u"file"_s), "x"));
        const QString target = out.startsWith(u'/') ? out : root.filePath(out);
        const Result result
            = run(m_folder->path(), { u"--skin"_s, u"翡翠"_s, u"--text"_s, u"a"_s, u"--out"_s, target });
        QCOMPARE(result.code, int(RenderCommand::BadInput));
        QVERIFY2(result.err.contains(message), qPrintable(result.err));
        QCOMPARE(tree(root.path()), QStringList { u"file"_s });
        QCOMPARE(readAll(root.filePath(u"file"_s)), QByteArray("x"));
    }

    void linksAreNotWrittenThrough()
    {
        QTemporaryDir root;
        QDir(root.path()).mkdir(u"out"_s);
        QVERIFY(writeAll(root.filePath(u"outside.png"_s), "keep"));
        QVERIFY(QFile::link(root.filePath(u"outside.png"_s), root.filePath(u"out/a_正常.png"_s)));
        const Result result = run(m_folder->path(),
            { u"--skin"_s, u"翡翠"_s, u"--text"_s, u"a"_s, u"--out"_s, root.filePath(u"out"_s) });
        QCOMPARE(result.code, int(RenderCommand::BadInput));
        QVERIFY2(result.err.contains(u"is a link"_s), qPrintable(result.err));
        QCOMPARE(readAll(root.filePath(u"outside.png"_s)), QByteArray("keep"));
        QCOMPARE(tree(root.filePath(u"out"_s)), QStringList { u"a_正常.png"_s });
    }

    void writesTheDesignersNames_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("manifest");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("defaults") << QStringList { u"--skin"_s, u"翡翠"_s, u"--text"_s, u"确定"_s }
                                  << QByteArray()
                                  << QStringList { u"确定_正常.png"_s, u"确定_按下.png"_s, u"确定_点燃.png"_s,
                                         u"确定_禁止.png"_s };
        QTest::newRow("two captions, all controls, gif")
            << QStringList { u"--skin"_s, u"Aqua"_s, u"--text"_s, u"OK"_s, u"--text"_s, u"取消"_s,
                   u"--controls"_s, u"button,combo,check"_s, u"--format"_s, u"gif"_s }
            << QByteArray()
            << QStringList { u"OK_正常.gif"_s, u"OK_按下.gif"_s, u"OK_点燃.gif"_s, u"OK_禁止.gif"_s,
                   u"组合1_正常.gif"_s, u"组合1_按下.gif"_s, u"组合1_禁止.gif"_s, u"选择1_正常.gif"_s,
                   u"选择1_选中.gif"_s, u"选择1_禁止.gif"_s, u"取消_正常.gif"_s, u"取消_按下.gif"_s,
                   u"取消_点燃.gif"_s, u"取消_禁止.gif"_s, u"组合2_正常.gif"_s, u"组合2_按下.gif"_s,
                   u"组合2_禁止.gif"_s, u"选择2_正常.gif"_s, u"选择2_选中.gif"_s, u"选择2_禁止.gif"_s };
        QTest::newRow("2x only, by file name")
            << QStringList { u"--skin=经典.an"_s, u"--text=a b"_s, u"--scale=2"_s, u"--format=JPG"_s }
            << QByteArray()
            << QStringList { u"a b_正常@2x.jpg"_s, u"a b_按下@2x.jpg"_s, u"a b_点燃@2x.jpg"_s,
                   u"a b_禁止@2x.jpg"_s };
        QTest::newRow("sprite at both ratios")
            << QStringList { u"--skin"_s, u"翡翠"_s, u"--text"_s, u"确定"_s, u"--scale"_s, u"1,2"_s,
                   u"--sprite"_s, u"--transparent"_s }
            << QByteArray()
            << QStringList { u"确定_正常.png"_s, u"确定_按下.png"_s, u"确定_点燃.png"_s, u"确定_禁止.png"_s,
                   u"确定_正常@2x.png"_s, u"确定_按下@2x.png"_s, u"确定_点燃@2x.png"_s, u"确定_禁止@2x.png"_s,
                   u"确定_sprite.png"_s, u"确定_sprite@2x.png"_s, u"确定.css"_s, u"确定.html"_s };
        QTest::newRow("manifest with defaults from the command line")
            << QStringList { u"--format"_s, u"bmp"_s }
            << QByteArray("[{\"skin\":\"翡翠\",\"text\":[\"a\",\"b\"],\"controls\":[\"check\"]},"
                          "{\"skin\":\"Aqua\",\"text\":\"c\",\"format\":\"png\",\"scale\":2,\"border-"
                          "removal\":true}]")
            << QStringList { u"选择1_正常.bmp"_s, u"选择1_选中.bmp"_s, u"选择1_禁止.bmp"_s,
                   u"选择2_正常.bmp"_s, u"选择2_选中.bmp"_s, u"选择2_禁止.bmp"_s, u"c_正常@2x.png"_s,
                   u"c_按下@2x.png"_s, u"c_点燃@2x.png"_s, u"c_禁止@2x.png"_s };
    }
    void writesTheDesignersNames()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, manifest);
        QFETCH(QStringList, files);
        QTemporaryDir root;
        QStringList full = arguments;
        if (!manifest.isNull()) {
            QVERIFY(writeAll(root.filePath(u"m.json"_s), manifest));
            full << u"--manifest"_s << root.filePath(u"m.json"_s);
        }
        // A folder that does not exist yet is made.
        const QString out = root.filePath(u"new/out"_s);
        full << u"--out"_s << out;
        const Result result = run(m_folder->path(), full);
        QVERIFY2(result.code == 0, qPrintable(result.err));
        QVERIFY(result.err.isEmpty());
        QCOMPARE(tree(out), sorted(files));
        for (const QString &file : files) {
            const QByteArray bytes = readAll(out + u'/' + file);
            QVERIFY2(bytes.size() > 20, qPrintable(file));
        }
    }

    void listsSkinsInCatalogueOrder()
    {
        const Result result = run(m_folder->path(), { u"--list-skins"_s });
        QCOMPARE(result.code, 0);
        QStringList files;
        quillet::catalogue::SkinCatalogue::fill(m_folder->skins(), files, nullptr, {});
        QStringList names;
        for (const QString &file : files)
            names.append(quillet::catalogue::SkinCatalogue::displayName(file));
        QCOMPARE(result.out, names.join(u'\n') + u'\n');
        QCOMPARE(names, (QStringList { u"翡翠"_s, u"经典"_s, u"Aqua"_s }));
    }

    void helpAndVersion_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("starts");
        QTest::newRow("help") << u"--help"_s << u"Usage: quillet render"_s;
        QTest::newRow("version") << u"--version"_s << u"quillet " QUILLET_VERSION ""_s;
    }
    void helpAndVersion()
    {
        QFETCH(QString, argument);
        QFETCH(QString, starts);
        const Result result = run(m_folder->path(), { argument });
        QCOMPARE(result.code, 0);
        QVERIFY2(result.out.startsWith(starts), qPrintable(result.out));
        QVERIFY(result.err.isEmpty());
    }

    void progressBar_data()
    {
        QTest::addColumn<int>("done");
        QTest::addColumn<int>("total");
        QTest::addColumn<QString>("line");
        QTest::newRow("start") << 0 << 60 << u"[" + QString(30, u' ') + u"] 0/60"_s;
        QTest::newRow("half") << 30 << 60 << u"[" + QString(15, u'#') + QString(15, u' ') + u"] 30/60"_s;
        QTest::newRow("end") << 7 << 7 << u"[" + QString(30, u'#') + u"] 7/7"_s;
    }
    void progressBar()
    {
        QFETCH(int, done);
        QFETCH(int, total);
        QFETCH(QString, line);
        QCOMPARE(ProgressBar::line(done, total), line);
    }

    void progressOnlyOnATerminalAndForMoreThanAFewFiles()
    {
        QString text;
        QTextStream stream(&text);
        QVERIFY(!ProgressBar(stream, 100, false).enabled());
        QVERIFY(!ProgressBar(stream, ProgressBar::kMinFiles, true).enabled());
        ProgressBar bar(stream, 200, true);
        QVERIFY(bar.enabled());
        for (int i = 0; i < 200; ++i)
            bar.step();
        bar.finish();
        stream.flush();
        // Redrawn once per percent from 0 to 100, ending on the full bar and a line end.
        QCOMPARE(text.count(u'\r'), 101);
        QVERIFY(text.endsWith(ProgressBar::line(200, 200) + u'\n'));
    }

    // The real program, without a display and without a platform chosen for it.
    void runsWithoutADisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("files");
        QTest::newRow("writes") << QStringList { u"--skin"_s, u"翡翠"_s, u"--text"_s, u"确定"_s, u"--scale"_s,
            u"1,2"_s, u"--transparent"_s, u"--sprite"_s }
                                << 0 << 12;
        QTest::newRow("refuses") << QStringList { u"--skin"_s, u"翡翠"_s, u"--text"_s, u"确定"_s,
            u"--width"_s, u"99999"_s }
                                 << int(RenderCommand::BadInput) << 0;
    }
    void runsWithoutADisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(int, files);
        const QString program = QStringLiteral(QUILLET_BINARY_DIR "/bin/quillet");
        if (!QFileInfo::exists(program))
            QSKIP("the quillet executable is not built");
        QTemporaryDir root;
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"DISPLAY"_s);
        environment.remove(u"WAYLAND_DISPLAY"_s);
        environment.remove(u"QT_QPA_PLATFORM"_s);
        process.setProcessEnvironment(environment);
        process.start(program,
            QStringList { u"render"_s } + arguments + QStringList { u"--out"_s, root.filePath(u"out"_s) });
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(process.exitCode() == code, qPrintable(err));
        const QStringList written = tree(root.filePath(u"out"_s));
        QCOMPARE(written.size(), files);
        if (code != 0) {
            QVERIFY2(err.contains(u"--width"_s), qPrintable(err));
            QCOMPARE(tree(root.path()), QStringList());
            return;
        }
        const QImage sheet(root.filePath(u"out/确定_sprite@2x.png"_s));
        QCOMPARE(sheet.size(), QSize(208, 192));
        QVERIFY(sheet.hasAlphaChannel());
    }
};

QTEST_MAIN(TestRenderCommand)
#include "tst_rendercommand.moc"
