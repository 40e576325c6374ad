#include "batch/batchmain.h"

#include "batch/kitcommand.h"
#include "batch/rendercommand.h"
#include "batch/skincommand.h"
#include "platform/form/fontsetup.h"
#include "platform/system/processenvironment.h"
#include "platform/system/terminal.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>
#include <cstring>

namespace quillet::batch {

namespace {

const Subcommand *subcommand(const char *name)
{
    return Subcommands::find(BatchMain::subcommands(), QString::fromLocal8Bit(name));
}

bool isProgramOption(const char *argument)
{
    return std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0
        || std::strcmp(argument, "--version") == 0;
}

} // namespace

std::span<const Subcommand> BatchMain::subcommands()
{
    static const Subcommand list[]
        = { RenderCommand::subcommand(), KitCommand::subcommand(), SkinCommand::subcommand() };
    return list;
}

QString BatchMain::programNotes()
{
    return QStringLiteral("The designer window needs a display; the subcommands need none.\n");
}

const char *BatchMain::programUsage()
{
    static const QByteArray text = []() -> QByteArray {
        QByteArray usage = "Usage: quillet                  open the designer window (needs a display)\n";
        for (const Subcommand &command : subcommands())
            usage += QByteArray("       quillet ") + command.name.toUtf8().leftJustified(16)
                + command.summary.toUtf8() + '\n';
        usage += "       quillet --help | --version\n";
        return usage + '\n' + programNotes().toUtf8();
    }();
    return text.constData();
}

bool BatchMain::handles(int argc, char **argv)
{
    return argc >= 2 && (subcommand(argv[1]) || isProgramOption(argv[1]));
}

int BatchMain::run(int argc, char **argv)
{
    // The program's own options answer before Qt starts: they must work anywhere.
    if (isProgramOption(argv[1])) {
        if (std::strcmp(argv[1], "--version") == 0)
            std::fputs("quillet " QUILLET_VERSION "\n", stdout);
        else
            std::fputs(programUsage(), stdout);
        return 0;
    }
    const Subcommand *command = subcommand(argv[1]);
    system::ProcessEnvironment::prepare();
    const auto runtimeFolder = system::ProcessEnvironment::provideRuntimeFolder();
    // No display is needed or wanted: the pictures are drawn in memory.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet3.0"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLET_VERSION));
    form::FontSetup::install();

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList arguments = QApplication::arguments().mid(2);
    return command->run(
        arguments, { QApplication::applicationDirPath(), out, err, system::Terminal::errorIsTerminal() });
}

} // namespace quillet::batch
