// The kit under forced colours and right to left, in headless Chromium
// (tests/support/kitmodes.py): with --force-high-contrast a kit button keeps its box, shows
// no piece, reads in the system's colours and shows the keyboard focus; check boxes stay
// apart; an icon's gap follows the writing direction.
#include "batch/kitcommand.h"
#include "platform/form/fontsetup.h"

#include "support/commandrun.h"
#include "support/programfolder.h"
#include "support/pythondriver.h"
#include "support/testfiles.h"

#include <QJsonArray>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// A flat skin, a picture skin with wide caps, and one with a dotted focus ring.
const QStringList kSkins { u"Flat"_s, u"翡翠"_s, u"经典"_s };
const QString kIcon
    = u"<svg class=\"qk-icon\" width=\"12\" height=\"12\" viewBox=\"0 0 12 12\">"
      "<path d=\"M1.5 6.5l3 3 6-7\" fill=\"none\" stroke=\"currentColor\" stroke-width=\"2\"/></svg>"_s;

// Name and element, with %1 for its name and %2 for its place. The empty buttons are a
// solid colour under forced colours; "focus" takes the keyboard focus.
struct Shown
{
    const char *name;
    QString html;
};
const Shown kButtons[] = {
    { "empty-normal", u"<button class=\"qk-button\" data-shot=\"%1\" style=\"%2width:104px\"></button>"_s },
    { "empty-hover",
        u"<button class=\"qk-button is-hover\" data-shot=\"%1\" style=\"%2width:104px\"></button>"_s },
    { "empty-active",
        u"<button class=\"qk-button is-active\" data-shot=\"%1\" style=\"%2width:104px\"></button>"_s },
    { "empty-disabled",
        u"<button class=\"qk-button\" data-shot=\"%1\" style=\"%2width:104px\" disabled></button>"_s },
    { "caption-normal", u"<button class=\"qk-button\" data-shot=\"%1\" style=\"%2\">确定</button>"_s },
    { "caption-hover",
        u"<button class=\"qk-button is-hover\" data-shot=\"%1\" style=\"%2\">确定</button>"_s },
    { "caption-active",
        u"<button class=\"qk-button is-active\" data-shot=\"%1\" style=\"%2\">确定</button>"_s },
    { "caption-disabled",
        u"<button class=\"qk-button\" data-shot=\"%1\" style=\"%2\" disabled>确定</button>"_s },
    { "link", u"<a class=\"qk-button\" href=\"#\" data-shot=\"%1\" style=\"%2\">下一页</a>"_s },
    { "link-disabled",
        u"<a class=\"qk-button is-disabled\" aria-disabled=\"true\" data-shot=\"%1\" style=\"%2\">下一页</a>"_s },
    { "submit",
        u"<input class=\"qk-button\" type=\"submit\" value=\"提交\" data-shot=\"%1\" style=\"%2\">"_s },
    { "focus",
        u"<button id=\"focus\" class=\"qk-button\" data-shot=\"%1\" style=\"%2width:104px\">确定</button>"_s },
};
const Shown kChecks[] = {
    { "check-off", u"<input type=\"checkbox\" class=\"qk-check\" data-shot=\"%1\" style=\"%2\">"_s },
    { "check-on", u"<input type=\"checkbox\" class=\"qk-check\" data-shot=\"%1\" style=\"%2\" checked>"_s },
    { "check-disabled",
        u"<input type=\"checkbox\" class=\"qk-check\" data-shot=\"%1\" style=\"%2\" disabled>"_s },
    { "check-on-disabled",
        u"<input type=\"checkbox\" class=\"qk-check\" data-shot=\"%1\" style=\"%2\" checked disabled>"_s },
    { "check-hover",
        u"<input type=\"checkbox\" class=\"qk-check is-hover\" data-shot=\"%1\" style=\"%2\">"_s },
    { "check-on-hover",
        u"<input type=\"checkbox\" class=\"qk-check is-checked is-hover\" data-shot=\"%1\" style=\"%2\" checked>"_s },
};

QByteArray testPage()
{
    QString page
        = u"<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
          "<link rel=\"stylesheet\" href=\"kit/kit.css\">\n<style>body { margin: 0; background: #5a8fd0; }"
          " [data-shot], p { position: absolute; margin: 0; }"
          " .probe { forced-color-adjust: none; width: 4px; height: 4px; outline-style: solid; }"
          "</style></head><body>\n"_s;
    int y = 8;
    for (const Shown &button : kButtons) {
        page += button.html.arg(QLatin1String(button.name), u"left:8px;top:%1px;"_s.arg(y)) + u'\n';
        y += 32;
    }
    int x = 200;
    for (const Shown &check : kChecks) {
        page += check.html.arg(QLatin1String(check.name), u"left:%1px;top:8px;"_s.arg(x)) + u'\n';
        x += 24;
    }
    // The system colours as the page resolves them, unforced.
    page += u"<div class=\"probe\" data-shot=\"probe-button\" style=\"left:200px;top:40px;color:ButtonText;"
            "background-color:ButtonFace;outline-color:Highlight\"></div>\n"
            "<div class=\"probe\" data-shot=\"probe-gray\" style=\"left:220px;top:40px;color:GrayText;"
            "background-color:Canvas;outline-color:ButtonBorder\"></div>\n"_s;
    page += u"<p style=\"left:200px;top:80px\"><button class=\"qk-button\" "
            u"data-icon=\"ltr\">%1确定</button></p>\n"
            "<p dir=\"rtl\" lang=\"ar\" style=\"left:200px;top:120px\"><button class=\"qk-button\" "
            "data-icon=\"rtl\">"
            "%1موافق</button></p>\n"
            "<p dir=\"rtl\" lang=\"ar\" style=\"left:200px;top:160px\"><button class=\"qk-button\" "
            "data-icon=\"rtl-wide\""
            " style=\"width:200px\">%1حفظ الصورة</button></p>\n"_s.arg(kIcon);
    return (page + u"</body></html>\n"_s).toUtf8();
}

QColor cssColour(const QJsonValue &value)
{
    static const QRegularExpression rgb(u"rgba?\\((\\d+), (\\d+), (\\d+)(?:, ([\\d.]+))?\\)"_s);
    const QRegularExpressionMatch m = rgb.match(value.toString());
    if (!m.hasMatch())
        return {};
    return QColor(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
        m.captured(4).isEmpty() ? 255 : qRound(m.captured(4).toDouble() * 255));
}

// WCAG 2 contrast ratio of two opaque colours.
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](int v) {
            const double s = v / 255.0;
            return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
    };
    const double x = luminance(a), y = luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

QRect rectOf(const QJsonObject &result, const QString &name)
{
    const QJsonArray r = result.value(u"rects"_s).toObject().value(name).toArray();
    return r.size() != 4 ? QRect()
                         : QRect(qRound(r[0].toDouble()), qRound(r[1].toDouble()), qRound(r[2].toDouble()),
                             qRound(r[3].toDouble()));
}

QJsonObject styleOf(const QJsonObject &result, const QString &name)
{
    return result.value(u"styles"_s).toObject().value(name).toObject();
}

// Pixels whose colour is more than a level from the expected.
int pixelsApart(const QImage &shown, const QImage &expected)
{
    if (shown.size() != expected.size() || shown.isNull())
        return -1;
    int apart = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb p = shown.pixel(x, y), q = expected.pixel(x, y);
            apart += std::max(
                         { qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q)), qAbs(qBlue(p) - qBlue(q)) })
                > 1;
        }
    }
    return apart;
}

} // namespace

class TestKitPageModes : public QObject
{
    Q_OBJECT

    ProgramFolder *m_folder = nullptr;
    QTemporaryDir m_root;
    QMap<QString, QString> m_problems; // by skin: what went wrong setting it up
    QJsonObject m_results; // by "{skin}/plain" and "{skin}/forced"

    QJsonObject result(const QString &skin, bool forced) const
    {
        return m_results.value(skin + (forced ? u"/forced"_s : u"/plain"_s)).toObject();
    }

    QImage shot(const QString &skin, const QString &key = u"shot"_s) const
    {
        return shotImage(result(skin, true), key).convertToFormat(QImage::Format_RGB32);
    }

    // Set up, loaded without an error, and the colours forced only where asked.
    bool ready(const QString &skin)
    {
        const QString problem = m_problems.value(skin);
        if (!problem.isEmpty())
            qWarning("%s", qPrintable(problem));
        for (bool forced : { false, true }) {
            const QJsonObject r = result(skin, forced);
            if (!r.value(u"errors"_s).toArray().isEmpty()) {
                qWarning("%s", QJsonDocument(r.value(u"errors"_s).toArray()).toJson().constData());
                return false;
            }
            if (r.value(u"forced"_s).toBool() != forced || !r.contains(u"shot"_s))
                return false;
        }
        return problem.isEmpty();
    }

private Q_SLOTS:
    void initTestCase()
    {
        quillet::form::FontSetup::install();
        if (!browserReady())
            QSKIP("chromium or python3-websocket missing");
        m_folder = new ProgramFolder(ProgramFolder::shippedSkinNames());
        QJsonObject jobs;
        for (const QString &skin : kSkins) {
            const QString folder = m_root.filePath(skin);
            // With --focus the kit hides the browser's ring; forced colours must bring one back.
            const QString failed = CommandRun::of(&quillet::batch::KitCommand::run,
                { u"--skin"_s, skin, u"--focus"_s, u"--out"_s, folder + u"/kit"_s }, m_folder->path())
                                       .failure();
            if (!failed.isEmpty()) {
                m_problems[skin] = u"kit "_s + failed;
                continue;
            }
            writeAll(folder + u"/page.html"_s, testPage());
            for (bool forced : { false, true })
                jobs[skin + (forced ? u"/forced"_s : u"/plain"_s)]
                    = QJsonObject { { u"page"_s, QString(folder + u"/page.html"_s) },
                          { u"forced"_s, forced } };
        }
        const QString jobFile = m_root.filePath(u"jobs.json"_s);
        writeAll(jobFile, QJsonDocument(jobs).toJson());
        QString error;
        m_results = runDriver("kitmodes.py", { jobFile }, &error).object();
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
    void cleanupTestCase() { delete m_folder; }

    // Forced colours change no box: not of a state, a link or a submit input.
    void forcedKeepsTheBox_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<QString>("name");
        for (const QString &skin : kSkins) {
            for (const Shown &button : kButtons)
                QTest::addRow("%s, %s", qPrintable(skin), button.name)
                    << skin << QString::fromLatin1(button.name);
        }
    }
    void forcedKeepsTheBox()
    {
        QFETCH(QString, skin);
        QFETCH(QString, name);
        QVERIFY(ready(skin));
        const QRect plain = rectOf(result(skin, false), name);
        QVERIFY(plain.width() > 0);
        QCOMPARE(rectOf(result(skin, true), name), plain);
    }

    // No piece of a picture: the style names none, and an empty button is the face colour
    // inside a one-pixel frame, nothing else.
    void forcedPaintsNoPicture_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("disabled");
        for (const QString &skin : kSkins) {
            for (const char *state : { "normal", "hover", "active", "disabled" })
                QTest::addRow("%s, %s", qPrintable(skin), state)
                    << skin << u"empty-"_s + QLatin1String(state) << (state == std::string_view("disabled"));
        }
    }
    void forcedPaintsNoPicture()
    {
        QFETCH(QString, skin);
        QFETCH(QString, name);
        QFETCH(bool, disabled);
        QVERIFY(ready(skin));
        const QJsonObject forced = result(skin, true);
        const QJsonObject style = styleOf(forced, name);
        QCOMPARE(style.value(u"backgroundImage"_s).toString(), u"none"_s);
        QCOMPARE(style.value(u"borderImageSource"_s).toString(), u"none"_s);
        // The plain page does show pictures there, so "none" is the forced rule's doing.
        QVERIFY(styleOf(result(skin, false), name).value(u"backgroundImage"_s).toString().contains(u"url("));

        const QColor face = cssColour(styleOf(forced, u"probe-button"_s).value(u"backgroundColor"_s));
        const QColor frame
            = cssColour(styleOf(forced, u"probe-gray"_s).value(disabled ? u"color"_s : u"outlineColor"_s));
        QVERIFY(face.isValid() && frame.isValid());
        QCOMPARE(cssColour(style.value(u"backgroundColor"_s)), face);
        const QRect box = rectOf(forced, name);
        QImage expected(box.size(), QImage::Format_RGB32);
        expected.fill(frame);
        QPainter(&expected).fillRect(expected.rect().adjusted(1, 1, -1, -1), face);
        const QImage shown = shot(skin).copy(box);
        QCOMPARE(pixelsApart(shown, expected), 0);
    }

    // The caption takes the system's button text on the system's button face, and reads
    // on the painted pixels at 4.5:1 at least; a disabled one is grey text.
    void forcedCaptionReads_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("disabled");
        for (const QString &skin : kSkins) {
            for (const char *name : { "caption-normal", "caption-hover", "caption-active", "link", "submit" })
                QTest::addRow("%s, %s", qPrintable(skin), name) << skin << QString::fromLatin1(name) << false;
            for (const char *name : { "caption-disabled", "link-disabled" })
                QTest::addRow("%s, %s", qPrintable(skin), name) << skin << QString::fromLatin1(name) << true;
        }
    }
    void forcedCaptionReads()
    {
        QFETCH(QString, skin);
        QFETCH(QString, name);
        QFETCH(bool, disabled);
        QVERIFY(ready(skin));
        const QJsonObject forced = result(skin, true);
        const QJsonObject style = styleOf(forced, name);
        const QColor text = cssColour(style.value(u"color"_s));
        const QColor ground = cssColour(style.value(u"backgroundColor"_s));
        QCOMPARE(ground, cssColour(styleOf(forced, u"probe-button"_s).value(u"backgroundColor"_s)));
        QCOMPARE(text,
            cssColour(styleOf(forced, disabled ? u"probe-gray"_s : u"probe-button"_s).value(u"color"_s)));
        if (disabled)
            return;
        QVERIFY2(contrast(text, ground) >= 4.5, qPrintable(u"%1 on %2"_s.arg(text.name(), ground.name())));
        // The pixels inside the frame: the face and a caption that reads on it.
        const QImage inside = shot(skin).copy(rectOf(forced, name).adjusted(2, 2, -2, -2));
        double best = 1;
        int faceCount = 0;
        for (int y = 0; y < inside.height(); ++y) {
            for (int x = 0; x < inside.width(); ++x) {
                const QColor pixel(inside.pixel(x, y));
                faceCount += pixel == ground;
                best = std::max(best, contrast(pixel, ground));
            }
        }
        QVERIFY(faceCount > inside.width() * inside.height() / 2);
        QVERIFY2(best >= 4.5, qPrintable(u"best caption pixel %1:1"_s.arg(best)));
    }

    // Tab to a button: a solid outline of at least two pixels in the highlight colour, on
    // the button's own edge.
    void forcedFocusShows_data()
    {
        QTest::addColumn<QString>("skin");
        for (const QString &skin : kSkins)
            QTest::newRow(qPrintable(skin)) << skin;
    }
    void forcedFocusShows()
    {
        QFETCH(QString, skin);
        QVERIFY(ready(skin));
        const QJsonObject forced = result(skin, true);
        const QJsonObject style = forced.value(u"focusStyle"_s).toObject();
        QCOMPARE(style.value(u"outlineStyle"_s).toString(), u"solid"_s);
        QVERIFY2(style.value(u"outlineWidth"_s).toString().chopped(2).toDouble() >= 2,
            qPrintable(style.value(u"outlineWidth"_s).toString()));
        const QColor highlight = cssColour(styleOf(forced, u"probe-button"_s).value(u"outlineColor"_s));
        QCOMPARE(cssColour(style.value(u"outlineColor"_s)), highlight);
        // The outline lies on the face, which shows through a highlight with alpha.
        const QColor face = cssColour(styleOf(forced, u"probe-button"_s).value(u"backgroundColor"_s));
        const auto over = [&](int a, int b) {
            return qRound((a * highlight.alpha() + b * (255 - highlight.alpha())) / 255.0);
        };
        QImage expected(1, 1, QImage::Format_RGB32);
        expected.fill(qRgb(over(highlight.red(), face.red()), over(highlight.green(), face.green()),
            over(highlight.blue(), face.blue())));
        const QRect box = rectOf(forced, u"focus"_s);
        const QImage focused = shot(skin, u"focusShot"_s);
        const QImage unfocused = shot(skin);
        for (const QPoint at :
            { QPoint(box.left(), box.center().y()), QPoint(box.left() + 1, box.center().y()),
                QPoint(box.center().x(), box.top() + 1), QPoint(box.right(), box.center().y()) }) {
            QCOMPARE(pixelsApart(focused.copy(QRect(at, QSize(1, 1))), expected), 0);
            // Unfocused, the same place is the one-pixel frame or the face.
            QCOMPARE(pixelsApart(unfocused.copy(QRect(at, QSize(1, 1))), expected), 1);
        }
    }

    // Under forced colours the check boxes are the browser's own and show their state.
    void forcedCheckBoxesStayApart_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        for (const QString &skin : kSkins) {
            QTest::addRow("%s, off and on", qPrintable(skin)) << skin << u"check-off"_s << u"check-on"_s;
            QTest::addRow("%s, disabled off and on", qPrintable(skin))
                << skin << u"check-disabled"_s << u"check-on-disabled"_s;
            QTest::addRow("%s, hover off and on", qPrintable(skin))
                << skin << u"check-hover"_s << u"check-on-hover"_s;
        }
    }
    void forcedCheckBoxesStayApart()
    {
        QFETCH(QString, skin);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QVERIFY(ready(skin));
        const QJsonObject forced = result(skin, true);
        for (const QString &name : { first, second }) {
            QCOMPARE(styleOf(forced, name).value(u"backgroundImage"_s).toString(), u"none"_s);
            QCOMPARE(rectOf(forced, name), rectOf(result(skin, false), name));
        }
        const QImage page = shot(skin);
        const int apart = pixelsApart(page.copy(rectOf(forced, first)), page.copy(rectOf(forced, second)));
        QVERIFY2(apart >= 6, qPrintable(u"%1 pixels apart"_s.arg(apart)));
    }

    // The icon leads on the inline start side, with the gap between it and the caption:
    // at the left of a left-to-right button, at the right of a right-to-left one.
    void iconFollowsTheDirection_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<bool>("forced");
        QTest::addColumn<QString>("name");
        for (const QString &skin : kSkins) {
            for (bool forced : { false, true }) {
                for (const char *name : { "ltr", "rtl", "rtl-wide" })
                    QTest::addRow("%s, %s%s", qPrintable(skin), name, forced ? ", forced" : "")
                        << skin << forced << QString::fromLatin1(name);
            }
        }
    }
    void iconFollowsTheDirection()
    {
        QFETCH(QString, skin);
        QFETCH(bool, forced);
        QFETCH(QString, name);
        QVERIFY(ready(skin));
        const QJsonObject boxes = result(skin, forced).value(u"icons"_s).toObject().value(name).toObject();
        const auto edges = [&](const QString &key) {
            const QJsonArray a = boxes.value(key).toArray();
            return a.size() == 4
                ? std::array { a[0].toDouble(), a[1].toDouble(), a[2].toDouble(), a[3].toDouble() }
                : std::array { 0.0, 0.0, 0.0, 0.0 };
        };
        const auto button = edges(u"button"_s), icon = edges(u"icon"_s), text = edges(u"text"_s);
        QVERIFY(icon[2] - icon[0] == 12 && text[2] > text[0]);
        // Inside the button, beside the caption.
        QVERIFY(icon[0] >= button[0] && icon[2] <= button[2]);
        const double gap = name.startsWith(u"rtl") ? icon[0] - text[2] : text[0] - icon[2];
        QVERIFY2(qAbs(gap - 4) < 0.5, qPrintable(u"gap %1"_s.arg(gap)));
    }
};

QTEST_MAIN(TestKitPageModes)
#include "tst_kitpagemodes.moc"
