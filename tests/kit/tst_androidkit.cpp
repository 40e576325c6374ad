// The Android kit as Android reads it: Debian's aapt compiles every nine-patch, and each
// push button state, stretched as Android stretches a nine-patch (the marked columns
// widened, the rest copied), gives the renderer's blank button at that width and density.
// The state lists name the drawables in the order a selector matches them, and quillet
// skin import reads the nine-patches back with the kit's own guides.
#include "batch/kitcommand.h"
#include "batch/skincommand.h"
#include "kit/kitpieces.h"
#include "platform/form/fontsetup.h"
#include "skin/skinparser.h"

#include "support/commandrun.h"
#include "support/kitreference.h"
#include "support/programfolder.h"
#include "support/testedskins.h"
#include "support/testfiles.h"

#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

using namespace Qt::StringLiterals;
namespace kitpieces = quillet::kit::kitpieces;
using quillet::model::SampleState;

namespace {

constexpr int kAllowed = 2;
constexpr int kHeight = 24;
constexpr int kWidths[] = { 77, 131, 217 };
const QStringList kDensities { u"mdpi"_s, u"hdpi"_s, u"xhdpi"_s, u"xxhdpi"_s, u"xxxhdpi"_s };
const QStringList kButtonWords { u"normal"_s, u"hover"_s, u"focus"_s, u"active"_s, u"disabled"_s };
const QStringList kCheckWords { u"off"_s, u"hover"_s, u"active"_s, u"on"_s, u"on_hover"_s, u"on_active"_s,
    u"disabled"_s, u"on_disabled"_s };

// A nine-patch's guides read as Android's tools read them: black on the outer ring.
struct Guides
{
    QImage picture; // ring cropped off
    QList<int> stretched; // columns the top guide marks
    QList<int> rows; // rows the left guide marks
    bool valid = false;
};

Guides readGuides(const QString &path)
{
    const QImage file = QImage(path).convertToFormat(QImage::Format_ARGB32);
    Guides guides;
    if (file.width() < 3 || file.height() < 3)
        return guides;
    guides.picture = file.copy(1, 1, file.width() - 2, file.height() - 2);
    for (int x = 1; x < file.width() - 1; ++x) {
        if (file.pixel(x, 0) == 0xff000000)
            guides.stretched << x - 1;
        else if (qAlpha(file.pixel(x, 0)) != 0)
            return guides;
    }
    for (int y = 1; y < file.height() - 1; ++y) {
        if (file.pixel(0, y) == 0xff000000)
            guides.rows << y - 1;
    }
    guides.valid = !guides.stretched.isEmpty() && !guides.rows.isEmpty();
    return guides;
}

// The extra width shared among the marked columns, each drawn over its share.
QImage stretched(const Guides &guides, int width)
{
    const QImage &picture = guides.picture;
    const int extra = width - picture.width();
    const int marked = int(guides.stretched.size());
    QImage out(width, picture.height(), QImage::Format_ARGB32);
    int to = 0;
    int given = 0;
    for (int x = 0; x < picture.width(); ++x) {
        int copies = 1;
        if (const int index = int(guides.stretched.indexOf(x)); index >= 0) {
            const int share = extra * (index + 1) / marked - given;
            given += share;
            copies += share;
        }
        for (int c = 0; c < copies && to < width; ++c, ++to) {
            for (int y = 0; y < picture.height(); ++y)
                out.setPixel(to, y, picture.pixel(x, y));
        }
    }
    return out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QStringList files(const QString &folder)
{
    QStringList names;
    for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        names << QDir(folder).relativeFilePath(it.next());
    names.sort();
    return names;
}

// The states each item of a selector asks for, as "pressed checked", and what it names.
QStringList selectorItems(const QString &path, QString *problem)
{
    QXmlStreamReader xml(readAll(path));
    QStringList items;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"item"_s)
            continue;
        QStringList states;
        QString value;
        for (const QXmlStreamAttribute &attribute : xml.attributes()) {
            const QString name = attribute.qualifiedName().toString();
            if (name.startsWith(u"android:state_"_s))
                states << name.mid(14) + u'=' + attribute.value().toString();
            else
                value = attribute.value().toString();
        }
        items << states.join(u' ') + u" -> "_s + value;
    }
    if (xml.hasError())
        *problem = xml.errorString();
    return items;
}

} // namespace

class TestAndroidKit : public QObject
{
    Q_OBJECT

    ProgramFolder *m_folder = nullptr;
    QTemporaryDir m_root;
    QMap<QString, QString> m_kits; // skin to its kit's folder, or to why there is none
    QMap<QString, int> m_worst;
    // States whose middle is a pattern, and their worst difference over the whole button.
    QMap<QString, int> m_patterns;
    QMap<QString, int> m_patternWorst;

    QString kitOf(const QString &skin) const { return m_root.filePath(u"kit-"_s + skin); }

private Q_SLOTS:
    void initTestCase()
    {
        quillet::form::FontSetup::install();
        QVERIFY(m_root.isValid());
        m_folder = new ProgramFolder(ProgramFolder::shippedSkinNames());
        for (const QString &skin : testedskins::representativeOrAll("QUILLET_ANDROIDKIT_SKINS")) {
            const CommandRun run = CommandRun::of(&quillet::batch::KitCommand::run,
                { u"--target"_s, u"android"_s, u"--skin"_s, skin, u"--out"_s, kitOf(skin) },
                m_folder->path());
            m_kits[skin] = run.failure();
        }
    }
    void cleanupTestCase()
    {
        if (testedskins::allAsked("QUILLET_ANDROIDKIT_SKINS")) {
            for (const auto &[skin, worst] : m_worst.asKeyValueRange())
                qInfo("%s: worst %d; %d patterned states, worst %d over the whole button", qPrintable(skin),
                    worst, m_patterns.value(skin), m_patternWorst.value(skin));
        }
        delete m_folder;
    }

    // Every file in its place: a nine-patch per state and density, the check box's
    // pictures, the state lists, values and the read-me.
    void kitHoldsEveryResource()
    {
        const QString skin = testedskins::representativeOrAll("QUILLET_ANDROIDKIT_SKINS").first();
        QVERIFY2(m_kits[skin].isEmpty(), qPrintable(m_kits[skin]));
        QStringList expected { u"README.md"_s, u"res/color/qk_button_text.xml"_s,
            u"res/color/qk_check_text.xml"_s, u"res/drawable/qk_button.xml"_s, u"res/drawable/qk_check.xml"_s,
            u"res/values/qk_dimens.xml"_s, u"res/values/qk_styles.xml"_s };
        for (const QString &density : kDensities) {
            for (const QString &word : kButtonWords)
                expected << u"res/drawable-%1/qk_button_%2.9.png"_s.arg(density, word);
            for (const QString &word : kCheckWords)
                expected << u"res/drawable-%1/qk_check_%2.png"_s.arg(density, word);
        }
        expected.sort();
        QCOMPARE(files(kitOf(skin)), expected);
        // Drawn at each density, not scaled: the face is the button's height in device pixels.
        for (int d = 0; d < kDensities.size(); ++d) {
            const qreal ratio = QList<qreal> { 1, 1.5, 2, 3, 4 }[d];
            const QImage patch(kitOf(skin) + u"/res/drawable-%1/qk_button_normal.9.png"_s.arg(kDensities[d]));
            QCOMPARE(patch.height() - 2, qRound(kHeight * ratio));
        }
    }

    // aapt compiles each nine-patch into its npTc chunk, or stops on a bad guide.
    void aaptAcceptsEveryNinePatch_data()
    {
        QTest::addColumn<QString>("skin");
        for (const QString &skin : testedskins::representativeOrAll("QUILLET_ANDROIDKIT_SKINS"))
            QTest::newRow(qPrintable(skin)) << skin;
    }
    void aaptAcceptsEveryNinePatch()
    {
        QFETCH(QString, skin);
        QVERIFY2(m_kits[skin].isEmpty(), qPrintable(m_kits[skin]));
        const QString aapt = QStandardPaths::findExecutable(u"aapt"_s);
        QVERIFY2(!aapt.isEmpty(), "aapt is not installed (scripts/install-deps.sh brings it)");
        int crunched = 0;
        for (const QString &name : files(kitOf(skin))) {
            if (!name.endsWith(u".9.png"_s))
                continue;
            const QString out = m_root.filePath(u"crunched.png"_s);
            QFile::remove(out);
            QProcess process;
            process.start(aapt, { u"singleCrunch"_s, u"-i"_s, kitOf(skin) + u'/' + name, u"-o"_s, out });
            QVERIFY(process.waitForFinished(30000));
            QVERIFY2(process.exitCode() == 0, qPrintable(name + u": "_s + process.readAllStandardError()));
            QVERIFY2(readAll(out).contains("npTc"), qPrintable(name + u": no nine-patch chunk"_s));
            ++crunched;
        }
        QCOMPARE(crunched, kDensities.size() * kButtonWords.size());
    }

    // Stretched as Android stretches it, each state is the renderer's button at that width.
    void ninePatchesStretchToTheRenderer_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<QString>("density");
        QTest::addColumn<int>("ratio");
        for (const QString &skin : testedskins::representativeOrAll("QUILLET_ANDROIDKIT_SKINS")) {
            QTest::addRow("%s, mdpi", qPrintable(skin)) << skin << u"mdpi"_s << 1;
            QTest::addRow("%s, xhdpi", qPrintable(skin)) << skin << u"xhdpi"_s << 2;
        }
    }
    void ninePatchesStretchToTheRenderer()
    {
        QFETCH(QString, skin);
        QFETCH(QString, density);
        QFETCH(int, ratio);
        QVERIFY2(m_kits[skin].isEmpty(), qPrintable(m_kits[skin]));
        const quillet::render::ButtonRenderer renderer(
            quillet::skin::SkinParser::parseFile(m_folder->skins() + u'/' + skin + u".an"_s));
        const quillet::kit::KitDrawing drawing { &renderer, kHeight, kitreference::font(), {} };
        const QList<std::pair<QString, SampleState>> states { { u"normal"_s, SampleState::Normal },
            { u"hover"_s, SampleState::Hot }, { u"active"_s, SampleState::Pressed },
            { u"disabled"_s, SampleState::Disabled }, { u"focus"_s, SampleState::Focused } };
        QStringList failures;
        for (const auto &[word, state] : states) {
            const QString path = kitOf(skin) + u"/res/drawable-%1/qk_button_%2.9.png"_s.arg(density, word);
            const Guides guides = readGuides(path);
            QVERIFY2(guides.valid, qPrintable(path));
            // A dotted ring repeats with a period that Android widens instead of repeating:
            // only the caps around it can be held to the renderer.
            const bool pattern = guides.stretched.size() > 1;
            const int leftCap = guides.stretched.first();
            const int rightCap = guides.picture.width() - guides.stretched.last() - 1;
            if (pattern)
                ++m_patterns[skin];
            for (int width : kWidths) {
                QImage expected = kitpieces::blankButton(drawing, state, width, ratio);
                QImage shown = stretched(guides, width * ratio);
                if (pattern) {
                    m_patternWorst[skin]
                        = qMax(m_patternWorst.value(skin), kitpieces::difference(shown, expected));
                    const auto caps = [&](const QImage &image) {
                        QImage both(leftCap + rightCap, image.height(), image.format());
                        both.fill(Qt::transparent);
                        QPainter painter(&both);
                        painter.setCompositionMode(QPainter::CompositionMode_Source);
                        painter.drawImage(0, 0, image, 0, 0, leftCap, image.height());
                        painter.drawImage(
                            leftCap, 0, image, image.width() - rightCap, 0, rightCap, image.height());
                        return both;
                    };
                    expected.setDevicePixelRatio(1);
                    shown = caps(shown);
                    expected = caps(expected);
                }
                const int difference = kitpieces::difference(shown, expected);
                m_worst[skin] = qMax(m_worst.value(skin), difference < 0 ? 255 : difference);
                if (difference < 0 || difference > kAllowed)
                    failures << u"%1 at %2: %3 levels"_s.arg(word).arg(width).arg(difference);
            }
        }
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u"; "_s)));
    }

    // Android takes a selector's first item whose states all hold.
    void selectorsMatchInAndroidsOrder_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("button") << u"res/drawable/qk_button.xml"_s
                                << QStringList { u"enabled=false -> @drawable/qk_button_disabled"_s,
                                       u"pressed=true -> @drawable/qk_button_active"_s,
                                       u"focused=true -> @drawable/qk_button_focus"_s,
                                       u"hovered=true -> @drawable/qk_button_hover"_s,
                                       u" -> @drawable/qk_button_normal"_s };
        QTest::newRow("check") << u"res/drawable/qk_check.xml"_s
                               << QStringList {
                                      u"enabled=false checked=true -> @drawable/qk_check_on_disabled"_s,
                                      u"enabled=false -> @drawable/qk_check_disabled"_s,
                                      u"pressed=true checked=true -> @drawable/qk_check_on_active"_s,
                                      u"pressed=true -> @drawable/qk_check_active"_s,
                                      u"hovered=true checked=true -> @drawable/qk_check_on_hover"_s,
                                      u"hovered=true -> @drawable/qk_check_hover"_s,
                                      u"checked=true -> @drawable/qk_check_on"_s,
                                      u" -> @drawable/qk_check_off"_s
                                  };
    }
    void selectorsMatchInAndroidsOrder()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, items);
        const QString skin = testedskins::representativeOrAll("QUILLET_ANDROIDKIT_SKINS").first();
        QVERIFY2(m_kits[skin].isEmpty(), qPrintable(m_kits[skin]));
        QString problem;
        QCOMPARE(selectorItems(kitOf(skin) + u'/' + file, &problem), items);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        // Every state of the caption colours, in the same order as the pictures.
        QStringList captions = selectorItems(kitOf(skin) + u"/res/color/qk_button_text.xml"_s, &problem);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(captions.size(), 5);
        QVERIFY(captions.first().startsWith(u"enabled=false -> #"_s));
    }

    // quillet skin import takes the kit's nine-patches as its own and finds the same
    // stretch: one column, past the left cap.
    void skinImportReadsThemBack_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<QString>("density");
        for (const QString &skin : testedskins::representativeOrAll("QUILLET_ANDROIDKIT_SKINS")) {
            for (const QString &density : kDensities)
                QTest::addRow("%s, %s", qPrintable(skin), qPrintable(density)) << skin << density;
        }
    }
    void skinImportReadsThemBack()
    {
        QFETCH(QString, skin);
        QFETCH(QString, density);
        QVERIFY2(m_kits[skin].isEmpty(), qPrintable(m_kits[skin]));
        const QString folder = kitOf(skin) + u"/res/drawable-"_s + density + u'/';
        const QString out = m_root.filePath(u"imported-%1-%2"_s.arg(skin, density));
        QVERIFY(QDir().mkpath(out));
        const CommandRun run = CommandRun::of(&quillet::batch::SkinCommand::run,
            { u"import"_s, folder + u"qk_button_normal.9.png"_s, u"--hot"_s,
                folder + u"qk_button_hover.9.png"_s, u"--pressed"_s, folder + u"qk_button_active.9.png"_s,
                u"--disabled"_s, folder + u"qk_button_disabled.9.png"_s, u"--focus"_s,
                folder + u"qk_button_focus.9.png"_s, u"--name"_s, u"Imported"_s, u"--out"_s, out },
            m_folder->path());
        QVERIFY2(run.code == 0, qPrintable(run.failure()));
        const QString skinText = QString::fromUtf8(readAll(out + u"/Imported.an"_s));
        const Guides guides = readGuides(folder + u"qk_button_normal.9.png"_s);
        QVERIFY(guides.valid);
        const QString slice = u"slice = %1,%2,%3,%4"_s.arg(guides.stretched.first())
                                  .arg(guides.rows.first())
                                  .arg(guides.picture.width() - guides.stretched.last() - 1)
                                  .arg(guides.picture.height() - guides.rows.last() - 1);
        QVERIFY2(skinText.contains(slice), qPrintable(slice + u" not in:\n"_s + skinText));
    }
};

QTEST_MAIN(TestAndroidKit)
#include "tst_androidkit.moc"
