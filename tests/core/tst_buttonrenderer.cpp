// The window-free renderer against the designer's own captures: for every shipped skin and
// every state, the same pixels at ratio 1 on the window's background.
#include "app/designerprogram.h"
#include "app/skinswitcher.h"
#include "platform/form/fontsetup.h"
#include "platform/form/intervaltimer.h"
#include "platform/image/bmpcodec.h"
#include "render/buttonrenderer.h"
#include "render/samplegeometry.h"
#include "render/samplepreview.h"
#include "render/stateimages.h"
#include "ui/designercontrols.h"
#include "ui/designerwindow.h"

#include "support/fakedialogs.h"
#include "support/fakenetworkprobe.h"
#include "support/programfolder.h"

#include <QtTest>

using quillet::render::ButtonRenderer;
using quillet::render::RenderRequest;
using quillet::render::SampleControl;
using quillet::render::SampleState;

namespace {

struct Run
{
    explicit Run(const QStringList &skins)
        : folder(skins)
        , program({ dialogs, network, folder.path(), folder.desktop(), QStringLiteral("quillet") })
    {
        program.start();
        program.window().时钟1()->setInterval(0);
    }
    ProgramFolder folder;
    FakeDialogs dialogs;
    FakeNetworkProbe network;
    quillet::app::DesignerProgram program;
    auto &ui() { return program.window().controls(); }
};

struct Capture
{
    quillet::output::OutputGroup group;
    int index;
    QImage image;
};

QList<Capture> designerCaptures(Run &run)
{
    QList<Capture> captures;
    quillet::render::StateImages images(run.program.window(), run.program.preview());
    images.take([&](const quillet::render::StateImages::Image &image) {
        captures.append({ image.group, image.indexInGroup,
            quillet::image::BmpCodec::decode(image.bmp).convertToFormat(QImage::Format_RGB32) });
    });
    return captures;
}

RenderRequest requestFor(Run &run, const Capture &capture)
{
    auto &ui = run.ui();
    static constexpr SampleState kButton[]
        = { SampleState::Normal, SampleState::Pressed, SampleState::Hot, SampleState::Disabled };
    static constexpr SampleState kDrop[]
        = { SampleState::Normal, SampleState::Pressed, SampleState::Disabled };
    static constexpr SampleState kCheck[]
        = { SampleState::Normal, SampleState::Checked, SampleState::Disabled };
    RenderRequest request;
    request.size = capture.image.size();
    request.background = run.program.state().backgroundColour;
    switch (capture.group) {
    case quillet::output::OutputGroup::ButtonStates:
        request.control = SampleControl::PushButton;
        request.state = kButton[capture.index];
        request.caption = ui.样本按钮->text();
        request.font = ui.样本按钮->font();
        request.borderRemoval = ui.选择框7->isChecked();
        break;
    case quillet::output::OutputGroup::ComboButton:
        request.control = SampleControl::DropButton;
        request.state = kDrop[capture.index];
        request.font = ui.组合框1->font();
        request.comboHeight = ui.组合框1->height();
        break;
    default:
        request.control = SampleControl::CheckBox;
        request.state = kCheck[capture.index];
        request.font = ui.选择框4->font();
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
        Run run(skins);
        auto &ui = run.ui();
        for (QCheckBox *group : { ui.选择框1, ui.选择框2, ui.选择框3 })
            group->setChecked(true);
        if (widthItem >= 0) {
            ui.组合框2->setCurrentIndex(widthItem);
            Q_EMIT ui.组合框2->activated(widthItem);
        }
        if (heightItem >= 0) {
            ui.组合框3->setCurrentIndex(heightItem);
            Q_EMIT ui.组合框3->activated(heightItem);
        }
        if (borderRemoval)
            QTest::mouseClick(ui.选择框7, Qt::LeftButton);
        QCOMPARE(ui.选择框7->isChecked(), borderRemoval);
        ui.组合框4->setCurrentIndex(dropWidthItem);
        ui.组合框5->setCurrentIndex(checkSideItem);
        if (!caption.isEmpty())
            ui.编辑框1->setText(caption);
        if (comboFontSize > 0) {
            run.dialogs.fontAnswers.append({ QString(), comboFontSize });
            QTest::mouseClick(ui.按钮8, Qt::LeftButton);
            QCOMPARE(
                ui.组合框1->height(), quillet::render::SampleGeometry::comboHeightForFontSize(comboFontSize));
        }

        for (int row = 0; row < ui.列表框1->count(); ++row) {
            ui.列表框1->setCurrentRow(row);
            if (background.isValid()) {
                ui.颜色选择器1->setColour(background);
                run.program.controls().colourPicked();
            }
            const QString skin = ui.列表框1->item(row)->text();
            const ButtonRenderer renderer = ButtonRenderer::fromSkinFile(
                run.folder.skins() + u'/' + run.program.state().skinFiles.at(row));
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
};

QTEST_MAIN(TestButtonRenderer)
#include "tst_buttonrenderer.moc"
