// The sample button's icon in the designer: the caption box's menu, the sample button's
// captures against the renderer's pictures, the export against quillet render's files, and
// the settings file's memory.
#include "app/designerprogram.h"
#include "batch/rendercommand.h"
#include "catalogue/webexportsettings.h"
#include "image/bmpcodec.h"
#include "model/appstate.h"
#include "model/statetable.h"
#include "output/exporter.h"
#include "platform/form/fontsetup.h"
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
using quillet::render::SampleState;
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

std::unique_ptr<DesignerRun> started(ProgramFolder &folder)
{
    auto run = std::make_unique<DesignerRun>(folder);
    run->start();
    run->program.preview().onPreviewTimerTick();
    return run;
}

QMenu *openMenu(DesignerRun &run)
{
    QLineEdit *box = run.window().captionBox();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), box->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(box, &event);
    return run.program.iconMenu().menu();
}

// Triggers the entry of the menu or its submenu, the file dialog answering `file`.
void pick(DesignerRun &run, const QString &text, const QString &file = {})
{
    run.dialogs.iconFileAnswers = { file };
    QMenu *menu = openMenu(run);
    QAction *action = nullptr;
    for (QAction *each : menu ? menu->findChildren<QAction *>() : QList<QAction *>())
        action = each->text() == text ? each : action;
    QVERIFY2(action && action->isEnabled(), qPrintable(text));
    action->trigger();
    menu->close();
}

QList<QImage> captures(DesignerRun &run)
{
    QList<QImage> captures;
    quillet::render::StateImages(run.window(), run.program.preview()).take([&](const auto &image) {
        if (image.group == OutputGroup::ButtonStates)
            captures.append(
                quillet::image::BmpCodec::decode(image.bmp).convertToFormat(QImage::Format_RGB32));
    });
    return captures;
}

// The renderer's pictures of the sample button's settings, read from the window.
QList<QImage> rendered(DesignerRun &run, const ButtonIcon &icon)
{
    const auto &state = run.program.state();
    const auto renderer = quillet::render::ButtonRenderer::fromSkinFile(
        run.folder().skins() + u'/' + state.skinFiles.at(state.currentSkinIndex - 1));
    auto &window = run.window();
    QList<QImage> pictures;
    for (const quillet::model::StateRow &row :
        quillet::model::states::designerFiles(quillet::model::OutputGroup::ButtonStates, false))
        pictures.append(renderer
                            .render({ .state = row.state,
                                .size = window.buttonCanvases().front()->size(),
                                .caption = window.sampleButton()->text(),
                                .font = window.sampleButton()->font(),
                                .borderRemoval = window.borderRemovalBox()->isChecked(),
                                .background = state.backgroundColour,
                                .icon = icon })
                            .convertToFormat(QImage::Format_RGB32));
    return pictures;
}

} // namespace

class TestIconExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { quillet::form::FontSetup::install(); }

    void iconThroughTheDesigner_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<IconPosition>("position");
        QTest::addColumn<bool>("png");
        QTest::addColumn<bool>("borderRemoval");
        QTest::addColumn<int>("format");
        QTest::addColumn<WebOptions>("options"); // none: the designer photographs its sample button
        QTest::addColumn<bool>("fileGone"); // before the designer starts again
        QTest::newRow("Flat, top, SVG, png, all options") << u"Flat"_s << IconPosition::Top << false << false
                                                          << 3 << WebOptions { true, true, true } << false;
        QTest::newRow("经典, right, PNG, border removed, gif, transparent")
            << u"经典"_s << IconPosition::Right << true << true << 2 << WebOptions { true } << false;
        QTest::newRow("翡翠, top, SVG, bmp, 2x, file removed")
            << u"翡翠"_s << IconPosition::Top << false << false << 0 << WebOptions { false, true } << true;
        QTest::newRow("Dark, left, PNG, png, captured")
            << u"Dark"_s << IconPosition::Left << true << false << 3 << WebOptions {} << false;
    }
    void iconThroughTheDesigner()
    {
        QFETCH(QString, skin);
        QFETCH(IconPosition, position);
        QFETCH(bool, png);
        QFETCH(bool, borderRemoval);
        QFETCH(int, format);
        QFETCH(WebOptions, options);
        QFETCH(bool, fileGone);
        QTemporaryDir own;
        const QByteArray bytes = png ? testicons::png(testicons::checkered(24, 3, Qt::darkGreen, Qt::yellow))
                                     : testicons::glyphSvg();
        const ButtonIcon icon { testicons::write(own.path(), png ? u"disk.png"_s : u"下载.svg"_s, bytes),
            position };
        ProgramFolder folder(ProgramFolder::shippedSkinNames());
        auto run = started(folder);
        auto &window = run->window();
        window.skinList()->setCurrentItem(window.skinList()->findItems(skin, Qt::MatchExactly).value(0));
        QCOMPARE(window.skinList()->currentItem()->text(), skin);
        window.previewTimer()->setInterval(0);
        window.captionBox()->setText(u"下载"_s);
        window.heightBox()->setCurrentIndex(9);
        Q_EMIT window.heightBox()->activated(9);
        if (borderRemoval)
            QTest::mouseClick(window.borderRemovalBox(), Qt::LeftButton);
        QCOMPARE(window.borderRemovalBox()->isChecked(), borderRemoval);
        window.formatBox()->setCurrentIndex(format);
        for (auto group : { OutputGroup::ButtonStates, OutputGroup::ComboButton, OutputGroup::CheckBox,
                 OutputGroup::WholeWindow })
            window.outputGroupBox(group)->setChecked(group == OutputGroup::ButtonStates);

        // Before any icon: the standard entries, then ours, with nothing to remove.
        QMenu *menu = openMenu(*run);
        QVERIFY(menu);
        QTRY_VERIFY(menu->isVisible());
        // The standard menu is the caption box's child, gone with the window.
        QStringList entries = texts(window.captionBox()->createStandardContextMenu());
        const qsizetype count = entries.size();
        QVERIFY(count > 3);
        QCOMPARE(texts(menu), entries << QString() << u"选择图标…"_s << u"图标位置"_s << u"去掉图标"_s);
        QVERIFY(menu->actions()[count]->isSeparator() && !menu->actions()[count + 3]->isEnabled());
        QMenu *positions = menu->actions()[count + 2]->menu();
        QCOMPARE(positions ? texts(positions) : QStringList(), (QStringList { u"左"_s, u"右"_s, u"上"_s }));
        for (QAction *action : positions->actions())
            QVERIFY(action->isCheckable() && action->actionGroup() && action->actionGroup()->isExclusive());
        QVERIFY(positions->actions()[0]->isChecked());
        menu->close();

        const QList<QImage> before = captures(*run);
        // A file that is no picture changes nothing.
        pick(*run, IconMenu::kChooseText, own.filePath(u"none.svg"_s));
        QCOMPARE(run->program.state().icon, ButtonIcon {});
        pick(*run, IconMenu::kChooseText, icon.file);
        pick(*run, IconMenu::positionText(position));
        QCOMPARE(run->program.state().icon, icon);
        const QList<QImage> shown = captures(*run), pictures = rendered(*run, icon);
        QCOMPARE(shown.size(), 4);
        for (int i = 0; i < 4; ++i)
            QVERIFY2(shown[i] == pictures[i] && shown[i] != before[i], qPrintable(u"state %1"_s.arg(i)));

        // quillet render of the same job writes the same files, and other bytes without the icon.
        QTemporaryDir target, batch, plain;
        run->program.state().webOptions = options;
        run->dialogs.confirmAnswers.append(true);
        run->dialogs.folderAnswers.append(target.path());
        run->program.exporter().exportImages();
        const QSize size = window.buttonCanvases().front()->size();
        QStringList arguments
            = u"--skin %1 --text 下载 --width %2 --height %3 --icon-position %4 --format %5"_s
                  .arg(skin, QString::number(size.width()), QString::number(size.height()),
                      QStringList { u"left"_s, u"right"_s, u"top"_s }.at(int(position)),
                      QStringList { u"bmp"_s, u"jpg"_s, u"gif"_s, u"png"_s }.at(format))
                  .split(u' ');
        const std::pair<bool, QString> flags[] { { borderRemoval, u"--border-removal"_s },
            { options.transparent, u"--transparent"_s }, { options.twoX, u"--scale=1,2"_s },
            { options.sprite, u"--sprite"_s } };
        for (const auto &[on, flag] : flags)
            if (on)
                arguments << flag;
        const auto render = [&](const QStringList &extra) {
            QString out, err;
            QTextStream outStream(&out), errStream(&err);
            const int code = quillet::batch::RenderCommand::run(
                arguments + extra, { folder.path(), outStream, errStream, false });
            return code == 0 ? QString() : err;
        };
        QCOMPARE(render({ u"--icon"_s, icon.file, u"--out"_s, batch.path() }), QString());
        QCOMPARE(render({ u"--out"_s, plain.path() }), QString());
        const QStringList names = tree(target.path());
        QVERIFY(names.size() >= 4);
        QCOMPARE(tree(batch.path()), names);
        bool iconShows = false;
        for (const QString &name : names) {
            QVERIFY2(readAll(batch.filePath(name)) == readAll(target.filePath(name)), qPrintable(name));
            iconShows |= readAll(plain.filePath(name)) != readAll(target.filePath(name));
        }
        QVERIFY(iconShows);

        pick(*run, IconMenu::kRemoveText);
        QVERIFY(run->program.state().icon.isNull());
        QCOMPARE(captures(*run), before);
        pick(*run, IconMenu::kChooseText, icon.file);
        // Remembered when the designer closes, and dropped if the file has gone meanwhile.
        run->window().close();
        run.reset();
        QCOMPARE(WebExportSettings::readIcon(folder.settings()), icon);
        if (fileGone)
            QVERIFY(QFile::remove(icon.file));
        run = started(folder);
        const ButtonIcon expected { fileGone ? QString() : icon.file, position };
        QCOMPARE(run->program.state().icon, expected);
        QCOMPARE(captures(*run), rendered(*run, expected));
        run->window().close();
        run.reset();
        QCOMPARE(WebExportSettings::readIcon(folder.settings()), expected);
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
};

QTEST_MAIN(TestIconExport)
#include "tst_iconexport.moc"
