// A kit's sheet: every piece lies at whole device pixels (even CSS lengths with 1.5x) with a
// gutter round it, half of which repeats the piece's edge, the caps where a cap layer shows
// nothing else, each middle row a seamless repeat, and the sheet of each density gives back
// exactly the pieces it was drawn from.
#include "kit/kitsheet.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QtTest>

#include <cmath>

using namespace quillet;
using namespace Qt::StringLiterals;
using kit::KitSheet;
using kit::KitSheetSkin;
using kit::KitSlice;

namespace {

using Drawn = std::array<bool, kit::kitpieces::kStates.size()>;

// A piece of noise, opaque and see-through pixels mixed, so that a piece out of place or
// blended with a neighbour shows.
QImage noise(int width, int height, qreal ratio, quint32 seed)
{
    QImage picture(qRound(width * ratio), qRound(height * ratio), QImage::Format_ARGB32_Premultiplied);
    QRandomGenerator random(seed);
    for (int y = 0; y < picture.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int alpha = int(random.bounded(256));
            row[x] = qPremultiply(
                qRgba(int(random.bounded(256)), int(random.bounded(256)), int(random.bounded(256)), alpha));
        }
    }
    picture.setDevicePixelRatio(ratio);
    return picture;
}

KitSheetSkin skinAt(const KitSlice &slice, int height, const Drawn &drawn, qreal ratio, quint32 seed)
{
    KitSheetSkin skin;
    skin.slice = slice;
    for (size_t state = 0; state < drawn.size(); ++state) {
        if (!drawn[state])
            continue;
        // Caps as the web kit places them, with their backing.
        const int backing = kit::kitpieces::kBacking;
        skin.pieces[state] = { noise(slice.left + backing, height, ratio, seed + 10 * quint32(state)),
            noise(slice.middle, height, ratio, seed + 10 * quint32(state) + 1),
            noise(slice.right + backing, height, ratio, seed + 10 * quint32(state) + 2) };
    }
    // As the model draws them: no check box where 13 pixels are no whole device pixels.
    for (size_t state = 0; state < skin.checks.size() && kit::kitpieces::whole(13, ratio); ++state)
        skin.checks[state] = noise(13, 13, ratio, seed + 100 + quint32(state));
    return skin;
}

QRect device(const QRect &rect, qreal ratio)
{
    return { qRound(rect.x() * ratio), qRound(rect.y() * ratio), qRound(rect.width() * ratio),
        qRound(rect.height() * ratio) };
}

QImage cropped(const QImage &sheet, const QRect &at)
{
    QImage piece = sheet.copy(at);
    piece.setDevicePixelRatio(1);
    return piece;
}

QImage plain(QImage picture)
{
    picture.setDevicePixelRatio(1);
    return picture;
}

} // namespace

Q_DECLARE_METATYPE(Drawn)

class TestKitSheet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sheetHoldsEveryPiece_data()
    {
        QTest::addColumn<QList<KitSlice>>("slices");
        QTest::addColumn<int>("height");
        QTest::addColumn<Drawn>("drawn");
        QTest::addColumn<QList<qreal>>("ratios");
        const QList<qreal> whole { 1, 2, 3 };
        const QList<qreal> withHalf { 1, 1.5, 2, 3 };
        const auto slice = [](int left, int middle, int right) {
            KitSlice s;
            s.left = left;
            s.middle = middle;
            s.right = right;
            return s;
        };
        const Drawn all { true, true, true, true, true };
        Drawn noFocus = all;
        for (size_t state = 0; state < noFocus.size(); ++state)
            noFocus[state] = kit::kitpieces::kStates[state] != render::SampleState::Focused;
        QTest::newRow("one skin, one-column middle")
            << QList<KitSlice> { slice(3, 1, 3) } << 24 << noFocus << whole;
        QTest::newRow("dotted ring: a middle of 3 and one of 4")
            << QList<KitSlice> { slice(4, 3, 5), slice(2, 4, 2) } << 24 << all << whole;
        // Caps wider than the rest make the sheet wide enough for several check boxes a row.
        QTest::newRow("tall pill") << QList<KitSlice> { slice(79, 1, 78) } << 96 << all << whole;
        QTest::newRow("two skins, caps apart, short")
            << QList<KitSlice> { slice(1, 2, 9), slice(12, 1, 1) } << 12 << noFocus << whole;
        // With 1.5x every length is even, the check boxes' 13 pixels too once their gutter is in.
        QTest::newRow("1.5x: one skin") << QList<KitSlice> { slice(4, 2, 4) } << 24 << noFocus << withHalf;
        QTest::newRow("1.5x: two skins, a middle of 6, caps apart")
            << QList<KitSlice> { slice(2, 6, 10), slice(12, 2, 2) } << 24 << all << withHalf;
        QTest::newRow("1.5x: tall pill") << QList<KitSlice> { slice(78, 2, 78) } << 96 << all << withHalf;
    }
    void sheetHoldsEveryPiece()
    {
        QFETCH(QList<KitSlice>, slices);
        QFETCH(int, height);
        QFETCH(Drawn, drawn);
        QFETCH(QList<qreal>, ratios);
        const int unit = kit::kitpieces::unitOf(ratios);
        const KitSheet sheet = kit::kitsheet::layout(slices, height, drawn, unit);
        const int width = sheet.size.width();
        QCOMPARE(width % kit::kitsheet::kWidthStep, 0);
        // Whole device pixels at every ratio: every place and size a multiple of the unit.
        const auto onUnits = [unit](const QRect &r) {
            return r.x() % unit == 0 && r.y() % unit == 0 && r.width() % unit == 0 && r.height() % unit == 0;
        };
        QVERIFY(onUnits(QRect(QPoint(), sheet.size)));

        // Every rect inside the sheet, apart from every other by a gutter both ways.
        QList<QRect> rects;
        for (qsizetype skin = 0; skin < slices.size(); ++skin) {
            const KitSlice &slice = slices[skin];
            for (size_t state = 0; state < drawn.size(); ++state) {
                const KitSheet::Button &at = sheet.buttons[skin][state];
                QCOMPARE(at.middle.isNull(), !drawn[state]);
                if (!drawn[state])
                    continue;
                // A cap layer shows the sheet beyond its cap: there must be nothing there.
                QCOMPARE(at.left.right(), width - 1);
                QCOMPARE(at.right.left(), 0);
                QCOMPARE(at.left.size(), QSize(slice.left + kit::kitpieces::kBacking, height));
                QCOMPARE(at.right.size(), QSize(slice.right + kit::kitpieces::kBacking, height));
                QCOMPARE(at.middle, QRect(0, at.middle.y(), width, height));
                QCOMPARE(width % slice.middle, 0);
                for (const QRect &r : { at.left, at.middle, at.right })
                    QVERIFY2(onUnits(r), qPrintable(u"state %1"_s.arg(state)));
                rects << at.left << at.middle << at.right;
            }
            for (const QRect &check : sheet.checks[skin]) {
                QCOMPARE(check.size(), QSize(13, 13));
                QVERIFY(check.x() % unit == 0 && check.y() % unit == 0);
                rects << check;
            }
        }
        const QRect whole(QPoint(), sheet.size);
        const int g = sheet.gutter;
        QVERIFY(g >= kit::kitsheet::kGutter);
        for (qsizetype i = 0; i < rects.size(); ++i) {
            QVERIFY(whole.contains(rects[i]));
            for (qsizetype j = i + 1; j < rects.size(); ++j)
                QVERIFY2(!rects[i].adjusted(-g, -g, g, g).intersects(rects[j]),
                    qPrintable(u"%1 and %2"_s.arg(i).arg(j)));
        }

        for (qreal ratio : ratios) {
            QList<KitSheetSkin> skins;
            for (qsizetype skin = 0; skin < slices.size(); ++skin)
                skins << skinAt(slices[skin], height, drawn, ratio, quint32(1000 * skin + 7));
            const QImage picture = kit::kitsheet::draw(sheet, skins, ratio);
            QCOMPARE(picture.size(), sheet.size * ratio);
            QCOMPARE(picture.devicePixelRatio(), ratio);
            // Each piece comes back bit for bit; round it, half the gutter repeats its edge pixels
            // and the rest is fully see-through.
            QList<QRect> placed;
            for (qsizetype skin = 0; skin < slices.size(); ++skin) {
                for (size_t state = 0; state < drawn.size(); ++state) {
                    if (!drawn[state])
                        continue;
                    const KitSheet::Button &at = sheet.buttons[skin][state];
                    const kit::KitPieces &pieces = skins[skin].pieces[state];
                    QCOMPARE(cropped(picture, device(at.left, ratio)), plain(pieces.left));
                    QCOMPARE(cropped(picture, device(at.right, ratio)), plain(pieces.right));
                    const QRect row = device(at.middle, ratio);
                    for (int x = 0; x < row.width(); x += pieces.middle.width())
                        QCOMPARE(cropped(picture, QRect(x, row.y(), pieces.middle.width(), row.height())),
                            plain(pieces.middle));
                    for (const QRect &r : { at.left, at.right, at.middle })
                        placed << device(r, ratio);
                }
                for (size_t state = 0; state < skins[skin].checks.size(); ++state) {
                    if (skins[skin].checks[state].isNull())
                        continue;
                    const QRect at = device(sheet.checks[skin][state], ratio);
                    QCOMPARE(cropped(picture, at), plain(skins[skin].checks[state]));
                    placed << at;
                }
            }
            // Whole device pixels, an even number: the two halves fill the gutter.
            QCOMPARE(std::fmod(g * ratio, 2.0), 0.0);
            const int reach = int(g * ratio) / 2;
            for (int y = 0; y < picture.height(); ++y) {
                for (int x = 0; x < picture.width(); ++x) {
                    QRgb expected = 0;
                    bool inside = false;
                    for (const QRect &r : std::as_const(placed)) {
                        inside = inside || r.contains(x, y);
                        if (r.adjusted(-reach, -reach, reach, reach).contains(x, y))
                            expected = picture.pixel(
                                qBound(r.left(), x, r.right()), qBound(r.top(), y, r.bottom()));
                    }
                    if (!inside)
                        QVERIFY2(picture.pixel(x, y) == expected,
                            qPrintable(u"(%1, %2) at %3x"_s.arg(x).arg(y).arg(ratio)));
                }
            }
        }
    }

    // A piece of another size than its place is refused, not squeezed in.
    void misfitPieceGivesNoSheet()
    {
        KitSlice slice;
        slice.left = 3;
        slice.right = 3;
        const Drawn drawn { true, true, false, true, true };
        const KitSheet sheet = kit::kitsheet::layout({ slice }, 24, drawn);
        KitSheetSkin skin = skinAt(slice, 24, drawn, 2, 1);
        QVERIFY(!kit::kitsheet::draw(sheet, { skin }, 2).isNull());
        skin.pieces[0].left = noise(4, 24, 2, 5);
        QVERIFY(kit::kitsheet::draw(sheet, { skin }, 2).isNull());
        // As many skins as the layout was made for.
        QVERIFY(kit::kitsheet::draw(sheet, { skinAt(slice, 24, drawn, 2, 1), skin }, 2).isNull());
    }
};

QTEST_MAIN(TestKitSheet)
#include "tst_kitsheet.moc"
