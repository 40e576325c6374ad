#include "app/lifecycle.h"

#include "app/appstate.h"
#include "app/pagethread.h"
#include "app/programpaths.h"
#include "app/settingsfile.h"
#include "app/settingslocation.h"
#include "app/skincatalogue.h"
#include "app/skinswitcher.h"
#include "app/webexportsettings.h"
#include "integration/desktoplauncher.h"
#include "platform/form/formruntime.h"
#include "platform/form/intervaltimer.h"
#include "platform/form/numbertext.h"
#include "platform/skin/skinengine.h"
#include "ui/designercontrols.h"
#include "ui/designerwindow.h"

namespace quillet::app {

Lifecycle::Lifecycle(const Parts &parts)
    : m_parts(parts)
{
}

void Lifecycle::onCreated(const QString &programFolder)
{
    AppState &state = m_parts.state;
    auto &ui = m_parts.window.controls();

    state.programFolder = programFolder;
    const QString settings = SettingsLocation::readPath(state.programFolder);
    state.currentSkinIndex = SettingsFile::readSkinIndex(settings);
    state.webOptions = WebExportSettings::read(settings);
    SkinCatalogue::fill(ProgramPaths::skinsFolder(state.programFolder), state.skinFiles, ui.列表框1,
                        &form::FormRuntime::processEvents);
    m_parts.skins.applyCurrentSkin();
    form::FormRuntime::setCurrentItemIndex(ui.列表框1, state.currentSkinIndex - 1);
    m_parts.window.时钟1()->setInterval(kFirstPreviewDelay);
    m_parts.controls.showSampleFont();
    state.buttonWidth = ui.样本按钮->width();
    ui.组合框2->setEditText(form::NumberText::toText(state.buttonWidth));
    state.buttonHeight = ui.样本按钮->height();
    ui.组合框3->setEditText(form::NumberText::toText(state.buttonHeight));
    state.extensionTable = {QStringLiteral(".bmp"), QStringLiteral(".jpg"), QStringLiteral(".gif"),
                            QStringLiteral(".png")};
    m_parts.pageThread.start(ProgramPaths::localPage(state.programFolder));
}

void Lifecycle::onAboutToBeDestroyed(const QString &desktopFolder, const QString &executableName)
{
    AppState &state = m_parts.state;
    const QString settings = SettingsLocation::writePath(state.programFolder);
    SettingsFile::writeSkinIndex(settings, state.currentSkinIndex);
    WebExportSettings::write(settings, state.webOptions);
    m_parts.engine.release();
    integration::DesktopLauncher::ensureOnDesktop(desktopFolder, state.programFolder, executableName);
}

} // namespace quillet::app
