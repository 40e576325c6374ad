#include "batch/batchmain.h"

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

bool BatchMain::isBatch(int argc, char **argv)
{
    return argc >= 2 && (std::strcmp(argv[1], "render") == 0 || std::strcmp(argv[1], "skin") == 0);
}

int BatchMain::run(int argc, char **argv)
{
    system::ProcessEnvironment::prepare();
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
    if (std::strcmp(argv[1], "skin") == 0)
        return SkinCommand::run(arguments, { QApplication::applicationDirPath(), out, err });
    return RenderCommand::run(
        arguments, { QApplication::applicationDirPath(), out, err, system::Terminal::errorIsTerminal() });
}

} // namespace quillet::batch
