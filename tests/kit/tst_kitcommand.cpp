// quillet kit without a browser: what it refuses, what a failed write leaves, that a job
// gives the same bytes, and that the style sheet parses and names only files it wrote.
#include "app/designerprogram.h"
#include "batch/batchmain.h"
#include "batch/kitcommand.h"
#include "kit/targets.h"
#include "platform/form/fontsetup.h"
#include "ui/designerwindow.h"
#include "ui/saveoptionsmenu.h"

#include "support/commandrun.h"
#include "support/fakedialogs.h"
#include "support/fakenetworkprobe.h"
#include "support/programfolder.h"
#include "support/pythondriver.h"
#include "support/smalltmpfs.h"
#include "support/testfiles.h"

#include <QAction>
#include <QDirIterator>
#include <QJsonArray>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace Qt::StringLiterals;
namespace KitCommand = quillet::batch::KitCommand;
using quillet::ui::SaveOptionsMenu;

namespace {

QMap<QString, QByteArray> contents(const QString &folder)
{
    QMap<QString, QByteArray> files;
    for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), readAll(path));
    }
    return files;
}

} // namespace

class TestKitCommand : public QObject
{
    Q_OBJECT

    ProgramFolder *m_folder = nullptr;

    // A command line as a shell splits it.
    CommandRun kit(const QString &arguments, const QString &out = {})
    {
        return CommandRun::of(&KitCommand::run,
            QProcess::splitCommand(arguments)
                + (out.isEmpty() ? QStringList() : QStringList { u"--out"_s, out }),
            m_folder->path());
    }

private Q_SLOTS:
    void initTestCase()
    {
        quillet::form::FontSetup::install();
        m_folder = new ProgramFolder({ u"翡翠.an"_s, u"Mono.an"_s, u"Dark.an"_s, u"Pill.an"_s });
        writeAll(m_folder->path() + u"/skins/Sideways.an"_s,
            "[skin]\nname = Sideways\n[button]\nfill = #202020 > #f0f0f0\nfill-direction = horizontal\n");
        // A face of noise stretched whole: wide caps that no encoder can shrink.
        writeAll(m_folder->path() + u"/skins/Noise.an"_s, "[skin]\nname = Noise\n");
        QDir(m_folder->path()).mkpath(u"skins/Noise"_s);
        QImage noise(200, 96, QImage::Format_ARGB32);
        QRandomGenerator random(7);
        for (int y = 0; y < noise.height(); ++y) {
            for (int x = 0; x < noise.width(); ++x)
                noise.setPixel(x, y, random.generate() | 0xff000000u);
        }
        QVERIFY(noise.save(m_folder->path() + u"/skins/Noise/button-normal.png"_s));
    }
    void cleanupTestCase() { delete m_folder; }

    // One line on stderr naming the problem, the exit code, and nothing written.
    void badInputIsRefused_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("out"); // relative to a fresh folder holding "file"
        QTest::addColumn<QString>("message");
        QTest::newRow("no skin") << QString() << u"out"_s << u"--skin is missing"_s;
        QTest::newRow("unknown skin") << u"--skin Nope"_s << u"out"_s << u"unknown skin"_s;
        QTest::newRow("unknown dark skin")
            << u"--skin Mono --dark-skin Nope"_s << u"out"_s << u"--dark-skin"_s;
        QTest::newRow("height too low") << u"--skin Mono --height 11"_s << u"out"_s << u"--height"_s;
        QTest::newRow("height too high") << u"--skin Mono --height=97"_s << u"out"_s << u"--height"_s;
        QTest::newRow("height not a number") << u"--skin Mono --height=2x"_s << u"out"_s << u"--height"_s;
        QTest::newRow("prefix with a digit first")
            << u"--skin Mono --prefix 1qk"_s << u"out"_s << u"--prefix"_s;
        QTest::newRow("prefix with a space")
            << u"--skin Mono --prefix \"q k\""_s << u"out"_s << u"--prefix"_s;
        QTest::newRow("prefix with a dot") << u"--skin Mono --prefix=q.k"_s << u"out"_s << u"--prefix"_s;
        QTest::newRow("prefix with a brace") << u"--skin Mono --prefix=q{"_s << u"out"_s << u"--prefix"_s;
        QTest::newRow("a density the renderer does not draw")
            << u"--skin Mono --scale=1,1.25"_s << u"out"_s
            << u"--scale: \"1,1.25\" is not a list of 1, 1.5, 2, 3 and 4 (the renderer's densities: pieces "
               "need whole device pixels)"_s;
        QTest::newRow("1.5x of an odd height")
            << u"--skin Mono --height 25 --scale=1,1.5"_s << u"out"_s
            << u"--scale 1.5 of --height 25 gives half pixels; choose an even height"_s;
        QTest::newRow("1.5x alone")
            << u"--skin Mono --scale=1.5"_s << u"out"_s
            << u"--scale 1.5 alone gives the check box (13 pixels) half pixels; add 1, 2 or 3"_s;
        QTest::newRow("bad font") << u"--skin Mono --font 宋体"_s << u"out"_s << u"--font"_s;
        // QProcess::splitCommand reads """ inside quotes as one literal quote.
        QTest::newRow("font closing its string")
            << u"--skin Mono --font \"x\"\"\"; } body { background: red } a { b: \"\"\"c 9\""_s << u"out"_s
            << u"a font family holds no quotes"_s;
        QTest::newRow("font with a line feed") << u"--skin Mono --font \"x\nbody { background: red } 9\""_s
                                               << u"out"_s << u"--font: \"x\\x0abody"_s;
        QTest::newRow("font with a backslash")
            << u"--skin Mono --font \"a\\22 9\""_s << u"out"_s << u"a font family holds no quotes"_s;
        QTest::newRow("unknown option") << u"--skin Mono --sprite"_s << u"out"_s << u"unknown option"_s;
        QTest::newRow("accent by name")
            << u"--skin Mono --accent red"_s << u"out"_s << u"--accent: \"red\" is not a colour"_s;
        QTest::newRow("accent empty")
            << u"--skin Mono --accent=\"\""_s << u"out"_s << u"--accent: \"\" is empty"_s;
        QTest::newRow("accent with a line feed")
            << u"--skin Mono --accent \"#fff\n\""_s << u"out"_s << u"--accent: \"#fff\\x0a\""_s;
        QTest::newRow("pieces and inline") << u"--skin Mono --pieces --inline"_s << u"out"_s
                                           << u"--pieces and --inline exclude each other"_s;
        QTest::newRow("in-line kit over its limit")
            << u"--skin Noise --height 96 --scale 1,2,3 --webp --inline"_s << u"out"_s
            << u"--inline: kit.css would take"_s;
        QTest::newRow("out is a file") << u"--skin Mono"_s << u"file"_s << u"is not a folder"_s;
        QTest::newRow("out below a file") << u"--skin Mono"_s << u"file/sub"_s << u"--out: cannot create"_s;
        QTest::newRow("out in a system folder")
            << u"--skin Mono"_s << u"/proc/quillet-test/out"_s << u"--out: cannot create"_s;
        QTest::newRow("unknown target")
            << u"--skin Mono --target qtx"_s << u"out"_s << u"--target: unknown target \"qtx\" (one of web"_s;
        QTest::newRow("empty target")
            << u"--skin Mono --target="_s << u"out"_s << u"--target: unknown target"_s;
        QTest::newRow("target in another case")
            << u"--skin Mono --target WEB"_s << u"out"_s << u"--target: unknown target"_s;
        // The web-only options, each refused by every target that cannot honour it.
        const std::pair<quillet::kit::Feature, QString> options[] = {
            { quillet::kit::Feature::DarkSkin, u"--dark-skin Dark"_s },
            { quillet::kit::Feature::Webp, u"--webp"_s },
            { quillet::kit::Feature::Pieces, u"--pieces"_s },
            { quillet::kit::Feature::Inline, u"--inline"_s },
            { quillet::kit::Feature::Prefix, u"--prefix qk"_s },
            { quillet::kit::Feature::Scale, u"--scale 1,2"_s },
            { quillet::kit::Feature::FractionalScale, u"--scale 1,1.5"_s },
        };
        for (const quillet::kit::Target *target : quillet::kit::targets()) {
            for (const auto &[feature, option] : options) {
                if (target->honours(feature))
                    continue;
                const QString name = target->name().toString();
                const QString flag = option.section(u' ', 0, 0);
                QTest::addRow("%s with %s", qPrintable(name), qPrintable(flag))
                    << u"--skin Mono --target "_s + name + u' ' + option << u"out"_s
                    << flag + u": --target "_s + name + u" cannot honour it"_s;
            }
        }
    }
    void badInputIsRefused()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, out);
        QFETCH(QString, message);
        QTemporaryDir root;
        QVERIFY(writeAll(root.filePath(u"file"_s), "x"));
        const QStringList before = tree(root.path());
        const CommandRun result = kit(arguments, out.startsWith(u'/') ? out : root.filePath(out));
        QCOMPARE(result.code, int(KitCommand::BadInput));
        QVERIFY2(result.err.startsWith(u"quillet kit: "_s) && result.err.contains(message)
                && result.err.count(u'\n') == 1,
            qPrintable(result.err));
        QVERIFY(result.out.isEmpty());
        QCOMPARE(tree(root.path()), before);
        QCOMPARE(readAll(root.filePath(u"file"_s)), QByteArray("x"));
    }

    // A full disk: exit 1 and one line; what is there is whole, nothing temporary is left.
    void fullDiskIsAWriteFailure()
    {
        SmallTmpfs disk("size=24k");
        if (!disk.mounted)
            QSKIP(qPrintable(disk.error));
        const CommandRun result = kit(u"--skin 翡翠 --focus --webp --scale=1,2,3"_s, disk.filePath(u"out"_s));
        QCOMPARE(result.code, int(KitCommand::WriteFailed));
        QVERIFY2(result.err.contains(u"quillet kit: cannot write \""_s)
                && result.err.contains(u"No space left on device"_s),
            qPrintable(result.err));
        QVERIFY(result.out.isEmpty());
        const QStringList written = tree(disk.filePath(u"out"_s));
        for (const QString &file : written) {
            QVERIFY2(!QFileInfo(file).fileName().startsWith(u'.'), qPrintable(file));
            if (file.endsWith(u".png"_s))
                QVERIFY2(!QImage(disk.filePath(u"out/"_s + file)).isNull(), qPrintable(file));
        }
        // The style sheet comes last, so a page never links pieces that are not there.
        QVERIFY(!written.contains(u"kit.css"_s));
    }

    // The same job gives the same bytes; a rerun leaves every file alone.
    void sameJobSameBytes()
    {
        QTemporaryDir root;
        const QString job = u"--skin 翡翠 --dark-skin Dark --focus --webp --scale=1,2"_s;
        QCOMPARE(kit(job, root.filePath(u"one"_s)).code, 0);
        QCOMPARE(kit(job, root.filePath(u"two"_s)).code, 0);
        const QStringList files = tree(root.filePath(u"one"_s));
        QCOMPARE(tree(root.filePath(u"two"_s)), files);
        for (const QString &file : files)
            QVERIFY2(readAll(root.filePath(u"one/"_s + file)) == readAll(root.filePath(u"two/"_s + file)),
                qPrintable(file));
        // The listing holds the kit/ folder too.
        QCOMPARE(kit(job, root.filePath(u"one"_s)).out,
            u"0 files written, %1 already up to date\n"_s.arg(files.size() - 1));
    }

    // The style sheet parses; every url() is a file the run wrote, with a name safe in a URL;
    // image-set() offers each density asked for, WebP first; the prefix is every class's.
    void styleSheetIsWhole_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QList<double>>("densities");
        QTest::newRow("plain: the screens' densities")
            << u"--skin Mono"_s << u"qk"_s << QList<double> { 1, 1.5, 2, 3 };
        QTest::newRow("odd height: no 1.5x")
            << u"--skin Mono --height 25"_s << u"qk"_s << QList<double> { 1, 2, 3 };
        QTest::newRow("1x alone") << u"--skin Mono --scale 1"_s << u"qk"_s << QList<double> { 1 };
        QTest::newRow("1.5x, 4x, WebP")
            << u"--skin 翡翠 --scale=4,1.5 --webp"_s << u"qk"_s << QList<double> { 1.5, 4 };
        QTest::newRow("three densities, WebP")
            << u"--skin 翡翠 --scale=3,1,2 --webp"_s << u"qk"_s << QList<double> { 1, 2, 3 };
        QTest::newRow("dark, focus, own prefix")
            << u"--skin Mono --dark-skin Dark --focus --prefix my-Kit_2 --scale=2,1"_s << u"my-Kit_2"_s
            << QList<double> { 1, 2 };
        QTest::newRow("accent, dark") << u"--skin 翡翠 --dark-skin Dark --accent=#6a1b9a --focus"_s << u"qk"_s
                                      << QList<double> { 1, 1.5, 2, 3 };
        QTest::newRow("tall, another font")
            << u"--skin Dark --height=40 --font \"DejaVu Sans 12\" --scale 1"_s << u"qk"_s
            << QList<double> { 1 };
    }
    void styleSheetIsWhole()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, prefix);
        QFETCH(QList<double>, densities);
        const bool webp = arguments.contains(u"--webp"_s);
        if (!pythonHas(u"tinycss2"_s))
            QSKIP("python3-tinycss2 missing");
        QTemporaryDir root;
        const CommandRun result = kit(arguments, root.path());
        QVERIFY2(result.code == 0, qPrintable(result.err));
        QString error;
        const QJsonObject found = runDriver("kitcss.py", { root.filePath(u"kit.css"_s) }, &error).object();
        QVERIFY2(error.isEmpty() && found.value(u"errors"_s).toArray().isEmpty(),
            qPrintable(
                error + QString::fromUtf8(QJsonDocument(found.value(u"errors"_s).toArray()).toJson())));

        // Every piece written is used, and nothing else lies in kit/.
        const QRegularExpression safe(u"^kit/[a-z0-9-]+(-1\\.5x)?\\.(png|webp)$"_s);
        QSet<QString> named;
        for (const QJsonValue &url : found.value(u"urls"_s).toArray()) {
            QVERIFY2(safe.match(url.toString()).hasMatch(), qPrintable(url.toString()));
            QVERIFY2(QFileInfo(root.filePath(url.toString())).isFile(), qPrintable(url.toString()));
            named.insert(url.toString());
        }
        for (const QString &file : tree(root.filePath(u"kit"_s)))
            QVERIFY2(named.contains(u"kit/"_s + file), qPrintable(file));

        const QJsonArray sets = found.value(u"imageSets"_s).toArray();
        QVERIFY(!sets.isEmpty());
        // The buttons offer every density; the check box only those where 13 pixels are whole.
        QList<double> whole;
        for (double density : densities) {
            if (density == std::floor(density))
                whole.append(density);
        }
        int everyDensity = 0;
        for (const QJsonValue &set : sets) {
            QList<double> seen;
            for (const QJsonValue &entry : set.toArray()) {
                const double density = entry[u"density"_s].toDouble();
                const QString type = entry[u"type"_s].toString();
                const QString url = entry[u"url"_s].toString();
                QCOMPARE(type, url.endsWith(u".webp"_s) ? u"image/webp"_s : u"image/png"_s);
                if (!seen.contains(density)) {
                    seen.append(density);
                    // A new density starts with WebP where there is WebP.
                    QCOMPARE(type, webp ? u"image/webp"_s : u"image/png"_s);
                }
                QCOMPARE(url.contains(u"-%1x."_s.arg(density)), density != 1);
                QCOMPARE(QRegularExpression(u"-[0-9.]+x\\."_s).match(url).hasMatch(), density != 1);
            }
            QVERIFY2(seen == densities || seen == whole,
                qPrintable(QString::fromUtf8(QJsonDocument(set.toArray()).toJson())));
            everyDensity += seen == densities;
        }
        QVERIFY(everyDensity > 0);

        const QString css = QString::fromUtf8(readAll(root.filePath(u"kit.css"_s)));
        int count = 0;
        for (const QRegularExpressionMatch &match :
            QRegularExpression(u"\\.([A-Za-z0-9_-]+)-(button|check)\\b"_s).globalMatch(css)) {
            QCOMPARE(match.captured(1), prefix);
            ++count;
        }
        QVERIFY(count > 10);
        const QString page = QString::fromUtf8(readAll(root.filePath(u"kit.html"_s)));
        QVERIFY(page.contains(u"class=\"%1-button"_s.arg(prefix)));
        QVERIFY(page.contains(u"currentColor"_s));
        QCOMPARE(css.contains(u"prefers-color-scheme: dark"_s), arguments.contains(u"--dark-skin"_s));
    }

    // An inexact skin says so on stderr and in the style sheet, with the same words; an
    // exact one prints nothing on stderr.
    void inexactSkinsSaySo_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("exact");
        QTest::newRow("flat face") << QStringList { u"--skin"_s, u"Mono"_s, u"--scale=1,2"_s } << true;
        QTest::newRow("dotted focus ring, odd widths")
            << QStringList { u"--skin"_s, u"Mono"_s, u"--focus"_s, u"--scale=1,2,3"_s } << true;
        QTest::newRow("picture face with focus")
            << QStringList { u"--skin"_s, u"翡翠"_s, u"--focus"_s, u"--scale=1,2,3"_s } << true;
        QTest::newRow("caps wider than the narrowest button")
            << QStringList { u"--skin"_s, u"Pill"_s, u"--height"_s, u"48"_s, u"--focus"_s } << true;
        // A fill that changes across the middle cannot come from caps and a tile.
        QTest::newRow("gradient across the face") << QStringList { u"--skin"_s, u"Sideways"_s } << false;
    }
    void inexactSkinsSaySo()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, exact);
        QTemporaryDir root;
        const CommandRun result = kit(arguments.join(u' '), root.path());
        QCOMPARE(result.code, 0);
        const QString css = QString::fromUtf8(readAll(root.filePath(u"kit.css"_s)));
        if (exact) {
            QCOMPARE(result.err, QString());
            QVERIFY(!css.contains(u"differ"_s));
            return;
        }
        QVERIFY2(result.err.startsWith(u"quillet kit: "_s) && result.err.count(u'\n') == 1,
            qPrintable(result.err));
        const QString note = result.err.mid(13).trimmed();
        QVERIFY2(note.contains(QRegularExpression(u"by up to [1-9][0-9]* levels"_s)), qPrintable(note));
        QVERIFY2(css.contains(u"/* "_s + note + u" */"_s), qPrintable(note));
    }

    // A sheet kit is kit.css, kit.html and one sheet per density and format, each sheet
    // the style sheet's background-size times its density; an in-line kit is kit.css and
    // kit.html, whose data: URIs hold the very bytes of the piece kit's files, in its order.
    void layoutsHoldTheSamePieces_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QStringList>("sheets");
        QTest::newRow("plain: the screens' densities")
            << u"--skin Mono"_s
            << QStringList { u"kit-1.5x.png"_s, u"kit-2x.png"_s, u"kit-3x.png"_s, u"kit.png"_s };
        QTest::newRow("dark, focus, three densities, WebP")
            << u"--skin 翡翠 --dark-skin Dark --focus --webp --scale=1,2,3"_s
            << QStringList { u"kit-2x.png"_s, u"kit-2x.webp"_s, u"kit-3x.png"_s, u"kit-3x.webp"_s,
                   u"kit.png"_s, u"kit.webp"_s };
        QTest::newRow("tall pill, own prefix")
            << u"--skin Pill --height 48 --scale 2 --prefix pp"_s << QStringList { u"kit-2x.png"_s };
    }
    void layoutsHoldTheSamePieces()
    {
        QFETCH(QString, arguments);
        QFETCH(QStringList, sheets);
        if (!pythonHas(u"tinycss2"_s))
            QSKIP("python3-tinycss2 missing");
        QTemporaryDir root;
        for (const QString &layout : { u"sheet"_s, u"pieces"_s, u"inline"_s }) {
            const CommandRun result = kit(
                arguments + (layout == u"sheet"_s ? QString() : u" --"_s + layout), root.filePath(layout));
            QVERIFY2(result.code == 0, qPrintable(result.err));
        }
        QCOMPARE(tree(root.filePath(u"sheet/kit"_s)), sheets);
        QCOMPARE(tree(root.filePath(u"inline"_s)),
            QStringList({ u"kit.css"_s, u"kit.html"_s, u"kit.tokens.json"_s }));

        const QString css = QString::fromUtf8(readAll(root.filePath(u"sheet/kit.css"_s)));
        const QRegularExpression size(u"background-size: (\\d+)px (\\d+)px;"_s);
        QSet<QString> sizes;
        for (const QRegularExpressionMatch &match : size.globalMatch(css))
            sizes.insert(match.captured(0));
        QCOMPARE(sizes.size(), 1);
        const QRegularExpressionMatch sheetSize = size.match(css);
        for (const QString &sheet : sheets) {
            const qreal ratio = sheet.contains(u"-1.5x"_s) ? 1.5
                : sheet.contains(u"-2x"_s)                 ? 2
                : sheet.contains(u"-3x"_s)                 ? 3
                                                           : 1;
            QCOMPARE(QImage(root.filePath(u"sheet/kit/"_s + sheet)).size(),
                QSize(sheetSize.captured(1).toInt(), sheetSize.captured(2).toInt()) * ratio);
        }

        QString error;
        const QJsonArray pieces = runDriver("kitcss.py", { root.filePath(u"pieces/kit.css"_s) }, &error)
                                      .object()[u"urls"_s]
                                      .toArray();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QJsonObject inlined
            = runDriver("kitcss.py", { root.filePath(u"inline/kit.css"_s) }, &error).object();
        QVERIFY2(error.isEmpty() && inlined[u"errors"_s].toArray().isEmpty(), qPrintable(error));
        const QJsonArray data = inlined[u"urls"_s].toArray();
        QCOMPARE(data.size(), pieces.size());
        QVERIFY(!data.isEmpty());
        for (qsizetype i = 0; i < data.size(); ++i) {
            const QString file = pieces[i].toString();
            const QString type = file.endsWith(u".webp"_s) ? u"webp"_s : u"png"_s;
            const QString prefix = u"data:image/"_s + type + u";base64,"_s;
            const QString url = data[i].toString();
            QVERIFY2(url.startsWith(prefix), qPrintable(file));
            QVERIFY2(QByteArray::fromBase64(url.mid(prefix.size()).toLatin1())
                    == readAll(root.filePath(u"pieces/"_s + file)),
                qPrintable(file));
        }
        // Apart from where the pictures come from, the three style sheets say the same.
        const auto rest = [&](const QString &layout) {
            QString text = QString::fromUtf8(readAll(root.filePath(layout + u"/kit.css"_s)));
            text.remove(QRegularExpression(
                u"^ *background-(image|size|position): .*$\\n"_s, QRegularExpression::MultilineOption));
            return text;
        };
        QCOMPARE(rest(u"inline"_s), rest(u"pieces"_s));
        QCOMPARE(rest(u"sheet"_s), rest(u"pieces"_s));
    }

    // The writer's own checks, which the command does not repeat: nothing is written
    // through a link, nor into a file where the pictures' folder belongs.
    void obstaclesAreRefused_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<bool>("link");
        QTest::addColumn<QString>("message");
        QTest::newRow("style sheet a link") << u"kit.css"_s << true << u"is a link"_s;
        QTest::newRow("token file a link") << u"kit.tokens.json"_s << true << u"is a link"_s;
        QTest::newRow("pictures' folder a link") << u"kit"_s << true << u"is a link"_s;
        QTest::newRow("pictures' folder a file") << u"kit"_s << false << u"is not a folder"_s;
    }
    void obstaclesAreRefused()
    {
        QFETCH(QString, obstacle);
        QFETCH(bool, link);
        QFETCH(QString, message);
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(u"out"_s));
        QVERIFY(QDir(root.path()).mkpath(u"elsewhere"_s));
        QVERIFY(writeAll(root.filePath(u"target"_s), "x"));
        const QString at = root.filePath(u"out/"_s + obstacle);
        if (link)
            QVERIFY(QFile::link(
                obstacle == u"kit" ? root.filePath(u"elsewhere"_s) : root.filePath(u"target"_s), at));
        else
            QVERIFY(writeAll(at, "x"));
        const QStringList before = tree(root.path());
        const CommandRun result = kit(u"--skin Mono"_s, root.filePath(u"out"_s));
        QCOMPARE(result.code, int(KitCommand::BadInput));
        QVERIFY2(result.err.contains(message) && result.err.count(u'\n') == 1, qPrintable(result.err));
        QCOMPARE(tree(root.path()), before);
        QCOMPARE(readAll(root.filePath(u"target"_s)), QByteArray("x"));
    }

    // Each kit of the save menu is the command's, byte for byte, for what the window shows.
    void designerKitIsTheCommandsKit_data()
    {
        QTest::addColumn<QString>("target");
        for (const SaveOptionsMenu::KitEntry &entry : SaveOptionsMenu::kKitEntries)
            QTest::addRow("%s", qPrintable(entry.target.toString())) << entry.target.toString();
    }
    void designerKitIsTheCommandsKit()
    {
        QFETCH(QString, target);
        ProgramFolder folder({ u"翡翠.an"_s });
        FakeDialogs dialogs;
        FakeNetworkProbe network;
        quillet::app::DesignerProgram program({ dialogs, network, folder.path(), folder.desktop(), u"quillet"_s });
        program.start();
        QTemporaryDir root;
        const QString designer = root.filePath(u"designer"_s);
        QVERIFY(QDir().mkpath(designer));
        dialogs.folderAnswers.append(designer);
        program.saveOptions().kitAction(target)->trigger();
        QVERIFY(dialogs.folderAnswers.isEmpty());
        const QFont font = program.window().sampleButton()->font();
        const QString batch = root.filePath(u"batch"_s);
        const CommandRun run = CommandRun::of(&KitCommand::run,
            { u"--target"_s, target, u"--skin"_s, u"翡翠"_s, u"--height"_s,
                QString::number(program.state().buttonHeight), u"--font"_s,
                font.family() + u' ' + QString::number(font.pointSize()), u"--out"_s, batch },
            folder.path());
        QVERIFY2(run.code == 0, qPrintable(run.failure()));
        const QMap<QString, QByteArray> written = contents(designer);
        QVERIFY2(written.size() > 2, qPrintable(QStringList(written.keys()).join(u", "_s)));
        QCOMPARE(written.keys(), contents(batch).keys());
        QVERIFY(written == contents(batch));
    }

    void helpListsEveryTarget()
    {
        const CommandRun result = kit(u"--help"_s);
        QCOMPARE(result.code, 0);
        QVERIFY(result.out.contains(u"--target NAME"_s));
        for (const quillet::kit::Target *target : quillet::kit::targets()) {
            const QString line = u"\n--target "_s + target->name() + u": "_s + target->summary() + u".\n"_s;
            QVERIFY2(result.out.contains(line), qPrintable(result.out));
        }
    }

    void helpListsTheCommand()
    {
        QVERIFY(QByteArray(quillet::batch::BatchMain::programUsage()).contains("quillet kit "));
        const CommandRun result = kit(u"--help"_s);
        QCOMPARE(result.code, 0);
        for (const char *option : { "--skin", "--dark-skin", "--height", "--font", "--scale", "--webp",
                 "--focus", "--pieces", "--inline", "--prefix", "--out" })
            QVERIFY2(result.out.contains(QLatin1String(option)), option);
    }
};

QTEST_MAIN(TestKitCommand)
#include "tst_kitcommand.moc"
