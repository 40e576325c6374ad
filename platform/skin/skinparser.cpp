#include "platform/skin/skinparser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>

namespace quillet::skin {

namespace {

constexpr qint64 kMaxFileBytes = 1024 * 1024;
constexpr qsizetype kMaxLineLength = 4096;
constexpr int kMaxStops = 16;
constexpr int kMaxBorderWidth = 16;
constexpr int kMaxRadius = 64;
constexpr int kMaxBevelWidth = 4;
constexpr int kMaxOffset = 8;
constexpr int kMaxSlice = 1024;
constexpr int kMaxMargin = 16;
constexpr int kMaxShadowBlur = 16;
constexpr int kMaxShadowSpread = 8;

// How far derived states move from the look they are derived from.
constexpr qreal kHotLighten = 0.22;
constexpr qreal kHotAccent = 0.55;
constexpr qreal kPressedDarken = 0.16;
constexpr qreal kDisabledFade = 0.55;
constexpr qreal kDisabledTextFade = 0.6;

const QColor kHotAccentColour(0xf0, 0xa0, 0x30);

QColor mix(const QColor &a, const QColor &b, qreal t)
{
    if (!a.isValid())
        return a;
    const auto lerp = [t](int x, int y) { return qRound(x + (y - x) * t); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()), a.alpha());
}

QColor greyOf(const QColor &c)
{
    if (!c.isValid())
        return c;
    const int g = qGray(c.rgb());
    return QColor(g, g, g, c.alpha());
}

template<typename F> void mapColours(Look &look, F f)
{
    for (GradientStop &s : look.fill)
        s.colour = f(s.colour);
    for (QColor *c : { &look.border, &look.bevelLight, &look.bevelShadow, &look.bevelDark, &look.highlight })
        *c = f(*c);
}

std::optional<int> parseInt(QStringView text, int low, int high)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || v < low || v > high)
        return std::nullopt;
    return v;
}

std::optional<QPoint> parsePoint(QStringView text)
{
    const auto parts = text.split(u',');
    if (parts.size() != 2)
        return std::nullopt;
    const auto x = parseInt(parts[0], -kMaxOffset, kMaxOffset);
    const auto y = parseInt(parts[1], -kMaxOffset, kMaxOffset);
    if (!x || !y)
        return std::nullopt;
    return QPoint(*x, *y);
}

std::optional<QMargins> parseMargins(QStringView text, int high)
{
    const auto parts = text.split(u',');
    if (parts.size() != 1 && parts.size() != 4)
        return std::nullopt;
    std::array<int, 4> v {};
    for (qsizetype i = 0; i < 4; ++i) {
        const auto n = parseInt(parts[parts.size() == 1 ? 0 : i], 0, high);
        if (!n)
            return std::nullopt;
        v[static_cast<size_t>(i)] = *n;
    }
    return QMargins(v[0], v[1], v[2], v[3]);
}

std::optional<qreal> parseReal(QStringView text, qreal low, qreal high)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !(v >= low && v <= high))
        return std::nullopt;
    return v;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// Which state a state is taken from when its own section says nothing.
State parentOf(State state)
{
    switch (state) {
    case State::CheckedHot:
    case State::CheckedPressed:
    case State::CheckedDisabled:
        return State::Checked;
    default:
        return State::Normal;
    }
}

// A checked state without its own section borrows the plain state's section.
std::optional<State> plainOf(State state)
{
    switch (state) {
    case State::CheckedHot:
        return State::Hot;
    case State::CheckedPressed:
        return State::Pressed;
    case State::CheckedDisabled:
        return State::Disabled;
    default:
        return std::nullopt;
    }
}

bool isSafeFileName(const QString &name)
{
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\') && name != u".." && name != u"."
        && !name.contains(QChar(0));
}

} // namespace

std::optional<QColor> SkinParser::parseColour(QStringView text)
{
    text = text.trimmed();
    if (text.compare(u"none", Qt::CaseInsensitive) == 0
        || text.compare(u"transparent", Qt::CaseInsensitive) == 0)
        return QColor(0, 0, 0, 0);
    if (text.startsWith(u'#')) {
        const QStringView hex = text.mid(1);
        std::array<int, 8> d {};
        for (qsizetype i = 0; i < hex.size(); ++i) {
            if (i >= 8 || (d[static_cast<size_t>(i)] = hexDigit(hex[i])) < 0)
                return std::nullopt;
        }
        switch (hex.size()) {
        case 3:
            return QColor(d[0] * 17, d[1] * 17, d[2] * 17);
        case 6:
            return QColor(d[0] * 16 + d[1], d[2] * 16 + d[3], d[4] * 16 + d[5]);
        case 8:
            return QColor(d[0] * 16 + d[1], d[2] * 16 + d[3], d[4] * 16 + d[5], d[6] * 16 + d[7]);
        default:
            return std::nullopt;
        }
    }
    const auto parts = text.split(u',');
    if (parts.size() != 3 && parts.size() != 4)
        return std::nullopt;
    std::array<int, 4> v { 0, 0, 0, 255 };
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const auto n = parseInt(parts[i], 0, 255);
        if (!n)
            return std::nullopt;
        v[static_cast<size_t>(i)] = *n;
    }
    return QColor(v[0], v[1], v[2], v[3]);
}

std::optional<QList<GradientStop>> SkinParser::parseFill(QStringView text)
{
    text = text.trimmed();
    if (text.compare(u"none", Qt::CaseInsensitive) == 0)
        return QList<GradientStop>();
    const auto parts = text.split(u'>');
    if (parts.isEmpty() || parts.size() > kMaxStops)
        return std::nullopt;
    QList<GradientStop> stops;
    QList<bool> placed;
    for (const QStringView part : parts) {
        const qsizetype at = part.indexOf(u'@');
        const auto colour = parseColour(at < 0 ? part : part.left(at));
        if (!colour)
            return std::nullopt;
        GradientStop stop { 0.0, *colour };
        bool hasPosition = false;
        if (at >= 0) {
            QStringView pos = part.mid(at + 1).trimmed();
            const bool percent = pos.endsWith(u'%');
            if (percent)
                pos.chop(1);
            const auto p = parseReal(pos, 0.0, percent ? 100.0 : 1.0);
            if (!p)
                return std::nullopt;
            stop.position = percent ? *p / 100.0 : *p;
            hasPosition = true;
        }
        stops.append(stop);
        placed.append(hasPosition);
    }
    // Stops without a position are spread evenly; positions never go backwards.
    const qsizetype n = stops.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (!placed[i])
            stops[i].position = n == 1 ? 0.0 : qreal(i) / qreal(n - 1);
        if (i > 0)
            stops[i].position = std::max(stops[i].position, stops[i - 1].position);
    }
    return stops;
}

SkinParser::Sections SkinParser::readSections(const QByteArray &text)
{
    Sections sections;
    QString current;
    const QString all = QString::fromUtf8(text);
    for (QStringView line : QStringView(all).split(u'\n')) {
        if (line.size() > kMaxLineLength)
            continue;
        line = line.trimmed();
        if (line.startsWith(u'\uFEFF'))
            line = line.mid(1).trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            current = close > 0 ? line.mid(1, close - 1).trimmed().toString().toLower() : QString();
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0 || current.isEmpty())
            continue;
        sections[current].insert(
            line.left(eq).trimmed().toString().toLower(), line.mid(eq + 1).trimmed().toString());
    }
    return sections;
}

Look SkinParser::defaultLook(Element element, const QColor &base, const QColor &text)
{
    Look look;
    look.text = text;
    look.mark = QColor(0x20, 0x20, 0x20);
    look.bevelLight = QColor(0xff, 0xff, 0xff);
    look.bevelShadow = QColor(0x80, 0x80, 0x80);
    look.bevelDark = QColor(0x40, 0x40, 0x40);
    const QColor line(0x8a, 0x8a, 0x8a);
    const QList<GradientStop> raised { { 0.0, QColor(0xfa, 0xfa, 0xfa) }, { 1.0, QColor(0xdc, 0xdc, 0xdc) } };
    const QList<GradientStop> white { { 0.0, QColor(0xff, 0xff, 0xff) } };
    switch (element) {
    case Element::Window:
        look.fill = { { 0.0, base } };
        break;
    case Element::Frame:
        look.bevel = Bevel::Sunken;
        look.bevelWidth = 1;
        break;
    case Element::Button:
    case Element::ComboButton:
    case Element::ScrollHandle:
        look.fill = raised;
        look.border = line;
        look.borderWidth = 1;
        look.radius = element == Element::Button ? 2 : 0;
        break;
    case Element::ComboField:
    case Element::Check:
    case Element::List:
    case Element::Edit:
        look.fill = white;
        look.border = element == Element::Check ? QColor(0x70, 0x70, 0x70) : line;
        look.borderWidth = 1;
        break;
    case Element::ListSelection:
        look.fill = { { 0.0, QColor(0x31, 0x68, 0xc6) } };
        look.text = QColor(0xff, 0xff, 0xff);
        break;
    case Element::ScrollBar:
        look.fill = { { 0.0, QColor(0xe8, 0xe8, 0xe8) } };
        break;
    }
    return look;
}

void SkinParser::applyKeys(Look &look, const Section &section, const QString &imageFolder)
{
    const auto colourKey = [&section](const char *key, QColor &target) {
        const auto it = section.constFind(QLatin1String(key));
        if (it == section.constEnd())
            return;
        if (const auto c = parseColour(*it))
            target = *c;
    };
    const auto intKey = [&section](const char *key, int &target, int low, int high) {
        const auto it = section.constFind(QLatin1String(key));
        if (it != section.constEnd()) {
            if (const auto v = parseInt(*it, low, high))
                target = *v;
        }
    };
    if (const auto it = section.constFind(QStringLiteral("fill")); it != section.constEnd()) {
        if (const auto f = parseFill(*it))
            look.fill = *f;
    }
    if (const auto it = section.constFind(QStringLiteral("fill-direction")); it != section.constEnd()) {
        if (it->compare(u"horizontal", Qt::CaseInsensitive) == 0)
            look.horizontalFill = true;
        else if (it->compare(u"vertical", Qt::CaseInsensitive) == 0)
            look.horizontalFill = false;
    }
    colourKey("border", look.border);
    intKey("border-width", look.borderWidth, 0, kMaxBorderWidth);
    if (const auto it = section.constFind(QStringLiteral("radius"));
        it != section.constEnd() && it->trimmed().compare(u"pill", Qt::CaseInsensitive) == 0)
        look.radius = kPillRadius;
    else
        intKey("radius", look.radius, 0, kMaxRadius);
    if (const auto it = section.constFind(QStringLiteral("bevel")); it != section.constEnd()) {
        const QString v = it->trimmed().toLower();
        if (v == u"none")
            look.bevel = Bevel::None;
        else if (v == u"raised")
            look.bevel = Bevel::Raised;
        else if (v == u"sunken")
            look.bevel = Bevel::Sunken;
    }
    intKey("bevel-width", look.bevelWidth, 1, kMaxBevelWidth);
    colourKey("bevel-light", look.bevelLight);
    colourKey("bevel-shadow", look.bevelShadow);
    colourKey("bevel-dark", look.bevelDark);
    colourKey("highlight", look.highlight);
    if (const auto it = section.constFind(QStringLiteral("gloss")); it != section.constEnd()) {
        if (const auto g = parseReal(*it, 0.0, 1.0))
            look.gloss = *g;
    }
    colourKey("text", look.text);
    colourKey("text-shadow", look.textShadow);
    colourKey("mark", look.mark);
    colourKey("focus", look.focus);
    if (const auto it = section.constFind(QStringLiteral("text-shadow-offset")); it != section.constEnd()) {
        if (const auto p = parsePoint(*it))
            look.textShadowOffset = *p;
    }
    if (const auto it = section.constFind(QStringLiteral("text-shift")); it != section.constEnd()) {
        if (const auto p = parsePoint(*it))
            look.textShift = *p;
    }
    if (const auto it = section.constFind(QStringLiteral("image")); it != section.constEnd()) {
        const QString name = it->trimmed();
        if (name.compare(u"none", Qt::CaseInsensitive) == 0) {
            look.image.clear();
            look.effect = Effect::None;
        } else if (!imageFolder.isEmpty() && isSafeFileName(name)) {
            look.image = QDir(imageFolder).filePath(name);
            look.effect = Effect::None;
        }
    }
    if (const auto it = section.constFind(QStringLiteral("slice")); it != section.constEnd()) {
        if (const auto m = parseMargins(*it, kMaxSlice))
            look.slice = *m;
    }
    if (const auto it = section.constFind(QStringLiteral("margin")); it != section.constEnd()) {
        if (const auto m = parseMargins(*it, kMaxMargin))
            look.margin = *m;
    }
    colourKey("shadow", look.shadow);
    if (const auto it = section.constFind(QStringLiteral("shadow-offset")); it != section.constEnd()) {
        if (const auto p = parsePoint(*it))
            look.shadowOffset = *p;
    }
    intKey("shadow-blur", look.shadowBlur, 0, kMaxShadowBlur);
    intKey("shadow-spread", look.shadowSpread, 0, kMaxShadowSpread);
}

Look SkinParser::derive(const Look &from, State state, const QColor &base)
{
    Look look = from;
    switch (state) {
    case State::Hot: {
        Look lighter = from;
        mapColours(lighter, [](const QColor &c) { return mix(c, Qt::white, kHotLighten); });
        // A look that is already white cannot get lighter: mark it by its border instead.
        if (lighter.fill == from.fill)
            lighter.border = mix(from.border, kHotAccentColour, kHotAccent);
        lighter.effect = Effect::Lighter;
        return lighter;
    }
    case State::Pressed:
        mapColours(look, [](const QColor &c) { return mix(c, Qt::black, kPressedDarken); });
        std::reverse(look.fill.begin(), look.fill.end());
        for (GradientStop &s : look.fill)
            s.position = 1.0 - s.position;
        if (look.bevel == Bevel::Raised)
            look.bevel = Bevel::Sunken;
        look.gloss /= 2.0;
        if (look.textShift.isNull())
            look.textShift = QPoint(1, 1);
        look.effect = Effect::Darker;
        return look;
    case State::Disabled:
        mapColours(look, [&base](const QColor &c) { return mix(greyOf(c), base, kDisabledFade); });
        look.text = mix(greyOf(from.text), base, kDisabledTextFade);
        look.mark = mix(greyOf(from.mark), base, kDisabledTextFade);
        look.textShadow = QColor();
        look.shadow = greyOf(from.shadow);
        look.gloss /= 2.0;
        look.effect = Effect::Faded;
        return look;
    default:
        return look;
    }
}

QString SkinParser::pictureFor(const QString &imageFolder, Element element, State state)
{
    if (imageFolder.isEmpty())
        return QString();
    const QDir dir(imageFolder);
    for (const char *ext : { ".svg", ".png" }) {
        const QString file = Skin::elementName(element) + u'-' + Skin::stateName(state) + QLatin1String(ext);
        if (QFileInfo::exists(dir.filePath(file)))
            return dir.filePath(file);
    }
    return QString();
}

Skin SkinParser::parse(const QByteArray &text, const QString &imageFolder)
{
    const Sections sections = readSections(text.left(kMaxFileBytes));
    const QString folder = !imageFolder.isEmpty() && QFileInfo(imageFolder).isDir() ? imageFolder : QString();
    Skin skin;
    const Section general = sections.value(QStringLiteral("skin"));
    QColor textColour(0, 0, 0);
    if (const auto c = parseColour(general.value(QStringLiteral("base"))); c && c->alpha() == 255)
        skin.setBase(*c);
    if (const auto c = parseColour(general.value(QStringLiteral("text"))))
        textColour = *c;
    skin.setName(general.value(QStringLiteral("name")).left(kMaxLineLength));

    for (int e = 0; e < kElementCount; ++e) {
        const auto element = static_cast<Element>(e);
        const QString elementName = Skin::elementName(element);
        std::array<Look, kStateCount> looks;
        Look &normal = looks[0];
        normal = defaultLook(element, skin.base(), textColour);
        applyKeys(normal, sections.value(elementName), folder);
        if (const QString auto_ = pictureFor(folder, element, State::Normal);
            !auto_.isEmpty() && !sections.value(elementName).contains(QStringLiteral("image")))
            normal.image = auto_;
        for (int s = 1; s < kStateCount; ++s) {
            const auto state = static_cast<State>(s);
            const Look &parent = looks[static_cast<size_t>(parentOf(state))];
            const auto own = sections.constFind(elementName + u'.' + Skin::stateName(state));
            const auto plain = plainOf(state);
            const auto borrowed = plain ? sections.constFind(elementName + u'.' + Skin::stateName(*plain))
                                        : sections.constEnd();
            Look &look = looks[static_cast<size_t>(s)];
            bool explicitImage = false;
            if (own != sections.constEnd()) {
                look = parent;
                look.effect = Effect::None;
                applyKeys(look, *own, folder);
                explicitImage = own->contains(QStringLiteral("image"));
            } else if (borrowed != sections.constEnd()) {
                look = parent;
                look.effect = Effect::None;
                applyKeys(look, *borrowed, folder);
                explicitImage = borrowed->contains(QStringLiteral("image"));
            } else {
                look = derive(parent, plain ? *plain : state, skin.base());
            }
            if (!explicitImage) {
                if (const QString picture = pictureFor(folder, element, state); !picture.isEmpty()) {
                    look.image = picture;
                    look.effect = Effect::None;
                }
            }
        }
        for (int s = 0; s < kStateCount; ++s)
            skin.setLook(element, static_cast<State>(s), looks[static_cast<size_t>(s)]);
    }
    return skin;
}

Skin SkinParser::parseFile(const QString &path)
{
    const QFileInfo info(path);
    QFile file(path);
    QByteArray bytes;
    // Only regular files: a pipe or device named like a skin would block or never end.
    if (info.isFile() && file.open(QIODevice::ReadOnly))
        bytes = file.read(kMaxFileBytes);
    const QString folder = info.dir().filePath(info.completeBaseName());
    Skin skin = parse(bytes, folder);
    if (skin.name().isEmpty())
        skin.setName(info.completeBaseName());
    return skin;
}

} // namespace quillet::skin
