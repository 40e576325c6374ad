// The web kit at the ratios screens and page zoom give, in headless Chromium (DevTools) and
// Firefox ESR (Marionette), by tests/support/zoompage.py. Over two page colours a button's
// face shows the same pixels: nothing of the page comes through where the pieces meet. Where
// the kit has the density shown (1x, 1.5x at even widths, 2x and 3x) its buttons are the
// renderer's pictures within a level, and so are its check boxes at whole densities. One
// browser per ratio at most; three kinds of face, every shipped skin and ratio with
// QUILLET_KITZOOM_SKINS=all.
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

#include <algorithm>
#include <cmath>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr const char *kAll = "QUILLET_KITZOOM_SKINS";
// Far from every skin's colours and from each other in every channel.
const QColor kColours[] = { QColor(255, 0, 255), QColor(0, 255, 0) };
// Odd widths put the right cap on half a device pixel at 1.5x, 1.25x and 2.5x; each has its
// even neighbour above it, which the renderer draws at 1.5x.
constexpr int kWidths[] = { 40, 104, 151, 152, 217, 218, 300 };
constexpr qreal kDensities[] = { 1, 1.5, 2, 3 };
// Places on the page are multiples of 4 CSS pixels: whole device pixels at every ratio tried.
constexpr int kStep = 4;

struct PinnedState
{
    const char *word;
    QString pin;
    QString picture;
};
const PinnedState kStates[] = { { "normal", QString(), u"正常"_s }, { "hover", u" is-hover"_s, u"点燃"_s },
    { "focus", u" is-focus"_s, u"焦点"_s }, { "active", u" is-active"_s, u"按下"_s },
    { "disabled", u" is-disabled"_s, u"禁止"_s } };
struct PinnedCheck
{
    const char *word;
    QString classes;
    QString attributes;
    QString picture;
};
const PinnedCheck kChecks[] = { { "off", QString(), QString(), u"正常"_s },
    { "hover", u" is-hover"_s, QString(), u"点燃"_s }, { "on", QString(), u" checked"_s, u"选中"_s },
    { "disabled", QString(), u" disabled"_s, u"禁止"_s } };

// One browser at one ratio; `exact` where the kit has the density shown and the browser
// draws it 1:1. Firefox scales between its own rounding of 1.5x boxes, so it is held to the
// renderer at whole ratios only.
struct Run
{
    const char *browser;
    qreal ratio;
    bool exact;
    bool lean; // in the run every build takes
};
constexpr Run kRuns[] = { { "chromium", 1, true, false }, { "chromium", 1.25, false, true },
    { "chromium", 1.5, true, true }, { "chromium", 1.75, false, true }, { "chromium", 2, true, false },
    { "chromium", 2.5, false, true }, { "chromium", 3, true, false }, { "firefox", 1, true, false },
    { "firefox", 1.25, false, false }, { "firefox", 1.5, false, true }, { "firefox", 2, true, true } };

QString runName(const Run &run)
{
    return QLatin1String(run.browser) + u'/' + QString::number(run.ratio);
}

bool defined(int width, qreal ratio)
{
    return std::fmod(width * ratio, 1.0) == 0.0;
}

int roundUp(int length)
{
    return (length + kStep - 1) / kStep * kStep;
}

QByteArray testPage()
{
    QString page = u"<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
                   "<link rel=\"stylesheet\" href=\"kit/kit.css\">\n<style>html, body { margin: 0; } "
                   "[data-shot] { position: absolute; }</style></head><body>\n"_s;
    int y = kStep * 2;
    for (const PinnedState &state : kStates) {
        int x = kStep * 2;
        for (int width : kWidths) {
            page += u"<button class=\"qk-button%1\" tabindex=\"-1\" data-shot=\"%2-%3\" "
                    "style=\"left:%4px;top:%5px;width:%3px\"></button>\n"_s
                        .arg(state.pin, QLatin1String(state.word))
                        .arg(width)
                        .arg(x)
                        .arg(y);
            x += roundUp(width + 8);
        }
        y += roundUp(kitreference::kHeight + 8);
    }
    int x = kStep * 2;
    for (const PinnedCheck &check : kChecks) {
        page += u"<input type=\"checkbox\" class=\"qk-check%1\" tabindex=\"-1\"%2 data-shot=\"check-%3\" "
                "style=\"left:%4px;top:%5px\">\n"_s
                    .arg(check.classes, check.attributes, QLatin1String(check.word))
                    .arg(x)
                    .arg(y);
        x += kStep * 6;
    }
    // Room below the last row, so that no shot is cut at the page's edge.
    page += u"<div style=\"height:%1px\"></div></body></html>\n"_s.arg(y + 40);
    return page.toUtf8();
}

// The renderer's see-through picture on an opaque page, rounded as a browser blends.
QImage onPage(const QImage &picture, const QColor &page)
{
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    const int ground[] = { page.red(), page.green(), page.blue() };
    for (int y = 0; y < out.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int a = qAlpha(row[x]);
            int o[] = { qRed(row[x]), qGreen(row[x]), qBlue(row[x]) };
            for (int i = 0; i < 3; ++i)
                o[i] = (o[i] * a + ground[i] * (255 - a) + 127) / 255;
            row[x] = qRgb(o[0], o[1], o[2]);
        }
    }
    return out;
}

// The largest channel difference and where; -1 for sizes apart.
std::pair<int, QPoint> worst(const QImage &a, const QImage &b)
{
    if (a.isNull() || a.size() != b.size())
        return { -1, {} };
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    std::pair<int, QPoint> result { 0, {} };
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            const int d = std::max({ qAbs(qRed(p[col]) - qRed(q[col])), qAbs(qGreen(p[col]) - qGreen(q[col])),
                qAbs(qBlue(p[col]) - qBlue(q[col])) });
            if (d > result.first)
                result = { d, QPoint(col, row) };
        }
    }
    return result;
}

// Opaque pixels of a see-through picture summed over the rectangle from its origin, so that
// whether a rectangle is opaque costs four reads.
class OpaqueSums
{
public:
    explicit OpaqueSums(const QImage &picture)
        : m_w(picture.width())
        , m_h(picture.height())
        , m_ratio(picture.devicePixelRatio())
        , m_sums(size_t((m_w + 1) * (m_h + 1)), 0)
    {
        const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < m_h; ++y) {
            const auto *row = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
            for (int x = 0; x < m_w; ++x)
                at(x + 1, y + 1) = (qAlpha(row[x]) == 255) + at(x + 1, y) + at(x, y + 1) - at(x, y);
        }
    }
    // Whether the square of CSS pixels round (cx, cy) is opaque, reach each way.
    bool opaque(qreal cx, qreal cy, qreal reach) const
    {
        const int x0 = int(std::floor(m_ratio * (cx - reach)));
        const int y0 = int(std::floor(m_ratio * (cy - reach)));
        const int x1 = int(std::ceil(m_ratio * (cx + reach)));
        const int y1 = int(std::ceil(m_ratio * (cy + reach)));
        if (x0 < 0 || y0 < 0 || x1 > m_w || y1 > m_h || x1 <= x0 || y1 <= y0)
            return false;
        return value(x1, y1) - value(x0, y1) - value(x1, y0) + value(x0, y0) == (x1 - x0) * (y1 - y0);
    }

private:
    int &at(int x, int y) { return m_sums[size_t(y * (m_w + 1) + x)]; }
    int value(int x, int y) const { return m_sums[size_t(y * (m_w + 1) + x)]; }
    int m_w;
    int m_h;
    qreal m_ratio;
    std::vector<int> m_sums;
};

// The renderer's picture of a button at one density; at 1.5x an odd width has none, and the
// next even width's stands in, its right half moved by the pixel between them.
struct Reference
{
    QImage picture;
    int rightShift = 0;
};

// Which device pixels of a button `width` wide shown at `ratio` are face: within reach of
// the browser's filter (two pixels of the sparsest density it may take, `reach` CSS pixels
// round the pixel's centre) the renderer's picture is opaque at every density the kit holds.
// Its edges and corners, which blend with the page by design, are not.
QImage faceMask(const QList<Reference> &pictures, int width, QSize device, qreal ratio, qreal reach)
{
    QList<std::pair<OpaqueSums, int>> sums;
    for (const Reference &reference : pictures)
        sums.append({ OpaqueSums(reference.picture), reference.rightShift });
    QImage mask(device, QImage::Format_Grayscale8);
    mask.fill(0);
    for (int y = 0; y < device.height(); ++y) {
        uchar *row = mask.scanLine(y);
        for (int x = 0; x < device.width(); ++x) {
            const qreal cx = (x + 0.5) / ratio;
            const qreal cy = (y + 0.5) / ratio;
            row[x] = std::all_of(sums.begin(), sums.end(),
                         [&](const auto &s) {
                             return s.first.opaque(cx + (2 * cx >= width ? s.second : 0), cy, reach);
                         })
                ? 255
                : 0;
        }
    }
    return mask;
}

struct SkinPage
{
    QString folder;
    QString problem;
    // Whether the default kit has 1.5x pieces: it leaves them out where they would cost it
    // its exactness at the other densities.
    bool half = false;
};

} // namespace

class TestKitZoom : public QObject
{
    Q_OBJECT

    ProgramFolder *m_folder = nullptr;
    QTemporaryDir m_root;
    QMap<QString, SkinPage> m_pages;
    QJsonObject m_results; // by "{browser}/{ratio}/{skin}"
    QMap<QString, QImage> m_pictures;

    static QList<Run> runs()
    {
        QList<Run> chosen;
        for (const Run &run : kRuns) {
            if (run.lean || testedskins::allAsked(kAll))
                chosen.append(run);
        }
        return chosen;
    }

    // The kit at every density and the renderer's pictures: 1x, 2x and 3x at every width,
    // 1.5x at the even ones; the check boxes at whole densities.
    QString prepare(const QString &skin, const QString &folder)
    {
        const CommandRun kit = CommandRun::of(&quillet::batch::KitCommand::run,
            { u"--skin"_s, skin, u"--focus"_s, u"--out"_s, folder + u"/kit"_s }, m_folder->path());
        if (!kit.failure().isEmpty())
            return u"kit "_s + kit.failure();
        for (bool half : { false, true }) {
            QJsonArray entries;
            for (int width : kWidths) {
                if (half && width % 2)
                    continue;
                QJsonObject entry { { u"skin"_s, skin }, { u"text"_s, u" "_s }, { u"width"_s, width },
                    { u"height"_s, kitreference::kHeight }, { u"controls"_s, u"button"_s } };
                if (width == kWidths[0] && !half) {
                    entry[u"controls"_s] = u"button,check"_s;
                    entry[u"check-states"_s] = true;
                }
                entries.append(entry);
            }
            const QString manifest = folder + (half ? u"/half.json"_s : u"/whole.json"_s);
            writeAll(manifest, QJsonDocument(entries).toJson());
            const QString failed = CommandRun::of(&quillet::batch::RenderCommand::run,
                { u"--manifest"_s, manifest, u"--transparent"_s, u"--focus"_s, u"--name"_s,
                    u"{control}/{width}/{state}"_s, u"--scale"_s, half ? u"1.5"_s : u"1,2,3"_s, u"--out"_s,
                    folder + u"/render"_s },
                m_folder->path())
                                       .failure();
            if (!failed.isEmpty())
                return u"render "_s + failed;
        }
        writeAll(folder + u"/page.html"_s, testPage());
        return {};
    }

    const QImage &rendered(const QString &folder, const QString &file)
    {
        auto found = m_pictures.find(folder + file);
        if (found == m_pictures.end()) {
            QImage picture(folder + u"/render/"_s + file);
            // The density is in the name: NAME@1.5x.png.
            const QRegularExpressionMatch at = QRegularExpression(u"@([0-9.]+)x\\.png$"_s).match(file);
            picture.setDevicePixelRatio(at.hasMatch() ? at.captured(1).toDouble() : 1.0);
            found = m_pictures.insert(folder + file, picture);
        }
        return *found;
    }

private Q_SLOTS:
    void initTestCase()
    {
        quillet::form::FontSetup::install();
        const bool chromium = browserReady();
        const bool firefox = !QStandardPaths::findExecutable(u"firefox-esr"_s).isEmpty();
        if (!chromium || !firefox)
            QSKIP("chromium, python3-websocket or firefox-esr missing");
        m_folder = new ProgramFolder(ProgramFolder::shippedSkinNames());
        QJsonObject jobs;
        const QStringList skins = testedskins::representativeOrAll(kAll);
        for (const QString &skin : skins) {
            SkinPage &page = m_pages[skin];
            page.folder = m_root.filePath(QString::number(m_pages.size()));
            page.problem = prepare(skin, page.folder);
            page.half = QFileInfo::exists(page.folder + u"/kit/kit/kit-1.5x.png"_s);
            if (!page.problem.isEmpty())
                continue;
            QJsonArray colours;
            for (const QColor &colour : kColours)
                colours.append(colour.name());
            for (const Run &run : runs())
                jobs[runName(run) + u'/' + skin]
                    = QJsonObject { { u"browser"_s, QLatin1String(run.browser) }, { u"ratio"_s, run.ratio },
                          { u"page"_s, QString(page.folder + u"/page.html"_s) }, { u"colours"_s, colours } };
        }
        const QString jobFile = m_root.filePath(u"jobs.json"_s);
        writeAll(jobFile, QJsonDocument(jobs).toJson());
        QString error;
        m_results = runDriver("zoompage.py", { jobFile }, &error).object();
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
    void cleanupTestCase() { delete m_folder; }

    void zoomedKit_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<QString>("browser");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<bool>("exact");
        for (const QString &skin : testedskins::representativeOrAll(kAll)) {
            for (const Run &run : runs())
                QTest::addRow("%s, %s", qPrintable(skin), qPrintable(runName(run)))
                    << skin << QString::fromLatin1(run.browser) << run.ratio << run.exact;
        }
    }
    void zoomedKit()
    {
        QFETCH(QString, skin);
        QFETCH(QString, browser);
        QFETCH(qreal, ratio);
        QFETCH(bool, exact);
        const SkinPage page = m_pages.value(skin);
        exact = exact && (ratio != 1.5 || page.half);
        QVERIFY2(page.problem.isEmpty(), qPrintable(page.problem));
        const QJsonObject result
            = m_results.value(browser + u'/' + QString::number(ratio) + u'/' + skin).toObject();
        QVERIFY2(result.value(u"errors"_s).toArray().isEmpty(),
            QJsonDocument(result.value(u"errors"_s).toArray()).toJson().constData());
        QList<QImage> shots;
        for (const QColor &colour : kColours) {
            shots.append(shotImage(result.value(u"shots"_s).toObject(), colour.name()));
            QVERIFY2(!shots.last().isNull(), qPrintable(colour.name()));
        }
        const QJsonObject rects = result.value(u"rects"_s).toObject();
        // A box in device pixels, rounded out: a half pixel at an odd width is in it.
        const auto box = [&](const QString &name) {
            const QJsonArray r = rects.value(name).toArray();
            if (r.size() != 4)
                return QRect();
            const int left = int(std::floor(r[0].toDouble() * ratio));
            const int top = int(std::floor(r[1].toDouble() * ratio));
            return QRect(left, top, int(std::ceil((r[0].toDouble() + r[2].toDouble()) * ratio)) - left,
                int(std::ceil((r[1].toDouble() + r[3].toDouble()) * ratio)) - top);
        };
        // The sparsest density of the kit the browser may show here, and one of its pixels round
        // each centre.
        qreal below = kDensities[0];
        for (qreal density : kDensities) {
            if (density <= ratio && (density != 1.5 || page.half))
                below = density;
        }
        // A scaling filter reaches two source pixels each way (bicubic in Chromium).
        const qreal reach = 2 / below;
        const QString mark = ratio == 1 ? QString() : u"@%1x"_s.arg(ratio);

        QStringList problems;
        qint64 facePixels = 0;
        for (const PinnedState &state : kStates) {
            for (int width : kWidths) {
                const QString name = u"%1-%2"_s.arg(QLatin1String(state.word)).arg(width);
                const QRect at = box(name);
                if (at.isEmpty() || !QRect(QPoint(), shots[0].size()).contains(at)) {
                    problems << name + u": not on the page"_s;
                    continue;
                }
                const QImage a = shots[0].copy(at).convertToFormat(QImage::Format_RGB32);
                const QImage b = shots[1].copy(at).convertToFormat(QImage::Format_RGB32);
                QList<Reference> pictures;
                for (qreal density : kDensities) {
                    const int drawn = defined(width, density) ? width : width + 1;
                    pictures.append({ rendered(page.folder,
                                          u"button/%1/%2%3.png"_s.arg(drawn).arg(state.picture,
                                              density == 1 ? QString() : u"@%1x"_s.arg(density))),
                        drawn - width });
                }
                const QImage mask = faceMask(pictures, width, at.size(), ratio, reach);
                int seen = 0;
                int through = 0;
                int most = 0; // levels apart
                QPoint first;
                for (int y = 0; y < mask.height(); ++y) {
                    const uchar *face = mask.constScanLine(y);
                    const auto *p = reinterpret_cast<const QRgb *>(a.constScanLine(y));
                    const auto *q = reinterpret_cast<const QRgb *>(b.constScanLine(y));
                    for (int x = 0; x < mask.width(); ++x) {
                        if (!face[x])
                            continue;
                        ++seen;
                        if (p[x] == q[x])
                            continue;
                        if (through++ == 0)
                            first = QPoint(x, y);
                        most = std::max({ most, qAbs(qRed(p[x]) - qRed(q[x])),
                            qAbs(qGreen(p[x]) - qGreen(q[x])), qAbs(qBlue(p[x]) - qBlue(q[x])) });
                    }
                }
                facePixels += seen;
                if (seen == 0)
                    problems << name + u": no face pixel to look at"_s;
                if (through > 0)
                    problems
                        << u"%1: the page shows through %2 of %3 face pixels, first at (%4, %5), up to %6 "
                           "levels"_s.arg(name)
                               .arg(through)
                               .arg(seen)
                               .arg(first.x())
                               .arg(first.y())
                               .arg(most);
                if (!exact || !defined(width, ratio))
                    continue;
                const QImage &expected
                    = rendered(page.folder, u"button/%1/%2%3.png"_s.arg(width).arg(state.picture, mark));
                for (int c = 0; c < 2; ++c) {
                    const auto [d, where] = worst(shots[c].copy(at), onPage(expected, kColours[c]));
                    if (d < 0 || d > 1)
                        problems << u"%1 on %2: %3 levels from the renderer at (%4, %5)"_s
                                        .arg(name, kColours[c].name())
                                        .arg(d)
                                        .arg(where.x())
                                        .arg(where.y());
                }
            }
        }
        if (exact && std::floor(ratio) == ratio) {
            for (const PinnedCheck &check : kChecks) {
                const QString name = u"check-"_s + QLatin1String(check.word);
                const QImage &expected
                    = rendered(page.folder, u"check/13/%1%2.png"_s.arg(check.picture, mark));
                for (int c = 0; c < 2; ++c) {
                    const auto [d, where] = worst(shots[c].copy(box(name)), onPage(expected, kColours[c]));
                    if (d < 0 || d > 1)
                        problems << u"%1 on %2: %3 levels from the renderer"_s.arg(name, kColours[c].name())
                                        .arg(d);
                }
            }
        }
        if (testedskins::allAsked(kAll))
            qInfo("%s%s %s at %g: %lld face pixels, %s", qPrintable(skin), page.half ? "" : " (no 1.5x)",
                qPrintable(browser), ratio, facePixels,
                problems.isEmpty() ? "none shows the page, equal to the renderer where exact"
                                   : "faults below");
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u"\n   "_s)));
    }
};

QTEST_MAIN(TestKitZoom)
#include "tst_kitzoom.moc"
