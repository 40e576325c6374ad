// The Qt kit in its real consumer: qsskitprobe, a plain Qt program in Fusion style that
// links Qt alone, loads kit.qss from the kit's own resource (kit.qrc through rcc) and
// paints push buttons of several widths, check boxes and combo boxes in every state, at
// QT_SCALE_FACTOR 1 and 2. Each must give the renderer's see-through picture of the same
// blank control (quillet render --text " " --transparent) within two levels. Three skins
// stand for the rest: one drawn, one from pictures, one bevelled; QUILLET_QTKIT_SKINS=all
// takes every shipped skin, and prints the worst difference of each.
#include "batch/kitcommand.h"
#include "batch/rendercommand.h"
#include "kit/kitpieces.h"
#include "kit/qtstylesheet.h"
#include "model/appstate.h"
#include "platform/form/fontsetup.h"
#include "skin/skinparser.h"

#include "support/commandrun.h"
#include "support/kitreference.h"
#include "support/programfolder.h"
#include "support/testedskins.h"
#include "support/testfiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
namespace qtstylesheet = quillet::kit::qtstylesheet;
namespace kitpieces = quillet::kit::kitpieces;

namespace {

constexpr int kAllowed = 2;
constexpr int kHeight = kitreference::kHeight;

// The probe's name of a state, and the renderer's picture of it.
struct Shot
{
    QString probe;
    QString picture;
};
// A checked toggle button is drawn as the skin draws a pressed one.
const Shot kButtonShots[]
    = { { u"normal"_s, u"正常"_s }, { u"hover"_s, u"点燃"_s }, { u"pressed"_s, u"按下"_s },
          { u"disabled"_s, u"禁止"_s }, { u"focus"_s, u"焦点"_s }, { u"checked"_s, u"按下"_s } };
const Shot kCheckShots[] = { { u"off"_s, u"正常"_s }, { u"hover"_s, u"点燃"_s }, { u"active"_s, u"按下"_s },
    { u"on"_s, u"选中"_s }, { u"on-hover"_s, u"选中点燃"_s }, { u"on-active"_s, u"选中按下"_s },
    { u"disabled"_s, u"禁止"_s }, { u"on-disabled"_s, u"选中禁止"_s } };
const Shot kComboShots[]
    = { { u"normal"_s, u"正常"_s }, { u"pressed"_s, u"按下"_s }, { u"disabled"_s, u"禁止"_s } };

QList<int> widthsToTry()
{
    return QList<int>(std::begin(kitreference::kWidths), std::end(kitreference::kWidths));
}

QString ratioSuffix(int ratio)
{
    return ratio == 1 ? QString() : u"@%1x"_s.arg(ratio);
}

QString run(const QString &program, const QStringList &arguments, const QString &folder,
    const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return program + u": "_s + QString::fromLocal8Bit(process.readAllStandardError());
    return {};
}

// Every file under a folder by its relative name, with its bytes.
struct SkinRun
{
    QString folder;
    QString problem;
    // The worst difference seen, by state and by control, for the hand run's report.
    QMap<QString, int> worst;
};

} // namespace

class TestQtKit : public QObject
{
    Q_OBJECT

    ProgramFolder *m_folder = nullptr;
    QTemporaryDir m_root;
    QMap<QString, SkinRun> m_runs;

    // As a person types it: the command's own checks, drawing and writer.
    QString writeKit(
        const QString &skin, const QString &folder, const QStringList &options = { u"--focus"_s })
    {
        const QString failed = CommandRun::of(&quillet::batch::KitCommand::run,
            QStringList {
                u"--target"_s, u"qt"_s, u"--skin"_s, skin, u"--scale"_s, u"1,2"_s, u"--out"_s, folder }
                + options,
            m_folder->path())
                                   .failure();
        return failed.isEmpty() ? QString() : u"kit "_s + failed;
    }

    QString renderReferences(const QString &skin, const QString &folder)
    {
        // The kit's usual references, and the drop button beside the check box.
        QJsonArray manifest = kitreference::manifest(skin);
        QJsonObject first = manifest.first().toObject();
        first[u"controls"_s] = u"button,combo,check"_s;
        manifest[0] = first;
        writeAll(folder + u"/render.json"_s, QJsonDocument(manifest).toJson());
        const QString failed = CommandRun::of(&quillet::batch::RenderCommand::run,
            { u"--manifest"_s, folder + u"/render.json"_s, u"--transparent"_s, u"--focus"_s, u"--scale"_s,
                u"1,2"_s, u"--name"_s, u"{control}/{width}/{state}"_s, u"--out"_s, folder + u"/render"_s },
            m_folder->path())
                                   .failure();
        return failed.isEmpty() ? QString() : u"render "_s + failed;
    }

    // The kit compiled into a resource, as a program builds it in, then the probe at each ratio.
    QString probe(const QString &folder, const QList<int> &ratios = { 1, 2 })
    {
        const QString rcc = QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + u"/rcc"_s;
        if (const QString problem
            = run(rcc, { u"--binary"_s, u"kit.qrc"_s, u"-o"_s, u"../kit.rcc"_s }, folder + u"/kit"_s);
            !problem.isEmpty())
            return problem;
        QStringList widths;
        for (int width : widthsToTry())
            widths << QString::number(width);
        for (int ratio : ratios) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
            environment.insert(u"QT_SCALE_FACTOR"_s, QString::number(ratio));
            const QString out = folder + u"/probe"_s + QString::number(ratio);
            if (const QString problem = run(QStringLiteral(QUILLET_BINARY_DIR "/bin/qsskitprobe"),
                    { u"--resource"_s, folder + u"/kit.rcc"_s, u"--style-sheet"_s, u":/qk/kit.qss"_s,
                        u"--widths"_s, widths.join(u','), u"--out"_s, out, u"--overview"_s,
                        out + u"/overview.png"_s },
                    folder, environment);
                !problem.isEmpty())
                return problem;
        }
        return {};
    }

private Q_SLOTS:
    void initTestCase()
    {
        quillet::form::FontSetup::install();
        QVERIFY(m_root.isValid());
        QVERIFY2(QFileInfo(QStringLiteral(QUILLET_BINARY_DIR "/bin/qsskitprobe")).isExecutable(),
            "qsskitprobe is not built");
        m_folder = new ProgramFolder(ProgramFolder::shippedSkinNames());
        for (const QString &skin : testedskins::representativeOrAll("QUILLET_QTKIT_SKINS")) {
            SkinRun &skinRun = m_runs[skin];
            skinRun.folder = m_root.filePath(QString::number(m_runs.size()));
            skinRun.problem = writeKit(skin, skinRun.folder + u"/kit"_s);
            if (skinRun.problem.isEmpty())
                skinRun.problem = renderReferences(skin, skinRun.folder);
            if (skinRun.problem.isEmpty())
                skinRun.problem = probe(skinRun.folder);
        }
    }
    void cleanupTestCase()
    {
        if (testedskins::allAsked("QUILLET_QTKIT_SKINS")) {
            for (const auto &[skin, skinRun] : m_runs.asKeyValueRange()) {
                QStringList states;
                int worst = 0;
                for (const auto &[state, difference] : skinRun.worst.asKeyValueRange()) {
                    states << u"%1 %2"_s.arg(state).arg(difference);
                    worst = qMax(worst, difference);
                }
                qInfo("%s: worst %d (%s)", qPrintable(skin), worst, qPrintable(states.join(u", "_s)));
            }
        }
        delete m_folder;
    }

    // Every state of every control the kit styles, as Qt paints it, against the renderer.
    void qtEqualsRenderer_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<int>("ratio");
        for (const QString &skin : testedskins::representativeOrAll("QUILLET_QTKIT_SKINS")) {
            for (int ratio : { 1, 2 })
                QTest::addRow("%s, %dx", qPrintable(skin), ratio) << skin << ratio;
        }
    }
    void qtEqualsRenderer()
    {
        QFETCH(QString, skin);
        QFETCH(int, ratio);
        SkinRun &skinRun = m_runs[skin];
        QVERIFY2(skinRun.problem.isEmpty(), qPrintable(skinRun.problem));
        const QString probeFolder = skinRun.folder + u"/probe"_s + QString::number(ratio);
        const QString renderFolder = skinRun.folder + u"/render/"_s;
        QStringList failures;
        const auto compare = [&](const QString &key, const QString &shown, const QString &expected) {
            const QImage picture(shown);
            const QImage reference(expected);
            const int difference = kitpieces::difference(picture, reference);
            skinRun.worst[key] = qMax(skinRun.worst.value(key), difference < 0 ? 255 : difference);
            if (difference < 0 || difference > kAllowed)
                failures << u"%1 (%2x%3 against %4x%5): %6 levels"_s.arg(QFileInfo(shown).fileName())
                                .arg(picture.width())
                                .arg(picture.height())
                                .arg(reference.width())
                                .arg(reference.height())
                                .arg(difference);
        };
        // The batch writes no default button; the renderer draws it as it draws the rest.
        const quillet::render::ButtonRenderer renderer(
            quillet::skin::SkinParser::parseFile(m_folder->skins() + u'/' + skin + u".an"_s));
        const quillet::kit::KitDrawing drawing { &renderer, kHeight, kitreference::font(), {} };
        for (int width : widthsToTry()) {
            for (const Shot &shot : kButtonShots)
                compare(u"button "_s + shot.probe,
                    probeFolder + u"/button-%1-%2.png"_s.arg(shot.probe).arg(width),
                    renderFolder + u"button/%1/%2%3.png"_s.arg(width).arg(shot.picture, ratioSuffix(ratio)));
            const QString expected = skinRun.folder + u"/default-%1@%2x.png"_s.arg(width).arg(ratio);
            kitpieces::blankButton(drawing, quillet::model::SampleState::Default, width, ratio)
                .save(expected);
            compare(u"button default"_s, probeFolder + u"/button-default-%1.png"_s.arg(width), expected);
        }
        for (const Shot &shot : kCheckShots)
            compare(u"check "_s + shot.probe, probeFolder + u"/check-%1.png"_s.arg(shot.probe),
                renderFolder
                    + u"check/%1/%2%3.png"_s.arg(quillet::model::Metrics::kCheckSide)
                          .arg(shot.picture, ratioSuffix(ratio)));
        for (const Shot &shot : kComboShots)
            compare(u"combo "_s + shot.probe, probeFolder + u"/combo-%1-drop.png"_s.arg(shot.probe),
                renderFolder
                    + u"combo/%1/%2%3.png"_s.arg(quillet::model::Metrics::kDropWidth)
                          .arg(shot.picture, ratioSuffix(ratio)));
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u"; "_s)));
    }

    // The resource lists exactly the files the kit wrote, and the sheet names only those.
    void resourceHoldsTheKit()
    {
        const SkinRun &skinRun = m_runs.first();
        QVERIFY2(skinRun.problem.isEmpty(), qPrintable(skinRun.problem));
        const QString kit = skinRun.folder + u"/kit"_s;
        const QString qrc = QString::fromUtf8(readAll(kit + u"/kit.qrc"_s));
        QStringList listed;
        for (const QRegularExpressionMatch &file :
            QRegularExpression(u"<file>([^<]+)</file>"_s).globalMatch(qrc))
            listed << file.captured(1);
        QStringList written;
        QDirIterator files(kit, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext())
            written << QDir(kit).relativeFilePath(files.next());
        written.removeAll(u"kit.qrc"_s);
        written.removeAll(u"README.md"_s);
        listed.sort();
        written.sort();
        QCOMPARE(listed, written);
        const QString sheet = QString::fromUtf8(readAll(kit + u"/kit.qss"_s));
        for (const QRegularExpressionMatch &url :
            QRegularExpression(u"url\\(:/qk/([^)]+)\\)"_s).globalMatch(sheet))
            QVERIFY2(listed.contains(url.captured(1)), qPrintable(url.captured(1)));
    }

    // What the Qt kit cannot give is refused before anything is drawn: one line, exit 2,
    // no file.
    void refusesWhatQtCannotHonour_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("named");
        QTest::addRow("in-line") << QStringList { u"--inline"_s } << u"--inline"_s;
        QTest::addRow("pieces") << QStringList { u"--pieces"_s } << u"--pieces"_s;
        QTest::addRow("webp") << QStringList { u"--webp"_s } << u"--webp"_s;
        QTest::addRow("dark skin") << QStringList { u"--dark-skin"_s, u"Dark"_s } << u"--dark-skin"_s;
        QTest::addRow("prefix") << QStringList { u"--prefix"_s, u"brand"_s } << u"--prefix"_s;
        QTest::addRow("half pixels") << QStringList { u"--scale"_s, u"1.5"_s } << u"--scale"_s;
    }
    void refusesWhatQtCannotHonour()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, named);
        const QString folder = m_root.filePath(u"refused-"_s + QTest::currentDataTag());
        const CommandRun kit = CommandRun::of(&quillet::batch::KitCommand::run,
            QStringList { u"--target"_s, u"qt"_s, u"--skin"_s, u"Flat"_s } + options
                + QStringList { u"--out"_s, folder },
            m_folder->path());
        const QString &err = kit.err;
        QCOMPARE(kit.code, 2);
        QCOMPARE(err.count(u'\n'), 1);
        QVERIFY2(err.contains(named), qPrintable(err));
        QVERIFY(!QFileInfo::exists(folder));
    }

    // Without the focused pieces the focused button still shows its focus: Qt draws no
    // frame of its own over a border-image, so the kit's outline must.
    void focusShowsWithoutFocusPieces()
    {
        const QString folder = m_root.filePath(u"no-focus"_s);
        QString problem = writeKit(u"Flat"_s, folder + u"/kit"_s, {});
        if (problem.isEmpty())
            problem = probe(folder, { 1 });
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        const QImage focused
            = QImage(folder + u"/probe1/button-focus-104.png"_s).convertToFormat(QImage::Format_ARGB32);
        const QImage normal
            = QImage(folder + u"/probe1/button-normal-104.png"_s).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(focused.size(), normal.size());
        int changed = 0;
        for (int y = 0; y < focused.height(); ++y) {
            for (int x = 0; x < focused.width(); ++x)
                changed += focused.pixel(x, y) != normal.pixel(x, y);
        }
        // A dotted ring along the edge changes about half of its pixels.
        QVERIFY2(changed >= focused.width() + focused.height(), qPrintable(QString::number(changed)));
    }

    // One cut in the sheet fits every density: each cap picture repeats its columns by the
    // least common multiple of the ratios over its own.
    void capRepeat_data()
    {
        QTest::addColumn<QList<qreal>>("ratios");
        QTest::addColumn<int>("repeat");
        QTest::addRow("1") << QList<qreal> { 1 } << 1;
        QTest::addRow("1,2") << QList<qreal> { 1, 2 } << 2;
        QTest::addRow("1,3") << QList<qreal> { 1, 3 } << 3;
        QTest::addRow("1,2,3") << QList<qreal> { 1, 2, 3 } << 6;
    }
    void capRepeat()
    {
        QFETCH(QList<qreal>, ratios);
        QFETCH(int, repeat);
        QCOMPARE(qtstylesheet::capRepeat(ratios), repeat);
        QImage left(2, 3, QImage::Format_ARGB32_Premultiplied);
        QImage right(1, 3, QImage::Format_ARGB32_Premultiplied);
        left.fill(qRgba(10, 20, 30, 255));
        left.setPixel(1, 2, qRgba(0, 0, 40, 40));
        right.fill(qRgba(200, 0, 0, 200));
        const QImage caps = qtstylesheet::widenedCaps({ left, QImage(), right }, repeat);
        QCOMPARE(caps.size(), QSize(3 * repeat, 3));
        for (int x = 0; x < caps.width(); ++x) {
            const QImage &piece = x < 2 * repeat ? left : right;
            const int column = x < 2 * repeat ? x / repeat : 0;
            for (int y = 0; y < 3; ++y)
                QCOMPARE(caps.pixel(x, y), piece.pixel(column, y));
        }
    }
};

QTEST_MAIN(TestQtKit)
#include "tst_qtkit.moc"
