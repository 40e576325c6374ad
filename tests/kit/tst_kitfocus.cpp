// A kit's focus pieces: at the narrowest width a kit allows, every shipped skin's focused
// button still changes as many pixels as a two-pixel ring would (the focus rule), and a
// dotted focus ring is cut into caps and a tile that give the renderer's picture exactly.
#include "kit/kitpieces.h"
#include "platform/form/fontsetup.h"
#include "render/buttonrenderer.h"
#include "render/legibilitycheck.h"
#include "skin/legibility.h"
#include "skin/skinparser.h"

#include "support/testedskins.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

using namespace quillet;

namespace {

// The skins whose focus is a dotted ring over a face that is the same all along.
const QStringList kDottedSkins { QStringLiteral("Blue"), QStringLiteral("High Contrast"),
    QStringLiteral("Mono"), QStringLiteral("经典"), QStringLiteral("经典蓝") };

} // namespace

class TestKitFocus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { form::FontSetup::install(); }

    void narrowestKitButton_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("height");
        const QDir dir(QStringLiteral(QUILLET_SOURCE_DIR "/skins"));
        for (const QString &skinName : testedskins::forPixels()) {
            const QString name = skinName + QStringLiteral(".an");
            for (const int height : skin::kFocusHeights)
                QTest::addRow("%s %d", qPrintable(QFileInfo(name).completeBaseName()), height)
                    << dir.filePath(name) << height;
        }
    }

    void narrowestKitButton()
    {
        QFETCH(QString, path);
        QFETCH(int, height);
        const skin::Skin look = skin::SkinParser::parseFile(path);
        const render::ButtonRenderer renderer(look);
        kit::KitDrawing drawing { &renderer, height, QFont(QStringLiteral("宋体"), 9), {} };
        for (const render::SampleState state : kit::kitpieces::kStates)
            drawing.states.append(state);
        const kit::KitSlice slice = kit::kitpieces::slice(drawing, { 1.0, 2.0, 3.0 });
        for (const qreal ratio : skin::kFocusRatios) {
            const render::LegibilityProbe probe
                = render::legibility::focusProbe(look, QSize(slice.minWidth, height), ratio);
            QVERIFY2(probe.passes(),
                qPrintable(QStringLiteral("%1x%2 at %3x: %4 of %5 pixels")
                               .arg(slice.minWidth)
                               .arg(height)
                               .arg(ratio)
                               .arg(probe.measure.glyphPixels)
                               .arg(probe.measure.backgroundPixels)));
        }
        if (kDottedSkins.contains(QFileInfo(path).completeBaseName()))
            QVERIFY2(slice.exact,
                qPrintable(QStringLiteral("differs by up to %1 levels at width %2, %3x")
                               .arg(slice.worstDifference)
                               .arg(slice.worstWidth)
                               .arg(slice.worstRatio)));
    }
};

QTEST_MAIN(TestKitFocus)
#include "tst_kitfocus.moc"
