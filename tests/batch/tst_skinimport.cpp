// "quillet skin import": nine-patch guides become the skin's slices and caption box, the
// corners stay whole at any size, and a bad file is refused with nothing written.
#include "batch/skincommand.h"
#include "platform/form/fontsetup.h"
#include "skin/legibility.h"
#include "skin/skinparser.h"
#include "render/buttonrenderer.h"
#include "support/smalltmpfs.h"
#include "support/testfiles.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include <sys/stat.h>

namespace SkinCommand = quillet::batch::SkinCommand;
using namespace Qt::StringLiterals;

namespace {

constexpr QRgb kBlack = 0xff000000;
constexpr int kCorner = 4;
// The picture inside the guide ring, and its content box: off centre, so a caption centred
// on the whole face would show.
constexpr QSize kInner(16, 12);
constexpr QMargins kPadding(8, 3, 1, 3);
const std::array<QRgb, 4> kCorners { qRgb(255, 0, 0), qRgb(0, 200, 0), qRgb(0, 0, 255), qRgb(255, 220, 0) };

// Where the four corners of a face of this size lie.
std::array<QRect, 4> cornersOf(QSize size)
{
    const QSize c(kCorner, kCorner);
    const int r = size.width() - kCorner;
    const int b = size.height() - kCorner;
    return { QRect(QPoint(0, 0), c), QRect(QPoint(r, 0), c), QRect(QPoint(0, b), c), QRect(QPoint(r, b), c) };
}

using Paint = QList<std::pair<QRect, QRgb>>;

// A nine-patch whose corners have colours of their own, with edits painted over it.
QImage ninePatch(const Paint &edits = {})
{
    const QRect inner(QPoint(1, 1), kInner);
    const QRect stretch = inner.marginsRemoved(QMargins(kCorner, kCorner, kCorner, kCorner));
    const QRect content = inner.marginsRemoved(kPadding);
    // Stretch guides on the top and left edges, the content box on the bottom and right.
    Paint paint { { inner, qRgb(0xc0, 0xc0, 0xc0) }, { QRect(stretch.left(), 0, stretch.width(), 1), kBlack },
        { QRect(0, stretch.top(), 1, stretch.height()), kBlack },
        { QRect(content.left(), inner.bottom() + 1, content.width(), 1), kBlack },
        { QRect(inner.right() + 1, content.top(), 1, content.height()), kBlack } };
    // A dot inside each corner shows a corner stretched, even by one pixel.
    for (size_t c = 0; c < kCorners.size(); ++c) {
        const QRect corner = cornersOf(kInner)[c].translated(1, 1);
        paint += { { corner, kCorners[c] }, { corner.adjusted(1, 1, -1, -1), qRgb(255, 255, 255) } };
    }
    QImage image(kInner + QSize(2, 2), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (const auto &[rect, colour] : paint + edits) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x)
                image.setPixel(x, y, colour);
        }
    }
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

// A folder holding a good nine-patch and an empty output folder.
struct Fixture
{
    QTemporaryDir dir;
    QString good = dir.filePath(u"good.9.png"_s);
    QString out = dir.filePath(u"out"_s);
    bool ready = ninePatch().save(good) && QDir(dir.path()).mkdir(u"out"_s);
    QStringList args(const QString &source) const { return { source, u"--name"_s, u"P"_s, u"--out"_s, out }; }
};

} // namespace

class TestSkinImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { quillet::form::FontSetup::install(); }

    // The caption takes black or white by the face's median luminance: rows split the face
    // into a dark part of `darkRows` rows of 12 and a light rest.
    void captionTakesTheColourThatReads_data()
    {
        QTest::addColumn<int>("darkRows");
        QTest::addColumn<QRgb>("dark");
        QTest::addColumn<QString>("caption");
        QTest::newRow("light face") << 0 << qRgb(0x20, 0x20, 0x20) << u"#000000"_s;
        QTest::newRow("dark face") << 12 << qRgb(0x20, 0x20, 0x20) << u"#ffffff"_s;
        QTest::newRow("dark minority") << 5 << qRgb(0x20, 0x20, 0x20) << u"#000000"_s;
        QTest::newRow("dark majority") << 7 << qRgb(0x20, 0x20, 0x20) << u"#ffffff"_s;
        QTest::newRow("see-through dark reads as light") << 12 << qRgba(0, 0, 0, 40) << u"#000000"_s;
    }
    void captionTakesTheColourThatReads()
    {
        QFETCH(int, darkRows);
        QFETCH(QRgb, dark);
        QFETCH(QString, caption);
        Fixture f;
        QVERIFY(f.ready);
        const QRect inner(QPoint(1, 1), kInner);
        Paint face { { inner, qRgb(0xf0, 0xf0, 0xf0) } };
        if (darkRows > 0)
            face.append({ QRect(inner.left(), inner.top(), inner.width(), darkRows), dark });
        // The same picture with its guides: only the face changes.
        QImage picture = ninePatch(face);
        const QImage guides = ninePatch();
        for (int x = 0; x < picture.width(); ++x) {
            picture.setPixel(x, 0, guides.pixel(x, 0));
            picture.setPixel(x, picture.height() - 1, guides.pixel(x, picture.height() - 1));
        }
        for (int y = 0; y < picture.height(); ++y) {
            picture.setPixel(0, y, guides.pixel(0, y));
            picture.setPixel(picture.width() - 1, y, guides.pixel(picture.width() - 1, y));
        }
        QVERIFY(picture.save(f.good));
        const Run r = import(f.args(f.good));
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QString text = QString::fromUtf8(readAll(f.out + u"/P.an"_s));
        QVERIFY2(text.contains(u"\ntext = "_s + caption + u'\n'), qPrintable(text));
    }

    // gap: a top guide pixel cleared; two runs of the same pixels all along are one run to the
    // engine, so the slices stay.
    void cornersAndCaptionBox_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("gap");
        QTest::newRow("small") << QSize(30, 20) << 0;
        QTest::newRow("sample") << QSize(104, 24) << 0;
        QTest::newRow("large") << QSize(240, 70) << 0;
        QTest::newRow("top guide in two runs") << QSize(104, 24) << 7;
    }
    void cornersAndCaptionBox()
    {
        QFETCH(QSize, size);
        QFETCH(int, gap);
        Fixture f;
        QVERIFY(f.ready);
        if (gap)
            QVERIFY(ninePatch({ { QRect(gap, 0, 1, 1), 0 } }).save(f.good));
        const Run r = import(f.args(f.good));
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(tree(f.out), (QStringList { u"P"_s, u"P.an"_s, u"P/button-normal.png"_s }));
        const auto skin = quillet::skin::SkinParser::parseFile(f.out + u"/P.an"_s);
        const auto &look = skin.look(quillet::skin::Element::Button, quillet::skin::State::Normal);
        QCOMPARE(look.slice, QMargins(kCorner, kCorner, kCorner, kCorner));
        QCOMPARE(look.padding, kPadding);

        const quillet::render::ButtonRenderer renderer(skin);
        quillet::render::RenderRequest request;
        request.size = size;
        request.font = QFont(u"宋体"_s, 9);
        request.caption = u"H"_s;
        const QImage with = renderer.render(request).convertToFormat(QImage::Format_RGB32);
        request.caption.clear();
        const QImage blank = renderer.render(request).convertToFormat(QImage::Format_RGB32);
        const QImage source = ninePatch().convertToFormat(QImage::Format_RGB32);
        for (size_t c = 0; c < kCorners.size(); ++c)
            QCOMPARE(blank.copy(cornersOf(size)[c]), source.copy(cornersOf(kInner)[c].translated(1, 1)));
        const QRect caption = quillet::skin::differingBox(with, blank);
        const QRect box = QRect(QPoint(0, 0), size).marginsRemoved(kPadding);
        QVERIFY(!caption.isEmpty() && box.contains(caption));
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
        const auto png = [](const QImage &image) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
            return bytes;
        };
        const auto row = [](const char *name, const QByteArray &bytes, const QStringList &extra,
                             const QString &why) { QTest::newRow(name) << bytes << extra << why; };
        row("not a PNG", "GIF89a....", {}, u"not a PNG"_s);
        row("grey guide pixel", png(ninePatch({ { QRect(6, 0, 1, 1), qRgb(0x80, 0x80, 0x80) } })), {},
            u"6,0"_s);
        row("half-transparent guide pixel", png(ninePatch({ { QRect(0, 6, 1, 1), qRgba(0, 0, 0, 128) } })),
            {}, u"left edge"_s);
        row("no stretch guide", png(ninePatch({ { QRect(1, 0, kInner.width(), 1), 0 } })), {},
            u"no stretch guide on the top edge"_s);
        row("too small", png(QImage(2, 2, QImage::Format_ARGB32)), {}, u"too small"_s);
        // Only the header of a picture too large, its pixels never given: the size alone refuses it.
        const QByteArray wide = png(QImage(4099, 3, QImage::Format_ARGB32));
        row("too large by its header", wide.left(33) + QByteArray::fromHex("0000000049454e44ae426082"), {},
            u"larger than 4096 pixels"_s);
        // The corner colour between two runs: one stretched run would smear it.
        row("two different runs", png(ninePatch({ { QRect(1, 0, 1, 1), kBlack }, { QRect(2, 0, 1, 1), 0 } })),
            {}, u"2 stretch runs on the top edge"_s);
        row("two normal files", {}, { u"more.9.png"_s }, u"not two"_s);
        row("hot twice", {}, { u"--hot=a.9.png"_s, u"--hot"_s, u"b.9.png"_s }, u"--hot given twice"_s);
        row("unknown option", {}, { u"--colour"_s, u"red"_s }, u"unknown option \"--colour\""_s);
        row("flag with a value", {}, { u"--force=yes"_s }, u"--force takes no value"_s);
        row("value missing", {}, { u"--out"_s }, u"--out needs a value"_s);
        row("name with a newline", {}, { u"--name=a\nb"_s }, u"no control or direction characters"_s);
        row("name with an escape", {}, { u"--name=a\x1b[2Jb"_s }, u"no control or direction characters"_s);
        row("name turned right to left", {}, { u"--name=gnp.\u202eexe"_s }, u"no control or direction characters"_s);
        row("a FIFO for a state", {}, { u"--hot=<fifo>"_s }, u"is not a regular file"_s);
    }
    void badArgumentsAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, extra);
        QFETCH(QString, why);
        Fixture f;
        QVERIFY(f.ready);
        const QString fifo = f.dir.filePath(u"fifo"_s);
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        extra.replaceInStrings(u"<fifo>"_s, fifo);
        QString bad;
        if (!bytes.isEmpty()) {
            bad = f.dir.filePath(u"bad.9.png"_s);
            QVERIFY(writeAll(bad, bytes));
            extra = QStringList { u"--hot"_s, bad };
        }
        const Run r = import(f.args(f.good) + extra);
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.count(u'\n') == 1 && r.err.contains(why)
                && (bad.isEmpty() || r.err.contains(bad + u": "_s)),
            qPrintable(r.err));
        QCOMPARE(tree(f.out), QStringList());
    }

    // Nothing is written through a link, and what the link leads to stays as it was.
    void linksAreRefused_data()
    {
        QTest::addColumn<QString>("link");
        QTest::newRow("picture folder") << u"P"_s;
        QTest::newRow("skin file") << u"P.an"_s;
    }
    void linksAreRefused()
    {
        QFETCH(QString, link);
        Fixture f;
        QVERIFY(f.ready);
        const QString elsewhere = f.dir.filePath(u"elsewhere"_s);
        QVERIFY(QDir().mkpath(elsewhere) && writeAll(elsewhere + u"/button-pressed.png"_s, "keep"));
        QVERIFY(QFile::link(link == u"P"_s ? elsewhere : elsewhere + u"/button-pressed.png"_s, f.out + u'/' + link));
        const QStringList before = tree(f.dir.path());
        const Run r = import(f.args(f.good) + QStringList { u"--force"_s });
        QVERIFY2(r.code == 2 && r.err.contains(u"is a link"_s), qPrintable(r.err));
        QCOMPARE(tree(f.dir.path()), before);
        QCOMPARE(readAll(elsewhere + u"/button-pressed.png"_s), QByteArray("keep"));
    }

    // A write that fails half way leaves neither pictures nor a skin file, so the next run
    // does not find a skin that is not there; a replaced skin stays the old one.
    void aFailedImportLeavesNothing()
    {
        SmallTmpfs disk("size=12k");
        if (!disk.mounted)
            QSKIP(qPrintable(disk.error));
        Fixture f;
        QVERIFY(f.ready);
        const QString out = disk.filePath(u"out"_s);
        QVERIFY(QDir().mkpath(out));
        QStringList args { f.good, u"--name"_s, u"P"_s, u"--out"_s, out };
        for (const char *state : { "--hot", "--pressed", "--disabled", "--focus" })
            args << QString::fromLatin1(state) << f.good;
        const Run r = import(args);
        QVERIFY2(r.code == 1 && r.err.count(u'\n') == 1, qPrintable(r.err));
        QCOMPARE(tree(out), QStringList());
        const Run small = import({ f.good, u"--name"_s, u"P"_s, u"--out"_s, out });
        QVERIFY2(small.code == 0, qPrintable(small.err));
        const QStringList first = tree(out);
        const Run again = import(args + QStringList { u"--force"_s });
        QVERIFY2(again.code == 1, qPrintable(again.err));
        QCOMPARE(tree(out), first);
    }

    // An existing skin is kept unless replacing it is asked for.
    void replacing()
    {
        Fixture f;
        QVERIFY(f.ready);
        const QStringList pressed = f.args(f.good) + QStringList { u"--pressed"_s, f.good };
        QCOMPARE(import(f.args(f.good)).code, 0);
        const QStringList first = tree(f.out);
        const Run again = import(pressed);
        QVERIFY2(again.code == 2 && again.err.contains(u"--force"_s), qPrintable(again.err));
        QCOMPARE(tree(f.out), first);
        QCOMPARE(import(pressed + QStringList { u"--force"_s }).code, 0);
        QCOMPARE(tree(f.out), first + QStringList { u"P/button-pressed.png"_s });
    }
};

QTEST_MAIN(TestSkinImport)
#include "tst_skinimport.moc"
