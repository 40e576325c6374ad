#pragma once

#include "pictures/picturewriter.h"

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
// the exit code. Control characters in the message are shown escaped and a very long
// message is shortened in its middle, so what the user typed cannot move the terminal.
int fail(QTextStream &err, QStringView prefix, const QString &message, int code = BadInput);
// The message as fail() prints it.
QString printable(const QString &message);

// The skin files of the program's skins/ folder, in the designer's order.
QStringList skinFiles(const QString &programFolder);

// Why --out cannot take the files, or nothing: a folder that does not exist yet is made
// later, but a file or a read-only folder in its place is refused before anything is written.
QString outFolderProblem(const QString &out);

// How every writing command runs the writer: stopped by SIGINT and SIGTERM.
pictures::WriterOptions writerOptions();

// The end of every writing command: the count line on the output stream, or the writer's
// one line and its exit code. A folder --out names that cannot be made is refused input.
int reportWriting(const CommandContext &context, QStringView prefix, const pictures::WriteReport &report);

} // namespace quillet::batch
