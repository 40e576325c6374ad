// Skins in an accent colour: the colour maths against reference values, the SVG and pixel
// recolouring, and every shipped skin as it is and in eight accents, whose captions must
// read over the whole glyph, whose focus must show and whose face must take the accent's hue. With
// QUILLET_CONTACT_SHEET set, also writes accents.png there.
#include "platform/form/fontsetup.h"
#include "render/accentedskin.h"
#include "render/buttonrenderer.h"
#include "render/legibilitycheck.h"
#include "skin/accent.h"
#include "skin/legibility.h"
#include "skin/skinparser.h"

#include "support/testedskins.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QtTest>

#include <cmath>

using namespace quillet;
namespace accent = skin::accent;

namespace {

// The six brand colours, then a light one (white captions on it read badly over a gloss) and a
// dark one.
const QStringList kAccents { QStringLiteral("#d32f2f"), QStringLiteral("#2e7d32"), QStringLiteral("#1565c0"),
    QStringLiteral("#6a1b9a"), QStringLiteral("#ef6c00"), QStringLiteral("#212121"),
    QStringLiteral("#f9a825"), QStringLiteral("#1a237e") };

QStringList skinFiles()
{
    const QDir dir(QStringLiteral(QUILLET_SOURCE_DIR "/skins"));
    QStringList files;
    for (const QString &name : dir.entryList({ QStringLiteral("*.an") }, QDir::Files, QDir::Name))
        files << dir.filePath(name);
    return files;
}

// The normal push button without a caption, on the skin's own ground.
QImage face(const skin::Skin &look)
{
    render::RenderRequest request;
    request.size = QSize(104, 24);
    request.background = look.base();
    return render::ButtonRenderer(look).render(request);
}

double dominantHue(const QImage &image)
{
    return skin::dominantHue(image).hue;
}

// One line per sample caption: skin, accent, caption, then the contrast of normal, hot, pressed
// and disabled, each the one 90 % of the glyph's body reaches.
void printCaptions(const QString &skinName, const QString &accentName, const skin::Skin &look)
{
    const QList<render::SampleState> states { render::SampleState::Normal, render::SampleState::Hot,
        render::SampleState::Pressed, render::SampleState::Disabled };
    QList<QList<render::LegibilityProbe>> byState;
    for (const render::SampleState state : states)
        byState << render::legibility::captionProbes(look, state);
    for (qsizetype c = 0; c < byState.first().size(); ++c) {
        QString line = QStringLiteral("| %1 | %2 | %3 |")
                           .arg(skinName, accentName.isEmpty() ? QStringLiteral("-") : accentName,
                               byState.first()[c].caption);
        for (const QList<render::LegibilityProbe> &probes : std::as_const(byState))
            line += QStringLiteral(" %1 |").arg(probes[c].measure.contrast, 0, 'f', 2);
        qInfo("%s", qPrintable(line));
    }
}

} // namespace

class TestAccent : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { form::FontSetup::install(); }

    // Reference values from the OKLab author's published table for the sRGB primaries.
    void knownValues_data()
    {
        QTest::addColumn<QString>("colour");
        QTest::addColumn<double>("L");
        QTest::addColumn<double>("C");
        QTest::addColumn<double>("h");
        QTest::newRow("red") << "#ff0000" << 0.62796 << 0.25768 << 29.234;
        QTest::newRow("green") << "#00ff00" << 0.86644 << 0.29483 << 142.495;
        QTest::newRow("blue") << "#0000ff" << 0.45201 << 0.31321 << 264.052;
        QTest::newRow("white") << "#ffffff" << 1.0 << 0.0 << -1.0;
        QTest::newRow("black") << "#000000" << 0.0 << 0.0 << -1.0;
    }
    void knownValues()
    {
        QFETCH(QString, colour);
        QFETCH(double, L);
        QFETCH(double, C);
        QFETCH(double, h);
        const accent::Oklch lch = accent::toOklch(QColor(colour));
        QVERIFY2(std::abs(lch.L - L) < 1e-3, qPrintable(QString::number(lch.L)));
        QVERIFY2(std::abs(lch.C - C) < 1e-3, qPrintable(QString::number(lch.C)));
        if (h >= 0)
            QVERIFY2(skin::hueDistance(lch.h, h) < 0.1, qPrintable(QString::number(lch.h)));
    }

    // Every 8-bit colour of a coarse grid comes back as itself.
    void roundTrip()
    {
        for (int r = 0; r < 256; r += 15) {
            for (int g = 0; g < 256; g += 15) {
                for (int b = 0; b < 256; b += 15) {
                    const QColor colour(r, g, b);
                    QCOMPARE(accent::fromOklch(accent::toOklch(colour)).rgb(), colour.rgb());
                }
            }
        }
    }

    // colour under accent: neutral ones stay; chromatic ones keep their lightness and
    // alpha and take the accent's hue, at a chroma sRGB can show.
    void recolour_data()
    {
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QColor>("accentColour");
        QTest::addColumn<bool>("kept");
        QTest::newRow("grey stays") << QColor("#808080") << QColor("#d32f2f") << true;
        QTest::newRow("warm grey stays") << QColor("#d4d0c8") << QColor("#1565c0") << true;
        QTest::newRow("white stays") << QColor("#ffffff") << QColor("#2e7d32") << true;
        QTest::newRow("blue to red") << QColor("#3f86e0") << QColor("#d32f2f") << false;
        QTest::newRow("pale tint to purple") << QColor("#c0ffff") << QColor("#6a1b9a") << false;
        QTest::newRow("hover tint to red") << QColor("#e8f0fc") << QColor("#d32f2f") << false;
        QTest::newRow("yellow to blue, out of gamut") << QColor("#ffff00") << QColor("#0000ff") << false;
        QTest::newRow("dark to orange") << QColor("#0d3f96") << QColor("#ef6c00") << false;
        QTest::newRow("half transparent") << QColor(30, 100, 220, 128) << QColor("#2e7d32") << false;
        QTest::newRow("to a grey accent") << QColor("#1b56a8") << QColor("#212121") << false;
    }
    void recolour()
    {
        QFETCH(QColor, colour);
        QFETCH(QColor, accentColour);
        QFETCH(bool, kept);
        const QColor result = accent::recolour(colour, accentColour);
        if (kept) {
            QCOMPARE(result, colour);
            return;
        }
        const accent::Oklch before = accent::toOklch(colour);
        const accent::Oklch after = accent::toOklch(result);
        const accent::Oklch target = accent::toOklch(accentColour);
        QCOMPARE(result.alpha(), colour.alpha());
        QVERIFY2(std::abs(after.L - before.L) < 0.01, qPrintable(result.name()));
        // A pale tint takes only its share of the accent's chroma.
        QVERIFY2(after.C <= target.C * std::min(1.0, before.C / accent::kFullChroma) + 0.01,
            qPrintable(result.name()));
        if (target.C < accent::kNeutralChroma)
            QVERIFY2(after.C < 0.01, qPrintable(result.name()));
        else if (after.C > 0.03)
            QVERIFY2(skin::hueDistance(after.h, target.h) < 3, qPrintable(result.name()));
    }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("colour"); // empty: refused
        QTest::newRow("six") << "#EF6C00"
                             << "#ef6c00";
        QTest::newRow("three") << "#f60"
                               << "#ff6600";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("no hash") << "ef6c00"
                                 << "";
        QTest::newRow("name") << "red"
                              << "";
        QTest::newRow("four") << "#f60a"
                              << "";
        QTest::newRow("eight") << "#ff6600ff"
                               << "";
        QTest::newRow("space") << " #ff6600"
                               << "";
        QTest::newRow("trailing newline") << "#ff6600\n"
                                          << "";
        QTest::newRow("not hex") << "#gg6600"
                                 << "";
        QTest::newRow("bidi") << QString::fromUtf8("#ff6600\u202e") << "";
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, colour);
        QString problem;
        const QColor parsed = accent::parse(text, &problem);
        QCOMPARE(parsed.isValid(), !colour.isEmpty());
        QCOMPARE(problem.isEmpty(), !colour.isEmpty());
        if (parsed.isValid())
            QCOMPARE(parsed.name(), colour);
    }

    void svg_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<bool>("changed");
        QTest::newRow("fill hex") << QStringLiteral("<rect fill=\"#3f86e0\"/>") << true;
        QTest::newRow("short hex") << QStringLiteral("<rect stroke=\"#38c\"/>") << true;
        QTest::newRow("stop in a style")
            << QStringLiteral("<stop style=\"stop-color: rgb(20, 90, 200)\"/>") << true;
        QTest::newRow("name") << QStringLiteral("<rect fill=\"teal\"/>") << true;
        QTest::newRow("neutral") << QStringLiteral("<rect fill=\"#ffffff\" stroke=\"#000\"/>") << false;
        QTest::newRow("none") << QStringLiteral("<rect fill=\"none\"/>") << false;
        QTest::newRow("reference") << QStringLiteral("<rect fill=\"url(#abc)\"/>") << false;
        QTest::newRow("link") << QStringLiteral("<use href=\"#abc\"/><g id=\"bad\"/>") << false;
        QTest::newRow("opacity") << QStringLiteral("<rect fill-opacity=\"0.5\"/>") << false;
    }
    void svg()
    {
        QFETCH(QString, in);
        QFETCH(bool, changed);
        const QByteArray out = accent::recolouredSvg(in.toUtf8(), QColor("#ef6c00"));
        QCOMPARE(out != in.toUtf8(), changed);
        if (changed) {
            // Only the colour was replaced: the markup around it is intact.
            QVERIFY2(out.startsWith(in.toUtf8().left(in.indexOf(u'=') + 1)), out.constData());
            QVERIFY2(out.endsWith(in.toUtf8().right(3)), out.constData());
            QVERIFY2(out.contains("#"), out.constData());
        }
    }

    void picture()
    {
        QImage image(2, 1, QImage::Format_ARGB32);
        image.setPixel(0, 0, qRgba(20, 90, 200, 255));
        image.setPixel(1, 0, qRgba(20, 90, 200, 64));
        const QImage out = accent::recolouredImage(image, QColor("#d32f2f"));
        QCOMPARE(qAlpha(out.pixel(0, 0)), 255);
        QCOMPARE(qAlpha(out.pixel(1, 0)), 64);
        QCOMPARE(out.pixel(0, 0) & 0xffffffu, out.pixel(1, 0) & 0xffffffu);
        QVERIFY(skin::hueDistance(
                    accent::toOklch(QColor(out.pixel(0, 0))).h, accent::toOklch(QColor("#d32f2f")).h)
            < 3);
    }

    // A face drawn from a PNG or an SVG picture takes the accent as the painter loads it, and
    // a painter of the skin as it is still draws the file's own colours (the cache is per accent).
    void pictureFaces_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("png") << "png";
        QTest::newRow("svg") << "svg";
    }
    void pictureFaces()
    {
        QFETCH(QString, suffix);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("face.") + suffix);
        if (suffix == u"png") {
            QImage picture(40, 24, QImage::Format_ARGB32);
            picture.fill(QColor(0x3f, 0x86, 0xe0));
            QVERIFY(picture.save(path));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(
                "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" height=\"24\" viewBox=\"0 0 40 24\">"
                "<rect width=\"40\" height=\"24\" fill=\"#3f86e0\"/></svg>");
        }
        skin::Skin original;
        skin::Look look = original.look(skin::Element::Button, skin::State::Normal);
        look.image = path;
        look.slice = QMargins(4, 4, 4, 4);
        original.setLook(skin::Element::Button, skin::State::Normal, look);
        const QColor orange("#ef6c00");
        const double plain = dominantHue(face(original));
        const double accented = dominantHue(face(accent::recoloured(original, orange)));
        QVERIFY2(skin::hueDistance(plain, accent::toOklch(QColor(0x3f, 0x86, 0xe0)).h) < 3,
            qPrintable(QString::number(plain)));
        QVERIFY2(skin::hueDistance(accented, accent::toOklch(orange).h) < 3,
            qPrintable(QString::number(accented)));
    }

    void shippedSkins_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("accentName");
        for (const QString &file : skinFiles()) {
            if (!testedskins::takes(QFileInfo(file).completeBaseName()))
                continue;
            for (const QString &name : QStringList { QString() } + kAccents)
                QTest::addRow("%s %s", qPrintable(QFileInfo(file).completeBaseName()),
                    name.isEmpty() ? "as shipped" : qPrintable(name))
                    << file << name;
        }
    }
    void shippedSkins()
    {
        QFETCH(QString, path);
        QFETCH(QString, accentName);
        const skin::Skin original = skin::SkinParser::parseFile(path);
        const QColor accentColour(accentName);
        QStringList notes;
        const skin::Skin look = render::accent::accented(original, accentColour, &notes);
        for (const QString &note : std::as_const(notes))
            qInfo("%s", qPrintable(note));

        // Captions, arrows and marks of the sample pictures, the focus rule at every kit size
        // (the probe tst_kitfocus holds kits to), and the focused button's caption.
        QList<render::LegibilityProbe> probes = render::legibility::measureSkin(look);
        probes << render::legibility::captionProbe(look, render::SampleState::Focused);
        if (qEnvironmentVariableIsSet("QUILLET_CAPTION_TABLE"))
            printCaptions(QFileInfo(path).completeBaseName(), accentName, look);
        for (const render::LegibilityProbe &probe : std::as_const(probes)) {
            QVERIFY2(probe.passes(),
                qPrintable(QStringLiteral("%1 %2 %3 on %4: %5:1 at %6x%7, %8x")
                               .arg(probe.section, probe.glyph, probe.measure.glyph.name(),
                                   probe.measure.background.name())
                               .arg(probe.measure.contrast)
                               .arg(probe.size.width())
                               .arg(probe.size.height())
                               .arg(probe.ratio)));
        }

        if (!accentColour.isValid())
            return;
        const double hue = dominantHue(face(look));
        if (accent::toOklch(accentColour).C < accent::kNeutralChroma) {
            QVERIFY2(hue < 0 || dominantHue(face(original)) >= 0,
                qPrintable(QStringLiteral("a grey accent made a neutral face chromatic")));
            return;
        }
        if (hue < 0) {
            // A face with no colour of its own has nothing to take the accent's hue.
            QCOMPARE(dominantHue(face(original)), -1.0);
            return;
        }
        const double target = accent::toOklch(accentColour).h;
        QVERIFY2(skin::hueDistance(hue, target) <= 10,
            qPrintable(QStringLiteral("face hue %1, accent %2").arg(hue).arg(target)));
    }

    // A caption the accent leaves unreadable takes black or white by the whole-glyph measure.
    // Greys stay grey under an accent, so the face is what the row says.
    void captionFallback_data()
    {
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<QString>("accentName");
        QTest::addColumn<QColor>("caption");
        QTest::newRow("light accent, pale face")
            << QByteArray("fill = #a8c8f0\ntext = #ffffff\n") << "#f9a825" << QColor(Qt::black);
        // The median ground under the strokes is the dark face, where white reads better; the
        // gloss over their top rows decides.
        QTest::newRow("gloss over the top of the strokes")
            << QByteArray("fill = #6e6e6e\ngloss = 1\ngloss-height = 0.3\ntext = #ffffff\n") << "#f9a825"
            << QColor(Qt::black);
        QTest::newRow("dark accent keeps a white caption")
            << QByteArray("fill = #1458c4\ntext = #ffffff\n") << "#1a237e" << QColor(Qt::white);
    }
    void captionFallback()
    {
        QFETCH(QByteArray, button);
        QFETCH(QString, accentName);
        QFETCH(QColor, caption);
        const skin::Skin original = skin::SkinParser::parse("[button]\n" + button);
        QStringList notes;
        const skin::Skin look = render::accent::accented(original, QColor(accentName), &notes);
        QCOMPARE(look.look(skin::Element::Button, skin::State::Normal).text.rgb(), caption.rgb());
        const bool changed = caption != original.look(skin::Element::Button, skin::State::Normal).text;
        QCOMPARE(notes.join(u'\n').contains(QStringLiteral("normal caption now ") + caption.name()), changed);
    }

    // The focus indicator is drawn in the skin's colour: where the face has a hue, the
    // pixels the ring changes take it (the accent's under an accent) within 30 degrees, as
    // shipped and in each accent, at the designer's size and at a kit's narrowest at 2x.
    // QUILLET_FOCUS_HUE_TABLE=1 prints each skin's hues.
    void focusTakesFaceHue_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("accentName");
        for (const QString &file : skinFiles()) {
            const QString name = QFileInfo(file).completeBaseName();
            if (!testedskins::takes(name))
                continue;
            QTest::addRow("%s as shipped", qPrintable(name)) << file << QString();
            for (const QString &accentName : kAccents)
                QTest::addRow("%s %s", qPrintable(name), qPrintable(accentName)) << file << accentName;
        }
    }
    void focusTakesFaceHue()
    {
        QFETCH(QString, path);
        QFETCH(QString, accentName);
        const skin::Skin original = skin::SkinParser::parseFile(path);
        const skin::Skin look = accentName.isEmpty()
            ? original
            : render::accent::accented(original, QColor(accentName), nullptr);
        const skin::HueMeasure faceHue = skin::dominantHue(face(look));
        const bool table = qEnvironmentVariableIsSet("QUILLET_FOCUS_HUE_TABLE");
        const render::ButtonRenderer renderer(look);
        QStringList faults;
        for (const auto &[size, ratio] :
            { std::pair { QSize(104, 24), 1.0 }, std::pair { QSize(40, 16), 2.0 } }) {
            render::RenderRequest request;
            request.size = size;
            request.background = look.base();
            request.devicePixelRatio = ratio;
            const QImage normal = renderer.render(request);
            request.state = render::SampleState::Focused;
            const skin::HueMeasure ring = skin::focusIndicatorHue(renderer.render(request), normal);
            const qreal target = accentName.isEmpty() ? faceHue.hue : accent::toOklch(QColor(accentName)).h;
            if (table)
                qInfo("| %s | %s | %gx%g | face %.0f (%d/%d) | ring %.0f (%d/%d) | off %.0f |",
                    qPrintable(QFileInfo(path).completeBaseName()),
                    qPrintable(accentName.isEmpty() ? QStringLiteral("as shipped") : accentName),
                    size.width() * ratio, size.height() * ratio, faceHue.hue, faceHue.chromaticPixels,
                    faceHue.pixels, ring.hue, ring.chromaticPixels, ring.pixels,
                    ring.hue < 0 ? -1.0 : skin::hueDistance(ring.hue, target));
            if (!ring.hasHue())
                faults << QStringLiteral("%1x%2@%3: %4 of %5 changed pixels have a hue")
                              .arg(size.width())
                              .arg(size.height())
                              .arg(ratio)
                              .arg(ring.chromaticPixels)
                              .arg(ring.pixels);
            else if (skin::hueDistance(ring.hue, target) > 30)
                faults << QStringLiteral("%1x%2@%3: ring hue %4, face %5")
                              .arg(size.width())
                              .arg(size.height())
                              .arg(ratio)
                              .arg(ring.hue, 0, 'f', 0)
                              .arg(target, 0, 'f', 0);
        }
        if (!faceHue.hasHue())
            QSKIP("a face without a hue may keep a black or white ring");
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }

    // Four kinds of skin (gel, pictures, bevels, outline) as they are and in each accent:
    // the push button normal, hot, pressed, disabled and focused, drawn at 2x.
    void sheet()
    {
        const QStringList names { QStringLiteral("Aqua"), QStringLiteral("Aqua Glass"),
            QStringLiteral("经典蓝"), QStringLiteral("Pill") };
        constexpr int kName = 110, kHeader = 34, kGap = 10, kRatio = 2;
        const QSize button(104, 24);
        const QList<render::SampleState> states { render::SampleState::Normal, render::SampleState::Hot,
            render::SampleState::Pressed, render::SampleState::Disabled, render::SampleState::Focused };
        const int cellWidth = button.width() * kRatio + 2 * kGap;
        const int cellHeight = int(states.size()) * (button.height() * kRatio + kGap) + kGap;
        QImage sheet(kName + cellWidth * int(kAccents.size() + 1), kHeader + cellHeight * int(names.size()),
            QImage::Format_RGB32);
        sheet.fill(Qt::white);
        QPainter p(&sheet);
        QFont label(QStringLiteral("DejaVu Sans"), 10);
        p.setFont(label);
        for (int c = 0; c <= kAccents.size(); ++c) {
            const QRect header(kName + c * cellWidth, 0, cellWidth, kHeader);
            if (c == 0) {
                p.setPen(Qt::black);
                p.drawText(header, Qt::AlignCenter, QStringLiteral("as it is"));
                continue;
            }
            const QColor swatch(kAccents[c - 1]);
            p.fillRect(header.adjusted(kGap, 6, -kGap, -6), swatch);
            p.setPen(Qt::white);
            p.drawText(header, Qt::AlignCenter, kAccents[c - 1]);
        }
        for (int r = 0; r < names.size(); ++r) {
            const skin::Skin original = skin::SkinParser::parseFile(
                QStringLiteral(QUILLET_SOURCE_DIR "/skins/") + names[r] + u".an");
            const int top = kHeader + r * cellHeight;
            p.setPen(Qt::black);
            p.drawText(QRect(6, top, kName - 6, cellHeight), Qt::AlignVCenter, names[r]);
            for (int c = 0; c <= kAccents.size(); ++c) {
                const skin::Skin look = c == 0
                    ? original
                    : render::accent::accented(original, QColor(kAccents[c - 1]), nullptr);
                const render::ButtonRenderer renderer(look);
                const int left = kName + c * cellWidth;
                p.fillRect(left, top, cellWidth, cellHeight, look.base());
                for (int s = 0; s < states.size(); ++s) {
                    render::RenderRequest request;
                    request.state = states[s];
                    request.size = button;
                    request.caption = QStringLiteral("确定 OK");
                    request.font = QFont(QStringLiteral("宋体"), 9);
                    request.background = look.base();
                    request.devicePixelRatio = kRatio;
                    QImage picture = renderer.render(request);
                    QVERIFY(!picture.isNull());
                    picture.setDevicePixelRatio(1);
                    p.drawImage(left + kGap, top + kGap + s * (button.height() * kRatio + kGap), picture);
                }
            }
            p.fillRect(0, top + cellHeight - 1, sheet.width(), 1, Qt::black);
        }
        p.end();

        const QString folder = qEnvironmentVariable("QUILLET_CONTACT_SHEET");
        if (folder.isEmpty())
            QSKIP("set QUILLET_CONTACT_SHEET to a folder to write the sheet");
        QDir().mkpath(folder);
        const QString file = QDir(folder).filePath(QStringLiteral("accents.png"));
        QVERIFY2(sheet.save(file), qPrintable(file));
        qInfo("wrote %s", qPrintable(file));
    }
};

QTEST_MAIN(TestAccent)
#include "tst_accent.moc"
