#pragma once

#include <QByteArray>
#include <QString>

namespace quillet::system {

// Text in the Simplified Chinese ANSI code page: GBK, and GB18030 for the characters
// GBK cannot hold, so that no text is ever lost on the way to bytes. Decoding never
// fails: each byte that starts no valid sequence becomes U+FFFD and decoding goes on
// with the next byte. One object keeps its converters open; it is not thread-safe.
class GbkCodec
{
public:
    GbkCodec();
    ~GbkCodec();
    GbkCodec(const GbkCodec &) = delete;
    GbkCodec &operator=(const GbkCodec &) = delete;

    QByteArray encode(const QString &text);
    QString decode(const QByteArray &bytes);

    // For single conversions; each call opens and closes its own converters.
    static QByteArray toGbk(const QString &text);
    static QString fromGbk(const QByteArray &bytes);

private:
    // iconv_t kept as void * so that callers need not include <iconv.h>.
    void *m_toGbk;
    void *m_toGb18030;
    void *m_fromGbk;
    void *m_fromGb18030;
};

} // namespace quillet::system
