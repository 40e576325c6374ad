// "quillet skin import": nine-patch guides become the skin's slices and caption box, the
// corners stay whole at any size, and a bad file is refused with nothing written.
#include "batch/skincommand.h"
#include "platform/form/fontsetup.h"
#include "platform/skin/skinparser.h"
#include "render/buttonrenderer.h"

#include <QDirIterator>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include <functional>

using quillet::batch::SkinCommand;
using namespace Qt::StringLiterals;

namespace {

constexpr QRgb kBlack = 0xff000000;
constexpr int kCorner = 4;
// The picture inside the guide ring, and its content box: off centre, so a caption centred
// on the whole face would show.
constexpr QSize kInner(16, 12);
constexpr QMargins kPadding(8, 3, 1, 3);
const std::array<QRgb, 4> kCorners { qRgb(255, 0, 0), qRgb(0, 200, 0), qRgb(0, 0, 255), qRgb(255, 220, 0) };

// A nine-patch whose four 4 x 4 corners have colours of their own; edit changes it before
// it is saved.
QImage ninePatch(const std::function<void(QImage &)> &edit = {})
{
    QImage image(kInner + QSize(2, 2), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.fillRect(QRect(QPoint(1, 1), kInner), QColor(0xc0, 0xc0, 0xc0));
        const int r = kInner.width() - kCorner + 1;
        const int b = kInner.height() - kCorner + 1;
        p.fillRect(1, 1, kCorner, kCorner, QColor::fromRgb(kCorners[0]));
        p.fillRect(r, 1, kCorner, kCorner, QColor::fromRgb(kCorners[1]));
        p.fillRect(1, b, kCorner, kCorner, QColor::fromRgb(kCorners[2]));
        p.fillRect(r, b, kCorner, kCorner, QColor::fromRgb(kCorners[3]));
    }
    for (int x = kCorner; x < kInner.width() - kCorner; ++x)
        image.setPixel(x + 1, 0, kBlack);
    for (int y = kCorner; y < kInner.height() - kCorner; ++y)
        image.setPixel(0, y + 1, kBlack);
    for (int x = kPadding.left(); x < kInner.width() - kPadding.right(); ++x)
        image.setPixel(x + 1, image.height() - 1, kBlack);
    for (int y = kPadding.top(); y < kInner.height() - kPadding.bottom(); ++y)
        image.setPixel(image.width() - 1, y + 1, kBlack);
    if (edit)
        edit(image);
    return image;
}

struct Run
{
    int code = -1;
    QString out;
    QString err;
};

Run import(const QStringList &arguments)
{
    Run r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.code = SkinCommand::run(QStringList { u"import"_s } + arguments, { QString(), out, err });
    out.flush();
    err.flush();
    return r;
}

QStringList tree(const QString &root)
{
    QStringList files;
    QDirIterator it(
        root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

} // namespace

class TestSkinImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { quillet::form::FontSetup::install(); }

    void cornersAndCaptionBox_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("small") << QSize(30, 20);
        QTest::newRow("sample") << QSize(104, 24);
        QTest::newRow("large") << QSize(240, 70);
    }

    void cornersAndCaptionBox()
    {
        QFETCH(QSize, size);
        QTemporaryDir dir;
        const QString source = dir.filePath(u"face.9.png"_s);
        QVERIFY(ninePatch().save(source));
        QVERIFY(QDir(dir.path()).mkdir(u"out"_s));
        const Run r = import({ source, u"--name"_s, u"Patch"_s, u"--out"_s, dir.filePath(u"out"_s) });
        QVERIFY2(r.code == 0, qPrintable(r.err));

        const auto skin = quillet::skin::SkinParser::parseFile(dir.filePath(u"out/Patch.an"_s));
        const auto &look = skin.look(quillet::skin::Element::Button, quillet::skin::State::Normal);
        QCOMPARE(look.slice, QMargins(kCorner, kCorner, kCorner, kCorner));
        QCOMPARE(look.padding, kPadding);
        QCOMPARE(QImage(look.image).size(), kInner);

        const quillet::render::ButtonRenderer renderer(skin);
        quillet::render::RenderRequest request;
        request.size = size;
        request.font = QFont(u"宋体"_s, 9);
        request.caption = u"H"_s;
        const QImage with = renderer.render(request).convertToFormat(QImage::Format_RGB32);
        request.caption.clear();
        const QImage blank = renderer.render(request).convertToFormat(QImage::Format_RGB32);

        const std::array<QPoint, 4> origins { QPoint(0, 0), QPoint(size.width() - kCorner, 0),
            QPoint(0, size.height() - kCorner), QPoint(size.width() - kCorner, size.height() - kCorner) };
        for (size_t c = 0; c < origins.size(); ++c) {
            for (int y = 0; y < kCorner; ++y) {
                for (int x = 0; x < kCorner; ++x) {
                    const QPoint at = origins[c] + QPoint(x, y);
                    QVERIFY2(blank.pixel(at) == kCorners[c],
                        qPrintable(u"corner %1 at %2,%3 is %4"_s.arg(c).arg(at.x()).arg(at.y()).arg(
                            QColor::fromRgb(blank.pixel(at)).name())));
                }
            }
        }
        QRect caption;
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                if (with.pixel(x, y) != blank.pixel(x, y))
                    caption |= QRect(x, y, 1, 1);
            }
        }
        const QRect box = QRect(QPoint(0, 0), size).marginsRemoved(kPadding);
        QVERIFY(!caption.isEmpty());
        QVERIFY2(box.contains(caption),
            qPrintable(u"caption %1,%2 %3x%4"_s.arg(caption.x())
                           .arg(caption.y())
                           .arg(caption.width())
                           .arg(caption.height())));
        QVERIFY2(std::abs(caption.center().x() - box.center().x()) <= 1,
            qPrintable(
                u"caption centre %1, box centre %2"_s.arg(caption.center().x()).arg(box.center().x())));
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("why");
        const auto png = [](const QImage &image) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
            return bytes;
        };
        QTest::newRow("not a PNG") << QByteArray("GIF89a....") << u"not a PNG"_s;
        QTest::newRow("grey guide pixel")
            << png(ninePatch([](QImage &i) { i.setPixel(6, 0, qRgb(0x80, 0x80, 0x80)); })) << u"6,0"_s;
        QTest::newRow("half-transparent guide pixel")
            << png(ninePatch([](QImage &i) { i.setPixel(0, 6, qRgba(0, 0, 0, 128)); })) << u"left edge"_s;
        QTest::newRow("no stretch guide") << png(ninePatch([](QImage &i) {
            for (int x = 1; x < i.width() - 1; ++x)
                i.setPixel(x, 0, 0);
        })) << u"no stretch guide on the top edge"_s;
        QTest::newRow("too small") << png(QImage(2, 2, QImage::Format_ARGB32)) << u"too small"_s;
        // Two runs with the corner colour between them: one stretched run would smear it.
        QTest::newRow("two different runs") << png(ninePatch([](QImage &i) {
            i.setPixel(1, 0, kBlack);
            i.setPixel(2, 0, 0);
        })) << u"2 stretch runs on the top edge"_s;
    }

    void refused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, why);
        QTemporaryDir dir;
        const QString source = dir.filePath(u"bad.9.png"_s);
        {
            QFile f(source);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        QVERIFY(QDir(dir.path()).mkdir(u"out"_s));
        const QString good = dir.filePath(u"good.9.png"_s);
        QVERIFY(ninePatch().save(good));
        // A bad state file refuses the whole skin, the good normal one included.
        const Run r
            = import({ good, u"--hot"_s, source, u"--name"_s, u"Bad"_s, u"--out"_s, dir.filePath(u"out"_s) });
        QCOMPARE(r.code, 2);
        QCOMPARE(r.err.count(u'\n'), 1);
        QVERIFY2(r.err.contains(source + u": "_s) && r.err.contains(why), qPrintable(r.err));
        QCOMPARE(tree(dir.filePath(u"out"_s)), QStringList());
    }

    // The arguments go through the same option table as the other subcommands.
    void badArgumentsAreRefused_data()
    {
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<QString>("why");
        QTest::newRow("two normal files") << QStringList { u"more.9.png"_s } << u"not two"_s;
        QTest::newRow("hot twice") << QStringList { u"--hot=a.9.png"_s, u"--hot"_s, u"b.9.png"_s }
                                   << u"--hot given twice"_s;
        QTest::newRow("unknown option") << QStringList { u"--colour"_s, u"red"_s } << u"unknown option \"--colour\""_s;
        QTest::newRow("flag with a value") << QStringList { u"--force=yes"_s } << u"--force takes no value"_s;
        QTest::newRow("value missing") << QStringList { u"--out"_s } << u"--out needs a value"_s;
    }
    void badArgumentsAreRefused()
    {
        QFETCH(QStringList, extra);
        QFETCH(QString, why);
        QTemporaryDir dir;
        const QString good = dir.filePath(u"good.9.png"_s);
        QVERIFY(ninePatch().save(good));
        QVERIFY(QDir(dir.path()).mkdir(u"out"_s));
        const Run r = import(QStringList { good, u"--name"_s, u"N"_s, u"--out"_s, dir.filePath(u"out"_s) } + extra);
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.contains(why) && r.err.count(u'\n') == 1, qPrintable(r.err));
        QCOMPARE(tree(dir.filePath(u"out"_s)), QStringList());
    }

    // Runs of the same pixels all along are one run to the engine; an existing skin is kept
    // unless replacing it is asked for.
    void mergedRunsAndReplacing()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath(u"face.9.png"_s);
        QVERIFY(ninePatch([](QImage &i) { i.setPixel(7, 0, 0); }).save(source));
        QVERIFY(QDir(dir.path()).mkdir(u"out"_s));
        const QStringList args { source, u"--name"_s, u"P"_s, u"--out"_s, dir.filePath(u"out"_s) };
        QCOMPARE(import(args).code, 0);
        const auto skin = quillet::skin::SkinParser::parseFile(dir.filePath(u"out/P.an"_s));
        QCOMPARE(skin.look(quillet::skin::Element::Button, quillet::skin::State::Normal).slice,
            QMargins(kCorner, kCorner, kCorner, kCorner));
        QCOMPARE(tree(dir.filePath(u"out"_s)), (QStringList { u"P"_s, u"P.an"_s, u"P/button-normal.png"_s }));

        const QString pressed = dir.filePath(u"pressed.9.png"_s);
        QVERIFY(ninePatch().save(pressed));
        const Run again = import(args + QStringList { u"--pressed"_s, pressed });
        QCOMPARE(again.code, 2);
        QVERIFY(again.err.contains(u"--force"_s));
        QCOMPARE(tree(dir.filePath(u"out"_s)).size(), 3);
        QCOMPARE(import(args + QStringList { u"--pressed"_s, pressed, u"--force"_s }).code, 0);
        QCOMPARE(tree(dir.filePath(u"out"_s)),
            (QStringList { u"P"_s, u"P.an"_s, u"P/button-normal.png"_s, u"P/button-pressed.png"_s }));
    }
};

QTEST_MAIN(TestSkinImport)
#include "tst_skinimport.moc"
