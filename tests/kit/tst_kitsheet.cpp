// A kit's sheet: every piece lies at whole device pixels with a transparent gutter round
// it, the caps where a cap layer shows nothing else, each middle row a seamless repeat,
// and the sheet of each density gives back exactly the pieces it was drawn from.
#include "kit/kitsheet.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QtTest>

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
        skin.pieces[state] = { noise(slice.left, height, ratio, seed + 10 * quint32(state)),
            noise(slice.middle, height, ratio, seed + 10 * quint32(state) + 1),
            noise(slice.right, height, ratio, seed + 10 * quint32(state) + 2) };
    }
    for (size_t state = 0; state < skin.checks.size(); ++state)
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
        QTest::newRow("one skin, one-column middle") << QList<KitSlice> { slice(3, 1, 3) } << 24 << noFocus;
        QTest::newRow("dotted ring: a middle of 3 and one of 4")
            << QList<KitSlice> { slice(4, 3, 5), slice(2, 4, 2) } << 24 << all;
        // Caps wider than the rest make the sheet wide enough for several check boxes a row.
        QTest::newRow("tall pill") << QList<KitSlice> { slice(79, 1, 78) } << 96 << all;
        QTest::newRow("two skins, caps apart, short")
            << QList<KitSlice> { slice(1, 2, 9), slice(12, 1, 1) } << 12 << noFocus;
    }
    void sheetHoldsEveryPiece()
    {
        QFETCH(QList<KitSlice>, slices);
        QFETCH(int, height);
        QFETCH(Drawn, drawn);
        const KitSheet sheet = kit::kitsheet::layout(slices, height, drawn);
        const int width = sheet.size.width();
        QCOMPARE(width % kit::kitsheet::kWidthStep, 0);

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
                QCOMPARE(at.left.size(), QSize(slice.left, height));
                QCOMPARE(at.right.size(), QSize(slice.right, height));
                QCOMPARE(at.middle, QRect(0, at.middle.y(), width, height));
                QCOMPARE(width % slice.middle, 0);
                rects << at.left << at.middle << at.right;
            }
            for (const QRect &check : sheet.checks[skin]) {
                QCOMPARE(check.size(), QSize(13, 13));
                rects << check;
            }
        }
        const QRect whole(QPoint(), sheet.size);
        const int g = kit::kitsheet::kGutter;
        for (qsizetype i = 0; i < rects.size(); ++i) {
            QVERIFY(whole.contains(rects[i]));
            for (qsizetype j = i + 1; j < rects.size(); ++j)
                QVERIFY2(!rects[i].adjusted(-g, -g, g, g).intersects(rects[j]),
                    qPrintable(u"%1 and %2"_s.arg(i).arg(j)));
        }

        for (qreal ratio : { 1.0, 2.0, 3.0 }) {
            QList<KitSheetSkin> skins;
            for (qsizetype skin = 0; skin < slices.size(); ++skin)
                skins << skinAt(slices[skin], height, drawn, ratio, quint32(1000 * skin + 7));
            const QImage picture = kit::kitsheet::draw(sheet, skins, ratio);
            QCOMPARE(picture.size(), sheet.size * int(ratio));
            QCOMPARE(picture.devicePixelRatio(), ratio);
            // Each piece comes back bit for bit; what no piece covers is fully see-through.
            QImage covered(picture.size(), QImage::Format_Grayscale8);
            covered.fill(0);
            QPainter mark(&covered);
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
                        mark.fillRect(device(r, ratio), Qt::white);
                }
                for (size_t state = 0; state < skins[skin].checks.size(); ++state) {
                    const QRect at = device(sheet.checks[skin][state], ratio);
                    QCOMPARE(cropped(picture, at), plain(skins[skin].checks[state]));
                    mark.fillRect(at, Qt::white);
                }
            }
            mark.end();
            for (int y = 0; y < picture.height(); ++y) {
                for (int x = 0; x < picture.width(); ++x) {
                    if (qGray(covered.pixel(x, y)) == 0)
                        QVERIFY2(qAlpha(picture.pixel(x, y)) == 0, qPrintable(u"(%1, %2)"_s.arg(x).arg(y)));
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
