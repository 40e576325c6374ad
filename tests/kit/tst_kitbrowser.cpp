// The kit in a real browser: headless Chromium (tests/support/kitpage.py) shows an empty
// kit button of any width in every state as the renderer's own see-through picture of it
// on the same page, at device scale factors 1, 2 and 3, within a level. Real :hover,
// :active and :focus-visible (mouse and Tab) and a dark colour scheme are driven too. The
// same page holds the kit as files of pieces and as one in-line style sheet, which must show
// the sheet kit's pixels exactly. What only a browser shows (layout, image-set choice, the
// rules, real input) is skin for skin the same: three kinds of face take its every path,
// and tst_kitrebuild holds every shipped skin's pieces to the renderer without a browser.
#include "batch/kitcommand.h"
#include "batch/rendercommand.h"
#include "platform/form/fontsetup.h"

#include "support/commandrun.h"
#include "support/kitreference.h"
#include "support/programfolder.h"
#include "support/pythondriver.h"
#include "support/testedskins.h"
#include "support/testfiles.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
namespace RenderCommand = quillet::batch::RenderCommand;

namespace {

// Not grey, so a wrong alpha shows in every channel.
const QColor kPage(90, 143, 208);
using kitreference::kWidths;
constexpr int kScales[] = { 1, 2, 3 };
using kitreference::kHeight;
// A state's word, the kit class or attribute that pins it, render's picture of it, and the
// attributes of a button put in that state for real (only #focus takes the keyboard focus).
struct Pinned
{
    const char *word;
    QString pin;
    QString picture;
    const char *real = nullptr;
};
const Pinned kStates[] = { { "normal", QString(), u"正常"_s },
    { "hover", u" is-hover"_s, u"点燃"_s, " tabindex=-1" }, { "focus", u" is-focus"_s, u"焦点"_s, "" },
    { "active", u" is-active"_s, u"按下"_s, " tabindex=-1" },
    { "disabled", u" is-disabled"_s, u"禁止"_s, " disabled" } };
// A check box state's word, the kit classes and the attributes that pin it, render's picture.
struct PinnedCheck
{
    const char *word;
    QString classes;
    QString attributes;
    QString picture;
};
const PinnedCheck kChecks[]
    = { { "off", QString(), QString(), u"正常"_s }, { "hover", u" is-hover"_s, QString(), u"点燃"_s },
          { "active", u" is-active"_s, QString(), u"按下"_s }, { "on", QString(), u" checked"_s, u"选中"_s },
          { "on-hover", u" is-checked is-hover"_s, u" checked"_s, u"选中点燃"_s },
          { "on-active", u" is-checked is-active"_s, u" checked"_s, u"选中按下"_s },
          { "disabled", QString(), u" disabled"_s, u"禁止"_s },
          { "on-disabled", QString(), u" checked disabled"_s, u"选中禁止"_s } };
// The kits beside the sheet kit (prefix qk, in kit/): their folder is also their rows' word.
// Each is held to another's rows (empty: the sheet kit's). The in-line kit draws the very
// pictures of the piece kit; a sheet repeats a middle row where a piece repeats a single
// tile, which Chromium may round a see-through pixel a level apart.
struct Variant
{
    QString folder;
    QString prefix;
    QString option;
    QString against;
    int allowed;
};
const Variant kVariants[] = { { u"pieces"_s, u"qp"_s, u"--pieces"_s, QString(), 1 },
    { u"inline"_s, u"qi"_s, u"--inline"_s, u"pieces-"_s, 0 } };

// Every state at every width, each above the renderer's picture of it (render/ holds them as
// {control}/{width}/{state}), then a button driven into it for real; the check boxes.
QByteArray testPage()
{
    QString page
        = u"<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
          "<link rel=\"stylesheet\" href=\"kit/kit.css\">\n"
          "<link rel=\"stylesheet\" href=\"kit-pieces/kit.css\">\n"
          "<link rel=\"stylesheet\" href=\"kit-inline/kit.css\">\n<style>body { margin: 0; background: %1; "
          "width: 1100px; height: 740px; } [data-shot] { position: absolute; }</style></head><body>\n"_s.arg(
              kPage.name());
    // A button is closed at once: what follows is not laid out inside it.
    const auto add = [&](const QString &element, const QString &shot, int x, int y, const QString &style) {
        page += u"<%1 data-shot=\"%2\" style=\"left:%3px;top:%4px;%5\">%6\n"_s.arg(element, shot)
                    .arg(x)
                    .arg(y)
                    .arg(style, element.startsWith(u"button"_s) ? u"</button>"_s : QString());
    };
    const auto reference = [&](const QString &shot, const QString &file, int x, int y, int width,
                               int height) {
        add(u"img src=\"render/%1.png\" srcset=\"render/%1.png 1x, render/%1@2x.png 2x, render/%1@3x.png 3x\" alt=\"\""_s
                .arg(file),
            u"ref-"_s + shot, x, y, u"width:%1px;height:%2px"_s.arg(width).arg(height));
    };
    int y = 8;
    for (const Pinned &state : kStates) {
        int x = 8;
        for (int width : kWidths) {
            const QString name = u"%1-%2"_s.arg(QLatin1String(state.word)).arg(width);
            add(u"button class=\"qk-button%1\" tabindex=\"-1\""_s.arg(state.pin), name, x, y,
                u"width:%1px"_s.arg(width));
            reference(
                name, u"button/%1/%2"_s.arg(width).arg(state.picture), x, y + kHeight + 2, width, kHeight);
            x += width + 8;
        }
        if (state.real)
            add(u"button id=\"%1\" class=\"qk-button\"%2"_s.arg(
                    QLatin1String(state.word), QLatin1String(state.real)),
                u"real-"_s + QLatin1String(state.word), x, y, u"width:104px"_s);
        y += 2 * kHeight + 12;
    }
    int x = 8;
    for (const PinnedCheck &check : kChecks) {
        const QString name = u"check-"_s + QLatin1String(check.word);
        add(u"input type=\"checkbox\" class=\"qk-check%1\" tabindex=\"-1\"%2"_s.arg(
                check.classes, check.attributes),
            name, x, y, {});
        reference(name, u"check/13/"_s + check.picture, x, y + 16, 13, 13);
        x += 24;
    }
    // The other kits' pinned states and check boxes, without references: they are held to
    // the sheet kit's rows.
    y += 40;
    for (const Variant &variant : kVariants) {
        for (const Pinned &state : kStates) {
            int x = 8;
            for (int width : kWidths) {
                add(u"button class=\"%1-button%2\" tabindex=\"-1\""_s.arg(variant.prefix, state.pin),
                    u"%1-%2-%3"_s.arg(variant.folder, QLatin1String(state.word)).arg(width), x, y,
                    u"width:%1px"_s.arg(width));
                x += width + 8;
            }
            y += kHeight + 8;
        }
        int x = 8;
        for (const PinnedCheck &check : kChecks) {
            add(u"input type=\"checkbox\" class=\"%1-check%2\" tabindex=\"-1\"%3"_s.arg(
                    variant.prefix, check.classes, check.attributes),
                u"%1-check-%2"_s.arg(variant.folder, QLatin1String(check.word)), x, y, {});
            x += 24;
        }
        y += 24;
    }
    return (page + u"</body></html>\n"_s).toUtf8();
}

// Nothing when no colour channel is more than `allowed` levels apart, else the worst place.
QString unlike(const QImage &shown, const QImage &expected, int allowed)
{
    if (shown.isNull() || shown.size() != expected.size())
        return u": sizes apart"_s;
    const QImage x = shown.convertToFormat(QImage::Format_RGB32);
    const QImage y = expected.convertToFormat(QImage::Format_RGB32);
    int worst = 0;
    QPoint where;
    for (int row = 0; row < x.height(); ++row) {
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            const int d = std::max(
                { qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q)), qAbs(qBlue(p) - qBlue(q)) });
            if (d > worst) {
                worst = d;
                where = QPoint(col, row);
            }
        }
    }
    return worst <= allowed
        ? QString()
        : u": %1 levels at (%2, %3), allowed %4"_s.arg(worst).arg(where.x()).arg(where.y()).arg(allowed);
}

// The renderer's see-through picture laid on the page by the usual rounding.
QImage onPage(const QString &file)
{
    QImage out = QImage(file).convertToFormat(QImage::Format_ARGB32);
    const int page[] = { kPage.red(), kPage.green(), kPage.blue() };
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = out.pixel(x, y);
            const int a = qAlpha(p);
            int o[] = { qRed(p), qGreen(p), qBlue(p) };
            for (int i = 0; i < 3; ++i)
                o[i] = (o[i] * a + page[i] * (255 - a) + 127) / 255;
            out.setPixel(x, y, qRgb(o[0], o[1], o[2]));
        }
    }
    return out;
}

struct SkinRun
{
    QString folder;
    // The kit's own worst difference of each state, for the failure message; none for an
    // exact skin.
    QMap<QString, int> reported;
    QString problem; // set up failure
};

} // namespace

class TestKitBrowser : public QObject
{
    Q_OBJECT

    ProgramFolder *m_folder = nullptr;
    QTemporaryDir m_root;
    QMap<QString, SkinRun> m_runs;
    QJsonObject m_results; // by job: "{skin or dark}/{scale}", "demo/1", "demo-dark/1"

    // The kit of one skin and the renderer's pictures of it, side by side on the test page.
    QString prepare(SkinRun &skinRun, const QStringList &kitArguments, const QString &renderSkin)
    {
        skinRun.folder = m_root.filePath(QString::number(m_runs.size()));
        const QStringList common { u"--focus"_s, u"--scale"_s, u"1,2,3"_s, u"--out"_s };
        const CommandRun kit = CommandRun::of(&quillet::batch::KitCommand::run,
            kitArguments + common + QStringList { skinRun.folder + u"/kit"_s }, m_folder->path());
        if (!kit.failure().isEmpty())
            return u"kit "_s + kit.failure();
        const QString &err = kit.err;
        for (const Variant &variant : kVariants) {
            const QString failed = CommandRun::of(&quillet::batch::KitCommand::run,
                kitArguments + QStringList { variant.option, u"--prefix"_s, variant.prefix } + common
                    + QStringList { skinRun.folder + u"/kit-"_s + variant.folder },
                m_folder->path())
                                       .failure();
            if (!failed.isEmpty())
                return u"kit "_s + variant.option + u' ' + failed;
        }
        // An inexact skin says so on stderr and in the style sheet, with the same number.
        const QRegularExpression note(u"by up to (\\d+) levels"_s);
        const QRegularExpressionMatch said = note.match(err);
        const QString written
            = note.match(QString::fromUtf8(readAll(skinRun.folder + u"/kit/kit.css"_s))).captured(1);
        if (said.captured(1) != written)
            return u"stderr and kit.css disagree: "_s + err;
        int worst = 0;
        for (const QRegularExpressionMatch &state :
            QRegularExpression(u"(normal|hover|focus|active|disabled) (\\d+)"_s).globalMatch(err)) {
            skinRun.reported[state.captured(1)] = state.captured(2).toInt();
            worst = qMax(worst, state.captured(2).toInt());
        }
        if (said.hasMatch() && said.captured(1).toInt() != worst)
            return u"the worst state is not the worst: "_s + err;
        writeAll(
            skinRun.folder + u"/render.json"_s, QJsonDocument(kitreference::manifest(renderSkin)).toJson());
        const QString rendered = CommandRun::of(&RenderCommand::run,
            QStringList { u"--manifest"_s, skinRun.folder + u"/render.json"_s, u"--transparent"_s,
                u"--name"_s, u"{control}/{width}/{state}"_s }
                + common + QStringList { skinRun.folder + u"/render"_s },
            m_folder->path())
                                     .failure();
        if (!rendered.isEmpty())
            return u"render "_s + rendered;
        writeAll(skinRun.folder + u"/page.html"_s, testPage());
        return {};
    }

private Q_SLOTS:
    void initTestCase()
    {
        quillet::form::FontSetup::install();
        if (!browserReady())
            QSKIP("chromium or python3-websocket missing");
        m_folder = new ProgramFolder(ProgramFolder::shippedSkinNames());
        for (const QString &skin : testedskins::representative())
            m_runs[skin].problem = prepare(m_runs[skin], { u"--skin"_s, skin }, skin);
        m_runs[u"dark"_s].problem = prepare(m_runs[u"dark"_s],
            { u"--skin"_s, u"经典"_s, u"--dark-skin"_s, u"Night Glass"_s }, u"Night Glass"_s);

        QJsonObject jobs;
        for (const auto &[key, run] : m_runs.asKeyValueRange()) {
            if (!run.problem.isEmpty())
                continue;
            for (int scale : kScales)
                jobs[key + u'/' + QString::number(scale)] = QJsonObject { { u"scale"_s, scale },
                    { u"page"_s, QString(run.folder + u"/page.html"_s) }, { u"dark"_s, key == u"dark"_s } };
        }
        // The demo page, in both colour schemes.
        for (bool dark : { false, true })
            jobs[dark ? u"demo-dark/1"_s : u"demo/1"_s] = QJsonObject { { u"scale"_s, 1 },
                { u"page"_s, QString(m_runs.value(u"dark"_s).folder + u"/kit/kit.html"_s) },
                { u"dark"_s, dark } };
        jobs[u"demo-inline/1"_s] = QJsonObject { { u"scale"_s, 1 },
            { u"page"_s, QString(m_runs.value(u"dark"_s).folder + u"/kit-inline/kit.html"_s) },
            { u"dark"_s, false } };
        const QString jobFile = m_root.filePath(u"jobs.json"_s);
        writeAll(jobFile, QJsonDocument(jobs).toJson());
        QString error;
        m_results = runDriver("kitpage.py", { jobFile }, &error).object();
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
    void cleanupTestCase() { delete m_folder; }

    // The demo page rows load every piece and style without a console error; the test page
    // rows compare every pinned, real and check box state with the renderer's picture.
    void kitEqualsRenderer_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("scale");
        for (const QString &key : testedskins::representative() + QStringList { u"dark"_s }) {
            for (int scale : kScales)
                QTest::addRow("%s, %dx", qPrintable(key), scale) << key << scale;
        }
        QTest::newRow("demo page, light") << u"demo"_s << 1;
        QTest::newRow("demo page, dark") << u"demo-dark"_s << 1;
        QTest::newRow("demo page, in-line kit") << u"demo-inline"_s << 1;
    }
    void kitEqualsRenderer()
    {
        QFETCH(QString, key);
        QFETCH(int, scale);
        const SkinRun skinRun = m_runs.value(key);
        QVERIFY2(skinRun.problem.isEmpty(), qPrintable(skinRun.problem));
        const QJsonObject result = m_results.value(key + u'/' + QString::number(scale)).toObject();
        QVERIFY2(result.value(u"errors"_s).toArray().isEmpty(),
            QJsonDocument(result.value(u"errors"_s).toArray()).toJson().constData());
        QMap<QString, QImage> shots;
        for (const QString &shot : { u"shot"_s, u"hoverShot"_s, u"activeShot"_s, u"focusShot"_s })
            shots[shot] = shotImage(result, shot);
        QVERIFY(!shots[u"shot"_s].isNull());
        if (!m_runs.contains(key))
            return;
        const QJsonObject rects = result.value(u"rects"_s).toObject();
        const auto crop = [&](const QString &shot, const QString &name) {
            const QJsonArray r = rects.value(name).toArray();
            return r.size() != 4
                ? QImage()
                : shots[shot].copy(qRound(r[0].toDouble() * scale), qRound(r[1].toDouble() * scale),
                    qRound(r[2].toDouble() * scale), qRound(r[3].toDouble() * scale));
        };
        // Chromium draws a repeated background through a pattern and a picture element
        // directly, which may round a see-through pixel a level apart. No more: a skin the
        // kit cannot rebuild exactly fails here.
        QList<std::tuple<QString, QImage, QImage, int>> same; // what, shown, expected, allowed
        // The kit's own report of the state goes with a failure.
        const auto add
            = [&](const QString &shot, const QString &element, const QString &reference, const char *state) {
                  const int said = skinRun.reported.value(QLatin1String(state), -1);
                  same.append({ element + u" against "_s + reference
                          + (said < 0 ? QString() : u" (the kit says %1 levels)"_s.arg(said)),
                      crop(shot, element), crop(u"shot"_s, reference), 1 });
              };
        // Real mouse and keyboard give what the pinning classes give.
        for (const char *real : { "hover", "active", "focus" })
            add(QLatin1String(real) + u"Shot"_s, u"real-"_s + QLatin1String(real),
                u"ref-%1-104"_s.arg(QLatin1String(real)), real);
        add(u"shot"_s, u"real-disabled"_s, u"ref-disabled-104"_s, "disabled");
        add(u"shot"_s, u"real-hover"_s, u"ref-normal-104"_s, "normal");
        for (const PinnedCheck &check : kChecks)
            add(u"shot"_s, u"check-"_s + QLatin1String(check.word),
                u"ref-check-"_s + QLatin1String(check.word), "");
        const QString mark = scale == 1 ? QString() : u"@%1x"_s.arg(scale);
        for (const Pinned &state : kStates) {
            for (int width : kWidths) {
                const QString name = u"%1-%2"_s.arg(QLatin1String(state.word)).arg(width);
                add(u"shot"_s, name, u"ref-"_s + name, state.word);
                // The picture element is the renderer's file on the page; the browser premultiplies
                // its straight alpha first, which costs up to a level against exact arithmetic.
                same.append({ u"ref-"_s + name + u" against its file"_s, crop(u"shot"_s, u"ref-"_s + name),
                    onPage(
                        skinRun.folder + u"/render/button/%1/%2%3.png"_s.arg(width).arg(state.picture, mark)),
                    1 });
            }
        }
        // A kit of pieces shows the sheet kit's pixels, and an in-line one the piece kit's.
        for (const Variant &variant : kVariants) {
            QStringList names;
            for (const Pinned &state : kStates) {
                for (int width : kWidths)
                    names << u"%1-%2"_s.arg(QLatin1String(state.word)).arg(width);
            }
            for (const PinnedCheck &check : kChecks)
                names << u"check-"_s + QLatin1String(check.word);
            for (const QString &name : std::as_const(names))
                same.append({ variant.folder + u'-' + name + u" against "_s + variant.against + name,
                    crop(u"shot"_s, variant.folder + u'-' + name), crop(u"shot"_s, variant.against + name),
                    variant.allowed });
        }
        // Every mismatch at once, so that one failing state does not hide another.
        QStringList problems;
        for (const auto &[what, shown, expected, allowed] : same) {
            if (const QString problem = unlike(shown, expected, allowed); !problem.isEmpty())
                problems << what + problem;
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u"\n   "_s)));
    }
};

QTEST_MAIN(TestKitBrowser)
#include "tst_kitbrowser.moc"
