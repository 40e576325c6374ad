#include "batch/batchmain.h"

#include "batch/kitcommand.h"
#include "batch/messagebuffer.h"
#include "batch/rendercommand.h"
#include "batch/skincommand.h"
#include "platform/form/fontsetup.h"
#include "platform/system/interruption.h"
#include "platform/system/processenvironment.h"
#include "platform/system/terminal.h"

#include <QApplication>
#include <QStringDecoder>
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
    // How the designer window's language is chosen (platform/system/languagechoice).
    return QStringLiteral("The designer window needs a display; the subcommands need none.\n"
                          "\nThe designer window speaks English when LANGUAGE (a colon-separated list) or, after it,\n"
                          "LANG names English first among the languages it has (en, en_US.UTF-8, ...); otherwise,\n"
                          "also under LANG=C or with neither set, it speaks Chinese. For example:\n"
                          "  LANG=en_US.UTF-8 quillet      LANGUAGE=zh_CN quillet\n"
                          "Picture file names, their state words (_正常 ...) and the settings file stay Chinese.\n");
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

// The designer takes no arguments of its own (Qt's take one dash): a long option or a word
// that names no subcommand is a mistake to say so, not a reason to open a window.
static bool isUnknown(const char *argument)
{
    return std::strncmp(argument, "--", 2) == 0 || (argument[0] != '-' && argument[0] != '\0');
}

bool BatchMain::handles(int argc, char **argv)
{
    return argc >= 2 && (subcommand(argv[1]) || isProgramOption(argv[1]) || isUnknown(argv[1]));
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
    if (!subcommand(argv[1])) {
        std::fprintf(stderr, "quillet: unknown %s \"%s\" (see quillet --help)\n",
            argv[1][0] == '-' ? "option" : "subcommand", argv[1]);
        return 2;
    }
    // Bytes that are no UTF-8 would each become U+FFFD, and two different names one file.
    for (int i = 2; i < argc; ++i) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        (void)QString(utf8(QByteArrayView(argv[i])));
        if (utf8.hasError()) {
            std::fprintf(stderr, "quillet %s: argument %d is not valid UTF-8 text\n", argv[1], i - 1);
            return 2;
        }
    }
    const Subcommand *command = subcommand(argv[1]);
    // A signal stops the run between pictures, so temporaries and the runtime folder go.
    system::interruption::catchSignals();
    system::ProcessEnvironment::prepare();
    const auto runtimeFolder = system::ProcessEnvironment::provideRuntimeFolder();
    // No display is needed or wanted: the pictures are drawn in memory.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    MessageBuffer noise;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet3.0"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLET_VERSION));
    form::FontSetup::install();

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList arguments = QApplication::arguments().mid(2);
    const int code = command->run(
        arguments, { QApplication::applicationDirPath(), out, err, system::Terminal::errorIsTerminal() });
    // The libraries' own lines only where they may explain a failure, and after ours.
    const QString held = noise.take();
    if (code != 0 && !held.isEmpty()) {
        err << held;
        err.flush();
    }
    return code;
}

} // namespace quillet::batch
