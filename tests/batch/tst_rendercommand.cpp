// "quillet render": every bad input is refused with a message that names it, before
// anything is written; good input writes exactly the designer's file names into --out.
#include "batch/progressbar.h"
#include "batch/rendercommand.h"
#include "catalogue/skincatalogue.h"
#include "platform/form/fontsetup.h"

#include "support/programfolder.h"
#include "support/smalltmpfs.h"
#include "support/testfiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;
using quillet::batch::ProgressBar;
namespace RenderCommand = quillet::batch::RenderCommand;

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

const QStringList kButton { u"正常"_s, u"按下"_s, u"点燃"_s, u"禁止"_s };
const QStringList kCombo { u"正常"_s, u"按下"_s, u"禁止"_s };
const QStringList kCheck { u"正常"_s, u"选中"_s, u"禁止"_s };
// With --check-states, the states a page shows beyond the designer's three.
const QStringList kEveryCheck
    = kCheck + QStringList { u"点燃"_s, u"按下"_s, u"选中点燃"_s, u"选中按下"_s, u"选中禁止"_s };

// The pictures of one control in the designer's names: stem_state followed by tail.
QStringList pictures(const QString &stem, const QString &tail, const QStringList &states = kButton)
{
    QStringList names;
    for (const QString &state : states)
        names << stem + u'_' + state + tail;
    return names;
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
        const auto refused = [&](const char *name, const QStringList &extra, const QString &message) {
            QTest::newRow(name) << ok + extra << none << message;
        };
        const auto inManifest = [](const char *name, const char *manifest, const QString &message) {
            QTest::newRow(name) << QStringList() << QByteArray(manifest) << message;
        };
        QTest::newRow("unknown skin") << QStringList { u"--skin"_s, u"nope"_s, u"--text"_s, u"a"_s } << none
                                      << u"the command line: unknown skin \"nope\""_s;
        refused("width 0", { u"--width"_s, u"0"_s }, u"--width: \"0\""_s);
        refused("width 99999", { u"--width"_s, u"99999"_s }, u"--width: \"99999\""_s);
        refused("height not a number", { u"--height=2x"_s }, u"--height: \"2x\""_s);
        refused("width without value", { u"--width"_s }, u"--width needs a value"_s);
        QTest::newRow("width before an option") << QStringList { u"--skin"_s, u"翡翠"_s, u"--width"_s,
            u"--text"_s, u"a"_s } << none << u"--width needs a value"_s;
        QTest::newRow("caption with slash") << QStringList { u"--skin"_s, u"翡翠"_s, u"--text"_s, u"a/b"_s }
                                            << none << u"--text: caption \"a/b\""_s;
        QTest::newRow("caption up") << QStringList { u"--skin"_s, u"翡翠"_s, u"--text"_s, u"../x"_s } << none
                                    << u"--text: caption \"../x\""_s;
        QTest::newRow("caption dots") << QStringList { u"--skin"_s, u"翡翠"_s, u"--text"_s, u".."_s } << none
                                      << u"--text: caption \"..\""_s;
        refused("second caption bad", { u"--text"_s, u"a\\b"_s }, u"--text: caption \"a\\b\""_s);
        QTest::newRow("caption too long") << QStringList { u"--skin"_s, u"翡翠"_s, u"--text"_s,
            QString(100, u'确') } << none << u"cannot be a file name"_s;
        QTest::newRow("no caption") << QStringList { u"--skin"_s, u"翡翠"_s } << none
                                    << u"--text is missing"_s;
        refused("unknown option", { u"--colour"_s, u"red"_s }, u"unknown option \"--colour\""_s);
        refused("flag with value", { u"--sprite=yes"_s }, u"--sprite takes no value"_s);
        refused("format", { u"--format"_s, u"tiff"_s }, u"--format: unknown format"_s);
        refused("scale", { u"--scale"_s, u"1,5"_s }, u"--scale: \"1,5\" is not a list of 1, 1.5, 2, 3 and 4"_s);
        refused("half pixels of an odd width", { u"--scale=1,1.5"_s, u"--width=105"_s },
            u"--scale 1.5 of --width 105"_s);
        refused("half pixels of the check box", { u"--scale=1.5"_s, u"--controls=button,check"_s },
            u"--scale 1.5 gives the check box"_s);
        refused(
            "template up", { u"--name"_s, u"../{text}"_s }, u"--name: \"../{text}\": \"..\" leaves --out"_s);
        refused("template up inside", { u"--name"_s, u"a/../../{text}"_s }, u"\"..\" leaves --out"_s);
        refused("template absolute", { u"--name"_s, u"/tmp/{text}"_s }, u"an absolute path leaves --out"_s);
        refused("template backslash", { u"--name"_s, u"a\\{text}"_s }, u"\"\\\" is no folder separator"_s);
        refused("template field", { u"--name"_s, u"{caption}"_s }, u"unknown field {caption}"_s);
        refused("template brace", { u"--name"_s, u"{text"_s }, u"a \"{\" without its \"}\""_s);
        refused(
            "template empty folder", { u"--name"_s, u"a//{text}"_s }, u"cannot be a folder or file name"_s);
        refused("template without state", { u"--name"_s, u"{skin}/{text}"_s }, u"would be written twice"_s);
        refused("icon missing", { u"--icon"_s, u"/nonexistent/下载.svg"_s },
            u"--icon: \"/nonexistent/下载.svg\" does not exist"_s);
        refused("icon not a picture", { u"--icon"_s, QStringLiteral(QUILLET_SOURCE_DIR "/README.md") },
            u"is not an SVG or PNG picture"_s);
        refused("accent by name", { u"--accent"_s, u"red"_s }, u"--accent: \"red\" is not a colour"_s);
        refused("accent empty", { u"--accent="_s }, u"--accent: \"\" is empty"_s);
        refused("accent of four digits", { u"--accent=#fa0f"_s }, u"give #rgb or #rrggbb"_s);
        refused("accent with a control character", { u"--accent"_s, u"#fff\x1b[2J"_s },
            u"--accent: \"#fff\\x1b[2J\""_s);
        refused("accent turned right to left", { u"--accent"_s, u"#f\u202e00"_s }, u"<U+202E>"_s);
        inManifest("manifest accent type", "[{\"skin\":\"翡翠\",\"text\":\"a\",\"accent\":255}]",
            u"manifest entry 1: \"accent\" has a value of the wrong type"_s);
        inManifest("manifest accent", "[{\"skin\":\"翡翠\",\"text\":\"a\",\"accent\":\"#12345\"}]",
            u"manifest entry 1: --accent: \"#12345\" is not a colour"_s);
        refused("icon position", { u"--icon-position=bottom"_s },
            u"--icon-position: \"bottom\" is not left, right or top"_s);
        inManifest("manifest icon beside it", "[{\"skin\":\"翡翠\",\"text\":\"a\",\"icon\":\"m.json.svg\"}]",
            u"manifest entry 1: --icon: \"m.json.svg\" does not exist"_s);
        inManifest("manifest template type", "[{\"skin\":\"翡翠\",\"text\":\"a\",\"name\":3}]",
            u"manifest entry 1: \"name\" has a value of the wrong type"_s);
        refused(
            "controls", { u"--controls"_s, u"button,radio"_s }, u"--controls: unknown control \"radio\" (use button, combo, check)"_s);
        refused("check states without the check box", { u"--check-states"_s },
            u"--check-states needs the check control"_s);
        refused("sprite without button", { u"--sprite"_s, u"--controls"_s, u"combo"_s },
            u"--sprite needs the button control"_s);
        refused("font without size", { u"--font"_s, u"宋体"_s }, u"--font: \"宋体\""_s);
        // A family goes to QFont and must stay a name: no quotes, backslashes or controls, and
        // the refusal stays one line.
        refused("font with a quote", { u"--font"_s, u"x\"; } body { color: red } a { b: \"c 9"_s },
            u"a font family holds no quotes"_s);
        refused("font with a backslash", { u"--font"_s, u"x\\ 9"_s }, u"a font family holds no quotes"_s);
        refused("font with a line feed", { u"--font"_s, u"x\nbody { color: red } 9"_s },
            u"--font: \"x\\x0abody"_s);
        inManifest("manifest not JSON", "[{\"skin\": ", u"manifest is not JSON"_s);
        inManifest("manifest not an array", "{}", u"not a JSON array"_s);
        inManifest("manifest entry key",
            "[{\"skin\":\"翡翠\",\"text\":\"a\"},{\"skin\":\"翡翠\",\"text\":\"b\",\"colour\":1}]",
            u"manifest entry 2: unknown key \"colour\""_s);
        inManifest("manifest entry width", "[{\"skin\":\"翡翠\",\"text\":\"a\",\"width\":0}]",
            u"manifest entry 1: --width: \"0\""_s);
        inManifest("manifest entry type", "[{\"skin\":\"翡翠\",\"text\":[\"a\", 2]}]",
            u"manifest entry 1: \"text\" has a value of the wrong type"_s);
        inManifest("manifest entry skin",
            "[{\"skin\":\"翡翠\",\"text\":\"a\"},{\"skin\":\"x\",\"text\":\"b\"}]",
            u"manifest entry 2: unknown skin \"x\""_s);
        QTest::newRow("manifest with text") << QStringList { u"--text"_s, u"a"_s } << QByteArray("[]")
                                            << u"--text cannot be used with --manifest"_s;
        refused("same file twice", { u"--text"_s, u"确定"_s }, u"would be written twice"_s);
        // <root> is the test's folder: a file "outside.png", a folder "elsewhere", and "linked"
        // with a link to each, named as a picture and as a template's folder.
        refused("out is a file", { u"--out=<root>/outside.png"_s }, u"--out: \""_s);
        refused("out below a file", { u"--out=<root>/outside.png/sub"_s }, u"--out: cannot create"_s);
        refused(
            "out in no such system folder", { u"--out=/proc/quillet-test/out"_s }, u"--out: cannot create"_s);
        QTest::newRow("manifest is a device") << QStringList { u"--manifest=/dev/zero"_s } << none
                                             << u"--manifest: cannot read \"/dev/zero\": is not a regular file"_s;
        QTest::newRow("manifest is a FIFO") << QStringList { u"--manifest=<root>/fifo"_s } << none
                                           << u"is not a regular file"_s;
        refused("picture over the pixel budget", { u"--width=4096"_s, u"--height=4096"_s, u"--scale=3"_s },
            u"is 151.0 megapixels; a picture holds at most 16.8 megapixels"_s);
        refused("sprite over the pixel budget", { u"--width=4096"_s, u"--height=4096"_s, u"--sprite"_s },
            u"as a sprite sheet is 67.1 megapixels"_s);
        refused("caption with control characters", { u"--text"_s, u"a\x1b[2J\rb\n"_s },
            u"caption \"a\\x1b[2J\\x0db\\x0a\""_s);
        refused("caption turned right to left", { u"--text"_s, u"gnp.\u202eexe"_s }, u"cannot be a file name"_s);
        refused("a megabyte caption", { u"--text"_s, QString(1 << 20, u'x') }, u" … "_s);
        const QStringList linked { u"--skin"_s, u"翡翠"_s, u"--text"_s, u"a"_s, u"--out=<root>/linked"_s };
        QTest::newRow("picture is a link") << linked << none << u"is a link"_s;
        QTest::newRow("template folder is a link")
            << linked + QStringList { u"--name={skin}/{text}_{state}"_s } << none << u"is a link"_s;
    }
    void badInputIsRefused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, manifest);
        QFETCH(QString, message);
        QTemporaryDir root;
        QVERIFY(writeAll(root.filePath(u"outside.png"_s), "keep"));
        QVERIFY(QDir(root.path()).mkpath(u"elsewhere"_s) && QDir(root.path()).mkpath(u"linked"_s));
        QVERIFY(QFile::link(root.filePath(u"outside.png"_s), root.filePath(u"linked/a_正常.png"_s)));
        QVERIFY(QFile::link(root.filePath(u"elsewhere"_s), root.filePath(u"linked/翡翠"_s)));
        QVERIFY(::mkfifo(QFile::encodeName(root.filePath(u"fifo"_s)).constData(), 0600) == 0);
        QStringList full = arguments.replaceInStrings(u"<root>"_s, root.path());
        if (!manifest.isNull()) {
            const QString path = root.filePath(u"m.json"_s);
            QVERIFY(writeAll(path, manifest));
            full << u"--manifest"_s << path;
        }
        if (!full.join(u' ').contains(u"--out"_s))
            full << u"--out"_s << root.filePath(u"out"_s);
        const QStringList before = tree(root.path());
        const Result result = run(m_folder->path(), full);
        QCOMPARE(result.code, int(RenderCommand::BadInput));
        QVERIFY2(result.err.startsWith(u"quillet render: "_s) && result.err.contains(message)
                && result.err.count(u'\n') == 1,
            qPrintable(result.err));
        // One short line, whatever the input: nothing in it can move the terminal.
        QVERIFY2(result.err.size() < 600 && result.err.count(u'\n') == 1 && result.err.endsWith(u'\n'),
            qPrintable(result.err.left(600)));
        for (const QChar c : QStringView(result.err).chopped(1))
            QVERIFY2(c.category() != QChar::Other_Control, qPrintable(result.err));
        QVERIFY(result.out.isEmpty());
        QCOMPARE(tree(root.path()), before);
        QCOMPARE(readAll(root.filePath(u"outside.png"_s)), QByteArray("keep"));
    }

    // No file of the run's own input is written over, by its name or by another link to it;
    // the refusal comes before anything is written.
    void inputsAreNeverOutputs_data()
    {
        QTest::addColumn<QString>("input"); // below the test's folder; out/ is --out
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("manifest") << u"out/a_正常.png"_s << QStringList { u"--manifest=<input>"_s };
        QTest::newRow("manifest by a hard link")
            << u"m.json"_s << QStringList { u"--manifest=<input>"_s, u"link:out/a_按下.png"_s };
        QTest::newRow("icon") << u"out/icon_正常.png"_s
                              << QStringList { u"--skin=翡翠"_s, u"--text=icon"_s, u"--icon=<input>"_s };
    }
    void inputsAreNeverOutputs()
    {
        QFETCH(QString, input);
        QFETCH(QStringList, arguments);
        QTemporaryDir root;
        const QString path = root.filePath(input);
        QVERIFY(QDir().mkpath(root.filePath(u"out"_s)));
        const QByteArray bytes = input.contains(u"icon"_s)
            ? readAll(QStringLiteral(QUILLET_SOURCE_DIR "/ui/icons/quillet-64.png"))
            : QByteArray(R"([{"skin": "翡翠", "text": "a"}])");
        QVERIFY(writeAll(path, bytes));
        if (arguments.last().startsWith(u"link:"_s)) {
            const QString link = root.filePath(arguments.takeLast().mid(5));
            QVERIFY(::link(QFile::encodeName(path).constData(), QFile::encodeName(link).constData()) == 0);
        }
        arguments.replaceInStrings(u"<input>"_s, path);
        const QStringList before = tree(root.path());
        const Result result = run(m_folder->path(), arguments + QStringList { u"--out"_s, root.filePath(u"out"_s) });
        QCOMPARE(result.code, int(RenderCommand::BadInput));
        QVERIFY2(result.err.contains(u"is the input \""_s + path), qPrintable(result.err));
        QCOMPARE(tree(root.path()), before);
        QCOMPARE(readAll(path), bytes);
    }

    // A folder swapped for a link while the run writes cannot carry one file elsewhere: the
    // writer holds every folder open from before the first file.
    void aFolderSwappedDuringTheRunIsNotFollowed()
    {
        QTemporaryDir root;
        const QString out = root.filePath(u"out"_s);
        const QString elsewhere = root.filePath(u"elsewhere"_s);
        QVERIFY(QDir().mkpath(elsewhere));
        QStringList job { u"--skin"_s, u"Aqua"_s, u"--name={skin}/{text}_{state}"_s, u"--out"_s, out };
        for (int i = 0; i < 300; ++i)
            job << u"--text"_s << u"按钮"_s + QString::number(i);
        std::atomic<bool> running { true };
        std::atomic<int> swaps { 0 };
        std::thread swapper([&] {
            const QByteArray folder = QFile::encodeName(out + u"/Aqua"_s);
            const QByteArray aside = QFile::encodeName(out + u"/Aqua.real"_s);
            const QByteArray target = QFile::encodeName(elsewhere);
            while (running) {
                if (::rename(folder.constData(), aside.constData()) == 0) {
                    if (::symlink(target.constData(), folder.constData()) == 0)
                        ++swaps;
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                    ::unlink(folder.constData());
                    ::rename(aside.constData(), folder.constData());
                }
                std::this_thread::yield();
            }
        });
        const Result result = run(m_folder->path(), job);
        running = false;
        swapper.join();
        QVERIFY2(swaps > 0, "the folder was never swapped while the run wrote");
        QVERIFY2(result.code == 0 || result.code == int(RenderCommand::WriteFailed), qPrintable(result.err));
        QCOMPARE(tree(elsewhere), QStringList());
    }

    // A full disk stops the run with one line and exit 1; what was written before is whole,
    // and nothing half-written or temporary is left.
    void fullDiskIsAFailure()
    {
        SmallTmpfs disk("size=300k");
        if (!disk.mounted)
            QSKIP(qPrintable(disk.error));
        QStringList job { u"--skin"_s, u"Aqua"_s, u"--out"_s, disk.filePath(u"out"_s) };
        for (int i = 0; i < 150; ++i)
            job << u"--text"_s << u"按钮"_s + QString::number(i);
        const Result result = run(m_folder->path(), job);
        QCOMPARE(result.code, int(RenderCommand::WriteFailed));
        QVERIFY2(result.err.startsWith(u"quillet render: cannot write \""_s)
                && result.err.contains(u"No space left on device"_s) && result.err.count(u'\n') == 1,
            qPrintable(result.err));
        const QStringList written = tree(disk.filePath(u"out"_s));
        QVERIFY(written.size() > 10);
        for (const QString &file : written)
            QVERIFY2(!file.startsWith(u'.') && !QImage(disk.filePath(u"out/"_s + file)).isNull(),
                qPrintable(file));
    }

    // A run stopped in the middle, then the same job again: every file whole, no litter. A
    // signal the program can catch ends it at once with the shell's code, its temporary
    // runtime folder gone too; SIGKILL leaves what the kernel leaves.
    void stoppedRunLeavesNoLitter_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("code");
        QTest::newRow("SIGKILL") << int(SIGKILL) << -1;
        QTest::newRow("SIGTERM") << int(SIGTERM) << 143;
        QTest::newRow("SIGINT") << int(SIGINT) << 130;
    }
    void stoppedRunLeavesNoLitter()
    {
        QFETCH(int, signal);
        QFETCH(int, code);
        const QString program = QStringLiteral(QUILLET_BINARY_DIR "/bin/quillet");
        if (!QFileInfo::exists(program))
            QSKIP("the quillet executable is not built");
        QTemporaryDir root;
        const QString out = root.filePath(u"out"_s);
        const QString temporary = root.filePath(u"tmp"_s);
        QVERIFY(QDir().mkpath(temporary));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"XDG_RUNTIME_DIR"_s);
        environment.insert(u"TMPDIR"_s, temporary);
        QStringList job { u"render"_s, u"--skin"_s, u"Aqua"_s, u"--scale=1,2,3"_s, u"--out"_s, out };
        // Long enough that the signal lands mid-run; the sanitizer build draws some fifteen
        // times slower, and finishing the job again is most of the time here.
#if defined(__SANITIZE_ADDRESS__)
        constexpr int kCaptions = 40;
#else
        constexpr int kCaptions = 200;
#endif
        for (int i = 0; i < kCaptions; ++i)
            job << u"--text"_s << u"按钮"_s + QString::number(i);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, job);
        QVERIFY(process.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QDir(out).entryList(QDir::Files).size() > 20, 60000);
        ::kill(pid_t(process.processId()), signal);
        QVERIFY(process.waitForFinished(30000));
        const QStringList stopped = tree(out);
        QVERIFY(stopped.size() < kCaptions * 12);
        if (code >= 0) {
            QCOMPARE(process.exitStatus(), QProcess::NormalExit);
            QCOMPARE(process.exitCode(), code);
            const QString err = QString::fromUtf8(process.readAllStandardError());
            QVERIFY2(err.startsWith(u"quillet render: interrupted"_s) && err.count(u'\n') == 1, qPrintable(err));
            QCOMPARE(tree(temporary), QStringList());
            for (const QString &file : stopped)
                QVERIFY2(!file.startsWith(u'.') && !QImage(out + u'/' + file).isNull(), qPrintable(file));
        }
        process.start(program, job);
        QVERIFY(process.waitForFinished(300000));
        QCOMPARE(process.exitCode(), 0);
        const QStringList written = tree(out);
        QCOMPARE(written.size(), kCaptions * 12);
        for (const QString &file : written)
            QVERIFY2(!file.startsWith(u'.') && file.endsWith(u".png"_s), qPrintable(file));
        if (code >= 0)
            QVERIFY2(QString::fromUtf8(process.readAllStandardOutput())
                         .contains(QString::number(stopped.size()) + u" already up to date"_s),
                "the rerun skips what the stopped run wrote");
    }

    // Bytes that are no UTF-8 are refused before anything else: decoded, two different
    // names would become one file.
    void invalidUtf8IsRefused()
    {
        const QString program = QStringLiteral(QUILLET_BINARY_DIR "/bin/quillet");
        if (!QFileInfo::exists(program))
            QSKIP("the quillet executable is not built");
        QTemporaryDir root;
        QProcess process;
        process.start(u"/bin/sh"_s,
            { u"-c"_s, u"exec \"$0\" render --skin 翡翠 --text \"$(printf 'a\\377')\" --out \"$1\""_s, program,
                root.filePath(u"out"_s) });
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), int(RenderCommand::BadInput));
        QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
            u"quillet render: argument 4 is not valid UTF-8 text\n"_s);
        QVERIFY(!QFileInfo::exists(root.filePath(u"out"_s)));
    }

    // --check-states adds the check box's other states, each its own picture, and leaves
    // the designer's three as they were.
    void checkStatesAreTheirOwn_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<QString>("scale");
        QTest::addColumn<QStringList>("alike"); // pairs of states the skin draws the same
        QTest::newRow("翡翠") << u"翡翠"_s << u"1"_s << QStringList();
        QTest::newRow("Aqua, 2x") << u"Aqua"_s << u"2"_s << QStringList();
        // The classic box is grey when pressed, as when disabled.
        QTest::newRow("经典") << u"经典"_s << u"1"_s << QStringList { u"禁止 按下"_s };
    }
    void checkStatesAreTheirOwn()
    {
        QFETCH(QString, skin);
        QFETCH(QString, scale);
        QFETCH(QStringList, alike);
        QTemporaryDir plain;
        QTemporaryDir every;
        const QStringList common { u"--skin"_s, skin, u"--text"_s, u"确定"_s, u"--controls"_s, u"check"_s,
            u"--scale"_s, scale, u"--transparent"_s };
        Result r = run(m_folder->path(), common + QStringList { u"--out"_s, plain.path() });
        QVERIFY2(r.code == 0, qPrintable(r.err));
        r = run(m_folder->path(), common + QStringList { u"--check-states"_s, u"--out"_s, every.path() });
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QString tail = scale == u"1" ? u".png"_s : u"@2x.png"_s;
        QStringList expected = pictures(u"选择1"_s, tail, kEveryCheck);
        expected.sort();
        QCOMPARE(tree(every.path()), expected);
        for (const QString &file : pictures(u"选择1"_s, tail, kCheck))
            QCOMPARE(readAll(every.filePath(file)), readAll(plain.filePath(file)));
        QList<QImage> shown;
        for (const QString &file : pictures(u"选择1"_s, tail, kEveryCheck))
            shown.append(QImage(every.filePath(file)).convertToFormat(QImage::Format_ARGB32));
        for (int i = 0; i < shown.size(); ++i) {
            QCOMPARE(shown[i].size(), QSize(13, 13) * scale.toInt());
            for (int j = 0; j < i; ++j) {
                const QString pair = kEveryCheck[j] + u' ' + kEveryCheck[i];
                QVERIFY2((shown[i] == shown[j]) == alike.contains(pair),
                    qPrintable(pair + (alike.contains(pair) ? u" differ"_s : u" look alike"_s)));
            }
        }
    }

    // The focused button is a fifth picture and a fifth band under the four, which keep
    // their offsets, and the style sheet moves to it on :focus-visible.
    void focusIsAFifthState()
    {
        QTemporaryDir plain;
        QTemporaryDir focus;
        const QStringList common { u"--skin"_s, u"经典"_s, u"--text"_s, u"确定"_s, u"--sprite"_s,
            u"--scale"_s, u"1,2"_s };
        QCOMPARE(run(m_folder->path(), common + QStringList { u"--out"_s, plain.path() }).code, 0);
        const Result r
            = run(m_folder->path(), common + QStringList { u"--focus"_s, u"--out"_s, focus.path() });
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const auto argb = [](const QImage &image) { return image.convertToFormat(QImage::Format_ARGB32); };
        for (const int ratio : { 1, 2 }) {
            const QString mark = ratio == 2 ? u"@2x"_s : QString();
            const QImage normal(focus.filePath(u"确定_正常"_s + mark + u".png"_s));
            const QImage focused(focus.filePath(u"确定_焦点"_s + mark + u".png"_s));
            QCOMPARE(focused.size(), QSize(104, 24) * ratio);
            QVERIFY(focused != normal);
            const QImage before(plain.filePath(u"确定_sprite"_s + mark + u".png"_s));
            const QImage sheet(focus.filePath(u"确定_sprite"_s + mark + u".png"_s));
            QCOMPARE(sheet.size(), QSize(104, 5 * 24) * ratio);
            QCOMPARE(argb(sheet.copy(0, 0, sheet.width(), before.height())), argb(before));
            QCOMPARE(
                argb(sheet.copy(0, 4 * focused.height(), focused.width(), focused.height())), argb(focused));
        }
        const QByteArray css = readAll(focus.filePath(u"确定.css"_s));
        QVERIFY(css.contains(":focus-visible {\n  background-position: 0 -96px;"));
        QVERIFY(css.contains("background-size: 104px 120px;"));
        QVERIFY(!readAll(plain.filePath(u"确定.css"_s)).contains("focus"));
    }

    void writesTheDesignersNames_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("manifest");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("defaults") << QStringList { u"--skin"_s, u"翡翠"_s, u"--text"_s, u"确定"_s }
                                  << QByteArray() << pictures(u"确定"_s, u".png"_s);
        QTest::newRow("two captions, all controls, gif")
            << QStringList { u"--skin"_s, u"Aqua"_s, u"--text"_s, u"OK"_s, u"--text"_s, u"取消"_s,
                   u"--controls"_s, u"button,combo,check"_s, u"--format"_s, u"gif"_s }
            << QByteArray()
            << pictures(u"OK"_s, u".gif"_s) + pictures(u"组合1"_s, u".gif"_s, kCombo)
                + pictures(u"选择1"_s, u".gif"_s, kCheck) + pictures(u"取消"_s, u".gif"_s)
                + pictures(u"组合2"_s, u".gif"_s, kCombo) + pictures(u"选择2"_s, u".gif"_s, kCheck);
        QTest::newRow("2x only, by file name")
            << QStringList { u"--skin=经典.an"_s, u"--text=a b"_s, u"--scale=2"_s, u"--format=JPG"_s }
            << QByteArray() << pictures(u"a b"_s, u"@2x.jpg"_s);
        // The sprite sheets stay PNG.
        QTest::newRow("sprite at both ratios, webp")
            << QStringList { u"--skin"_s, u"翡翠"_s, u"--text"_s, u"确定"_s, u"--scale"_s, u"1,2"_s,
                   u"--sprite"_s, u"--transparent"_s, u"--format=webp"_s }
            << QByteArray()
            << pictures(u"确定"_s, u".webp"_s) + pictures(u"确定"_s, u"@2x.webp"_s)
                + QStringList { u"确定_sprite.png"_s, u"确定_sprite@2x.png"_s, u"确定.css"_s,
                      u"确定.html"_s };
        // A caption the template does not use needs not be a file name.
        QTest::newRow("caption unused by the template")
            << QStringList { u"--skin=翡翠"_s, u"--text=Browse..."_s, u"--name=x_{state}"_s } << QByteArray()
            << pictures(u"x"_s, u".png"_s);
        QTest::newRow("every density, webp") << QStringList { u"--skin"_s, u"翡翠"_s, u"--text"_s, u"确定"_s,
            u"--scale"_s, u"3,1.5,1"_s, u"--format"_s, u"webp"_s, u"--controls"_s, u"combo"_s }
                                             << QByteArray()
                                             << pictures(u"组合1"_s, u".webp"_s, kCombo)
                + pictures(u"组合1"_s, u"@1.5x.webp"_s, kCombo) + pictures(u"组合1"_s, u"@3x.webp"_s, kCombo);
        // The same captions in two skins, each in a folder of its own.
        const QString aqua = u"Aqua/button-104x24"_s, jade = u"翡翠/button-80x24"_s;
        QTest::newRow("template with folders")
            << QStringList { u"--name={skin}/{control}-{width}x{height}/{text}_{state}"_s, u"--sprite"_s }
            << QByteArray("[{\"skin\":\"Aqua\",\"text\":[\"确定\"]},{\"skin\":\"翡翠\",\"text\":[\"确定\"],"
                          "\"width\":80,\"scale\":[1,2]}]")
            << QStringList { u"Aqua"_s, aqua, u"翡翠"_s, jade } + pictures(aqua + u"/确定"_s, u".png"_s)
                + pictures(jade + u"/确定"_s, u".png"_s) + pictures(jade + u"/确定"_s, u"@2x.png"_s)
                + pictures(
                    aqua + u"/确定"_s, QString(), { u"sprite.png"_s, u"sprite.css"_s, u"sprite.html"_s })
                + pictures(jade + u"/确定"_s, QString(),
                    { u"sprite.png"_s, u"sprite@2x.png"_s, u"sprite.css"_s, u"sprite.html"_s });
        QTest::newRow("manifest with defaults from the command line")
            << QStringList { u"--format"_s, u"bmp"_s }
            << QByteArray("[{\"skin\":\"翡翠\",\"text\":[\"a\",\"b\"],\"controls\":[\"check\"]},"
                          "{\"skin\":\"Aqua\",\"text\":\"c\",\"format\":\"png\",\"scale\":2,\"border-"
                          "removal\":true}]")
            << pictures(u"选择1"_s, u".bmp"_s, kCheck) + pictures(u"选择2"_s, u".bmp"_s, kCheck)
                + pictures(u"c"_s, u"@2x.png"_s);
    }
    // The same job again rewrites nothing, and into another folder gives the same bytes.
    void writesTheDesignersNames()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, manifest);
        QFETCH(QStringList, files);
        QTemporaryDir root;
        if (!manifest.isNull()) {
            QVERIFY(writeAll(root.filePath(u"m.json"_s), manifest));
            arguments << u"--manifest"_s << root.filePath(u"m.json"_s);
        }
        // A folder that does not exist yet is made.
        const QString out = root.filePath(u"new/out"_s);
        const Result result = run(m_folder->path(), arguments + QStringList { u"--out"_s, out });
        QVERIFY2(result.code == 0, qPrintable(result.err));
        QVERIFY(result.err.isEmpty());
        files.sort();
        QCOMPARE(tree(out), files);
        QStringList identities;
        int pictureCount = 0;
        for (const QString &file : std::as_const(files)) {
            identities << fileIdentity(out + u'/' + file);
            if (QFileInfo(out + u'/' + file).isDir())
                continue;
            ++pictureCount;
            QVERIFY2(readAll(out + u'/' + file).size() > 20, qPrintable(file));
            // Each density is drawn at its own whole-pixel size.
            const QImage picture(out + u'/' + file);
            const qreal ratio = file.contains(u"@1.5x"_s) ? 1.5 : file.contains(u"@3x"_s) ? 3 : 1;
            if (ratio != 1)
                QCOMPARE(picture.size(),
                    (QImage(out + u'/' + QString(file).remove(u"@1.5x"_s).remove(u"@3x"_s)).size() * ratio));
        }
        QCOMPARE(result.out, u"%1 files written, 0 already up to date\n"_s.arg(pictureCount));
        QTest::qWait(20);
        const Result again = run(m_folder->path(), arguments + QStringList { u"--out"_s, out });
        QCOMPARE(again.out, u"0 files written, %1 already up to date\n"_s.arg(pictureCount));
        const QString two = root.filePath(u"two"_s);
        QCOMPARE(run(m_folder->path(), arguments + QStringList { u"--out"_s, two }).code, 0);
        for (qsizetype i = 0; i < files.size(); ++i) {
            QCOMPARE(fileIdentity(out + u'/' + files[i]), identities[i]);
            QVERIFY2(readAll(out + u'/' + files[i]) == readAll(two + u'/' + files[i]), qPrintable(files[i]));
        }
    }

    // Entries of one manifest draw one skin in its own colours and in an accent; each picture
    // is the one its own command line gives. Notes, if any, are lines on stderr.
    void accentIsPerEntry()
    {
        QTemporaryDir root;
        QVERIFY(writeAll(root.filePath(u"m.json"_s),
            "[{\"skin\":\"翡翠\",\"text\":\"a\"},"
            "{\"skin\":\"翡翠\",\"text\":\"b\",\"accent\":\"#D32F2F\"}]"));
        const Result both = run(m_folder->path(),
            { u"--manifest"_s, root.filePath(u"m.json"_s), u"--out"_s, root.filePath(u"both"_s) });
        QVERIFY2(both.code == 0, qPrintable(both.err));
        for (const QString &line : both.err.split(u'\n', Qt::SkipEmptyParts))
            QVERIFY2(line.startsWith(u"quillet render: accent #d32f2f: "_s), qPrintable(line));
        const Result plain = run(m_folder->path(),
            { u"--skin"_s, u"翡翠"_s, u"--text"_s, u"a"_s, u"--out"_s, root.filePath(u"plain"_s) });
        const Result red = run(m_folder->path(), { u"--skin"_s, u"翡翠"_s, u"--text"_s, u"b"_s,
                                                     u"--accent=#d32f2f"_s, u"--out"_s, root.filePath(u"red"_s) });
        QVERIFY(plain.code == 0 && red.code == 0);
        QCOMPARE(
            readAll(root.filePath(u"both/a_正常.png"_s)), readAll(root.filePath(u"plain/a_正常.png"_s)));
        QCOMPARE(readAll(root.filePath(u"both/b_正常.png"_s)), readAll(root.filePath(u"red/b_正常.png"_s)));
        const QImage a(root.filePath(u"both/a_正常.png"_s));
        const QImage b(root.filePath(u"both/b_正常.png"_s));
        const QColor face = b.pixelColor(4, b.height() / 2);
        QVERIFY2(a.pixelColor(4, a.height() / 2) != face, qPrintable(face.name()));
        QVERIFY2(face.red() > face.green() && face.red() > face.blue(), qPrintable(face.name()));
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

    // The real program without a display, a platform or a runtime folder (as in CI): the
    // batch writes and says nothing on stderr, the program's options answer, and the designer
    // says in one line that it needs a display instead of aborting inside Qt.
    void theProgramWithoutADisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<int>("files");
        const QStringList job { u"render"_s, u"--skin"_s, u"翡翠"_s, u"--text"_s, u"确定"_s };
        QTest::newRow("writes") << job + QStringList { u"--scale=1,2"_s, u"--transparent"_s, u"--sprite"_s }
                                << 0 << u"12 files written"_s << QString() << 12;
        QTest::newRow("refuses") << job + QStringList { u"--width=99999"_s } << int(RenderCommand::BadInput)
                                 << QString() << u"--width"_s << 0;
        QTest::newRow("help") << QStringList { u"--help"_s } << 0 << u"quillet render"_s << QString() << 0;
        QTest::newRow("version") << QStringList { u"--version"_s } << 0 << u"quillet " QUILLET_VERSION "\n"_s
                                 << QString() << 0;
        QTest::newRow("unknown option") << QStringList { u"--bogus"_s } << 2 << QString()
                                       << u"quillet: unknown option \"--bogus\" (see quillet --help)"_s << 0;
        QTest::newRow("unknown subcommand") << QStringList { u"rendr"_s } << 2 << QString()
                                           << u"quillet: unknown subcommand \"rendr\""_s << 0;
        QTest::newRow("designer")
            << QStringList() << 1 << QString()
            << u"needs a display (DISPLAY is not set); \"quillet render\" makes pictures"_s << 0;
        QTest::newRow("designer, display unreachable")
            << QStringList { u"DISPLAY=:97"_s } << 1 << QString()
            << u"display \":97\"); \"quillet render\" makes pictures"_s << 0;
    }
    void theProgramWithoutADisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(int, files);
        const QString program = QStringLiteral(QUILLET_BINARY_DIR "/bin/quillet");
        if (!QFileInfo::exists(program))
            QSKIP("the quillet executable is not built");
        QTemporaryDir root;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &name :
            { u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s, u"XDG_RUNTIME_DIR"_s })
            environment.remove(name);
        if (!arguments.isEmpty() && arguments.first().startsWith(u"DISPLAY="_s))
            environment.insert(u"DISPLAY"_s, arguments.takeFirst().mid(8));
        if (arguments.value(0) == u"render")
            arguments << u"--out"_s << root.filePath(u"out"_s);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        const QString stdoutText = QString::fromUtf8(process.readAllStandardOutput());
        const QString stderrText = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(process.exitCode() == code, qPrintable(stderrText));
        QVERIFY2(stdoutText.contains(out), qPrintable(stdoutText));
        QVERIFY2(
            err.isEmpty() ? stderrText.isEmpty() : stderrText.contains(err) && stderrText.count(u'\n') == 1,
            qPrintable(stderrText));
        QCOMPARE(tree(root.filePath(u"out"_s)).size(), files);
        if (files > 0) {
            const QImage sheet(root.filePath(u"out/确定_sprite@2x.png"_s));
            QCOMPARE(sheet.size(), QSize(208, 192));
            QVERIFY(sheet.hasAlphaChannel());
        }
    }
};

QTEST_MAIN(TestRenderCommand)
#include "tst_rendercommand.moc"
