// Under a real window manager (openbox) that frames the windows: outer sizes, the panel
// arrangement that follows them and the whole-window picture, each read from the X server
// (xwininfo, xprop, the screen itself) rather than from Qt's idea of the window.
#include "app/designerprogram.h"
#include "platform/form/fontsetup.h"
#include "platform/form/intervaltimer.h"
#include "image/bmpcodec.h"
#include "render/samplepreview.h"
#include "render/stateimages.h"
#include "ui/aboutwindow.h"
#include "ui/designerwindow.h"

#include "support/designerrun.h"

#include <QtTest>


namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000))
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// What the X server knows of a client window and of the frame its manager put around it.
struct XWindow
{
    QRect client; // on the root window
    std::optional<QMargins> frame; // _NET_FRAME_EXTENTS
    QSize parentSize; // the manager's frame window that holds the client

    QSize outer() const { return frame ? client.size().grownBy(*frame) : QSize(); }
    QRect outerRect() const { return frame ? client + *frame : QRect(); }

    static XWindow of(WId id)
    {
        XWindow result;
        const QString hex = QStringLiteral("0x%1").arg(id, 0, 16);
        const QString info = run(QStringLiteral("xwininfo"), { QStringLiteral("-id"), hex });
        result.client = rectFrom(info);
        const QString extents = run(
            QStringLiteral("xprop"), { QStringLiteral("-id"), hex, QStringLiteral("_NET_FRAME_EXTENTS") });
        const QRegularExpressionMatch m
            = QRegularExpression(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)")).match(extents);
        if (m.hasMatch())
            result.frame = QMargins(
                m.captured(1).toInt(), m.captured(3).toInt(), m.captured(2).toInt(), m.captured(4).toInt());
        const QString tree
            = run(QStringLiteral("xwininfo"), { QStringLiteral("-id"), hex, QStringLiteral("-tree") });
        const QRegularExpressionMatch parent
            = QRegularExpression(QStringLiteral("Parent window id: (0x[0-9a-f]+)")).match(tree);
        if (parent.hasMatch())
            result.parentSize
                = rectFrom(run(QStringLiteral("xwininfo"), { QStringLiteral("-id"), parent.captured(1) }))
                      .size();
        return result;
    }

    static QRect rectFrom(const QString &info)
    {
        const auto number = [&](const char *label) {
            const QRegularExpressionMatch m
                = QRegularExpression(QString::fromLatin1(label) + QStringLiteral(":\\s+(-?\\d+)"))
                      .match(info);
            return m.hasMatch() ? m.captured(1).toInt() : -1;
        };
        return { number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"),
            number("Height") };
    }
};

// The manager is done with a window once it announced the frame and the client has its size.
XWindow settled(QWidget *window)
{
    XWindow x;
    (void)QTest::qWaitFor(
        [&] {
            x = XWindow::of(window->winId());
            return x.frame && x.client.size() == window->size();
        },
        5000);
    return x;
}

// The screen as the X server shows it, in an area of the root window.
QImage screenArea(const QRect &area)
{
    QProcess import;
    import.start(QStringLiteral("import"),
        { QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("-crop"),
            QStringLiteral("%1x%2+%3+%4").arg(area.width()).arg(area.height()).arg(area.x()).arg(area.y()),
            QStringLiteral("png:-") });
    if (!import.waitForFinished(20000))
        return {};
    return QImage::fromData(import.readAllStandardOutput(), "PNG").convertToFormat(QImage::Format_RGB32);
}

// Pixels only: a picture read back from a file may carry a colour space tag.
int differingPixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return -1;
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += (a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF);
    return count;
}

// Records every client size the window is given after it was first shown.
class SizesAfterShow : public QObject
{
public:
    explicit SizesAfterShow(QWidget *watched) { watched->installEventFilter(this); }
    QList<QSize> sizes;
    bool shown = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            shown = true;
        else if (event->type() == QEvent::Resize && shown)
            sizes.append(static_cast<QWidget *>(watched)->size());
        return false;
    }
};


} // namespace

class TestWindowFrame : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        quillet::form::FontSetup::install();
        // The page engine is not what is measured here.
        qputenv("QUILLET_BROWSER", QByteArray("null"));
        const QString manager = run(
            QStringLiteral("xprop"), { QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK") });
        QVERIFY2(manager.contains(QStringLiteral("window id")), "no window manager runs on this display");
    }

    void designerOuterSizeBeforeAndAfterFirstPreview()
    {
        DesignerRun r({QStringLiteral("经典.an")}, DesignerRun::Start::Later);
        SizesAfterShow recorder(&r.window());
        r.program.start();
        r.window().previewTimer()->setInterval(0);
        QVERIFY(QTest::qWaitForWindowExposed(&r.window()));
        XWindow x = settled(&r.window());
        QVERIFY2(x.frame, "the manager announced no frame");
        QVERIFY2(!x.frame->isNull(), "the manager drew no frame: nothing is tested");
        QCOMPARE(x.outer(), QSize(800, 570));
        QCOMPARE(x.parentSize, QSize(800, 570));
        // Asked before mapping, the frame was known: the window appeared at its size.
        for (const QSize &size : recorder.sizes)
            QCOMPARE(size, x.client.size());
        auto &ui = r.ui();
        QCOMPARE(ui.标签1->height(), 570 - 50);
        QCOMPARE(ui.标签8->x() + ui.标签8->width(), 800 - 20);

        r.program.preview().onPreviewTimerTick();
        QTRY_COMPARE(XWindow::of(r.window().winId()).outer(), QSize(798, 570));
        x = XWindow::of(r.window().winId());
        QCOMPARE(x.parentSize, QSize(798, 570));
        QCOMPARE(ui.标签1->height(), 570 - 50);
        QCOMPARE(ui.列表框1->height(), 570 - 50 - 12);
        QCOMPARE(ui.标签8->x() + ui.标签8->width(), 798 - 20);
    }

    void aboutWindowOuterSize()
    {
        DesignerRun r({QStringLiteral("经典.an")}, DesignerRun::Start::Later);
        r.program.start();
        r.window().previewTimer()->setInterval(0);
        QVERIFY(QTest::qWaitForWindowExposed(&r.window()));
        XWindow seen;
        QSize reported;
        QTimer::singleShot(0, this, [&] {
            auto *about = qobject_cast<quillet::ui::AboutWindow *>(QApplication::activeModalWidget());
            if (!about)
                return;
            if (QTest::qWaitForWindowExposed(about))
                seen = settled(about);
            reported = about->outerSize();
            about->close();
        });
        QTest::mouseClick(r.ui().按钮5, Qt::LeftButton);
        QVERIFY2(seen.frame, "the About window was not framed");
        QCOMPARE(seen.outer(), QSize(270, 192));
        QCOMPARE(seen.parentSize, QSize(270, 192));
        QCOMPARE(reported, QSize(270, 192));
    }

    void wholeWindowPicture_data()
    {
        QTest::addColumn<bool>("covered");
        QTest::newRow("shown uncovered: the screen") << false;
        QTest::newRow("covered: drawn frame") << true;
    }

    void wholeWindowPicture()
    {
        QFETCH(bool, covered);
        DesignerRun r({QStringLiteral("经典.an")}, DesignerRun::Start::Later);
        r.program.start();
        r.window().previewTimer()->setInterval(0);
        QVERIFY(QTest::qWaitForWindowExposed(&r.window()));
        const XWindow x = settled(&r.window());
        QVERIFY(x.frame && !x.frame->isNull());
        r.window().activateWindow();
        QTest::qWait(500);

        QWidget cover;
        if (covered) {
            cover.setWindowTitle(QStringLiteral("cover"));
            cover.resize(200, 150);
            cover.show();
            QVERIFY(QTest::qWaitForWindowExposed(&cover));
            cover.windowHandle()->setFramePosition(x.outerRect().topLeft() + QPoint(100, 100));
            cover.raise();
            QTRY_VERIFY(XWindow::of(cover.winId()).outerRect().intersects(x.outerRect()));
            QTest::qWait(300);
        }

        auto &ui = r.ui();
        ui.选择框1->setChecked(false);
        ui.选择框5->setChecked(true);
        quillet::render::StateImages images(r.window(), r.program.preview());
        QImage picture;
        images.take([&](const quillet::render::StateImages::Image &image) {
            picture = quillet::image::BmpCodec::decode(image.bmp).convertToFormat(QImage::Format_RGB32);
        });
        QCOMPARE(picture.size(), x.outer());

        // Never white filler: no row and no column of the picture is all white.
        const QRgb white = qRgb(255, 255, 255);
        for (int y = 0; y < picture.height(); ++y) {
            bool allWhite = true;
            for (int px = 0; px < picture.width() && allWhite; ++px)
                allWhite = (picture.pixel(px, y) | 0xFF000000) == white;
            QVERIFY2(!allWhite, qPrintable(QStringLiteral("row %1 is white").arg(y)));
        }
        for (int px = 0; px < picture.width(); ++px) {
            bool allWhite = true;
            for (int y = 0; y < picture.height() && allWhite; ++y)
                allWhite = (picture.pixel(px, y) | 0xFF000000) == white;
            QVERIFY2(!allWhite, qPrintable(QStringLiteral("column %1 is white").arg(px)));
        }

        if (!covered) {
            // As the user sees it: the screen's own pixels, frame included.
            const QImage screen = screenArea(x.outerRect());
            QCOMPARE(screen.size(), picture.size());
            QCOMPARE(differingPixels(picture, screen), 0);
        } else {
            // The client area is the window's own drawing, in its place inside the frame.
            const QImage client = r.window().grab().toImage().convertToFormat(QImage::Format_RGB32);
            QCOMPARE(differingPixels(
                         picture.copy(QRect(QPoint(x.frame->left(), x.frame->top()), client.size())), client),
                0);
            // The covering window shows nowhere in it.
            const QImage coverPicture = cover.grab().toImage().convertToFormat(QImage::Format_RGB32);
            QVERIFY(
                picture.copy(QRect(QPoint(100 + x.frame->left(), 100 + x.frame->top()), coverPicture.size()))
                != coverPicture);
        }
    }
};

QTEST_MAIN(TestWindowFrame)
#include "tst_windowframe.moc"
