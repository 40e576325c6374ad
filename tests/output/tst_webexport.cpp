// The save button's output options in the designer: the context menu, the settings
// section, the plain export left as it was, and the designer's pictures equal to the
// render command's for every shipped skin.
#include "app/designerprogram.h"
#include "batch/kitcommand.h"
#include "batch/commandcontext.h"
#include "batch/rendercommand.h"
#include "catalogue/settingsfile.h"
#include "catalogue/webexportsettings.h"
#include "model/appstate.h"
#include "output/exporter.h"
#include "platform/form/fontsetup.h"
#include "platform/form/formruntime.h"
#include "image/imageconverter.h"
#include "platform/system/networkprobe.h"
#include "render/samplepreview.h"
#include "skin/accent.h"
#include "ui/designerwindow.h"
#include "ui/saveoptionsmenu.h"

#include "support/commandrun.h"
#include "support/designerrun.h"
#include "support/programfolder.h"
#include "support/testedskins.h"
#include "support/testfiles.h"

#include <QAction>
#include <QDirIterator>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <array>
#include <memory>

using namespace Qt::StringLiterals;
using quillet::app::DesignerProgram;
using quillet::catalogue::WebExportSettings;
using quillet::form::FormRuntime;
using quillet::image::ImageConverter;
using quillet::model::WebOptions;

namespace {

const QStringList kExtensions { u".bmp"_s, u".jpg"_s, u".gif"_s, u".png"_s };
// Brand colours of every kind: red, green, blue, violet, orange and one with no hue.
const QStringList kAccents { u"#d32f2f"_s, u"#2e7d32"_s, u"#1565c0"_s, u"#6a1b9a"_s, u"#ef6c00"_s, u"#212121"_s };

// A designer run that can be closed and started again in the same program folder, as the
// settings file's memory needs.
struct Rig
{
    ProgramFolder folder;
    FakeDialogs dialogs;
    FakeNetworkProbe probe;
    std::unique_ptr<DesignerProgram> program;
    QStringList written;

    explicit Rig(const QStringList &skins = { u"经典.an"_s })
        : folder(skins)
    {
        start();
    }
    void start()
    {
        program = std::make_unique<DesignerProgram>(
            DesignerProgram::Services { dialogs, probe, folder.path(), folder.desktop(), u"quillet"_s });
        program->start();
        program->preview().onPreviewTimerTick();
        written.clear();
        program->exporter().setWriteObserver([this](const QString &path) { written.append(path); });
    }
    // The window's close runs the wind-down that writes the settings file.
    void close()
    {
        program->window().close();
        program.reset();
    }
    Ui::DesignerWindow &ui() { return DesignerRun::layoutOf(program->window()); }
    void exportTo(const QString &folderAnswer)
    {
        dialogs.confirmAnswers.append(true);
        dialogs.folderAnswers.append(folderAnswer);
        program->exporter().exportImages();
        dialogs.confirmAnswers.clear();
        dialogs.folderAnswers.clear();
    }
};

// The same files with the same bytes in both folders; names the first that differs.
QString differingFile(const QString &a, const QString &b)
{
    const QStringList files = tree(a);
    if (tree(b) != files)
        return u"the file lists differ"_s;
    for (const QString &file : files) {
        if (readAll(QDir(a).filePath(file)) != readAll(QDir(b).filePath(file)))
            return file;
    }
    return {};
}

// The OKLCH hue most chromatic pixels of a picture have, in whole degrees; -1 with none.
int dominantHue(const QImage &picture)
{
    std::array<int, 360> counts {};
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const auto lch = quillet::skin::accent::toOklch(QColor(image.pixel(x, y)));
            if (lch.C >= quillet::skin::accent::kNeutralChroma)
                ++counts[size_t(int(lch.h) % 360)];
        }
    }
    const auto most = std::max_element(counts.begin(), counts.end());
    return *most == 0 ? -1 : int(most - counts.begin());
}

int hueDistance(int a, int b)
{
    const int d = std::abs(a - b) % 360;
    return std::min(d, 360 - d);
}

// The bytes the save command wrote before the output options existed: the capture as
// BMP, or the converter's file of it.
QByteArray plainExport(const QByteArray &bmp, int format)
{
    if (format == 0)
        return bmp;
    ImageConverter converter;
    if (!converter.loadFromMemory(bmp))
        return {};
    if (format == 2 && converter.colorDepth() > ImageConverter::kReducedDepth)
        converter.convertColorDepth(ImageConverter::kReducedDepth, false);
    const ImageConverter::Format codes[] = { ImageConverter::Png, ImageConverter::Jpeg, ImageConverter::Gif, ImageConverter::Png };
    return converter.encode(codes[format]);
}

} // namespace

class TestWebExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { quillet::form::FontSetup::install(); }

    void optionsOffExportIsThePlainOne_data()
    {
        QTest::addColumn<int>("format");
        for (int i = 0; i < kExtensions.size(); ++i)
            QTest::newRow(qPrintable(kExtensions[i])) << i;
    }
    void optionsOffExportIsThePlainOne()
    {
        QFETCH(int, format);
        Rig rig;
        QCOMPARE(rig.program->state().webOptions, WebOptions {});
        auto &ui = rig.ui();
        ui.编辑框1->setText(u"确定"_s);
        ui.组合框6->setCurrentIndex(format);
        for (QCheckBox *box : { ui.选择框1, ui.选择框2, ui.选择框3 })
            box->setChecked(true);
        ui.选择框5->setChecked(false);
        QTemporaryDir target;
        rig.exportTo(target.path());

        const QString ext = kExtensions[format];
        const QStringList names { u"确定_正常"_s + ext, u"确定_按下"_s + ext, u"确定_点燃"_s + ext,
            u"确定_禁止"_s + ext, u"组合1_正常"_s + ext, u"组合1_按下"_s + ext, u"组合1_禁止"_s + ext,
            u"选择1_正常"_s + ext, u"选择1_选中"_s + ext, u"选择1_禁止"_s + ext };
        QStringList sorted = names;
        sorted.sort();
        QCOMPARE(tree(target.path()), sorted);
        QCOMPARE(rig.dialogs.confirmations.last().text,
            u"确定_正常%1   确定_按下%1\r\n确定_点燃%1   确定_禁止%1\r\n组合1_正常%1   组合1_按下%1   "
            u"组合1_禁止%1\r\n"
            u"选择1_正常%1   选择1_选中%1   选择1_禁止%1\r\n"_s.arg(ext));
        // The canvases still hold what was captured; each file is that capture as written before.
        QWidget *canvases[] = { ui.画板1, ui.画板2, ui.画板3, ui.画板4, ui.画板5, ui.画板6, ui.画板7,
            ui.画板8, ui.画板9, ui.画板10 };
        QWidget *firsts[] = { ui.画板1, ui.画板1, ui.画板1, ui.画板1, ui.画板5, ui.画板5, ui.画板5, ui.画板8,
            ui.画板8, ui.画板8 };
        for (int i = 0; i < names.size(); ++i) {
            const QByteArray capture
                = FormRuntime::snapshot(canvases[i], firsts[i]->width(), firsts[i]->height());
            QCOMPARE(readAll(target.filePath(names[i])), plainExport(capture, format));
        }
    }

    void menuOffersTheOptions_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("right click") << false;
        QTest::newRow("menu key") << true;
    }
    void menuOffersTheOptions()
    {
        QFETCH(bool, byKey);
        Rig rig;
        QPushButton *save = rig.ui().保存图片按钮;
        quillet::ui::SaveOptionsMenu &options = rig.program->saveOptions();
        QVERIFY(!options.menu()->isVisible());
        if (byKey) {
            save->setFocus();
            QContextMenuEvent event(
                QContextMenuEvent::Keyboard, QPoint(2, 2), save->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(save, &event);
        } else {
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), save->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(save, &event);
        }
        QTRY_VERIFY(options.menu()->isVisible());
        const QList<QAction *> actions = options.menu()->actions().first(4);
        QCOMPARE(options.menu()->actions().size(), 12);
        QCOMPARE(actions[0]->text(), u"透明背景"_s);
        QCOMPARE(actions[1]->text(), u"同时输出 @2x 图片"_s);
        QCOMPARE(actions[2]->text(), u"输出精灵图和 CSS"_s);
        QCOMPARE(actions[3]->text(), u"输出焦点图片"_s);
        for (QAction *action : actions) {
            QVERIFY(action->isCheckable());
            QVERIFY(!action->isChecked());
        }
        QCOMPARE(options.accentAction()->text(), u"强调色…"_s);
        QCOMPARE(options.noAccentAction()->text(), u"不用强调色"_s);
        QVERIFY(!options.noAccentAction()->isEnabled()); // there is no accent to drop
        QCOMPARE(options.kitAction()->text(), u"输出网页按钮套件…"_s);
        QCOMPARE(options.kitAction(u"qt")->text(), u"输出 Qt 按钮套件…"_s);
        QCOMPARE(options.kitAction(u"android")->text(), u"输出 Android 按钮套件…"_s);
        QCOMPARE(options.kitAction(u"godot")->text(), u"输出 Godot 按钮主题…"_s);
        actions[1]->trigger();
        QCOMPARE(rig.program->state().webOptions, (WebOptions { false, true, false }));
        options.menu()->close();
        // No control was added to the window's layout.
        QVERIFY(options.menu()->isWindow());
        QCOMPARE(options.menu()->parentWidget(), save);
    }

    void optionsSurviveARestart_data()
    {
        QTest::addColumn<bool>("transparent");
        QTest::addColumn<bool>("twoX");
        QTest::addColumn<bool>("sprite");
        QTest::addColumn<bool>("focus");
        QTest::newRow("all") << true << true << true << true;
        QTest::newRow("sprite only") << false << false << true << false;
        QTest::newRow("focus only") << false << false << false << true;
        QTest::newRow("none") << false << false << false << false;
    }
    void optionsSurviveARestart()
    {
        QFETCH(bool, transparent);
        QFETCH(bool, twoX);
        QFETCH(bool, sprite);
        QFETCH(bool, focus);
        Rig rig({ u"经典.an"_s, u"翡翠.an"_s });
        rig.ui().列表框1->setCurrentRow(1);
        auto &menu = rig.program->saveOptions();
        menu.transparentAction()->setChecked(transparent);
        menu.twoXAction()->setChecked(twoX);
        menu.spriteAction()->setChecked(sprite);
        menu.focusAction()->setChecked(focus);
        rig.close();

        // Its own section, beside the remembered skin.
        const QString settings = rig.folder.settings();
        QCOMPARE(WebExportSettings::read(settings), (WebOptions { transparent, twoX, sprite, focus }));
        // The file is GBK: "[输出选项]" appears only once an option has been on.
        QCOMPARE(readAll(settings).contains("[\xCA\xE4\xB3\xF6\xD1\xA1\xCF\xEE]"),
            transparent || twoX || sprite || focus);
        rig.start();
        QCOMPARE(rig.program->state().currentSkinIndex, 2);
        QCOMPARE(rig.program->state().webOptions, (WebOptions { transparent, twoX, sprite, focus }));
        QCOMPARE(rig.program->saveOptions().focusAction()->isChecked(), focus);
        QCOMPARE(rig.program->saveOptions().transparentAction()->isChecked(), transparent);
        QCOMPARE(rig.program->saveOptions().twoXAction()->isChecked(), twoX);
        QCOMPARE(rig.program->saveOptions().spriteAction()->isChecked(), sprite);
    }

    void settingsValues_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("transparent");
        QTest::addColumn<bool>("twoX");
        QTest::addColumn<bool>("sprite");
        QTest::addColumn<bool>("unchanged");
        const auto section = [](const char *a, const char *b, const char *c) -> QByteArray {
            return QByteArray("[skin]\r\nx=1\r\n[") + WebExportSettings::kSection.toUtf8() + "]\r\n"
                + WebExportSettings::kTransparentKey.toUtf8() + '=' + a + "\r\n"
                + WebExportSettings::kTwoXKey.toUtf8() + '=' + b + "\r\n"
                + WebExportSettings::kSpriteKey.toUtf8() + '=' + c + "\r\n";
        };
        QTest::newRow("no section") << QByteArray("[skin]\r\nx=1\r\n") << false << false << false << true;
        QTest::newRow("ones") << section("1", "1", "1") << true << true << true << true;
        QTest::newRow("zeros") << section("0", "0", "0") << false << false << false << true;
        QTest::newRow("mixed") << section("1", "0", "1") << true << false << true << true;
        QTest::newRow("not numbers") << section("yes", "no", "x1") << false << false << false << true;
        QTest::newRow("empty value") << section("1", "", "1") << true << false << true << true;
        QTest::newRow("spaces and sign") << section(" 1", "+2", "-1") << true << true << true << true;
    }
    void settingsValues()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, transparent);
        QFETCH(bool, twoX);
        QFETCH(bool, sprite);
        QFETCH(bool, unchanged);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"setup.dat"_s);
        // UTF-8 with its mark, so that the Chinese names read back whatever the GBK table.
        QVERIFY(writeAll(path, QByteArray("\xEF\xBB\xBF") + file));
        QCOMPARE(WebExportSettings::read(path), (WebOptions { transparent, twoX, sprite }));
        // A write that changes nothing leaves the file byte for byte.
        QVERIFY(WebExportSettings::write(path, { transparent, twoX, sprite }));
        QCOMPARE(readAll(path) == QByteArray("\xEF\xBB\xBF") + file, unchanged);
        QVERIFY(WebExportSettings::write(path, { !transparent, !twoX, !sprite }));
        QCOMPARE(WebExportSettings::read(path), (WebOptions { !transparent, !twoX, !sprite }));
        QVERIFY(readAll(path).contains("[skin]\r\nx=1\r\n"));
    }

    void confirmationListsTheExtraFiles()
    {
        Rig rig;
        auto &ui = rig.ui();
        ui.编辑框1->setText(u"确定"_s);
        ui.组合框6->setCurrentIndex(3);
        ui.选择框1->setChecked(true);
        for (QCheckBox *box : { ui.选择框2, ui.选择框3, ui.选择框5 })
            box->setChecked(false);
        rig.program->state().webOptions = { true, true, true };
        QTemporaryDir target;
        rig.exportTo(target.path());
        QCOMPARE(rig.dialogs.confirmations.last().text,
            u"确定_正常.png   确定_按下.png\r\n确定_点燃.png   确定_禁止.png\r\n"
            u"确定_正常@2x.png   确定_按下@2x.png   确定_点燃@2x.png   确定_禁止@2x.png   "
            u"确定_sprite.png   确定_sprite@2x.png   确定.css   确定.html\r\n"_s);
        QStringList listed;
        for (const QString &path : std::as_const(rig.written))
            listed.append(QFileInfo(path).fileName());
        listed.sort();
        QCOMPARE(tree(target.path()), listed);
        QCOMPARE(listed.size(), 12);
    }

    // With options on, the whole window is still the capture, written after the rendered
    // pictures: its bytes must outlive the step that took them.
    void wholeWindowWithOptions()
    {
        Rig rig;
        auto &ui = rig.ui();
        ui.编辑框1->setText(u"确定"_s);
        ui.组合框6->setCurrentIndex(3);
        for (QCheckBox *box : { ui.选择框1, ui.选择框5 })
            box->setChecked(true);
        rig.program->state().webOptions = { true, true, true };
        QTemporaryDir target;
        rig.exportTo(target.path());
        QStringList windows;
        for (const QString &path : std::as_const(rig.written)) {
            if (QFileInfo(path).fileName().startsWith(u"窗口全图"_s))
                windows.append(path);
        }
        QCOMPARE(windows.size(), 1);
        const QImage window(windows.first());
        QCOMPARE(window.size(), QSize(rig.program->window().outerWidth(), rig.program->window().outerHeight()));
    }

    // The save menu's accent: asked in the colour dialog, shown at once, remembered, dropped.
    void accentFromTheMenu()
    {
        Rig rig({ u"经典.an"_s, u"Aqua.an"_s });
        const QList<QListWidgetItem *> aqua = rig.ui().列表框1->findItems(u"Aqua"_s, Qt::MatchExactly);
        QCOMPARE(aqua.size(), 1);
        rig.ui().列表框1->setCurrentItem(aqua.first());
        auto &menu = rig.program->saveOptions();
        QPushButton *sample = rig.program->window().sampleButton();
        const QImage own = sample->grab().toImage();
        const QColor violet = QColor::fromString(u"#6a1b9a"_s);
        rig.dialogs.colourAnswers.append(violet);
        menu.accentAction()->trigger();
        QCOMPARE(rig.program->state().accent, violet);
        QVERIFY(menu.noAccentAction()->isEnabled());
        const QImage accented = sample->grab().toImage();
        QVERIFY(accented != own);
        const int hue = int(quillet::skin::accent::toOklch(violet).h);
        QVERIFY2(hueDistance(dominantHue(accented), hue) <= 10,
            qPrintable(u"%1 against %2"_s.arg(dominantHue(accented)).arg(hue)));
        // A cancelled dialog keeps the accent there is.
        rig.dialogs.colourAnswers.append(QColor());
        menu.accentAction()->trigger();
        QCOMPARE(rig.program->state().accent, violet);

        rig.close();
        QCOMPARE(quillet::catalogue::SettingsFile::readAccent(rig.folder.settings()), violet);
        rig.start();
        QCOMPARE(rig.program->state().accent, violet);
        QCOMPARE(rig.program->window().sampleButton()->grab().toImage(), accented);
        rig.program->saveOptions().noAccentAction()->trigger();
        QVERIFY(!rig.program->state().accent.isValid());
        QCOMPARE(rig.program->window().sampleButton()->grab().toImage(), own);
        rig.close();
        QVERIFY(!quillet::catalogue::SettingsFile::readAccent(rig.folder.settings()).isValid());
    }

    // The save menu's kit is the command's kit with the window's skin, height, font and
    // accent, byte for byte: every shipped skin as it is, a few in each accent (the accent is
    // the same filter for every skin; tst_accent holds every skin to it).
    void designerKitIsTheCommandsKit_data()
    {
        QTest::addColumn<QString>("accent");
        QTest::addColumn<QStringList>("skins");
        QTest::newRow("no accent") << QString() << testedskins::forPixels();
        for (const QString &accent : kAccents)
            QTest::newRow(qPrintable(accent)) << accent << testedskins::representative();
    }
    void designerKitIsTheCommandsKit()
    {
        QFETCH(QString, accent);
        QFETCH(QStringList, skins);
        Rig rig(ProgramFolder::shippedSkinNames());
        auto &ui = rig.ui();
        rig.program->state().accent = accent.isEmpty() ? QColor() : QColor::fromString(accent);
        const QFont font = rig.program->window().sampleButton()->font();
        for (int row = 0; row < ui.列表框1->count(); ++row) {
            const QString skin = ui.列表框1->item(row)->text();
            if (!skins.contains(skin))
                continue;
            ui.列表框1->setCurrentRow(row);
            QTemporaryDir designer;
            QTemporaryDir batch;
            rig.dialogs.folderAnswers.append(designer.path());
            rig.program->saveOptions().kitAction()->trigger();
            QVERIFY(rig.dialogs.folderAnswers.isEmpty());

            QStringList arguments { u"--skin"_s, skin, u"--height"_s,
                QString::number(rig.program->state().buttonHeight), u"--font"_s,
                font.family() + u' ' + QString::number(font.pointSize()), u"--out"_s, batch.path() };
            if (!accent.isEmpty())
                arguments << u"--accent"_s << accent;
            const QString failed
                = CommandRun::of(&quillet::batch::KitCommand::run, arguments, rig.folder.path()).failure();
            QVERIFY2(failed.isEmpty(), qPrintable(failed));
            QVERIFY(tree(designer.path()).contains(u"kit.css"_s));
            const QString differs = differingFile(designer.path(), batch.path());
            QVERIFY2(differs.isEmpty(), qPrintable(skin + u": "_s + differs));
        }
    }

    void designerAndBatchAgree_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<WebOptions>("options");
        QTest::addColumn<QString>("accent");
        // Every shipped skin with every option at once, and as a one-colour-transparent GIF
        // (a palette of its own per skin); the opaque formats and the accents, whose paths
        // are the same for every skin, with a few.
        QTest::addColumn<QStringList>("skins");
        const QStringList few = testedskins::representative();
        QTest::newRow("png, all options")
            << 3 << WebOptions { true, true, true, true } << QString() << testedskins::forPixels();
        QTest::newRow("jpg, focus") << 1 << WebOptions { false, false, false, true } << QString() << few;
        QTest::newRow("gif, transparent")
            << 2 << WebOptions { true, false, false } << QString() << testedskins::forPixels();
        QTest::newRow("bmp, 2x") << 0 << WebOptions { false, true, false } << QString() << few;
        for (const QString &accent : kAccents)
            QTest::addRow("png, focus, accent %s", qPrintable(accent))
                << 3 << WebOptions { false, false, false, true } << accent << few;
    }
    void designerAndBatchAgree()
    {
        QFETCH(int, format);
        QFETCH(WebOptions, options);
        QFETCH(QString, accent);
        QFETCH(QStringList, skins);
        Rig rig(ProgramFolder::shippedSkinNames());
        auto &ui = rig.ui();
        rig.program->state().accent = accent.isEmpty() ? QColor() : QColor::fromString(accent);
        ui.编辑框1->setText(u"确定"_s);
        ui.组合框6->setCurrentIndex(format);
        for (QCheckBox *box : { ui.选择框1, ui.选择框2, ui.选择框3 })
            box->setChecked(true);
        ui.选择框5->setChecked(false);
        rig.program->state().webOptions = options;
        const QStringList formats { u"bmp"_s, u"jpg"_s, u"gif"_s, u"png"_s };

        QCOMPARE(ui.列表框1->count(), ProgramFolder::shippedSkinNames().size());
        for (int row = 0; row < ui.列表框1->count(); ++row) {
            const QString skin = ui.列表框1->item(row)->text();
            if (!skins.contains(skin))
                continue;
            ui.列表框1->setCurrentRow(row);
            rig.program->preview().composePreview();
            QTemporaryDir designer;
            QTemporaryDir batch;
            rig.program->exporter().state().exportCounter = 0;
            rig.exportTo(designer.path());

            QStringList arguments { u"--skin"_s, skin, u"--text"_s, u"确定"_s, u"--controls"_s,
                u"button,combo,check"_s, u"--format"_s, formats[format], u"--out"_s, batch.path() };
            if (options.transparent)
                arguments << u"--transparent"_s;
            if (options.twoX)
                arguments << u"--scale"_s << u"1,2"_s;
            if (options.sprite)
                arguments << u"--sprite"_s;
            if (options.focus)
                arguments << u"--focus"_s;
            if (!accent.isEmpty())
                arguments << u"--accent"_s << accent;
            const QString failed
                = CommandRun::of(&quillet::batch::RenderCommand::run, arguments, rig.folder.path()).failure();
            QVERIFY2(failed.isEmpty(), qPrintable(failed));
            QVERIFY(tree(designer.path()).size() >= 10);
            const QString differs = differingFile(designer.path(), batch.path());
            QVERIFY2(differs.isEmpty(), qPrintable(skin + u": "_s + differs));
        }
    }
};

QTEST_MAIN(TestWebExport)
#include "tst_webexport.moc"
