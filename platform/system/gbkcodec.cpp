#include "platform/system/gbkcodec.h"

#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace quillet::system {

namespace {

constexpr char kGbk[] = "GBK";
constexpr char kGb18030[] = "GB18030";
constexpr char kUtf8[] = "UTF-8";
constexpr char kReplacementUtf8[] = "\xEF\xBF\xBD";
constexpr char kUnencodable = '?';
constexpr qsizetype kMinChunk = 64;

iconv_t asIconv(void *handle)
{
    return static_cast<iconv_t>(handle);
}

void *openIconv(const char *to, const char *from)
{
    iconv_t cd = iconv_open(to, from);
    return cd == reinterpret_cast<iconv_t>(-1) ? nullptr : static_cast<void *>(cd);
}

void closeIconv(void *handle)
{
    if (handle)
        iconv_close(asIconv(handle));
}

bool isAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

bool isAscii(const QByteArray &bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// Converts as much of [in, in + inLeft) as the converter accepts, appending to out.
// Returns 0 when everything was converted, otherwise the errno that stopped it
// (EILSEQ, EINVAL); in and inLeft then point at the offending bytes.
int convertInto(void *handle, const char *&in, size_t &inLeft, QByteArray &out)
{
    if (!handle)
        return EILSEQ;
    iconv_t cd = asIconv(handle);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        const qsizetype used = out.size();
        const qsizetype room = std::max<qsizetype>(kMinChunk, static_cast<qsizetype>(inLeft) * 4);
        out.resize(used + room);
        char *outPtr = out.data() + used;
        size_t outLeft = static_cast<size_t>(room);
        char *inPtr = const_cast<char *>(in);
        const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        in = inPtr;
        out.resize(used + room - static_cast<qsizetype>(outLeft));
        if (rc != static_cast<size_t>(-1))
            continue;
        if (error != E2BIG)
            return error;
    }
    return 0;
}

qsizetype utf8SequenceLength(const char *p, size_t left)
{
    const auto lead = static_cast<unsigned char>(*p);
    qsizetype length = 1;
    if (lead >= 0xF0)
        length = 4;
    else if (lead >= 0xE0)
        length = 3;
    else if (lead >= 0xC0)
        length = 2;
    return std::min<qsizetype>(length, static_cast<qsizetype>(left));
}

bool inRange(unsigned char byte, unsigned char low, unsigned char high)
{
    return byte >= low && byte <= high;
}

// Length of the GB18030 sequence that could start at p: four bytes for the
// byte-digit-byte-digit form, two for a lead byte, else one.
qsizetype gb18030SequenceLength(const char *p, size_t left)
{
    const auto *b = reinterpret_cast<const unsigned char *>(p);
    if (!inRange(b[0], 0x81, 0xFE) || left < 2)
        return 1;
    if (left >= 4 && inRange(b[1], 0x30, 0x39) && inRange(b[2], 0x81, 0xFE) && inRange(b[3], 0x30, 0x39))
        return 4;
    return 2;
}

} // namespace

GbkCodec::GbkCodec()
    : m_toGbk(openIconv(kGbk, kUtf8))
    , m_toGb18030(openIconv(kGb18030, kUtf8))
    , m_fromGbk(openIconv(kUtf8, kGbk))
    , m_fromGb18030(openIconv(kUtf8, kGb18030))
{
}

GbkCodec::~GbkCodec()
{
    closeIconv(m_toGbk);
    closeIconv(m_toGb18030);
    closeIconv(m_fromGbk);
    closeIconv(m_fromGb18030);
}

QByteArray GbkCodec::encode(const QString &text)
{
    if (isAscii(text))
        return text.toLatin1();
    const QByteArray utf8 = text.toUtf8();
    const char *in = utf8.constData();
    size_t inLeft = static_cast<size_t>(utf8.size());
    QByteArray out;
    out.reserve(utf8.size() * 2);
    while (inLeft > 0) {
        if (convertInto(m_toGbk, in, inLeft, out) == 0)
            break;
        // One character GBK lacks: GB18030 holds every code point.
        const qsizetype length = utf8SequenceLength(in, inLeft);
        const char *single = in;
        size_t singleLeft = static_cast<size_t>(length);
        const qsizetype mark = out.size();
        if (convertInto(m_toGb18030, single, singleLeft, out) != 0) {
            out.truncate(mark);
            out.append(kUnencodable);
        }
        in += length;
        inLeft -= static_cast<size_t>(length);
    }
    return out;
}

QString GbkCodec::decode(const QByteArray &bytes)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    const char *in = bytes.constData();
    size_t inLeft = static_cast<size_t>(bytes.size());
    QByteArray utf8;
    utf8.reserve(bytes.size() * 2);
    while (inLeft > 0) {
        if (convertInto(m_fromGbk, in, inLeft, utf8) == 0)
            break;
        const qsizetype length = gb18030SequenceLength(in, inLeft);
        const char *single = in;
        size_t singleLeft = static_cast<size_t>(length);
        const qsizetype mark = utf8.size();
        if (length > 1 && convertInto(m_fromGb18030, single, singleLeft, utf8) == 0) {
            in += length;
            inLeft -= static_cast<size_t>(length);
            continue;
        }
        // Not a character in either table: replace one byte and resynchronise on the next.
        utf8.truncate(mark);
        utf8.append(kReplacementUtf8);
        ++in;
        --inLeft;
    }
    // A leading U+FEFF is text here, not a byte order mark to drop.
    QStringDecoder toText(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return toText(utf8);
}

QByteArray GbkCodec::toGbk(const QString &text)
{
    if (isAscii(text))
        return text.toLatin1();
    GbkCodec codec;
    return codec.encode(text);
}

QString GbkCodec::fromGbk(const QByteArray &bytes)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    GbkCodec codec;
    return codec.decode(bytes);
}

} // namespace quillet::system
