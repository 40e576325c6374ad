#include "catalogue/privateprofile.h"

#include "platform/file/filewriter.h"
#include "platform/system/gbkcodec.h"

#include <QFile>
#include <QFileInfo>

#include <vector>

namespace quillet::catalogue {

namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr qsizetype kUtf8BomSize = 3;
constexpr char kCrLf[] = "\r\n";
constexpr char kLf[] = "\n";
constexpr unsigned char kDbcsLeadFirst = 0x81;
constexpr unsigned char kDbcsLeadLast = 0xFE;
constexpr char16_t kCtrlZ = 0x1A;
constexpr qint64 kReadChunkBytes = 64 * 1024;

constexpr char kCr[] = "\r";

enum class TextForm { Gbk, Utf8, Utf16 };

unsigned char byteAt(const QByteArray &bytes, qsizetype i)
{
    return static_cast<unsigned char>(bytes.at(i));
}

TextForm textFormOf(const QByteArray &content)
{
    if (content.startsWith(kUtf8Bom))
        return TextForm::Utf8;
    if (content.startsWith("\xFF\xFE") || content.startsWith("\xFE\xFF"))
        return TextForm::Utf16;
    return TextForm::Gbk;
}

qsizetype bodyStart(TextForm form)
{
    return form == TextForm::Utf8 ? kUtf8BomSize : 0;
}

bool isProfileSpace(char16_t c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == kCtrlZ;
}

bool isDbcsLead(TextForm form, unsigned char c)
{
    return form == TextForm::Gbk && c >= kDbcsLeadFirst && c <= kDbcsLeadLast;
}

unsigned char foldAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

struct Span
{
    qsizetype begin = 0;
    qsizetype end = 0;
    bool isEmpty() const { return begin >= end; }
};

Span trimmed(const QByteArray &bytes, Span span)
{
    while (span.begin < span.end && isProfileSpace(byteAt(bytes, span.begin)))
        ++span.begin;
    while (span.end > span.begin && isProfileSpace(byteAt(bytes, span.end - 1)))
        --span.end;
    return span;
}

QString trimmedName(const QString &name)
{
    qsizetype begin = 0;
    qsizetype end = name.size();
    while (begin < end && isProfileSpace(name.at(begin).unicode()))
        ++begin;
    while (end > begin && isProfileSpace(name.at(end - 1).unicode()))
        --end;
    return name.mid(begin, end - begin);
}

// Compares with ASCII letters folded, but never the trail byte of a double-byte
// character: GBK trail bytes include the codes of ASCII letters.
bool sameName(const QByteArray &bytes, Span span, const QByteArray &name, TextForm form)
{
    if (span.end - span.begin != name.size())
        return false;
    qsizetype i = 0;
    while (i < name.size()) {
        const unsigned char c = byteAt(bytes, span.begin + i);
        const unsigned char n = byteAt(name, i);
        if (isDbcsLead(form, c) && i + 1 < name.size()) {
            if (c != n || bytes.at(span.begin + i + 1) != name.at(i + 1))
                return false;
            i += 2;
            continue;
        }
        if (foldAscii(c) != foldAscii(n))
            return false;
        ++i;
    }
    return true;
}

enum class LineKind { Blank, Comment, Section, Key };

struct Line
{
    qsizetype start = 0;
    qsizetype contentEnd = 0; // before the line end
    qsizetype end = 0; // after the line end
    LineKind kind = LineKind::Blank;
    Span name;
    Span value;
    bool hasEquals = false;
};

Line classify(const QByteArray &bytes, TextForm form, qsizetype start, qsizetype contentEnd, qsizetype end)
{
    Line line { start, contentEnd, end, LineKind::Blank, {}, {}, false };
    const Span text = trimmed(bytes, { start, contentEnd });
    if (text.isEmpty())
        return line;
    if (bytes.at(text.begin) == ';') {
        line.kind = LineKind::Comment;
        return line;
    }
    if (bytes.at(text.begin) == '[') {
        qsizetype close = -1;
        for (qsizetype i = text.begin + 1; i < text.end; ++i) {
            if (isDbcsLead(form, byteAt(bytes, i)))
                ++i;
            else if (bytes.at(i) == ']')
                close = i;
        }
        if (close >= 0) {
            line.kind = LineKind::Section;
            line.name = trimmed(bytes, { text.begin + 1, close });
            return line;
        }
        // Without a closing bracket the line is an ordinary key line.
    }
    line.kind = LineKind::Key;
    const qsizetype equals = bytes.indexOf('=', text.begin);
    if (equals >= 0 && equals < text.end) {
        line.hasEquals = true;
        line.name = trimmed(bytes, { text.begin, equals });
        line.value = trimmed(bytes, { equals + 1, text.end });
        if (line.value.isEmpty())
            line.value = { text.end, text.end };
    } else {
        line.name = text;
        line.value = { text.end, text.end };
    }
    return line;
}

// A line ends at CR LF, LF or a lone CR, as the Windows reader ends it.
std::vector<Line> splitLines(const QByteArray &bytes, TextForm form)
{
    std::vector<Line> lines;
    qsizetype start = bodyStart(form);
    while (start < bytes.size()) {
        qsizetype contentEnd = start;
        while (contentEnd < bytes.size() && bytes.at(contentEnd) != '\n' && bytes.at(contentEnd) != '\r')
            ++contentEnd;
        qsizetype end = contentEnd;
        if (end < bytes.size() && bytes.at(end) == '\r')
            ++end;
        if (end < bytes.size() && bytes.at(end) == '\n')
            ++end;
        lines.push_back(classify(bytes, form, start, contentEnd, end));
        start = end;
    }
    return lines;
}

struct Lookup
{
    std::vector<Line> lines;
    qsizetype section = -1; // index of the first matching section line
    qsizetype lastInSection = -1; // index of its last line that is not blank
    qsizetype key = -1; // index of the first matching key line in it
};

Lookup find(const QByteArray &bytes, TextForm form, const QByteArray &section, const QByteArray &key)
{
    Lookup result;
    result.lines = splitLines(bytes, form);
    for (qsizetype i = 0; i < static_cast<qsizetype>(result.lines.size()); ++i) {
        const Line &line = result.lines[static_cast<size_t>(i)];
        if (result.section < 0) {
            if (line.kind == LineKind::Section && sameName(bytes, line.name, section, form)) {
                result.section = i;
                result.lastInSection = i;
            }
            continue;
        }
        if (line.kind == LineKind::Section)
            break;
        if (line.kind != LineKind::Blank)
            result.lastInSection = i;
        if (result.key < 0 && line.kind == LineKind::Key && sameName(bytes, line.name, key, form))
            result.key = i;
    }
    return result;
}

QByteArray encodeFor(TextForm form, const QString &text)
{
    return form == TextForm::Utf8 ? text.toUtf8() : system::GbkCodec::toGbk(text);
}

QString decodeFor(TextForm form, const QByteArray &bytes)
{
    return form == TextForm::Utf8 ? QString::fromUtf8(bytes) : system::GbkCodec::fromGbk(bytes);
}

// The file's own line end, from its first line; CR LF for a file that has none yet.
QByteArray lineEndOf(const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) == '\n')
            return kLf;
        if (bytes.at(i) == '\r')
            return i + 1 < bytes.size() && bytes.at(i + 1) == '\n' ? kCrLf : kCr;
    }
    return kCrLf;
}

// UTF-16 files are handled as their UTF-8 form (with a UTF-8 mark, so that it reads as
// UTF-8) and written back in the file's own byte order. nullopt for text that does not
// survive the round trip unchanged (a lone surrogate), so it is never rewritten.
struct Utf16Form
{
    bool bigEndian = false;
};

std::optional<QByteArray> utf16AsUtf8(const QByteArray &content, Utf16Form &form)
{
    form.bigEndian = content.startsWith("\xFE\xFF");
    const QByteArray body = content.mid(2);
    if (body.size() % 2 != 0)
        return std::nullopt;
    QString text(body.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto hi = byteAt(body, 2 * i + (form.bigEndian ? 0 : 1));
        const auto lo = byteAt(body, 2 * i + (form.bigEndian ? 1 : 0));
        text[i] = QChar(char16_t((hi << 8) | lo));
    }
    QByteArray utf8 = QByteArray(kUtf8Bom) + text.toUtf8();
    if (QString::fromUtf8(utf8.mid(kUtf8BomSize)) != text)
        return std::nullopt;
    return utf8;
}

QByteArray utf8AsUtf16(const QByteArray &utf8, const Utf16Form &form)
{
    const QString text = QString::fromUtf8(utf8.mid(kUtf8BomSize));
    QByteArray bytes(form.bigEndian ? "\xFE\xFF" : "\xFF\xFE");
    bytes.reserve(2 + 2 * text.size());
    for (const QChar c : text) {
        const char hi = char(c.unicode() >> 8);
        const char lo = char(c.unicode() & 0xFF);
        bytes.append(form.bigEndian ? hi : lo).append(form.bigEndian ? lo : hi);
    }
    return bytes;
}

bool hasLineBreakOrNul(const QString &text)
{
    return text.contains(u'\n') || text.contains(u'\r') || text.contains(QChar(0));
}

bool isStorableSection(const QString &name)
{
    return !name.isEmpty() && !hasLineBreakOrNul(name);
}

// A key must not read back as a section line, a comment or a key of another name.
bool isStorableKey(const QString &name)
{
    return !name.isEmpty() && !hasLineBreakOrNul(name) && !name.contains(u'=') && !name.startsWith(u'[')
        && !name.startsWith(u';');
}

bool isReadOnly(const QFileInfo &info)
{
    constexpr auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return !info.isWritable() || !(info.permissions() & anyWrite);
}

// nullopt when the file exists but cannot serve as a settings file; empty bytes when
// there is no file.
std::optional<QByteArray> readContent(const QString &filePath)
{
    const QFileInfo info(filePath);
    if (!info.exists())
        return QByteArray();
    if (!info.isFile() || info.size() > PrivateProfile::kMaxFileBytes)
        return std::nullopt;
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // In chunks: a single read of the size limit would allocate all of it every time.
    QByteArray content;
    content.reserve(info.size());
    for (;;) {
        const QByteArray chunk = file.read(kReadChunkBytes);
        if (chunk.isEmpty())
            break;
        content.append(chunk);
        if (content.size() > PrivateProfile::kMaxFileBytes)
            return std::nullopt;
    }
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return content;
}

} // namespace

QString PrivateProfile::valueIn(const QByteArray &content, const QString &section, const QString &key)
{
    const TextForm form = textFormOf(content);
    if (form == TextForm::Utf16) {
        Utf16Form utf16;
        const std::optional<QByteArray> utf8 = utf16AsUtf8(content, utf16);
        return utf8 ? valueIn(*utf8, section, key) : QString();
    }
    const QString sectionName = trimmedName(section);
    const QString keyName = trimmedName(key);
    if (sectionName.isEmpty() || keyName.isEmpty())
        return {};
    const Lookup found = find(content, form, encodeFor(form, sectionName), encodeFor(form, keyName));
    if (found.key < 0)
        return {};
    Span value = found.lines[static_cast<size_t>(found.key)].value;
    if (value.end - value.begin >= 2) {
        const char first = content.at(value.begin);
        if ((first == '"' || first == '\'') && content.at(value.end - 1) == first) {
            ++value.begin;
            --value.end;
        }
    }
    QByteArray bytes = content.mid(value.begin, value.end - value.begin);
    // The value is a C string to every Windows reader: it ends at a NUL byte.
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    return decodeFor(form, bytes);
}

std::optional<QByteArray> PrivateProfile::withValue(
    const QByteArray &content, const QString &section, const QString &key, const QString &value)
{
    const TextForm form = textFormOf(content);
    if (form == TextForm::Utf16) {
        Utf16Form utf16;
        const std::optional<QByteArray> utf8 = utf16AsUtf8(content, utf16);
        const std::optional<QByteArray> updated = utf8 ? withValue(*utf8, section, key, value) : std::nullopt;
        return updated ? std::optional<QByteArray>(utf8AsUtf16(*updated, utf16)) : std::nullopt;
    }
    const QString sectionName = trimmedName(section);
    const QString keyName = trimmedName(key);
    if (!isStorableSection(sectionName) || !isStorableKey(keyName) || hasLineBreakOrNul(value))
        return std::nullopt;
    const QByteArray sectionBytes = encodeFor(form, sectionName);
    const QByteArray keyBytes = encodeFor(form, keyName);
    const QByteArray valueBytes = encodeFor(form, value);
    const Lookup found = find(content, form, sectionBytes, keyBytes);
    QByteArray result = content;

    if (found.key >= 0) {
        const Line &line = found.lines[static_cast<size_t>(found.key)];
        if (line.hasEquals)
            result.replace(line.value.begin, line.value.end - line.value.begin, valueBytes);
        else
            result.insert(line.value.end, QByteArray("=") + valueBytes);
        return result;
    }

    const QByteArray lineEnd = lineEndOf(content);
    const QByteArray keyLine = QByteArray(keyBytes).append('=').append(valueBytes);
    if (found.section >= 0) {
        const Line &last = found.lines[static_cast<size_t>(found.lastInSection)];
        if (last.end == last.contentEnd) // last line of a file without a final line end
            result.insert(last.end, QByteArray(lineEnd).append(keyLine));
        else
            result.insert(last.end, QByteArray(keyLine).append(lineEnd));
        return result;
    }

    if (result.size() > bodyStart(form) && !result.endsWith('\n'))
        result.append(lineEnd);
    result.append('[').append(sectionBytes).append(']').append(lineEnd).append(keyLine).append(lineEnd);
    return result;
}

std::optional<QByteArray> PrivateProfile::contents(const QString &filePath)
{
    return readContent(filePath);
}

QString PrivateProfile::read(const QString &filePath, const QString &section, const QString &key)
{
    const std::optional<QByteArray> content = readContent(filePath);
    return content ? valueIn(*content, section, key) : QString();
}

bool PrivateProfile::write(
    const QString &filePath, const QString &section, const QString &key, const QString &value)
{
    const QFileInfo info(filePath);
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir() || isReadOnly(folder))
        return false;
    if (info.exists() && isReadOnly(info))
        return false;
    const std::optional<QByteArray> content = readContent(filePath);
    if (!content)
        return false;
    const std::optional<QByteArray> updated = withValue(*content, section, key, value);
    if (!updated)
        return false;
    return file::writeFile(filePath, *updated).ok();
}

} // namespace quillet::catalogue
