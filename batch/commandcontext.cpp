#include "batch/commandcontext.h"

#include "catalogue/programpaths.h"
#include "catalogue/skincatalogue.h"
#include "platform/system/interruption.h"

#include <QFileInfo>

namespace quillet::batch {

namespace {

// Long enough for a path and its reason; a megabyte caption is not echoed whole.
constexpr qsizetype kMaxMessage = 400;

bool isBidiControl(char32_t c)
{
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

} // namespace

QString printable(const QString &message)
{
    QString text;
    for (const char32_t c : message.toUcs4()) {
        if (c == u'\n')
            text += QStringLiteral("\\n");
        else if (c == u'\r')
            text += QStringLiteral("\\r");
        else if (c == u'\t')
            text += QStringLiteral("\\t");
        else if (c < 0x20 || (c >= 0x7F && c < 0xA0))
            text += QStringLiteral("\\x%1").arg(uint(c), 2, 16, QChar(u'0'));
        else if (isBidiControl(c))
            text += QStringLiteral("<U+") + QString::number(uint(c), 16).toUpper().rightJustified(4, u'0') + u'>';
        else
            text += QString::fromUcs4(&c, 1);
    }
    if (text.size() <= kMaxMessage)
        return text;
    // Cut between characters, never inside a surrogate pair.
    qsizetype head = kMaxMessage * 2 / 3;
    qsizetype tail = text.size() - kMaxMessage / 3;
    if (text.at(head).isLowSurrogate())
        --head;
    if (text.at(tail).isLowSurrogate())
        ++tail;
    return text.left(head) + QStringLiteral(" … ") + text.mid(tail);
}

int fail(QTextStream &err, QStringView prefix, const QString &message, int code)
{
    err << prefix << printable(message) << u'\n';
    err.flush();
    return code;
}

QStringList skinFiles(const QString &programFolder)
{
    QStringList files;
    catalogue::SkinCatalogue::fill(catalogue::ProgramPaths::skinsFolder(programFolder), files, nullptr, {});
    return files;
}

QString outFolderProblem(const QString &out)
{
    const QFileInfo info(out);
    if (info.exists() && !info.isDir())
        return QStringLiteral("--out: \"") + out + QStringLiteral("\" is not a folder");
    if (info.isDir() && !info.isWritable())
        return QStringLiteral("--out: cannot write into \"") + out + u'"';
    return {};
}

pictures::WriterOptions writerOptions()
{
    pictures::WriterOptions options;
    options.interrupted = [] { return system::interruption::signalNumber() != 0; };
    return options;
}

int reportWriting(const CommandContext &context, QStringView prefix, const pictures::WriteReport &report)
{
    using Status = pictures::WriteReport::Status;
    if (report.status == Status::FolderFailed)
        return fail(context.err, prefix, QStringLiteral("--out: ") + report.failure);
    if (report.status == Status::Failed)
        return fail(context.err, prefix, report.failure, WriteFailed);
    if (report.status == Status::Interrupted) {
        fail(context.err, prefix,
            QStringLiteral("interrupted; the %1 files written so far are whole, and a rerun skips them")
                .arg(report.written + report.upToDate));
        return system::interruption::exitCode();
    }
    context.out << report.written << (report.written == 1 ? " file written, " : " files written, ")
                << report.upToDate << " already up to date\n";
    context.out.flush();
    return Success;
}

} // namespace quillet::batch
