// The sample button's icon in the designer: the caption box's menu, the sample button's
// captures against the renderer's pictures, the settings file's memory, and the export.
#include "app/designerprogram.h"
#include "batch/rendercommand.h"
#include "catalogue/webexportsettings.h"
#include "model/appstate.h"
#include "output/exporter.h"
#include "pictures/webexport.h"
#include "platform/form/fontsetup.h"
#include "platform/image/bmpcodec.h"
#include "render/buttonrenderer.h"
#include "render/samplepreview.h"
#include "render/stateimages.h"
#include "ui/designerwindow.h"
#include "ui/iconmenu.h"

#include "support/designerrun.h"
#include "support/testicons.h"

#include <QActionGroup>
#include <QMenu>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;
using quillet::catalogue::WebExportSettings;
using quillet::model::ButtonIcon;
using quillet::model::IconPosition;
using quillet::model::OutputGroup;
using quillet::model::WebOptions;
using quillet::pictures::WebExport;
using quillet::render::ButtonRenderer;
using quillet::ui::IconMenu;

Q_DECLARE_METATYPE(IconPosition)

namespace {

QStringList texts(QMenu *menu)
{
    QStringList texts;
    for (QAction *action : menu->actions())
        texts.append(action->text());
    return texts;
}

// A designer that can be closed and started again in the same program folder.
struct Rig
{
    ProgramFolder folder;
    FakeDialogs dialogs;
    FakeNetworkProbe probe;
    std::unique_ptr<quillet::app::DesignerProgram> program;

    explicit Rig(const QStringList &skins = { u"经典.an"_s })
        : folder(skins)
    {
        start();
    }
    void start()
    {
        program = std::make_unique<quillet::app::DesignerProgram>(quillet::app::DesignerProgram::Services {
            dialogs, probe, folder.path(), folder.desktop(), u"quillet"_s });
        program->start();
        program->preview().onPreviewTimerTick();
        program->window().previewTimer()->setInterval(0);
    }
    void close()
    {
        program->window().close();
        program.reset();
    }
    quillet::ui::DesignerWindow &window() { return program->window(); }
    QMenu *openMenu()
    {
        QLineEdit *box = window().captionBox();
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), box->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(box, &event);
        return program->iconMenu().menu();
    }
    static QAction *entry(QMenu *menu, const QString &text)
    {
        for (QAction *action : menu->actions()) {
            QAction *inner = action->menu() ? entry(action->menu(), text) : nullptr;
            if (action->text() == text || inner)
                return inner ? inner : action;
        }
        return nullptr;
    }
    void pick(const QString &text, const QString &file = {})
    {
        if (!file.isEmpty())
            dialogs.iconFileAnswers = { file };
        QMenu *menu = openMenu();
        QAction *action = menu ? entry(menu, text) : nullptr;
        QVERIFY2(action && action->isEnabled(), qPrintable(text));
        action->trigger();
        menu->close();
    }
    void choose(const QString &file, IconPosition position)
    {
        pick(IconMenu::kChooseText, file);
        pick(IconMenu::positionText(position));
    }
    QList<QImage> captures()
    {
        QList<QImage> captures;
        quillet::render::StateImages(window(), program->preview()).take([&](const auto &image) {
            if (image.group == OutputGroup::ButtonStates)
                captures.append(
                    quillet::image::BmpCodec::decode(image.bmp).convertToFormat(QImage::Format_RGB32));
        });
        return captures;
    }
    QList<QImage> rendered(const ButtonIcon &icon)
    {
        const auto &state = program->state();
        const ButtonRenderer renderer = ButtonRenderer::fromSkinFile(
            folder.skins() + u'/' + state.skinFiles.at(state.currentSkinIndex - 1));
        QList<QImage> pictures;
        for (auto s : { quillet::render::SampleState::Normal, quillet::render::SampleState::Pressed,
                 quillet::render::SampleState::Hot, quillet::render::SampleState::Disabled }) {
            quillet::render::RenderRequest request { .state = s,
                .size = window().buttonCanvases().front()->size(),
                .caption = window().sampleButton()->text(),
                .font = window().sampleButton()->font(),
                .borderRemoval = window().borderRemovalBox()->isChecked(),
                .background = state.backgroundColour,
                .icon = icon };
            pictures.append(renderer.render(request).convertToFormat(QImage::Format_RGB32));
        }
        return pictures;
    }
};

} // namespace

class TestIconExport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_icons;
    QString m_svg;
    QString m_png;

private Q_SLOTS:
    void initTestCase()
    {
        quillet::form::FontSetup::install();
        m_svg = testicons::write(m_icons.path(), u"下载.svg"_s, testicons::glyphSvg());
        m_png = testicons::write(m_icons.path(), u"disk.png"_s,
            testicons::png(testicons::checkered(24, 3, Qt::darkGreen, Qt::yellow)));
        QVERIFY(!m_svg.isEmpty() && !m_png.isEmpty());
    }

    void sampleShowsWhatTheRendererDraws_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<IconPosition>("position");
        QTest::addColumn<bool>("png");
        QTest::addColumn<bool>("borderRemoval");
        QTest::newRow("Flat, left, SVG") << u"Flat"_s << IconPosition::Left << false << false;
        QTest::newRow("经典, right, PNG, border removed") << u"经典"_s << IconPosition::Right << true << true;
        QTest::newRow("翡翠, top, SVG") << u"翡翠"_s << IconPosition::Top << false << false;
        QTest::newRow("Dark, left, PNG") << u"Dark"_s << IconPosition::Left << true << false;
    }
    void sampleShowsWhatTheRendererDraws()
    {
        QFETCH(QString, skin);
        QFETCH(IconPosition, position);
        QFETCH(bool, png);
        QFETCH(bool, borderRemoval);
        Rig rig(ProgramFolder::shippedSkinNames());
        auto &window = rig.window();
        const auto skins = window.skinList()->findItems(skin, Qt::MatchExactly);
        QCOMPARE(skins.size(), 1);
        window.skinList()->setCurrentItem(skins.first());
        window.previewTimer()->setInterval(0);
        window.captionBox()->setText(u"下载"_s);
        window.heightBox()->setCurrentIndex(9);
        Q_EMIT window.heightBox()->activated(9);
        if (borderRemoval)
            QTest::mouseClick(window.borderRemovalBox(), Qt::LeftButton);
        QCOMPARE(window.borderRemovalBox()->isChecked(), borderRemoval);
        window.outputGroupBox(OutputGroup::ButtonStates)->setChecked(true);

        const QList<QImage> before = rig.captures();
        // A file that is no picture changes nothing.
        rig.pick(IconMenu::kChooseText, m_icons.filePath(u"none.svg"_s));
        QCOMPARE(rig.program->state().icon, ButtonIcon {});
        const ButtonIcon icon { png ? m_png : m_svg, position };
        rig.choose(icon.file, position);
        QCOMPARE(rig.program->state().icon, icon);
        const QList<QImage> captures = rig.captures();
        const QList<QImage> pictures = rig.rendered(icon);
        QCOMPARE(captures.size(), 4);
        for (int i = 0; i < 4; ++i)
            QVERIFY2(
                captures[i] == pictures[i] && captures[i] != before[i], qPrintable(u"state %1"_s.arg(i)));
        rig.pick(IconMenu::kRemoveText);
        QVERIFY(rig.program->state().icon.isNull());
        QCOMPARE(rig.captures(), before);
    }

    void menuAndMemory_data()
    {
        QTest::addColumn<IconPosition>("position");
        QTest::addColumn<bool>("fileGone");
        QTest::newRow("top") << IconPosition::Top << false;
        QTest::newRow("right") << IconPosition::Right << false;
        QTest::newRow("file removed meanwhile") << IconPosition::Top << true;
    }
    void menuAndMemory()
    {
        QFETCH(IconPosition, position);
        QFETCH(bool, fileGone);
        QTemporaryDir own;
        const QString path = testicons::write(own.path(), u"icon.svg"_s, testicons::glyphSvg());
        Rig rig;
        // Before any icon: the standard entries, then ours, with nothing to remove.
        QMenu *menu = rig.openMenu();
        QVERIFY(menu);
        QTRY_VERIFY(menu->isVisible());
        // The standard menu is the caption box's child, gone with the window.
        QStringList entries = texts(rig.window().captionBox()->createStandardContextMenu());
        const qsizetype count = entries.size();
        QVERIFY(count > 3);
        QCOMPARE(texts(menu), entries << QString() << u"选择图标…"_s << u"图标位置"_s << u"去掉图标"_s);
        QVERIFY(menu->actions()[count]->isSeparator());
        QVERIFY(!menu->actions()[count + 3]->isEnabled());
        QMenu *positions = menu->actions()[count + 2]->menu();
        QVERIFY(positions);
        QCOMPARE(texts(positions), (QStringList { u"左"_s, u"右"_s, u"上"_s }));
        for (QAction *action : positions->actions())
            QVERIFY(action->isCheckable() && action->actionGroup() && action->actionGroup()->isExclusive());
        QVERIFY(positions->actions()[0]->isChecked());
        menu->close();
        rig.choose(path, position);
        const QImage shown = rig.window().sampleButton()->grab().toImage();
        rig.close();
        QCOMPARE(WebExportSettings::readIcon(rig.folder.settings()), (ButtonIcon { path, position }));
        if (fileGone)
            QVERIFY(QFile::remove(path));
        rig.start();
        const ButtonIcon expected { fileGone ? QString() : path, position };
        QCOMPARE(rig.program->state().icon, expected);
        QCOMPARE(rig.window().sampleButton()->grab().toImage() == shown, !fileGone);
        rig.close();
        QCOMPARE(WebExportSettings::readIcon(rig.folder.settings()), expected);
    }

    void settingsWriteOnlyChanges()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"setup.dat"_s);
        const QByteArray other("[skin]\r\nx=1\r\n");
        QVERIFY(writeAll(path, other));
        QVERIFY(WebExportSettings::writeIcon(path, {}));
        QCOMPARE(readAll(path), other);
        const ButtonIcon icon { u"/图标/下载 1.svg"_s, IconPosition::Right };
        QVERIFY(WebExportSettings::writeIcon(path, icon));
        QCOMPARE(WebExportSettings::readIcon(path), icon);
        const QByteArray once = readAll(path);
        QVERIFY(WebExportSettings::writeIcon(path, icon));
        QCOMPARE(readAll(path), once);
        QVERIFY(WebExportSettings::writeIcon(path, {}));
        QCOMPARE(WebExportSettings::readIcon(path), ButtonIcon {});
        QVERIFY(readAll(path).startsWith(other));
    }

    void exportEqualsTheRenderersPictures_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<WebOptions>("options");
        QTest::addColumn<IconPosition>("position");
        QTest::newRow("png, all options, top") << 3 << WebOptions { true, true, true } << IconPosition::Top;
        QTest::newRow("gif, transparent, left")
            << 2 << WebOptions { true, false, false } << IconPosition::Left;
        QTest::newRow("bmp, 2x, right") << 0 << WebOptions { false, true, false } << IconPosition::Right;
        // No option: the designer photographs its sample button.
        QTest::newRow("png, captured, left") << 3 << WebOptions {} << IconPosition::Left;
    }
    void exportEqualsTheRenderersPictures()
    {
        QFETCH(int, format);
        QFETCH(WebOptions, options);
        QFETCH(IconPosition, position);
        Rig rig({ u"Flat.an"_s });
        auto &window = rig.window();
        window.captionBox()->setText(u"下载"_s);
        window.formatBox()->setCurrentIndex(format);
        for (auto group : { OutputGroup::ButtonStates, OutputGroup::ComboButton, OutputGroup::CheckBox,
                 OutputGroup::WholeWindow })
            window.outputGroupBox(group)->setChecked(group == OutputGroup::ButtonStates);
        rig.choose(m_svg, position);
        rig.program->state().webOptions = options;
        QTemporaryDir target;
        rig.dialogs.confirmAnswers.append(true);
        rig.dialogs.folderAnswers.append(target.path());
        rig.program->exporter().exportImages();

        // The same job, written out by hand rather than read from the window.
        quillet::pictures::ButtonJob job;
        job.caption = u"下载"_s;
        job.font = QFont(u"宋体"_s, 9);
        job.icon = { m_svg, position };
        job.format = quillet::pictures::PictureFormat(format);
        job.ratios = options.twoX ? QList<qreal> { 1, 2 } : QList<qreal> { 1 };
        job.transparent = options.transparent;
        job.sprite = options.sprite;
        job.background = rig.program->state().backgroundColour;
        const ButtonRenderer renderer = ButtonRenderer::fromSkinFile(rig.folder.skins() + u"/Flat.an"_s);
        const QList<WebExport::File> files = WebExport::plan(job);
        QStringList names;
        for (const WebExport::File &file : files) {
            names.append(file.name);
            QVERIFY2(readAll(target.filePath(file.name)) == WebExport::produce(file, job, renderer),
                qPrintable(file.name));
        }
        names.sort();
        QCOMPARE(tree(target.path()), names);
        // quillet render of the same job writes the same bytes.
        QTemporaryDir batch;
        QStringList arguments = u"--skin Flat --text 下载 --icon-position %1 --format %2"_s
                                    .arg(QStringList { u"left"_s, u"right"_s, u"top"_s }.at(int(position)),
                                        QStringList { u"bmp"_s, u"jpg"_s, u"gif"_s, u"png"_s }.at(format))
                                    .split(u' ');
        arguments << u"--icon"_s << m_svg << u"--out"_s << batch.path();
        const std::pair<bool, QString> flags[] { { options.transparent, u"--transparent"_s },
            { options.twoX, u"--scale=1,2"_s }, { options.sprite, u"--sprite"_s } };
        for (const auto &[on, flag] : flags)
            if (on)
                arguments << flag;
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        QVERIFY2(
            quillet::batch::RenderCommand::run(arguments, { rig.folder.path(), outStream, errStream, false })
                == 0,
            qPrintable(err));
        QCOMPARE(tree(batch.path()), names);
        for (const QString &name : std::as_const(names))
            QVERIFY2(readAll(batch.filePath(name)) == readAll(target.filePath(name)), qPrintable(name));
        // And not what the same job gives without its icon.
        job.icon = {};
        QVERIFY(
            readAll(target.filePath(files.first().name)) != WebExport::produce(files.first(), job, renderer));
    }
};

QTEST_MAIN(TestIconExport)
#include "tst_iconexport.moc"
