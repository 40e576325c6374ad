#pragma once

#include "batch/commandcontext.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

// A subcommand (quillet render, kit, ...) run in this process as the program runs it, with
// what it printed on each stream.
struct CommandRun
{
    using Command = int (*)(const QStringList &, const quillet::batch::CommandContext &);

    int code = -1;
    QString out;
    QString err;

    static CommandRun of(Command command, const QStringList &arguments, const QString &programFolder)
    {
        CommandRun run;
        QTextStream out(&run.out);
        QTextStream err(&run.err);
        run.code = command(arguments, { programFolder, out, err, false });
        out.flush();
        err.flush();
        return run;
    }

    // Empty when it succeeded, else its exit code and error stream.
    QString failure() const
    {
        return code == 0 ? QString() : QStringLiteral("exit %1: ").arg(code) + err;
    }
};
