// The window-free renderer against the designer's own captures: for every shipped skin and
// every state, the same pixels at ratio 1 on the window's background.
#include "app/designerprogram.h"
#include "image/bmpcodec.h"
#include "model/statetable.h"
#include "platform/form/fontsetup.h"
#include "platform/form/intervaltimer.h"
#include "render/buttonrenderer.h"
#include "render/samplegeometry.h"
#include "render/samplepreview.h"
#include "render/stateimages.h"
#include "skin/skinparser.h"
#include "ui/designercontrols.h"
#include "ui/designerwindow.h"

#include "support/designerrun.h"

#include <QtTest>

using quillet::render::ButtonRenderer;
using quillet::render::RenderRequest;
using quillet::render::SampleControl;
using quillet::render::SampleState;

Q_DECLARE_METATYPE(SampleState)

namespace {

struct Capture
{
    quillet::model::OutputGroup group;
    int index;
    QImage image;
};

QList<Capture> designerCaptures(DesignerRun &run)
{
    QList<Capture> captures;
    quillet::render::StateImages images(run.program.window(), run.program.preview());
    images.take([&](const quillet::render::StateImages::Image &image) {
        captures.append({ image.group, image.indexInGroup,
            quillet::image::BmpCodec::decode(image.bmp).convertToFormat(QImage::Format_RGB32) });
    });
    return captures;
}

RenderRequest requestFor(DesignerRun &run, const Capture &capture)
{
    auto &window = run.window();
    const SampleState state
        = quillet::model::states::designerFiles(capture.group, false)[capture.index].state;
    RenderRequest request;
    request.size = capture.image.size();
    request.background = run.program.state().backgroundColour;
    switch (capture.group) {
    case quillet::model::OutputGroup::ButtonStates:
        request.control = SampleControl::PushButton;
        request.state = state;
        request.caption = window.sampleButton()->text();
        request.font = window.sampleButton()->font();
        request.borderRemoval = window.borderRemovalBox()->isChecked();
        break;
    case quillet::model::OutputGroup::ComboButton:
        request.control = SampleControl::DropButton;
        request.state = state;
        request.font = window.comboSample()->font();
        request.comboHeight = window.comboSample()->height();
        break;
    default:
        request.control = SampleControl::CheckBox;
        request.state = state;
        request.font = window.checkSample()->font();
        break;
    }
    return request;
}

QString firstDifference(const QImage &expected, const QImage &actual)
{
    if (expected.size() != actual.size())
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            if (expected.pixel(x, y) != actual.pixel(x, y))
                return QStringLiteral("pixel (%1, %2) is %3, expected %4")
                    .arg(x)
                    .arg(y)
                    .arg(actual.pixel(x, y), 8, 16)
                    .arg(expected.pixel(x, y), 8, 16);
        }
    }
    return {};
}

} // namespace

class TestButtonRenderer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { quillet::form::FontSetup::install(); }

    void equalsDesignerCapture_data()
    {
        QTest::addColumn<int>("widthItem");
        QTest::addColumn<int>("heightItem");
        QTest::addColumn<bool>("borderRemoval");
        QTest::addColumn<int>("dropWidthItem");
        QTest::addColumn<int>("checkSideItem");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<int>("comboFontSize");
        QTest::newRow("layout size") << -1 << -1 << false << 1 << 0 << QString() << QColor() << 0;
        QTest::newRow("218 x 48, border removed, widest drop, largest check, combo font 14")
            << 11 << 9 << true << 3 << 2 << QStringLiteral("Save & 保存") << QColor() << 14;
        QTest::newRow("32 x 16, border removed, narrowest drop, own colour, combo font 22")
            << 0 << 0 << true << 0 << 1 << QStringLiteral("OK") << QColor(0x12, 0x80, 0xc0) << 22;
    }

    void equalsDesignerCapture()
    {
        QFETCH(int, widthItem);
        QFETCH(int, heightItem);
        QFETCH(bool, borderRemoval);
        QFETCH(int, dropWidthItem);
        QFETCH(int, checkSideItem);
        QFETCH(QString, caption);
        QFETCH(QColor, background);
        QFETCH(int, comboFontSize);

        const QStringList skins = ProgramFolder::shippedSkinNames();
        QVERIFY(!skins.isEmpty());
        DesignerRun run(skins);
        auto &window = run.window();
        using quillet::model::OutputGroup;
        for (OutputGroup group :
            { OutputGroup::ButtonStates, OutputGroup::ComboButton, OutputGroup::CheckBox })
            window.outputGroupBox(group)->setChecked(true);
        if (widthItem >= 0) {
            window.widthBox()->setCurrentIndex(widthItem);
            Q_EMIT window.widthBox()->activated(widthItem);
        }
        if (heightItem >= 0) {
            window.heightBox()->setCurrentIndex(heightItem);
            Q_EMIT window.heightBox()->activated(heightItem);
        }
        if (borderRemoval)
            QTest::mouseClick(window.borderRemovalBox(), Qt::LeftButton);
        QCOMPARE(window.borderRemovalBox()->isChecked(), borderRemoval);
        window.dropWidthBox()->setCurrentIndex(dropWidthItem);
        window.checkSideBox()->setCurrentIndex(checkSideItem);
        if (!caption.isEmpty())
            window.captionBox()->setText(caption);
        if (comboFontSize > 0) {
            run.dialogs.fontAnswers.append({ QString(), comboFontSize });
            run.program.controls().chooseComboFont();
            QCOMPARE(window.comboSample()->height(),
                quillet::render::SampleGeometry::comboHeightForFontSize(comboFontSize));
        }

        for (int row = 0; row < window.skinList()->count(); ++row) {
            window.skinList()->setCurrentRow(row);
            // The choice arms the preview timer; a composition it starts in the middle of a
            // capture's wait would repaint the canvases under it.
            window.previewTimer()->setInterval(0);
            if (background.isValid()) {
                window.colourPicker()->setColour(background);
                run.program.controls().colourPicked();
            }
            const QString skin = window.skinList()->item(row)->text();
            const ButtonRenderer renderer = ButtonRenderer::fromSkinFile(
                run.folder().skins() + u'/' + run.program.state().skinFiles.at(row));
            const QList<Capture> captures = designerCaptures(run);
            QCOMPARE(captures.size(), 10);
            for (const Capture &capture : captures) {
                const QImage rendered
                    = renderer.render(requestFor(run, capture)).convertToFormat(QImage::Format_RGB32);
                const QString difference = firstDifference(capture.image, rendered);
                QVERIFY2(difference.isEmpty(),
                    qPrintable(QStringLiteral("%1, group %2 state %3: %4")
                                   .arg(skin)
                                   .arg(int(capture.group))
                                   .arg(capture.index)
                                   .arg(difference)));
            }
        }
    }

    // Each check box state takes its own section of the skin, or the engine's fallback where
    // the skin has none; the checked states carry the mark and the others do not.
    void checkBoxStatesTakeTheirLooks_data()
    {
        QTest::addColumn<QByteArray>("sections");
        QTest::addColumn<SampleState>("state");
        QTest::addColumn<QColor>("fill");
        QTest::addColumn<bool>("marked");
        const QByteArray every
            = "[check.hot]\nfill = #f0c060\n[check.pressed]\nfill = #6060f0\n"
              "[check.disabled]\nfill = #b0b0b0\n[check.checked]\nfill = #e0ffe0\n"
              "[check.checked-hot]\nfill = #40c040\n[check.checked-pressed]\nfill = #c040c0\n"
              "[check.checked-disabled]\nfill = #707070\n";
        // Without checked sections of their own, a checked state takes its plain state's section.
        const QByteArray plainOnly = "[check.hot]\nfill = #f0c060\n[check.pressed]\nfill = #6060f0\n"
                                     "[check.disabled]\nfill = #b0b0b0\n";
        QTest::newRow("normal") << every << SampleState::Normal << QColor(0xffffff) << false;
        QTest::newRow("hot") << every << SampleState::Hot << QColor(0xf0c060) << false;
        QTest::newRow("pressed") << every << SampleState::Pressed << QColor(0x6060f0) << false;
        QTest::newRow("disabled") << every << SampleState::Disabled << QColor(0xb0b0b0) << false;
        QTest::newRow("checked") << every << SampleState::Checked << QColor(0xe0ffe0) << true;
        QTest::newRow("checked hot") << every << SampleState::CheckedHot << QColor(0x40c040) << true;
        QTest::newRow("checked pressed") << every << SampleState::CheckedPressed << QColor(0xc040c0) << true;
        QTest::newRow("checked disabled")
            << every << SampleState::CheckedDisabled << QColor(0x707070) << true;
        QTest::newRow("checked hot, fallback")
            << plainOnly << SampleState::CheckedHot << QColor(0xf0c060) << true;
        QTest::newRow("checked pressed, fallback")
            << plainOnly << SampleState::CheckedPressed << QColor(0x6060f0) << true;
        QTest::newRow("checked disabled, fallback")
            << plainOnly << SampleState::CheckedDisabled << QColor(0xb0b0b0) << true;
    }
    void checkBoxStatesTakeTheirLooks()
    {
        QFETCH(QByteArray, sections);
        QFETCH(SampleState, state);
        QFETCH(QColor, fill);
        QFETCH(bool, marked);
        const ButtonRenderer renderer(quillet::skin::SkinParser::parse(
            "[skin]\nbase = #c0c0c0\n[check]\nfill = #ffffff\nborder-width = 0\nradius = 0\nmark = #000000\n"
            + sections));
        RenderRequest request;
        request.control = SampleControl::CheckBox;
        request.state = state;
        request.size = QSize(13, 13);
        const QImage box = renderer.render(request).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(QColor(box.pixel(0, 0)), fill);
        int markPixels = 0;
        for (int y = 0; y < box.height(); ++y) {
            for (int x = 0; x < box.width(); ++x)
                markPixels += qGray(box.pixel(x, y)) < 40;
        }
        QCOMPARE(markPixels > 0, marked);
    }

    // A renderer keeps the faces it painted: one that has drawn other sizes, states,
    // densities and grounds before draws each picture as a fresh one does.
    void warmEqualsFresh()
    {
        for (const QString &skin : ProgramFolder::shippedSkinNames()) {
            const QString path = QStringLiteral(QUILLET_SOURCE_DIR "/skins/") + skin;
            const ButtonRenderer warm = ButtonRenderer::fromSkinFile(path);
            for (const QSize size : { QSize(104, 24), QSize(60, 30) }) {
                for (const qreal ratio : { 1.0, 2.0 }) {
                    for (const QColor ground : { QColor(Qt::white), QColor(0x12, 0x80, 0xc0) }) {
                        for (const quillet::model::StateRow &row :
                            quillet::model::states::rows(quillet::model::OutputGroup::ButtonStates)) {
                            const SampleState state = row.state;
                            RenderRequest request;
                            request.size = size;
                            request.devicePixelRatio = ratio;
                            request.background = ground;
                            request.state = state;
                            request.borderRemoval = size.width() == 60;
                            request.caption = QStringLiteral("按钮 %1").arg(int(state));
                            const QImage fresh = ButtonRenderer::fromSkinFile(path).render(request);
                            QVERIFY2(warm.render(request) == fresh, qPrintable(skin));
                        }
                    }
                }
            }
        }
    }
};

QTEST_MAIN(TestButtonRenderer)
#include "tst_buttonrenderer.moc"
