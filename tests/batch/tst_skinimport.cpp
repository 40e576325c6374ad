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
        const std::array<QPoint, 4> at { QPoint(1, 1), QPoint(r, 1), QPoint(1, b), QPoint(r, b) };
        for (size_t c = 0; c < at.size(); ++c)
            p.fillRect(QRect(at[c], QSize(kCorner, kCorner)), QColor::fromRgb(kCorners[c]));
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
    QString err;
};

Run import(const QStringList &arguments)
{
    Run r;
    QString ignored;
    QTextStream out(&ignored);
    QTextStream err(&r.err);
    r.code = SkinCommand::run(QStringList { u"import"_s } + arguments, { QString(), out, err });
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

// A folder holding a good nine-patch and an empty output folder.
struct Fixture
{
    QTemporaryDir dir;
    QString good = dir.filePath(u"good.9.png"_s);
    QString out = dir.filePath(u"out"_s);
    bool ready = ninePatch().save(good) && QDir(dir.path()).mkdir(u"out"_s);
};

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
        Fixture f;
        QVERIFY(f.ready);
        const Run r = import({ f.good, u"--name"_s, u"Patch"_s, u"--out"_s, f.out });
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const auto skin = quillet::skin::SkinParser::parseFile(f.out + u"/Patch.an"_s);
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
        const QPoint far(size.width() - kCorner, size.height() - kCorner);
        const std::array<QPoint, 4> origins { QPoint(0, 0), QPoint(far.x(), 0), QPoint(0, far.y()), far };
        for (size_t c = 0; c < origins.size(); ++c) {
            QImage whole(kCorner, kCorner, QImage::Format_RGB32);
            whole.fill(kCorners[c]);
            QCOMPARE(blank.copy(QRect(origins[c], whole.size())), whole);
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
        QVERIFY(box.contains(caption));
        QVERIFY2(std::abs(caption.center().x() - box.center().x()) <= 1,
            qPrintable(u"caption centre %1, box %2"_s.arg(caption.center().x()).arg(box.center().x())));
    }

    // Arguments go through the same option table as the other subcommands; a bad state file
    // (bytes given) refuses the whole skin, the good normal one included.
    void badArgumentsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<QString>("why");
        const auto png = [](const std::function<void(QImage &)> &edit) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            (edit ? ninePatch(edit) : QImage(2, 2, QImage::Format_ARGB32)).save(&buffer, "PNG");
            return bytes;
        };
        const QList<std::tuple<const char *, QByteArray, QString>> files {
            { "not a PNG", "GIF89a....", u"not a PNG"_s },
            { "grey guide pixel", png([](QImage &i) { i.setPixel(6, 0, qRgb(0x80, 0x80, 0x80)); }),
                u"6,0"_s },
            { "half-transparent guide pixel", png([](QImage &i) { i.setPixel(0, 6, qRgba(0, 0, 0, 128)); }),
                u"left edge"_s },
            { "no stretch guide", png([](QImage &i) {
                 for (int x = 1; x < i.width() - 1; ++x)
                     i.setPixel(x, 0, 0);
             }),
                u"no stretch guide on the top edge"_s },
            { "too small", png({}), u"too small"_s },
            // The corner colour between two runs: one stretched run would smear it.
            { "two different runs", png([](QImage &i) {
                 i.setPixel(1, 0, kBlack);
                 i.setPixel(2, 0, 0);
             }),
                u"2 stretch runs on the top edge"_s },
        };
        for (const auto &[name, bytes, why] : files)
            QTest::newRow(name) << bytes << QStringList() << why;
        const QList<std::tuple<const char *, QStringList, QString>> arguments {
            { "two normal files", { u"more.9.png"_s }, u"not two"_s },
            { "hot twice", { u"--hot=a.9.png"_s, u"--hot"_s, u"b.9.png"_s }, u"--hot given twice"_s },
            { "unknown option", { u"--colour"_s, u"red"_s }, u"unknown option \"--colour\""_s },
            { "flag with a value", { u"--force=yes"_s }, u"--force takes no value"_s },
            { "value missing", { u"--out"_s }, u"--out needs a value"_s },
        };
        for (const auto &[name, extra, why] : arguments)
            QTest::newRow(name) << QByteArray() << extra << why;
    }
    void badArgumentsAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, extra);
        QFETCH(QString, why);
        Fixture f;
        QVERIFY(f.ready);
        QString bad;
        if (!bytes.isEmpty()) {
            bad = f.dir.filePath(u"bad.9.png"_s);
            QFile file(bad);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
            file.close();
            extra = QStringList { u"--hot"_s, bad };
        }
        const Run r = import(QStringList { f.good, u"--name"_s, u"N"_s, u"--out"_s, f.out } + extra);
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.count(u'\n') == 1 && r.err.contains(why)
                && (bad.isEmpty() || r.err.contains(bad + u": "_s)),
            qPrintable(r.err));
        QCOMPARE(tree(f.out), QStringList());
    }

    // Runs of the same pixels all along are one run to the engine; an existing skin is kept
    // unless replacing it is asked for.
    void mergedRunsAndReplacing()
    {
        Fixture f;
        QVERIFY(f.ready);
        const QString source = f.dir.filePath(u"face.9.png"_s);
        QVERIFY(ninePatch([](QImage &i) { i.setPixel(7, 0, 0); }).save(source));
        const QStringList args { source, u"--name"_s, u"P"_s, u"--out"_s, f.out };
        QCOMPARE(import(args).code, 0);
        const auto skin = quillet::skin::SkinParser::parseFile(f.out + u"/P.an"_s);
        QCOMPARE(skin.look(quillet::skin::Element::Button, quillet::skin::State::Normal).slice,
            QMargins(kCorner, kCorner, kCorner, kCorner));
        QCOMPARE(tree(f.out), (QStringList { u"P"_s, u"P.an"_s, u"P/button-normal.png"_s }));

        const Run again = import(args + QStringList { u"--pressed"_s, f.good });
        QCOMPARE(again.code, 2);
        QVERIFY(again.err.contains(u"--force"_s));
        QCOMPARE(tree(f.out).size(), 3);
        QCOMPARE(import(args + QStringList { u"--pressed"_s, f.good, u"--force"_s }).code, 0);
        QCOMPARE(tree(f.out),
            (QStringList { u"P"_s, u"P.an"_s, u"P/button-normal.png"_s, u"P/button-pressed.png"_s }));
    }
};

QTEST_MAIN(TestSkinImport)
#include "tst_skinimport.moc"
