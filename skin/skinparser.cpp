#include "skin/skinparser.h"

#include "skin/skinkeys.h"
#include "skin/skinpainter.h"

#include "platform/system/inputfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <variant>

namespace quillet::skin {

namespace {

constexpr qint64 kMaxFileBytes = 1024 * 1024;
constexpr qsizetype kMaxLineLength = 4096;
constexpr int kMaxStops = 16;

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

std::optional<QPoint> parsePoint(QStringView text, int low, int high)
{
    const auto parts = text.split(u',');
    if (parts.size() != 2)
        return std::nullopt;
    const auto x = parseInt(parts[0], low, high);
    const auto y = parseInt(parts[1], low, high);
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

namespace {

using Value = std::variant<QString, QColor, QList<GradientStop>, int, qreal, QPoint, QMargins, bool, Bevel>;

QString rangeText(const KeySpec &spec)
{
    return QStringLiteral("%1..%2").arg(spec.low).arg(spec.high);
}

// The value of one key read as its kind says, or why it cannot be.
std::optional<Value> parseValue(const KeySpec &spec, QStringView text, QString *problem)
{
    const QString quoted = u'\'' + text.trimmed().toString() + u'\'';
    const auto fail = [problem](const QString &why) -> std::optional<Value> {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    switch (spec.kind) {
    case ValueKind::Text:
        return Value(text.trimmed().toString());
    case ValueKind::Colour:
    case ValueKind::OpaqueColour: {
        const auto c = SkinParser::parseColour(text);
        if (!c)
            return fail(
                quoted + QStringLiteral(" is not a colour (#rgb, #rrggbb, #rrggbbaa, r,g,b or r,g,b,a)"));
        if (spec.kind == ValueKind::OpaqueColour && c->alpha() != 255)
            return fail(quoted + QStringLiteral(" is not opaque"));
        return Value(*c);
    }
    case ValueKind::Fill:
        if (const auto f = SkinParser::parseFill(text))
            return Value(*f);
        return fail(
            quoted + QStringLiteral(" is not a fill (none, a colour, or COLOUR[@POS] > COLOUR[@POS]...)"));
    case ValueKind::Direction:
        if (text.trimmed().compare(u"horizontal", Qt::CaseInsensitive) == 0)
            return Value(true);
        if (text.trimmed().compare(u"vertical", Qt::CaseInsensitive) == 0)
            return Value(false);
        return fail(quoted + QStringLiteral(" is not a direction (vertical or horizontal)"));
    case ValueKind::Radius:
        if (text.trimmed().compare(u"pill", Qt::CaseInsensitive) == 0)
            return Value(kPillRadius);
        [[fallthrough]];
    case ValueKind::Integer:
        if (const auto v = parseInt(text, spec.low, spec.high))
            return Value(*v);
        return fail(quoted + QStringLiteral(" is not a whole number in ") + rangeText(spec));
    case ValueKind::BevelStyle: {
        const QString v = text.trimmed().toString().toLower();
        if (v == u"none")
            return Value(Bevel::None);
        if (v == u"raised")
            return Value(Bevel::Raised);
        if (v == u"sunken")
            return Value(Bevel::Sunken);
        return fail(quoted + QStringLiteral(" is not a bevel (none, raised or sunken)"));
    }
    case ValueKind::Real:
        if (const auto v = parseReal(text, spec.low, spec.high))
            return Value(*v);
        return fail(quoted + QStringLiteral(" is not a number in ") + rangeText(spec));
    case ValueKind::Point:
        if (const auto p = parsePoint(text, spec.low, spec.high))
            return Value(*p);
        return fail(quoted + QStringLiteral(" is not X,Y with each in ") + rangeText(spec));
    case ValueKind::Margins:
        if (const auto m = parseMargins(text, spec.high))
            return Value(*m);
        return fail(
            quoted + QStringLiteral(" is not N or LEFT,TOP,RIGHT,BOTTOM with each in ") + rangeText(spec));
    case ValueKind::Picture: {
        const QString name = text.trimmed().toString();
        if (name.compare(u"none", Qt::CaseInsensitive) != 0 && !isSafeFileName(name))
            return fail(quoted + QStringLiteral(" is not a plain file name in the skin's folder"));
        return Value(name);
    }
    }
    return fail(quoted);
}

void assign(Look &look, const KeySpec &spec, const Value &value, const QString &imageFolder)
{
    if (spec.kind == ValueKind::Picture) {
        const QString &name = std::get<QString>(value);
        if (name.compare(u"none", Qt::CaseInsensitive) == 0) {
            look.image.clear();
            look.effect = Effect::None;
        } else if (!imageFolder.isEmpty()) {
            look.image = QDir(imageFolder).filePath(name);
            look.effect = Effect::None;
        }
        return;
    }
    std::visit(
        [&](auto field) {
            if constexpr (!std::is_same_v<decltype(field), std::monostate>) {
                using T = std::remove_cvref_t<decltype(look.*field)>;
                if (const T *v = std::get_if<T>(&value))
                    look.*field = *v;
            }
        },
        spec.field);
}

// Collects diagnostics when the caller wants them; parsing is the same either way.
class Report
{
public:
    explicit Report(QList<SkinDiagnostic> *out)
        : m_out(out)
    {
    }
    bool active() const { return m_out != nullptr; }
    void error(int line, int column, const QString &message)
    {
        add(line, column, SkinDiagnostic::Severity::Error, message);
    }
    void warning(int line, int column, const QString &message)
    {
        add(line, column, SkinDiagnostic::Severity::Warning, message);
    }

private:
    void add(int line, int column, SkinDiagnostic::Severity severity, const QString &message)
    {
        if (m_out)
            m_out->append({ line, column, severity, message });
    }
    QList<SkinDiagnostic> *m_out;
};

struct Entry
{
    QString value;
    int line = 0;
    int keyColumn = 0;
    int valueColumn = 0;
};
using Section = QHash<QString, Entry>;
using Sections = QHash<QString, Section>;

QString suggestion(QStringView word, const QStringList &known, const char *open, const char *close)
{
    const QString near = nearestName(word, known);
    if (near.isEmpty())
        return QString();
    return QStringLiteral("; did you mean %1%2%3?").arg(QLatin1String(open), near, QLatin1String(close));
}

void checkPicture(const QString &name, const QString &imageFolder, const Entry &entry, Report &report)
{
    if (name.compare(u"none", Qt::CaseInsensitive) == 0)
        return;
    const QString path = imageFolder.isEmpty() ? QString() : QDir(imageFolder).filePath(name);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        report.error(entry.line, entry.valueColumn, QStringLiteral("picture '%1' does not exist").arg(name));
    else if (SkinPainter::pictureSize(path).isEmpty())
        report.error(entry.line, entry.valueColumn, QStringLiteral("picture '%1' cannot be read").arg(name));
}

void applyKeys(Look &look, const Section &section, const QString &imageFolder)
{
    for (auto it = section.constBegin(); it != section.constEnd(); ++it) {
        const KeySpec *spec = findKey(lookKeys(), it.key());
        if (!spec)
            continue;
        if (const auto value = parseValue(*spec, it->value, nullptr))
            assign(look, *spec, *value, imageFolder);
    }
}

Sections readSections(QByteArrayView text, const QString &imageFolder, Report &report)
{
    const QStringList sectionNames = report.active() ? knownSections() : QStringList();
    Sections sections;
    QString current;
    bool currentKnown = false;
    bool headerBroken = false;
    const QString all = QString::fromUtf8(text);
    int lineNumber = 0;
    for (QStringView raw : QStringView(all).split(u'\n')) {
        ++lineNumber;
        if (raw.size() > kMaxLineLength) {
            report.warning(lineNumber, 1,
                QStringLiteral("line longer than %1 characters is skipped").arg(kMaxLineLength));
            continue;
        }
        // Columns count from the first character a text editor shows: a byte order mark is not one.
        const qsizetype bom = raw.startsWith(u'\uFEFF') ? 1 : 0;
        qsizetype lead = bom;
        while (lead < raw.size() && raw[lead].isSpace())
            ++lead;
        const QStringView line = raw.mid(lead).trimmed();
        const auto column = [&](qsizetype indexInLine) { return int(lead + indexInLine - bom + 1); };
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            headerBroken = close <= 0;
            current = headerBroken ? QString() : line.mid(1, close - 1).trimmed().toString().toLower();
            currentKnown = false;
            if (headerBroken) {
                report.error(lineNumber, column(0), QStringLiteral("section name without a closing ']'"));
                continue;
            }
            qsizetype nameAt = 1;
            while (nameAt < close && line[nameAt].isSpace())
                ++nameAt;
            currentKnown = current == u"skin" || sectionNames.contains(current) || !report.active();
            if (!currentKnown)
                report.warning(lineNumber, column(nameAt),
                    QStringLiteral("unknown section [%1]").arg(current)
                        + suggestion(current, sectionNames, "[", "]"));
            sections[current]; // an empty section still counts as given
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0) {
            report.error(lineNumber, column(0),
                eq == 0 ? QStringLiteral("a value without a key") : QStringLiteral("expected KEY = VALUE"));
            continue;
        }
        if (current.isEmpty()) {
            if (!headerBroken)
                report.warning(lineNumber, column(0), QStringLiteral("key outside any section is ignored"));
            continue;
        }
        const QString key = line.left(eq).trimmed().toString().toLower();
        qsizetype valueAt = eq + 1;
        while (valueAt < line.size() && line[valueAt].isSpace())
            ++valueAt;
        const Entry entry { line.mid(eq + 1).trimmed().toString(), lineNumber, column(0), column(valueAt) };
        Section &section = sections[current];
        if (report.active() && currentKnown) {
            const auto keys = current == u"skin" ? generalKeys() : lookKeys();
            const KeySpec *spec = findKey(keys, key);
            if (!spec) {
                report.warning(lineNumber, entry.keyColumn,
                    QStringLiteral("unknown key '%1' in [%2]").arg(key, current)
                        + suggestion(key, keyNames(keys), "'", "'"));
            } else {
                if (const auto it = section.constFind(key); it != section.constEnd())
                    report.warning(lineNumber, entry.keyColumn,
                        QStringLiteral("'%1' given again in [%2]; the one on line %3 is ignored")
                            .arg(key, current)
                            .arg(it->line));
                QString problem;
                const auto value = parseValue(*spec, entry.value, &problem);
                if (!value)
                    report.error(lineNumber, entry.valueColumn, problem);
                else if (spec->kind == ValueKind::Picture)
                    checkPicture(std::get<QString>(*value), imageFolder, entry, report);
            }
        }
        section.insert(key, entry);
    }
    return sections;
}

} // namespace

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

Skin SkinParser::parse(const QByteArray &text, const QString &imageFolder, QList<SkinDiagnostic> *diagnostics)
{
    Report report(diagnostics);
    // Past the cap only whole lines count: a line cut in two could still parse, as a
    // different value ("radius = 12" read as "radius = 1").
    QByteArrayView kept(text);
    if (text.size() > kMaxFileBytes) {
        kept = kept.first(
            text.at(kMaxFileBytes) == '\n' ? kMaxFileBytes : text.lastIndexOf('\n', kMaxFileBytes - 1) + 1);
        const qsizetype lines = kept.count('\n') + (kept.isEmpty() || kept.endsWith('\n') ? 0 : 1);
        report.warning(0, 0,
            QStringLiteral("the file is larger than %1 bytes; only its first %2 whole lines are read")
                .arg(kMaxFileBytes)
                .arg(lines));
    }
    const QString folder = !imageFolder.isEmpty() && QFileInfo(imageFolder).isDir() ? imageFolder : QString();
    const Sections sections = readSections(kept, folder, report);
    Skin skin;
    const Section general = sections.value(QStringLiteral("skin"));
    const auto generalValue = [&general](const char *key) -> std::optional<Value> {
        const auto it = general.constFind(QLatin1String(key));
        return it == general.constEnd()
            ? std::nullopt
            : parseValue(*findKey(generalKeys(), QString::fromLatin1(key)), it->value, nullptr);
    };
    QColor textColour(0, 0, 0);
    if (const auto c = generalValue("base"))
        skin.setBase(std::get<QColor>(*c));
    if (const auto c = generalValue("text"))
        textColour = std::get<QColor>(*c);
    if (const auto n = generalValue("name"))
        skin.setName(std::get<QString>(*n).left(kMaxLineLength));

    // Slices that do not fit their picture are reported once, at the key that set them.
    QSet<std::pair<int, QString>> reportedSlices;
    for (int e = 0; e < kElementCount; ++e) {
        const auto element = static_cast<Element>(e);
        const QString elementName = Skin::elementName(element);
        std::array<Look, kStateCount> looks;
        std::array<const Entry *, kStateCount> sliceFrom {};
        const auto sliceOf = [](const Section &section) -> const Entry * {
            const auto it = section.constFind(QStringLiteral("slice"));
            return it == section.constEnd() ? nullptr : &*it;
        };
        Look &normal = looks[0];
        normal = defaultLook(element, skin.base(), textColour);
        const auto normalSection = sections.constFind(elementName);
        if (normalSection != sections.constEnd()) {
            applyKeys(normal, *normalSection, folder);
            sliceFrom[0] = sliceOf(*normalSection);
        }
        if (const QString auto_ = pictureFor(folder, element, State::Normal);
            !auto_.isEmpty() && !sections.value(elementName).contains(QStringLiteral("image")))
            normal.image = auto_;
        for (int s = 1; s < kStateCount; ++s) {
            const auto state = static_cast<State>(s);
            const Look &parent = looks[static_cast<size_t>(parentOf(state))];
            sliceFrom[size_t(s)] = sliceFrom[static_cast<size_t>(parentOf(state))];
            const auto own = sections.constFind(elementName + u'.' + Skin::stateName(state));
            const auto plain = plainOf(state);
            const auto borrowed = plain ? sections.constFind(elementName + u'.' + Skin::stateName(*plain))
                                        : sections.constEnd();
            const auto given = own != sections.constEnd() ? own : borrowed;
            Look &look = looks[static_cast<size_t>(s)];
            bool explicitImage = false;
            if (given != sections.constEnd()) {
                look = parent;
                look.effect = Effect::None;
                applyKeys(look, *given, folder);
                explicitImage = given->contains(QStringLiteral("image"));
                if (const Entry *slice = sliceOf(*given))
                    sliceFrom[size_t(s)] = slice;
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
        for (int s = 0; s < kStateCount; ++s) {
            const Look &look = looks[static_cast<size_t>(s)];
            skin.setLook(element, static_cast<State>(s), look);
            const Entry *slice = sliceFrom[size_t(s)];
            if (!report.active() || !slice || look.image.isEmpty() || look.slice.isNull()
                || reportedSlices.contains({ slice->line, look.image }))
                continue;
            reportedSlices.insert({ slice->line, look.image });
            const QSizeF size = SkinPainter::pictureSize(look.image);
            const QMargins &m = look.slice;
            if (!size.isEmpty()
                && (m.left() + m.right() > size.width() || m.top() + m.bottom() > size.height()))
                report.error(slice->line, slice->valueColumn,
                    QStringLiteral("slice %1,%2,%3,%4 is larger than picture '%5' (%6 x %7)")
                        .arg(m.left())
                        .arg(m.top())
                        .arg(m.right())
                        .arg(m.bottom())
                        .arg(QFileInfo(look.image).fileName())
                        .arg(size.width())
                        .arg(size.height()));
        }
    }
    if (diagnostics)
        std::stable_sort(
            diagnostics->begin(), diagnostics->end(), [](const SkinDiagnostic &a, const SkinDiagnostic &b) {
                return std::pair(a.line, a.column) < std::pair(b.line, b.column);
            });
    return skin;
}

Skin SkinParser::parseFile(const QString &path, QList<SkinDiagnostic> *diagnostics)
{
    const QFileInfo info(path);
    // Only regular files, judged on the open file: a pipe or device named like a skin, or
    // swapped in after a look at the name, would block or never end.
    QString why;
    const std::optional<QByteArray> read = system::readInputHead(path, kMaxFileBytes + 1, &why);
    const QByteArray bytes = read.value_or(QByteArray());
    if (!read && diagnostics)
        diagnostics->append({ 0, 0, SkinDiagnostic::Severity::Error,
            info.exists() ? QStringLiteral("cannot be read: ") + why : QStringLiteral("no such file") });
    const QString folder = info.dir().filePath(info.completeBaseName());
    Skin skin = parse(bytes, folder, diagnostics);
    if (skin.name().isEmpty())
        skin.setName(info.completeBaseName());
    return skin;
}

} // namespace quillet::skin
