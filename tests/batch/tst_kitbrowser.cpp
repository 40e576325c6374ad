// The kit in a real browser: headless Chromium (tests/support/kitpage.py) shows an empty
// kit button of any width in every state as the renderer's own see-through picture of it
// on the same page, at device scale factors 1 and 2, for every shipped skin. Real :hover,
// :active and :focus-visible (mouse and Tab) and a dark colour scheme are driven too.
#include "batch/kitcommand.h"
#include "batch/rendercommand.h"
#include "platform/form/fontsetup.h"

#include "support/programfolder.h"
#include "support/testfiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using quillet::batch::RenderCommand;
using quillet::batch::KitCommand::run;

namespace {

// Not grey, so a wrong alpha shows in every channel.
const QColor kPage(90, 143, 208);
constexpr int kWidths[] = { 40, 104, 217, 300 };
constexpr int kHeight = 24;
// Kit class, render's state word.
struct State
{
    const char *word;
    QString pin;
    QString picture;
};
const State kStates[] = {
    { "normal", QString(), u"正常"_s },
    { "hover", u" is-hover"_s, u"点燃"_s },
    { "focus", u" is-focus"_s, u"焦点"_s },
    { "active", u" is-active"_s, u"按下"_s },
    { "disabled", u" is-disabled"_s, u"禁止"_s },
};
struct Check
{
    const char *word;
    QString attribute;
    QString picture;
};
const Check kChecks[] = { { "off", QString(), u"正常"_s }, { "on", u" checked"_s, u"选中"_s },
    { "disabled", u" disabled"_s, u"禁止"_s } };

bool browserReady()
{
    if (QStandardPaths::findExecutable(u"chromium"_s).isEmpty() || !QFileInfo::exists(u"/usr/bin/python3"_s))
        return false;
    QProcess python;
    python.start(u"/usr/bin/python3"_s, { u"-c"_s, u"import websocket"_s });
    return python.waitForFinished(30000) && python.exitStatus() == QProcess::NormalExit
        && python.exitCode() == 0;
}

QStringList skinsToTry()
{
    QStringList names;
    for (const QString &file : ProgramFolder::shippedSkinNames())
        names << QFileInfo(file).completeBaseName();
#if defined(__SANITIZE_ADDRESS__)
    // The browser is the slow part, and none of it is ours: three skins (flat, glossy
    // picture, dotted focus ring) keep the program's side covered under the sanitizer.
    names = { u"Flat"_s, u"翡翠"_s, u"经典"_s };
#endif
    return names;
}

QString img(const QString &shot, const QString &file, int x, int y, int width, int height)
{
    const QString twice = QString(file).replace(u".png"_s, u"@2x.png"_s);
    return u"<img data-shot=\"%1\" src=\"%2\" srcset=\"%2 1x, %3 2x\" style=\"left:%4px;top:%5px;width:%6px;"
           "height:%7px\" alt=\"\">\n"_s.arg(shot, file, twice)
               .arg(x)
               .arg(y)
               .arg(width)
               .arg(height);
}

// Every state at every width, each above the renderer's picture of it; the buttons driven
// for real; the check boxes. `render` holds the renderer's pictures as {control}/{width}/{state}.
QByteArray testPage(const QString &render)
{
    QString page
        = u"<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
          "<link rel=\"stylesheet\" href=\"kit/kit.css\">\n<style>body { margin: 0; background: %1; "
          "width: 760px; height: 560px; } [data-shot] { position: absolute; }</style></head><body>\n"_s.arg(
              kPage.name());
    int y = 8;
    for (const State &state : kStates) {
        int x = 8;
        for (int width : kWidths) {
            page += u"<button class=\"qk-button%1\" tabindex=\"-1\" data-shot=\"%2-%3\" "
                    u"style=\"left:%4px;top:%5px;"
                    "width:%3px\"></button>\n"_s.arg(state.pin, QLatin1String(state.word))
                        .arg(width)
                        .arg(x)
                        .arg(y);
            page += img(u"ref-%1-%2"_s.arg(QLatin1String(state.word)).arg(width),
                u"%1/button/%2/%3.png"_s.arg(render).arg(width).arg(state.picture), x, y + kHeight + 2, width,
                kHeight);
            x += width + 8;
        }
        y += 2 * kHeight + 12;
    }
    // The real states: only #focus takes the keyboard focus.
    const struct
    {
        const char *id;
        QString attributes;
    } real[] = { { "hover", u" tabindex=\"-1\""_s }, { "active", u" tabindex=\"-1\""_s },
        { "focus", QString() }, { "disabled", u" disabled"_s } };
    int x = 8;
    for (const auto &button : real) {
        page += u"<button id=\"%1\" class=\"qk-button\"%2 data-shot=\"real-%1\" style=\"left:%3px;top:%4px;"
                "width:104px\"></button>\n"_s.arg(QLatin1String(button.id), button.attributes)
                    .arg(x)
                    .arg(y);
        x += 112;
    }
    y += kHeight + 12;
    x = 8;
    for (const Check &check : kChecks) {
        page += u"<input type=\"checkbox\" class=\"qk-check\" tabindex=\"-1\"%1 data-shot=\"check-%2\" "
                "style=\"left:%3px;top:%4px\">\n"_s.arg(check.attribute, QLatin1String(check.word))
                    .arg(x)
                    .arg(y);
        page += img(u"ref-check-%1"_s.arg(QLatin1String(check.word)),
            u"%1/check/13/%2.png"_s.arg(render, check.picture), x, y + 16, 13, 13);
        x += 24;
    }
    page += u"</body></html>\n"_s;
    return page.toUtf8();
}

QImage crop(const QImage &shot, const QJsonObject &rects, const QString &name, int scale)
{
    const QJsonArray r = rects.value(name).toArray();
    if (r.size() != 4)
        return {};
    return shot.copy(qRound(r[0].toDouble() * scale), qRound(r[1].toDouble() * scale),
        qRound(r[2].toDouble() * scale), qRound(r[3].toDouble() * scale));
}

// Largest difference of one colour channel, and where; -1 for sizes apart.
std::pair<int, QPoint> largestDifference(const QImage &a, const QImage &b)
{
    if (a.isNull() || a.size() != b.size())
        return { -1, {} };
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    std::pair<int, QPoint> worst { 0, {} };
    for (int row = 0; row < x.height(); ++row) {
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            const int d = std::max(
                { qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q)), qAbs(qBlue(p) - qBlue(q)) });
            if (d > worst.first)
                worst = { d, QPoint(col, row) };
        }
    }
    return worst;
}

// The renderer's see-through picture laid on the page by the usual rounding.
QImage onPage(const QString &file)
{
    const QImage picture = QImage(file).convertToFormat(QImage::Format_ARGB32);
    QImage out(picture.size(), QImage::Format_RGB32);
    const int page[] = { kPage.red(), kPage.green(), kPage.blue() };
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            const int a = qAlpha(p);
            const int c[] = { qRed(p), qGreen(p), qBlue(p) };
            int o[3];
            for (int i = 0; i < 3; ++i)
                o[i] = (c[i] * a + page[i] * (255 - a) + 127) / 255;
            out.setPixel(x, y, qRgb(o[0], o[1], o[2]));
        }
    }
    return out;
}

QImage decodeShot(const QJsonObject &result, const QString &key)
{
    return QImage::fromData(QByteArray::fromBase64(result.value(key).toString().toLatin1()), "PNG");
}

struct SkinRun
{
    QString folder;
    // The kit's own worst difference of each state; none for an exact skin.
    QMap<QString, int> reported;
    QString problem; // set up failure
};

} // namespace

class TestKitBrowser : public QObject
{
    Q_OBJECT

    ProgramFolder *m_folder = nullptr;
    QTemporaryDir m_root;
    QString m_skip;
    QMap<QString, SkinRun> m_runs;
    QJsonArray m_results;
    QStringList m_jobs; // "skin/scale" or "dark/scale" or "demo", in the order of m_results

    void prepare(const QString &key, const QStringList &kitArguments, const QString &renderSkin)
    {
        SkinRun &skinRun = m_runs[key];
        skinRun.folder = m_root.filePath(QString::number(m_runs.size()));
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        const int code = run(kitArguments
                + QStringList { u"--focus"_s, u"--scale"_s, u"1,2"_s, u"--out"_s,
                    skinRun.folder + u"/kit"_s },
            { m_folder->path(), outStream, errStream, false });
        errStream.flush();
        if (code != 0) {
            skinRun.problem = u"kit exit %1: %2"_s.arg(code).arg(err);
            return;
        }
        // An inexact skin says so on stderr and in the style sheet, with the same number.
        const QRegularExpression note(u"by up to (\\d+) levels"_s);
        const QRegularExpressionMatch said = note.match(err);
        const QRegularExpressionMatch written
            = note.match(QString::fromUtf8(readAll(skinRun.folder + u"/kit/kit.css"_s)));
        if (said.hasMatch() != written.hasMatch()
            || (said.hasMatch() && said.captured(1) != written.captured(1))) {
            skinRun.problem = u"stderr and kit.css disagree: "_s + err;
            return;
        }
        int worst = 0;
        for (const QRegularExpressionMatch &state :
            QRegularExpression(u"(normal|hover|focus|active|disabled) (\\d+)"_s).globalMatch(err)) {
            skinRun.reported[state.captured(1)] = state.captured(2).toInt();
            worst = qMax(worst, state.captured(2).toInt());
        }
        if (said.hasMatch() && said.captured(1).toInt() != worst) {
            skinRun.problem = u"the worst state is not the worst: "_s + err;
            return;
        }
        QJsonArray manifest;
        for (int width : kWidths)
            manifest.append(QJsonObject { { u"skin"_s, renderSkin }, { u"text"_s, u" "_s },
                { u"width"_s, width }, { u"height"_s, kHeight },
                { u"controls"_s, width == kWidths[0] ? u"button,check"_s : u"button"_s } });
        const QString manifestFile = skinRun.folder + u"/render.json"_s;
        writeAll(manifestFile, QJsonDocument(manifest).toJson());
        QTextStream quiet(&out);
        const int rendered = RenderCommand::run(
            { u"--manifest"_s, manifestFile, u"--transparent"_s, u"--focus"_s, u"--scale"_s, u"1,2"_s,
                u"--name"_s, u"{control}/{width}/{state}"_s, u"--out"_s, skinRun.folder + u"/render"_s },
            { m_folder->path(), quiet, quiet, false });
        if (rendered != 0) {
            skinRun.problem = u"render exit %1: %2"_s.arg(rendered).arg(out);
            return;
        }
        writeAll(skinRun.folder + u"/page.html"_s, testPage(u"render"_s));
    }

private Q_SLOTS:
    void initTestCase()
    {
        quillet::form::FontSetup::install();
        if (!browserReady()) {
            m_skip = u"chromium or python3-websocket missing"_s;
            return;
        }
        QStringList files;
        for (const QString &file : ProgramFolder::shippedSkinNames())
            files << file;
        m_folder = new ProgramFolder(files);
        for (const QString &skin : skinsToTry())
            prepare(skin, { u"--skin"_s, skin }, skin);
        prepare(u"dark"_s, { u"--skin"_s, u"经典"_s, u"--dark-skin"_s, u"Night Glass"_s }, u"Night Glass"_s);

        QJsonArray jobs;
        for (auto it = m_runs.cbegin(); it != m_runs.cend(); ++it) {
            if (!it->problem.isEmpty())
                continue;
            for (int scale : { 1, 2 }) {
                jobs.append(QJsonObject { { u"page"_s, QString(it->folder + u"/page.html"_s) },
                    { u"scale"_s, scale }, { u"dark"_s, it.key() == u"dark"_s } });
                m_jobs << it.key() + u'/' + QString::number(scale);
            }
        }
        // The demo page, in both colour schemes: no console error, every piece loads.
        for (bool dark : { false, true }) {
            jobs.append(
                QJsonObject { { u"page"_s, QString(m_runs.value(u"dark"_s).folder + u"/kit/kit.html"_s) },
                    { u"scale"_s, 1 }, { u"dark"_s, dark } });
            m_jobs << (dark ? u"demo-dark"_s : u"demo"_s);
        }
        const QString jobFile = m_root.filePath(u"jobs.json"_s);
        writeAll(jobFile, QJsonDocument(jobs).toJson());
        QProcess browser;
        browser.start(u"/usr/bin/python3"_s,
            { QStringLiteral(QUILLET_SOURCE_DIR "/tests/support/kitpage.py"), jobFile });
        QVERIFY(browser.waitForFinished(1200000));
        QVERIFY2(browser.exitStatus() == QProcess::NormalExit && browser.exitCode() == 0,
            browser.readAllStandardError().constData());
        m_results = QJsonDocument::fromJson(browser.readAllStandardOutput()).array();
        QCOMPARE(m_results.size(), m_jobs.size());
    }
    void cleanupTestCase() { delete m_folder; }

    void kitEqualsRenderer_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("scale");
        QStringList keys = skinsToTry();
        keys << u"dark"_s;
        for (const QString &key : keys) {
            for (int scale : { 1, 2 })
                QTest::addRow("%s, %dx", qPrintable(key), scale) << key << scale;
        }
    }
    void kitEqualsRenderer()
    {
        QFETCH(QString, key);
        QFETCH(int, scale);
        if (!m_skip.isEmpty())
            QSKIP(qPrintable(m_skip));
        const SkinRun skinRun = m_runs.value(key);
        QVERIFY2(skinRun.problem.isEmpty(), qPrintable(skinRun.problem));
        const qsizetype index = m_jobs.indexOf(key + u'/' + QString::number(scale));
        QVERIFY(index >= 0);
        const QJsonObject result = m_results.at(index).toObject();
        QVERIFY2(result.value(u"errors"_s).toArray().isEmpty(),
            QJsonDocument(result.value(u"errors"_s).toArray()).toJson().constData());
        const QJsonObject rects = result.value(u"rects"_s).toObject();
        const QImage shot = decodeShot(result, u"shot"_s);
        QVERIFY(!shot.isNull());
        // Chromium draws a repeated background through a pattern and a picture element
        // directly, which may round a see-through pixel a level apart; an inexact state may
        // differ as much again as the kit itself reports.
        const auto tolerance
            = [&](const char *state) { return 1 + skinRun.reported.value(QLatin1String(state)); };
        const auto expectSame
            = [&](const QImage &shown, const QString &reference, const QImage &expected, int allowed) {
                  const auto [difference, where] = largestDifference(shown, expected);
                  return difference >= 0 && difference <= allowed
                      ? QString()
                      : u" against %1: %2 levels at (%3, %4), allowed %5"_s.arg(reference)
                            .arg(difference)
                            .arg(where.x())
                            .arg(where.y())
                            .arg(allowed);
              };
        const QString mark = scale == 2 ? u"@2x"_s : QString();
        for (const State &state : kStates) {
            for (int width : kWidths) {
                const QString name = u"%1-%2"_s.arg(QLatin1String(state.word)).arg(width);
                const QImage reference = crop(shot, rects, u"ref-"_s + name, scale);
                // The picture element is the renderer's file on the page; the browser premultiplies
                // its straight alpha first, which costs up to a level against exact arithmetic.
                const QImage file = onPage(
                    skinRun.folder + u"/render/button/%1/%2%3.png"_s.arg(width).arg(state.picture, mark));
                QString problem = expectSame(reference, u"the file"_s, file, 1);
                QVERIFY2(problem.isEmpty(), qPrintable(u"picture "_s + name + problem));
                problem = expectSame(
                    crop(shot, rects, name, scale), u"the picture"_s, reference, tolerance(state.word));
                QVERIFY2(problem.isEmpty(), qPrintable(u"button "_s + name + problem));
            }
        }
        // Real mouse and keyboard give what the pinning classes give.
        const struct
        {
            const char *shot;
            const char *real;
            const char *reference;
            const char *state;
        } real[] = { { "hoverShot", "real-hover", "ref-hover-104", "hover" },
            { "activeShot", "real-active", "ref-active-104", "active" },
            { "focusShot", "real-focus", "ref-focus-104", "focus" },
            { "shot", "real-disabled", "ref-disabled-104", "disabled" },
            { "shot", "real-hover", "ref-normal-104", "normal" } };
        for (const auto &check : real) {
            const QImage driven = decodeShot(result, QLatin1String(check.shot));
            QVERIFY2(!driven.isNull(), check.shot);
            const QString problem = expectSame(crop(driven, rects, QLatin1String(check.real), scale),
                QLatin1String(check.reference), crop(shot, rects, QLatin1String(check.reference), scale),
                tolerance(check.state));
            QVERIFY2(problem.isEmpty(), qPrintable(QLatin1String(check.real) + problem));
        }
        for (const Check &check : kChecks) {
            const QString name = u"check-"_s + QLatin1String(check.word);
            const QString problem = expectSame(
                crop(shot, rects, name, scale), u"ref"_s, crop(shot, rects, u"ref-"_s + name, scale), 1);
            QVERIFY2(problem.isEmpty(), qPrintable(name + problem));
        }
    }

    // The demo page loads every piece and style without a console error, light and dark.
    void demoPageHasNoErrors_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("light") << u"demo"_s;
        QTest::newRow("dark") << u"demo-dark"_s;
    }
    void demoPageHasNoErrors()
    {
        QFETCH(QString, key);
        if (!m_skip.isEmpty())
            QSKIP(qPrintable(m_skip));
        const qsizetype index = m_jobs.indexOf(key);
        QVERIFY(index >= 0);
        const QJsonObject result = m_results.at(index).toObject();
        QVERIFY2(result.value(u"errors"_s).toArray().isEmpty(),
            QJsonDocument(result.value(u"errors"_s).toArray()).toJson().constData());
        QVERIFY(!decodeShot(result, u"shot"_s).isNull());
    }
};

QTEST_MAIN(TestKitBrowser)
#include "tst_kitbrowser.moc"
