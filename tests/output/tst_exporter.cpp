// The save command driven through the designer program: the listed names, the counter, the
// folder dialog, and every written file read back by decoders that share no code with ours.
#include "app/designerprogram.h"
#include "model/appstate.h"
#include "output/exporter.h"
#include "platform/form/fontsetup.h"
#include "platform/form/formruntime.h"
#include "render/samplepreview.h"
#include "ui/designercontrols.h"
#include "ui/designerwindow.h"

#include "support/designerrun.h"
#include "support/externaldecoder.h"
#include "support/smalltmpfs.h"
#include "support/testfiles.h"

#include <QDirIterator>
#include <QSet>
#include <QTemporaryDir>
#include <QWindow>
#include <QtEndian>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;
using quillet::app::DesignerProgram;
using quillet::form::FormRuntime;

namespace {

enum Format { Bmp, Jpg, Gif, Png };
enum Group { Buttons, Combo, Check, Window };

const QStringList kExtensions { u".bmp"_s, u".jpg"_s, u".gif"_s, u".png"_s };

// A JPEG of a skinned control, written at the encoder's default quality, stays this close
// to the capture on every channel (levels out of 255).
constexpr double kJpegMeanBound = 5.0;
constexpr int kJpegMaxBound = 64;
// A GIF of a capture with more than 256 colours goes through the quantiser.
constexpr double kQuantisedMeanBound = 6.0;
constexpr int kMaxNameBytes = 255;

// One designer run in a throw-away program folder; the first preview has been painted and
// its timer stopped, so nothing repaints the canvases behind the test's back.
struct Rig : DesignerRun
{
    QStringList written;

    Rig()
    {
        program.preview().onPreviewTimerTick();
        program.exporter().setWriteObserver([this](const QString &path) { written.append(path); });
    }

    QString desktop() { return folder().desktop() + u'/'; }

    void choose(bool buttons, bool combo, bool check, bool window)
    {
        ui().选择框1->setChecked(buttons);
        ui().选择框2->setChecked(combo);
        ui().选择框3->setChecked(check);
        ui().选择框5->setChecked(window);
    }
    void format(int index) { ui().组合框6->setCurrentIndex(index); }

    // Confirms (or not) and answers the folder dialog, then runs one export.
    void exportTo(bool confirm, const QString &folderAnswer)
    {
        dialogs.confirmAnswers.append(confirm);
        dialogs.folderAnswers.append(folderAnswer);
        program.exporter().exportImages();
        // An answer the export never asked for must not leak into the next one.
        dialogs.confirmAnswers.clear();
        dialogs.folderAnswers.clear();
    }

    // What a canvas or the window gives now, at the size its group is captured at.
    QByteArray capture(Group group, int index)
    {
        auto &c = ui();
        switch (group) {
        case Buttons: {
            QWidget *canvases[] = { c.画板1, c.画板2, c.画板3, c.画板4 };
            return FormRuntime::snapshot(canvases[index], c.画板1->width(), c.画板1->height());
        }
        case Combo: {
            QWidget *canvases[] = { c.画板5, c.画板6, c.画板7 };
            return FormRuntime::snapshot(canvases[index], c.画板5->width(), c.画板5->height());
        }
        case Check: {
            QWidget *canvases[] = { c.画板8, c.画板9, c.画板10 };
            return FormRuntime::snapshot(canvases[index], c.画板8->width(), c.画板8->height());
        }
        case Window:
            return FormRuntime::snapshot(
                &program.window(), program.window().outerWidth(), program.window().outerHeight());
        }
        return {};
    }
    QSize groupSize(Group group)
    {
        switch (group) {
        case Buttons:
            return ui().画板1->size();
        case Combo:
            return ui().画板5->size();
        case Check:
            return ui().画板8->size();
        case Window:
            return { program.window().outerWidth(), program.window().outerHeight() };
        }
        return {};
    }
};

QStringList groupNames(Group group, const QString &caption, int number, const QString &ext)
{
    const QString n = QString::number(number);
    switch (group) {
    case Buttons:
        return { caption + u"_正常"_s + ext, caption + u"_按下"_s + ext, caption + u"_点燃"_s + ext,
            caption + u"_禁止"_s + ext };
    case Combo:
        return { u"组合"_s + n + u"_正常"_s + ext, u"组合"_s + n + u"_按下"_s + ext,
            u"组合"_s + n + u"_禁止"_s + ext };
    case Check:
        return { u"选择"_s + n + u"_正常"_s + ext, u"选择"_s + n + u"_选中"_s + ext,
            u"选择"_s + n + u"_禁止"_s + ext };
    case Window:
        return { u"窗口全图"_s + n + ext };
    }
    return {};
}

QImage bmpToPnm(const QString &path)
{
    const ExternalDecoder::Run r = ExternalDecoder::run(u"bmptopnm"_s, { path });
    return r.started && r.exitCode == 0 ? ExternalDecoder::parsePnm(r.out) : QImage();
}

int distinctColours(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y) | 0xff000000u);
    return int(colours.size());
}

struct Difference
{
    double mean = 0;
    int max = 0;
};

Difference difference(const QImage &a, const QImage &b)
{
    Difference d;
    qint64 sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            for (const int delta : { qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q) }) {
                sum += qAbs(delta);
                d.max = qMax(d.max, qAbs(delta));
            }
        }
    }
    d.mean = double(sum) / (3.0 * qMax(1, a.width() * a.height()));
    return d;
}

// Whether a written picture starts and ends as its format does, so a cut-off file shows;
// a BMP file starts with its own size.
bool isComplete(const QByteArray &bytes, int format)
{
    const quint32 size = qToLittleEndian(quint32(bytes.size()));
    const QByteArray bmp = "BM" + QByteArray(reinterpret_cast<const char *>(&size), 4);
    const QByteArray marks[][2] = { { bmp, "" }, { "\xFF\xD8", "\xFF\xD9" }, { "GIF8", ";" },
        { "\x89PNG", QByteArray("IEND\xAE\x42\x60\x82", 8) } };
    return bytes.startsWith(marks[format][0]) && bytes.endsWith(marks[format][1]);
}

} // namespace

class TestExporter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        quillet::form::FontSetup::install();
        for (const char *tool : { "bmptopnm", "pngtopnm", "giftopnm", "djpeg", "pngcheck", "gifsicle" })
            QVERIFY2(ExternalDecoder::available(QString::fromLatin1(tool)), tool);
    }

    void workedExample()
    {
        Rig rig;
        QTemporaryDir target;
        rig.ui().编辑框1->setText(u"确定"_s);
        rig.format(Jpg);
        rig.choose(true, true, true, true);
        // Two exports whose folder dialog was cancelled use up the numbers 1 and 2.
        rig.exportTo(true, QString());
        rig.exportTo(true, QString());
        rig.exportTo(true, target.path());

        QCOMPARE(rig.dialogs.confirmations.size(), 3);
        const auto &asked = rig.dialogs.confirmations.last();
        QCOMPARE(asked.caption, u"确定保存下述文件?"_s);
        QCOMPARE(asked.text,
            u"确定_正常.jpg   确定_按下.jpg\r\n"
            u"确定_点燃.jpg   确定_禁止.jpg\r\n"
            u"组合3_正常.jpg   组合3_按下.jpg   组合3_禁止.jpg\r\n"
            u"选择3_正常.jpg   选择3_选中.jpg   选择3_禁止.jpg\r\n"
            u"窗口全图3.jpg"_s);

        QCOMPARE(rig.dialogs.folderStarts, QStringList(3, rig.desktop()));
        QCOMPARE(rig.dialogs.folderTitles, QStringList(3, u"请选择图片保存的目录！"_s));
        for (QWidget *owner : std::as_const(rig.dialogs.folderOwners))
            QCOMPARE(owner, static_cast<QWidget *>(&rig.program.window()));

        const QStringList names { u"确定_正常.jpg"_s, u"确定_按下.jpg"_s, u"确定_点燃.jpg"_s,
            u"确定_禁止.jpg"_s, u"组合3_正常.jpg"_s, u"组合3_按下.jpg"_s, u"组合3_禁止.jpg"_s,
            u"选择3_正常.jpg"_s, u"选择3_选中.jpg"_s, u"选择3_禁止.jpg"_s, u"窗口全图3.jpg"_s };
        QStringList expectedPaths;
        for (const QString &name : names)
            expectedPaths.append(target.path() + u'/' + name);
        QCOMPARE(rig.written, expectedPaths);
        QStringList sorted = names;
        sorted.sort();
        QCOMPARE(tree(target.path()), sorted);
        for (const QString &path : expectedPaths)
            QVERIFY2(readAll(path).startsWith("\xFF\xD8\xFF"), qPrintable(path));
        QCOMPARE(rig.program.exporter().state().exportCounter, 3);
    }

    void counterAcrossExports()
    {
        Rig rig;
        QTemporaryDir target;
        rig.choose(false, true, false, false);
        const auto listedNumber
            = [&] { return rig.dialogs.confirmations.last().text.section(u'_', 0, 0).mid(2).toInt(); };

        rig.exportTo(false, target.path());
        QCOMPARE(listedNumber(), 1);
        QCOMPARE(rig.program.exporter().state().exportCounter, 0);
        QVERIFY(rig.dialogs.folderStarts.isEmpty());

        rig.exportTo(false, target.path());
        QCOMPARE(listedNumber(), 1); // a declined confirmation gives its number back

        rig.exportTo(true, QString());
        QCOMPARE(listedNumber(), 1);
        QCOMPARE(rig.program.exporter().state().exportCounter, 1); // a cancelled folder keeps it
        QVERIFY(tree(target.path()).isEmpty());

        rig.exportTo(true, target.path());
        QCOMPARE(listedNumber(), 2);
        QCOMPARE(tree(target.path()),
            QStringList({ u"组合2_按下.bmp"_s, u"组合2_正常.bmp"_s, u"组合2_禁止.bmp"_s }));
        QCOMPARE(rig.program.exporter().state().exportCounter, 2);
    }

    void noGroupChecked()
    {
        Rig rig;
        QTemporaryDir target;
        rig.choose(false, false, false, false);
        rig.exportTo(true, target.path());
        QCOMPARE(rig.dialogs.confirmations.size(), 1);
        QCOMPARE(rig.dialogs.confirmations.first().text, QString());
        QCOMPARE(rig.dialogs.folderStarts.size(), 1); // the folder is still asked for
        QVERIFY(rig.written.isEmpty());
        QVERIFY(tree(target.path()).isEmpty());
        QCOMPARE(rig.program.exporter().state().exportCounter, 1);

        rig.choose(false, false, false, true);
        rig.exportTo(true, target.path());
        QCOMPARE(rig.written, QStringList { target.path() + u"/窗口全图2.bmp"_s });
    }

    void folderWithTrailingSlash()
    {
        Rig rig;
        QTemporaryDir target;
        rig.choose(false, false, true, false);
        const QString answer = target.path() + u'/';
        rig.exportTo(true, answer);
        const QStringList names = groupNames(Check, QString(), 1, u".bmp"_s);
        QStringList expected;
        for (const QString &name : names)
            expected.append(answer + u'/' + name); // one more separator, names unchanged
        QCOMPARE(rig.written, expected);
        QStringList sorted = names;
        sorted.sort();
        QCOMPARE(tree(target.path()), sorted);
    }

    // A folder answer that cannot take files: every image is skipped, nothing is left behind.
    void unusableFolder_data()
    {
        QTest::addColumn<QString>("answer"); // relative to a fresh temporary folder
        QTest::addColumn<int>("format");
        QTest::newRow("file picked, bmp") << u"picked.txt"_s << int(Bmp);
        QTest::newRow("file picked, png") << u"picked.txt"_s << int(Png);
        QTest::newRow("missing folder, gif") << u"gone/deeper"_s << int(Gif);
        QTest::newRow("missing folder, jpg") << u"gone"_s << int(Jpg);
    }

    void unusableFolder()
    {
        QFETCH(QString, answer);
        QFETCH(int, format);
        Rig rig;
        QTemporaryDir root;
        const QByteArray picked = "not a folder";
        QFile file(root.filePath(u"picked.txt"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(picked);
        file.close();
        rig.format(format);
        rig.choose(true, true, true, true);
        rig.exportTo(true, root.filePath(answer));
        QVERIFY(rig.written.isEmpty());
        QCOMPARE(tree(root.path()), QStringList { u"picked.txt"_s });
        QCOMPARE(readAll(root.filePath(u"picked.txt"_s)), picked);
        QCOMPARE(rig.program.exporter().state().exportCounter, 1);
    }

    void linksInTheFolderAreNotFollowed()
    {
        // A link named like an image would carry the write outside the chosen folder.
        Rig rig;
        QTemporaryDir target;
        QTemporaryDir elsewhere;
        const QString victim = elsewhere.filePath(u"victim.txt"_s);
        QFile file(victim);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("keep");
        file.close();
        rig.ui().编辑框1->setText(u"确定"_s);
        rig.choose(true, false, false, false);
        QVERIFY(QFile::link(victim, target.filePath(u"确定_按下.bmp"_s)));
        rig.exportTo(true, target.path());
        QCOMPARE(readAll(victim), QByteArray("keep"));
        QCOMPARE(rig.written.size(), 3);
        QVERIFY(!rig.written.contains(target.path() + u"//确定_按下.bmp"_s));
    }

    void existingFilesReplaced()
    {
        Rig rig;
        QTemporaryDir target;
        rig.ui().编辑框1->setText(u"确定"_s);
        rig.choose(true, false, false, false);
        QFile old(target.filePath(u"确定_按下.bmp"_s));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
        old.close();
        rig.exportTo(true, target.path());
        rig.exportTo(true, target.path());
        QCOMPARE(rig.written.size(), 8);
        QCOMPARE(tree(target.path()).size(), 4); // no number in the button names
        QCOMPARE(readAll(target.filePath(u"确定_按下.bmp"_s)), rig.capture(Buttons, 1));
    }

    void writtenFilesDecode_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("group");
        const char *formats[] = { "bmp", "jpg", "gif", "png" };
        const char *groups[] = { "buttons", "combo", "check", "window" };
        for (int f = Bmp; f <= Png; ++f)
            for (int g = Buttons; g <= Window; ++g)
                QTest::addRow("%s %s", formats[f], groups[g]) << f << g;
    }

    void writtenFilesDecode()
    {
        QFETCH(int, format);
        QFETCH(int, group);
        Rig rig;
        QTemporaryDir target;
        rig.ui().编辑框1->setText(u"测试"_s);
        rig.format(format);
        rig.choose(group == Buttons, group == Combo, group == Check, group == Window);
        rig.exportTo(true, target.path());

        const QStringList names = groupNames(Group(group), u"测试"_s, 1, kExtensions.at(format));
        QCOMPARE(rig.written.size(), names.size());
        const QSize size = rig.groupSize(Group(group));
        QVERIFY(!size.isEmpty());
        for (int i = 0; i < names.size(); ++i) {
            const QString path = target.path() + u'/' + names.at(i);
            QCOMPARE(rig.written.at(i), path);
            const QByteArray capture = rig.capture(Group(group), i);
            const QImage reference = QImage::fromData(capture, "BMP").convertToFormat(QImage::Format_RGB32);
            QCOMPARE(reference.size(), size);
            const QByteArray bytes = readAll(path);
            QVERIFY2(!bytes.isEmpty(), qPrintable(path));

            QImage decoded;
            switch (format) {
            case Bmp:
                QCOMPARE(bytes, capture);
                decoded = bmpToPnm(path);
                break;
            case Png: {
                const auto check = ExternalDecoder::run(u"pngcheck"_s, { path });
                QVERIFY2(check.exitCode == 0, check.out.constData());
                decoded = ExternalDecoder::decode(path);
                break;
            }
            case Gif: {
                const auto info = ExternalDecoder::run(u"gifsicle"_s, { u"--info"_s, path });
                QVERIFY2(info.exitCode == 0 && info.err.isEmpty(), info.err.constData());
                decoded = ExternalDecoder::decode(path);
                break;
            }
            case Jpg: {
                const auto strict = ExternalDecoder::run(u"djpeg"_s, { u"-strict"_s, path });
                QVERIFY2(strict.exitCode == 0 && strict.err.isEmpty(), strict.err.constData());
                decoded = ExternalDecoder::decode(path);
                break;
            }
            }
            QCOMPARE(decoded.size(), size);
            const Difference d = difference(decoded, reference);
            const int colours = distinctColours(reference);
            qInfo("%s: %d colours, mean %.3f max %d, %lld bytes", qPrintable(names.at(i)), colours, d.mean,
                d.max, qlonglong(bytes.size()));
            if (format == Jpg) {
                QVERIFY2(d.mean <= kJpegMeanBound && d.max <= kJpegMaxBound,
                    qPrintable(u"%1: mean %2 max %3"_s.arg(names.at(i)).arg(d.mean).arg(d.max)));
            } else if (format == Gif && colours > 256) {
                QVERIFY2(d.mean <= kQuantisedMeanBound,
                    qPrintable(u"%1: %2 colours, mean %3"_s.arg(names.at(i)).arg(colours).arg(d.mean)));
            } else {
                QVERIFY2(d.max == 0,
                    qPrintable(u"%1: %2 colours, max %3"_s.arg(names.at(i)).arg(colours).arg(d.max)));
            }
        }
        QCOMPARE(tree(target.path()).size(), names.size());
    }

    // The window is photographed after the groups, so it shows the canvases just composed.
    void windowShowsFreshCanvases()
    {
        Rig rig;
        QTemporaryDir target;
        rig.ui().编辑框1->setText(u"新字"_s);
        rig.choose(true, true, true, true);
        rig.exportTo(true, target.path());
        QCOMPARE(rig.written.size(), 11);
        const QImage window = bmpToPnm(target.path() + u"/窗口全图1.bmp"_s);
        QVERIFY(!window.isNull());
        const struct
        {
            const char *file;
            QWidget *canvas;
        } shown[] = { { "/新字_按下.bmp", rig.ui().画板2 }, { "/组合1_禁止.bmp", rig.ui().画板7 },
            { "/选择1_选中.bmp", rig.ui().画板9 } };
        for (const auto &entry : shown) {
            const QImage state = bmpToPnm(target.path() + QString::fromUtf8(entry.file));
            QVERIFY2(!state.isNull(), entry.file);
            // The picture holds the frame too, where the platform reports one.
            const QMargins frame = rig.program.window().windowHandle()->frameMargins();
            const QPoint at = entry.canvas->mapTo(&rig.program.window(), QPoint(frame.left(), frame.top()));
            QCOMPARE(window.copy(QRect(at, state.size())), state);
        }
    }

    void sizeFollowsButtonWithoutConfirm_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("amount");
        QTest::newRow("width stepped up") << u"widthStep"_s << 9;
        QTest::newRow("width stepped down") << u"widthStep"_s << -5;
        QTest::newRow("width typed") << u"widthTyped"_s << 150;
        QTest::newRow("height stepped") << u"heightStep"_s << 3;
        QTest::newRow("height typed") << u"heightTyped"_s << 40;
    }

    void sizeFollowsButtonWithoutConfirm()
    {
        QFETCH(QString, how);
        QFETCH(int, amount);
        Rig rig;
        QTemporaryDir target;
        auto &state = rig.program.state();
        QSize expected(state.buttonWidth, state.buttonHeight);
        QVERIFY(!expected.isEmpty());
        const auto type = [](QComboBox *box, int value) {
            box->lineEdit()->selectAll();
            QTest::keyClicks(box->lineEdit(), QString::number(value));
        };
        if (how == u"widthStep"_s) {
            for (int i = 0; i < qAbs(amount); ++i)
                rig.program.controls().widthStep(amount > 0 ? 1 : -1);
            expected.rwidth() += amount;
        } else if (how == u"widthTyped"_s) {
            type(rig.ui().组合框2, amount);
            expected.setWidth(amount);
        } else if (how == u"heightStep"_s) {
            for (int i = 0; i < amount; ++i)
                rig.program.controls().heightStep(1);
            expected.rheight() += amount;
        } else {
            type(rig.ui().组合框3, amount);
            expected.setHeight(amount);
        }
        QCOMPARE(QSize(state.buttonWidth, state.buttonHeight), expected);

        rig.choose(true, false, false, false);
        rig.exportTo(true, target.path());
        QCOMPARE(rig.written.size(), 4);
        for (const QString &path : std::as_const(rig.written)) {
            const QImage decoded = bmpToPnm(path);
            QCOMPARE(decoded.size(), expected);
        }
    }

    void captionsAsNames_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("captionImagesWritten");
        QTest::newRow("chinese") << u"确定"_s << true;
        QTest::newRow("blanks") << u" 确 定 "_s << true;
        QTest::newRow("empty") << QString() << true;
        QTest::newRow("two dots") << u".."_s << true;
        QTest::newRow("slash") << u"a/b"_s << false;
        QTest::newRow("climbing") << u"../逃"_s << false;
        QTest::newRow("absolute") << u"/tmp/x"_s << false;
        QTest::newRow("tab") << u"a\tb"_s << false;
        QTest::newRow("line break") << u"a\nb"_s << false;
        QTest::newRow("delete") << u"a\u007fb"_s << false;
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << false;
        // "_正常.bmp" and its siblings take 11 bytes.
        QTest::newRow("name of 255 bytes") << QString(kMaxNameBytes - 11, u'x') << true;
        QTest::newRow("name of 256 bytes") << QString(kMaxNameBytes - 10, u'x') << false;
        QTest::newRow("85 Chinese characters") << QString(85, QChar(0x6C49)) << false;
    }

    // An export into a disk that fills up on the way (or is full from the start): the
    // images that do not fit are skipped quietly, and every file there is whole.
    void fullDisk_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("freeBytes"); // -1: the whole 64 KB
        for (const int format : { Bmp, Jpg, Gif, Png }) {
            const QByteArray ext = kExtensions.at(format).toLatin1();
            QTest::addRow("empty disk, %s", ext.constData()) << format << -1;
            QTest::addRow("16 KB free, %s", ext.constData()) << format << 16 * 1024;
            QTest::addRow("full, %s", ext.constData()) << format << 0;
        }
    }

    void fullDisk()
    {
        QFETCH(int, format);
        QFETCH(int, freeBytes);
        SmallTmpfs disk;
        if (!disk.mounted)
            QSKIP(qPrintable(disk.error));
        if (freeBytes >= 0)
            QVERIFY(disk.fill(u"filler"_s, freeBytes) > 0);
        Rig rig;
        rig.ui().编辑框1->setText(u"确定"_s);
        rig.format(format);
        rig.choose(true, true, true, true);
        rig.exportTo(true, disk.path());

        // Exactly the files reported written are there, each whole; the whole window alone
        // takes more than the disk, so something must have failed.
        QStringList present;
        for (const QString &name : tree(disk.path()))
            present << disk.filePath(name);
        present.removeOne(disk.filePath(u"filler"_s));
        for (const QString &path : std::as_const(present))
            QVERIFY2(isComplete(readAll(path), format), qPrintable(path + u" is cut off"_s));
        QStringList written = rig.written;
        written.sort();
        QCOMPARE(present, written);
        QVERIFY(written.size() < (freeBytes == 0 ? 1 : 11));
        QCOMPARE(rig.program.exporter().state().exportCounter, 1);
    }

    void captionsAsNames()
    {
        QFETCH(QString, caption);
        QFETCH(bool, captionImagesWritten);
        Rig rig;
        QTemporaryDir root;
        const QString folder = root.path() + u"/out"_s;
        QVERIFY(QDir().mkpath(folder));
        rig.ui().样本按钮->setText(caption);
        rig.choose(true, true, false, false);
        rig.exportTo(true, folder);

        QStringList expected = groupNames(Combo, QString(), 1, u".bmp"_s);
        if (captionImagesWritten)
            expected = groupNames(Buttons, caption, 1, u".bmp"_s) + expected;
        QStringList expectedPaths;
        for (const QString &name : std::as_const(expected))
            expectedPaths.append(folder + u'/' + name);
        QCOMPARE(rig.written, expectedPaths);

        // Nothing beside the folder, nothing in a subfolder, and only names the list showed.
        QStringList inside;
        for (const QString &entry : tree(root.path())) {
            QVERIFY2(entry == u"out"_s || entry.startsWith(u"out/"_s), qPrintable(entry));
            if (entry != u"out"_s)
                inside.append(entry.mid(4));
        }
        for (const QString &name : std::as_const(inside)) {
            QVERIFY2(!name.contains(u'/'), qPrintable(name));
            QVERIFY2(rig.dialogs.confirmations.last().text.contains(name), qPrintable(name));
            QVERIFY(QFileInfo(folder + u'/' + name).isFile());
        }
        QCOMPARE(inside.size(), expected.size());
    }
};

QTEST_MAIN(TestExporter)
#include "tst_exporter.moc"
