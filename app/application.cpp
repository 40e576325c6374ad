#include "app/application.h"

#include "app/designerprogram.h"
#include "app/windowlanguage.h"
#include "batch/batchmain.h"
#include "output/outputfolder.h"
#include "platform/form/fontsetup.h"
#include "platform/form/qtdialogs.h"
#include "platform/system/displayprobe.h"
#include "platform/system/languagechoice.h"
#include "platform/system/processenvironment.h"
#include "platform/system/systemnetworkprobe.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>

namespace quillet::app {

int Application::run(int argc, char **argv)
{
    if (batch::BatchMain::handles(argc, argv))
        return batch::BatchMain::run(argc, argv);
    // Qt aborts with a long message when it cannot reach the display; say it in one line.
    const QString noDisplay = system::DisplayProbe::unavailableReason();
    if (!noDisplay.isEmpty()) {
        std::fprintf(stderr,
            "quillet: the designer window needs a display (%s); \"quillet render\" makes pictures "
            "without one (see quillet --help)\n",
            qPrintable(noDisplay));
        return 1;
    }
    system::ProcessEnvironment::prepare();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet3.0"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLET_VERSION));
    form::FontSetup::install();
    const system::Language language = system::LanguageChoice::ofProcess();
    WindowLanguage::install(language);

    form::QtDialogs dialogs;
    system::SystemNetworkProbe network;
    const QString executable = QApplication::applicationFilePath();
    DesignerProgram program({ dialogs, network, QApplication::applicationDirPath(),
        output::OutputFolder::GetSpecialFolder(output::OutputFolder::DesktopKind),
        QFileInfo(executable).fileName(), language });
    program.start();
    const int result = QApplication::exec();
    program.releaseAtExit();
    return result;
}

} // namespace quillet::app
