#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <utility>

namespace quillet::batch {

// What every subcommand answers: 2 for input refused before anything was written, 1 for a
// write that failed.
enum ExitCode { Success = 0, WriteFailed = 1, BadInput = 2 };

// What each code means, as the manual page tells it.
inline constexpr std::pair<ExitCode, QStringView> kExitCodes[] = {
    { Success, u"Success: every file was written (or was already up to date) and is on disk." },
    { WriteFailed,
        u"A write failed; the message names the file and the reason. Files written "
        u"before it stay whole." },
    { BadInput, u"An option, a value, a skin or a file name was refused; nothing was written." },
};

// What every subcommand is run with: where the program's skins are, and its two streams.
struct CommandContext
{
    QString programFolder; // the skins are its skins/ folder
    QTextStream &out;
    QTextStream &err;
    bool errorIsTerminal = false;
};

// One line on the error stream, the command's prefix ("quillet render: ") first; answers
// the exit code.
inline int fail(QTextStream &err, QStringView prefix, const QString &message, int code = BadInput)
{
    err << prefix << message << u'\n';
    err.flush();
    return code;
}

// The skin files of the program's skins/ folder, in the designer's order.
QStringList skinFiles(const QString &programFolder);

// Why --out cannot take the files, or nothing: a folder that does not exist yet is made
// later, but a file or a read-only folder in its place is refused before anything is written.
QString outFolderProblem(const QString &out);

// The end of every writing command: the files in `folder` made durable, then the count
// line on the output stream; a failed sync is a failed write.
int finishWriting(const CommandContext &context, QStringView prefix, const QString &folder,
    const QString &shownFolder, int written, int upToDate);

} // namespace quillet::batch
