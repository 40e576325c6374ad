// The pictures and pages written for the web: names, class names, the style sheet read by
// an outside CSS parser, the page, the sprite sheet, and the rendered pictures' alpha,
// transparent colour and 2x resolution.
#include "image/alphapicture.h"
#include "kit/kitcss.h"
#include "model/metrics.h"
#include "model/statetable.h"
#include "pictures/captionfont.h"
#include "pictures/cssclassname.h"
#include "pictures/picturebytes.h"
#include "pictures/spritecss.h"
#include "pictures/spritepage.h"
#include "pictures/spritesheet.h"
#include "pictures/webexport.h"
#include "pictures/webnames.h"
#include "platform/form/fontsetup.h"
#include "render/buttonrenderer.h"

#include "support/externaldecoder.h"
#include "support/testfiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

using namespace Qt::StringLiterals;
using namespace quillet::pictures;
using quillet::render::ButtonRenderer;
using quillet::render::RenderRequest;
using quillet::render::SampleState;
constexpr QSize kButtonSize { quillet::model::Metrics::kButtonWidth, quillet::model::Metrics::kButtonHeight };

namespace {

// Prints the rules of a style sheet read by tinycss2 as JSON: [[selector, {name: value},
// [identifier], [first string of each font-family or --*-font-family]]], or {"errors": [...]}
// when the parser finds any.
// The rules inside an @media block follow it, their selectors after its condition.
const char kCssReader[] = R"PY(
import json, sys, tinycss2
def flat(rules, condition=''):
    for rule in rules:
        if rule.type == 'at-rule' and rule.lower_at_keyword == 'media' and rule.content is not None:
            inner = tinycss2.parse_rule_list(rule.content, skip_comments=True, skip_whitespace=True)
            yield from flat(inner, '@media' + tinycss2.serialize(rule.prelude).rstrip() + ' ')
        else:
            yield condition, rule
rules = tinycss2.parse_stylesheet(sys.stdin.read(), skip_comments=True, skip_whitespace=True)
errors, out = [], []
for condition, rule in flat(rules):
    if rule.type == 'error':
        errors.append(rule.message); continue
    decls, fonts = {}, []
    for d in tinycss2.parse_declaration_list(rule.content, skip_comments=True, skip_whitespace=True):
        if d.type == 'error':
            errors.append(d.message); continue
        decls.setdefault(d.lower_name, []).append(tinycss2.serialize(d.value).strip())
        if d.lower_name == 'font-family' or d.lower_name.endswith('-font-family'):
            fonts += [t.value for t in d.value if t.type == 'string'][:1]
    idents = [t.value for t in rule.prelude if t.type == 'ident']
    out.append([condition + tinycss2.serialize(rule.prelude).strip(), decls, idents, fonts])
print(json.dumps({'errors': errors} if errors else out))
)PY";

// Debian's interpreter, where python3-tinycss2 is installed, before any other on the path.
QString python3()
{
    return QFileInfo::exists(u"/usr/bin/python3"_s) ? u"/usr/bin/python3"_s : u"python3"_s;
}

QJsonDocument readCss(const QString &css)
{
    QProcess python;
    python.start(python3(), { u"-c"_s, QString::fromLatin1(kCssReader) });
    if (!python.waitForStarted())
        return {};
    python.write(css.toUtf8());
    python.closeWriteChannel();
    python.waitForFinished(30000);
    return QJsonDocument::fromJson(python.readAllStandardOutput());
}

bool haveTinycss()
{
    QProcess python;
    python.start(python3(), { u"-c"_s, u"import tinycss2"_s });
    return python.waitForFinished(30000) && python.exitStatus() == QProcess::NormalExit
        && python.exitCode() == 0;
}

ButtonRenderer skinRenderer(const QString &name)
{
    return ButtonRenderer::fromSkinFile(QStringLiteral(QUILLET_SOURCE_DIR "/skins/") + name + u".an"_s);
}

RenderRequest buttonRequest(
    const QColor &background, qreal ratio = 1, SampleState state = SampleState::Normal)
{
    RenderRequest request;
    request.size = kButtonSize;
    request.caption = u"确定"_s;
    request.font = QFont(u"宋体"_s, 9);
    request.font = CaptionFont::forRatio(request.font, int(ratio));
    request.background = background;
    request.devicePixelRatio = ratio;
    request.state = state;
    return request;
}

QImage solid(const QColor &colour, int w = 6, int h = 4)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

// The largest channel difference between a see-through file (its colours and alpha as a
// decoder gives them) blended on a ground and the opaque picture drawn on that ground.
int worstBlend(const QImage &rgb, const QImage &alpha, const QImage &opaquePicture, const QColor &ground)
{
    const QImage opaque = opaquePicture.convertToFormat(QImage::Format_RGB32);
    int worst = 0;
    for (int y = 0; y < opaque.height(); ++y)
        for (int x = 0; x < opaque.width(); ++x) {
            const int a = qRed(alpha.pixel(x, y));
            const QRgb p = opaque.pixel(x, y);
            const QRgb c = rgb.pixel(x, y);
            const auto blend = [&](int channel, int g) { return (channel * a + g * (255 - a) + 127) / 255; };
            worst = std::max({ worst, qAbs(qRed(p) - blend(qRed(c), ground.red())),
                qAbs(qGreen(p) - blend(qGreen(c), ground.green())),
                qAbs(qBlue(p) - blend(qBlue(c), ground.blue())) });
        }
    return worst;
}

// Share of 2x2 blocks whose pixels are not all equal: zero for a nearest upscale.
double mixedBlockShare(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_ARGB32);
    int mixed = 0;
    int blocks = 0;
    for (int y = 0; y + 1 < rgb.height(); y += 2) {
        for (int x = 0; x + 1 < rgb.width(); x += 2) {
            const QRgb c = rgb.pixel(x, y);
            mixed += rgb.pixel(x + 1, y) != c || rgb.pixel(x, y + 1) != c || rgb.pixel(x + 1, y + 1) != c;
            ++blocks;
        }
    }
    return blocks ? double(mixed) / blocks : 0;
}

double meanDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    qint64 sum = 0;
    for (int j = 0; j < x.height(); ++j)
        for (int i = 0; i < x.width(); ++i) {
            const QRgb p = x.pixel(i, j);
            const QRgb q = y.pixel(i, j);
            sum += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q));
        }
    return double(sum) / (3.0 * x.width() * x.height());
}

QStringList shippedSkins()
{
    QStringList names;
    for (const QString &file :
        QDir(QStringLiteral(QUILLET_SOURCE_DIR "/skins")).entryList({ u"*.an"_s }, QDir::Files))
        names.append(file.chopped(3));
    return names;
}

} // namespace

class TestWebPictures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { quillet::form::FontSetup::install(); }

    void names_data()
    {
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("expected");
        QTest::newRow("1x unchanged") << WebNames::scaled(u"确定_正常.png"_s, 1) << u"确定_正常.png"_s;
        QTest::newRow("2x before the extension")
            << WebNames::scaled(u"确定_正常.png"_s, 2) << u"确定_正常@2x.png"_s;
        QTest::newRow("last dot only") << WebNames::scaled(u"v1.2_正常.gif"_s, 2) << u"v1.2_正常@2x.gif"_s;
        QTest::newRow("no extension") << WebNames::scaled(u"name"_s, 2) << u"name@2x"_s;
        QTest::newRow("1.5x and 3x") << WebNames::scaled(u"a.png"_s, 1.5) + WebNames::scaled(u"a.png"_s, 3)
                                     << u"a@1.5x.pnga@3x.png"_s;
        QTest::newRow("dot in a folder only") << WebNames::scaled(u"v1.2/name"_s, 2) << u"v1.2/name@2x"_s;
        QTest::newRow("only an extension") << WebNames::scaled(u".png"_s, 2) << u".png@2x"_s;
        QTest::newRow("sprite") << WebNames::sprite(u"确定"_s, 1) << u"确定_sprite.png"_s;
        QTest::newRow("sprite 2x") << WebNames::sprite(u"确定"_s, 2) << u"确定_sprite@2x.png"_s;
        QTest::newRow("css") << WebNames::css(u"确定"_s) << u"确定.css"_s;
        QTest::newRow("html") << WebNames::html(u"确定"_s) << u"确定.html"_s;
    }
    void names()
    {
        QFETCH(QString, result);
        QFETCH(QString, expected);
        QCOMPARE(result, expected);
    }

    void classNames_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("expected");
        QTest::newRow("chinese stays") << u"确定"_s << u"qb-确定"_s;
        QTest::newRow("latin") << u"OK"_s << u"qb-OK"_s;
        QTest::newRow("leading digit") << u"3D"_s << u"qb-3D"_s;
        QTest::newRow("leading hyphen digit") << u"-1"_s << u"qb--1"_s;
        QTest::newRow("empty") << QString() << u"qb-"_s;
        QTest::newRow("underscore doubled") << u"a_b"_s << u"qb-a__b"_s;
        QTest::newRow("space") << u"a b"_s << u"qb-a_u20_b"_s;
        QTest::newRow("dot and colon") << u"a.b:c"_s << u"qb-a_u2e_b_u3a_c"_s;
        QTest::newRow("quote and brace") << u"\"{}"_s << u"qb-_u22__u7b__u7d_"_s;
        QTest::newRow("ideographic space") << u"确\u3000定"_s << u"qb-确_u3000_定"_s;
        QTest::newRow("emoji pair") << u"\U0001F600"_s << u"qb-\U0001F600"_s;
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << u"qb-_ud800_"_s;
    }
    void classNames()
    {
        QFETCH(QString, caption);
        QFETCH(QString, expected);
        QCOMPARE(CssClassName::fromCaption(caption), expected);
    }

    void classNamesKeepCaptionsApart()
    {
        // Encodings that could meet: a literal "_u20_" and a space, "_" and "__".
        const QStringList captions { u"a b"_s, u"a_u20_b"_s, u"a_b"_s, u"a__b"_s, u"a-b"_s, u"ab"_s,
            u"A b"_s };
        QSet<QString> names;
        for (const QString &caption : captions)
            names.insert(CssClassName::fromCaption(caption));
        QCOMPARE(names.size(), captions.size());
    }

    void styleSheetParses_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QList<qreal>>("ratios");
        QTest::newRow("chinese, 1x") << u"确定"_s << QList<qreal> { 1 };
        QTest::newRow("chinese, 2x") << u"确定"_s << QList<qreal> { 1, 2 };
        QTest::newRow("every density") << u"确定"_s << QList<qreal> { 1, 1.5, 2, 3 };
        QTest::newRow("digits and spaces") << u"3 个 #文件?"_s << QList<qreal> { 1, 2 };
        QTest::newRow("quotes and backslash-free punctuation") << u"\"a\"(b)"_s << QList<qreal> { 1 };
    }
    void styleSheetParses()
    {
        QFETCH(QString, caption);
        QFETCH(QList<qreal>, ratios);
        if (!haveTinycss())
            QSKIP("python3-tinycss2 missing");
        const QString className = CssClassName::fromCaption(caption);
        SpriteCss::Sheet sheet { className, {}, kButtonSize };
        for (qreal ratio : ratios)
            sheet.files.append({ WebNames::sprite(caption, ratio), ratio });
        const bool dense = ratios.size() > 1;
        const QJsonDocument parsed = readCss(SpriteCss::text(sheet));
        QVERIFY2(parsed.isArray(), parsed.toJson().constData());
        const QJsonArray rules = parsed.array();
        QCOMPARE(rules.size(), 4);

        // Every selector names the class as one identifier, as a browser would read it.
        const QString selector = u'.' + className;
        const QStringList expectedSelectors { selector, selector + u":hover"_s, selector + u":active"_s,
            selector + u":disabled,\n"_s + selector + u".disabled"_s };
        const QStringList positions { u"0 0"_s, u"0 -24px"_s, u"0 -48px"_s, u"0 -72px"_s };
        for (int i = 0; i < 4; ++i) {
            const QJsonArray rule = rules.at(i).toArray();
            QCOMPARE(rule.at(0).toString(), expectedSelectors.at(i));
            QVERIFY(rule.at(2).toArray().contains(className));
            QCOMPARE(rule.at(1).toObject().value(u"background-position"_s).toArray().last().toString(),
                positions.at(i));
        }
        const QJsonObject base = rules.at(0).toArray().at(1).toObject();
        QCOMPARE(base.value(u"width"_s).toArray().first().toString(), u"104px"_s);
        QCOMPARE(base.value(u"background-size"_s).toArray().first().toString(), u"104px 96px"_s);
        const QJsonArray images = base.value(u"background-image"_s).toArray();
        const QString oneUrl = SpriteCss::url(sheet.files.first().file);
        QCOMPARE(images.first().toString(), oneUrl);
        QCOMPARE(images.size(), dense ? 3 : 1);
        if (dense) {
            QVERIFY(images.last().toString().startsWith(u"image-set("_s));
            // Every density in the set, each with its own sheet.
            for (const SpriteCss::SheetFile &file : sheet.files)
                QVERIFY2(images.last().toString().contains(SpriteCss::url(file.file) + u' ' + QString::number(file.ratio) + u'x'),
                    qPrintable(images.last().toString()));
        }
    }

    // Whatever a kit's family and skin names hold, the style sheet has the same rules as a
    // plain kit's, and the family reads back as itself.
    void kitStyleSheetKeepsTextInside_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("readBack"); // the family as a CSS parser reads it
        const QString plain = u"Plain"_s;
        const QString closing = u"x\"; } body { background: red } a { b: \"c"_s;
        QTest::newRow("family closing its string") << closing << plain << closing;
        QTest::newRow("family with a line feed")
            << u"x\nbody { background: red }"_s << plain << u"x\nbody { background: red }"_s;
        QTest::newRow("family ending in a backslash") << u"a\\22 b\\"_s << plain << u"a\\22 b\\"_s;
        QTest::newRow("family with controls and NUL")
            << u"a\u0000b\u0007c\u007f1"_s << plain << u"a\uFFFDb\u0007c\u007f1"_s;
        QTest::newRow("skin name ending the comment")
            << plain << u"x */ body { background: red } /* y"_s << plain;
    }
    void kitStyleSheetKeepsTextInside()
    {
        QFETCH(QString, family);
        QFETCH(QString, name);
        QFETCH(QString, readBack);
        if (!haveTinycss())
            QSKIP("python3-tinycss2 missing");
        const auto sheet = [](const QString &family, const QString &name) {
            quillet::kit::Request request;
            request.font = QFont(family, 9);
            request.focus = true;
            request.light.name = name;
            return readCss(quillet::kit::kitcss::text(quillet::kit::Model::build(request)));
        };
        const QJsonDocument plain = sheet(u"Plain"_s, u"Plain"_s);
        const QJsonDocument hostile = sheet(family, name);
        QVERIFY2(hostile.isArray(), hostile.toJson().constData());
        const QJsonArray rules = hostile.array();
        QCOMPARE(rules.size(), plain.array().size());
        QStringList fonts;
        for (qsizetype i = 0; i < rules.size(); ++i) {
            QCOMPARE(rules.at(i).toArray().at(0), plain.array().at(i).toArray().at(0));
            for (const QJsonValue &font : rules.at(i).toArray().at(3).toArray())
                fonts.append(font.toString());
        }
        QCOMPARE(fonts, QStringList { readBack });
    }

    void urlsCannotChangeTheFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << u"ok_sprite.png"_s << u"url(\"ok_sprite.png\")"_s;
        QTest::newRow("fragment and query") << u"a#b?c.png"_s << u"url(\"a%23b%3Fc.png\")"_s;
        QTest::newRow("quote") << u"a\"b.png"_s << u"url(\"a%22b.png\")"_s;
        QTest::newRow("chinese") << u"定.png"_s << u"url(\"%E5%AE%9A.png\")"_s;
    }
    void urlsCannotChangeTheFile()
    {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(SpriteCss::url(name), expected);
    }

    void pageEscapesTheCaption()
    {
        const QString page = SpritePage::html(u"<b>&\"x\"</b>"_s, u"qb-x"_s, u"a b.css"_s);
        QVERIFY(!page.contains(u"<b>"_s));
        QVERIFY(page.contains(u"&lt;b&gt;&amp;&quot;x&quot;&lt;/b&gt;"_s));
        QVERIFY(page.contains(u"href=\"a%20b.css\""_s));
        QCOMPARE(page.count(u"class=\"qb-x\""_s), 2);
        QCOMPARE(page.count(u" disabled>"_s), 1);
    }

    void sheetStacksTheStates_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("1x") << qreal(1);
        QTest::newRow("2x") << qreal(2);
    }
    void sheetStacksTheStates()
    {
        QFETCH(qreal, ratio);
        const QList<QColor> colours { Qt::red, Qt::green, QColor(0, 0, 255, 128), Qt::transparent };
        QList<QImage> states;
        for (const QColor &c : colours) {
            states.append(solid(c));
            states.last().setDevicePixelRatio(ratio);
        }
        const QImage sheet = SpriteSheet::assemble(states);
        QCOMPARE(sheet.size(), QSize(6, 16));
        QCOMPARE(sheet.devicePixelRatio(), ratio);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(sheet.pixel(3, i * 4 + 2), states[i].pixel(0, 0));
    }

    void sheetRefusesMismatchedStates()
    {
        QVERIFY(SpriteSheet::assemble({ solid(Qt::red), solid(Qt::red), solid(Qt::red) }).isNull());
        QVERIFY(SpriteSheet::assemble({ solid(Qt::red), solid(Qt::red), solid(Qt::red), solid(Qt::red, 5) })
                    .isNull());
        QImage twoX = solid(Qt::red);
        twoX.setDevicePixelRatio(2);
        QVERIFY(SpriteSheet::assemble({ solid(Qt::red), solid(Qt::red), solid(Qt::red), twoX }).isNull());
        QVERIFY(SpriteSheet::assemble({ solid(Qt::red), QImage(), solid(Qt::red), solid(Qt::red) }).isNull());
    }

    void twoXUsesAScalableFace()
    {
        const QFont bitmap(u"宋体"_s, 9);
        QVERIFY(CaptionFont::resolvesToBitmap(bitmap));
        QCOMPARE(CaptionFont::forRatio(bitmap, 1), bitmap);
        const QFont twoX = CaptionFont::forRatio(bitmap, 2);
        QCOMPARE(QFontInfo(twoX).family(), u"WenQuanYi Zen Hei"_s);
        QCOMPARE(twoX.pointSize(), 9);
        const QFont scalable(u"DejaVu Sans"_s, 9);
        QCOMPARE(CaptionFont::forRatio(scalable, 2), scalable);
    }

    void roundedCornersAreSeeThrough_data()
    {
        QTest::addColumn<QString>("skin");
        // The shipped skins whose buttons have a radius of 3 or more: their corner pixel is
        // outside the shape.
        for (const QString &skin : { u"Aqua"_s, u"Aqua Glass"_s, u"Candy"_s, u"Mono"_s, u"Neon"_s,
                 u"Sunset"_s, u"aqua2"_s, u"pastel"_s, u"玻璃"_s, u"翡翠"_s, u"青春"_s })
            QTest::newRow(qPrintable(skin)) << skin;
    }
    void roundedCornersAreSeeThrough()
    {
        QFETCH(QString, skin);
        if (!ExternalDecoder::available(u"pngtopnm"_s))
            QSKIP("netpbm missing");
        const ButtonRenderer renderer = skinRenderer(skin);
        ButtonJob job;
        job.caption = u"确定"_s;
        job.font = QFont(u"宋体"_s, 9);
        job.transparent = true;
        const WebExport::File normal = WebExport::plan(job).first();
        QCOMPARE(normal.name, u"确定_正常.png"_s);
        QTemporaryDir dir;
        const QString path = dir.filePath(normal.name);
        QVERIFY(writeAll(path, WebExport::produce(normal, job, renderer)));
        const QImage rgb = ExternalDecoder::decode(path);
        const QImage alpha = ExternalDecoder::decodeAlpha(path);
        QCOMPARE(rgb.size(), kButtonSize);
        QCOMPARE(alpha.size(), kButtonSize);
        for (const QPoint corner : { QPoint(0, 0), QPoint(103, 0), QPoint(0, 23), QPoint(103, 23) })
            QCOMPARE(qRed(alpha.pixel(corner)), 0);
        QCOMPARE(qRed(alpha.pixel(52, 12)), 255);

        // The file blended on white and on black is the opaque picture drawn there.
        for (const QColor &ground : { QColor(Qt::white), QColor(Qt::black) }) {
            const int worst = worstBlend(rgb, alpha, renderer.render(buttonRequest(ground)), ground);
            QVERIFY2(worst <= 1, qPrintable(u"worst channel difference %1 on "_s.arg(worst) + ground.name()));
        }
        int edge = 0;
        for (int y = 0; y < alpha.height(); ++y)
            for (int x = 0; x < alpha.width(); ++x)
                edge += qRed(alpha.pixel(x, y)) > 0 && qRed(alpha.pixel(x, y)) < 255;
        QVERIFY2(edge > 8, "the rounded edge has partial alpha");
    }

    // Shadows, half-transparent highlights, pills, a drop button without a fill and a glossy
    // check box: each see-through PNG the command writes blends on black and on white to the
    // opaque picture of the same state, so the two can never drift apart.
    void seeThroughStatesMatchOpaque_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("state");
        const auto row = [](const QString &skin, OutputGroup group, SampleState state, const char *name) {
            QTest::addRow("%s %s", qPrintable(skin), name) << skin << int(group) << int(state);
        };
        row(u"Aqua"_s, OutputGroup::ButtonStates, SampleState::Pressed, "pressed");
        row(u"Float"_s, OutputGroup::ButtonStates, SampleState::Normal, "normal");
        row(u"Float"_s, OutputGroup::ButtonStates, SampleState::Hot, "hot");
        row(u"Minimal"_s, OutputGroup::ButtonStates, SampleState::Disabled, "disabled");
        row(u"Minimal"_s, OutputGroup::ComboButton, SampleState::Disabled, "combo disabled");
        row(u"aqua2"_s, OutputGroup::CheckBox, SampleState::Checked, "checked");
        row(u"pastel"_s, OutputGroup::ButtonStates, SampleState::Normal, "normal");
        row(u"pastel"_s, OutputGroup::ButtonStates, SampleState::Hot, "hot");
        row(u"pastel"_s, OutputGroup::ButtonStates, SampleState::Pressed, "pressed");
        row(u"青春"_s, OutputGroup::ButtonStates, SampleState::Hot, "hot");
    }
    void seeThroughStatesMatchOpaque()
    {
        QFETCH(QString, skin);
        QFETCH(int, group);
        QFETCH(int, state);
        if (!ExternalDecoder::available(u"pngtopnm"_s))
            QSKIP("netpbm missing");
        const ButtonRenderer renderer = skinRenderer(skin);
        ButtonJob job;
        job.caption = u"确定"_s;
        job.font = QFont(u"宋体"_s, 9);
        job.comboFont = job.font;
        job.checkFont = job.font;
        job.button = OutputGroup(group) == OutputGroup::ButtonStates;
        job.combo = OutputGroup(group) == OutputGroup::ComboButton;
        job.check = OutputGroup(group) == OutputGroup::CheckBox;
        job.transparent = true;
        const QList<quillet::model::StateRow> rows
            = quillet::model::states::designerFiles(OutputGroup(group), false);
        std::optional<WebExport::File> chosen;
        for (const WebExport::File &file : WebExport::plan(job)) {
            if (file.kind == WebExport::Kind::State && file.group == OutputGroup(group)
                && rows.value(file.indexInGroup).state == SampleState(state))
                chosen = file;
        }
        QVERIFY(chosen);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"picture.png"_s);
        QVERIFY(writeAll(path, WebExport::produce(*chosen, job, renderer)));
        const QImage rgb = ExternalDecoder::decode(path);
        const QImage alpha = ExternalDecoder::decodeAlpha(path);
        QVERIFY(!rgb.isNull() && rgb.size() == alpha.size());
        int partial = 0;
        for (const QColor &ground : { QColor(Qt::white), QColor(Qt::black) }) {
            ButtonJob opaque = job;
            opaque.transparent = false;
            opaque.background = ground;
            const QImage drawn = WebExport::draw(*chosen, opaque, renderer);
            QCOMPARE(drawn.size(), rgb.size());
            const int worst = worstBlend(rgb, alpha, drawn, ground);
            QVERIFY2(worst <= 1, qPrintable(u"worst channel difference %1 on "_s.arg(worst) + ground.name()));
        }
        for (int y = 0; y < alpha.height(); ++y)
            for (int x = 0; x < alpha.width(); ++x)
                partial += qRed(alpha.pixel(x, y)) < 255;
        QVERIFY2(partial > 0, "the picture has see-through pixels");
    }

    void gifHidesOnlyTheCorners()
    {
        if (!ExternalDecoder::available(u"giftopnm"_s))
            QSKIP("netpbm missing");
        const ButtonRenderer renderer = skinRenderer(u"Aqua"_s);
        const QImage alpha = quillet::image::AlphaPicture::fromGrounds(
            renderer.render(buttonRequest(Qt::black)), renderer.render(buttonRequest(Qt::white)))
                                 .convertToFormat(QImage::Format_ARGB32);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"b.gif"_s);
        QVERIFY(writeAll(path, PictureBytes::transparent(alpha, PictureFormat::Gif, QColor(230, 235, 240))));
        const QImage mask = ExternalDecoder::decodeAlpha(path);
        QCOMPARE(mask.size(), alpha.size());
        int hidden = 0;
        for (int y = 0; y < mask.height(); ++y)
            for (int x = 0; x < mask.width(); ++x) {
                const bool transparent = qRed(mask.pixel(x, y)) == 0;
                hidden += transparent;
                // Only what is (nearly) outside the button's shape may be transparent.
                if (transparent)
                    QVERIFY2(qAlpha(alpha.pixel(x, y)) < 128, qPrintable(u"%1,%2"_s.arg(x).arg(y)));
                else
                    QVERIFY(qAlpha(alpha.pixel(x, y)) >= 128);
            }
        QVERIFY(hidden >= 4);
        QCOMPARE(qRed(mask.pixel(0, 0)), 0);
    }

    void twoXIsRedrawnNotScaled_data()
    {
        QTest::addColumn<QString>("skin");
        for (const QString &skin : shippedSkins())
            QTest::newRow(qPrintable(skin)) << skin;
    }
    void twoXIsRedrawnNotScaled()
    {
        QFETCH(QString, skin);
        const ButtonRenderer renderer = skinRenderer(skin);
        const QImage one = renderer.render(buttonRequest(Qt::white));
        const QImage two = renderer.render(buttonRequest(Qt::white, 2));
        QCOMPARE(two.size(), one.size() * 2);
        QCOMPARE(two.devicePixelRatio(), 2.0);
        QImage nearest = one.scaled(two.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
        QImage bilinear = one.scaled(two.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QCOMPARE(mixedBlockShare(nearest), 0.0);
        // The caption and the edges have detail at the finer pixel grid that neither
        // upscale has.
        QVERIFY2(mixedBlockShare(two) > 0.02, qPrintable(QString::number(mixedBlockShare(two))));
        QVERIFY2(
            meanDifference(two, nearest) > 0.5, qPrintable(QString::number(meanDifference(two, nearest))));
        QVERIFY2(
            meanDifference(two, bilinear) > 0.5, qPrintable(QString::number(meanDifference(two, bilinear))));
    }
};

QTEST_MAIN(TestWebPictures)
#include "tst_webpictures.moc"
