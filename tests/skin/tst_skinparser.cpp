// The .an reader: value syntax, inheritance between states, and hostile input.
#include "skin/skinparser.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace quillet::skin;

Q_DECLARE_METATYPE(quillet::skin::Element)
Q_DECLARE_METATYPE(quillet::skin::State)

namespace {

bool lighterOrEqual(const QColor &a, const QColor &b)
{
    return a.red() >= b.red() && a.green() >= b.green() && a.blue() >= b.blue();
}

int saturation(const QColor &c)
{
    return std::max({ c.red(), c.green(), c.blue() }) - std::min({ c.red(), c.green(), c.blue() });
}

QByteArray skinText(const char *body)
{
    return QByteArray("[skin]\nbase = #c0c0c0\n") + body;
}

} // namespace

class SkinParserTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void colours_data();
    void colours();
    void fills_data();
    void fills();
    void values_data();
    void values();
    void derivedStates();
    void explicitStateInheritsNormal();
    void checkedStatesBorrowPlainSections();
    void baseColour_data();
    void baseColour();
    void pictures();
    void hostileInput_data();
    void hostileInput();
    void unreadablePaths_data();
    void unreadablePaths();
    void sizeCap_data();
    void sizeCap();
};

void SkinParserTest::colours_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("#rgb") << "#f80" << true << QColor(0xff, 0x88, 0x00);
    QTest::newRow("#rrggbb") << "#12aBcd" << true << QColor(0x12, 0xab, 0xcd);
    QTest::newRow("#rrggbbaa") << "#ffffff80" << true << QColor(255, 255, 255, 0x80);
    QTest::newRow("r,g,b") << "10,20,30" << true << QColor(10, 20, 30);
    QTest::newRow("r,g,b spaced") << " 10 , 20 ,30 " << true << QColor(10, 20, 30);
    QTest::newRow("r,g,b,a") << "1,2,3,4" << true << QColor(1, 2, 3, 4);
    QTest::newRow("none") << "none" << true << QColor(0, 0, 0, 0);
    QTest::newRow("two digits") << "#12" << false << QColor();
    QTest::newRow("five digits") << "#12345" << false << QColor();
    QTest::newRow("nine digits") << "#123456789" << false << QColor();
    QTest::newRow("not hex") << "#ggg" << false << QColor();
    QTest::newRow("channel too big") << "256,0,0" << false << QColor();
    QTest::newRow("negative channel") << "-1,0,0" << false << QColor();
    QTest::newRow("two channels") << "1,2" << false << QColor();
    QTest::newRow("five channels") << "1,2,3,4,5" << false << QColor();
    QTest::newRow("word") << "red" << false << QColor();
    QTest::newRow("empty") << "" << false << QColor();
    QTest::newRow("hash only") << "#" << false << QColor();
}

void SkinParserTest::colours()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QColor, expected);
    const auto colour = SkinParser::parseColour(text);
    QCOMPARE(colour.has_value(), valid);
    if (valid)
        QCOMPARE(colour->rgba(), expected.rgba());
}

void SkinParserTest::fills_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QList<qreal>>("positions");
    QTest::addColumn<QList<QRgb>>("colours");
    QTest::newRow("solid") << "#102030" << true << QList<qreal> { 0.0 }
                           << QList<QRgb> { qRgb(0x10, 0x20, 0x30) };
    QTest::newRow("two even") << "#fff > #000" << true << QList<qreal> { 0.0, 1.0 }
                              << QList<QRgb> { qRgb(255, 255, 255), qRgb(0, 0, 0) };
    QTest::newRow("three even") << "#f00>#0f0>#00f" << true << QList<qreal> { 0.0, 0.5, 1.0 }
                                << QList<QRgb> { qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255) };
    QTest::newRow("placed") << "#fff@0 > #888@0.45 > #000@1" << true << QList<qreal> { 0.0, 0.45, 1.0 }
                            << QList<QRgb> { qRgb(255, 255, 255), qRgb(0x88, 0x88, 0x88), qRgb(0, 0, 0) };
    QTest::newRow("percent") << "#fff@10% > #000@90%" << true << QList<qreal> { 0.1, 0.9 }
                             << QList<QRgb> { qRgb(255, 255, 255), qRgb(0, 0, 0) };
    QTest::newRow("rgb stops") << "1,2,3 > 4,5,6@1" << true << QList<qreal> { 0.0, 1.0 }
                               << QList<QRgb> { qRgb(1, 2, 3), qRgb(4, 5, 6) };
    QTest::newRow("backwards clamped") << "#fff@0.8 > #000@0.2" << true << QList<qreal> { 0.8, 0.8 }
                                       << QList<QRgb> { qRgb(255, 255, 255), qRgb(0, 0, 0) };
    QTest::newRow("none") << "none" << true << QList<qreal> {} << QList<QRgb> {};
    QTest::newRow("empty stop") << "#fff > > #000" << false << QList<qreal> {} << QList<QRgb> {};
    QTest::newRow("bad colour") << "#fff > blue" << false << QList<qreal> {} << QList<QRgb> {};
    QTest::newRow("position above 1") << "#fff@2" << false << QList<qreal> {} << QList<QRgb> {};
    QTest::newRow("negative position") << "#fff@-0.1" << false << QList<qreal> {} << QList<QRgb> {};
    QTest::newRow("nan position") << "#fff@nan" << false << QList<qreal> {} << QList<QRgb> {};
    QTest::newRow("too many stops") << QString("#fff >").repeated(16) + "#000" << false << QList<qreal> {}
                                    << QList<QRgb> {};
}

void SkinParserTest::fills()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QList<qreal>, positions);
    QFETCH(QList<QRgb>, colours);
    const auto fill = SkinParser::parseFill(text);
    QCOMPARE(fill.has_value(), valid);
    if (!valid)
        return;
    QCOMPARE(fill->size(), positions.size());
    for (qsizetype i = 0; i < fill->size(); ++i) {
        QVERIFY(qFuzzyCompare(1.0 + fill->at(i).position, 1.0 + positions.at(i)));
        QCOMPARE(fill->at(i).colour.rgba(), colours.at(i));
    }
}

void SkinParserTest::values_data()
{
    // Each row parses one [button] line and reads one field back; malformed values must
    // leave the built-in default in place.
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("border width") << QByteArray("border-width = 3") << "borderWidth" << QVariant(3);
    QTest::newRow("absurd border width")
        << QByteArray("border-width = 99999999999") << "borderWidth" << QVariant(1);
    QTest::newRow("negative radius") << QByteArray("radius = -5") << "radius" << QVariant(2);
    QTest::newRow("radius word") << QByteArray("radius = round") << "radius" << QVariant(2);
    QTest::newRow("radius") << QByteArray("radius = 9") << "radius" << QVariant(9);
    QTest::newRow("bevel raised") << QByteArray("bevel = Raised") << "bevel" << QVariant(int(Bevel::Raised));
    QTest::newRow("bevel unknown") << QByteArray("bevel = sideways") << "bevel" << QVariant(int(Bevel::None));
    QTest::newRow("bevel width too big") << QByteArray("bevel-width = 40") << "bevelWidth" << QVariant(2);
    QTest::newRow("gloss") << QByteArray("gloss = 0.5") << "gloss" << QVariant(0.5);
    QTest::newRow("gloss above one") << QByteArray("gloss = 2") << "gloss" << QVariant(0.0);
    QTest::newRow("gloss nan") << QByteArray("gloss = nan") << "gloss" << QVariant(0.0);
    QTest::newRow("gloss height") << QByteArray("gloss-height = 0.3") << "glossHeight" << QVariant(0.3);
    QTest::newRow("gloss height above one")
        << QByteArray("gloss-height = 1.5") << "glossHeight" << QVariant(0.48);
    QTest::newRow("shadow offset") << QByteArray("text-shadow-offset = 1,-1") << "textShadowOffset"
                                   << QVariant(QPoint(1, -1));
    QTest::newRow("shadow offset three parts")
        << QByteArray("text-shadow-offset = 1,2,3") << "textShadowOffset" << QVariant(QPoint(0, 1));
    QTest::newRow("text shift absurd")
        << QByteArray("text-shift = 500,500") << "textShift" << QVariant(QPoint());
    QTest::newRow("text colour") << QByteArray("text = #123456") << "text"
                                 << QVariant(QColor(0x12, 0x34, 0x56));
    QTest::newRow("bad text colour") << QByteArray("text = #12345") << "text" << QVariant(QColor(0, 0, 0));
    QTest::newRow("horizontal fill") << QByteArray("fill-direction = HORIZONTAL") << "horizontalFill"
                                     << QVariant(true);
    QTest::newRow("unknown key") << QByteArray("sparkle = 11") << "borderWidth" << QVariant(1);
    QTest::newRow("no equals sign") << QByteArray("border-width 5") << "borderWidth" << QVariant(1);
    QTest::newRow("upper-case key") << QByteArray("BORDER-WIDTH = 4") << "borderWidth" << QVariant(4);
    QTest::newRow("slice one") << QByteArray("slice = 5") << "slice" << QVariant(QRect(5, 5, 5, 5));
    QTest::newRow("slice four") << QByteArray("slice = 1,2,3,4") << "slice" << QVariant(QRect(1, 2, 3, 4));
    QTest::newRow("slice two") << QByteArray("slice = 1,2") << "slice" << QVariant(QRect(0, 0, 0, 0));
    QTest::newRow("pill radius") << QByteArray("radius = Pill") << "radius" << QVariant(kPillRadius);
    QTest::newRow("margin one") << QByteArray("margin = 3") << "margin" << QVariant(QRect(3, 3, 3, 3));
    QTest::newRow("margin four") << QByteArray("margin = 2,1,2,4") << "margin" << QVariant(QRect(2, 1, 2, 4));
    QTest::newRow("margin too wide") << QByteArray("margin = 2,1,2,17") << "margin" << QVariant(QRect());
    QTest::newRow("margin negative") << QByteArray("margin = -1") << "margin" << QVariant(QRect());
    QTest::newRow("shadow") << QByteArray("shadow = #00000040") << "shadow"
                            << QVariant(QColor(0, 0, 0, 0x40));
    QTest::newRow("no shadow by default") << QByteArray() << "shadow" << QVariant(QColor());
    QTest::newRow("bad shadow") << QByteArray("shadow = grey") << "shadow" << QVariant(QColor());
    QTest::newRow("shadow offset default") << QByteArray() << "shadowOffset" << QVariant(QPoint(0, 1));
    QTest::newRow("shadow offset given")
        << QByteArray("shadow-offset = -1,3") << "shadowOffset" << QVariant(QPoint(-1, 3));
    QTest::newRow("shadow offset too far")
        << QByteArray("shadow-offset = 0,9") << "shadowOffset" << QVariant(QPoint(0, 1));
    QTest::newRow("shadow blur") << QByteArray("shadow-blur = 4") << "shadowBlur" << QVariant(4);
    QTest::newRow("shadow blur too big") << QByteArray("shadow-blur = 17") << "shadowBlur" << QVariant(0);
    QTest::newRow("shadow spread") << QByteArray("shadow-spread = 2") << "shadowSpread" << QVariant(2);
    QTest::newRow("shadow spread too big")
        << QByteArray("shadow-spread = 9") << "shadowSpread" << QVariant(0);
    QTest::newRow("highlight width") << QByteArray("highlight-width = 3") << "highlightWidth" << QVariant(3);
    QTest::newRow("highlight width zero")
        << QByteArray("highlight-width = 0") << "highlightWidth" << QVariant(1);
    QTest::newRow("highlight width too big")
        << QByteArray("highlight-width = 9") << "highlightWidth" << QVariant(1);
}

void SkinParserTest::values()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, field);
    QFETCH(QVariant, expected);
    const Skin skin = SkinParser::parse(skinText("[button]\n") + line + '\n');
    const Look &look = skin.look(Element::Button, State::Normal);
    QVariant actual;
    if (field == u"borderWidth")
        actual = look.borderWidth;
    else if (field == u"radius")
        actual = look.radius;
    else if (field == u"bevel")
        actual = int(look.bevel);
    else if (field == u"bevelWidth")
        actual = look.bevelWidth;
    else if (field == u"gloss")
        actual = look.gloss;
    else if (field == u"glossHeight")
        actual = look.glossHeight;
    else if (field == u"textShadowOffset")
        actual = look.textShadowOffset;
    else if (field == u"textShift")
        actual = look.textShift;
    else if (field == u"text")
        actual = look.text;
    else if (field == u"horizontalFill")
        actual = look.horizontalFill;
    else if (field == u"slice")
        actual = QRect(look.slice.left(), look.slice.top(), look.slice.right(), look.slice.bottom());
    else if (field == u"margin")
        actual = QRect(look.margin.left(), look.margin.top(), look.margin.right(), look.margin.bottom());
    else if (field == u"shadow")
        actual = look.shadow;
    else if (field == u"shadowOffset")
        actual = look.shadowOffset;
    else if (field == u"shadowBlur")
        actual = look.shadowBlur;
    else if (field == u"shadowSpread")
        actual = look.shadowSpread;
    else if (field == u"highlightWidth")
        actual = look.highlightWidth;
    QCOMPARE(actual, expected);
}

void SkinParserTest::derivedStates()
{
    const Skin skin = SkinParser::parse(skinText("[button]\n"
                                                 "fill = #6080a0 > #204060\n"
                                                 "border = #102030\nborder-width = 1\n"
                                                 "bevel = raised\ntext = #3050f0\n"));
    const Look &normal = skin.look(Element::Button, State::Normal);
    const Look &hot = skin.look(Element::Button, State::Hot);
    const Look &pressed = skin.look(Element::Button, State::Pressed);
    const Look &disabled = skin.look(Element::Button, State::Disabled);

    QCOMPARE(hot.fill.size(), normal.fill.size());
    for (qsizetype i = 0; i < hot.fill.size(); ++i) {
        QVERIFY(lighterOrEqual(hot.fill[i].colour, normal.fill[i].colour));
        QVERIFY(hot.fill[i].colour != normal.fill[i].colour);
    }
    // Pressed: darker and the gradient turned over, the raised bevel sunk, the caption shifted.
    QVERIFY(lighterOrEqual(normal.fill.last().colour, pressed.fill.first().colour));
    QVERIFY(pressed.fill.first().colour != normal.fill.last().colour);
    QCOMPARE(pressed.bevel, Bevel::Sunken);
    QVERIFY(!pressed.textShift.isNull());
    // Disabled: greyer, and the caption moves toward the window colour.
    QVERIFY(saturation(disabled.fill.first().colour) < saturation(normal.fill.first().colour));
    QVERIFY(saturation(disabled.text) < saturation(normal.text));
    // A shadow stays in hot and pressed, and turns grey when disabled.
    const Skin shadowed = SkinParser::parse(skinText("[button]\nmargin = 2\nshadow = #2040a080\n"));
    QCOMPARE(shadowed.look(Element::Button, State::Hot).shadow, QColor(0x20, 0x40, 0xa0, 0x80));
    QCOMPARE(shadowed.look(Element::Button, State::Pressed).shadow, QColor(0x20, 0x40, 0xa0, 0x80));
    const QColor greyShadow = shadowed.look(Element::Button, State::Disabled).shadow;
    QCOMPARE(saturation(greyShadow), 0);
    QCOMPARE(greyShadow.alpha(), 0x80);
    QCOMPARE(shadowed.look(Element::Button, State::Disabled).margin, QMargins(2, 2, 2, 2));
    // Focused and default have nothing to change by themselves.
    QCOMPARE(skin.look(Element::Button, State::Focused), normal);
    QCOMPARE(skin.look(Element::Button, State::Default), normal);
}

void SkinParserTest::explicitStateInheritsNormal()
{
    const Skin skin = SkinParser::parse(skinText("[button]\nfill = #abcdef\nradius = 7\nborder = #010203\n"
                                                 "[button.hot]\nborder = #ff0000\n"));
    const Look &hot = skin.look(Element::Button, State::Hot);
    QCOMPARE(hot.border, QColor(0xff, 0, 0));
    QCOMPARE(hot.radius, 7);
    QCOMPARE(hot.fill.first().colour, QColor(0xab, 0xcd, 0xef));
    QCOMPARE(hot.effect, Effect::None);
}

void SkinParserTest::checkedStatesBorrowPlainSections()
{
    const Skin skin = SkinParser::parse(skinText("[check]\nmark = #000000\n"
                                                 "[check.checked]\nfill = #00ff00\n"
                                                 "[check.hot]\nborder = #ff0000\n"
                                                 "[check.checked-disabled]\nmark = #999999\n"));
    const Look &checkedHot = skin.look(Element::Check, State::CheckedHot);
    QCOMPARE(checkedHot.fill.first().colour, QColor(0, 0xff, 0));
    QCOMPARE(checkedHot.border, QColor(0xff, 0, 0));
    const Look &checkedDisabled = skin.look(Element::Check, State::CheckedDisabled);
    QCOMPARE(checkedDisabled.mark, QColor(0x99, 0x99, 0x99));
    QCOMPARE(checkedDisabled.fill.first().colour, QColor(0, 0xff, 0));
    // No [check.pressed]: the checked look is darkened.
    const Look &checkedPressed = skin.look(Element::Check, State::CheckedPressed);
    QVERIFY(lighterOrEqual(QColor(0, 0xff, 0), checkedPressed.fill.first().colour));
    QVERIFY(checkedPressed.fill.first().colour != QColor(0, 0xff, 0));
}

void SkinParserTest::baseColour_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QColor>("expected");
    const QColor fallback = Skin().base();
    QTest::newRow("hex") << QByteArray("[skin]\nbase = #336699\n") << QColor(0x33, 0x66, 0x99);
    QTest::newRow("rgb") << QByteArray("[Skin]\n  Base=1,2,3  \n") << QColor(1, 2, 3);
    QTest::newRow("crlf and bom") << QByteArray("\xef\xbb\xbf[skin]\r\nbase = #010203\r\n")
                                  << QColor(1, 2, 3);
    QTest::newRow("translucent refused") << QByteArray("[skin]\nbase = #33669980\n") << fallback;
    QTest::newRow("malformed") << QByteArray("[skin]\nbase = blue\n") << fallback;
    QTest::newRow("other section") << QByteArray("[button]\nbase = #336699\n") << fallback;
    QTest::newRow("comment") << QByteArray("[skin]\n; base = #336699\n") << fallback;
    QTest::newRow("empty") << QByteArray() << fallback;
}

void SkinParserTest::baseColour()
{
    QFETCH(QByteArray, text);
    QFETCH(QColor, expected);
    QCOMPARE(SkinParser::parse(text).base(), expected);
}

void SkinParserTest::pictures()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("Pic"));
    QVERIFY(QDir().mkpath(folder));
    for (const char *name : { "button-hot.svg", "own.png", "secret.svg" }) {
        QFile f(QDir(folder).filePath(QLatin1String(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QFile skinFile(dir.filePath(QStringLiteral("Pic.an")));
    QVERIFY(skinFile.open(QIODevice::WriteOnly));
    skinFile.write("[button]\nslice = 4\n"
                   "[button.pressed]\nimage = own.png\n"
                   "[combo-button]\nimage = ../Pic/secret.svg\n"
                   "[check]\nimage = missing.svg\n");
    skinFile.close();

    const Skin skin = SkinParser::parseFile(skinFile.fileName());
    QCOMPARE(skin.name(), QStringLiteral("Pic"));
    QVERIFY(skin.look(Element::Button, State::Normal).image.isEmpty());
    QCOMPARE(skin.look(Element::Button, State::Hot).image,
        QDir(folder).filePath(QStringLiteral("button-hot.svg")));
    QCOMPARE(skin.look(Element::Button, State::Hot).slice, QMargins(4, 4, 4, 4));
    QCOMPARE(
        skin.look(Element::Button, State::Pressed).image, QDir(folder).filePath(QStringLiteral("own.png")));
    // Names that leave the skin's folder are refused.
    QVERIFY(skin.look(Element::ComboButton, State::Normal).image.isEmpty());
    // A picture that is not there is kept: the painter falls back to the vector look.
    QCOMPARE(
        skin.look(Element::Check, State::Normal).image, QDir(folder).filePath(QStringLiteral("missing.svg")));
}

void SkinParserTest::hostileInput_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QByteArray garbage(64 * 1024, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 7919 + 13) % 256);
    QTest::newRow("binary") << garbage;
    QTest::newRow("huge line") << QByteArray("[button]\nfill = ") + QByteArray(8 * 1024 * 1024, '#');
    QTest::newRow("many sections") << QByteArray("[button.hot]\nfill=#fff\n").repeated(40000);
    QTest::newRow("unclosed section") << QByteArray("[button\nfill = #000\n");
    QTest::newRow("empty section name") << QByteArray("[]\nfill = #000\n");
    QTest::newRow("keys before any section") << QByteArray("fill = #000\nbase = #fff\n");
    static constexpr char nul[] = "[button]\0\nfill=#000\0#fff\n";
    QTest::newRow("nul bytes") << QByteArray(nul, sizeof nul - 1);
}

void SkinParserTest::hostileInput()
{
    QFETCH(QByteArray, bytes);
    const Skin skin = SkinParser::parse(bytes);
    QVERIFY(skin.base().isValid());
    QCOMPARE(skin.base(), Skin().base());
    const Look &look = skin.look(Element::Button, State::Normal);
    QVERIFY(look.borderWidth >= 0 && look.borderWidth <= 16);
}

void SkinParserTest::unreadablePaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing") << QStringLiteral("/nonexistent/folder/none.an");
    QTest::newRow("folder") << QDir::tempPath();
    QTest::newRow("endless device") << QStringLiteral("/dev/zero");
    QTest::newRow("empty path") << QString();
}

void SkinParserTest::unreadablePaths()
{
    QFETCH(QString, path);
    const Skin skin = SkinParser::parseFile(path);
    const Skin defaults = SkinParser::parse(QByteArray());
    QCOMPARE(skin.base(), defaults.base());
    QCOMPARE(skin.look(Element::Button, State::Normal), defaults.look(Element::Button, State::Normal));
}

// The line the 1 MiB cap cuts is never read in part; lines before it count.
void SkinParserTest::sizeCap_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("radius");
    constexpr qsizetype kCap = 1024 * 1024;
    // Comment lines that fill the file up to `at` bytes.
    const auto filled = [](QByteArray start, qsizetype at) {
        while (start.size() < at) {
            const qsizetype line = std::min<qsizetype>(4000, at - start.size());
            start += (line == 1 ? QByteArray("\n") : ';' + QByteArray(line - 2, 'x') + '\n');
        }
        return start;
    };
    const QByteArray head("[button]\nradius = 9\n");
    QTest::newRow("line cut after 'radius = 1'") << filled(head, kCap - 10) + "radius = 12\n" << 9;
    QTest::newRow("line ending at the cap") << filled(head, kCap - 12) + "radius = 12\nradius = 30\n" << 12;
    QTest::newRow("line feed just past the cap") << filled(head, kCap - 11) + "radius = 12\nradius = 30\n"
                                                 << 12;
    QTest::newRow("one line over the cap") << QByteArray("[button]\nradius = 1") + QByteArray(kCap, '2') << 2;
}

void SkinParserTest::sizeCap()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, radius);
    QList<SkinDiagnostic> diagnostics;
    const Skin skin = SkinParser::parse(bytes, QString(), &diagnostics);
    QCOMPARE(skin.look(Element::Button, State::Normal).radius, radius);
    QCOMPARE(SkinParser::parse(bytes).look(Element::Button, State::Normal).radius, radius);
    QVERIFY(!diagnostics.isEmpty());
    QCOMPARE(diagnostics.first().line, 0);
    QVERIFY2(diagnostics.first().message.contains(u"whole lines"), qPrintable(diagnostics.first().message));
}

QTEST_GUILESS_MAIN(SkinParserTest)
#include "tst_skinparser.moc"
