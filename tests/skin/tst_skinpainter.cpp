// Drawing contracts of the painter, checked on plain images: arrow placement for the
// copied drop-button widths, pictures sliced in nine, tiny and degenerate rectangles.
#include "skin/skinpainter.h"
#include "skin/skinparser.h"

#include <QDir>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

using namespace quillet::skin;

namespace {

constexpr int kComboWidth = 46;
constexpr int kDropLeft = 29;
constexpr int kDropWidth = 17;

QImage blank(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

// Columns holding at least one pixel of the given colour.
QList<int> columnsOf(const QImage &image, QRgb colour)
{
    QList<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixel(x, y) == colour) {
                columns << x;
                break;
            }
        }
    }
    return columns;
}

Look solid(const QColor &fill, const QColor &border, int width, int radius = 0)
{
    Look look;
    look.fill = { { 0.0, fill } };
    look.border = border;
    look.borderWidth = width;
    look.radius = radius;
    return look;
}

} // namespace

class SkinPainterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void arrowStaysCentredInCopies_data();
    void arrowStaysCentredInCopies();
    void checkMarkInsideBox_data();
    void checkMarkInsideBox();
    void panelBorderAndFill();
    void degenerateRects_data();
    void degenerateRects();
    void nineSliceKeepsCorners_data();
    void nineSliceKeepsCorners();
    void missingPictureFallsBack();
    void derivedPictureEffects();
    void marginAndShadow_data();
    void marginAndShadow();
    void softShadowFades_data();
    void softShadowFades();
    void pillRadius_data();
    void pillRadius();
    void picturesAtDoubleRatio();
    void cornersKeepToEveryWidth_data();
    void cornersKeepToEveryWidth();
    void dottedRingAnchored_data();
    void dottedRingAnchored();
    void highlightWidth_data();
    void highlightWidth();
    void glossHeight_data();
    void glossHeight();
    void pictureMiddleKeepsToEveryWidth_data();
    void pictureMiddleKeepsToEveryWidth();
};

void SkinPainterTest::arrowStaysCentredInCopies_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("copyWidth");
    for (const int h : { 15, 20, 24, 32, 37 }) {
        for (int w = 15; w <= 18; ++w)
            QTest::addRow("h%d w%d", h, w) << h << w;
    }
}

void SkinPainterTest::arrowStaysCentredInCopies()
{
    QFETCH(int, height);
    QFETCH(int, copyWidth);
    QImage image = blank(kComboWidth, height);
    {
        QPainter p(&image);
        SkinPainter().arrow(&p, QRect(kDropLeft, 0, kDropWidth, height), Qt::DownArrow, Qt::black);
    }
    // The program copies copyWidth columns from x = 29; the capture ends at 46.
    const QImage copy = image.copy(kDropLeft, 0, std::min(copyWidth, kComboWidth - kDropLeft), height);
    const QList<int> cols = columnsOf(copy, qRgb(0, 0, 0));
    QVERIFY(!cols.isEmpty());
    const int left = cols.first();
    const int right = copyWidth - 1 - cols.last();
    QVERIFY2(left >= 3 && right >= 2, qPrintable(QStringLiteral("gaps %1/%2").arg(left).arg(right)));
    QVERIFY2(std::abs(left - right) <= 3, qPrintable(QStringLiteral("gaps %1/%2").arg(left).arg(right)));
    // The arrow itself is symmetric around its tip.
    QCOMPARE((cols.first() + cols.last()) % 2, 0);
}

void SkinPainterTest::checkMarkInsideBox_data()
{
    QTest::addColumn<int>("side");
    QTest::newRow("13") << 13;
    QTest::newRow("14") << 14;
    QTest::newRow("15") << 15;
    QTest::newRow("40") << 40;
}

void SkinPainterTest::checkMarkInsideBox()
{
    QFETCH(int, side);
    QImage image = blank(side, side);
    const QRect inner(2, 2, side - 4, side - 4);
    {
        QPainter p(&image);
        SkinPainter().checkMark(&p, inner, Qt::black);
    }
    int marked = 0;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            if (image.pixel(x, y) == qRgb(0, 0, 0)) {
                QVERIFY(inner.contains(x, y));
                ++marked;
            }
        }
    }
    QVERIFY(marked >= 15);
}

void SkinPainterTest::panelBorderAndFill()
{
    QImage image = blank(20, 10);
    {
        QPainter p(&image);
        SkinPainter().panel(&p, image.rect(), solid(QColor(0, 0, 255), QColor(255, 0, 0), 2));
    }
    QCOMPARE(image.pixel(0, 0), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(1, 1), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(19, 9), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(2, 2), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(17, 7), qRgb(0, 0, 255));
}

void SkinPainterTest::degenerateRects_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::newRow("1x1") << QRect(0, 0, 1, 1);
    QTest::newRow("2x2") << QRect(0, 0, 2, 2);
    QTest::newRow("wide and flat") << QRect(0, 0, 64, 1);
    QTest::newRow("empty") << QRect(0, 0, 0, 0);
    QTest::newRow("negative") << QRect(5, 5, -4, -4);
}

void SkinPainterTest::degenerateRects()
{
    QFETCH(QRect, rect);
    Look look = solid(QColor(0, 128, 0), QColor(0, 0, 0), 16, 64);
    look.bevel = Bevel::Raised;
    look.bevelWidth = 4;
    look.gloss = 1.0;
    look.highlight = Qt::white;
    QImage image = blank(64, 8);
    {
        QPainter p(&image);
        const SkinPainter painter;
        painter.panel(&p, rect, look);
        painter.arrow(&p, rect, Qt::DownArrow, Qt::black);
        painter.checkMark(&p, rect, Qt::black);
        painter.focusRect(&p, rect, Qt::black);
        painter.text(&p, rect, Qt::AlignCenter, QStringLiteral("x"), look);
    }
    if (rect.isValid())
        QVERIFY(image.pixel(rect.topLeft()) != qRgb(255, 255, 255));
    else
        QCOMPARE(image.pixel(0, 0), qRgb(255, 255, 255));
}

void SkinPainterTest::nineSliceKeepsCorners_data()
{
    QTest::addColumn<QString>("extension");
    QTest::newRow("svg") << "svg";
    QTest::newRow("png") << "png";
}

void SkinPainterTest::nineSliceKeepsCorners()
{
    QFETCH(QString, extension);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("piece.") + extension);
    // 12 x 12 picture: 4-pixel red corners, blue edges, green centre.
    if (extension == u"svg") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(R"(<svg xmlns="http://www.w3.org/2000/svg" width="12" height="12" viewBox="0 0 12 12">
            <rect width="12" height="12" fill="#0000ff"/><rect x="4" y="4" width="4" height="4" fill="#00ff00"/>
            <rect width="4" height="4" fill="#ff0000"/><rect x="8" width="4" height="4" fill="#ff0000"/>
            <rect y="8" width="4" height="4" fill="#ff0000"/><rect x="8" y="8" width="4" height="4" fill="#ff0000"/></svg>)");
    } else {
        QImage png(12, 12, QImage::Format_RGB32);
        png.fill(Qt::blue);
        QPainter p(&png);
        p.fillRect(4, 4, 4, 4, Qt::green);
        for (const QPoint corner : { QPoint(0, 0), QPoint(8, 0), QPoint(0, 8), QPoint(8, 8) })
            p.fillRect(QRect(corner, QSize(4, 4)), Qt::red);
        p.end();
        QVERIFY(png.save(path));
    }
    Look look;
    look.image = path;
    look.slice = QMargins(4, 4, 4, 4);
    QImage image = blank(60, 30);
    {
        QPainter p(&image);
        SkinPainter().panel(&p, image.rect(), look);
    }
    // Corners stay 4 pixels, edges and centre stretch.
    QCOMPARE(image.pixel(1, 1), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(3, 3), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(56, 26), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(4, 1), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(55, 1), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(1, 15), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(30, 15), qRgb(0, 255, 0));
    QCOMPARE(image.pixel(10, 10), qRgb(0, 255, 0));
}

void SkinPainterTest::missingPictureFallsBack()
{
    Look look = solid(QColor(10, 20, 30), QColor(10, 20, 30), 0);
    look.image = QStringLiteral("/nonexistent/button-normal.svg");
    QImage image = blank(10, 10);
    {
        QPainter p(&image);
        SkinPainter().panel(&p, image.rect(), look);
    }
    QCOMPARE(image.pixel(5, 5), qRgb(10, 20, 30));
}

void SkinPainterTest::derivedPictureEffects()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("grey.png"));
    QImage png(4, 4, QImage::Format_RGB32);
    png.fill(QColor(100, 150, 50));
    QVERIFY(png.save(path));
    const auto paint = [&path](Effect effect) {
        Look look;
        look.image = path;
        look.effect = effect;
        QImage image = blank(8, 8);
        QPainter p(&image);
        SkinPainter().panel(&p, image.rect(), look);
        p.end();
        return QColor(image.pixel(4, 4));
    };
    const QColor plain = paint(Effect::None);
    const QColor lighter = paint(Effect::Lighter);
    const QColor darker = paint(Effect::Darker);
    const QColor faded = paint(Effect::Faded);
    QCOMPARE(plain, QColor(100, 150, 50));
    QVERIFY(lighter.lightness() > plain.lightness());
    QVERIFY(darker.lightness() < plain.lightness());
    QCOMPARE(faded.red(), faded.green());
    QCOMPARE(faded.green(), faded.blue());
}

void SkinPainterTest::marginAndShadow_data()
{
    QTest::addColumn<QMargins>("margin");
    QTest::addColumn<QColor>("shadow");
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<int>("spread");
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<QColor>("expected");
    const QColor face(0x20, 0x60, 0xc0);
    const QColor white(Qt::white);
    const QColor ring(0xff, 0x80, 0x00);
    const QColor none;
    QTest::newRow("margin left free")
        << QMargins(3, 3, 3, 3) << none << QPoint() << 0 << QPoint(2, 10) << white;
    QTest::newRow("face inside margin")
        << QMargins(3, 3, 3, 3) << none << QPoint() << 0 << QPoint(3, 10) << face;
    QTest::newRow("hard shadow below") << QMargins(0, 0, 0, 3) << QColor(Qt::black) << QPoint(0, 2) << 0
                                       << QPoint(30, 18) << QColor(Qt::black);
    QTest::newRow("shadow under the face is hidden")
        << QMargins(0, 0, 0, 3) << QColor(Qt::black) << QPoint(0, 2) << 0 << QPoint(30, 16) << face;
    QTest::newRow("shadow stays in the rectangle")
        << QMargins(0, 0, 0, 1) << QColor(Qt::black) << QPoint(0, 5) << 0 << QPoint(30, 19)
        << QColor(Qt::black);
    QTest::newRow("translucent shadow") << QMargins(0, 0, 0, 3) << QColor(0, 0, 0, 128) << QPoint(0, 2) << 0
                                        << QPoint(30, 18) << QColor(127, 127, 127);
    QTest::newRow("spread makes a ring")
        << QMargins(2, 2, 2, 2) << ring << QPoint(0, 0) << 2 << QPoint(0, 10) << ring;
    QTest::newRow("ring around the top")
        << QMargins(2, 2, 2, 2) << ring << QPoint(0, 0) << 2 << QPoint(30, 1) << ring;
}

void SkinPainterTest::marginAndShadow()
{
    QFETCH(QMargins, margin);
    QFETCH(QColor, shadow);
    QFETCH(QPoint, offset);
    QFETCH(int, spread);
    QFETCH(QPoint, probe);
    QFETCH(QColor, expected);
    Look look = solid(QColor(0x20, 0x60, 0xc0), QColor(), 0);
    look.margin = margin;
    look.shadow = shadow;
    look.shadowOffset = offset;
    look.shadowSpread = spread;
    QImage image = blank(60, 20);
    {
        QPainter p(&image);
        SkinPainter().panel(&p, image.rect(), look);
    }
    const QColor actual = image.pixelColor(probe);
    QVERIFY2(qAbs(actual.red() - expected.red()) <= 1 && qAbs(actual.green() - expected.green()) <= 1
            && qAbs(actual.blue() - expected.blue()) <= 1,
        qPrintable(actual.name()));
}

void SkinPainterTest::softShadowFades_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("1x") << 1.0;
    QTest::newRow("2x") << 2.0;
}

// A blurred shadow darkens less with every pixel away from the face and reaches as far in
// logical pixels at any pixel ratio.
void SkinPainterTest::softShadowFades()
{
    QFETCH(qreal, ratio);
    Look look = solid(QColor(Qt::white), QColor(), 0, 6);
    look.margin = QMargins(6, 2, 6, 8);
    look.shadow = QColor(0, 0, 0, 160);
    look.shadowOffset = QPoint(0, 2);
    look.shadowBlur = 4;
    QImage image(QSize(80, 30) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        SkinPainter().panel(&p, QRect(0, 0, 80, 30), look);
    }
    const int x = image.width() / 2;
    const int faceBottom = qRound(22 * ratio); // first device row below the face
    QList<int> below;
    for (int y = faceBottom; y < image.height(); ++y)
        below << qGray(image.pixel(x, y));
    QVERIFY(below.first() < 200);
    int shaded = 0;
    for (qsizetype i = 1; i < below.size(); ++i) {
        QVERIFY2(below[i] >= below[i - 1], qPrintable(QString::number(i)));
        if (below[i - 1] < 255)
            ++shaded;
    }
    // offset 2 + blur 4 logical pixels below the face, give or take the edge pixel
    QVERIFY2(qAbs(shaded - qRound(6 * ratio)) <= qRound(ratio) + 1, qPrintable(QString::number(shaded)));
    // and not a hard edge: several grey levels on the way
    QVERIFY(QSet<int>(below.begin(), below.end()).size() >= 4);
}

void SkinPainterTest::pillRadius_data()
{
    QTest::addColumn<int>("height");
    QTest::newRow("24") << 24;
    QTest::newRow("60") << 60;
    QTest::newRow("200, beyond the largest number") << 200;
}

void SkinPainterTest::pillRadius()
{
    QFETCH(int, height);
    const QColor face(0x20, 0x60, 0xc0);
    const Look look = solid(face, QColor(), 0, kPillRadius);
    QImage image = blank(height * 3, height);
    {
        QPainter p(&image);
        SkinPainter().panel(&p, image.rect(), look);
    }
    // The ends are half circles of radius height / 2.
    const int outside = height / 10;
    const int inside = height / 5;
    QCOMPARE(image.pixelColor(outside, outside), QColor(Qt::white));
    QCOMPARE(image.pixelColor(image.width() - 1 - outside, height - 1 - outside), QColor(Qt::white));
    QCOMPARE(image.pixelColor(inside, inside), face);
    QCOMPARE(image.pixelColor(1, height / 2), face);
    QCOMPARE(image.pixelColor(height / 2, 0).red(), face.red());
}

// A picture drawn on a device of pixel ratio 2 is rendered from its vectors at that ratio,
// not drawn at 1x and enlarged.
void SkinPainterTest::picturesAtDoubleRatio()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("round.svg"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(R"(<svg xmlns="http://www.w3.org/2000/svg" width="40" height="24" viewBox="0 0 40 24">
        <rect x="0.5" y="0.5" width="39" height="23" rx="9" fill="#2060c0" stroke="#000000"/></svg>)");
    f.close();
    Look look;
    look.image = path;
    QImage image(QSize(40, 24) * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        SkinPainter().panel(&p, QRect(0, 0, 40, 24), look);
    }
    QImage direct(QSize(40, 24) * 2, QImage::Format_ARGB32_Premultiplied);
    direct.fill(Qt::white);
    {
        QPainter p(&direct);
        p.setRenderHint(QPainter::Antialiasing);
        QSvgRenderer(path).render(&p, QRectF(0, 0, 80, 48));
    }
    QImage once = blank(40, 24);
    {
        QPainter p(&once);
        SkinPainter().panel(&p, once.rect(), look);
    }
    const QImage enlarged = once.scaled(80, 48, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const auto distance = [](const QImage &a, const QImage &b) {
        qint64 sum = 0;
        for (int y = 0; y < a.height(); ++y) {
            for (int x = 0; x < a.width(); ++x)
                sum += qAbs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
        }
        return sum;
    };
    QVERIFY2(distance(image, direct) * 4 < distance(enlarged, direct),
        qPrintable(QStringLiteral("%1 vs %2").arg(distance(image, direct)).arg(distance(enlarged, direct))));
}

// A push button's face has the same corners at every width, so that caps cut from a wide
// button fit a narrow one (the web kit draws buttons of any width from them).
void SkinPainterTest::cornersKeepToEveryWidth_data()
{
    QTest::addColumn<QString>("file");
    const QDir skins(QStringLiteral(QUILLET_SOURCE_DIR "/skins"));
    const QStringList files = skins.entryList({ QStringLiteral("*.an") }, QDir::Files, QDir::Name);
    QVERIFY(files.size() >= 20);
    for (const QString &file : files)
        QTest::newRow(qPrintable(file)) << skins.filePath(file);
}

void SkinPainterTest::cornersKeepToEveryWidth()
{
    QFETCH(QString, file);
    constexpr int kHeight = 24;
    constexpr int kNarrow = 40;
    constexpr int kWide = 300;
    const Skin skin = SkinParser::parseFile(file);
    const SkinPainter painter;
    for (const State state :
        { State::Normal, State::Hot, State::Pressed, State::Disabled, State::Focused, State::Default }) {
        for (const int ratio : { 1, 2, 3 }) {
            const auto face = [&](int width) {
                QImage image(QSize(width, kHeight) * ratio, QImage::Format_ARGB32_Premultiplied);
                image.setDevicePixelRatio(ratio);
                image.fill(Qt::transparent);
                QPainter p(&image);
                painter.panel(&p, QRect(0, 0, width, kHeight), skin.look(Element::Button, state));
                return image;
            };
            // A corner reaches past the radius and border, or a picture's corner slice.
            const Look &look = skin.look(Element::Button, state);
            const int round = std::min(look.radius, kHeight / 2) + look.borderWidth + 1;
            const int left
                = (look.margin.left() + (look.image.isEmpty() ? round : look.slice.left())) * ratio;
            const int right
                = (look.margin.right() + (look.image.isEmpty() ? round : look.slice.right())) * ratio;
            const QImage narrow = face(kNarrow);
            const QImage wide = face(kWide);
            const bool same = narrow.copy(0, 0, left, narrow.height()) == wide.copy(0, 0, left, wide.height())
                && narrow.copy(narrow.width() - right, 0, right, narrow.height())
                    == wide.copy(wide.width() - right, 0, right, wide.height());
            QVERIFY2(same, qPrintable(QStringLiteral("state %1 at %2x").arg(int(state)).arg(ratio)));
            // Between a picture's slices every column of the wide face is the narrow one's
            // first (a vector face may reach further in, with a shadow's soft edge).
            const QImage column = narrow.copy(left, 0, 1, narrow.height());
            for (int x = left; !look.image.isEmpty() && x < wide.width() - right; ++x) {
                QVERIFY2(wide.copy(x, 0, 1, wide.height()) == column,
                    qPrintable(
                        QStringLiteral("state %1 at %2x, column %3").arg(int(state)).arg(ratio).arg(x)));
            }
        }
    }
}

// A kit draws a button of any width from a left cap, a tile repeated from the cap on and a
// fixed right cap: the dotted ring must repeat with its period from the left edge and end
// in the same right corner at every width, odd or even.
void SkinPainterTest::dottedRingAnchored_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<qreal>("ratio");
    for (const qreal ratio : { 1.0, 2.0 }) {
        for (const int width : { 40, 41, 104, 217, 300 })
            QTest::addRow("%d at %gx", width, ratio) << width << ratio;
    }
}

void SkinPainterTest::dottedRingAnchored()
{
    QFETCH(int, width);
    QFETCH(qreal, ratio);
    constexpr int kHeight = 16;
    constexpr int kInset = 3;
    constexpr int kCap = kInset + 2; // the inset and the two columns counted from the right
    const auto ring = [&](int w) {
        QImage image(QSize(w, kHeight) * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::white);
        QPainter p(&image);
        SkinPainter().focusRect(
            &p, QRect(0, 0, w, kHeight).adjusted(kInset, kInset, -kInset, -kInset), Qt::black);
        return image;
    };
    const QImage wide = ring(width);
    const QImage reference = ring(kCap + 32);
    const int cap = qRound(kCap * ratio);
    QCOMPARE(wide.copy(wide.width() - cap, 0, cap, wide.height()),
        reference.copy(reference.width() - cap, 0, cap, reference.height()));
    const int period = qRound(2 * ratio);
    for (int x = qRound((kInset + 1) * ratio); x + period < wide.width() - cap; ++x) {
        for (int y = 0; y < wide.height(); ++y)
            QVERIFY2(wide.pixel(x, y) == wide.pixel(x + period, y),
                qPrintable(QStringLiteral("column %1").arg(x)));
    }
}

// The highlight ring is as wide as asked inside the border, and never swallows the whole face.
void SkinPainterTest::highlightWidth_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("rings"); // highlight columns seen from the left, inside the border
    QTest::newRow("one pixel") << 1 << 20 << 1;
    QTest::newRow("three pixels") << 3 << 20 << 3;
    QTest::newRow("clamped on a small face") << 8 << 9 << 3; // 7 x 7 face: a centre pixel stays
}

void SkinPainterTest::highlightWidth()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, rings);
    Look look = solid(QColor(0, 128, 0), QColor(0, 0, 0), 1);
    look.highlight = QColor(255, 0, 0);
    look.highlightWidth = width;
    QImage image = blank(height, height);
    {
        QPainter p(&image);
        SkinPainter().panel(&p, image.rect(), look);
    }
    const int middle = height / 2;
    QCOMPARE(image.pixel(0, middle), qRgb(0, 0, 0));
    for (int x = 1; x <= rings; ++x)
        QCOMPARE(image.pixel(x, middle), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(rings + 1, middle), qRgb(0, 128, 0));
}

// The gloss lightens the face from one row below its top down to its share of the face's
// height (a row it covers in part counts), and leaves the rows below it the face's own colour.
void SkinPainterTest::glossHeight_data()
{
    QTest::addColumn<qreal>("share");
    QTest::addColumn<int>("lastGlossed"); // row of the 24-pixel control, border included
    QTest::newRow("default, about half") << 0.48 << 12;
    QTest::newRow("a crown above the caption") << 0.25 << 7;
    QTest::newRow("the whole face") << 1.0 << 22;
}

void SkinPainterTest::glossHeight()
{
    QFETCH(qreal, share);
    QFETCH(int, lastGlossed);
    Look look = solid(QColor(0, 0, 128), QColor(0, 0, 0), 1);
    look.gloss = 1.0;
    look.glossHeight = share;
    QImage image = blank(40, 24);
    {
        QPainter p(&image);
        SkinPainter().panel(&p, image.rect(), look);
    }
    const int x = 20;
    QVERIFY2(image.pixel(x, 1) == qRgb(0, 0, 128), "the first face row is above the gloss");
    for (int y = 2; y <= lastGlossed; ++y)
        QVERIFY2(qRed(image.pixel(x, y)) > 0, qPrintable(QStringLiteral("row %1 not glossed").arg(y)));
    for (int y = lastGlossed + 1; y < 23; ++y)
        QVERIFY2(image.pixel(x, y) == qRgb(0, 0, 128), qPrintable(QStringLiteral("row %1 glossed").arg(y)));
}

// A picture whose middle changes along its width (a horizontal gradient, a centred glow):
// the caps stay the picture's own, drawn at the device ratio, and the middle repeats the
// column after the left cap, so the face is one and the same at every width. Without
// slices the picture is stretched whole.
void SkinPainterTest::pictureMiddleKeepsToEveryWidth_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<int>("ratio");
    QTest::addColumn<int>("slice");
    for (const char *extension : { "svg", "png" }) {
        for (int ratio : { 1, 2, 3 }) {
            QTest::addRow("%s %dx", extension, ratio) << QString::fromLatin1(extension) << ratio << 6;
            QTest::addRow("%s %dx, unsliced", extension, ratio)
                << QString::fromLatin1(extension) << ratio << 0;
        }
    }
}

void SkinPainterTest::pictureMiddleKeepsToEveryWidth()
{
    QFETCH(QString, extension);
    QFETCH(int, ratio);
    QFETCH(int, slice);
    constexpr int kSide = 24;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("face.") + extension);
    // Red to blue from left to right, a white glow at the bottom centre, a black frame.
    const QByteArray svg
        = R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24">
        <defs><linearGradient id="h"><stop offset="0" stop-color="#ff0000"/><stop offset="1" stop-color="#0000ff"/></linearGradient>
        <radialGradient id="g" cx="0.5" cy="1" r="0.6"><stop offset="0" stop-color="#ffffff"/><stop offset="1" stop-color="#ffffff" stop-opacity="0"/></radialGradient></defs>
        <rect x="0.5" y="0.5" width="23" height="23" rx="4" fill="url(#h)" stroke="#000000"/>
        <rect x="1" y="12" width="22" height="11" fill="url(#g)"/></svg>)svg";
    if (extension == u"svg") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(svg);
    } else {
        QImage png(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
        png.fill(Qt::transparent);
        QPainter p(&png);
        QSvgRenderer(svg).render(&p, QRectF(0, 0, kSide, kSide));
        p.end();
        QVERIFY(png.save(path));
    }
    Look look;
    look.image = path;
    look.slice = QMargins(slice, slice, slice, slice);
    const auto face = [&](int width) {
        QImage image(QSize(width, kSide) * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        QPainter p(&image);
        SkinPainter().panel(&p, QRect(0, 0, width, kSide), look);
        return image;
    };
    const QImage natural = face(kSide);
    const int cap = slice * ratio;
    for (int width : { 31, 104, 301 }) {
        const QImage image = face(width);
        if (slice == 0) {
            // Stretched: the picture's last column ends the face, blue, not the first's red.
            const QColor right = image.pixelColor(image.width() * 4 / 5, image.height() / 3);
            QVERIFY2(right.blue() > 3 * right.red(), qPrintable(right.name()));
            continue;
        }
        QCOMPARE(image.copy(0, 0, cap, image.height()), natural.copy(0, 0, cap, natural.height()));
        QCOMPARE(image.copy(image.width() - cap, 0, cap, image.height()),
            natural.copy(natural.width() - cap, 0, cap, natural.height()));
        const QImage column = natural.copy(cap, 0, 1, natural.height());
        for (int x = cap; x < image.width() - cap; ++x)
            QVERIFY2(image.copy(x, 0, 1, image.height()) == column, qPrintable(QString::number(x)));
    }
}

QTEST_MAIN(SkinPainterTest)
#include "tst_skinpainter.moc"
